#pragma once

#include "view/geometry.h"

#include <cstdint>
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

} // namespace curvana
