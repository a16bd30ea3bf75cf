#include "view/applystyle.h"
#include "view/coordinate.h"
#include "view/walk.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace curvana {

namespace {

// The largest distance of a range end from the origin along either axis.
long double FarthestEnd(const TInterval& x, const TInterval& y) {
    return std::max(
        {std::fabs(static_cast<long double>(x.Min)), std::fabs(static_cast<long double>(x.Max)),
         std::fabs(static_cast<long double>(y.Min)), std::fabs(static_cast<long double>(y.Max))});
}

} // namespace

void TCoordinate::DrawRectangularGrids() {
    if (GridHorEnabled == 1)
        DrawHorizontalGrid();
    if (GridVerEnabled == 1)
        DrawVerticalGrid();
}

// Lines strictly inside the range, from one step past the minimum.
void TCoordinate::DrawHorizontalGrid() {
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(GridHorGraphStyle, canvas);
    TStepWalk y(YInterval.Min, GridHorStep, DrawLimits.Marks + 1);
    while (y.Next() && y.Value() < YInterval.Max)
        DrawWorldLine(XInterval.Min, y.Value(), XInterval.Max, y.Value());
    RestoreCanvasState();
}

void TCoordinate::DrawVerticalGrid() {
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(GridVerGraphStyle, canvas);
    TStepWalk x(XInterval.Min, GridVerStep, DrawLimits.Marks + 1);
    while (x.Next() && x.Value() < XInterval.Max)
        DrawWorldLine(x.Value(), YInterval.Min, x.Value(), YInterval.Max);
    RestoreCanvasState();
}

// Circles about the origin up to the first that reaches the farthest range end.
void TCoordinate::DrawRadialGrid() {
    if (GridRadialEnabled == 0)
        return;
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(GridRadialGraphStyle, canvas);
    const double m = static_cast<double>(FarthestEnd(XInterval, YInterval));
    TStepWalk r(0, GridRadialStep, DrawLimits.Marks + 1);
    while (r.Value() < m && r.Next()) {
        const TPoint topLeft = WorldToScreen(-r.Value(), r.Value());
        const TPoint bottomRight = WorldToScreen(r.Value(), -r.Value());
        canvas.Ellipse(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
    }
    RestoreCanvasState();
}

// Rays from the farthest range end's distance to the origin, every step (in units of pi) up
// to the first at or past a full turn.
void TCoordinate::DrawAngularGrid() {
    if (GridAngularEnabled == 0)
        return;
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(GridAngularGraphStyle, canvas);
    const long double radius = static_cast<double>(FarthestEnd(XInterval, YInterval));
    TStepWalk s(0, GridAngularStep, DrawLimits.Marks + 1);
    // A ray that starts on the pixel of the ray before it is the same line again: with a very
    // fine step that would be tens of thousands of identical lines, so it is drawn once. A start
    // at the saturation limit says nothing about the direction, so such rays are all drawn.
    bool drawn = false;
    TPoint lastStart;
    while (s.Value() < 2 && s.Next()) {
        const long double angle = std::numbers::pi_v<long double> * s.Value();
        const double X = static_cast<double>(radius * std::cos(angle));
        const double Y = static_cast<double>(radius * std::sin(angle));
        const TPoint start = WorldToScreen(X, Y);
        const bool saturated = std::abs(start.X) >= PixelLimit || std::abs(start.Y) >= PixelLimit;
        if (drawn && !saturated && start == lastStart)
            continue;
        DrawWorldLine(X, Y, 0, 0);
        drawn = true;
        lastStart = start;
    }
    RestoreCanvasState();
}

} // namespace curvana
