#pragma once

#include <optional>
#include <vector>

namespace curvana {

// Geometry in floating point, used to cut far-away shapes down to the neighbourhood of the
// picture before a painter sees them: painters work in limited fixed-point ranges, and a
// coordinate near the view's saturation limit must neither wrap nor overflow there.
struct TPointF {
    double X = 0;
    double Y = 0;

    friend bool operator==(const TPointF&, const TPointF&) = default;
};

struct TRectF {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;

    bool Contains(TPointF p) const {
        return p.X >= Left && p.X <= Right && p.Y >= Top && p.Y <= Bottom;
    }
};

struct TSegmentF {
    TPointF From;
    TPointF To;
    // Distance along the original segment from its start to From (what was cut off there).
    double StartOffset = 0;
};

// The part of the segment inside the rectangle (edges included), or nothing. The direction is
// kept exactly; ends already inside are returned unchanged.
std::optional<TSegmentF> ClipSegment(TPointF from, TPointF to, const TRectF& rect);

// The closed polygon cut to the rectangle (the part of its area inside). Edges that the cut
// adds run along the rectangle's border. Fewer than 3 points in the result means nothing is
// left.
std::vector<TPointF> ClipPolygon(const std::vector<TPointF>& polygon, const TRectF& rect);

// Points on the ellipse inscribed in the box, close enough together that the chords stray less
// than a quarter pixel from the curve (at most MaxEllipsePoints).
constexpr int MaxEllipsePoints = 1 << 20;
std::vector<TPointF> EllipsePoints(double left, double top, double right, double bottom);

} // namespace curvana
