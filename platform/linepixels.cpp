#include "platform/linepixels.h"

#include <algorithm>

namespace curvana {

namespace {
// Floor division for a positive divisor.
__int128 FloorDiv(__int128 numerator, __int128 divisor) {
    __int128 quotient = numerator / divisor;
    if (numerator % divisor != 0 && numerator < 0)
        --quotient;
    return quotient;
}
} // namespace

std::vector<TLinePixel> LinePixels(TPoint from, TPoint to, std::int32_t width,
                                   std::int32_t height) {
    std::vector<TLinePixel> pixels;
    const std::int64_t dx = static_cast<std::int64_t>(to.X) - from.X;
    const std::int64_t dy = static_cast<std::int64_t>(to.Y) - from.Y;
    if ((dx == 0 && dy == 0) || width <= 0 || height <= 0)
        return pixels;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    // Work along the major axis: a runs over the major coordinate, b is the minor one.
    const std::int64_t da = xMajor ? dx : dy;
    const std::int64_t db = xMajor ? dy : dx;
    const std::int64_t a0 = xMajor ? from.X : from.Y;
    const std::int64_t b0 = xMajor ? from.Y : from.X;
    const std::int64_t extentA = xMajor ? width : height;
    const std::int64_t extentB = xMajor ? height : width;
    const std::int64_t steps = da < 0 ? -da : da;
    const std::int64_t dirA = da < 0 ? -1 : 1;
    const std::int64_t absB = db < 0 ? -db : db;
    const std::int64_t dirB = db < 0 ? -1 : 1;

    // Steps j (0 <= j < steps) whose major coordinate a0 + j * dirA lies in [0, extentA).
    std::int64_t first = 0;
    std::int64_t last = steps - 1;
    if (dirA > 0) {
        first = std::max(first, -a0);
        last = std::min(last, extentA - 1 - a0);
    } else {
        first = std::max(first, a0 - (extentA - 1));
        last = std::min(last, a0);
    }
    if (first > last)
        return pixels;
    pixels.reserve(static_cast<std::size_t>(std::min<std::int64_t>(last - first + 1, extentA)));
    for (std::int64_t j = first; j <= last; ++j) {
        // Offset on the minor axis: j * |db| / steps rounded to nearest, halves away from start.
        const __int128 offset =
            FloorDiv(static_cast<__int128>(2) * j * absB + steps, static_cast<__int128>(2) * steps);
        const std::int64_t b = b0 + dirB * static_cast<std::int64_t>(offset);
        if (b < 0 || b >= extentB)
            continue;
        const std::int64_t a = a0 + dirA * j;
        TLinePixel pixel;
        pixel.X = static_cast<std::int32_t>(xMajor ? a : b);
        pixel.Y = static_cast<std::int32_t>(xMajor ? b : a);
        pixel.Step = j;
        pixels.push_back(pixel);
    }
    return pixels;
}

} // namespace curvana
