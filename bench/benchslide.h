// One slide of bench/slides/ loaded as the slide window loads it, with the window's lists, on a
// 1920 x 1080 view drawn on the canvas the benchmark measures.
#pragma once

#include "common/decimalseparator.h"
#include "docfile/addlabeldata.h"
#include "docfile/documentloader.h"
#include "expr/operatorlib.h"
#include "expr/varmemory.h"
#include "view/coordinate.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace curvana {

template <class TBenchCanvas> struct TBenchSlide {
    TBenchCanvas Canvas;
    TCoordinate View;
    std::unique_ptr<TMemory> Graphs = std::make_unique<TMemory>();
    std::vector<TAddLabelData> Labels;
    TOperatorLib Library;
    TVarMemory Variables;
    TVarMemory Constants;

    template <class... TCanvasArgs>
    explicit TBenchSlide(const std::string& name, TCanvasArgs&&... canvasArgs)
        : Canvas(std::forward<TCanvasArgs>(canvasArgs)...) {
        AddPlotVariables(Variables);
        AddPlotConstants(Constants);
        View.Canvas = &Canvas;
        View.Width = 1920;
        View.Height = 1080;
        TDecimalSeparatorScope dot('.');
        LoadDocumentFile(std::string(CURVANA_SOURCE_DIR) + "/bench/slides/" + name,
                         {View, Graphs, Labels});
    }

    void Redraw() { View.Redraw(Graphs.get(), Library, Variables, Constants); }
};

} // namespace curvana
