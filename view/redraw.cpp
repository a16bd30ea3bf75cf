#include "view/coordinate.h"
#include "view/graphcaption.h"

#include <algorithm>

namespace curvana {

void TCoordinate::Redraw(TMemory* graphList, const TOperatorLib& operatorLib, TVarMemory& variables,
                         const TVarMemory& constants) {
    Evaluations = 0;
    SharedPlots = 0;
    Work = 0;
    CutGraphs.clear();
    CutMarks.clear();
    CutTexts.clear();
    FRedrawing = true;
    struct TRedrawing {
        bool& Flag;
        ~TRedrawing() { Flag = false; }
    } redrawing{FRedrawing};
    ClearBackground();
    GraphList = graphList;
    // Settings, size and graph list stay as they are until the picture is done.
    TMarginFreeze freeze(*this);
    DrawCoordinateSystem();
    PlotGraphList(graphList, operatorLib, variables, constants);
}

void TCoordinate::ClearBackground() {
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    // A plain pen whatever the last graph left: a clear pen would leave the last column and row
    // of the previous picture.
    canvas.Pen = TPen{};
    canvas.Pen.Color = BackgroundColor;
    canvas.Brush.Color = BackgroundColor;
    canvas.Brush.Style = bsSolid;
    canvas.Rectangle(0, 0, Width, Height);
    RestoreCanvasState();
}

void TCoordinate::NoteMarksCut(bool cut, const char* what) {
    if (cut && std::find(CutMarks.begin(), CutMarks.end(), what) == CutMarks.end())
        CutMarks.emplace_back(what);
}

bool TCoordinate::TakeTextWork(const std::string& text, const char* part, bool measured) {
    const std::uint64_t written = TextWork + TextCharWork * text.size();
    const std::uint64_t work = measured ? written + written / 2 : written;
    if (Work < DrawLimits.RedrawWork && work <= DrawLimits.RedrawWork - Work) {
        Work += work;
        return true;
    }
    if (std::find(CutTexts.begin(), CutTexts.end(), part) == CutTexts.end())
        CutTexts.emplace_back(part);
    return false;
}

void TCoordinate::DrawCoordinateSystem() {
    DrawRectangularGrids();
    DrawRadialGrid();
    DrawAngularGrid();
    if (AxesStyle == asCrossed)
        DrawCrossedAxes();
    else
        DrawBoxedAxes();
}

void TCoordinate::PlotGraphList(TMemory* graphList, const TOperatorLib& operatorLib,
                                TVarMemory& variables, const TVarMemory& constants) {
    if (!graphList)
        return;
    for (int i = 0; i < graphList->Count(); ++i) {
        PlotCut = false;
        if (WorkSpent()) {
            // A graph left out counts when it would have drawn something.
            const TTableObj* t = graphList->Table(i);
            PlotCut = TakesLegendLine(*graphList, i) && (t == nullptr || t->Count() >= 2);
        } else if (TFunctionObj* f = graphList->Function(i))
            PlotFunction(*f, operatorLib, variables, constants);
        else if (const TTableObj* t = graphList->Table(i))
            PlotTable(*t);
        if (PlotCut)
            CutGraphs.push_back(i);
    }
}

} // namespace curvana
