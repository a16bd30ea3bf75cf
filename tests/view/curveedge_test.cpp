#include "drawfixture.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <vector>

namespace curvana {
namespace {

constexpr double Pi = std::numbers::pi;

// Curves leaving the default view (-10..10 on both axes, plot area x 30..643, y 30..403) must
// run to its edge, and come back from it, wherever the mathematics says they cross it.
class CurveEdgeTest : public DrawTest {
protected:
    // The pieces of the drawn curve, each the pixels of its move-to and line-tos in order. A
    // curve coming in from the edge is drawn from its first sample inside out to the edge and
    // then on from that sample again: the two make one piece, from the edge on.
    std::vector<std::vector<TPoint>> Pieces() const {
        std::vector<std::vector<TPoint>> pieces;
        for (const TCanvasOp& op : canvas.Ops) {
            if (op.Kind == TCanvasOpKind::MoveTo) {
                const TPoint to = op.Points[0];
                if (!pieces.empty() && pieces.back().size() == 2 && pieces.back()[0] == to)
                    pieces.back() = {pieces.back()[1], to};
                else
                    pieces.push_back({to});
            } else if (op.Kind == TCanvasOpKind::LineTo && !pieces.empty()) {
                pieces.back().push_back(op.Points[1]);
            }
        }
        return pieces;
    }

    // Exact pixel column of a world x on the default view.
    static double Column(double x) { return 30 + (x + 10) * (613.0 / 20); }

    static bool WithinOnePixel(TPoint a, TPoint b) {
        return std::abs(a.X - b.X) <= 1 && std::abs(a.Y - b.Y) <= 1;
    }

    void ExpectAllInPlotArea() const {
        for (const auto& piece : Pieces())
            for (const TPoint p : piece) {
                EXPECT_TRUE(p.X >= 30 && p.X <= 642 && p.Y >= 30 && p.Y <= 403)
                    << "stray point " << testing::PrintToString(p);
            }
    }
};

// Where a function crosses y = 10 or y = -10 inside -10..10, from a fine scan of the function
// itself (a jump of more than the view's height is a pole, not a crossing).
std::vector<TWorldPoint> EdgeCrossings(const std::function<double(double)>& f) {
    std::vector<TWorldPoint> crossings;
    constexpr int n = 400'000;
    for (int i = 0; i < n; ++i) {
        const double a = -10 + 20.0 * i / n;
        const double b = -10 + 20.0 * (i + 1) / n;
        const double fa = f(a);
        const double fb = f(b);
        if (std::fabs(fb - fa) > 20)
            continue;
        for (const double level : {-10.0, 10.0})
            if ((fa - level) * (fb - level) < 0)
                crossings.push_back({a + (b - a) * (level - fa) / (fb - fa), level});
    }
    return crossings;
}

TEST_F(CurveEdgeTest, FunctionsRunToTheTopAndBottomEdges) {
    struct Case {
        const char* exp;
        std::function<double(double)> f;
        std::vector<double> poles;
        std::size_t pieces;
    };
    const std::vector<Case> cases{
        {"tan(x)",
         [](double x) { return std::tan(x); },
         {-2.5 * Pi, -1.5 * Pi, -0.5 * Pi, 0.5 * Pi, 1.5 * Pi, 2.5 * Pi},
         7},
        {"1/x", [](double x) { return 1 / x; }, {0}, 2},
        // Arcs that leave the view and come back.
        {"20*sin(x)", [](double x) { return 20 * std::sin(x); }, {}, 7},
        {"5*x^2-8", [](double x) { return 5 * x * x - 8; }, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exp);
        canvas.Clear();
        Plot(AddFunction(ftYofX, c.exp));
        const auto pieces = Pieces();
        ASSERT_EQ(pieces.size(), c.pieces);
        ExpectAllInPlotArea();

        // Every piece ends at a side of the view or on an edge row where the function crosses it,
        // and every crossing has its piece end.
        std::vector<TPoint> onRows;
        for (const auto& piece : pieces)
            for (const TPoint end : {piece.front(), piece.back()}) {
                if (end.Y == 30 || end.Y == 403)
                    onRows.push_back(end);
                else
                    EXPECT_TRUE(end.X == 30 || end.X == 642)
                        << "piece ends inside the view at " << testing::PrintToString(end);
            }
        const std::vector<TWorldPoint> crossings = EdgeCrossings(c.f);
        ASSERT_EQ(onRows.size(), crossings.size());
        for (std::size_t i = 0; i < crossings.size(); ++i) {
            const TPoint expected = view.WorldToScreen(crossings[i].X, crossings[i].Y);
            EXPECT_TRUE(WithinOnePixel(onRows[i], expected))
                << testing::PrintToString(onRows[i]) << " for " << testing::PrintToString(expected);
        }

        for (const auto& [from, to] : Lines())
            for (const double pole : c.poles)
                EXPECT_EQ(from.X < Column(pole), to.X < Column(pole))
                    << "a line crosses the pole at " << pole;
    }
}

// Curves in y, in t and in the angle: each piece runs from edge to edge, where the
// mathematics puts the crossings; a chord that passes by a corner with both samples outside
// is cut too.
TEST_F(CurveEdgeTest, OtherWalksRunToTheEdges) {
    const double r12 = std::sqrt(144.0 - 100.0);         // r = 12 meets the edges here
    const double e14 = 5 * std::sqrt(1 - 100.0 / 196.0); // the ellipse 14 cos t, 5 sin t
    struct Case {
        const char* name;
        TEnum8 type;
        const char* exp;
        const char* addExp;
        TInterval interval;
        std::int32_t steps;
        std::vector<std::pair<TWorldPoint, TWorldPoint>> pieces;
    };
    const std::vector<Case> cases{
        {"x(y) parabola",
         ftXofY,
         "y^2/4",
         "",
         {0, 0, 0},
         500,
         {{{10, -std::sqrt(40.0)}, {10, std::sqrt(40.0)}}}},
        {"polar circle past the corners",
         ftPolar,
         "12",
         "",
         {1, 0, 2},
         500,
         {{{10, r12}, {r12, 10}},
          {{-r12, 10}, {-10, r12}},
          {{-10, -r12}, {-r12, -10}},
          {{r12, -10}, {10, -r12}}}},
        {"parametric ellipse",
         ftParametric,
         "14*cos(t)",
         "5*sin(t)",
         {1, 0, 2 * Pi},
         500,
         {{{10, e14}, {-10, e14}}, {{-10, -e14}, {10, -e14}}}},
        // Two samples, (-10.5, 9) and (-9, 10.5), both outside: the line between them crosses
        // the corner from (-10, 9.5) to (-9.5, 10).
        {"chord past a corner",
         ftParametric,
         "-10.5+1.5*t",
         "9+1.5*t",
         {1, 0, 1},
         1,
         {{{-10, 9.5}, {-9.5, 10}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        canvas.Clear();
        TFunctionObj& f = AddFunction(c.type, c.exp, c.addExp);
        f.Interval = c.interval;
        f.PlotParameter.Steps = c.steps;
        Plot(f);
        const auto pieces = Pieces();
        ASSERT_EQ(pieces.size(), c.pieces.size());
        ExpectAllInPlotArea();
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const auto& [first, last] = c.pieces[i];
            const TPoint from = view.WorldToScreen(first.X, first.Y);
            const TPoint to = view.WorldToScreen(last.X, last.Y);
            EXPECT_TRUE(WithinOnePixel(pieces[i].front(), from))
                << testing::PrintToString(pieces[i].front()) << " for "
                << testing::PrintToString(from);
            EXPECT_TRUE(WithinOnePixel(pieces[i].back(), to))
                << testing::PrintToString(pieces[i].back()) << " for "
                << testing::PrintToString(to);
        }
    }
}

// A sample that fails between one inside and one outside the view breaks the curve: the piece
// ends (or begins) at the sample inside, on the way out and on the way in. The sample at
// x = 3.32 (or -3.32) fails; 3x is 9.84 at 3.28 and 10.08 at 3.36.
TEST_F(CurveEdgeTest, FailedSampleAtTheEdgeStillBreaks) {
    struct Case {
        const char* exp;
        TWorldPoint inside; // where the piece must stop or start
        bool leaving;
    };
    for (const Case& c : {Case{"3*x+0*sqrt(abs(x-3.32)-0.01)", {3.28, 9.84}, true},
                          Case{"-3*x+0*sqrt(abs(x+3.32)-0.01)", {-3.28, 9.84}, false}}) {
        SCOPED_TRACE(c.exp);
        canvas.Clear();
        Plot(AddFunction(ftYofX, c.exp));
        const auto pieces = Pieces();
        ASSERT_EQ(pieces.size(), 1u);
        const TPoint atSample = view.WorldToScreen(c.inside.X, c.inside.Y);
        const TPoint end = c.leaving ? pieces[0].back() : pieces[0].front();
        const TPoint other = c.leaving ? pieces[0].front() : pieces[0].back();
        EXPECT_TRUE(WithinOnePixel(end, atSample)) << testing::PrintToString(end);
        // The other end, with no failure next to it, reaches the bottom edge.
        EXPECT_EQ(other.Y, 403);
        for (const auto& [from, to] : Lines())
            EXPECT_GT(std::min(from.Y, to.Y), 30 + 1) << "a line reaches the top edge";
    }
}

// Dashes restart at every move, so the curve from its first sample inside on must be drawn as
// it always was, starting with a move there: the piece from the edge is drawn outward from that
// sample. x^2 enters the view between the samples at x = -3.2 (10.24) and -3.16 (9.9856).
TEST_F(CurveEdgeTest, ComingInKeepsTheCurveFromItsFirstSampleInside) {
    Plot(AddFunction(ftYofX, "x^2"));
    ASSERT_GE(canvas.Ops.size(), 4u);
    const TPoint sample = view.WorldToScreen(-3.16, 9.9856);
    const TCanvasOp& first = canvas.Ops[0];
    const TCanvasOp& outward = canvas.Ops[1];
    const TCanvasOp& back = canvas.Ops[2];
    const TCanvasOp& on = canvas.Ops[3];
    ASSERT_EQ(first.Kind, TCanvasOpKind::MoveTo);
    EXPECT_TRUE(WithinOnePixel(first.Points[0], sample));
    ASSERT_EQ(outward.Kind, TCanvasOpKind::LineTo);
    EXPECT_EQ(outward.Points[1].Y, 30);
    ASSERT_EQ(back.Kind, TCanvasOpKind::MoveTo);
    EXPECT_EQ(back.Points[0], first.Points[0]);
    EXPECT_EQ(on.Kind, TCanvasOpKind::LineTo);
}

} // namespace
} // namespace curvana
