#include "view/implicitlattice.h"

#include "view/freevariable.h"
#include "view/parallel.h"

namespace curvana {

TImplicitLattice::TImplicitLattice(double L, double T, double R, double B, int levels)
    : FLevels(levels), FColumns(Halve(L, R, levels)), FRows(Halve(T, B, levels)) {}

TImplicitLattice::TEvaluator::TEvaluator(TExpCal& calculator, TVarMemory& variables)
    : Calculator(&calculator), X(&TFreeVariable(variables, "x").Item()),
      Y(&TFreeVariable(variables, "y").Item()) {}

std::vector<double> TImplicitLattice::Halve(double from, double to, int levels) {
    const std::size_t n = std::size_t{1} << levels;
    std::vector<double> points(n + 1);
    points[0] = from;
    points[n] = to;
    for (std::size_t step = n; step > 1; step /= 2)
        for (std::size_t i = 0; i < n; i += step)
            points[i + step / 2] = Mean(points[i], points[i + step]);
    return points;
}

void TImplicitLattice::Evaluate(std::span<const TEvaluator> evaluators) {
    const std::size_t n = Size();
    FValues.assign(n * n, 0);
    FOk.assign(n * n, 0);
    ForEachItem(n, static_cast<int>(evaluators.size()), [&](int thread, std::size_t row) {
        const TEvaluator& e = evaluators[static_cast<std::size_t>(thread)];
        e.Y->Value = FRows[row];
        const TBatchVariable columns[] = {{e.X, FColumns.data()}};
        e.Calculator->EvaluateBatch(columns, n, FValues.data() + row * n, FOk.data() + row * n);
    });
}

void TImplicitLattice::Mark(std::vector<std::uint8_t> marks) {
    FMarks.assign(static_cast<std::size_t>(FLevels) + 1, {});
    FMarks.back() = std::move(marks);
    for (int depth = FLevels; depth-- > 0;) {
        const std::size_t cells = std::size_t{1} << depth;
        const std::vector<std::uint8_t>& below = FMarks[static_cast<std::size_t>(depth) + 1];
        std::vector<std::uint8_t>& level = FMarks[static_cast<std::size_t>(depth)];
        level.resize(cells * cells);
        for (std::size_t row = 0; row < cells; ++row)
            for (std::size_t column = 0; column < cells; ++column) {
                const std::size_t first = 2 * row * 2 * cells + 2 * column;
                level[row * cells + column] = below[first] | below[first + 1] |
                                              below[first + 2 * cells] |
                                              below[first + 2 * cells + 1];
            }
    }
}

} // namespace curvana
