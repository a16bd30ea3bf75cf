#pragma once

#include "platform/clipping.h"
#include "view/canvas.h"

#include <QFont>
#include <QLineF>
#include <optional>
#include <vector>

class QBrush;
class QImage;
class QPainter;
class QRectF;

namespace curvana {

// A canvas that paints with a QPainter, on any paint device (an image, an SVG or PDF
// generator), with the meaning the view's drawing code expects of its canvas:
// - no antialiasing of lines and shapes; text keeps the font's own smoothing;
// - pen styles 0 solid, 1 dash (18 on, 6 off), 2 dot (3, 3), 3 dash-dot (9, 6, 3, 6),
//   4 dash-dot-dot (9, 3, 3, 3, 3, 3), 5 clear, 6 inside frame; other codes draw solid.
//   Dashed styles exist only for pens of width 0 or 1: wider pens draw them solid. The pattern
//   runs on from one LineTo to the next and starts afresh at MoveTo, so a curve made of many
//   short lines is dashed like one long line. Width 0 and
//   below draw one pixel wide; wider pens have round ends and joins;
// - while the brush is solid, the gaps of dashed lines and the box behind text are painted in
//   the brush colour; under any other brush they stay transparent, as does the ground of hatches;
// - brush styles 0 solid, 1 clear, 2 horizontal, 3 vertical, 4 forward diagonal (falling to the
//   right), 5 backward diagonal (rising to the right), 6 cross, 7 diagonal cross; other codes
//   fill nothing;
// - LineTo leaves out the end pixel (on images exactly, on vector devices by the line's end);
// Rectangle and FillRect leave out the right and bottom edge
//   (x1 <= x < x2); with a clear pen Rectangle and Ellipse fill one pixel less on the right and
//   bottom; an inside-frame pen keeps a wide outline inside the box; Polygon fills alternately
//   (even-odd) and outlines the closed figure;
// - TextOut puts the top-left corner of the text cell at the point, rotated by the font's
//   escapement (tenths of a degree, counter-clockwise);
// - colours with the top byte 255 are system colours (platform/qtcolor.h).
// Coordinates are picture pixels, with (0, 0) the top-left of a picture of the size given.
// On an image or pixmap whose device pixel ratio is above 1 these stay logical pixels: every
// length above is in logical pixels and the drawing lands on the device pixels beneath, so
// thin lines are about ratio pixels wide, hatches keep their 8-pixel period, text and slopes
// come out at the device's resolution.
// Anything that reaches beyond the picture is cut in floating point to a border a little
// outside it before it reaches the painter, so coordinates anywhere in the 32-bit range draw
// correctly.
class TPainterCanvas : public TCanvas {
public:
    // The painter must be active; it is not owned and must outlive the canvas's use.
    TPainterCanvas(QPainter& painter, std::int32_t width, std::int32_t height);

    std::int32_t TextWidth(const std::string& text) override;
    std::int32_t TextHeight(const std::string& text) override;

    std::int32_t PictureWidth() const { return FWidth; }
    std::int32_t PictureHeight() const { return FHeight; }
    // Device pixels per logical pixel of the image painted on (1 on other devices).
    double DevicePixelRatio() const { return FRatio; }

    // Thin lines, solid and hatched fills are written straight into the scan lines of a 32-bit
    // image painted on without transform or clip, the same pixels the painter would set, only
    // faster. False makes every operation go through the painter (to compare the two).
    bool DirectPixels = true;
    // Lines (curves, axes, grids) antialiased on images; shapes and fills stay aliased, so that
    // neighbouring cells of a region still meet without seams.
    bool Smooth = false;

protected:
    // For canvases that make their painter after construction; calls without an active painter
    // draw nothing.
    TPainterCanvas() = default;
    void Attach(QPainter* painter, std::int32_t width, std::int32_t height);

    // Wide aliased lines on images wait while pen and brush stay the same and go to the painter
    // together, each still a line of its own with its own ends: the same pixels, less work per
    // line. Only for canvases that draw them (FlushWideLines) before anyone reads the picture.
    bool FBatchWideLines = false;
    void FlushWideLines() const;

    void DoMoveTo(TPoint to) override;
    void DoLineTo(TPoint from, TPoint to) override;
    void DoRectangle(const TRect& rect) override;
    void DoEllipse(const TRect& rect) override;
    void DoPolygon(std::span<const TPoint> points) override;
    void DoFillRect(const TRect& rect) override;
    void DoTextOut(TPoint at, const std::string& text) override;
    void DoSetPixel(TPoint at, TColor color) override;

private:
    bool Ready() const;
    // Pen width in pixels as drawn (1 for widths of 0 and below, clamped above).
    int EffectiveWidth() const;
    bool PenVisible() const;
    // Puts the pen and brush on the painter (or none of either).
    void UsePen(double dashOffset = 0);
    void ApplyPen(const TPen& pen, const TBrush& brush, double dashOffset) const;
    void NoPen();
    void UseBrush();
    void NoBrush();
    // The brush of a style in a colour; hatches drawn at device resolution.
    QBrush MakeBrush(TColor color, TEnum8 style) const;
    // The first device pixel of a logical coordinate.
    std::int64_t Device(double logical) const;
    // How far painter strokes move (both ways, logical pixels) to be centred on the middle of
    // their logical pixels, as at ratio 1 (the painter centres them on the coordinate itself).
    double StrokeShift() const;
    // Runs a painter stroke moved so.
    template <typename TDraw> void Stroke(TDraw&& draw);
    // A filled and outlined shape: at ratio 1 in one painter call, else the fill unmoved and the
    // outline as a stroke.
    template <typename TDraw> void FillAndStroke(bool outline, TDraw&& draw);
    // The picture with a border wider than any pen, where cut shapes end unseen.
    TRectF ClipBounds() const;
    const QFont& CurrentFont();
    void DrawOutlinedPolygon(const std::vector<TPointF>& points, bool outline);

    // Thin lines on images are set pixel by pixel, so that the end pixel is left out whichever
    // way the line runs; vector devices get real lines.
    void DrawLinePixels(TPoint from, TPoint to, double phase);

    // The image the painter paints on when pixels may be written into it directly, else null.
    QImage* DirectImage() const;
    // Fills the box (left <= x < right, top <= y < bottom, already cut to the picture's border)
    // with the brush; straight into the image for a solid or hatched brush when it can.
    void FillBox(const QRectF& box);

    QPainter* FPainter = nullptr;
    // The waiting wide lines (in painter coordinates) and the pen and brush they were asked with.
    mutable std::vector<QLineF> FWideLines;
    TPen FWidePen;
    TBrush FWideBrush;
    bool FPixelLines = false;
    double FRatio = 1;
    // The painter's image when its kind allows direct writes (the painter's state is checked
    // at each use).
    QImage* FDirectImage = nullptr;
    // Pixels of the dash pattern used up since the last MoveTo, without the lengths of the wide
    // lines since, which are added up only when a line needs the phase.
    double FDashPhase = 0;
    std::vector<TPointF> FUncountedLengths;
    void CountDashLengths();
    std::int32_t FWidth = 0;
    std::int32_t FHeight = 0;
    std::optional<TFont> FFontKey;
    QFont FQFont;
};

} // namespace curvana
