#include "view/recordingcanvas.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace curvana {

namespace {

std::int64_t AbsHeight(const TFont& font) {
    return std::llabs(static_cast<std::int64_t>(font.Height));
}

std::int32_t Saturate(std::int64_t value) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

std::int64_t CodePoints(const std::string& text) {
    // Every byte that is not a UTF-8 continuation byte starts a character.
    return std::count_if(text.begin(), text.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

} // namespace

std::int32_t TRecordingCanvas::TextWidth(const std::string& text) {
    return Saturate(CodePoints(text) * (AbsHeight(Font) / 2));
}

std::int32_t TRecordingCanvas::TextHeight(const std::string&) {
    return Saturate(AbsHeight(Font) + TextLeading);
}

std::vector<const TCanvasOp*> TRecordingCanvas::OfKind(TCanvasOpKind kind) const {
    std::vector<const TCanvasOp*> result;
    for (const TCanvasOp& op : Ops)
        if (op.Kind == kind)
            result.push_back(&op);
    return result;
}

std::size_t TRecordingCanvas::Count(TCanvasOpKind kind) const {
    return static_cast<std::size_t>(std::count_if(
        Ops.begin(), Ops.end(), [kind](const TCanvasOp& op) { return op.Kind == kind; }));
}

TCanvasOp& TRecordingCanvas::Record(TCanvasOpKind kind, std::vector<TPoint> points) {
    TCanvasOp& op = Ops.emplace_back();
    op.Kind = kind;
    op.Points = std::move(points);
    op.Pen = Pen;
    op.Brush = Brush;
    op.Font = Font;
    return op;
}

void TRecordingCanvas::DoMoveTo(TPoint to) {
    Record(TCanvasOpKind::MoveTo, {to});
}

void TRecordingCanvas::DoLineTo(TPoint from, TPoint to) {
    Record(TCanvasOpKind::LineTo, {from, to});
}

void TRecordingCanvas::DoRectangle(const TRect& r) {
    Record(TCanvasOpKind::Rectangle, {{r.Left, r.Top}, {r.Right, r.Bottom}});
}

void TRecordingCanvas::DoEllipse(const TRect& r) {
    Record(TCanvasOpKind::Ellipse, {{r.Left, r.Top}, {r.Right, r.Bottom}});
}

void TRecordingCanvas::DoPolygon(std::span<const TPoint> points) {
    Record(TCanvasOpKind::Polygon, {points.begin(), points.end()});
}

void TRecordingCanvas::DoFillRect(const TRect& r) {
    Record(TCanvasOpKind::FillRect, {{r.Left, r.Top}, {r.Right, r.Bottom}});
}

void TRecordingCanvas::DoTextOut(TPoint at, const std::string& text) {
    Record(TCanvasOpKind::TextOut, {at}).Text = text;
}

void TRecordingCanvas::DoSetPixel(TPoint at, TColor color) {
    Record(TCanvasOpKind::SetPixel, {at}).Color = color;
}

} // namespace curvana
