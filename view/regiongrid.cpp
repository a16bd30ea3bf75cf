#include "view/regiongrid.h"

#include "view/calculatorcopy.h"
#include "view/freevariable.h"
#include "view/parallel.h"

#include <algorithm>

namespace curvana {

namespace {

// Below this many points the threads cost more than they save.
constexpr std::int64_t MinSharedPoints = 4096;
// Points evaluated ahead at a time, and the work one row may take (in evaluation work units):
// bounds on what is evaluated in vain when the plot stops early.
constexpr std::uint64_t BlockPoints = 65536;
constexpr std::uint64_t RowWork = 1 << 22;

} // namespace

struct TRegionGrid::TThread {
    TThread(const TExpCal& calculator, const TVarMemory& variables)
        : Copy(calculator, variables), X(Copy.Variables, "x"), Y(Copy.Variables, "y") {}
    TCalculatorCopy Copy;
    TFreeVariable X;
    TFreeVariable Y;
    std::vector<double> Values; // one row's results
};

TRegionGrid::TRegionGrid(std::vector<double> columns, double yHi, int threads)
    : FColumns(std::move(columns)), FYHi(yHi) {
    FThreads.resize(static_cast<std::size_t>(threads));
}

TRegionGrid::~TRegionGrid() = default;

std::unique_ptr<TRegionGrid> TRegionGrid::Make(const TExpCal& calculator,
                                               const TVarMemory& variables, const TShape& shape,
                                               int threads, std::uint64_t evaluationWork) {
    if (threads < 2 || !calculator.Repeatable() || !variables.HasVariable("x") ||
        !variables.HasVariable("y"))
        return nullptr;
    // The columns every row walks, the same way the plot walks them.
    std::vector<double> columns;
    const std::uint64_t maxColumns =
        std::min<std::uint64_t>(BlockPoints, RowWork / std::max<std::uint64_t>(evaluationWork, 1));
    for (TEndWalk x(shape.XLo, shape.XStep, shape.XHi, shape.Cap, shape.XStep / 2);
         x.Value() <= shape.XHi;) {
        if (columns.size() >= maxColumns)
            return nullptr;
        columns.push_back(x.Value());
        if (!x.Next())
            break;
    }
    if (columns.empty() ||
        static_cast<std::int64_t>(columns.size()) * std::max<std::int64_t>(shape.Rows, 0) <
            MinSharedPoints)
        return nullptr;
    auto grid = std::make_unique<TRegionGrid>(std::move(columns), shape.YHi, threads);
    for (std::unique_ptr<TThread>& thread : grid->FThreads)
        thread = std::make_unique<TThread>(calculator, variables);
    return grid;
}

std::optional<bool> TRegionGrid::Holds(const TEndWalk& y, std::int64_t row, std::size_t column,
                                       std::uint64_t evaluationsLeft) {
    if (row < FFirstRow || row >= FFirstRow + static_cast<std::int64_t>(FRowY.size())) {
        if (column != 0)
            return std::nullopt;
        EvaluateRows(y, row, evaluationsLeft);
    }
    if (FRowY.empty() || column >= FColumns.size())
        return std::nullopt;
    return FHolds[static_cast<std::size_t>(row - FFirstRow) * FColumns.size() + column] != 0;
}

void TRegionGrid::EvaluateRows(TEndWalk y, std::int64_t row, std::uint64_t evaluationsLeft) {
    const std::uint64_t n = FColumns.size();
    const std::uint64_t wanted = std::clamp<std::uint64_t>(
        (evaluationsLeft + n - 1) / n, 1, std::max<std::uint64_t>(BlockPoints / n, 1));
    FFirstRow = row;
    FRowY.clear();
    for (;;) {
        FRowY.push_back(y.Value());
        if (FRowY.size() >= wanted || !y.Next() || !(y.Value() <= FYHi))
            break;
    }
    FHolds.assign(FRowY.size() * n, 0);
    ForEachItem(FRowY.size(), static_cast<int>(FThreads.size()), [&](int thread, std::size_t r) {
        TThread& t = *FThreads[static_cast<std::size_t>(thread)];
        t.Y.Set(FRowY[r]);
        std::uint8_t* holds = FHolds.data() + r * n;
        t.Values.resize(n);
        const TBatchVariable columns[] = {{&t.X.Item(), FColumns.data()}};
        t.Copy.Calculator->EvaluateBatch(columns, n, t.Values.data(), holds);
        for (std::size_t i = 0; i < n; ++i)
            holds[i] = holds[i] != 0 && t.Values[i] != 0;
    });
}

} // namespace curvana
