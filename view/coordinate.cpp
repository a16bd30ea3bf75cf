#include "view/coordinate.h"

#include "common/flags.h"
#include "view/graphcaption.h"
#include "view/segmentclip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace curvana {

namespace {

// Margins and the plot-area edges stay within this range, so sums of them cannot overflow even
// when a document asks for an absurd title font.
std::int32_t ClampPixels(std::int64_t value) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, -TCoordinate::PixelLimit, TCoordinate::PixelLimit));
}

// Pixels per world unit, in extended precision, stored as a double. A scale that is not a
// number (0/0, or bounds that are not numbers) becomes 0: the axis collapses onto its start edge.
// A finite width over a zero range gives an infinite scale, which the mapping saturates.
double Scale(std::int32_t pixels, double min, double max) {
    const long double scale = static_cast<long double>(pixels) /
                              (static_cast<long double>(max) - static_cast<long double>(min));
    return std::isnan(scale) ? 0.0 : static_cast<double>(scale);
}

// Offsets beyond the clamp of ExactPixel, which all give the same pixel.
constexpr long double BeyondClamp = 1e31L;

// The offset on an axis of no width: 0 at its start, beyond the clamp on either side, NaN for a
// value that is not a number. Settled in double: extended arithmetic takes a hundred times
// longer on infinities, and such an axis would slow every mapping of a picture by that.
[[gnu::noinline]] long double OffsetOnInfiniteScale(double value, double min, double scale) {
    // NaN when either is NaN or both are the same infinity.
    const double delta = value - min;
    if (std::isnan(delta))
        return std::numeric_limits<long double>::quiet_NaN();
    if (delta == 0)
        return 0;
    return (delta < 0) == (scale < 0) ? BeyondClamp : -BeyondClamp;
}

// Offset in pixels of a world value from the range start. An offset of zero, or a scale of zero,
// gives 0 even where the product would be 0 * infinity.
long double Offset(double value, double min, double scale) {
    if (std::isinf(scale)) [[unlikely]]
        return OffsetOnInfiniteScale(value, min, scale);
    const long double delta = static_cast<long double>(value) - static_cast<long double>(min);
    if (delta == 0 || scale == 0)
        return 0;
    return delta * static_cast<long double>(scale);
}

// A NaN coordinate goes to a fixed place far off the top left; infinities become large finite
// values so that clipping arithmetic stays finite.
long double ExactPixel(long double value) {
    if (std::isnan(value))
        return -TCoordinate::PixelLimit;
    return std::clamp(value, -1e30L, 1e30L);
}

// Truncation toward zero after saturation at +-PixelLimit. Casting a double beyond the int
// range would be undefined, so the clamp comes first.
std::int32_t TruncPixel(long double value) {
    const long double limit = TCoordinate::PixelLimit;
    return static_cast<std::int32_t>(std::clamp(value, -limit, limit));
}

template <class TExact> TPoint Saturate(const TExact& p) {
    return {TruncPixel(p.X), TruncPixel(p.Y)};
}

template <class TExact> bool WithinLimit(const TExact& p) {
    const long double limit = TCoordinate::PixelLimit;
    return std::fabs(p.X) <= limit && std::fabs(p.Y) <= limit;
}

template <class TExact> TExact Along(const TExact& a, const TExact& b, long double t) {
    return {a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)};
}

// Narrows [t0, t1] to the part of a..b inside the +-PixelLimit square; false when no part is
// inside.
template <class TExact>
bool ClipToLimit(const TExact& a, const TExact& b, long double& t0, long double& t1) {
    const long double limit = TCoordinate::PixelLimit;
    return ClipSegment(a, b, TClipBox{-limit, limit, -limit, limit}, t0, t1);
}

} // namespace

TCoordinate::TCoordinate() {
    for (TGraphStyle* grid :
         {&GridRadialGraphStyle, &GridAngularGraphStyle, &GridHorGraphStyle, &GridVerGraphStyle}) {
        grid->LineWidth = 1;
        grid->LineStyle = psDot;
        grid->LineColor = clGray;
    }
    // Circles of the radial grid must not be filled.
    GridRadialGraphStyle.BrushStyle = bsClear;
    GridRadialGraphStyle.BrushColor = clWhite;
}

TCanvas& TCoordinate::RequireCanvas() {
    if (!Canvas)
        throw std::logic_error("TCoordinate has no canvas to draw on");
    return *Canvas;
}

void TCoordinate::SaveCanvasState() {
    if (!Canvas)
        return;
    SavedPen = Canvas->Pen;
    SavedBrush = Canvas->Brush;
    SavedFont = Canvas->Font;
}

void TCoordinate::RestoreCanvasState() {
    if (!Canvas)
        return;
    Canvas->Pen = SavedPen;
    Canvas->Brush = SavedBrush;
    Canvas->Font = SavedFont;
}

std::int32_t TCoordinate::TitleMargin(TFlag enabled, const std::string& title, const TFont& font) {
    if (!IsOn(enabled) || title.empty())
        return 30;
    TCanvas& canvas = RequireCanvas();
    canvas.Font.Assign(font);
    return ClampPixels(static_cast<std::int64_t>(canvas.TextHeight(title)) + 30);
}

void TCoordinate::ComputeMargins() {
    SaveCanvasState();
    MarginTop = TitleMargin(TitleTopEnabled, TitleTop, TitleTopFont);
    MarginBottom = TitleMargin(TitleBottomEnabled, TitleBottom, TitleBottomFont);
    // The side titles are drawn turned by 90 degrees, so their text height is their width.
    MarginLeft = TitleMargin(TitleLeftEnabled, TitleLeft, TitleLeftFont);
    MarginRight = TitleMargin(TitleRightEnabled, TitleRight, TitleRightFont);

    if (GraphList && IsOn(LegendEnabled)) {
        for (int i = 0; i < GraphList->Count(); ++i) {
            if (static_cast<std::int64_t>(Height) - MarginBottom <= 150)
                break;
            if (TakesLegendLine(*GraphList, i))
                MarginBottom += 16;
        }
    }

    // Room for the x labels under the box, or for the y arrow pointing down.
    if (AxesStyle == asBoxed)
        MarginBottom += 25;
    else if (YAxesDirection == 0 && IsOn(YArrow.Enabled))
        MarginBottom += 25;
    RestoreCanvasState();

    if (IsOn(EqualScaleEnabled)) {
        const std::int64_t w = static_cast<std::int64_t>(Width) - MarginLeft - MarginRight;
        const std::int64_t h = static_cast<std::int64_t>(Height) - MarginTop - MarginBottom;
        const std::int64_t d = std::llabs(h - w) / 2;
        if (w < h) {
            MarginTop = ClampPixels(MarginTop + d);
            MarginBottom = ClampPixels(MarginBottom + d);
        } else {
            MarginLeft = ClampPixels(MarginLeft + d);
            MarginRight = ClampPixels(MarginRight + d);
        }
    }
}

TCoordinate::TMapping TCoordinate::CurrentMapping() const {
    TMapping m;
    m.Left = MarginLeft;
    m.Top = MarginTop;
    m.Right = ClampPixels(static_cast<std::int64_t>(Width) - MarginRight);
    m.Bottom = ClampPixels(static_cast<std::int64_t>(Height) - MarginBottom);
    m.Kx = Scale(m.Right - m.Left, XInterval.Min, XInterval.Max);
    m.Ky = Scale(m.Bottom - m.Top, YInterval.Min, YInterval.Max);
    return m;
}

long double TCoordinate::MapX(const TMapping& m, double X) const {
    const long double dx = Offset(X, XInterval.Min, m.Kx);
    return ExactPixel(XAxesDirection == 0 ? m.Left + dx : m.Right - dx);
}

long double TCoordinate::MapY(const TMapping& m, double Y) const {
    const long double dy = Offset(Y, YInterval.Min, m.Ky);
    return ExactPixel(YAxesDirection == 1 ? m.Bottom - dy : m.Top + dy);
}

TCoordinate::TExactPoint TCoordinate::Map(const TMapping& m, double X, double Y) const {
    return {MapX(m, X), MapY(m, Y)};
}

TCoordinate::TExactPoint TCoordinate::MapExact(double X, double Y) {
    if (MarginsFrozen()) {
        // What ComputeMargins leaves behind: the saved objects hold the current canvas state.
        SaveCanvasState();
        return Map(FFrozen, X, Y);
    }
    ComputeMargins();
    return Map(CurrentMapping(), X, Y);
}

TPoint TCoordinate::WorldToScreen(double X, double Y) {
    return Saturate(MapExact(X, Y));
}

TPoint TCoordinate::FrozenPixel(double X, double Y) const {
    return Saturate(Map(FFrozen, X, Y));
}

TPoint TCoordinate::TFrozenPixelCache::At(double X, double Y) {
    return {Columns.At(X, [this](double x) { return TruncPixel(View.MapX(View.FFrozen, x)); }),
            Rows.At(Y, [this](double y) { return TruncPixel(View.MapY(View.FFrozen, y)); })};
}

void TCoordinate::NotePen(const TExactPoint& exact, TPoint placed) {
    FPenKnown = true;
    FPenExact = exact;
    FPenPixel = placed;
}

void TCoordinate::MoveToWorld(double X, double Y) {
    TCanvas& canvas = RequireCanvas();
    const TExactPoint end = MapExact(X, Y);
    const TPoint p = Saturate(end);
    Work += MoveWork;
    canvas.MoveTo(p.X, p.Y);
    NotePen(end, p);
}

void TCoordinate::LineToWorld(double X, double Y) {
    TCanvas& canvas = RequireCanvas();
    const TExactPoint end = MapExact(X, Y);
    const TPoint endPixel = Saturate(end);
    const TPoint penPos = canvas.PenPos();
    AddLineWork(penPos, endPixel);
    // Start from the exact end of the last world move or line while the pen is still there.
    const TExactPoint start =
        FPenKnown && penPos == FPenPixel
            ? FPenExact
            : TExactPoint{static_cast<long double>(penPos.X), static_cast<long double>(penPos.Y)};
    if (WithinLimit(start) && WithinLimit(end)) {
        canvas.LineTo(endPixel.X, endPixel.Y);
    } else {
        long double t0 = 0;
        long double t1 = 1;
        if (ClipToLimit(start, end, t0, t1)) {
            if (t0 > 0) {
                const TPoint from = Saturate(Along(start, end, t0));
                canvas.MoveTo(from.X, from.Y);
            }
            const TPoint to = Saturate(Along(start, end, t1));
            canvas.LineTo(to.X, to.Y);
        }
        if (canvas.PenPos() != endPixel)
            canvas.MoveTo(endPixel.X, endPixel.Y);
    }
    NotePen(end, endPixel);
}

void TCoordinate::PlotWorldPixel(double X, double Y) {
    TCanvas& canvas = RequireCanvas();
    const TPoint p = WorldToScreen(X, Y);
    AddLineWork(p, p);
    canvas.SetPixel(p.X, p.Y, canvas.Pen.Color);
}

void TCoordinate::AddLineWork(TPoint from, TPoint to) {
    const std::int64_t dx = std::llabs(static_cast<std::int64_t>(to.X) - from.X);
    const std::int64_t dy = std::llabs(static_cast<std::int64_t>(to.Y) - from.Y);
    // A line is drawn only as far as it crosses the picture.
    const std::int64_t reach = std::max<std::int64_t>(std::int64_t{Width} + Height, 0);
    const auto length = static_cast<std::uint64_t>(std::min(std::max(dx, dy), reach));
    Work += length == 0 ? PointWork : LineWork + length * WorkPerPixel;
}

std::uint64_t TCoordinate::FillWork(std::uint64_t pixels, TEnum8 brushStyle) {
    return brushStyle == bsClear ? 0 : pixels / 4;
}

void TCoordinate::AddFillWork(const TRect& rect) {
    const auto side = [](std::int32_t from, std::int32_t to) {
        return static_cast<std::uint64_t>(std::llabs(std::int64_t{to} - from));
    };
    Work += RectangleWork + FillWork(side(rect.Left, rect.Right) * side(rect.Top, rect.Bottom),
                                     RequireCanvas().Brush.Style);
}

void TCoordinate::DrawWorldLine(double X1, double Y1, double X2, double Y2) {
    MoveToWorld(X1, Y1);
    LineToWorld(X2, Y2);
}

TCoordinate::TMarginFreeze::TMarginFreeze(TCoordinate& view) : FView(view) {
    if (FView.FFreezeCount == 0) {
        FView.ComputeMargins();
        FView.FFrozen = FView.CurrentMapping();
    }
    ++FView.FFreezeCount;
}

TCoordinate::TMarginFreeze::~TMarginFreeze() {
    --FView.FFreezeCount;
}

} // namespace curvana
