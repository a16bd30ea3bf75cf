#include "platform/linepixels.h"

#include <algorithm>

namespace curvana {

std::vector<TLinePixel> LinePixels(TPoint from, TPoint to, std::int32_t width,
                                   std::int32_t height) {
    std::vector<TLinePixel> pixels;
    ForEachLinePixel(from, to, width, height,
                     [&](std::int32_t x, std::int32_t y, std::int64_t step) {
                         pixels.push_back({x, y, step});
                     });
    return pixels;
}

} // namespace curvana
