#include "platform/clipping.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace curvana {

std::optional<TSegmentF> ClipSegment(TPointF from, TPointF to, const TRectF& rect) {
    if (!std::isfinite(from.X) || !std::isfinite(from.Y) || !std::isfinite(to.X) ||
        !std::isfinite(to.Y))
        return std::nullopt;
    const double dx = to.X - from.X;
    const double dy = to.Y - from.Y;
    double t0 = 0;
    double t1 = 1;
    // Liang-Barsky: each border limits the parameter range from one side.
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {from.X - rect.Left, rect.Right - from.X, from.Y - rect.Top,
                         rect.Bottom - from.Y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return std::nullopt;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return std::nullopt;
    }
    TSegmentF result;
    result.From = t0 > 0 ? TPointF{from.X + t0 * dx, from.Y + t0 * dy} : from;
    result.To = t1 < 1 ? TPointF{from.X + t1 * dx, from.Y + t1 * dy} : to;
    result.StartOffset = t0 * std::hypot(dx, dy);
    return result;
}

namespace {
// One Sutherland-Hodgman pass against the half plane where inside(p) holds.
template <typename Inside, typename Cross>
std::vector<TPointF> ClipAgainst(const std::vector<TPointF>& input, Inside inside, Cross cross) {
    std::vector<TPointF> output;
    if (input.empty())
        return output;
    output.reserve(input.size() + 4);
    TPointF previous = input.back();
    bool previousInside = inside(previous);
    for (const TPointF& current : input) {
        const bool currentInside = inside(current);
        if (currentInside != previousInside)
            output.push_back(cross(previous, current));
        if (currentInside)
            output.push_back(current);
        previous = current;
        previousInside = currentInside;
    }
    return output;
}

TPointF CrossX(TPointF a, TPointF b, double x) {
    const double t = (x - a.X) / (b.X - a.X);
    return {x, a.Y + t * (b.Y - a.Y)};
}

TPointF CrossY(TPointF a, TPointF b, double y) {
    const double t = (y - a.Y) / (b.Y - a.Y);
    return {a.X + t * (b.X - a.X), y};
}
} // namespace

std::vector<TPointF> ClipPolygon(const std::vector<TPointF>& polygon, const TRectF& rect) {
    for (const TPointF& p : polygon)
        if (!std::isfinite(p.X) || !std::isfinite(p.Y))
            return {};
    std::vector<TPointF> result = ClipAgainst(
        polygon, [&](TPointF p) { return p.X >= rect.Left; },
        [&](TPointF a, TPointF b) { return CrossX(a, b, rect.Left); });
    result = ClipAgainst(
        result, [&](TPointF p) { return p.X <= rect.Right; },
        [&](TPointF a, TPointF b) { return CrossX(a, b, rect.Right); });
    result = ClipAgainst(
        result, [&](TPointF p) { return p.Y >= rect.Top; },
        [&](TPointF a, TPointF b) { return CrossY(a, b, rect.Top); });
    result = ClipAgainst(
        result, [&](TPointF p) { return p.Y <= rect.Bottom; },
        [&](TPointF a, TPointF b) { return CrossY(a, b, rect.Bottom); });
    return result;
}

std::vector<TPointF> EllipsePoints(double left, double top, double right, double bottom) {
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const double rx = std::abs(right - left) / 2;
    const double ry = std::abs(bottom - top) / 2;
    const double r = std::max(rx, ry);
    // A chord over the angle a strays r * (1 - cos(a / 2)) ~ r * a^2 / 8 from the arc.
    int count = 16;
    if (r > 0) {
        const double step = std::sqrt(8 * 0.25 / r);
        const double wanted = std::ceil(2 * std::numbers::pi / step);
        count = static_cast<int>(std::clamp(wanted, 16.0, static_cast<double>(MaxEllipsePoints)));
    }
    std::vector<TPointF> points;
    points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double a = 2 * std::numbers::pi * i / count;
        points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return points;
}

} // namespace curvana
