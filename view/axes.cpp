#include "common/flags.h"
#include "common/numtext.h"
#include "view/applystyle.h"
#include "view/axislabel.h"
#include "view/coordinate.h"
#include "view/cutparts.h"
#include "view/pixelmath.h"
#include "view/readabletext.h"
#include "view/walk.h"

#include <array>

namespace curvana {

namespace {

// Where a crossed axis lies: at 0 when the range holds it, else at the nearer end.
double CrossingPosition(const TInterval& range) {
    if (range.Min > 0)
        return range.Min;
    if (range.Max < 0)
        return range.Max;
    return 0;
}

// The arrow head is filled in the pen colour; the name (unless left out) then stands on a box of
// the background, in the text colour or, where that would not show on the background, one that
// does.
void DrawArrowHead(TCanvas& canvas, const std::array<TPoint, 3>& head, TPoint nameAt,
                   const std::string* name, TColor text, TColor background) {
    canvas.Brush.Color = canvas.Pen.Color;
    canvas.Brush.Style = bsSolid;
    canvas.Polygon(head);
    canvas.Brush.Color = background;
    canvas.Font.Color = ReadableTextColor(text, background);
    if (name)
        canvas.TextOut(nameAt.X, nameAt.Y, *name);
}

// While it lives, labels are written in the canvas's text colour or, where that would not show
// on what they stand on, in one that does. Afterwards the canvas has its text colour back:
// every mapping saves the canvas state again, so restoring that state would keep the change.
class TReadableLabels {
public:
    TReadableLabels(TCanvas& canvas, TColor background) : Text(canvas.Font.Color), FCanvas(canvas) {
        canvas.Font.Color = ReadableTextColor(Text, TextGround(canvas, background));
    }
    ~TReadableLabels() { FCanvas.Font.Color = Text; }
    TReadableLabels(const TReadableLabels&) = delete;
    TReadableLabels& operator=(const TReadableLabels&) = delete;

    const TColor Text;

private:
    TCanvas& FCanvas;
};

// A title in the default text colour (black, as documents store it, or the window-text
// colour) is made readable on what it stands on; any other colour is the author's and is kept.
void UseTitleFont(TCanvas& canvas, const TFont& font, TColor background) {
    canvas.Font.Assign(font);
    if (font.Color == clBlack || font.Color == clWindowText)
        canvas.Font.Color = ReadableTextColor(font.Color, TextGround(canvas, background));
}

} // namespace

void TCoordinate::DrawCrossedAxes() {
    DrawTitles();
    DrawLegend();
    DrawXAxisCrossed();
    DrawYAxisCrossed();
}

void TCoordinate::DrawBoxedAxes() {
    DrawTitles();
    DrawLegend();
    DrawXAxisBoxed();
    DrawYAxisBoxed();
}

void TCoordinate::DrawXAxisCrossed() {
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(XAxesGraphStyle, canvas);
    const TReadableLabels labels(canvas, BackgroundColor);
    const double ay = CrossingPosition(YInterval);
    DrawWorldLine(XInterval.Min, ay, XInterval.Max, ay);

    const std::int64_t reach = std::int64_t{XAxesTicksLength} + 1;
    TStepWalk tickWalk(XInterval.Min, XAxesTicksStep, DrawLimits.Marks);
    while (tickWalk.Value() <= XInterval.Max) {
        const TPoint p = WorldToScreen(tickWalk.Value(), ay);
        canvas.MoveTo(p.X, SaturatedPixel(p.Y - reach));
        canvas.LineTo(p.X, SaturatedPixel(p.Y + reach));
        if (!tickWalk.Next())
            break;
    }
    NoteMarksCut(tickWalk.CutBefore(XInterval.Max), cutparts::XAxisMarks);

    TStepWalk labelWalk(XInterval.Min, XAxesLabelsStep, DrawLimits.Marks);
    while (labelWalk.Value() <= XInterval.Max) {
        const TPoint p = WorldToScreen(labelWalk.Value(), ay);
        const double shown = AxisLabelValue(labelWalk.Value(), XInterval.Min, XAxesLabelsStep);
        const std::string text = shown == 0 ? "0" : FloatToStr(shown) + XAxesLabelsString;
        if (!TakeTextWork(text, cutparts::XAxisLabels))
            break;
        if (shown == 0)
            canvas.TextOut(p.X - 7, p.Y + 1, text);
        else
            canvas.TextOut(p.X - 4, XAxesLabelSide == 1 ? p.Y + 10 : p.Y - 21, text);
        if (!labelWalk.Next())
            break;
    }
    NoteMarksCut(labelWalk.CutBefore(XInterval.Max), cutparts::XAxisMarks);

    if (IsOn(XArrow.Enabled)) {
        const TPoint p = WorldToScreen(XInterval.Max, ay);
        const std::int32_t d = XAxesDirection == 0 ? 1 : -1;
        canvas.MoveTo(p.X, p.Y);
        canvas.LineTo(p.X + 10 * d, p.Y);
        DrawArrowHead(canvas,
                      {TPoint{p.X + 10 * d, p.Y - 4}, TPoint{p.X + 10 * d, p.Y + 4},
                       TPoint{p.X + 22 * d, p.Y}},
                      {d > 0 ? p.X + 12 : p.X - 17, p.Y - 20},
                      TakeTextWork(XArrow.Name, cutparts::XAxisName) ? &XArrow.Name : nullptr,
                      labels.Text, BackgroundColor);
    }
    RestoreCanvasState();
}

void TCoordinate::DrawYAxisCrossed() {
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(YAxesGraphStyle, canvas);
    const TReadableLabels labels(canvas, BackgroundColor);
    const double ax = CrossingPosition(XInterval);
    DrawWorldLine(ax, YInterval.Min, ax, YInterval.Max);

    const std::int64_t reach = std::int64_t{YAxesTicksLength} + 1;
    TStepWalk tickWalk(YInterval.Min, YAxesTicksStep, DrawLimits.Marks);
    while (tickWalk.Value() <= YInterval.Max) {
        const TPoint p = WorldToScreen(ax, tickWalk.Value());
        canvas.MoveTo(SaturatedPixel(p.X - reach), p.Y);
        canvas.LineTo(SaturatedPixel(p.X + reach), p.Y);
        if (!tickWalk.Next())
            break;
    }
    NoteMarksCut(tickWalk.CutBefore(YInterval.Max), cutparts::YAxisMarks);

    TStepWalk labelWalk(YInterval.Min, YAxesLabelsStep, DrawLimits.Marks);
    while (labelWalk.Value() <= YInterval.Max) {
        const TPoint p = WorldToScreen(ax, labelWalk.Value());
        const double shown = AxisLabelValue(labelWalk.Value(), YInterval.Min, YAxesLabelsStep);
        const std::string text = shown == 0 ? "0" : FloatToStr(shown) + YAxesLabelsString;
        if (!TakeTextWork(text, cutparts::YAxisLabels))
            break;
        if (shown == 0)
            canvas.TextOut(p.X - 7, p.Y + 1, text);
        else
            canvas.TextOut(YAxesLabelSide != 0 ? p.X + 10 : p.X - 20, p.Y - 7, text);
        if (!labelWalk.Next())
            break;
    }
    NoteMarksCut(labelWalk.CutBefore(YInterval.Max), cutparts::YAxisMarks);

    if (IsOn(YArrow.Enabled)) {
        const TPoint p = WorldToScreen(ax, YInterval.Max);
        // Up the screen when y grows upward, else down.
        const std::int32_t d = YAxesDirection == 1 ? -1 : 1;
        canvas.MoveTo(p.X, p.Y);
        canvas.LineTo(p.X, p.Y + 10 * d);
        DrawArrowHead(canvas,
                      {TPoint{p.X - 4, p.Y + 10 * d}, TPoint{p.X + 4, p.Y + 10 * d},
                       TPoint{p.X, p.Y + 22 * d}},
                      {p.X + 10, d < 0 ? p.Y - 22 : p.Y + 10},
                      TakeTextWork(YArrow.Name, cutparts::YAxisName) ? &YArrow.Name : nullptr,
                      labels.Text, BackgroundColor);
    }
    RestoreCanvasState();
}

void TCoordinate::DrawXAxisBoxed() {
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(XAxesGraphStyle, canvas);
    const TReadableLabels labels(canvas, BackgroundColor);
    DrawWorldLine(XInterval.Min, YInterval.Min, XInterval.Max, YInterval.Min);
    DrawWorldLine(XInterval.Min, YInterval.Max, XInterval.Max, YInterval.Max);
    // The edge at the bottom of the screen.
    const double b = YAxesDirection == 1 ? YInterval.Min : YInterval.Max;

    TStepWalk tickWalk(XInterval.Min, XAxesTicksStep, DrawLimits.Marks);
    while (tickWalk.Value() <= XInterval.Max) {
        const TPoint p = WorldToScreen(tickWalk.Value(), b);
        canvas.MoveTo(p.X, p.Y);
        canvas.LineTo(p.X, SaturatedPixel(std::int64_t{p.Y} - XAxesTicksLength - 1));
        if (!tickWalk.Next())
            break;
    }
    NoteMarksCut(tickWalk.CutBefore(XInterval.Max), cutparts::XAxisMarks);
    // Labels follow the ticks in this style.
    TStepWalk labelWalk(XInterval.Min, XAxesTicksStep, DrawLimits.Marks);
    while (labelWalk.Value() <= XInterval.Max) {
        const TPoint p = WorldToScreen(labelWalk.Value(), b);
        const std::string text =
            FloatToStr(AxisLabelValue(labelWalk.Value(), XInterval.Min, XAxesTicksStep));
        if (!TakeTextWork(text, cutparts::XAxisLabels))
            break;
        canvas.TextOut(p.X - 4, p.Y + 10, text);
        if (!labelWalk.Next())
            break;
    }
    NoteMarksCut(labelWalk.CutBefore(XInterval.Max), cutparts::XAxisMarks);
    RestoreCanvasState();
}

void TCoordinate::DrawYAxisBoxed() {
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(YAxesGraphStyle, canvas);
    const TReadableLabels labels(canvas, BackgroundColor);
    DrawWorldLine(XInterval.Min, YInterval.Min, XInterval.Min, YInterval.Max);
    DrawWorldLine(XInterval.Max, YInterval.Min, XInterval.Max, YInterval.Max);
    // The edge at the left of the screen.
    const double c = XAxesDirection == 0 ? XInterval.Min : XInterval.Max;

    TStepWalk tickWalk(YInterval.Min, YAxesTicksStep, DrawLimits.Marks);
    while (tickWalk.Value() <= YInterval.Max) {
        const TPoint p = WorldToScreen(c, tickWalk.Value());
        canvas.MoveTo(p.X, p.Y);
        canvas.LineTo(SaturatedPixel(std::int64_t{p.X} + YAxesTicksLength + 1), p.Y);
        if (!tickWalk.Next())
            break;
    }
    NoteMarksCut(tickWalk.CutBefore(YInterval.Max), cutparts::YAxisMarks);
    TStepWalk labelWalk(YInterval.Min, YAxesTicksStep, DrawLimits.Marks);
    while (labelWalk.Value() <= YInterval.Max) {
        const TPoint p = WorldToScreen(c, labelWalk.Value());
        const std::string text =
            FloatToStr(AxisLabelValue(labelWalk.Value(), YInterval.Min, YAxesTicksStep));
        if (!TakeTextWork(text, cutparts::YAxisLabels))
            break;
        canvas.TextOut(p.X - 18, p.Y - 5, text);
        if (!labelWalk.Next())
            break;
    }
    NoteMarksCut(labelWalk.CutBefore(YInterval.Max), cutparts::YAxisMarks);
    RestoreCanvasState();
}

void TCoordinate::DrawTitles() {
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    // An enabled title with no text draws nothing.
    if (IsOn(TitleTopEnabled) && !TitleTop.empty() &&
        TakeTextWork(TitleTop, cutparts::TopTitle, true)) {
        UseTitleFont(canvas, TitleTopFont, BackgroundColor);
        canvas.TextOut(SaturatedPixel(std::int64_t{Width / 2} - canvas.TextWidth(TitleTop) / 2), 5,
                       TitleTop);
    }
    if (IsOn(TitleBottomEnabled) && !TitleBottom.empty() &&
        TakeTextWork(TitleBottom, cutparts::BottomTitle, true)) {
        UseTitleFont(canvas, TitleBottomFont, BackgroundColor);
        canvas.TextOut(SaturatedPixel(std::int64_t{Width / 2} - canvas.TextWidth(TitleBottom) / 2),
                       SaturatedPixel(std::int64_t{Height} - canvas.TextHeight(TitleBottom) - 10),
                       TitleBottom);
    }
    // Side titles are turned by a temporary font: clockwise on the left, counter-clockwise on
    // the right; width and height are measured along and across the turned line.
    if (IsOn(TitleLeftEnabled) && !TitleLeft.empty() &&
        TakeTextWork(TitleLeft, cutparts::LeftTitle, true)) {
        TFont turned = TitleLeftFont;
        turned.Escapement = -900;
        UseTitleFont(canvas, turned, BackgroundColor);
        canvas.TextOut(SaturatedPixel(std::int64_t{canvas.TextHeight(TitleLeft)} + 10),
                       SaturatedPixel(std::int64_t{Height / 2} - canvas.TextWidth(TitleLeft) / 2),
                       TitleLeft);
    }
    if (IsOn(TitleRightEnabled) && !TitleRight.empty() &&
        TakeTextWork(TitleRight, cutparts::RightTitle, true)) {
        TFont turned = TitleRightFont;
        turned.Escapement = 900;
        UseTitleFont(canvas, turned, BackgroundColor);
        canvas.TextOut(SaturatedPixel(std::int64_t{Width} - 5 - canvas.TextHeight(TitleRight)),
                       SaturatedPixel(std::int64_t{Height / 2} + canvas.TextWidth(TitleRight) / 2),
                       TitleRight);
    }
    RestoreCanvasState();
}

} // namespace curvana
