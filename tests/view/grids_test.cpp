#include "drawfixture.h"

#include <cmath>
#include <limits>

namespace curvana {
namespace {

using GridsTest = DrawTest;

TEST_F(GridsTest, HorizontalLinesStrictlyInsideTheRange) {
    struct Case {
        double step;
        std::vector<double> ys;
    };
    for (const Case& c :
         {Case{1, {-9, -8, -7, -6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
          Case{3, {-7, -4, -1, 2, 5, 8}}, Case{25, {}}}) {
        SCOPED_TRACE(c.step);
        canvas.Clear();
        view.GridHorStep = c.step;
        view.DrawHorizontalGrid();
        const auto lines = Lines();
        ASSERT_EQ(lines.size(), c.ys.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const TPoint left = view.WorldToScreen(-10, c.ys[i]);
            EXPECT_EQ(lines[i].first, left);
            EXPECT_EQ(lines[i].second.Y, left.Y);
            EXPECT_EQ(lines[i].second.X, 642);
        }
        for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::LineTo))
            EXPECT_EQ(op->Pen, (TPen{clGray, 1, psDot}));
    }
}

TEST_F(GridsTest, RectangularGridsDrawHorizontalFirstAndOnlyWhenEnabledByOne) {
    view.GridHorEnabled = 1;
    view.GridVerEnabled = 1;
    view.GridVerGraphStyle.LineColor = clRed;
    view.DrawRectangularGrids();
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 38u);
    EXPECT_EQ(lines[18].first.X, 30);  // last horizontal line
    EXPECT_EQ(lines[19].first.Y, 403); // first vertical one, from the bottom
    EXPECT_EQ(lines[19].second.Y, 30);
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::LineTo)[19]->Pen.Color, clRed);

    canvas.Clear();
    view.GridHorEnabled = 2;
    view.GridVerEnabled = 0;
    view.DrawRectangularGrids();
    EXPECT_TRUE(canvas.Ops.empty());
}

TEST_F(GridsTest, RadialCirclesUpToTheFarthestRangeEnd) {
    struct Case {
        TInterval x, y;
        double step;
        std::size_t circles;
    };
    for (const Case& c :
         {Case{{1, -10, 10}, {1, -10, 10}, 1, 10}, Case{{1, 0, 10}, {1, -3, 3}, 1, 10},
          Case{{1, -10, 10}, {1, -10, 10}, 3, 4}, Case{{1, -1, 2}, {1, -25, 3}, 10, 3}}) {
        SCOPED_TRACE(c.step);
        canvas.Clear();
        view.XInterval = c.x;
        view.YInterval = c.y;
        view.GridRadialEnabled = 2; // any nonzero value
        view.GridRadialStep = c.step;
        view.DrawRadialGrid();
        const auto circles = canvas.OfKind(TCanvasOpKind::Ellipse);
        ASSERT_EQ(circles.size(), c.circles);
        const double r = c.step * c.circles;
        EXPECT_EQ(circles.back()->Points[0], view.WorldToScreen(-r, r));
        EXPECT_EQ(circles.back()->Points[1], view.WorldToScreen(r, -r));
        EXPECT_EQ(circles.back()->Brush.Style, bsClear);
    }
    canvas.Clear();
    view.GridRadialEnabled = 0;
    view.DrawRadialGrid();
    EXPECT_TRUE(canvas.Ops.empty());
}

TEST_F(GridsTest, AngularRaysToAFullTurnOrJustPast) {
    struct Case {
        double step;
        std::size_t rays;
        double lastTurn; // in units of pi
    };
    view.GridAngularEnabled = 1;
    for (const Case& c : {Case{0.25, 8, 2}, Case{0.3, 7, 2.1}, Case{2, 1, 2}, Case{3, 1, 3}}) {
        SCOPED_TRACE(c.step);
        canvas.Clear();
        view.GridAngularStep = c.step;
        view.DrawAngularGrid();
        const auto lines = Lines();
        ASSERT_EQ(lines.size(), c.rays);
        for (const auto& line : lines)
            EXPECT_EQ(line.second, (TPoint{336, 216}));
        const double angle = M_PI * c.lastTurn;
        EXPECT_EQ(lines.back().first,
                  view.WorldToScreen(10 * std::cos(angle), 10 * std::sin(angle)));
    }
    // 0.25: the first ray at 45 degrees, up and right of the origin.
    canvas.Clear();
    view.GridAngularStep = 0.25;
    view.DrawAngularGrid();
    const TPoint first = Lines()[0].first;
    EXPECT_GT(first.X, 336);
    EXPECT_LT(first.Y, 216);
}

// A step that cannot advance the walk ends it; an absurdly fine one is bounded.
TEST_F(GridsTest, DegenerateStepsEnd) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    view.GridHorEnabled = 1;
    view.GridVerEnabled = 1;
    view.GridRadialEnabled = 1;
    view.GridAngularEnabled = 1;
    for (double step : {0.0, -1.0, nan, inf}) {
        SCOPED_TRACE(step);
        canvas.Clear();
        view.GridHorStep = view.GridVerStep = view.GridRadialStep = view.GridAngularStep = step;
        view.DrawRectangularGrids();
        view.DrawRadialGrid();
        view.DrawAngularGrid();
        EXPECT_TRUE(canvas.Ops.empty());
    }
    // 1E-300 cannot move -10, but walks up from 0 for 2^52 steps: the mark limit ends it.
    view.DrawLimits.Marks = 50;
    for (double step : {1e-9, 1e-300}) {
        SCOPED_TRACE(step);
        canvas.Clear();
        view.GridHorStep = view.GridVerStep = view.GridRadialStep = view.GridAngularStep = step;
        view.DrawRectangularGrids();
        view.DrawRadialGrid();
        view.DrawAngularGrid();
        // Every ray of either step starts on the same pixel: it is drawn once.
        EXPECT_EQ(Count(TCanvasOpKind::LineTo), step == 1e-9 ? 101u : 1u);
        EXPECT_EQ(Count(TCanvasOpKind::Ellipse), 50u);
    }
}

} // namespace
} // namespace curvana
