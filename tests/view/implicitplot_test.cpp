#include "drawfixture.h"

#include <cmath>
#include <set>
#include <utility>

namespace curvana {
namespace {

using ImplicitPlotTest = DrawTest;

std::set<std::pair<int, int>> PixelSet(const TRecordingCanvas& canvas) {
    std::set<std::pair<int, int>> pixels;
    for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::SetPixel))
        pixels.insert({op->Points[0].X, op->Points[0].Y});
    return pixels;
}

// Where the default view puts the circle of radius 5: 153.25 x 93.25 pixels about (336.5,
// 216.5); 1 on the circle.
double CircleDistance(int x, int y) {
    return std::hypot((x + 0.5 - 336.5) / 153.25, (y + 0.5 - 216.5) / 93.25);
}

TEST_F(ImplicitPlotTest, RegionFillsAGridOfCellsAndClearsTheLine) {
    TFunctionObj& all = AddFunction(ftRelation, "1", ">0");
    all.GraphStyle.LineWidth = 4;
    Plot(all);
    // Rows and columns from -10 to 10: the 51st sum, 10.000000000000009, is past the end, and
    // the end itself is taken instead. Cells at the edges are cut to the plot area: the ranges'
    // ends map to x 30 and 642, y 403 and 30, and a pen-less rectangle ends two pixels beyond.
    const auto cells = canvas.OfKind(TCanvasOpKind::Rectangle);
    ASSERT_EQ(cells.size(), 2601u);
    EXPECT_EQ(cells[0]->Points, (std::vector<TPoint>{{30, 405}, {36, 398}}));
    EXPECT_EQ(cells.back()->Points, (std::vector<TPoint>{{635, 33}, {644, 30}}));
    EXPECT_EQ(cells[0]->Pen.Style, psClear);
    EXPECT_EQ(cells[0]->Pen.Width, 0);
    EXPECT_EQ(cells[0]->Brush, (TBrush{clBlack, bsBDiagonal}));
    // The graph keeps the clear line.
    EXPECT_EQ(all.GraphStyle.LineWidth, 0);
    EXPECT_EQ(all.GraphStyle.LineStyle, psClear);

    canvas.Clear();
    TFunctionObj& disc = AddFunction(ftRelation, "x^2+y^2-25", "<0");
    disc.GraphStyle.BrushStyle = bsSolid;
    Plot(disc);
    const auto inside = canvas.OfKind(TCanvasOpKind::Rectangle);
    EXPECT_GT(inside.size(), 400u);
    EXPECT_LT(inside.size(), 500u); // about pi * 12.5^2 of the 0.4 x 0.4 cells
    for (const TCanvasOp* op : inside) {
        const int cx = (op->Points[0].X + op->Points[1].X) / 2;
        const int cy = (op->Points[0].Y + op->Points[1].Y) / 2;
        EXPECT_LT(CircleDistance(cx, cy), 1.0);
    }
}

TEST_F(ImplicitPlotTest, RegionRangeNarrowedByTheGraphIntervals) {
    TFunctionObj& f = AddFunction(ftRelation, "1", ">0");
    f.Interval = {0, 0, 5};
    Plot(f);
    const auto cells = canvas.OfKind(TCanvasOpKind::Rectangle);
    ASSERT_EQ(cells.size(), 51u * 51u); // columns at 0 .. 4.999999999999998
    std::int32_t left = 1000;
    std::int32_t right = 0;
    for (const TCanvasOp* op : cells) {
        left = std::min(left, op->Points[0].X);
        right = std::max(right, op->Points[1].X);
    }
    EXPECT_EQ(left, 333);  // x = -0.05, one pixel further left
    EXPECT_EQ(right, 491); // x = 5.05

    canvas.Clear();
    f.AddInterval = {0, 20, 30}; // above the view: no rows
    Plot(f);
    EXPECT_EQ(Count(TCanvasOpKind::Rectangle), 0u);
}

TEST_F(ImplicitPlotTest, AddExpDecidesCurveOrRegion) {
    struct Case {
        const char* addExp;
        bool curve;
    };
    // round(x) is 0 for |x| <= 0.5: a band of cells as a curve, three columns as a region.
    for (const Case& c :
         {Case{"=0", true}, Case{"  =0\t", true}, Case{"= 0", false}, Case{"=0.0", false}}) {
        SCOPED_TRACE(c.addExp);
        canvas.Clear();
        Plot(AddFunction(ftRelation, "round(x)", c.addExp));
        EXPECT_EQ(Count(TCanvasOpKind::SetPixel) > 0, c.curve);
        EXPECT_EQ(Count(TCanvasOpKind::Rectangle), c.curve ? 0u : 3u * 51u);
    }
}

TEST_F(ImplicitPlotTest, CircleIsDrawnAsSinglePixels) {
    TFunctionObj& f = AddFunction(ftRelation, "x^2+y^2-25", "=0");
    f.GraphStyle.LineWidth = 3;
    f.GraphStyle.LineColor = clBlue;
    Plot(f);
    EXPECT_EQ(Count(TCanvasOpKind::SetPixel), canvas.Ops.size()); // nothing but pixels
    const auto pixels = PixelSet(canvas);
    EXPECT_GT(pixels.size(), 600u);
    for (const auto& [x, y] : pixels)
        EXPECT_NEAR(CircleDistance(x, y), 1.0, 0.03) << x << "," << y;
    for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::SetPixel))
        EXPECT_EQ(op->Color, clBlue);
    // Every quadrant of the circle is there.
    std::set<std::pair<bool, bool>> quadrants;
    for (const auto& [x, y] : pixels)
        quadrants.insert({x > 336, y > 216});
    EXPECT_EQ(quadrants.size(), 4u);
}

// A final cell sets the corner of the smallest |f| and the nearest of the other three.
TEST_F(ImplicitPlotTest, FinalCellSetsTheTwoNearestCorners) {
    struct Case {
        const char* exp;
        std::set<std::pair<int, int>> corners; // (x, y) in world units
    };
    // |f| at (L,T), (R,T), (R,B), (L,B) of the cell -1..1 x -1..1:
    for (const Case& c : {// 0, 0, 0, 0: every corner, each once
                          Case{"0", {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}}},
                          // 1, 3, 1, 3
                          Case{"x+2*y", {{-1, 1}, {1, -1}}},
                          // 1.5, 3.5, 1.5, 0.5: the tie of the other three is set twice over
                          Case{"x+y+1.5", {{-1, -1}, {-1, 1}, {1, -1}}},
                          // failed, 2, 2, failed
                          Case{"sqrt(x)+1", {{1, 1}, {1, -1}}}, Case{"sqrt(-1)", {}}}) {
        SCOPED_TRACE(c.exp);
        canvas.Clear();
        TExpCal calculator(c.exp, library, variables, constants);
        view.RefineImplicitCell(calculator, variables, -1, 1, 1, -1, 100);
        std::set<std::pair<int, int>> expected;
        for (const auto& [x, y] : c.corners) {
            const TPoint p = view.WorldToScreen(x, y);
            expected.insert({p.X, p.Y});
        }
        EXPECT_EQ(PixelSet(canvas), expected);
        EXPECT_EQ(Count(TCanvasOpKind::SetPixel), expected.size());
    }
}

TEST_F(ImplicitPlotTest, NoRealPointsCostsTheUntestedLevelsOnly) {
    Plot(AddFunction(ftRelation, "x^2+y^2+1", "=0"));
    EXPECT_TRUE(canvas.Ops.empty());
    // The cells split untested, down to cells of 0.3125 x 0.3125 (9.6 x 5.8 pixels, after 6
    // levels), evaluated as one lattice of 65 x 65 points; five probes in each first quadrant,
    // the last on a known corner. Below that no cell's corners differ.
    EXPECT_EQ(view.Evaluations, 65u * 65u + 4u * 4u);
}

// A corner that fails has no value. Counting it as 0 would draw the border of the domain.
TEST_F(ImplicitPlotTest, FailedCornersTakeNoPart) {
    Plot(AddFunction(ftRelation, "sqrt(x)+1", "=0"));
    Plot(AddFunction(ftRelation, "ln(-1-x^2-y^2)", "=0"));
    Plot(AddFunction(ftRelation, "ln(-1-x^2-y^2)", ">0"));
    EXPECT_TRUE(canvas.Ops.empty());

    // A curve that ends at the border of its domain is still found.
    Plot(AddFunction(ftRelation, "y-sqrt(x)", "=0"));
    const auto pixels = PixelSet(canvas);
    EXPECT_GT(pixels.size(), 200u);
    for (const auto& [x, y] : pixels) {
        EXPECT_GE(x, 335);
        EXPECT_LE(y, 217);
    }
}

// A range one pixel wide has an infinite pixel size across; it is never split that way.
TEST_F(ImplicitPlotTest, DegenerateRanges) {
    TFunctionObj& line = AddFunction(ftRelation, "x", "=0");
    line.Interval = {0, 0, 1e-6};
    Plot(line);
    const auto pixels = PixelSet(canvas);
    EXPECT_GT(pixels.size(), 100u);
    for (const auto& [x, y] : pixels)
        EXPECT_EQ(x, 336);

    // No width at all: no pixel size, nothing drawn.
    canvas.Clear();
    view.XInterval = {1, 1, 1};
    Plot(line);
    TFunctionObj& region = AddFunction(ftRelation, "1", ">0");
    Plot(region);
    EXPECT_TRUE(canvas.Ops.empty());
    EXPECT_EQ(region.GraphStyle.LineStyle, psSolid); // not plotted, not changed

    // Steps of 0 or less: no grid.
    view.XInterval = {1, -10, 10};
    for (auto [onX, onY] : {std::pair{0, 50}, {50, 0}, {-5, 50}}) {
        region.PlotParameter.StepsOnX = onX;
        region.PlotParameter.StepsOnY = onY;
        Plot(region);
    }
    EXPECT_TRUE(canvas.Ops.empty());
}

// Noise everywhere is bounded by the cell and test budgets; the depth by its limit.
TEST_F(ImplicitPlotTest, WorkIsBounded) {
    view.DrawLimits.ImplicitCells = 500;
    view.DrawLimits.ImplicitTests = 2000;
    Plot(AddFunction(ftRelation, "sin(97*x)*sin(89*y)", "=0"));
    EXPECT_GT(Count(TCanvasOpKind::SetPixel), 0u);
    EXPECT_LE(Count(TCanvasOpKind::SetPixel), 16u * 500u);
    EXPECT_LE(view.Evaluations, 4u * 500u + 10u * 2000u);
    EXPECT_TRUE(view.PlotCut);

    canvas.Clear();
    view.Evaluations = 0;
    view.DrawLimits = TDrawLimits{};
    view.DrawLimits.ImplicitDepth = 2; // final cells of 5 x 5
    Plot(AddFunction(ftRelation, "x^2+y^2-25", "=0"));
    EXPECT_GT(Count(TCanvasOpKind::SetPixel), 0u);
    EXPECT_LE(view.Evaluations, 4u * 10u + 16u * 10u + 16u * 4u);
    EXPECT_FALSE(view.PlotCut) << "cells final at the depth limit are drawn, not cut";

    // The default grid has 51 x 51 points.
    view.DrawLimits.RegionPoints = 100;
    canvas.Clear();
    TFunctionObj& region = AddFunction(ftRelation, "1", ">0");
    Plot(region);
    EXPECT_EQ(Count(TCanvasOpKind::Rectangle), 100u);
    EXPECT_TRUE(view.PlotCut);
    view.DrawLimits.RegionPoints = 51 * 51;
    Plot(region);
    EXPECT_FALSE(view.PlotCut);
}

} // namespace
} // namespace curvana
