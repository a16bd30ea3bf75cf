#pragma once

#include "view/canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace curvana {

// A canvas that only counts its drawing calls, for measuring and fuzzing the view's own work.
// It measures text like the recording canvas (half the font height a character), in 64 bits and
// clamped, because a font height from a document can be any 32-bit value.
class TCountingCanvas : public TCanvas {
public:
    std::uint64_t Operations = 0;

    std::int32_t TextWidth(const std::string& text) override {
        return Clamp(static_cast<std::int64_t>(text.size()) * (FontHeight() / 2));
    }
    std::int32_t TextHeight(const std::string&) override { return Clamp(FontHeight() + 2); }

protected:
    void DoMoveTo(TPoint) override { ++Operations; }
    void DoLineTo(TPoint, TPoint) override { ++Operations; }
    void DoRectangle(const TRect&) override { ++Operations; }
    void DoEllipse(const TRect&) override { ++Operations; }
    void DoPolygon(std::span<const TPoint>) override { ++Operations; }
    void DoFillRect(const TRect&) override { ++Operations; }
    void DoTextOut(TPoint, const std::string&) override { ++Operations; }
    void DoSetPixel(TPoint, TColor) override { ++Operations; }

private:
    std::int64_t FontHeight() const { return std::abs(static_cast<std::int64_t>(Font.Height)); }
    static std::int32_t Clamp(std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, INT32_MAX));
    }
};

} // namespace curvana
