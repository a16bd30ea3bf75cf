#include "common/flags.h"
#include "view/applystyle.h"
#include "view/coordinate.h"

namespace curvana {

namespace {

TWorldPoint PointOf(const TTableObj& T, int index) {
    const TTableElemObj& p = T.Point(index);
    return {p.x, p.y};
}

TWorldPoint Midpoint(TWorldPoint a, TWorldPoint b) {
    return {(a.X + b.X) / 2, (a.Y + b.Y) / 2};
}

} // namespace

// The points in list order, as a polyline or smoothed: from the first point through the
// midpoints of the inner edges, with the inner points as control points, to the last.
void TCoordinate::PlotTable(const TTableObj& T) {
    PlotCut = false;
    if (!IsOn(T.ShowEnabled))
        return;
    if (!FRedrawing)
        Work = 0;
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(T.GraphStyle, canvas);
    const int n = T.Count();
    if (n >= 2) {
        MoveToWorld(T.Point(0).x, T.Point(0).y);
        if (!IsOn(T.Smooth)) {
            int i = 0;
            for (; i < n && !WorkSpent(); ++i)
                LineToWorld(T.Point(i).x, T.Point(i).y);
            PlotCut = i < n;
        } else if (n == 2) {
            LineToWorld(T.Point(1).x, T.Point(1).y);
        } else {
            const TWorldPoint start = Midpoint(PointOf(T, 0), PointOf(T, 1));
            LineToWorld(start.X, start.Y);
            int i = 0;
            for (; i + 2 < n && !WorkSpent(); ++i)
                DrawSmoothSegment(PointOf(T, i), PointOf(T, i + 1), PointOf(T, i + 2));
            if (i + 2 >= n)
                LineToWorld(T.Point(n - 1).x, T.Point(n - 1).y);
            else
                PlotCut = true;
        }
    }
    RestoreCanvasState();
}

// The quadratic Bezier piece from the midpoint of P0P1 to that of P1P2 with P1 as control
// point, as eleven line pieces: t = 0, 0.1, ..., 0.9999999999999999.
void TCoordinate::DrawSmoothSegment(TWorldPoint P0, TWorldPoint P1, TWorldPoint P2) {
    const TWorldPoint s = Midpoint(P0, P1);
    const TWorldPoint e = Midpoint(P1, P2);
    MoveToWorld(s.X, s.Y);
    for (double t = 0; t <= 1; t = static_cast<double>(t + 0.1L)) {
        const double a = t * t - 2 * t + 1;
        const double b = -2 * t * t + 2 * t;
        const double c = t * t;
        LineToWorld(a * s.X + b * P1.X + c * e.X, a * s.Y + b * P1.Y + c * e.Y);
    }
}

} // namespace curvana
