#pragma once

#include "expr/expcal.h"
#include "expr/varmemory.h"
#include "view/walk.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace curvana {

// A region's condition on its grid, evaluated ahead of the plot, a block of rows at a time, by
// several threads with calculators of their own. The plot still walks the grid point by point
// and counts every point as evaluated; it only reads the values from here.
class TRegionGrid {
public:
    struct TShape {
        double XLo = 0;   // the first column
        double XStep = 0; // column after column, while not beyond XHi
        double XHi = 0;
        double YHi = 0;        // rows are not beyond it
        std::int64_t Rows = 0; // about how many rows the plot has
        std::int64_t Cap = 0;  // at most this many columns (the walk's cap)
    };

    // Null when sharing would not pay or could change the result: one thread, a condition that
    // draws random numbers, variables that lack x or y (the caller's calculator was compiled
    // without them), a grid too small, or rows too long to evaluate ahead.
    static std::unique_ptr<TRegionGrid> Make(const TExpCal& calculator, const TVarMemory& variables,
                                             const TShape& shape, int threads,
                                             std::uint64_t evaluationWork);

    // Whether the condition holds at the column of the row that `y` stands on (`row` counting
    // from 0). A row not yet known is evaluated first, with as many rows after it as
    // `evaluationsLeft` may reach (one at least). Nothing for a point the grid does not hold:
    // the plot evaluates that one itself.
    std::optional<bool> Holds(const TEndWalk& y, std::int64_t row, std::size_t column,
                              std::uint64_t evaluationsLeft);

    struct TThread;
    TRegionGrid(std::vector<double> columns, double yHi, int threads);
    ~TRegionGrid();

private:
    void EvaluateRows(TEndWalk y, std::int64_t row, std::uint64_t evaluationsLeft);

    std::vector<double> FColumns;
    double FYHi;
    std::vector<std::unique_ptr<TThread>> FThreads;
    std::int64_t FFirstRow = 0;
    std::vector<double> FRowY;
    // Row after row, 1 where the condition holds (evaluated, and not 0).
    std::vector<std::uint8_t> FHolds;
};

} // namespace curvana
