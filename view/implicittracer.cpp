#include "view/implicittracer.h"

#include <algorithm>
#include <cmath>

namespace curvana {

TImplicitTracer::TImplicitTracer(TExpCal& calculator, TVarMemory& variables,
                                 const TSettings& settings, TImplicitPlotter& plotter)
    : FCalculator(calculator), FX(variables, "x"), FY(variables, "y"), FSettings(settings),
      FPlotter(plotter) {
    const TBatchVariable lanes[2] = {{&FX.Item(), FLaneX}, {&FY.Item(), FLaneY}};
    FLanes = FCalculator.PrepareLanes(lanes, MaxLanes);
}

bool TImplicitTracer::CellsSpent() const {
    return Counts.Cells >= FSettings.Limits.Cells || Counts.Work >= FSettings.Limits.Work ||
           FSharedWorkSpent || (Abandoned != nullptr && Abandoned->load(std::memory_order_relaxed));
}

namespace {

// Work a tracer does between adding it to the shared sum: about a millisecond, so that the sum
// is seldom touched and the tracers stop soon after it reaches the limit.
constexpr std::uint64_t PublishedWorkStep = std::uint64_t{1} << 20;

// Levels split untested at most: 4^10 cells, far more than any picture needs (a cell of 16
// pixels is reached after 7 levels on a 1920-pixel-wide view).
constexpr int MaxUnprunedDepth = 10;

// A cell of a range beyond the doubles (its sums overflow) is never split untested.
bool Finite(const TImplicitCell& cell) {
    return std::isfinite(cell.L) && std::isfinite(cell.T) && std::isfinite(cell.R) &&
           std::isfinite(cell.B);
}

} // namespace

bool TImplicitTracer::AtLeast(const TImplicitCell& cell, long double width, long double height) {
    return std::fabs(static_cast<long double>(cell.L) - cell.R) >= width ||
           std::fabs(static_cast<long double>(cell.T) - cell.B) >= height;
}

bool TImplicitTracer::Unpruned(const TImplicitCell& cell) const {
    return cell.Depth <= MaxUnprunedDepth && Finite(cell) &&
           AtLeast(cell, FSettings.UnprunedX, FSettings.UnprunedY);
}

bool TImplicitTracer::Stopped() const {
    return Counts.Tests >= FSettings.Limits.Tests || CellsSpent();
}

void TImplicitTracer::NoteSample(double X, double Y) {
    Sampled = true;
    LastX = X;
    LastY = Y;
    if (Split != nullptr)
        SplitBeforeLastSample = Split->size();
}

void TImplicitTracer::PublishWork() {
    const std::uint64_t more = Counts.Work - FPublishedWork;
    FPublishedWork = Counts.Work;
    FSharedWorkSpent =
        SharedWork->fetch_add(more, std::memory_order_relaxed) + more >= FSettings.Limits.Work;
}

void TImplicitTracer::CountSample(double X, double Y) {
    NoteSample(X, Y);
    ++Counts.Evaluations;
    Counts.Work += FSettings.EvaluationWork;
    if (SharedWork != nullptr && Counts.Work - FPublishedWork >= PublishedWorkStep)
        PublishWork();
}

TImplicitSample TImplicitTracer::SampleAt(double X, double Y) {
    FX.Set(X);
    FY.Set(Y);
    CountSample(X, Y);
    TImplicitSample sample;
    sample.Ok = FCalculator.Evaluate();
    sample.Value = FCalculator.Value;
    return sample;
}

bool TImplicitTracer::SampleLanes(std::size_t count) {
    return FLanes && FCalculator.RunLanes(count, FLaneValue, FLaneOk);
}

TImplicitSample TImplicitTracer::LaneSample(std::size_t i, bool evaluated) {
    if (!evaluated)
        return SampleAt(FLaneX[i], FLaneY[i]);
    CountSample(FLaneX[i], FLaneY[i]);
    return {FLaneOk[i] != 0, FLaneValue[i]};
}

void TImplicitTracer::SampleMidpoints(const TImplicitCell& cell, double mx, double my,
                                      TMidpoints& samples) {
    const double xs[5] = {mx, cell.L, mx, cell.R, mx};
    const double ys[5] = {cell.T, my, my, my, cell.B};
    std::copy(xs, xs + 5, FLaneX);
    std::copy(ys, ys + 5, FLaneY);
    const bool evaluated = SampleLanes(5);
    for (std::size_t i = 0; i < 5; ++i)
        samples[i] = LaneSample(i, evaluated);
}

namespace {

TImplicitSample At(const TImplicitLattice& lattice, std::size_t column, std::size_t row) {
    return {lattice.Ok(column, row), lattice.Value(column, row)};
}

} // namespace

TImplicitSample TImplicitTracer::LatticeAt(std::size_t column, std::size_t row) {
    NoteSample(FLattice->X(column), FLattice->Y(row));
    return At(*FLattice, column, row);
}

// Marks the cells below the lattice that Refine goes into from an untested cell: the ones split
// untested and the ones whose corners differ in sign.
void TImplicitTracer::MarkLattice(TImplicitLattice& lattice) const {
    const std::size_t n = lattice.Size();
    std::vector<std::uint8_t> signs(n * n);
    for (std::size_t row = 0; row < n; ++row)
        for (std::size_t column = 0; column < n; ++column)
            signs[row * n + column] = TCellSigns::Of(At(lattice, column, row));
    const int depth = lattice.Levels();
    std::vector<std::uint8_t> marks((n - 1) * (n - 1));
    for (std::size_t row = 0; row + 1 < n; ++row)
        for (std::size_t column = 0; column + 1 < n; ++column) {
            const std::uint8_t* top = &signs[row * n + column];
            const TCellSigns cell(top[0], top[1], top[n + 1], top[n]);
            marks[row * (n - 1) + column] =
                UnprunedBelowLattice(depth, column, row) || (cell.Any() && cell.Differ()) ? 1 : 0;
        }
    lattice.Mark(std::move(marks));
}

// An untested cell above the lattice's last level with no marked cell inside: Refine would split
// every cell inside down to that level, reading the lattice, and test each quadrant below it by
// its corners alone, in vain. Only the tests are counted, and the last point read is noted.
// Not when the test limit would be reached on the way: Refine stops there.
bool TImplicitTracer::PassQuietCell(const TImplicitCell& cell) {
    if (cell.Tested || Split != nullptr || FLattice->Marked(cell.Depth, cell.Column, cell.Row))
        return false;
    const int levels = FLattice->Levels() - cell.Depth;
    const std::int64_t tests = std::int64_t{1} << (2 * levels);
    if (Counts.Tests + tests > FSettings.Limits.Tests)
        return false;
    Counts.Tests += tests;
    // The bottom midpoint of the last cell split, the last inside it one level above the last.
    const std::size_t span = std::size_t{1} << levels;
    NoteSample(FLattice->X(cell.Column + span - 1), FLattice->Y(cell.Row + span));
    return true;
}

void TImplicitTracer::UseLattice(const TImplicitLattice* lattice) {
    FLattice = lattice;
    FColumnsBelow.clear();
    FRowsBelow.clear();
    if (lattice == nullptr)
        return;
    // What Unpruned finds for the cells of the level below, column by column and row by row.
    const auto steps = [](const auto& point, std::size_t n, long double size) {
        std::vector<std::uint8_t> steps(n - 1);
        for (std::size_t i = 0; i + 1 < n; ++i)
            steps[i] = static_cast<std::uint8_t>(
                (std::isfinite(point(i)) && std::isfinite(point(i + 1)) ? FiniteStep : 0) |
                (std::fabs(static_cast<long double>(point(i)) - point(i + 1)) >= size ? LongStep
                                                                                      : 0));
        return steps;
    };
    FColumnsBelow = steps([lattice](std::size_t i) { return lattice->X(i); }, lattice->Size(),
                          FSettings.UnprunedX);
    FRowsBelow = steps([lattice](std::size_t i) { return lattice->Y(i); }, lattice->Size(),
                       FSettings.UnprunedY);
}

bool TImplicitTracer::UnprunedBelowLattice(const TImplicitCell& cell) const {
    return UnprunedBelowLattice(cell.Depth, cell.Column, cell.Row);
}

bool TImplicitTracer::UnprunedBelowLattice(int depth, std::size_t column, std::size_t row) const {
    const std::uint8_t c = FColumnsBelow[column];
    const std::uint8_t r = FRowsBelow[row];
    return depth <= MaxUnprunedDepth && (c & r & FiniteStep) != 0 && ((c | r) & LongStep) != 0;
}

TImplicitCell TImplicitTracer::Root(double L, double T, double R, double B) {
    if (FLattice == nullptr)
        return {L, T, R, B, {SampleAt(L, T), SampleAt(R, T), SampleAt(R, B), SampleAt(L, B)}, 0};
    const std::size_t n = FLattice->Size() - 1;
    return {L, T, R, B, {LatticeAt(0, 0), LatticeAt(n, 0), LatticeAt(n, n), LatticeAt(0, n)}, 0};
}

namespace {

// Whether every step between neighbouring points is at least `size` long.
bool StepsAtLeast(const std::vector<double>& points, long double size) {
    for (std::size_t i = 1; i < points.size(); ++i)
        if (!(std::fabs(static_cast<long double>(points[i - 1]) - points[i]) >= size))
            return false;
    return true;
}

bool AllFinite(const std::vector<double>& points) {
    return std::all_of(points.begin(), points.end(), [](double p) { return std::isfinite(p); });
}

} // namespace

// Refine's rules applied to whole levels: the cells of a level are all split when they are all
// reached (each is split untested, or is the range) and none is final. Cells of one level may
// differ in size by rounding, so each step is checked.
int TImplicitTracer::UntestedLevels(double L, double T, double R, double B) const {
    for (int depth = 0;; ++depth) {
        const std::vector<double> columns = TImplicitLattice::Halve(L, R, depth);
        const std::vector<double> rows = TImplicitLattice::Halve(T, B, depth);
        const bool reached =
            depth == 0 || (depth <= MaxUnprunedDepth && AllFinite(columns) && AllFinite(rows) &&
                           (StepsAtLeast(columns, FSettings.UnprunedX) ||
                            StepsAtLeast(rows, FSettings.UnprunedY)));
        const bool split = reached && depth < FSettings.Depth &&
                           (StepsAtLeast(columns, FSettings.S) || StepsAtLeast(rows, FSettings.S));
        if (!split)
            return depth;
    }
}

std::unique_ptr<TImplicitLattice>
TImplicitTracer::MakeLattice(double L, double T, double R, double B,
                             std::span<const TImplicitLattice::TEvaluator> evaluators) {
    const int levels = UntestedLevels(L, T, R, B);
    if (levels == 0)
        return nullptr;
    auto lattice = std::make_unique<TImplicitLattice>(L, T, R, B, levels);
    const std::uint64_t points = lattice->Points();
    const std::uint64_t work = points * FSettings.EvaluationWork;
    if (Counts.Work + work >= FSettings.Limits.Work)
        return nullptr;
    lattice->Evaluate(evaluators);
    Counts.Evaluations += points;
    Counts.Work += work;
    UseLattice(lattice.get());
    MarkLattice(*lattice);
    return lattice;
}

void TImplicitTracer::LeaveVariablesAtLastSample() {
    if (!Sampled)
        return;
    FX.Set(LastX);
    FY.Set(LastY);
}

// A cell at least S wide or high is split in four, and each quadrant that may hold the curve is
// refined; the values at the five new points are shared by the quadrants. Below the depth limit
// a cell counts as final even when larger than S.
//
// Quadrants at least Unpruned in size are refined whatever their test says, so that no curve
// larger than them is lost. Quadrants of cells that passed every test are tested in full, with
// the probe, so every cell a fully tested subdivision refines is refined here too. Below a cell
// that such a test would have pruned, quadrants under that size are kept only when their corners
// differ in sign, all the way down: there the probe keeps no pixel that subdivision draws, and
// it would cost four evaluations a cell.
void TImplicitTracer::Refine(const TImplicitCell& cell) {
    const double L = cell.L;
    const double T = cell.T;
    const double R = cell.R;
    const double B = cell.B;
    const TCellSamples& c = cell.Corners;
    // No cell above the lattice's last level is final, and every cell there is split untested.
    const bool onLattice = FLattice != nullptr && cell.Depth < FLattice->Levels();
    const bool final =
        !onLattice && (!AtLeast(cell, FSettings.S, FSettings.S) || cell.Depth >= FSettings.Depth);
    if (Split != nullptr && (final || cell.Depth >= SplitDepth)) {
        Split->push_back(cell);
        return;
    }
    if (onLattice && PassQuietCell(cell))
        return;
    if (final) {
        if (CellsSpent())
            return;
        ++Counts.Cells;
        PlotFinalCell(cell);
        return;
    }
    const double mx = TImplicitLattice::Mean(L, R);
    const double my = TImplicitLattice::Mean(T, B);
    // The lattice's points are these same means, evaluated ahead.
    const std::uint32_t half = onLattice ? 1u << (FLattice->Levels() - cell.Depth - 1) : 0;
    const std::uint32_t i = cell.Column;
    const std::uint32_t j = cell.Row;
    TMidpoints midpoints;
    if (onLattice)
        midpoints = {LatticeAt(i + half, j), LatticeAt(i, j + half), LatticeAt(i + half, j + half),
                     LatticeAt(i + 2 * half, j + half), LatticeAt(i + half, j + 2 * half)};
    else
        SampleMidpoints(cell, mx, my, midpoints);
    const auto& [top, left, centre, right, bottom] = midpoints;
    const int depth = cell.Depth + 1;
    const TImplicitCell quadrants[4] = {
        {L, T, mx, my, {c[0], top, centre, left}, depth, true, i, j},
        {mx, T, R, my, {top, c[1], right, centre}, depth, true, i + half, j},
        {L, my, mx, B, {left, centre, bottom, c[3]}, depth, true, i, j + half},
        {mx, my, R, B, {centre, right, c[2], bottom}, depth, true, i + half, j + half}};
    for (TImplicitCell q : quadrants) {
        if (Stopped())
            return;
        const bool keep = !onLattice                   ? Unpruned(q)
                          : depth < FLattice->Levels() ? true
                                                       : UnprunedBelowLattice(q);
        bool pass = false;
        if (cell.Tested || !keep) {
            ++Counts.Tests;
            pass = CellTest(q, cell.Tested);
        }
        q.Tested = cell.Tested && pass;
        if (keep || pass)
            Refine(q);
    }
}

// Plots the corner nearest to the curve (smallest |f|) and the nearest of the other three (all
// of them on ties), each corner once. A corner whose evaluation failed has no value: it is
// neither a minimum nor compared.
void TImplicitTracer::PlotFinalCell(const TImplicitCell& cell) {
    struct TCorner {
        double X, Y;
        TImplicitSample Sample;
    };
    const TCellSamples& c = cell.Corners;
    // The order in which the corners are taken: (L, T), (R, B), (R, T), (L, B).
    const TCorner corners[4] = {{cell.L, cell.T, c[0]},
                                {cell.R, cell.B, c[2]},
                                {cell.R, cell.T, c[1]},
                                {cell.L, cell.B, c[3]}};
    double value[4];
    bool any = false;
    double m = 0;
    for (int i = 0; i < 4; ++i) {
        value[i] = std::fabs(corners[i].Sample.Value);
        if (corners[i].Sample.Ok) {
            m = any ? std::min(m, value[i]) : value[i];
            any = true;
        }
    }
    if (!any)
        return;
    bool set[4] = {false, false, false, false};
    for (int i = 0; i < 4; ++i) {
        if (!corners[i].Sample.Ok || value[i] != m)
            continue;
        set[i] = true;
        for (int j = 0; j < 4; ++j) {
            if (j == i || !corners[j].Sample.Ok)
                continue;
            bool nearest = true;
            for (int k = 0; k < 4; ++k)
                if (k != i && k != j && corners[k].Sample.Ok && value[j] > value[k])
                    nearest = false;
            set[j] = set[j] || nearest;
        }
    }
    for (int i = 0; i < 4; ++i) {
        if (!set[i])
            continue;
        Counts.Work += FSettings.PixelWork;
        FPlotter.Plot(corners[i].X, corners[i].Y);
    }
}

// Corners of both signs (or a zero) may enclose the curve; corners of one sign only when a
// probe along one edge finds the other sign. Failed corners take no part in the sign test, so
// the border of an expression's domain is not mistaken for the curve.
bool TImplicitTracer::CellTest(const TImplicitCell& cell, bool probe) {
    const TCellSigns signs(cell.Corners);
    if (!signs.Any())
        return false;
    if (signs.Differ())
        return true;
    if (!probe)
        return false;
    const bool allPositive = signs.AllPositive();

    // Probes at L + h, L + 2h, ... up to the first sum not below R: five, or six where
    // rounding leaves the fifth just short; never more.
    const double h = std::fabs(cell.R - cell.L) / 5;
    const double edge = allPositive ? cell.B : cell.T;
    std::size_t probes = 0;
    for (double x = cell.L; probes < MaxLanes && x < cell.R; ++probes) {
        const double next = x + h;
        if (!(next > x))
            break;
        x = next;
        FLaneX[probes] = x;
        FLaneY[probes] = edge;
    }
    // The last probe normally lands on the right corner, whose value is known.
    const std::size_t evaluated = probes > 0 && FLaneX[probes - 1] == cell.R ? probes - 1 : probes;
    // All are evaluated at once; those after the first that finds the other sign are not
    // counted, as they would not have been taken one at a time.
    const bool atOnce = SampleLanes(evaluated);
    for (std::size_t i = 0; i < probes; ++i) {
        const TImplicitSample sample =
            i == evaluated ? cell.Corners[allPositive ? 2 : 1] : LaneSample(i, atOnce);
        if (sample.Ok && (allPositive ? sample.Value < 0 : sample.Value > 0))
            return true;
    }
    return false;
}

} // namespace curvana
