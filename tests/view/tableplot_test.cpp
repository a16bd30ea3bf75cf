#include "drawfixture.h"

namespace curvana {
namespace {

using TablePlotTest = DrawTest;

TEST_F(TablePlotTest, PolylineAndSmoothedPieces) {
    struct Case {
        std::vector<TWorldPoint> points;
        TFlag smooth;
        std::size_t moves, lines;
    };
    for (const Case& c : {
             Case{{{0, 0}}, 0, 0, 0},
             Case{{{0, 0}}, 1, 0, 0},
             // A polyline starts again at point 0: a zero-length line first.
             Case{{{0, 0}, {1, 1}, {2, 0}}, 0, 1, 3},
             Case{{{0, 0}, {1, 1}}, 1, 1, 1},
             // Straight to the first midpoint, eleven pieces of the arc, straight to the end.
             Case{{{0, 0}, {1, 1}, {2, 0}}, 1, 2, 13},
             Case{{{0, 0}, {1, 1}, {2, 0}, {3, 1}}, 1, 3, 24},
         }) {
        SCOPED_TRACE(testing::Message() << c.points.size() << " smooth " << int(c.smooth));
        canvas.Clear();
        TTableObj t;
        t.ShowEnabled = 1;
        t.Smooth = c.smooth;
        t.GraphStyle.LineColor = clRed;
        for (const TWorldPoint& p : c.points)
            t.AddPoint(p.X, p.Y);
        const TPen pen = canvas.Pen;
        const TBrush brush = canvas.Brush;
        view.PlotTable(t);
        EXPECT_EQ(Count(TCanvasOpKind::MoveTo), c.moves);
        EXPECT_EQ(Count(TCanvasOpKind::LineTo), c.lines);
        if (c.points.size() < 2) { // nothing mapped: the state before is back
            EXPECT_EQ(canvas.Pen, pen);
            EXPECT_EQ(canvas.Brush, brush);
        }
        for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::LineTo))
            EXPECT_EQ(op->Pen.Color, clRed);
    }
}

TEST_F(TablePlotTest, SmoothedCurvePassesTheMidpoints) {
    const TTableObj& t = AddTable({{0, 0}, {1, 1}, {2, 0}}, 1);
    view.PlotTable(t);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0].first, view.WorldToScreen(0, 0));
    EXPECT_EQ(lines[0].second, view.WorldToScreen(0.5, 0.5));
    // The arc from (0.5, 0.5) to (1.5, 0.5) peaks at (1, 0.75) at t = 0.5.
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::MoveTo)[1]->Points[0], view.WorldToScreen(0.5, 0.5));
    EXPECT_EQ(lines[6].second, view.WorldToScreen(1, 0.75));
    EXPECT_EQ(lines[11].second, view.WorldToScreen(1.5, 0.5));
    EXPECT_EQ(lines[12].second, view.WorldToScreen(2, 0));
}

TEST_F(TablePlotTest, HiddenTableAndFarPoints) {
    TTableObj& t = AddTable({{-100, 0}, {100, 50}});
    t.ShowEnabled = 0;
    view.PlotTable(t);
    EXPECT_TRUE(canvas.Ops.empty());
    // Points outside the view are drawn toward them, unclipped by the view.
    t.ShowEnabled = 1;
    view.PlotTable(t);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].second, view.WorldToScreen(100, 50));
    EXPECT_GT(lines[1].second.X, 673);
}

} // namespace
} // namespace curvana
