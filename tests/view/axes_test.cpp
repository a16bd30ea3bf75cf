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

// Labels show the numbers the walk is written in, not the rounding noise of the repeated sums;
// a sum next to 0 is the origin's "0". Each case: the range, the step, and the labels as exact
// multiples (first + k * step) / scale of integers.
TEST_F(AxesTest, LabelsShowTheNumbersMeant) {
    struct Case {
        double min, max, step;
        std::int64_t first, increment, scale; // label k = (first + k * increment) / scale
        int count;
    };
    for (const Case& c : {
             Case{-1, 1, 0.1, -10, 1, 10, 21},
             Case{-0.2, 0.2, 0.05, -20, 5, 100, 9},
             Case{-1, 1, 0.25, -100, 25, 100, 9},
             Case{-5e-7, 5e-7, 1e-7, -5, 1, 10'000'000, 11},
             Case{-5e7, 5e7, 1e7, -50'000'000, 10'000'000, 1, 11},
             Case{-0.7, 0.7, 0.1, -7, 1, 10, 15},
             // Panned by a fraction of the step: no label falls on 0.
             Case{-0.95, 1.05, 0.1, -95, 10, 100, 21},
             Case{-1.25, 0.75, 0.1, -125, 10, 100, 21},
             // More digits in the minimum than the step needs are kept.
             Case{0.123456789, 3, 1, 123456789, 1'000'000'000, 1'000'000'000, 3},
         }) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " by " << c.step);
        canvas.Clear();
        view.XInterval = {1, c.min, c.max};
        view.XArrow.Enabled = 0;
        view.XAxesLabelsStep = c.step;
        view.XAxesLabelsString = "u";
        view.DrawXAxisCrossed();

        std::vector<std::string> expected;
        for (int k = 0; k < c.count; ++k) {
            const std::int64_t units = c.first + k * c.increment;
            expected.push_back(
                units == 0
                    ? "0"
                    : FloatToStr(static_cast<double>(units) / static_cast<double>(c.scale)) + "u");
        }
        EXPECT_EQ(Texts(), expected);
    }
}

// Positions stay on the repeated sums; only the text is rounded. The sum next to 0 takes the
// origin's spot; labels of the y axis and of boxed axes are rounded alike.
TEST_F(AxesTest, RoundedLabelsKeepTheirPlaces) {
    view.XInterval = {1, -1, 1};
    view.YInterval = {1, -1, 1};
    view.XAxesLabelsStep = 0.1;
    view.YAxesLabelsStep = 0.1;
    view.DrawXAxisCrossed();
    const double nearZero = -1.3877787807814457E-16;
    const TPoint p = view.WorldToScreen(nearZero, 0);
    ASSERT_NE(TextOp("0"), nullptr);
    EXPECT_EQ(TextOp("0")->Points[0], (TPoint{p.X - 7, p.Y + 1}));
    double sum = -1;
    for (int k = 0; k < 3; ++k)
        sum += 0.1; // -0.7000000000000001
    const TPoint q = view.WorldToScreen(sum, 0);
    ASSERT_NE(TextOp("-0.7"), nullptr);
    EXPECT_EQ(TextOp("-0.7")->Points[0], (TPoint{q.X - 4, q.Y + 10}));

    const auto noisy = [](const std::vector<std::string>& texts) {
        return std::count_if(texts.begin(), texts.end(), [](const std::string& t) {
            return t.find("E-") != std::string::npos || t.find("9999") != std::string::npos ||
                   t.find("0000") != std::string::npos;
        });
    };
    canvas.Clear();
    view.DrawYAxisCrossed();
    EXPECT_EQ(noisy(Texts()), 0);
    EXPECT_NE(TextOp("0.3"), nullptr);
    for (const auto draw : {&TCoordinate::DrawXAxisBoxed, &TCoordinate::DrawYAxisBoxed}) {
        canvas.Clear();
        view.XAxesTicksStep = 0.1;
        view.YAxesTicksStep = 0.1;
        (view.*draw)();
        EXPECT_EQ(Texts().size(), 21u);
        EXPECT_EQ(noisy(Texts()), 0);
        EXPECT_NE(TextOp("0"), nullptr);
        EXPECT_NE(TextOp("0.9"), nullptr);
    }
}

// Labels, arrow names and titles in the default text colour keep it wherever it shows (every
// light background, untouched), and turn white where it would not: on a dark background, or on
// the dark box a solid brush paints behind the text. A title colour the author chose is kept,
// even red on white, which stands out less than the rule asks of the default colour.
TEST_F(AxesTest, TextStaysReadableOnTheBackground) {
    constexpr TColor darkBlue = 0x800000;
    view.TitleTopEnabled = view.TitleBottomEnabled = view.TitleLeftEnabled = 1;
    view.TitleTop = "Top";
    view.TitleBottom = "Bottom";
    view.TitleLeft = "Left";
    view.TitleBottomFont.Color = clBlack; // how documents store the default
    view.TitleLeftFont.Color = clRed;
    struct Case {
        const char* name;
        TColor background;
        TEnum8 axisBrush;
        TColor label, arrowName;
    };
    for (const Case& c : {
             Case{"white", clWhite, bsBDiagonal, clWindowText, clWindowText},
             Case{"window colour", clWindow, bsBDiagonal, clWindowText, clWindowText},
             Case{"mid grey", clGray, bsBDiagonal, clWindowText, clWindowText},
             Case{"pale yellow", 0xC0FFFF, bsBDiagonal, clWindowText, clWindowText},
             Case{"black", clBlack, bsBDiagonal, clWhite, clWhite},
             Case{"dark blue", darkBlue, bsClear, clWhite, clWhite},
             Case{"solid dark axis brush", clWhite, bsSolid, clWhite, clWindowText},
         }) {
        SCOPED_TRACE(c.name);
        view.BackgroundColor = c.background;
        view.XAxesGraphStyle.BrushStyle = view.YAxesGraphStyle.BrushStyle = c.axisBrush;
        view.XAxesGraphStyle.BrushColor = view.YAxesGraphStyle.BrushColor = darkBlue;
        for (const auto draw : {&TCoordinate::DrawXAxisCrossed, &TCoordinate::DrawYAxisCrossed,
                                &TCoordinate::DrawXAxisBoxed}) {
            canvas.Clear();
            (view.*draw)();
            for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::TextOut)) {
                const bool name = op->Text == "X" || op->Text == "Y";
                EXPECT_EQ(op->Font.Color, name ? c.arrowName : c.label) << op->Text;
            }
            EXPECT_EQ(canvas.Font.Color, clWindowText); // the canvas state is back
        }
        canvas.Clear();
        canvas.Brush = TBrush{darkBlue, c.axisBrush};
        view.DrawTitles();
        const bool turns = c.label == clWhite;
        EXPECT_EQ(TextOp("Top")->Font.Color, turns ? clWhite : clWindowText);
        EXPECT_EQ(TextOp("Bottom")->Font.Color, turns ? clWhite : clBlack);
        EXPECT_EQ(TextOp("Left")->Font.Color, clRed);
    }
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
