// Documents that made the picture take far too long: work that only repeats what is already on
// the canvas is skipped, and what is drawn stays the same.

#include "drawfixture.h"

#include <cstdint>
#include <set>
#include <utility>

namespace curvana {
namespace {

using HostileDrawTest = DrawTest;

std::set<std::pair<int, int>> Starts(const std::vector<std::pair<TPoint, TPoint>>& lines) {
    std::set<std::pair<int, int>> starts;
    for (const auto& line : lines)
        starts.insert({line.first.X, line.first.Y});
    return starts;
}

// An angular grid step of 1e-300 (or 1e-9) walked up to the mark limit: 100,000 rays, each
// drawn pixel by pixel, kept the window busy for tens of seconds although they all were the
// same line.
TEST_F(HostileDrawTest, AngularGridDrawsARayThatRepeatsTheOneBeforeOnce) {
    view.GridAngularEnabled = 1;
    for (double step : {1e-300, 1e-9}) {
        SCOPED_TRACE(step);
        canvas.Clear();
        view.GridAngularStep = step;
        view.DrawAngularGrid();
        ASSERT_EQ(Lines().size(), 1u);
        EXPECT_EQ(Lines()[0].second, (TPoint{336, 216}));
    }
    // A fine step whose rays do move: every start pixel is still reached, each once in a row.
    canvas.Clear();
    view.GridAngularStep = 2e-5; // 100,000 rays over the full turn
    view.DrawAngularGrid();
    const auto lines = Lines();
    EXPECT_GT(lines.size(), 1000u);
    EXPECT_LT(lines.size(), 5000u); // about the border pixels of the 673 x 433 picture
    for (std::size_t i = 1; i < lines.size(); ++i)
        ASSERT_NE(lines[i].first, lines[i - 1].first) << i;
    // The same start pixels as with one ray per pixel of the border.
    canvas.Clear();
    view.GridAngularStep = 2e-5;
    view.DrawLimits.Marks = 100'000;
    view.DrawAngularGrid();
    EXPECT_EQ(Starts(Lines()), Starts(lines));
}

// Rays far longer than the narrow x range start at the saturation limit (all those below the
// x axis at the same corner), where equal start pixels do not mean equal lines: those rays are
// all drawn, each from the origin to where it leaves the plot area.
TEST_F(HostileDrawTest, AngularGridKeepsSaturatedRays) {
    view.GridAngularEnabled = 1;
    view.GridAngularStep = 0.125;
    view.XInterval = {1, -1, 1};
    view.YInterval = {1, -1, 1e300};
    view.DrawAngularGrid();
    EXPECT_EQ(canvas.Count(TCanvasOpKind::MoveTo), 16u);
}

// The implicit curve "0 = 0" holds in every cell: at pixel size each pixel was set once for
// every cell that shares it as a corner, four million cells in all. Each pixel is now set once
// per curve.
TEST_F(HostileDrawTest, ImplicitCurveSetsEachPixelOnce) {
    // The curve's own limits are tested here, not the budget of a whole redraw, which "0 = 0"
    // spends.
    view.DrawLimits.RedrawWork = UINT64_MAX;
    for (const char* exp : {"0", "x^2+y^2-25", "x*y"}) {
        SCOPED_TRACE(exp);
        canvas.Clear();
        Plot(AddFunction(ftRelation, exp, "=0"));
        const auto ops = canvas.OfKind(TCanvasOpKind::SetPixel);
        std::set<std::pair<int, int>> pixels;
        for (const TCanvasOp* op : ops)
            pixels.insert({op->Points[0].X, op->Points[0].Y});
        EXPECT_GT(pixels.size(), 100u);
        EXPECT_EQ(pixels.size(), ops.size());
    }
    // "0 = 0" still covers the plot area, from corner to corner (613 x 373 pixels).
    canvas.Clear();
    Plot(AddFunction(ftRelation, "0", "=0"));
    EXPECT_GE(canvas.Count(TCanvasOpKind::SetPixel), 613u * 373u);
}

} // namespace
} // namespace curvana
