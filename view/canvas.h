#pragma once

#include "common/types.h"
#include "view/brush.h"
#include "view/font.h"
#include "view/geometry.h"
#include "view/pen.h"

#include <span>
#include <string>

namespace curvana {

// The drawing surface the view paints on. It keeps the model of the platform's canvas: a pen,
// a brush and a font that every operation reads at the time it is called, and a current
// position that MoveTo, LineTo and TextOut update.
//
// Implementations override the Do... operations; the public ones keep the current position.
// - LineTo draws from the current position to the point (the end pixel excluded, as on the
//   platform) and moves there.
// - Rectangle, Ellipse and Polygon outline with the pen and fill with the brush; FillRect fills
//   with the brush only. None of them moves the current position.
// - TextOut writes with its top-left corner at the point, in the font's colour, on a box of the
//   brush colour only while the brush style is solid; afterwards the current position is at
//   (x + TextWidth(text), y).
// - SetPixel sets one pixel to the colour given.
class TCanvas {
public:
    TPen Pen;
    TBrush Brush;
    TFont Font;

    TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas() = default;

    TPoint PenPos() const { return FPenPos; }

    void MoveTo(std::int32_t x, std::int32_t y);
    void LineTo(std::int32_t x, std::int32_t y);
    void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    void Polygon(std::span<const TPoint> points);
    void FillRect(const TRect& rect);
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text);
    void SetPixel(std::int32_t x, std::int32_t y, TColor color);

    // Measured in the current font, along and across the text line.
    virtual std::int32_t TextWidth(const std::string& text) = 0;
    virtual std::int32_t TextHeight(const std::string& text) = 0;

protected:
    virtual void DoMoveTo(TPoint to) { (void)to; }
    virtual void DoLineTo(TPoint from, TPoint to) = 0;
    virtual void DoRectangle(const TRect& rect) = 0;
    virtual void DoEllipse(const TRect& rect) = 0;
    virtual void DoPolygon(std::span<const TPoint> points) = 0;
    virtual void DoFillRect(const TRect& rect) = 0;
    virtual void DoTextOut(TPoint at, const std::string& text) = 0;
    virtual void DoSetPixel(TPoint at, TColor color) = 0;

private:
    TPoint FPenPos;
};

} // namespace curvana
