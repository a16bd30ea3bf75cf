#include "platform/paintercanvas.h"

#include "platform/linepixels.h"
#include "platform/qtcolor.h"
#include "platform/qtfont.h"
#include "platform/vectorstate.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <numeric>

namespace curvana {

namespace {
// Wider pens are drawn at this width: enough to cover any picture, small enough for the painter.
constexpr int MaxPenWidth = 10000;
// Ellipses whose box lies within this distance of the origin go to the painter as they are;
// larger ones are cut as polygons first. The painter's own ellipses lose their edge beyond
// radii of about 1e5 (the extreme points drift off by whole pixels).
constexpr double DirectEllipseLimit = 16384;

// Wide lines waiting for the painter at most; any number draws the same.
constexpr std::size_t MaxWideLines = 4096;

// Every dash pattern is 6 or 24 pixels long, so the running phase can be kept below this.
constexpr double DashCycle = 24;

QVector<qreal> DashPattern(TEnum8 style) {
    switch (style) {
    case psDash:
        return {18, 6};
    case psDot:
        return {3, 3};
    case psDashDot:
        return {9, 6, 3, 6};
    case psDashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

Qt::BrushStyle QtBrushStyle(TEnum8 style) {
    switch (style) {
    case bsSolid:
        return Qt::SolidPattern;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    // Qt's forward diagonal falls to the right like the platform's; checked by pixels in tests.
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::NoBrush;
    }
}

TRect Normalized(const TRect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

double Clamp(double value, double low, double high) {
    return std::min(std::max(value, low), high);
}

QRectF ClampedBox(double left, double top, double right, double bottom, const TRectF& bounds) {
    left = Clamp(left, bounds.Left, bounds.Right);
    right = Clamp(right, bounds.Left, bounds.Right);
    top = Clamp(top, bounds.Top, bounds.Bottom);
    bottom = Clamp(bottom, bounds.Top, bounds.Bottom);
    return QRectF(left, top, right - left, bottom - top);
}

QPolygonF ToQPolygon(const std::vector<TPointF>& points) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const TPointF& p : points)
        polygon.append(QPointF(p.X, p.Y));
    return polygon;
}
} // namespace

TPainterCanvas::TPainterCanvas(QPainter& painter, std::int32_t width, std::int32_t height) {
    Attach(&painter, width, height);
}

void TPainterCanvas::Attach(QPainter* painter, std::int32_t width, std::int32_t height) {
    FPainter = painter;
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    FPixelLines = false;
    FRatio = 1;
    FDirectImage = nullptr;
    if (Ready()) {
        const int type = FPainter->device()->devType();
        FPixelLines = type == QInternal::Image || type == QInternal::Pixmap;
        if (FPixelLines)
            FRatio = std::max(1.0, FPainter->device()->devicePixelRatio());
        if (type == QInternal::Image) {
            auto* image = static_cast<QImage*>(FPainter->device());
            const QImage::Format format = image->format();
            if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                format == QImage::Format_ARGB32_Premultiplied)
                FDirectImage = image;
        }
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        FPainter->setRenderHint(QPainter::TextAntialiasing, true);
        FPainter->setBrushOrigin(0, 0);
    }
}

bool TPainterCanvas::Ready() const {
    return FPainter != nullptr && FPainter->isActive();
}

namespace {
int PenWidth(const TPen& pen) {
    return std::clamp(pen.Width, 1, MaxPenWidth);
}
} // namespace

int TPainterCanvas::EffectiveWidth() const {
    return PenWidth(Pen);
}

bool TPainterCanvas::PenVisible() const {
    return Pen.Style != psClear;
}

TRectF TPainterCanvas::ClipBounds() const {
    const double margin = 2.0 * EffectiveWidth() + 16;
    return {-margin, -margin, FWidth + margin, FHeight + margin};
}

void TPainterCanvas::UsePen(double dashOffset) {
    ApplyPen(Pen, Brush, dashOffset);
}

void TPainterCanvas::ApplyPen(const TPen& canvasPen, const TBrush& brush, double dashOffset) const {
    if (canvasPen.Style == psClear) {
        FPainter->setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(canvasPen.Color));
    const int width = PenWidth(canvasPen);
    if (width <= 1) {
        pen.setWidth(1);
        // The flat end leaves out the last pixel of a line.
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        const QVector<qreal> pattern = DashPattern(canvasPen.Style);
        if (!pattern.isEmpty()) {
            pen.setDashPattern(pattern);
            const double length = std::accumulate(pattern.begin(), pattern.end(), 0.0);
            pen.setDashOffset(std::fmod(dashOffset, length));
        }
    } else {
        pen.setWidth(width);
        // A few device pixels wide, a round end looks like a square one but costs the painter
        // curves at every segment of a curve.
        const bool narrow = FRatio != 1 && width * FRatio <= 6;
        pen.setCapStyle(narrow ? Qt::SquareCap : Qt::RoundCap);
        pen.setJoinStyle(narrow ? Qt::BevelJoin : Qt::RoundJoin);
    }
    FPainter->setPen(pen);
    if (brush.Style == bsSolid) {
        FPainter->setBackgroundMode(Qt::OpaqueMode);
        FPainter->setBackground(QBrush(ToQColor(brush.Color)));
    } else {
        FPainter->setBackgroundMode(Qt::TransparentMode);
    }
}

void TPainterCanvas::NoPen() {
    FPainter->setPen(Qt::NoPen);
}

std::int64_t TPainterCanvas::Device(double logical) const {
    return FRatio == 1 ? static_cast<std::int64_t>(logical)
                       : static_cast<std::int64_t>(std::floor(logical * FRatio + 0.5));
}

double TPainterCanvas::StrokeShift() const {
    return FRatio == 1 ? 0 : 0.5 - 0.5 / FRatio;
}

template <typename TDraw> void TPainterCanvas::Stroke(TDraw&& draw) {
    if (FRatio == 1) {
        draw();
        return;
    }
    const QTransform saved = FPainter->worldTransform();
    const double shift = StrokeShift();
    FPainter->setWorldTransform(QTransform::fromTranslate(shift, shift) * saved);
    draw();
    FPainter->setWorldTransform(saved);
}

template <typename TDraw> void TPainterCanvas::FillAndStroke(bool outline, TDraw&& draw) {
    if (outline)
        UsePen();
    else
        NoPen();
    UseBrush();
    if (FRatio == 1 || !outline) {
        draw();
        return;
    }
    NoPen();
    draw();
    UsePen();
    NoBrush();
    Stroke(draw);
}

void TPainterCanvas::UseBrush() {
    FPainter->setBrush(MakeBrush(Brush.Color, Brush.Style));
    // Hatches keep their ground; a solid brush has none.
    FPainter->setBackgroundMode(Brush.Style == bsSolid ? Qt::OpaqueMode : Qt::TransparentMode);
    if (Brush.Style == bsSolid)
        FPainter->setBackground(QBrush(ToQColor(Brush.Color)));
}

void TPainterCanvas::NoBrush() {
    FPainter->setBrush(Qt::NoBrush);
}

void TPainterCanvas::DoMoveTo(TPoint to) {
    (void)to;
    FDashPhase = 0;
    FUncountedLengths.clear();
}

void TPainterCanvas::DoLineTo(TPoint from, TPoint to) {
    if (!Ready() || !PenVisible() || from == to)
        return;
    const double dx = static_cast<double>(to.X) - from.X;
    const double dy = static_cast<double>(to.Y) - from.Y;
    const bool batched = FBatchWideLines && !Smooth && EffectiveWidth() > 1;
    if (!batched || !(FWidePen == Pen && FWideBrush == Brush))
        FlushWideLines();
    // A wide pen draws solid: its length counts only towards the dashes of a thin line that
    // follows without a MoveTo, and is added up if one does.
    if (!FUncountedLengths.empty() && (!batched || FUncountedLengths.size() >= MaxWideLines))
        CountDashLengths();
    if (batched)
        FUncountedLengths.push_back({dx, dy});
    // Unused by batched lines.
    const double phase = FDashPhase;
    if (FPixelLines && EffectiveWidth() <= 1 && !Smooth) {
        // A thin line on an image is one pixel per step along its longer axis.
        FDashPhase = std::fmod(phase + std::max(std::abs(dx), std::abs(dy)), DashCycle);
        DrawLinePixels(from, to, phase);
        return;
    }
    const TUpperVectorStateGuard clean;
    if (!batched)
        FDashPhase = std::fmod(phase + std::hypot(dx, dy), DashCycle);
    const std::optional<TSegmentF> segment =
        ClipSegment({static_cast<double>(from.X), static_cast<double>(from.Y)},
                    {static_cast<double>(to.X), static_cast<double>(to.Y)}, ClipBounds());
    if (!segment)
        return;
    if (Smooth && FPixelLines) {
        // The dashes continue where they would have been had the cut-off part been drawn.
        UsePen(phase + segment->StartOffset);
        // Antialiased from the middle of a pixel to the middle of another, at any ratio.
        FPainter->setRenderHint(QPainter::Antialiasing, true);
        FPainter->drawLine(QLineF(segment->From.X + 0.5, segment->From.Y + 0.5, segment->To.X + 0.5,
                                  segment->To.Y + 0.5));
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        return;
    }
    // Moved like Stroke does, by hand: a transform per segment costs more than the line.
    const double shift = StrokeShift();
    const QLineF line(segment->From.X + shift, segment->From.Y + shift, segment->To.X + shift,
                      segment->To.Y + shift);
    if (!batched) {
        // The dashes continue where they would have been had the cut-off part been drawn.
        UsePen(phase + segment->StartOffset);
        FPainter->drawLine(line);
        return;
    }
    FWidePen = Pen;
    FWideBrush = Brush;
    FWideLines.push_back(line);
    if (FWideLines.size() >= MaxWideLines)
        FlushWideLines();
}

void TPainterCanvas::CountDashLengths() {
    // In drawing order, as if each had been added when drawn.
    for (const TPointF& d : FUncountedLengths)
        FDashPhase = std::fmod(FDashPhase + std::hypot(d.X, d.Y), DashCycle);
    FUncountedLengths.clear();
}

void TPainterCanvas::FlushWideLines() const {
    if (FWideLines.empty())
        return;
    if (Ready()) {
        const TUpperVectorStateGuard clean;
        // Wide pens draw solid: no dash offset.
        ApplyPen(FWidePen, FWideBrush, 0);
        FPainter->drawLines(FWideLines.data(), static_cast<int>(FWideLines.size()));
    }
    FWideLines.clear();
}

QImage* TPainterCanvas::DirectImage() const {
    if (FDirectImage == nullptr || !DirectPixels || !FPainter->isActive())
        return nullptr;
    // A shared image would be copied by bits(), away from the painter; a painted image is never
    // shared (Qt copies it for anyone who asks), so this only guards the assumption.
    if (!FDirectImage->isDetached())
        return nullptr;
    if (FPainter->hasClipping() ||
        FPainter->deviceTransform() != QTransform::fromScale(FRatio, FRatio) ||
        FPainter->compositionMode() != QPainter::CompositionMode_SourceOver ||
        FPainter->opacity() != 1.0)
        return nullptr;
    return FDirectImage;
}

namespace {
// The value an opaque colour has in a 32-bit image (the same in all three formats taken), or
// nothing for a colour that would blend.
std::optional<std::uint32_t> OpaquePixel(const QColor& color) {
    if (color.alpha() != 255)
        return std::nullopt;
    return static_cast<std::uint32_t>(color.rgba());
}

// Dash membership of each position of a pen style's pattern (bit i: position i is in a dash,
// the first segment being one) and the pattern's length, 0 for solid lines.
struct TDashMask {
    std::uint32_t Bits = 0;
    std::int64_t Length = 0;
};

TDashMask DashMaskOf(TEnum8 style) {
    static const std::array<TDashMask, 5> masks = [] {
        std::array<TDashMask, 5> result{};
        for (TEnum8 s = 0; s < result.size(); ++s) {
            const QVector<qreal> pattern = DashPattern(s);
            for (qsizetype i = 0; i < pattern.size(); ++i)
                for (int k = 0; k < static_cast<int>(pattern[i]); ++k, ++result[s].Length)
                    if (i % 2 == 0)
                        result[s].Bits |= std::uint32_t{1} << result[s].Length;
        }
        return result;
    }();
    return style < masks.size() ? masks[style] : TDashMask{};
}

// The painter's hatches repeat every 8 pixels both ways, anchored at the brush origin (0, 0).
constexpr int HatchPeriod = 8;
using THatchRows = std::array<std::uint8_t, HatchPeriod>;

// Which pixels of one period a hatch covers (bit x of row y), read from the painter itself so
// that direct fills set exactly its pixels. Empty for styles that are not hatches.
const THatchRows& HatchRowsOf(TEnum8 style) {
    static const std::array<THatchRows, bsDiagCross + 1> rows = [] {
        std::array<THatchRows, bsDiagCross + 1> result{};
        for (TEnum8 s = bsHorizontal; s <= bsDiagCross; ++s) {
            QImage tile(HatchPeriod, HatchPeriod, QImage::Format_ARGB32_Premultiplied);
            tile.fill(Qt::transparent);
            QPainter painter(&tile);
            painter.fillRect(QRect(0, 0, HatchPeriod, HatchPeriod),
                             QBrush(Qt::black, QtBrushStyle(s)));
            painter.end();
            for (int y = 0; y < HatchPeriod; ++y)
                for (int x = 0; x < HatchPeriod; ++x)
                    if (qAlpha(tile.pixel(x, y)) != 0)
                        result[s][y] |= static_cast<std::uint8_t>(1u << x);
        }
        return result;
    }();
    static const THatchRows none{};
    return style >= bsHorizontal && style <= bsDiagCross ? rows[style] : none;
}

bool IsHatch(TEnum8 style) {
    return style >= bsHorizontal && style <= bsDiagCross;
}

// A hatch at a device pixel ratio: one period of Period x Period device pixels, bit x of
// Rows[y] set where it covers. The period stays 8 logical pixels; the hatch's lines (rows,
// columns, diagonals of the painter's own pattern) become lines about ratio pixels wide at
// the device's resolution rather than blocks.
struct TDeviceHatch {
    int Period = HatchPeriod;
    std::vector<std::uint64_t> Rows;
};

constexpr int MaxDeviceHatchPeriod = 64;

TDeviceHatch MakeDeviceHatch(TEnum8 style, int period) {
    const THatchRows& logical = HatchRowsOf(style);
    TDeviceHatch hatch;
    hatch.Period = period;
    if (period == HatchPeriod) {
        hatch.Rows.assign(logical.begin(), logical.end());
        return hatch;
    }
    const auto covers = [&](int x, int y) {
        return ((logical[static_cast<std::size_t>(y & 7)] >> (x & 7)) & 1) != 0;
    };
    // The lines the logical pattern is made of.
    std::uint8_t rows = 0;
    std::uint8_t columns = 0;
    std::uint8_t falling = 0; // x - y = c
    std::uint8_t rising = 0;  // x + y = c
    for (int c = 0; c < HatchPeriod; ++c) {
        bool row = true;
        bool column = true;
        bool fall = true;
        bool rise = true;
        for (int k = 0; k < HatchPeriod; ++k) {
            row = row && covers(k, c);
            column = column && covers(c, k);
            fall = fall && covers(k + c, k);
            rise = rise && covers(c + HatchPeriod - k, k);
        }
        rows |= static_cast<std::uint8_t>(row ? 1u << c : 0u);
        columns |= static_cast<std::uint8_t>(column ? 1u << c : 0u);
        falling |= static_cast<std::uint8_t>(fall ? 1u << c : 0u);
        rising |= static_cast<std::uint8_t>(rise ? 1u << c : 0u);
    }
    // The logical index (0..7) of a device position within one period.
    // Line c of a family starts at the first device pixel of logical position c and is as
    // thick as a thin line drawn at this scale.
    const double scale = static_cast<double>(period) / HatchPeriod;
    const int thickness = std::max(1, static_cast<int>(std::lround(scale)));
    const auto in = [&](std::uint8_t set, int v) {
        for (int c = 0; c < HatchPeriod; ++c) {
            if (((set >> c) & 1) == 0)
                continue;
            const int start = static_cast<int>(std::floor(c * scale + 0.5));
            if (((v - start) % period + period) % period < thickness)
                return true;
        }
        return false;
    };
    hatch.Rows.assign(static_cast<std::size_t>(period), 0);
    for (int y = 0; y < period; ++y)
        for (int x = 0; x < period; ++x)
            if (in(rows, y) || in(columns, x) || in(falling, x - y) || in(rising, x + y))
                hatch.Rows[static_cast<std::size_t>(y)] |= std::uint64_t{1} << x;
    return hatch;
}

// Made once per style and period; fills ask for it per box.
const TDeviceHatch& DeviceHatchOf(TEnum8 style, double ratio) {
    const auto period = static_cast<int>(std::clamp(std::lround(HatchPeriod * ratio),
                                                    long{HatchPeriod}, long{MaxDeviceHatchPeriod}));
    static std::mutex lock;
    static std::map<std::pair<int, int>, TDeviceHatch> made;
    const std::lock_guard<std::mutex> guard(lock);
    auto [at, added] = made.try_emplace({style, period});
    if (added)
        at->second = MakeDeviceHatch(style, period);
    return at->second;
}
} // namespace

QBrush TPainterCanvas::MakeBrush(TColor color, TEnum8 style) const {
    const QColor qcolor = ToQColor(color);
    if (FRatio == 1 || !IsHatch(style))
        return QBrush(qcolor, QtBrushStyle(style));
    // The painter's own hatches ignore the ratio (they would come out at half the period): a
    // texture of device pixels instead.
    const TDeviceHatch& hatch = DeviceHatchOf(style, FRatio);
    QImage tile(hatch.Period, hatch.Period, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    for (int y = 0; y < hatch.Period; ++y)
        for (int x = 0; x < hatch.Period; ++x)
            if ((hatch.Rows[static_cast<std::size_t>(y)] >> x) & 1)
                tile.setPixelColor(x, y, qcolor);
    QBrush brush(tile);
    brush.setTransform(QTransform::fromScale(1 / FRatio, 1 / FRatio));
    return brush;
}

void TPainterCanvas::DrawLinePixels(TPoint from, TPoint to, double phase) {
    const TDashMask mask = DashMaskOf(Pen.Style);
    const auto start = static_cast<std::int64_t>(phase);
    const bool gapsShow = Brush.Style == bsSolid && mask.Length > 0;
    // Dashes count logical pixels along the line.
    const auto inDash = [&](std::int64_t step) {
        const std::int64_t logical =
            FRatio == 1 ? step : static_cast<std::int64_t>(static_cast<double>(step) / FRatio);
        return mask.Length == 0 || ((mask.Bits >> ((logical + start) % mask.Length)) & 1) != 0;
    };

    // The line in device pixels: from the first device pixel of its first logical pixel to
    // that of its (left out) end pixel, the first and last being those it meets first when it
    // runs backwards; each step a run of about ratio pixels across.
    const bool xMajor = std::llabs(static_cast<std::int64_t>(to.X) - from.X) >=
                        std::llabs(static_cast<std::int64_t>(to.Y) - from.Y);
    const bool backX = xMajor && to.X < from.X;
    const bool backY = !xMajor && to.Y < from.Y;
    const auto anchor = [this](std::int32_t p, bool backwards) {
        return backwards ? Device(static_cast<double>(p) + 1) - 1 : Device(p);
    };
    const TLineEnd first{anchor(from.X, backX), anchor(from.Y, backY)};
    const TLineEnd last{anchor(to.X, backX), anchor(to.Y, backY)};
    const auto thickness = static_cast<std::int32_t>(std::max(1L, std::lround(FRatio)));
    const auto deviceWidth =
        static_cast<std::int32_t>(std::min<std::int64_t>(Device(FWidth), INT32_MAX));
    const auto deviceHeight =
        static_cast<std::int32_t>(std::min<std::int64_t>(Device(FHeight), INT32_MAX));

    const QColor ink = ToQColor(Pen.Color);
    const QColor ground = gapsShow ? ToQColor(Brush.Color) : QColor();
    const std::optional<std::uint32_t> inkPixel = OpaquePixel(ink);
    const std::optional<std::uint32_t> groundPixel = OpaquePixel(ground);
    QImage* image = inkPixel && (!gapsShow || groundPixel) ? DirectImage() : nullptr;
    if (image != nullptr) {
        const std::int32_t width = std::min(deviceWidth, image->width());
        const std::int32_t height = std::min(deviceHeight, image->height());
        uchar* const bits = image->bits();
        const qsizetype stride = image->bytesPerLine();
        const auto put = [&](std::int32_t x, std::int32_t y, std::uint32_t value) {
            reinterpret_cast<std::uint32_t*>(bits + y * stride)[x] = value;
        };
        if (mask.Length == 0) {
            ForEachLinePixel(
                first, last, width, height,
                [&](std::int32_t x, std::int32_t y, std::int64_t) { put(x, y, *inkPixel); },
                thickness);
        } else {
            ForEachLinePixel(
                first, last, width, height,
                [&](std::int32_t x, std::int32_t y, std::int64_t step) {
                    if (inDash(step))
                        put(x, y, *inkPixel);
                    else if (gapsShow)
                        put(x, y, *groundPixel);
                },
                thickness);
        }
        return;
    }

    const TUpperVectorStateGuard clean;
    QVector<QPoint> dashes;
    QVector<QPoint> gaps;
    ForEachLinePixel(
        first, last, deviceWidth, deviceHeight,
        [&](std::int32_t x, std::int32_t y, std::int64_t step) {
            (inDash(step) ? dashes : gaps).append(QPoint(x, y));
        },
        thickness);
    if (dashes.isEmpty() && gaps.isEmpty())
        return;
    // The points are device pixels: undo the ratio's scaling for them.
    const QTransform saved = FPainter->worldTransform();
    if (FRatio != 1)
        FPainter->setWorldTransform(QTransform::fromScale(1 / FRatio, 1 / FRatio) * saved);
    QPen pen(ink, 1);
    pen.setCapStyle(Qt::SquareCap);
    pen.setCosmetic(true);
    FPainter->setPen(pen);
    FPainter->drawPoints(dashes.constData(), static_cast<int>(dashes.size()));
    if (!gaps.isEmpty() && gapsShow) {
        pen.setColor(ground);
        FPainter->setPen(pen);
        FPainter->drawPoints(gaps.constData(), static_cast<int>(gaps.size()));
    }
    FPainter->setWorldTransform(saved);
}

void TPainterCanvas::FillBox(const QRectF& box) {
    const bool hatch = IsHatch(Brush.Style);
    QImage* image = Brush.Style == bsSolid || hatch ? DirectImage() : nullptr;
    const std::optional<std::uint32_t> pixel =
        image != nullptr ? OpaquePixel(ToQColor(Brush.Color)) : std::nullopt;
    // The box's corners are whole numbers whenever the shape's were: only then are the pixels
    // covered exactly those with left <= x < right.
    const bool whole = box.left() == std::floor(box.left()) && box.top() == std::floor(box.top()) &&
                       box.right() == std::floor(box.right()) &&
                       box.bottom() == std::floor(box.bottom());
    if (!pixel || !whole) {
        const TUpperVectorStateGuard clean;
        if (whole && FPixelLines && FRatio != 1) {
            // Device pixels as the direct fill sets them: the painter's own rounding of
            // fractional edges differs between brushes.
            const QTransform saved = FPainter->worldTransform();
            FPainter->setWorldTransform(QTransform::fromScale(1 / FRatio, 1 / FRatio) * saved);
            QBrush brush = MakeBrush(Brush.Color, Brush.Style);
            brush.setTransform(QTransform());
            const std::int64_t left = Device(box.left());
            const std::int64_t top = Device(box.top());
            FPainter->fillRect(QRect(static_cast<int>(left), static_cast<int>(top),
                                     static_cast<int>(Device(box.right()) - left),
                                     static_cast<int>(Device(box.bottom()) - top)),
                               brush);
            FPainter->setWorldTransform(saved);
            return;
        }
        if (whole && hatch && DirectImage() != nullptr) {
            // A whole-pixel box of a hatch is filled as such, not through the painter's path
            // filler: the same pixels, the pattern anchored at the same origin, far faster.
            FPainter->fillRect(QRect(static_cast<int>(box.left()), static_cast<int>(box.top()),
                                     static_cast<int>(box.width()), static_cast<int>(box.height())),
                               MakeBrush(Brush.Color, Brush.Style));
            return;
        }
        NoPen();
        UseBrush();
        FPainter->drawRect(box);
        return;
    }
    // Device pixels; like the painter, only the image's own edge cuts (the box may reach into
    // the border).
    const std::int64_t left = std::max<std::int64_t>(Device(box.left()), 0);
    const std::int64_t top = std::max<std::int64_t>(Device(box.top()), 0);
    const std::int64_t right = std::min<std::int64_t>(Device(box.right()), image->width());
    const std::int64_t bottom = std::min<std::int64_t>(Device(box.bottom()), image->height());
    if (right <= left || bottom <= top)
        return;
    uchar* const bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    const std::uint32_t value = *pixel;
    if (!hatch) {
        // A colour whose four bytes are alike (white, the usual background) is set with memset,
        // which fills large areas faster; a whole picture in one call.
        const auto byte = static_cast<unsigned char>(value & 0xFF);
        const bool bytesAlike = byte * 0x01010101u == value;
        const auto rowBytes = static_cast<std::size_t>(right - left) * sizeof(std::uint32_t);
        if (bytesAlike && left == 0 && static_cast<qsizetype>(rowBytes) == stride) {
            std::memset(bits + top * stride, byte,
                        static_cast<std::size_t>(bottom - top) * rowBytes);
            return;
        }
        for (std::int64_t y = top; y < bottom; ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(bits + y * stride);
            if (bytesAlike)
                std::memset(line + left, byte, rowBytes);
            else
                std::fill(line + left, line + right, value);
        }
        return;
    }
    const TDeviceHatch& pattern = DeviceHatchOf(Brush.Style, FRatio);
    const std::int64_t period = pattern.Period;
    for (std::int64_t y = top; y < bottom; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(bits + y * stride);
        // Hatch lines are sparse: visit only the covered pixels of each period.
        const std::uint64_t row = pattern.Rows[static_cast<std::size_t>(y % period)];
        if (row == 0)
            continue;
        for (std::int64_t start = left - left % period; start < right; start += period)
            for (std::uint64_t rest = row; rest != 0; rest &= rest - 1) {
                const std::int64_t x = start + std::countr_zero(rest);
                if (x >= left && x < right)
                    line[x] = value;
            }
    }
}

void TPainterCanvas::DoRectangle(const TRect& rect) {
    FlushWideLines();
    if (!Ready())
        return;
    const TRect r = Normalized(rect);
    const TRectF bounds = ClipBounds();
    const double left = r.Left;
    const double top = r.Top;
    const double right = r.Right;
    const double bottom = r.Bottom;
    if (!PenVisible()) {
        // Without a pen the fill stops one pixel short of the right and bottom edges.
        if (right - left < 2 || bottom - top < 2)
            return;
        FillBox(ClampedBox(left, top, right - 1, bottom - 1, bounds));
        return;
    }
    if (right - left < 1 || bottom - top < 1)
        return;
    FillBox(ClampedBox(left, top, right, bottom, bounds));
    const int width = EffectiveWidth();
    if (width <= 1 && FPixelLines) {
        // Four thin lines round the outermost pixels, each ending where the next begins.
        const TPoint corners[] = {{r.Left, r.Top},
                                  {r.Right - 1, r.Top},
                                  {r.Right - 1, r.Bottom - 1},
                                  {r.Left, r.Bottom - 1}};
        std::int64_t phase = 0;
        for (int i = 0; i < 4; ++i) {
            const TPoint& a = corners[i];
            const TPoint& b = corners[(i + 1) % 4];
            DrawLinePixels(a, b, static_cast<double>(phase));
            phase += std::max(std::llabs(static_cast<std::int64_t>(b.X) - a.X),
                              std::llabs(static_cast<std::int64_t>(b.Y) - a.Y));
        }
        return;
    }
    const TUpperVectorStateGuard clean;
    if (width <= 1) {
        UsePen();
        NoBrush();
        FPainter->drawRect(ClampedBox(left, top, right - 1, bottom - 1, bounds));
        return;
    }
    // A wide outline is a square-cornered band centred on the outermost pixels, or, for an
    // inside-frame pen, lying wholly inside the box.
    const int below = Pen.Style == psInsideFrame ? 0 : (width - 1) / 2;
    const double outerLeft = left - below;
    const double outerTop = top - below;
    const double outerRight = right + below;
    const double outerBottom = bottom + below;
    const QColor ink = ToQColor(Pen.Color);
    const auto band = [&](double l, double t, double rr, double b) {
        if (rr > l && b > t)
            FPainter->fillRect(ClampedBox(l, t, rr, b, bounds), ink);
    };
    if (outerRight - outerLeft <= 2.0 * width || outerBottom - outerTop <= 2.0 * width) {
        band(outerLeft, outerTop, outerRight, outerBottom);
        return;
    }
    band(outerLeft, outerTop, outerRight, outerTop + width);
    band(outerLeft, outerBottom - width, outerRight, outerBottom);
    band(outerLeft, outerTop + width, outerLeft + width, outerBottom - width);
    band(outerRight - width, outerTop + width, outerRight, outerBottom - width);
}

void TPainterCanvas::DoEllipse(const TRect& rect) {
    FlushWideLines();
    const TUpperVectorStateGuard clean;
    if (!Ready())
        return;
    const TRect r = Normalized(rect);
    double left = r.Left;
    double top = r.Top;
    double right = r.Right - 1.0;
    double bottom = r.Bottom - 1.0;
    if (right < left || bottom < top)
        return;
    const int width = EffectiveWidth();
    if (PenVisible() && Pen.Style == psInsideFrame && width > 1) {
        const double inset =
            std::min((width - 1) / 2.0, std::min(right - left, bottom - top) / 2.0);
        left += inset;
        top += inset;
        right -= inset;
        bottom -= inset;
    }
    const bool direct = std::max({std::abs(left), std::abs(top), std::abs(right),
                                  std::abs(bottom)}) <= DirectEllipseLimit;
    if (direct && FRatio != 1 && PenVisible()) {
        // The outline through the middle of the pixels it covers at ratio 1.
        NoPen();
        UseBrush();
        FPainter->drawEllipse(QRectF(left, top, right - left, bottom - top));
        UsePen();
        NoBrush();
        FPainter->drawEllipse(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
        return;
    }
    if (direct) {
        FillAndStroke(PenVisible(), [&] {
            FPainter->drawEllipse(QRectF(left, top, right - left, bottom - top));
        });
        return;
    }
    const TRectF bounds = ClipBounds();
    if (right < bounds.Left || left > bounds.Right || bottom < bounds.Top || top > bounds.Bottom)
        return;
    DrawOutlinedPolygon(ClipPolygon(EllipsePoints(left, top, right, bottom), bounds), PenVisible());
}

void TPainterCanvas::DrawOutlinedPolygon(const std::vector<TPointF>& points, bool outline) {
    if (points.size() < 2)
        return;
    const QPolygonF polygon = ToQPolygon(points);
    FillAndStroke(outline, [&] { FPainter->drawPolygon(polygon, Qt::OddEvenFill); });
}

void TPainterCanvas::DoPolygon(std::span<const TPoint> points) {
    FlushWideLines();
    const TUpperVectorStateGuard clean;
    if (!Ready() || points.size() < 2)
        return;
    std::vector<TPointF> corners;
    corners.reserve(points.size());
    const TRectF bounds = ClipBounds();
    bool inside = true;
    for (const TPoint& p : points) {
        corners.push_back({static_cast<double>(p.X), static_cast<double>(p.Y)});
        inside = inside && bounds.Contains(corners.back());
    }
    if (!inside)
        corners = ClipPolygon(corners, bounds);
    DrawOutlinedPolygon(corners, PenVisible());
}

void TPainterCanvas::DoFillRect(const TRect& rect) {
    FlushWideLines();
    if (!Ready() || rect.Right <= rect.Left || rect.Bottom <= rect.Top)
        return;
    FillBox(ClampedBox(rect.Left, rect.Top, rect.Right, rect.Bottom, ClipBounds()));
}

const QFont& TPainterCanvas::CurrentFont() {
    if (!FFontKey || !(*FFontKey == Font)) {
        FQFont = ToQFont(Font);
        FFontKey = Font;
    }
    return FQFont;
}

std::int32_t TPainterCanvas::TextWidth(const std::string& text) {
    const TUpperVectorStateGuard clean;
    const QFont& font = CurrentFont();
    const QFontMetrics metrics =
        Ready() ? QFontMetrics(font, FPainter->device()) : QFontMetrics(font);
    return metrics.horizontalAdvance(QString::fromStdString(text));
}

std::int32_t TPainterCanvas::TextHeight(const std::string& text) {
    const TUpperVectorStateGuard clean;
    (void)text;
    const QFont& font = CurrentFont();
    const QFontMetrics metrics =
        Ready() ? QFontMetrics(font, FPainter->device()) : QFontMetrics(font);
    return metrics.height();
}

void TPainterCanvas::DoTextOut(TPoint at, const std::string& text) {
    FlushWideLines();
    const TUpperVectorStateGuard clean;
    if (!Ready() || text.empty())
        return;
    const QFont& font = CurrentFont();
    const QString string = QString::fromStdString(text);
    const QFontMetrics metrics(font, FPainter->device());
    const int width = metrics.horizontalAdvance(string);
    const int height = metrics.height();
    // Whatever the rotation, the cell stays within this distance of its corner.
    const double reach = static_cast<double>(width) + height;
    if (at.X + reach < 0 || at.Y + reach < 0 || at.X - reach > FWidth || at.Y - reach > FHeight)
        return;

    const QTransform saved = FPainter->worldTransform();
    QTransform cell;
    cell.translate(at.X, at.Y);
    if (Font.Escapement != 0)
        cell.rotate(-Font.Escapement / 10.0);
    if (Brush.Style == bsSolid) {
        // Filled as a polygon in picture coordinates, so that a turned box covers the pixels
        // whose centres it contains, like an unturned one.
        FPainter->setPen(Qt::NoPen);
        FPainter->setBrush(QBrush(ToQColor(Brush.Color)));
        FPainter->drawPolygon(cell.map(QPolygonF(QRectF(0, 0, width, height))));
    }
    FPainter->setWorldTransform(cell * saved);
    FPainter->setBackgroundMode(Qt::TransparentMode);
    FPainter->setFont(font);
    FPainter->setPen(QPen(ToQColor(Font.Color)));
    FPainter->drawText(QPointF(0, metrics.ascent()), string);
    FPainter->setWorldTransform(saved);
}

void TPainterCanvas::DoSetPixel(TPoint at, TColor color) {
    FlushWideLines();
    if (!Ready() || at.X < 0 || at.Y < 0 || at.X >= FWidth || at.Y >= FHeight)
        return;
    const QColor qcolor = ToQColor(color);
    const std::optional<std::uint32_t> pixel = OpaquePixel(qcolor);
    // At whole ratios a logical pixel is exactly ratio x ratio device pixels, whatever the
    // painter's rounding.
    QImage* image = pixel && FRatio == std::floor(FRatio) ? DirectImage() : nullptr;
    if (image != nullptr) {
        const auto ratio = static_cast<std::int64_t>(FRatio);
        const std::int64_t left = at.X * ratio;
        const std::int64_t top = at.Y * ratio;
        const std::int64_t right = std::min<std::int64_t>(left + ratio, image->width());
        const std::int64_t bottom = std::min<std::int64_t>(top + ratio, image->height());
        uchar* const bits = image->bits();
        const qsizetype stride = image->bytesPerLine();
        for (std::int64_t y = top; y < bottom; ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(bits + y * stride);
            std::fill(line + left, line + right, *pixel);
        }
        return;
    }
    const TUpperVectorStateGuard clean;
    FPainter->fillRect(QRect(at.X, at.Y, 1, 1), qcolor);
}

} // namespace curvana
