#include "drawfixture.h"

#include <algorithm>
#include <limits>

namespace curvana {
namespace {

using CurvePlotTest = DrawTest;

// Pieces (a move-to each) and line segments of a curve.
struct TShape {
    std::size_t pieces;
    std::size_t segments;
    friend bool operator==(const TShape&, const TShape&) = default;
};

class CurveShapeTest : public DrawTest {
protected:
    TShape Shape() const { return {Count(TCanvasOpKind::MoveTo), Count(TCanvasOpKind::LineTo)}; }
};

TEST_F(CurveShapeTest, YofXSamplesTheViewByRepeatedAddition) {
    TFunctionObj& f = AddFunction(ftYofX, "x/2");
    f.GraphStyle.LineColor = clRed;
    f.GraphStyle.LineWidth = 3;
    const TFont font = canvas.Font;
    Plot(f);
    // 501 sums up to 9.999999999999927, then one last sample exactly at the end, 10.
    EXPECT_EQ(Shape(), (TShape{1, 501}));
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::MoveTo)[0]->Points[0], (TPoint{30, 309}));
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::LineTo)[0]->Pen, (TPen{clRed, 3, psSolid}));
    // The variable is left at the end.
    EXPECT_EQ(variables.ValueOf("x"), 10);
    // The font is back; pen and brush keep the style (the last mapping saved them).
    EXPECT_EQ(canvas.Font, font);

    // The last sample is exactly the repeated sum: only there does this expression succeed.
    canvas.Clear();
    TFunctionObj& last = AddFunction(ftYofX, "1/(x=9.999999999999927)");
    Plot(last);
    EXPECT_EQ(Shape(), (TShape{1, 0}));
}

// 1/x: the 251st sample is -3.606837051250977E-14, not 0; its value is parted from both
// neighbours by the gap rule, which cuts the curve there.
TEST_F(CurveShapeTest, ReciprocalIsCutAtThePole) {
    TFunctionObj& probe = AddFunction(ftYofX, "1/(x=-0.00000000000003606837051250977)");
    Plot(probe);
    EXPECT_EQ(Shape(), (TShape{1, 0}));

    canvas.Clear();
    Plot(AddFunction(ftYofX, "1/x"));
    // Two branches; the right one comes in from the top edge, which takes a move to its first
    // sample, a line out to the edge and a move back.
    EXPECT_EQ(Count(TCanvasOpKind::MoveTo), 3u);
    for (const auto& [from, to] : Lines())
        EXPECT_EQ(from.X < 336, to.X < 336) << "a segment crosses the pole";
}

TEST_F(CurveShapeTest, GapRuleBreaksJumps) {
    struct Case {
        const char* exp;
        std::int32_t maxGap;
        TShape shape;
    };
    // A jump of 18 against 300 * 0.04 = 12 breaks the line; against 500 * 0.04 = 20 it does
    // not. The sample after the jump is bad itself, so the second piece starts one later.
    for (const Case& c : {Case{"9*sign(x)", 300, {2, 499}}, Case{"9*sign(x)", 500, {1, 501}},
                          // sqrt fails at one sample only: a gap of two segments
                          Case{"sqrt(abs(x+2)-0.01)", 300, {2, 499}},
                          // A failed sample leaves 0 as the previous y: the jump back to
                          // 9.5 against 200 * 0.04 = 8 makes the next sample bad as well.
                          Case{"9.5+0*sqrt(abs(x+2)-0.01)", 200, {2, 498}},
                          Case{"9.5+0*sqrt(abs(x+2)-0.01)", 300, {2, 499}},
                          // 20 sin(x) leaves the view: 7 separate arcs, each coming in
                          // from an edge (two moves each)
                          Case{"20*sin(x)", 300, {14, 0}}}) {
        SCOPED_TRACE(c.exp);
        canvas.Clear();
        TFunctionObj& f = AddFunction(ftYofX, c.exp);
        f.PlotParameter.MaxGap = c.maxGap;
        Plot(f);
        if (c.shape.segments == 0)
            EXPECT_EQ(Count(TCanvasOpKind::MoveTo), c.shape.pieces);
        else
            EXPECT_EQ(Shape(), c.shape);
    }
}

TEST_F(CurveShapeTest, GraphIntervalLimitsTheWalk) {
    struct Case {
        double min, max;
        TPoint start;
        std::int32_t endX; // where the last segment ends, to a pixel
    };
    // x = 5 maps to 489.75; 10 to 642.
    for (const Case& c :
         {Case{0, 5, {336, 216}, 489}, Case{2, 5, {397, 179}, 489}, Case{0, 0, {30, 403}, 642},
          Case{-20, 20, {30, 403}, 642}, Case{5, 2, {30, 403}, 642}}) {
        SCOPED_TRACE(c.min);
        canvas.Clear();
        TFunctionObj& f = AddFunction(ftYofX, "x");
        f.Interval = {0, c.min, c.max}; // Enabled is not consulted
        Plot(f);
        EXPECT_EQ(Count(TCanvasOpKind::MoveTo), 1u);
        EXPECT_EQ(canvas.OfKind(TCanvasOpKind::MoveTo)[0]->Points[0], c.start);
        EXPECT_NEAR(Lines().back().second.X, c.endX, 1);
    }
}

TEST_F(CurveShapeTest, XofYWalksTheYRange) {
    TFunctionObj& f = AddFunction(ftXofY, "y^2/4");
    Plot(f);
    EXPECT_EQ(variables.ValueOf("y"), 10);
    // x = y^2/4 leaves the view for |y| > 6.32: one piece in the middle, which comes in from the
    // right edge (two moves).
    EXPECT_EQ(Count(TCanvasOpKind::MoveTo), 2u);
    for (const auto& line : Lines())
        EXPECT_LE(line.second.X, 642);
    const TPoint start = canvas.OfKind(TCanvasOpKind::MoveTo)[0]->Points[0];
    EXPECT_GT(start.Y, 216 + 100); // starts low on the screen, at y near -6.3
}

TEST_F(CurveShapeTest, Parametric) {
    TFunctionObj& circle = AddFunction(ftParametric, "cos(t)", "sin(t)");
    const TPen pen = canvas.Pen;
    Plot(circle); // Interval 0..0
    EXPECT_TRUE(canvas.Ops.empty());
    EXPECT_EQ(canvas.Pen, pen);

    circle.Interval = {1, 0, 6.283};
    Plot(circle);
    EXPECT_EQ(Shape(), (TShape{1, 501}));
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::MoveTo)[0]->Points[0], view.WorldToScreen(1, 0));

    // A failed y at t = 0.25 + 0.25 breaks the curve around that sample.
    canvas.Clear();
    TFunctionObj& broken = AddFunction(ftParametric, "t", "sqrt(abs(t-0.5)-0.01)");
    broken.Interval = {1, 0, 1};
    broken.PlotParameter.Steps = 4;
    Plot(broken);
    EXPECT_EQ(Shape(), (TShape{2, 2}));

    // Each coordinate keeps its last successful value: after the failed y the gap test still
    // compares with 9.5, not 0 (the gap limit is 1 * 20 / 4 = 5).
    canvas.Clear();
    TFunctionObj& kept = AddFunction(ftParametric, "t", "9.5+0*sqrt(abs(t-0.5)-0.01)");
    kept.Interval = {1, 0, 1};
    kept.PlotParameter.Steps = 4;
    kept.PlotParameter.MaxGap = 1;
    Plot(kept);
    EXPECT_EQ(Shape(), (TShape{2, 2}));
}

// The repeated sum of the angle passes 2 pi at the 501st value; a last sample at 2 pi closes
// the circle where it began.
TEST_F(CurveShapeTest, PolarCircleCloses) {
    TFunctionObj& f = AddFunction(ftPolar, "1");
    f.Interval = {1, 0, 2};
    Plot(f);
    EXPECT_EQ(Shape(), (TShape{1, 500}));
    EXPECT_EQ(variables.ValueOf("a"), 6.283185307179586);
    EXPECT_EQ(Lines().back().second, canvas.OfKind(TCanvasOpKind::MoveTo)[0]->Points[0]);

    canvas.Clear();
    f.Interval = {1, 0, 1};
    Plot(f);
    EXPECT_EQ(Count(TCanvasOpKind::MoveTo), 1u);
    for (const auto& [from, to] : Lines()) {
        EXPECT_LE(from.Y, 216);
        EXPECT_LE(to.Y, 216);
    }

    canvas.Clear();
    f.Interval = {1, 1, 1};
    Plot(f);
    EXPECT_TRUE(canvas.Ops.empty());
}

TEST_F(CurveShapeTest, HiddenAndUnknownGraphsDrawNothing) {
    TFunctionObj& hidden = AddFunction(ftYofX, "x");
    hidden.ShowEnabled = 0;
    Plot(hidden);
    TFunctionObj& unknown = AddFunction(9, "x");
    Plot(unknown);
    TFunctionObj& failing = AddFunction(ftYofX, "ln(-1-x^2)");
    Plot(failing);
    EXPECT_EQ(Count(TCanvasOpKind::MoveTo) + Count(TCanvasOpKind::LineTo), 0u);
}

// Steps of 0 or less, and walks whose step cannot advance the sum, end; absurd sample counts
// are bounded.
TEST_F(CurveShapeTest, DegenerateWalksEnd) {
    for (TEnum8 type : {ftYofX, ftXofY, ftPolar, ftParametric}) {
        for (std::int32_t steps : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
            SCOPED_TRACE(testing::Message() << int(type) << " " << steps);
            canvas.Clear();
            TFunctionObj& f = AddFunction(type, "1", "1");
            f.Interval = {1, 0, 1};
            f.PlotParameter.Steps = steps;
            Plot(f);
            EXPECT_TRUE(canvas.Ops.empty());
        }
    }

    // 1E17 + 0.032 is 1E17: one sample, then the walk ends.
    view.XInterval = {1, 1e17, 1e17 + 16};
    view.YInterval = {1, -1, 1};
    canvas.Clear();
    Plot(AddFunction(ftYofX, "0"));
    EXPECT_EQ(Shape(), (TShape{1, 0}));

    view.XInterval = {1, -10, 10};
    view.YInterval = {1, -10, 10};
    view.DrawLimits.WalkSamples = 1000;
    for (TEnum8 type : {ftYofX, ftXofY, ftPolar, ftParametric}) {
        SCOPED_TRACE(int(type));
        canvas.Clear();
        TFunctionObj& f = AddFunction(type, "0.001", "0.001");
        f.Interval = {1, 0, 1};
        f.PlotParameter.Steps = std::numeric_limits<std::int32_t>::max();
        f.PlotParameter.MaxGap = std::numeric_limits<std::int32_t>::max();
        Plot(f);
        EXPECT_EQ(Count(TCanvasOpKind::MoveTo) + Count(TCanvasOpKind::LineTo), 1000u);
        EXPECT_TRUE(view.PlotCut) << "a walk ended by its cap is reported";
        // A walk within its cap is whole.
        f.PlotParameter.Steps = 500;
        Plot(f);
        EXPECT_FALSE(view.PlotCut);
    }
}

} // namespace
} // namespace curvana
