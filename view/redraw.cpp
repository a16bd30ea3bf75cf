#include "view/coordinate.h"

#include <atomic>
#include <cstdio>

namespace curvana {

void TCoordinate::Redraw(TMemory* graphList, const TOperatorLib& operatorLib, TVarMemory& variables,
                         const TVarMemory& constants) {
    Evaluations = 0;
    SharedPlots = 0;
    Work = 0;
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
    if (WorkSpent()) {
        // Once a run: a show redraws the same slide on every key.
        static std::atomic<bool> reported{false};
        if (!reported.exchange(true))
            std::fputs("curvana: a slide asks for more drawing than one picture may take; the "
                       "picture shows the graphs drawn until then\n",
                       stderr);
    }
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
    for (int i = 0; i < graphList->Count() && !WorkSpent(); ++i) {
        if (TFunctionObj* f = graphList->Function(i))
            PlotFunction(*f, operatorLib, variables, constants);
        else if (const TTableObj* t = graphList->Table(i))
            PlotTable(*t);
    }
}

} // namespace curvana
