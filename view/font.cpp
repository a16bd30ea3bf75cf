#include "view/font.h"

#include <atomic>
#include <cstdlib>
#include <limits>

namespace curvana {

namespace {
std::atomic<std::int32_t> GScreenPixelsPerInch{96};

std::int32_t NegateSaturated(std::int32_t value) {
    return value == std::numeric_limits<std::int32_t>::min()
               ? std::numeric_limits<std::int32_t>::max()
               : -value;
}
} // namespace

std::int32_t ScreenPixelsPerInch() {
    return GScreenPixelsPerInch.load();
}

void SetScreenPixelsPerInch(std::int32_t pixelsPerInch) {
    GScreenPixelsPerInch = pixelsPerInch;
}

std::int32_t MulDivRound(std::int32_t numerator, std::int32_t multiplier, std::int32_t divisor) {
    if (divisor == 0)
        return 0;
    const std::int64_t product = static_cast<std::int64_t>(numerator) * multiplier;
    std::int64_t quotient = product / divisor;
    const std::int64_t remainder = product % divisor;
    // Halves away from zero: |remainder| >= |divisor| / 2 moves one step away from zero.
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<std::int64_t>(divisor)))
        quotient += ((product < 0) != (divisor < 0)) ? -1 : 1;
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(quotient < lo ? lo : quotient > hi ? hi : quotient);
}

TFont::TFont() : PixelsPerInch(ScreenPixelsPerInch()) {
    SetSize(8);
}

std::int32_t TFont::Size() const {
    return NegateSaturated(MulDivRound(Height, 72, PixelsPerInch));
}

void TFont::SetSize(std::int32_t size) {
    Height = NegateSaturated(MulDivRound(size, PixelsPerInch, 72));
}

void TFont::Assign(const TFont& source) {
    if (&source == this)
        return;
    Charset = source.Charset;
    Color = source.Color;
    Name = source.Name;
    Pitch = source.Pitch;
    Style = source.Style;
    Escapement = source.Escapement;
    Orientation = source.Orientation;
    if (PixelsPerInch != source.PixelsPerInch)
        SetSize(source.Size());
    else
        Height = source.Height;
}

} // namespace curvana
