#include "view/applystyle.h"
#include "view/recordingcanvas.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace curvana {
namespace {

TEST(ApplyTo, EndsWithExactlyTheStoredPenAndBrush) {
    TRecordingCanvas canvas;
    const TGraphStyle clear{3, psDashDot, 0x00FF00, bsClear, 0x0000FF};
    ApplyTo(clear, canvas);
    EXPECT_EQ(canvas.Pen, (TPen{0x00FF00, 3, psDashDot}));
    // The colour was set, yet the brush stays clear.
    EXPECT_EQ(canvas.Brush, (TBrush{0x0000FF, bsClear}));

    ApplyTo(TGraphStyle(), canvas);
    EXPECT_EQ(canvas.Pen, (TPen{clBlack, 1, psSolid}));
    EXPECT_EQ(canvas.Brush, (TBrush{clBlack, bsBDiagonal}));
}

TEST(RecordingCanvas, ListsOperationsWithTheStateOfTheirTime) {
    TRecordingCanvas canvas;
    canvas.MoveTo(1, 2);
    canvas.Pen.Color = 0xFF;
    canvas.LineTo(3, 4);
    canvas.Brush.Style = bsClear;
    const std::vector<TPoint> triangle{{0, 0}, {5, 0}, {0, 5}};
    canvas.Polygon(triangle);
    canvas.Rectangle(1, 1, 9, 9);
    canvas.Ellipse(2, 2, 8, 8);
    canvas.FillRect({0, 0, 4, 4});
    canvas.SetPixel(7, 7, 0x00FF00);
    canvas.TextOut(10, 20, "abc");

    ASSERT_EQ(canvas.Ops.size(), 8u);
    EXPECT_EQ(canvas.Ops[0].Kind, TCanvasOpKind::MoveTo);
    EXPECT_EQ(canvas.Ops[0].Pen.Color, clBlack);
    EXPECT_EQ(canvas.Ops[1].Kind, TCanvasOpKind::LineTo);
    EXPECT_EQ(canvas.Ops[1].Points, (std::vector<TPoint>{{1, 2}, {3, 4}}));
    EXPECT_EQ(canvas.Ops[1].Pen.Color, 0xFF);
    EXPECT_EQ(canvas.Ops[1].Brush.Style, bsSolid);
    EXPECT_EQ(canvas.Ops[2].Points, triangle);
    EXPECT_EQ(canvas.Ops[2].Brush.Style, bsClear);
    EXPECT_EQ(canvas.Ops[3].Points, (std::vector<TPoint>{{1, 1}, {9, 9}}));
    EXPECT_EQ(canvas.Ops[4].Kind, TCanvasOpKind::Ellipse);
    EXPECT_EQ(canvas.Ops[5].Kind, TCanvasOpKind::FillRect);
    EXPECT_EQ(canvas.Ops[6].Color, 0x00FF00);
    EXPECT_EQ(canvas.Ops[7].Text, "abc");
    EXPECT_EQ(canvas.Ops[7].Points, (std::vector<TPoint>{{10, 20}}));
    EXPECT_EQ(canvas.Count(TCanvasOpKind::Ellipse), 1u);
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::TextOut).front()->Text, "abc");
}

TEST(RecordingCanvas, CurrentPositionFollowsLinesAndText) {
    TRecordingCanvas canvas;
    canvas.LineTo(5, 6);
    EXPECT_EQ(canvas.Ops[0].Points.front(), (TPoint{0, 0}));
    EXPECT_EQ(canvas.PenPos(), (TPoint{5, 6}));
    canvas.Rectangle(0, 0, 50, 50);
    EXPECT_EQ(canvas.PenPos(), (TPoint{5, 6}));
    canvas.TextOut(10, 20, "abcd"); // 4 characters of 5 pixels in the default font
    EXPECT_EQ(canvas.PenPos(), (TPoint{30, 20}));
}

TEST(RecordingCanvas, MeasuresTextByItsFixedRule) {
    TRecordingCanvas canvas; // default font: height -11
    EXPECT_EQ(canvas.TextWidth("Title"), 25);
    EXPECT_EQ(canvas.TextHeight("Title"), 13);
    EXPECT_EQ(canvas.TextWidth("\xC3\xA4x"), 10); // two characters, three bytes
    EXPECT_EQ(canvas.TextWidth(""), 0);
    canvas.Font.Height = 20;
    EXPECT_EQ(canvas.TextWidth("ab"), 20);
    EXPECT_EQ(canvas.TextHeight("ab"), 22);
    canvas.Font.Height = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(canvas.TextHeight("x"), std::numeric_limits<std::int32_t>::max());
}

} // namespace
} // namespace curvana
