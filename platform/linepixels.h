#pragma once

#include "view/geometry.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace curvana {

// One pixel of a thin line and its place along it (0 at the start pixel), which dash patterns
// count in.
struct TLinePixel {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int64_t Step = 0;

    friend bool operator==(const TLinePixel&, const TLinePixel&) = default;
};

// The pixels of a one-pixel line from one point towards another, the end pixel left out, as
// far as they fall into a width x height picture. One pixel per step along the longer axis;
// on the shorter axis the nearest pixel to the exact line, ties rounded away from the start.
// Ends anywhere in the 32-bit range are fine: the work is bounded by the picture's size, not
// the line's length.
std::vector<TLinePixel> LinePixels(TPoint from, TPoint to, std::int32_t width, std::int32_t height);

// The same pixels handed one by one to visit(x, y, step), in order, without a list. A thickness
// above 1 makes each pixel a run of that many across the longer axis (down for lines that run
// more across than down, else right), the picture's edge cutting the runs.
// Ends are 64-bit so that device pixels of 32-bit view coordinates fit (up to a few times 2^32).
struct TLineEnd {
    std::int64_t X = 0;
    std::int64_t Y = 0;
};

template <typename TVisit>
void ForEachLinePixel(TLineEnd from, TLineEnd to, std::int32_t width, std::int32_t height,
                      TVisit&& visit, std::int32_t thickness = 1) {
    const std::int64_t dx = to.X - from.X;
    const std::int64_t dy = to.Y - from.Y;
    if ((dx == 0 && dy == 0) || width <= 0 || height <= 0)
        return;
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
        return;
    // Offset on the minor axis: j * |db| / steps rounded to nearest, halves away from the start,
    // i.e. floor((2 j |db| + steps) / (2 steps)). Computed exactly once for the first step, then
    // carried on as quotient and remainder (|db| <= steps, so the quotient grows by 0 or 1).
    // numerator >= 0 here, so the division rounds down. Lines within +-2^30 pixels need no
    // 128-bit arithmetic.
    std::int64_t offset = 0;
    std::int64_t remainder = 0;
    if (first < (std::int64_t{1} << 30) && absB < (std::int64_t{1} << 30)) {
        const std::int64_t numerator = 2 * first * absB + steps;
        offset = numerator / (2 * steps);
        remainder = numerator % (2 * steps);
    } else {
        const __int128 denominator = static_cast<__int128>(2) * steps;
        const __int128 numerator = static_cast<__int128>(2) * first * absB + steps;
        offset = static_cast<std::int64_t>(numerator / denominator);
        remainder = static_cast<std::int64_t>(numerator % denominator);
    }
    const std::int64_t twoSteps = 2 * steps;
    const std::int64_t twoB = 2 * absB;
    for (std::int64_t j = first; j <= last; ++j) {
        const std::int64_t a = a0 + dirA * j;
        const std::int64_t b = b0 + dirB * offset;
        for (std::int64_t k = std::max<std::int64_t>(b, 0);
             k < std::min<std::int64_t>(b + thickness, extentB); ++k)
            visit(static_cast<std::int32_t>(xMajor ? a : k),
                  static_cast<std::int32_t>(xMajor ? k : a), j);
        remainder += twoB;
        if (remainder >= twoSteps) {
            remainder -= twoSteps;
            ++offset;
        }
    }
}

template <typename TVisit>
void ForEachLinePixel(TPoint from, TPoint to, std::int32_t width, std::int32_t height,
                      TVisit&& visit) {
    ForEachLinePixel(TLineEnd{from.X, from.Y}, TLineEnd{to.X, to.Y}, width, height,
                     std::forward<TVisit>(visit));
}

} // namespace curvana
