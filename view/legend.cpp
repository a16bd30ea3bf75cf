#include "common/flags.h"
#include "view/applystyle.h"
#include "view/coordinate.h"
#include "view/cutparts.h"
#include "view/graphcaption.h"
#include "view/pixelmath.h"
#include "view/readabletext.h"

namespace curvana {

namespace {

enum class TEntryKind { Line, Fill };

struct TLegendEntry {
    const TGraphStyle* Style;
    std::string Text;
    TEntryKind Kind;
};

// The entry of a graph that takes a legend line; false for the others.
bool EntryOf(const TMemory& graphs, int index, TLegendEntry& entry) {
    if (!TakesLegendLine(graphs, index))
        return false;
    if (const TFunctionObj* f = graphs.Function(index)) {
        entry.Text = GraphCaption(*f);
        entry.Style = &f->GraphStyle;
        entry.Kind = f->FunctionObjType == ftRelation && !IsImplicitCurve(*f) ? TEntryKind::Fill
                                                                              : TEntryKind::Line;
        return true;
    }
    if (const TTableObj* t = graphs.Table(index)) {
        entry.Text = GraphCaption(*t);
        entry.Style = &t->GraphStyle;
        entry.Kind = TEntryKind::Line;
        return true;
    }
    return false;
}

} // namespace

// One line per visible graph, stacked upward from above the bottom title, the first lowest;
// stops once the lines reach 166 pixels from the top.
void TCoordinate::DrawLegend() {
    if (!IsOn(LegendEnabled) || !GraphList)
        return;
    TCanvas& canvas = RequireCanvas();

    std::int64_t b = 20;
    if (IsOn(TitleBottomEnabled)) {
        SaveCanvasState();
        canvas.Font.Assign(TitleBottomFont);
        b = std::int64_t{canvas.TextHeight(TitleBottom)} + 20;
        RestoreCanvasState();
    }
    // Positions other than 0 and 2 take the middle, the default.
    const std::int32_t lx = LegendPosition == 0   ? 80
                            : LegendPosition == 2 ? (Width / 4) * 3
                                                  : Width / 2;

    SaveCanvasState();
    std::int64_t h = b;
    for (int i = 0; i < GraphList->Count(); ++i) {
        TLegendEntry entry;
        if (EntryOf(*GraphList, i, entry)) {
            // A line whose text does not fit in the budget ends the legend.
            if (!TakeTextWork(entry.Text, cutparts::Legend))
                break;
            h += 16;
            const std::int32_t top = SaturatedPixel(Height - h);
            ApplyTo(*entry.Style, canvas);
            // Black text is made readable on what it stands on; a graph's own colour only on
            // the box of a solid brush (the fill of a region, most often in that very colour).
            const bool graphColour = IsOn(TextColorAsGraphEnabled);
            canvas.Font.Color = graphColour ? entry.Style->LineColor : clBlack;
            if (!graphColour || canvas.Brush.Style == bsSolid)
                canvas.Font.Color =
                    ReadableTextColor(canvas.Font.Color, TextGround(canvas, BackgroundColor));
            if (entry.Kind == TEntryKind::Line) {
                if (IsOn(ShowSampleEnabled)) {
                    canvas.MoveTo(lx - 60, SaturatedPixel(std::int64_t{top} + 7));
                    canvas.LineTo(lx - 10, SaturatedPixel(std::int64_t{top} + 7));
                }
            } else {
                canvas.Pen.Style = psClear;
                canvas.Pen.Color = clWhite;
                if (IsOn(ShowSampleEnabled))
                    canvas.Rectangle(lx - 60, SaturatedPixel(std::int64_t{top} + 1), lx - 10,
                                     SaturatedPixel(std::int64_t{top} + 15));
            }
            canvas.TextOut(lx, top, entry.Text);
        }
        if (Height - h <= 166)
            break;
    }
    RestoreCanvasState();
}

} // namespace curvana
