#pragma once

#include <cstdint>

namespace curvana {

// Flags and enumerations as read from documents: 8-bit values, never bool, because a flag
// written as 2 must stay 2 as written (flags.h says what counts as on).
using TFlag = std::uint8_t;
using TEnum8 = std::uint8_t;

// 0x00BBGGRR, low byte red. A value whose top byte is 255 names a system colour.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;

constexpr TColor SystemColor(int index) {
    return static_cast<TColor>(0xFF000000u | (static_cast<std::uint32_t>(index) & 0xFFu));
}
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);

constexpr bool IsSystemColor(TColor color) {
    return (static_cast<std::uint32_t>(color) >> 24) == 0xFFu;
}
constexpr int SystemColorIndex(TColor color) {
    return static_cast<int>(color & 0xFF);
}

constexpr int RedOf(TColor c) {
    return c & 0xFF;
}
constexpr int GreenOf(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(TColor c) {
    return (c >> 16) & 0xFF;
}
constexpr TColor RGBColor(int r, int g, int b) {
    return (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16;
}

} // namespace curvana
