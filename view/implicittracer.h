#pragma once

#include "expr/expcal.h"
#include "expr/varmemory.h"
#include "view/freevariable.h"
#include "view/implicitlattice.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <vector>

namespace curvana {

struct TImplicitSample {
    bool Ok = false;
    double Value = 0;
};

// Corners in the order (L, T), (R, T), (R, B), (L, B).
using TCellSamples = std::array<TImplicitSample, 4>;

// A cell of the subdivision (T the larger y) with the values at its corners.
struct TImplicitCell {
    double L = 0;
    double T = 0;
    double R = 0;
    double B = 0;
    TCellSamples Corners;
    int Depth = 0;
    // Whether the cell and each cell it lies in passed the cell test: the cells a subdivision
    // that tests every cell would refine.
    bool Tested = true;
    // Where its (L, T) corner lies on the lattice, when the cell is on one.
    std::uint32_t Column = 0;
    std::uint32_t Row = 0;
};

// What the sign test of a cell makes of its corners. Failed corners take no part.
class TCellSigns {
public:
    // One corner: whether it has a value, and whether it leaves "all positive" and "all negative"
    // possible.
    static std::uint8_t Of(const TImplicitSample& corner) {
        return corner.Ok ? static_cast<std::uint8_t>(OkBit | (corner.Value > 0 ? PositiveBit : 0) |
                                                     (corner.Value < 0 ? NegativeBit : 0))
                         : PositiveBit | NegativeBit;
    }
    TCellSigns(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d)
        : FAny(a | b | c | d), FAll(a & b & c & d) {}
    explicit TCellSigns(const TCellSamples& corners)
        : TCellSigns(Of(corners[0]), Of(corners[1]), Of(corners[2]), Of(corners[3])) {}

    bool Any() const { return (FAny & OkBit) != 0; } // some corner has a value
    bool AllPositive() const { return (FAll & PositiveBit) != 0; }
    bool AllNegative() const { return (FAll & NegativeBit) != 0; }
    bool Differ() const { return !AllPositive() && !AllNegative(); } // or a corner is 0

private:
    static constexpr std::uint8_t OkBit = 1;
    static constexpr std::uint8_t PositiveBit = 2;
    static constexpr std::uint8_t NegativeBit = 4;
    std::uint8_t FAny;
    std::uint8_t FAll;
};

// Where the subdivision puts the corners it plots.
class TImplicitPlotter {
public:
    virtual ~TImplicitPlotter() = default;
    virtual void Plot(double X, double Y) = 0;
};

// What a subdivision has spent, and what it may spend.
struct TImplicitCounts {
    std::int64_t Cells = 0; // final cells
    std::int64_t Tests = 0; // cell tests
    std::uint64_t Evaluations = 0;
    std::uint64_t Work = 0; // in the units of TCoordinate::Work
};

// The subdivision of an implicit curve f(x, y) = 0 down to cells smaller than S, counted
// against its limits: once a count reaches its limit, nothing more is examined or plotted.
// Runs on any thread; it touches nothing but its calculator, its variables and its plotter.
class TImplicitTracer {
public:
    struct TSettings {
        long double S = 0;
        // Cells at least this wide or high are split without testing them: a sign test on a
        // large cell misses curves that enter and leave it between its corners.
        long double UnprunedX = std::numeric_limits<long double>::infinity();
        long double UnprunedY = std::numeric_limits<long double>::infinity();
        int Depth = 0;                    // cells this deep are final whatever their size
        TImplicitCounts Limits;           // Evaluations is not limited
        std::uint64_t EvaluationWork = 0; // per evaluation
        std::uint64_t PixelWork = 0;      // per corner plotted
    };

    TImplicitTracer(TExpCal& calculator, TVarMemory& variables, const TSettings& settings,
                    TImplicitPlotter& plotter);

    TImplicitSample SampleAt(double X, double Y);
    // The range as the cell the subdivision starts from, with the values at its corners.
    TImplicitCell Root(double L, double T, double R, double B);
    // How many levels below the range (L, T, R, B) every cell is split, untested: the levels a
    // lattice can hold.
    int UntestedLevels(double L, double T, double R, double B) const;
    // The lattice of those levels, evaluated by the evaluators, counted and used here; none when
    // there are no such levels or when evaluating it would reach the work limit (then the
    // cells are evaluated as they are split, and the limit cuts them where it always has).
    std::unique_ptr<TImplicitLattice>
    MakeLattice(double L, double T, double R, double B,
                std::span<const TImplicitLattice::TEvaluator> evaluators);
    // Cells above the lattice's last level read their new points from it (none: nullptr).
    void UseLattice(const TImplicitLattice* lattice);
    // Leaves x and y at the last point of the subdivision, whether evaluated or read from the
    // lattice, as evaluating each point when it is reached would leave them.
    void LeaveVariablesAtLastSample();
    // Whether the cell may hold the curve: its corners differ in sign, or (when `probe` is set)
    // they share one and a probe along one edge finds the other.
    bool CellTest(const TImplicitCell& cell, bool probe = true);
    // Refines the cell (sampled at its corners) and plots its final cells.
    void Refine(const TImplicitCell& cell);

    // When set, Refine stops at cells of this depth and at final cells above it, and appends
    // them here, in the order it would have refined them, instead of refining them.
    std::vector<TImplicitCell>* Split = nullptr;
    int SplitDepth = 0;
    // How many cells Split held when the last sample was taken.
    std::size_t SplitBeforeLastSample = 0;
    // When set, the tracer stops as if its limits were reached once this turns true.
    const std::atomic<bool>* Abandoned = nullptr;
    // When set, the work of every tracer that shares the counter counts against the work limit:
    // each adds its own now and then, and stops once the sum reaches the limit.
    std::atomic<std::uint64_t>* SharedWork = nullptr;

    TImplicitCounts Counts;
    // Whether any sample was taken, and the point of the last.
    bool Sampled = false;
    double LastX = 0;
    double LastY = 0;

    // True once a limit is reached (or the work is abandoned).
    bool Stopped() const;

private:
    // Whether the cell is at least `width` wide or `height` high.
    static bool AtLeast(const TImplicitCell& cell, long double width, long double height);
    // Whether the cell is split without testing its quadrants' own corners first.
    bool Unpruned(const TImplicitCell& cell) const;
    bool CellsSpent() const;
    // Notes the point as the last sample taken.
    void NoteSample(double X, double Y);
    // Counts an evaluation at the point, taken one at a time or in lanes.
    void CountSample(double X, double Y);
    // Evaluates the first `count` points of the lanes at once; false when the calculator cannot
    // (then each is sampled alone).
    bool SampleLanes(std::size_t count);
    // Lane i's sample, counted as taken now: read from the lanes when SampleLanes evaluated
    // them (`evaluated`), else evaluated alone.
    TImplicitSample LaneSample(std::size_t i, bool evaluated);
    // The midpoints of the cell's top, left, centre, right and bottom, in that order.
    using TMidpoints = std::array<TImplicitSample, 5>;
    void SampleMidpoints(const TImplicitCell& cell, double mx, double my, TMidpoints& samples);
    // Adds the work not yet added to SharedWork, and notes whether the sum reached the limit.
    void PublishWork();
    TImplicitSample LatticeAt(std::size_t column, std::size_t row);
    // Passes over a cell of the lattice's levels where Refine would find nothing; false when it
    // has to refine the cell.
    bool PassQuietCell(const TImplicitCell& cell);
    // Unpruned for a cell of the level just below the lattice's last.
    bool UnprunedBelowLattice(const TImplicitCell& cell) const;
    bool UnprunedBelowLattice(int depth, std::size_t column, std::size_t row) const;
    void MarkLattice(TImplicitLattice& lattice) const;
    void PlotFinalCell(const TImplicitCell& cell);

    TExpCal& FCalculator;
    TFreeVariable FX;
    TFreeVariable FY;
    TSettings FSettings;
    TImplicitPlotter& FPlotter;
    const TImplicitLattice* FLattice = nullptr;
    std::uint64_t FPublishedWork = 0;
    bool FSharedWorkSpent = false;
    // Per column and per row of the cells below the lattice: whether both ends are finite, and
    // whether the step is at least as long as the size split untested.
    static constexpr std::uint8_t FiniteStep = 1;
    static constexpr std::uint8_t LongStep = 2;
    std::vector<std::uint8_t> FColumnsBelow;
    std::vector<std::uint8_t> FRowsBelow;
    // The points a split or a probe evaluates at once (up to six probes), and their samples.
    static constexpr std::size_t MaxLanes = 6;
    bool FLanes = false;
    double FLaneX[MaxLanes] = {};
    double FLaneY[MaxLanes] = {};
    double FLaneValue[MaxLanes] = {};
    std::uint8_t FLaneOk[MaxLanes] = {};
};

} // namespace curvana
