#include "drawfixture.h"

#include <algorithm>
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
         {Case{{1, -10, 10}, {1, -10, 10}, 1, 10}, Case{{1, -10, 10}, {1, -10, 10}, 2, 5},
          Case{{1, -30, 30}, {1, -30, 30}, 10, 3}}) {
        SCOPED_TRACE(c.step);
        canvas.Clear();
        view.XInterval = c.x;
        view.YInterval = c.y;
        view.GridRadialEnabled = 1;
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

// Circles and rays about an origin off the centre (or outside the view) stay inside the plot
// area, as the rectangular grids do, and what is drawn there still follows the circles and the
// rays: every arc point lies on a circle of the step's radii, every ray point on a ray from the
// origin, and the parts inside are all there (the top-right corner arc of the view is reached).
TEST_F(GridsTest, RadialAndAngularGridsStayInThePlotArea) {
    struct Case {
        const char* name;
        TInterval x, y;
        TEnum8 brush;
    };
    for (const Case& c : {
             Case{"origin at the left edge", {1, 0, 10}, {1, -3, 3}, bsClear},
             Case{"origin low left", {1, -2, 8}, {1, -1, 5}, bsClear},
             Case{"origin outside", {1, 3, 9}, {1, 2, 6}, bsClear},
             Case{"wide, filled", {1, -10, 10}, {1, -4, 4}, bsSolid},
             Case{"origin outside, filled", {1, 3, 9}, {1, 2, 6}, bsCross},
         }) {
        SCOPED_TRACE(c.name);
        view.XInterval = c.x;
        view.YInterval = c.y;
        view.GridRadialEnabled = view.GridAngularEnabled = 1;
        view.GridRadialStep = 1;
        view.GridAngularStep = 0.125;
        view.GridRadialGraphStyle.BrushStyle = c.brush;
        const TPoint low = view.WorldToScreen(c.x.Min, c.y.Min);
        const TPoint high = view.WorldToScreen(c.x.Max, c.y.Max);
        const double kx = (high.X - low.X) / (c.x.Max - c.x.Min);
        const double ky = (low.Y - high.Y) / (c.y.Max - c.y.Min);
        const auto inside = [&](TPoint p) {
            return p.X >= low.X - 1 && p.X <= high.X + 1 && p.Y >= high.Y - 1 && p.Y <= low.Y + 1;
        };
        const TPoint origin = view.WorldToScreen(0, 0);
        const auto world = [&](TPoint p) {
            return TWorldPoint{(p.X - origin.X) / kx, (origin.Y - p.Y) / ky};
        };

        canvas.Clear();
        view.DrawRadialGrid();
        ASSERT_GT(Count(TCanvasOpKind::LineTo), 0u);
        // Circles inside the area are the platform's ellipses as before.
        const double inner = std::min({-c.x.Min, c.x.Max, -c.y.Min, c.y.Max});
        EXPECT_EQ(Count(TCanvasOpKind::Ellipse), inner > 0 ? std::size_t(inner) : 0u);
        for (const TCanvasOp& op : canvas.Ops)
            for (const TPoint p : op.Points) {
                EXPECT_TRUE(inside(p)) << p.X << "," << p.Y;
                if (op.Kind != TCanvasOpKind::LineTo)
                    continue;
                const TWorldPoint w = world(p);
                const double r = std::hypot(w.X, w.Y);
                EXPECT_LT(std::fabs(r - std::round(r)) * std::min(kx, ky), 1.5) << r;
            }
        // Every point of a circle well inside the area is on a drawn chord.
        const auto arcs = Lines();
        const auto nearest = [&](double x, double y) {
            double best = std::numeric_limits<double>::infinity();
            for (const auto& [a, b] : arcs) {
                const double dx = b.X - a.X;
                const double dy = b.Y - a.Y;
                const double length = dx * dx + dy * dy;
                const double t =
                    length == 0 ? 0
                                : std::clamp(((x - a.X) * dx + (y - a.Y) * dy) / length, 0.0, 1.0);
                best = std::min(best, std::hypot(x - a.X - t * dx, y - a.Y - t * dy));
            }
            return best;
        };
        const double farthest = std::max({-c.x.Min, c.x.Max, -c.y.Min, c.y.Max});
        for (int k = std::max(1, int(inner) + 1); k <= std::ceil(farthest); ++k)
            for (double angle = 0; angle < 2 * M_PI; angle += 0.02) {
                const double x = origin.X + k * std::cos(angle) * kx;
                const double y = origin.Y - k * std::sin(angle) * ky;
                if (x > low.X + 2 && x < high.X - 2 && y > high.Y + 2 && y < low.Y - 2) {
                    ASSERT_LT(nearest(x, y), 2.0) << "radius " << k << " at " << angle;
                }
            }
        if (c.brush != bsClear) {
            EXPECT_GT(Count(TCanvasOpKind::Polygon), 0u);
        }

        canvas.Clear();
        view.DrawAngularGrid();
        for (const auto& [from, to] : Lines()) {
            EXPECT_TRUE(inside(from) && inside(to));
            // Both ends on one ray from the origin: their directions agree.
            const TWorldPoint a = world(from);
            const TWorldPoint b = world(to);
            const double cross = a.X * b.Y - a.Y * b.X;
            EXPECT_LT(std::fabs(cross) / (std::hypot(a.X, a.Y) + 1e-9), 0.1);
        }
    }
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
