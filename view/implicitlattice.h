#pragma once

#include "expr/expcal.h"
#include "expr/varmemory.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace curvana {

// The values of an implicit curve's f at the corners of every cell of the first levels of its
// subdivision, the levels where every cell is split whatever its values. Neighbouring cells
// share corners and edge midpoints, so the points are evaluated here once each, row by row in
// batches, instead of five per cell as the cells are split.
class TImplicitLattice {
public:
    // The range (L, T, R, B) halved `levels` times along each axis, as the subdivision halves it.
    TImplicitLattice(double L, double T, double R, double B, int levels);

    // A calculator with its own variables x and y; one per thread that helps.
    struct TEvaluator {
        TEvaluator(TExpCal& calculator, TVarMemory& variables);
        TExpCal* Calculator;
        TVarItem* X;
        TVarItem* Y;
    };
    // Evaluates every point, the rows shared out among the evaluators (one thread each). Each
    // evaluator's x and y are left at the last point it evaluated.
    void Evaluate(std::span<const TEvaluator> evaluators);

    int Levels() const { return FLevels; }
    // Points along each axis: 2^Levels + 1.
    std::size_t Size() const { return FColumns.size(); }
    std::size_t Points() const { return Size() * Size(); }
    double X(std::size_t column) const { return FColumns[column]; }
    double Y(std::size_t row) const { return FRows[row]; }
    bool Ok(std::size_t column, std::size_t row) const { return FOk[Index(column, row)] != 0; }
    double Value(std::size_t column, std::size_t row) const { return FValues[Index(column, row)]; }

    // Marks the cells of the level below the last as given, row after row (non-zero: marked),
    // and every cell of the levels above with a marked cell inside.
    void Mark(std::vector<std::uint8_t> marks);
    // Whether the cell of that depth whose (L, T) corner is the point is marked.
    bool Marked(int depth, std::size_t column, std::size_t row) const {
        const int shift = FLevels - depth;
        return FMarks[static_cast<std::size_t>(depth)]
                     [(row >> shift << depth) + (column >> shift)] != 0;
    }

    // The ends of the range and its points halved `levels` times, each new point the mean of its
    // neighbours.
    static std::vector<double> Halve(double from, double to, int levels);
    // The mean that splits a cell of the subdivision: (a + b) / 2, but halved first where the
    // sum would overflow, so that the cells of a range near the limits of the doubles stay
    // finite.
    static double Mean(double a, double b) {
        const double sum = a + b;
        return std::isinf(sum) && std::isfinite(a) && std::isfinite(b) ? a / 2 + b / 2 : sum / 2;
    }

private:
    std::size_t Index(std::size_t column, std::size_t row) const { return row * Size() + column; }

    int FLevels;
    std::vector<double> FColumns; // from L to R
    std::vector<double> FRows;    // from T to B
    std::vector<double> FValues;  // row after row
    std::vector<std::uint8_t> FOk;
    std::vector<std::vector<std::uint8_t>> FMarks; // per depth, row after row
};

} // namespace curvana
