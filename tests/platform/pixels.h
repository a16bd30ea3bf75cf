#pragma once

#include "common/types.h"
#include "platform/qtcolor.h"

#include <QImage>
#include <string>

namespace curvana::test {

// Rows of an image area as text: '#' for the ink colour, '.' for white, 'o' for the other
// colour given, '?' for anything else. Rows end with '\n'.
inline std::string PixelRows(const QImage& image, int left, int top, int width, int height,
                             TColor ink = clBlack, TColor other = -1) {
    const QRgb inkRgb = ToQColor(ink).rgb();
    const QRgb otherRgb = other < 0 ? 0 : ToQColor(other).rgb();
    std::string text;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel == inkRgb)
                text += '#';
            else if (pixel == qRgb(255, 255, 255))
                text += '.';
            else if (other >= 0 && pixel == otherRgb)
                text += 'o';
            else
                text += '?';
        }
        text += '\n';
    }
    return text;
}

inline int CountColor(const QImage& image, TColor color) {
    const QRgb rgb = ToQColor(color).rgb();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == rgb ? 1 : 0;
    return count;
}

} // namespace curvana::test
