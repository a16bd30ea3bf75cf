#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace curvana {

// Pixel positions are summed in 64 bits and saturated to the 32-bit range, so a document's
// absurd tick length or title font cannot overflow them.
inline std::int32_t SaturatedPixel(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace curvana
