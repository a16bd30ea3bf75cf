#pragma once

#include "common/types.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace curvana {

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A small set of TFontStyle flags.
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
        for (TFontStyle style : styles)
            Include(style);
    }

    constexpr bool Contains(TFontStyle style) const { return (FBits & Bit(style)) != 0; }
    constexpr void Include(TFontStyle style) {
        FBits = static_cast<std::uint8_t>(FBits | Bit(style));
    }
    constexpr void Exclude(TFontStyle style) {
        FBits = static_cast<std::uint8_t>(FBits & ~Bit(style));
    }
    constexpr void Clear() { FBits = 0; }
    constexpr bool Empty() const { return FBits == 0; }

    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
    static constexpr std::uint8_t Bit(TFontStyle style) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(style));
    }
    std::uint8_t FBits = 0;
};

// Character set numbers of the platform (0 ANSI, 1 default, 2 symbol, 128, 134, ...).
using TFontCharset = std::uint8_t;

// Pitch codes.
constexpr TEnum8 fpDefault = 0;
constexpr TEnum8 fpVariable = 1;
constexpr TEnum8 fpFixed = 2;

// The resolution new fonts get: the screen's, set once by the application at start (96 until
// then, which is also what tests use).
std::int32_t ScreenPixelsPerInch();
void SetScreenPixelsPerInch(std::int32_t pixelsPerInch);

// Rounds numerator * multiplier / divisor to the nearest integer, halves away from zero, exactly
// (integer arithmetic) and saturated to the 32-bit range. A divisor of 0 gives 0.
std::int32_t MulDivRound(std::int32_t numerator, std::int32_t multiplier, std::int32_t divisor);

// A font description. Height is the stored size: negative values are the character height
// without internal leading, positive ones the cell height. The point size is derived:
//   SetSize(s):  Height = -MulDivRound(s, PixelsPerInch, 72)
//   Size():      -MulDivRound(Height, 72, PixelsPerInch)   (0 when PixelsPerInch is 0)
// Changing PixelsPerInch changes only the resolution, never Height.
//
// Copying (constructor and operator=) makes an exact twin, resolution included. Assign is the
// assignment of one font to another in the document's sense: the target keeps its own
// resolution and, when that differs from the source's, takes the source's point size.
class TFont {
public:
    TFontCharset Charset = 1;
    TColor Color = clWindowText;
    std::int32_t Height = 0;
    std::string Name = "MS Sans Serif";
    TEnum8 Pitch = fpDefault;
    std::int32_t PixelsPerInch = 96;
    TFontStyles Style;
    // Tenths of a degree, counter-clockwise; used for rotated titles.
    std::int32_t Escapement = 0;
    std::int32_t Orientation = 0;

    // "MS Sans Serif", 8 points at the screen resolution, window-text colour.
    TFont();

    std::int32_t Size() const;
    void SetSize(std::int32_t size);

    void Assign(const TFont& source);

    friend bool operator==(const TFont&, const TFont&) = default;
};

} // namespace curvana
