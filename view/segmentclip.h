#pragma once

#include <algorithm>

namespace curvana {

// A box in extended precision, bounds included.
struct TClipBox {
    long double XMin = 0;
    long double XMax = 0;
    long double YMin = 0;
    long double YMax = 0;
};

// Liang-Barsky: narrows [t0, t1] to the part of the segment a + t (b - a) inside the box; false
// when no part is inside. TPoint2 has members X and Y.
template <class TPoint2>
bool ClipSegment(const TPoint2& a, const TPoint2& b, const TClipBox& box, long double& t0,
                 long double& t1) {
    const long double dx = static_cast<long double>(b.X) - a.X;
    const long double dy = static_cast<long double>(b.Y) - a.Y;
    const long double p[4] = {-dx, dx, -dy, dy};
    const long double q[4] = {a.X - box.XMin, box.XMax - a.X, a.Y - box.YMin, box.YMax - a.Y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const long double r = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return false;
    }
    return true;
}

} // namespace curvana
