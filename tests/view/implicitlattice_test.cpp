// The levels of an implicit curve's subdivision that are split untested are evaluated ahead as
// one lattice. Reading the values from it must change nothing but the number of evaluations:
// the same cells, tests, plotted corners in the same order, and the same variables left behind.

#include "view/implicittracer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace curvana {
namespace {

constexpr long double None = std::numeric_limits<long double>::infinity();

struct TRecordingPlotter : TImplicitPlotter {
    void Plot(double X, double Y) override { Points.emplace_back(X, Y); }
    std::vector<std::pair<double, double>> Points;
};

struct TCase {
    const char* Name;
    const char* Exp;
    double L, T, R, B;
    long double S, UnprunedX, UnprunedY;
};

// What one subdivision did.
struct TTrace {
    std::vector<std::pair<double, double>> Points;
    TImplicitCounts Counts;
    double X = 0; // the variables afterwards
    double Y = 0;
    int Levels = 0; // of the lattice; 0 for none
};

class ImplicitLatticeTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddPlotVariables(variables);
        AddPlotConstants(constants);
    }

    TImplicitTracer::TSettings Settings(const TCase& c) const {
        TImplicitTracer::TSettings settings;
        settings.S = c.S;
        settings.UnprunedX = c.UnprunedX;
        settings.UnprunedY = c.UnprunedY;
        settings.Depth = 60;
        settings.Limits = {4'000'000, 8'000'000, 0, 1'000'000'000};
        settings.EvaluationWork = 1;
        settings.PixelWork = 1;
        return settings;
    }

    TTrace Trace(const TCase& c, bool lattice, std::uint64_t workLimit = 1'000'000'000,
                 std::int64_t testLimit = 8'000'000) {
        TExpCal calculator(c.Exp, library, variables, constants);
        TImplicitTracer::TSettings settings = Settings(c);
        settings.Limits.Work = workLimit;
        settings.Limits.Tests = testLimit;
        TRecordingPlotter plotter;
        TImplicitTracer tracer(calculator, variables, settings, plotter);
        std::unique_ptr<TImplicitLattice> made;
        if (lattice) {
            const TImplicitLattice::TEvaluator evaluator(calculator, variables);
            made = tracer.MakeLattice(c.L, c.T, c.R, c.B, {&evaluator, 1});
        }
        tracer.Refine(tracer.Root(c.L, c.T, c.R, c.B));
        tracer.LeaveVariablesAtLastSample();
        TTrace trace{plotter.Points, tracer.Counts};
        trace.X = variables.ValueOf("x");
        trace.Y = variables.ValueOf("y");
        trace.Levels = made ? made->Levels() : 0;
        return trace;
    }

    TOperatorLib library;
    TVarMemory variables;
    TVarMemory constants;
};

// Cells at depth 2 of 0..0.3 differ in width by rounding: the third is one unit in the last
// place narrower than the first two, the fourth one wider. With the first's width as the size
// split untested, the third column of cells is not split untested.
long double FirstWidthAtDepthTwo() {
    const std::vector<double> columns = TImplicitLattice::Halve(0, 0.3, 2);
    return std::fabs(static_cast<long double>(columns[0]) - columns[1]);
}

const TCase Cases[] = {
    {"circle", "x^2+y^2-25", -10, 10, 10, -10, 0.03L, 0.5L, 0.5L},
    {"lemniscate with a double point", "(x^2+y^2)^2-8(x^2-y^2)", -10, 10, 10, -10, 0.03L, 0.48L,
     0.8L},
    {"failures where the base is negative", "x^y-y^x", -1, 8, 8, -1, 0.02L, 0.3L, 0.3L},
    {"rings", "sin(x^2+y^2)", -10, 10, 10, -10, 0.03L, 0.5L, 0.5L},
    {"an axis never split untested", "x-0.0000003", 0, 10, 1e-6, -10, 0.03L, None, 0.5L},
    {"cells of one level split or not by rounding", "x-0.1+y/7", 0, 0.3, 0.3, 0, 0.0005L,
     FirstWidthAtDepthTwo(), None},
};

TEST_F(ImplicitLatticeTest, TracesAsIfEveryPointWereEvaluatedWhenReached) {
    for (const TCase& c : Cases) {
        SCOPED_TRACE(c.Name);
        const TTrace one = Trace(c, false);
        const TTrace ahead = Trace(c, true);
        ASSERT_GT(ahead.Levels, 1);
        EXPECT_FALSE(ahead.Points.empty());
        EXPECT_EQ(ahead.Points, one.Points);
        EXPECT_EQ(ahead.Counts.Cells, one.Counts.Cells);
        EXPECT_EQ(ahead.Counts.Tests, one.Counts.Tests);
        EXPECT_LT(ahead.Counts.Evaluations, one.Counts.Evaluations);
        EXPECT_EQ(ahead.X, one.X);
        EXPECT_EQ(ahead.Y, one.Y);
    }
}

// Cells with nothing to find below them are passed over with their tests counted, unless the
// test limit falls inside them: the limit cuts the trace where it always has.
TEST_F(ImplicitLatticeTest, TheTestLimitCutsWhereItAlwaysHas) {
    const TCase& circle = Cases[0];
    const std::int64_t all = Trace(circle, false).Counts.Tests;
    for (const std::int64_t limit : {std::int64_t{10}, std::int64_t{1000}, all / 2, all - 1}) {
        SCOPED_TRACE(limit);
        const TTrace one = Trace(circle, false, 1'000'000'000, limit);
        const TTrace ahead = Trace(circle, true, 1'000'000'000, limit);
        EXPECT_EQ(one.Counts.Tests, limit);
        EXPECT_EQ(ahead.Counts.Tests, one.Counts.Tests);
        EXPECT_EQ(ahead.Points, one.Points);
        EXPECT_EQ(ahead.X, one.X);
        EXPECT_EQ(ahead.Y, one.Y);
    }
}

// A lattice deeper than the levels Refine splits whole would evaluate points no cell needs; a
// shallower one would save less. Refine itself, stopped at a depth, shows which cells it
// reaches there: with no real points only the cells split untested; where f is 0 everywhere
// every cell passes its test, so every cell above that is split.
TEST_F(ImplicitLatticeTest, HoldsExactlyTheLevelsSplitWhole) {
    const auto reached = [this](const TCase& c, const char* exp, int depth) {
        TExpCal calculator(exp, library, variables, constants);
        TRecordingPlotter plotter;
        TImplicitTracer tracer(calculator, variables, Settings(c), plotter);
        std::vector<TImplicitCell> cells;
        tracer.Split = &cells;
        tracer.SplitDepth = depth;
        tracer.Refine(tracer.Root(c.L, c.T, c.R, c.B));
        return std::count_if(cells.begin(), cells.end(),
                             [depth](const TImplicitCell& cell) { return cell.Depth == depth; });
    };
    const auto whole = [](int depth) { return std::ptrdiff_t{1} << (2 * depth); };
    for (const TCase& c : Cases) {
        SCOPED_TRACE(c.Name);
        TExpCal calculator("0", library, variables, constants);
        TRecordingPlotter plotter;
        const int levels = TImplicitTracer(calculator, variables, Settings(c), plotter)
                               .UntestedLevels(c.L, c.T, c.R, c.B);
        ASSERT_GT(levels, 1);
        EXPECT_EQ(reached(c, "x^2+y^2+1", levels - 1), whole(levels - 1));
        EXPECT_EQ(reached(c, "0", levels), whole(levels));
        EXPECT_TRUE(reached(c, "x^2+y^2+1", levels) < whole(levels) ||
                    reached(c, "0", levels + 1) < whole(levels + 1));
    }
    // The rounding case stops where the narrower cells of depth 2 are no longer split untested.
    const TCase& rounding = Cases[std::size(Cases) - 1];
    EXPECT_EQ(reached(rounding, "x^2+y^2+1", 2), 3 * 4);
}

// Where the lattice would reach the work limit, the cells are evaluated as they are split, so
// the limit cuts the curve where it always has.
TEST_F(ImplicitLatticeTest, NoLatticeThatReachesTheWorkLimit) {
    const TCase& circle = Cases[0];
    const int levels = Trace(circle, true).Levels;
    const std::uint64_t side = (std::uint64_t{1} << levels) + 1;
    const std::uint64_t lattice = side * side;

    const TTrace one = Trace(circle, false, lattice);
    const TTrace none = Trace(circle, true, lattice);
    EXPECT_EQ(none.Levels, 0);
    EXPECT_EQ(none.Points, one.Points);
    EXPECT_EQ(none.Counts.Evaluations, one.Counts.Evaluations);
    EXPECT_EQ(none.X, one.X);
    EXPECT_EQ(none.Y, one.Y);

    // The lattice is paid for up front, the cells one at a time as they are split, so either
    // may be cut first; both plot the start of the same sequence.
    const TTrace whole = Trace(circle, true);
    for (const bool ahead : {false, true}) {
        const TTrace cut = Trace(circle, ahead, lattice + 4000);
        EXPECT_EQ(cut.Levels, ahead ? levels : 0);
        ASSERT_GT(cut.Points.size(), 0u);
        ASSERT_LT(cut.Points.size(), whole.Points.size());
        EXPECT_TRUE(std::equal(cut.Points.begin(), cut.Points.end(), whole.Points.begin()));
    }
}

// Near the top of the doubles the sum of two bounds overflows: the means that split the cells
// must not, or the cells run off to infinity and the curve between them is never found.
TEST_F(ImplicitLatticeTest, CellsOfARangeNearTheLimitsOfTheDoublesStayFinite) {
    const std::vector<double> rows = TImplicitLattice::Halve(1.7e308, 1e308, 4);
    EXPECT_TRUE(std::all_of(rows.begin(), rows.end(), [](double y) { return std::isfinite(y); }));
    EXPECT_EQ(rows[8], 1.35e308);
    // Where the sum is finite the mean is the plain one, to the last bit.
    for (const auto& [a, b] : {std::pair{0.1, 0.7}, {-3.0, 1e-300}, {1e308, -1.7e308}})
        EXPECT_EQ(TImplicitLattice::Mean(a, b), (a + b) / 2);

    const TCase line{"a line near the top", "y-15*10^307", -1, 1.7e308, 1, 1e308, 0.1L, None, None};
    const TTrace trace = Trace(line, false, 1'000'000'000, 200'000);
    ASSERT_FALSE(trace.Points.empty());
    for (const auto& [x, y] : trace.Points) {
        ASSERT_TRUE(std::isfinite(x) && std::isfinite(y)) << x << ", " << y;
        EXPECT_NEAR(y / 1.5e308, 1, 1e-3);
    }
}

// Threads that trace parts of one curve share a work counter: once their work together reaches
// the limit they all stop, though each alone stays below it (the one-thread trace would reach
// the limit, so their result is thrown away in any case).
TEST_F(ImplicitLatticeTest, TracersSharingTheirWorkStopOnceTheSumReachesTheLimit) {
    const TCase& c = Cases[0];
    TImplicitTracer::TSettings settings = Settings(c);
    settings.EvaluationWork = 1000;
    const auto trace = [&](std::atomic<std::uint64_t>* shared) {
        TExpCal calculator(c.Exp, library, variables, constants);
        TRecordingPlotter plotter;
        TImplicitTracer tracer(calculator, variables, settings, plotter);
        tracer.SharedWork = shared;
        tracer.Refine(tracer.Root(c.L, c.T, c.R, c.B));
        return std::pair{tracer.Stopped(), tracer.Counts.Work};
    };
    const auto [wholeStopped, whole] = trace(nullptr);
    ASSERT_FALSE(wholeStopped);
    ASSERT_GT(whole, std::uint64_t{8} << 20); // many times what a tracer adds to the sum at once
    settings.Limits.Work = whole + whole / 2;

    std::atomic<std::uint64_t> shared{0};
    EXPECT_FALSE(trace(&shared).first);
    const auto [secondStopped, secondWork] = trace(&shared);
    EXPECT_TRUE(secondStopped);
    EXPECT_LT(secondWork, whole);
    // Alone, with the same limit, the same trace runs whole.
    EXPECT_EQ(trace(nullptr), std::pair(false, whole));
}

} // namespace
} // namespace curvana
