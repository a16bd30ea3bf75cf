#include "view/curvetracer.h"

#include <algorithm>
#include <cmath>

namespace curvana {

TCurveTracer::TCurveTracer(TCoordinate& view, long double gapX, long double gapY)
    : FView(view), FGapX(gapX), FGapY(gapY), FBox{view.XInterval.Min, view.XInterval.Max,
                                                  view.YInterval.Min, view.YInterval.Max},
      FBoxValid(FBox.XMin <= FBox.XMax && FBox.YMin <= FBox.YMax) {}

bool TCurveTracer::InView(TWorldPoint p) const {
    return FBoxValid && p.X >= FBox.XMin && p.X <= FBox.XMax && p.Y >= FBox.YMin &&
           p.Y <= FBox.YMax;
}

TWorldPoint TCurveTracer::Along(TWorldPoint a, TWorldPoint b, long double t) const {
    const long double x = a.X + t * (static_cast<long double>(b.X) - a.X);
    const long double y = a.Y + t * (static_cast<long double>(b.Y) - a.Y);
    return {static_cast<double>(std::clamp(x, FBox.XMin, FBox.XMax)),
            static_cast<double>(std::clamp(y, FBox.YMin, FBox.YMax))};
}

void TCurveTracer::DrawCut(TWorldPoint point, bool pointInside) {
    // Clipping costs as much again as a sample that draws nothing else.
    FView.Work += TCoordinate::ClipWork;
    long double t0 = 0;
    long double t1 = 1;
    const bool crosses = FBoxValid && ClipSegment(FLast, point, FBox, t0, t1);
    if (pointInside) {
        // Coming in: drawn from the sample out to the edge, then the curve goes on from the
        // sample, so its dashes keep the phase they have without the piece at the edge.
        const TWorldPoint entry = crosses ? Along(FLast, point, t0) : point;
        FView.MoveToWorld(point.X, point.Y);
        FView.LineToWorld(entry.X, entry.Y);
        FView.MoveToWorld(point.X, point.Y);
        return;
    }
    // A segment that only touches the view adds nothing.
    if (!crosses || !(t0 < t1))
        return;
    // Going out, the pen is at the last sample already; passing by, it starts at the entry.
    if (!FLastInside) {
        const TWorldPoint entry = Along(FLast, point, t0);
        FView.MoveToWorld(entry.X, entry.Y);
    }
    const TWorldPoint exit = Along(FLast, point, t1);
    FView.LineToWorld(exit.X, exit.Y);
}

void TCurveTracer::Sample(bool evaluated, double x, double y, TWorldPoint previous) {
    // A previous point that is no number parts nothing (the comparisons are false).
    const bool parted =
        FHasPrevious && (std::fabs(static_cast<long double>(x) - previous.X) >= FGapX ||
                         std::fabs(static_cast<long double>(y) - previous.Y) >= FGapY);
    const TWorldPoint point{x, y};
    const bool finite = evaluated && std::isfinite(x) && std::isfinite(y);
    const bool joined = finite && !parted;
    const bool inside = finite && InView(point);
    if (joined && inside && FLastInside)
        FView.LineToWorld(x, y);
    else if (joined && FLastAnchor)
        DrawCut(point, inside);
    else if (joined && inside)
        FView.MoveToWorld(x, y);
    else
        FView.Work += TCoordinate::IdleSampleWork;
    FHasPrevious = true;
    FLastInside = joined && inside;
    FLastAnchor = finite && (joined || !inside);
    FLast = point;
}

} // namespace curvana
