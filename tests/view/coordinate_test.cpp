#include "view/applystyle.h"
#include "view/coordinate.h"
#include "view/recordingcanvas.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace curvana {
namespace {

constexpr std::int32_t Far = TCoordinate::PixelLimit;

// Counts text measurements, to see when margins are recomputed.
class TCountingCanvas : public TRecordingCanvas {
public:
    int Measured = 0;
    std::int32_t TextHeight(const std::string& text) override {
        ++Measured;
        return TRecordingCanvas::TextHeight(text);
    }
};

// A view of the size the examples use, drawing on a recording canvas.
class CoordinateTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetScreenPixelsPerInch(96);
        view = std::make_unique<TCoordinate>();
        view->Canvas = &canvas;
        view->Width = 673;
        view->Height = 433;
    }

    void AddFunction(TFlag show) {
        TFunctionObj f;
        f.ShowEnabled = show;
        graphs.AddFunctionCopy(f);
    }

    TCountingCanvas canvas;
    TMemory graphs;
    std::unique_ptr<TCoordinate> view;
};

TEST(CoordinateDefaults, EverySetting) {
    const TCoordinate v;
    EXPECT_EQ(v.MarginTop, 30);
    EXPECT_EQ(v.MarginLeft, 30);
    EXPECT_EQ(v.MarginRight, 30);
    EXPECT_EQ(v.MarginBottom, 30);
    EXPECT_EQ(v.XInterval, TInterval(1, -10, 10));
    EXPECT_EQ(v.YInterval, TInterval(1, -10, 10));
    EXPECT_EQ(v.PlotParameter, TPlotParameter());
    EXPECT_EQ(v.AxesStyle, asCrossed);
    EXPECT_EQ(v.EqualScaleEnabled, 0);
    EXPECT_EQ(v.BackgroundColor, clWhite);
    EXPECT_EQ(v.XAxesDirection, 0);
    EXPECT_EQ(v.YAxesDirection, 1);
    EXPECT_EQ(v.XAxesGraphStyle, TGraphStyle());
    EXPECT_EQ(v.YAxesGraphStyle, TGraphStyle());
    EXPECT_EQ(v.XArrow, TAxesArrow(1, "X"));
    EXPECT_EQ(v.YArrow, TAxesArrow(1, "Y"));
    EXPECT_EQ(v.XAxesTicksStep, 1);
    EXPECT_EQ(v.XAxesTicksLength, 2);
    EXPECT_EQ(v.YAxesTicksStep, 1);
    EXPECT_EQ(v.YAxesTicksLength, 2);
    EXPECT_EQ(v.XAxesLabelsStep, 1);
    EXPECT_EQ(v.XAxesLabelsString, "");
    EXPECT_EQ(v.YAxesLabelsStep, 1);
    EXPECT_EQ(v.YAxesLabelsString, "");
    EXPECT_EQ(v.XAxesLabelSide, 1);
    EXPECT_EQ(v.YAxesLabelSide, 1);
    for (TFlag enabled :
         {v.TitleTopEnabled, v.TitleBottomEnabled, v.TitleLeftEnabled, v.TitleRightEnabled})
        EXPECT_EQ(enabled, 0);
    for (const TFont* font :
         {&v.TitleTopFont, &v.TitleBottomFont, &v.TitleLeftFont, &v.TitleRightFont})
        EXPECT_EQ(*font, TFont());
    EXPECT_EQ(v.LegendEnabled, 0);
    EXPECT_EQ(v.ShowSampleEnabled, 1);
    EXPECT_EQ(v.TextColorAsGraphEnabled, 0);
    EXPECT_EQ(v.LegendPosition, 1);
    EXPECT_EQ(v.GraphList, nullptr);
    EXPECT_EQ(v.GridRadialStep, 1);
    EXPECT_EQ(v.GridAngularStep, 0.25);
    EXPECT_EQ(v.GridHorStep, 1);
    EXPECT_EQ(v.GridVerStep, 1);
    for (TFlag enabled :
         {v.GridRadialEnabled, v.GridAngularEnabled, v.GridHorEnabled, v.GridVerEnabled})
        EXPECT_EQ(enabled, 0);
    const TGraphStyle gridLines{1, psDot, 0x808080, bsBDiagonal, clBlack};
    EXPECT_EQ(v.GridHorGraphStyle, gridLines);
    EXPECT_EQ(v.GridVerGraphStyle, gridLines);
    EXPECT_EQ(v.GridAngularGraphStyle, gridLines);
    EXPECT_EQ(v.GridRadialGraphStyle, (TGraphStyle{1, psDot, 0x808080, bsClear, clWhite}));
}

TEST_F(CoordinateTest, DefaultMappingTruncatesIntoThePlotArea) {
    struct Case {
        double x, y;
        TPoint expected;
    };
    // Plot area x 30..643, y 30..403; 30 + 10 * 30.65 = 336.5 and 403 - 10 * 18.65 = 216.5.
    // The scales are stored as doubles just below 30.65 and 18.65, so the far corner of the
    // range lands a hair short of 643 and truncates to 642.
    for (const Case c : {Case{0, 0, {336, 216}}, Case{-10, -10, {30, 403}}, Case{10, 10, {642, 30}},
                         Case{-10, 10, {30, 30}}, Case{20, -20, {949, 589}}}) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(view->WorldToScreen(c.x, c.y), c.expected);
    }
    EXPECT_EQ(view->MarginBottom, 30);
}

TEST_F(CoordinateTest, AxisDirections) {
    struct Case {
        TEnum8 xDirection, yDirection;
        TPoint minCorner, maxCorner; // (Min, Min) and (Max, Max)
    };
    // y downward with the arrow enabled reserves 25 more pixels below (bottom 378), but only
    // for the code 0: other downward codes keep the 30-pixel margin.
    for (const Case c : {Case{0, 1, {30, 403}, {642, 30}}, Case{1, 1, {643, 403}, {30, 30}},
                         Case{7, 1, {643, 403}, {30, 30}}, Case{0, 0, {30, 30}, {642, 377}},
                         Case{0, 2, {30, 30}, {642, 402}}, Case{1, 0, {643, 30}, {30, 377}}}) {
        SCOPED_TRACE(testing::Message() << int(c.xDirection) << "/" << int(c.yDirection));
        view->XAxesDirection = c.xDirection;
        view->YAxesDirection = c.yDirection;
        EXPECT_EQ(view->WorldToScreen(-10, -10), c.minCorner);
        EXPECT_EQ(view->WorldToScreen(10, 10), c.maxCorner);
    }
}

TEST_F(CoordinateTest, BottomMarginForBoxAndDownwardArrow) {
    struct Case {
        TEnum8 axesStyle, yDirection;
        TFlag arrow;
        std::int32_t marginBottom;
    };
    for (const Case c :
         {Case{asCrossed, 1, 1, 30}, Case{asCrossed, 0, 1, 55}, Case{asCrossed, 0, 2, 30},
          Case{asCrossed, 0, 0, 30}, Case{asBoxed, 1, 1, 55}, Case{asBoxed, 0, 1, 55},
          Case{asBoxed, 0, 0, 55}, Case{2, 1, 1, 30}}) {
        SCOPED_TRACE(testing::Message()
                     << int(c.axesStyle) << " " << int(c.yDirection) << " " << int(c.arrow));
        view->AxesStyle = c.axesStyle;
        view->YAxesDirection = c.yDirection;
        view->YArrow.Enabled = c.arrow;
        view->ComputeMargins();
        EXPECT_EQ(view->MarginBottom, c.marginBottom);
        EXPECT_EQ(view->MarginTop, 30);
    }
}

TEST_F(CoordinateTest, TitlesReserveTheirTextHeight) {
    view->TitleTopEnabled = 1;
    view->TitleTop = "Top";
    view->TitleTopFont.SetSize(12); // height -16: measures 18
    view->TitleLeftEnabled = 1;
    view->TitleLeft = "a long left title"; // measured across, by its height
    view->TitleRightEnabled = 1;           // enabled but empty: nothing reserved
    view->TitleBottomEnabled = 2;          // only 1 shows a title
    view->TitleBottom = "Bottom";
    canvas.Font.Name = "Canvas Face";
    const TPen pen = canvas.Pen;

    view->ComputeMargins();
    EXPECT_EQ(view->MarginTop, 48);
    EXPECT_EQ(view->MarginLeft, 43);
    EXPECT_EQ(view->MarginRight, 30);
    EXPECT_EQ(view->MarginBottom, 30);
    // Measuring changed the canvas font; it is back afterwards.
    EXPECT_EQ(canvas.Font.Name, "Canvas Face");
    EXPECT_EQ(canvas.Font.Height, -11);
    EXPECT_EQ(canvas.Pen, pen);
    EXPECT_TRUE(canvas.Ops.empty());
}

TEST_F(CoordinateTest, LegendLinesStopAtTheMinimumPlotHeight) {
    AddFunction(1);
    AddFunction(0);
    TTableObj table;
    table.ShowEnabled = 1;
    graphs.AddTableCopy(table);
    AddFunction(2); // off: only 1 shows a graph
    view->LegendEnabled = 1;
    view->ComputeMargins();
    EXPECT_EQ(view->MarginBottom, 30); // no graph list yet
    view->LegendEnabled = 0;
    view->GraphList = &graphs;
    view->ComputeMargins();
    EXPECT_EQ(view->MarginBottom, 30); // legend off

    view->LegendEnabled = 1;
    view->ComputeMargins();
    EXPECT_EQ(view->MarginBottom, 30 + 32); // two visible, two hidden
    // A visible graph of an unknown kind has no legend line, so it gets no room for one.
    TFunctionObj unknown;
    unknown.ShowEnabled = 1;
    unknown.FunctionObjType = 7;
    graphs.AddFunctionCopy(unknown);
    view->ComputeMargins();
    EXPECT_EQ(view->MarginBottom, 30 + 32);

    view->Height = 200;
    view->ComputeMargins();
    EXPECT_EQ(view->MarginBottom, 62); // 200 - 62 = 138 stops the count

    view->LegendEnabled = 2;
    view->ComputeMargins();
    EXPECT_EQ(view->MarginBottom, 30);
}

TEST_F(CoordinateTest, EqualScaleMakesThePlotAreaSquare) {
    view->EqualScaleEnabled = 1;
    view->ComputeMargins();
    EXPECT_EQ(view->MarginLeft, 150);
    EXPECT_EQ(view->MarginRight, 150);
    EXPECT_EQ(view->MarginTop, 30);
    EXPECT_EQ(view->MarginBottom, 30);
    EXPECT_EQ(view->WorldToScreen(-10, -10), (TPoint{150, 403}));
    EXPECT_EQ(view->WorldToScreen(10, 10), (TPoint{522, 30}));

    // Taller than wide, with an odd difference: one pixel off square.
    view->Width = 433;
    view->Height = 674;
    view->ComputeMargins();
    EXPECT_EQ(view->MarginTop, 150);
    EXPECT_EQ(view->MarginBottom, 150);
    EXPECT_EQ(view->MarginLeft, 30);

    view->EqualScaleEnabled = 2;
    view->ComputeMargins();
    EXPECT_EQ(view->MarginTop, 30);
}

TEST_F(CoordinateTest, TruncatesTowardZero) {
    // One pixel per world unit: plot area 20 x 20 pixels for the range -10..10.
    view->Width = 80;
    view->Height = 80;
    EXPECT_EQ(view->WorldToScreen(-40.5, 40.5), (TPoint{0, 0})); // exactly -0.5, -0.5
    EXPECT_EQ(view->WorldToScreen(-41.5, 41.5), (TPoint{-1, -1}));
    EXPECT_EQ(view->WorldToScreen(0.75, -0.75), (TPoint{40, 40})); // 40.75 both
}

TEST_F(CoordinateTest, HugeAndUndefinedValuesSaturate) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double x, y;
        TPoint expected;
    };
    for (const Case c : {Case{1e308, -1e308, {Far, Far}}, Case{-1e308, 1e308, {-Far, -Far}},
                         Case{inf, -inf, {Far, Far}}, Case{nan, 0, {-Far, 216}},
                         Case{0, nan, {336, -Far}}, Case{1e7, 0, {Far, 216}}}) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(view->WorldToScreen(c.x, c.y), c.expected);
    }
}

TEST_F(CoordinateTest, EmptyRangesAndPlotAreasMapToDefinedPixels) {
    // Min = Max: the range's value sits on the start edge, the rest saturates by side.
    view->XInterval = {1, 5, 5};
    view->YInterval = {1, 2, 2};
    EXPECT_EQ(view->WorldToScreen(5, 2), (TPoint{30, 403}));
    EXPECT_EQ(view->WorldToScreen(6, 3), (TPoint{Far, -Far}));
    EXPECT_EQ(view->WorldToScreen(4, 1), (TPoint{-Far, Far}));
    EXPECT_EQ(view->WorldToScreen(1e308, -1e308), (TPoint{Far, Far}));

    // No plot width or height as well: everything collapses onto the start edges.
    view->Width = 60;
    view->Height = 60;
    EXPECT_EQ(view->WorldToScreen(6, 3), (TPoint{30, 30}));
    EXPECT_EQ(view->WorldToScreen(-1e308, 1e308), (TPoint{30, 30}));

    // A range whose bounds are not numbers, on a normal plot area.
    view->Width = 673;
    view->Height = 433;
    view->XInterval = {1, std::nan(""), 10};
    view->YInterval = {1, -10, 10};
    EXPECT_EQ(view->WorldToScreen(3, 0), (TPoint{30, 216}));

    // A control too small for its margins maps with a reversed scale, still defined.
    view->XInterval = {1, -10, 10};
    view->Width = 0;
    view->Height = 0;
    EXPECT_EQ(view->WorldToScreen(10, 10), (TPoint{-30, 30}));
}

TEST_F(CoordinateTest, WorldPrimitivesDrawAtMappedPixels) {
    canvas.Pen.Color = 0x0000FF;
    view->DrawWorldLine(-10, -10, 0, 0);
    view->MoveToWorld(10, 10);
    view->LineToWorld(-10, 10);
    view->PlotWorldPixel(0, 0);
    ASSERT_EQ(canvas.Ops.size(), 5u);
    EXPECT_EQ(canvas.Ops[0].Kind, TCanvasOpKind::MoveTo);
    EXPECT_EQ(canvas.Ops[0].Points.front(), (TPoint{30, 403}));
    EXPECT_EQ(canvas.Ops[1].Points, (std::vector<TPoint>{{30, 403}, {336, 216}}));
    EXPECT_EQ(canvas.Ops[3].Points, (std::vector<TPoint>{{642, 30}, {30, 30}}));
    EXPECT_EQ(canvas.Ops[4].Kind, TCanvasOpKind::SetPixel);
    EXPECT_EQ(canvas.Ops[4].Points.front(), (TPoint{336, 216}));
    EXPECT_EQ(canvas.Ops[4].Color, 0x0000FF);
}

TEST_F(CoordinateTest, LinesToFarPointsKeepTheirDirection) {
    // (0, 0) is at pixel (336.5, 216.5); (1e7, 1e6) far right and a little up, beyond the
    // saturation square on x only. Clamping x alone would bend the visible part of the line.
    const double kx = 613.0 / 20, ky = 373.0 / 20;
    const double x0 = 30 + 10 * kx, y0 = 403 - 10 * ky;
    const double x1 = 30 + (1e7 + 10) * kx, y1 = 403 - (1e6 + 10) * ky;
    const double yAtLimit = y0 + (Far - x0) * (y1 - y0) / (x1 - x0);

    view->DrawWorldLine(0, 0, 1e7, 1e6);
    ASSERT_EQ(canvas.Ops.size(), 3u);
    EXPECT_EQ(canvas.Ops[1].Kind, TCanvasOpKind::LineTo);
    EXPECT_EQ(canvas.Ops[1].Points[0], (TPoint{336, 216}));
    EXPECT_EQ(canvas.Ops[1].Points[1].X, Far);
    EXPECT_NEAR(canvas.Ops[1].Points[1].Y, yAtLimit, 1.0);
    // The pen then stands where WorldToScreen puts the far point.
    EXPECT_EQ(canvas.Ops[2].Kind, TCanvasOpKind::MoveTo);
    EXPECT_EQ(canvas.PenPos(), view->WorldToScreen(1e7, 1e6));

    // Back from the far point: the line comes in along the same straight path.
    canvas.Clear();
    view->LineToWorld(0, 0);
    ASSERT_EQ(canvas.Ops.size(), 2u);
    EXPECT_EQ(canvas.Ops[0].Kind, TCanvasOpKind::MoveTo);
    EXPECT_EQ(canvas.Ops[0].Points[0].X, Far);
    EXPECT_NEAR(canvas.Ops[0].Points[0].Y, yAtLimit, 1.0);
    EXPECT_EQ(canvas.Ops[1].Points[1], (TPoint{336, 216}));

    // A line with no part inside the square draws nothing but still moves the pen.
    canvas.Clear();
    view->DrawWorldLine(1e7, 1e7, 2e7, 1e7);
    EXPECT_EQ(canvas.Count(TCanvasOpKind::LineTo), 0u);
    EXPECT_EQ(canvas.PenPos(), (TPoint{Far, -Far}));

    // Infinite ends are clipped the same way; a horizontal line stays horizontal.
    canvas.Clear();
    view->DrawWorldLine(0, 0, std::numeric_limits<double>::infinity(), 0);
    ASSERT_EQ(canvas.Count(TCanvasOpKind::LineTo), 1u);
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::LineTo)[0]->Points[1], (TPoint{Far, 216}));
}

TEST_F(CoordinateTest, SavedStateIsOneSet) {
    ApplyTo(TGraphStyle{4, psDash, 0x112233, bsCross, 0x445566}, canvas);
    canvas.Font.Name = "First";
    view->SaveCanvasState();
    canvas.Pen = TPen();
    canvas.Brush = TBrush();
    canvas.Font.Name = "Second";
    canvas.Font.SetSize(20);
    view->SaveCanvasState(); // overwrites the first save
    canvas.Font.Name = "Third";
    canvas.Pen.Width = 9;
    view->RestoreCanvasState();
    EXPECT_EQ(canvas.Pen, TPen());
    EXPECT_EQ(canvas.Brush, TBrush());
    EXPECT_EQ(canvas.Font.Name, "Second");
    EXPECT_EQ(canvas.Font.Size(), 20);
}

TEST_F(CoordinateTest, MappingSavesTheCanvasStateLikeComputeMargins) {
    // An operation that maps points ends with the state of its last mapping restored.
    canvas.Pen.Color = 0x111111;
    view->SaveCanvasState();
    canvas.Pen.Color = 0x222222;
    view->WorldToScreen(0, 0);
    canvas.Pen.Color = 0x333333;
    view->RestoreCanvasState();
    EXPECT_EQ(canvas.Pen.Color, 0x222222);
}

TEST_F(CoordinateTest, FrozenMarginsMeasureOnceAndMapAlike) {
    view->TitleTopEnabled = 1;
    view->TitleTop = "Title";
    view->LegendEnabled = 1;
    AddFunction(1);
    view->GraphList = &graphs;
    const double points[][2] = {{0, 0}, {-10, 3.3}, {9.99, -7}, {1e300, 0}};

    std::vector<TPoint> unfrozen;
    for (const auto& p : points)
        unfrozen.push_back(view->WorldToScreen(p[0], p[1]));
    EXPECT_EQ(canvas.Measured, 4);

    canvas.Measured = 0;
    std::vector<TPoint> frozen;
    {
        TCoordinate::TMarginFreeze freeze(*view);
        TCoordinate::TMarginFreeze nested(*view);
        EXPECT_TRUE(view->MarginsFrozen());
        canvas.Pen.Color = 0x0000FF;
        for (const auto& p : points)
            frozen.push_back(view->WorldToScreen(p[0], p[1]));
        EXPECT_EQ(view->SavedPen.Color, 0x0000FF);
    }
    EXPECT_EQ(canvas.Measured, 1);
    EXPECT_EQ(frozen, unfrozen);
    EXPECT_FALSE(view->MarginsFrozen());

    // Unfrozen again: a change of setting shows at the next mapping.
    view->TitleTopEnabled = 0;
    EXPECT_NE(view->WorldToScreen(0, 0), unfrozen[0]);
}

TEST_F(CoordinateTest, WithoutACanvas) {
    view->Canvas = nullptr;
    EXPECT_EQ(view->WorldToScreen(0, 0), (TPoint{336, 216}));
    EXPECT_THROW(view->LineToWorld(0, 0), std::logic_error);
    view->TitleTopEnabled = 1;
    view->TitleTop = "needs measuring";
    EXPECT_THROW(view->ComputeMargins(), std::logic_error);
}

} // namespace
} // namespace curvana
