#include "common/colors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace curvana {

namespace {
// RGB as written in hex (0xRRGGBB), indexed by the system colour number.
constexpr std::array<std::uint32_t, 31> SystemColorTable = {
    0xC8C8C8, // 0 scroll bar
    0x000000, // 1 desktop
    0x99B4D1, // 2 active caption
    0xBFCDDB, // 3 inactive caption
    0xF0F0F0, // 4 menu
    0xFFFFFF, // 5 window
    0x646464, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0x000000, // 9 caption text
    0xB4B4B4, // 10 active border
    0xF4F7FC, // 11 inactive border
    0xABABAB, // 12 application workspace
    0x0078D7, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xF0F0F0, // 15 button face
    0xA0A0A0, // 16 button shadow
    0x6D6D6D, // 17 grey text
    0x000000, // 18 button text
    0x000000, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x696969, // 21 3D dark shadow
    0xE3E3E3, // 22 3D light
    0x000000, // 23 tooltip text
    0xFFFFE1, // 24 tooltip background
    0x000000, // 25 unused
    0x0066CC, // 26 hot light
    0xB9D1EA, // 27 active caption gradient
    0xD7E4F2, // 28 inactive caption gradient
    0x3399FF, // 29 menu highlight
    0xF0F0F0, // 30 menu bar
};
} // namespace

TColor SystemColorValue(int index) {
    if (index < 0 || index >= static_cast<int>(SystemColorTable.size()))
        return clBlack;
    const std::uint32_t rgb = SystemColorTable[static_cast<std::size_t>(index)];
    return RGBColor(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8), static_cast<int>(rgb));
}

TColor ResolveColor(TColor color) {
    if (IsSystemColor(color))
        return SystemColorValue(SystemColorIndex(color));
    return color & 0x00FFFFFF;
}

namespace {

// Relative luminance of an sRGB colour, 0 for black to 1 for white.
double Luminance(TColor color) {
    const TColor value = ResolveColor(color);
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(RedOf(value)) + 0.7152 * linear(GreenOf(value)) +
           0.0722 * linear(BlueOf(value));
}

} // namespace

double ContrastRatio(TColor a, TColor b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace curvana
