#include "common/numtext.h"
#include "drawfixture.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace curvana {
namespace {

using AxesTest = DrawTest;

TEST_F(AxesTest, DefaultCrossedXAxis) {
    view.DrawXAxisCrossed();
    const auto lines = Lines();
    // The axis, 21 ticks and the arrow's shaft.
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[0], (std::pair<TPoint, TPoint>{{30, 216}, {642, 216}}));
    EXPECT_EQ(lines[1], (std::pair<TPoint, TPoint>{{30, 213}, {30, 219}}));    // at -10
    EXPECT_EQ(lines[11], (std::pair<TPoint, TPoint>{{336, 213}, {336, 219}})); // at 0
    EXPECT_EQ(lines[22], (std::pair<TPoint, TPoint>{{642, 216}, {652, 216}})); // shaft

    std::vector<std::string> labels;
    for (int v = -10; v <= 10; ++v)
        labels.push_back(std::to_string(v));
    labels.push_back("X");
    EXPECT_EQ(Texts(), labels);
    EXPECT_EQ(TextOp("-10")->Points[0], (TPoint{26, 226}));
    EXPECT_EQ(TextOp("0")->Points[0], (TPoint{329, 217}));
    EXPECT_EQ(TextOp("10")->Points[0], (TPoint{638, 226}));

    // The head is filled in the pen colour; the name stands on a background-coloured box.
    const auto heads = canvas.OfKind(TCanvasOpKind::Polygon);
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0]->Points, (std::vector<TPoint>{{652, 212}, {652, 220}, {664, 216}}));
    EXPECT_EQ(heads[0]->Brush, (TBrush{view.XAxesGraphStyle.LineColor, bsSolid}));
    const TCanvasOp* name = TextOp("X");
    EXPECT_EQ(name->Points[0], (TPoint{654, 196}));
    EXPECT_EQ(name->Brush, (TBrush{view.BackgroundColor, bsSolid}));
    // Labels are written under the axis style's hatch, so without a box.
    EXPECT_EQ(TextOp("5")->Brush.Style, bsBDiagonal);
}

TEST_F(AxesTest, DefaultCrossedYAxis) {
    view.YAxesLabelsString = "m";
    view.DrawYAxisCrossed();
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[0].first.X, 336);
    EXPECT_EQ(lines[11], (std::pair<TPoint, TPoint>{{333, 216}, {339, 216}})); // tick at 0
    EXPECT_EQ(lines[22], (std::pair<TPoint, TPoint>{{336, 30}, {336, 20}}));   // shaft up
    EXPECT_EQ(TextOp("0")->Points[0], (TPoint{329, 217})); // the x axis's spot: no suffix
    EXPECT_EQ(TextOp("10m")->Points[0], (TPoint{346, 23}));
    EXPECT_EQ(TextOp("Y")->Points[0], (TPoint{346, 8}));
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::Polygon)[0]->Points,
              (std::vector<TPoint>{{332, 20}, {340, 20}, {336, 8}}));

    canvas.Clear();
    view.YAxesLabelSide = 0;
    view.DrawYAxisCrossed();
    EXPECT_EQ(TextOp("10m")->Points[0], (TPoint{316, 23}));
}

TEST_F(AxesTest, LabelWalksStartAtTheMinimum) {
    struct Case {
        double min, max, step;
        std::vector<std::string> labels;
    };
    for (const Case& c : {Case{-2.5, 2.5, 1, {"-2.5", "-1.5", "-0.5", "0.5", "1.5", "2.5"}},
                          Case{2, 8, 1, {"2", "3", "4", "5", "6", "7", "8"}},
                          Case{-3, 3, 2.5, {"-3", "-0.5", "2"}}}) {
        SCOPED_TRACE(c.min);
        canvas.Clear();
        view.XInterval = {1, c.min, c.max};
        view.XArrow.Enabled = 0;
        view.XAxesTicksStep = c.step;
        view.XAxesLabelsStep = c.step;
        view.DrawXAxisCrossed();
        EXPECT_EQ(Texts(), c.labels);
        EXPECT_EQ(Count(TCanvasOpKind::LineTo), 1 + c.labels.size()); // axis and ticks
    }
}

TEST_F(AxesTest, AxisOutsideTheRangeSticksToTheNearerEdge) {
    view.YInterval = {1, 2, 8};
    view.DrawXAxisCrossed();
    EXPECT_EQ(Lines()[0], (std::pair<TPoint, TPoint>{{30, 403}, {642, 403}}));
    canvas.Clear();
    view.YInterval = {1, -8, -2};
    view.DrawXAxisCrossed();
    EXPECT_EQ(Lines()[0].first.Y, 30);
}

// The eleventh sum of -1 + 0.1 + ... is not 0: it is printed with the suffix, in exponent form.
TEST_F(AxesTest, SumNearZeroIsNotTheZeroLabel) {
    view.XInterval = {1, -1, 1};
    view.XAxesLabelsStep = 0.1;
    view.XAxesLabelsString = "u";
    view.DrawXAxisCrossed();
    const auto texts = Texts();
    ASSERT_GE(texts.size(), 11u);
    EXPECT_EQ(texts[10], FloatToStr(-1.3877787807814457E-16) + "u");
    EXPECT_NE(texts[10].find("E-16"), std::string::npos);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "0"), 0);
    EXPECT_EQ(texts[0], "-1u");
}

TEST_F(AxesTest, LabelsAboveAndArrowsReversed) {
    view.XAxesLabelSide = 0;
    view.XAxesDirection = 1;
    view.DrawXAxisCrossed();
    // x grows to the left: 10 is at the left edge, the arrow points left from there.
    EXPECT_EQ(TextOp("10")->Points[0], (TPoint{26, 195}));
    EXPECT_EQ(TextOp("X")->Points[0], (TPoint{13, 196}));
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::Polygon)[0]->Points,
              (std::vector<TPoint>{{20, 212}, {20, 220}, {8, 216}}));

    canvas.Clear();
    view.YAxesDirection = 0; // y grows downward: the arrow points down, 25 more pixels below
    view.DrawYAxisCrossed();
    const TPoint end = view.WorldToScreen(0, 10);
    EXPECT_EQ(end.Y, 377);
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::Polygon)[0]->Points,
              (std::vector<TPoint>{{end.X - 4, 387}, {end.X + 4, 387}, {end.X, 399}}));
    EXPECT_EQ(TextOp("Y")->Points[0], (TPoint{end.X + 10, 387}));
}

TEST_F(AxesTest, BoxedAxesUseTheTickStepAndTheScreenEdges) {
    view.AxesStyle = asBoxed;
    view.XAxesLabelsStep = 5; // not used in this style
    view.XAxesLabelsString = "u";
    view.DrawXAxisBoxed();
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u + 21u);
    const std::int32_t bottom = view.WorldToScreen(0, -10).Y; // 378: 25 pixels for the labels
    EXPECT_EQ(bottom, 378);
    EXPECT_EQ(lines[2], (std::pair<TPoint, TPoint>{{30, bottom}, {30, bottom - 3}}));
    EXPECT_EQ(Texts().size(), 21u);
    EXPECT_EQ(TextOp("0")->Points[0], (TPoint{332, bottom + 10})); // no special place for 0
    EXPECT_EQ(TextOp("-10")->Points[0], (TPoint{26, bottom + 10}));
    EXPECT_EQ(Count(TCanvasOpKind::Polygon), 0u);

    canvas.Clear();
    view.XAxesDirection = 1; // the left screen edge is XInterval.Max
    view.DrawYAxisBoxed();
    EXPECT_EQ(view.WorldToScreen(10, 0).X, 30);
    EXPECT_EQ(TextOp("-10")->Points[0], (TPoint{12, bottom - 5}));
    EXPECT_EQ(Lines()[2], (std::pair<TPoint, TPoint>{{30, bottom}, {33, bottom}}));
}

TEST_F(AxesTest, TitlesAroundThePlotArea) {
    view.TitleTopEnabled = 1;
    view.TitleTop = "Top";
    view.TitleBottomEnabled = 1;
    view.TitleBottom = "Bottom";
    view.TitleLeftEnabled = 1;
    view.TitleLeft = "Left";
    view.TitleRightEnabled = 1;
    view.TitleRight = "Right";
    view.TitleRightFont.Color = clRed;
    const TFont before = canvas.Font;
    view.DrawTitles();
    // The recording canvas measures 5 x 13 pixels a character in the default font.
    EXPECT_EQ(TextOp("Top")->Points[0], (TPoint{329, 5}));
    EXPECT_EQ(TextOp("Bottom")->Points[0], (TPoint{321, 410}));
    const TCanvasOp* left = TextOp("Left");
    EXPECT_EQ(left->Points[0], (TPoint{23, 206}));
    EXPECT_EQ(left->Font.Escapement, -900);
    const TCanvasOp* right = TextOp("Right");
    EXPECT_EQ(right->Points[0], (TPoint{655, 228}));
    EXPECT_EQ(right->Font.Escapement, 900);
    EXPECT_EQ(right->Font.Color, clRed);
    EXPECT_EQ(view.TitleRightFont.Escapement, 0); // turned only for drawing
    EXPECT_EQ(canvas.Font, before);

    // Enabled with no text, or enabled by a value other than 1: nothing.
    canvas.Clear();
    view.TitleTop.clear();
    view.TitleBottomEnabled = 2;
    view.TitleLeftEnabled = 0;
    view.TitleRightEnabled = 0;
    view.DrawTitles();
    EXPECT_TRUE(canvas.Ops.empty());
}

// Sums of pixel positions with a document's absurd tick length or title font saturate.
TEST_F(AxesTest, AbsurdLengthsSaturate) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    view.XAxesTicksLength = max;
    view.XArrow.Enabled = 0;
    view.DrawXAxisCrossed();
    EXPECT_EQ(Lines()[1], (std::pair<TPoint, TPoint>{{30, 215 - max}, {30, max}}));

    canvas.Clear();
    view.TitleLeftEnabled = 1;
    view.TitleLeft = "Left";
    view.TitleLeftFont.Height = std::numeric_limits<std::int32_t>::min(); // measures max
    view.DrawTitles();
    EXPECT_EQ(TextOp("Left")->Points[0].X, max);
}

} // namespace
} // namespace curvana
