#pragma once

#include "view/canvas.h"

#include <cstddef>
#include <string>
#include <vector>

namespace curvana {

enum class TCanvasOpKind {
    MoveTo,
    LineTo,
    Rectangle,
    Ellipse,
    Polygon,
    FillRect,
    TextOut,
    SetPixel
};

// One drawing operation as a TRecordingCanvas saw it, with the canvas state at that moment.
struct TCanvasOp {
    TCanvasOpKind Kind = TCanvasOpKind::MoveTo;
    // MoveTo: the target. LineTo: start, end. Rectangle, Ellipse, FillRect: top-left,
    // bottom-right. Polygon: its points. TextOut, SetPixel: the point.
    std::vector<TPoint> Points;
    std::string Text; // TextOut
    TColor Color = 0; // SetPixel
    TPen Pen;
    TBrush Brush;
    TFont Font;

    friend bool operator==(const TCanvasOp&, const TCanvasOp&) = default;
};

// A canvas that draws nothing and lists what it was asked to draw, for tests of every module
// that paints. Text is measured by a fixed rule so that layouts can be checked exactly:
//   TextWidth  = characters (UTF-8 code points) * (|Font.Height| / 2)
//   TextHeight = |Font.Height| + TextLeading
// (so the default 8-point font at 96 pixels per inch, height -11, measures 5 x 13 per character).
class TRecordingCanvas : public TCanvas {
public:
    static constexpr std::int32_t TextLeading = 2;

    std::vector<TCanvasOp> Ops;

    std::int32_t TextWidth(const std::string& text) override;
    std::int32_t TextHeight(const std::string& text) override;

    void Clear() { Ops.clear(); }
    // The operations of one kind, in order.
    std::vector<const TCanvasOp*> OfKind(TCanvasOpKind kind) const;
    std::size_t Count(TCanvasOpKind kind) const;

protected:
    void DoMoveTo(TPoint to) override;
    void DoLineTo(TPoint from, TPoint to) override;
    void DoRectangle(const TRect& rect) override;
    void DoEllipse(const TRect& rect) override;
    void DoPolygon(std::span<const TPoint> points) override;
    void DoFillRect(const TRect& rect) override;
    void DoTextOut(TPoint at, const std::string& text) override;
    void DoSetPixel(TPoint at, TColor color) override;

private:
    TCanvasOp& Record(TCanvasOpKind kind, std::vector<TPoint> points);
};

} // namespace curvana
