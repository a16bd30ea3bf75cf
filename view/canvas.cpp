#include "view/canvas.h"

#include <limits>

namespace curvana {

void TCanvas::MoveTo(std::int32_t x, std::int32_t y) {
    DoMoveTo({x, y});
    FPenPos = {x, y};
}

void TCanvas::LineTo(std::int32_t x, std::int32_t y) {
    DoLineTo(FPenPos, {x, y});
    FPenPos = {x, y};
}

void TCanvas::Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    DoRectangle({x1, y1, x2, y2});
}

void TCanvas::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    DoEllipse({x1, y1, x2, y2});
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    DoPolygon(points);
}

void TCanvas::FillRect(const TRect& rect) {
    DoFillRect(rect);
}

void TCanvas::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    DoTextOut({x, y}, text);
    // Saturated so that text written near the end of the int range cannot overflow.
    const std::int64_t end = static_cast<std::int64_t>(x) + TextWidth(text);
    FPenPos = {end > std::numeric_limits<std::int32_t>::max()
                   ? std::numeric_limits<std::int32_t>::max()
                   : static_cast<std::int32_t>(end),
               y};
}

void TCanvas::SetPixel(std::int32_t x, std::int32_t y, TColor color) {
    DoSetPixel({x, y}, color);
}

} // namespace curvana
