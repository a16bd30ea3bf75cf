// One slide of bench/slides/ loaded as the slide window loads it, with the window's lists, on a
// 1920 x 1080 view drawn on the canvas the benchmark measures.
#pragma once

#include "common/decimalseparator.h"
#include "docfile/documentloader.h"
#include "docfile/slidestate.h"

#include <string>
#include <utility>

namespace curvana {

template <class TBenchCanvas> struct TBenchSlide : TSlideState {
    TBenchCanvas Canvas;

    template <class... TCanvasArgs>
    explicit TBenchSlide(const std::string& name, TCanvasArgs&&... canvasArgs)
        : Canvas(std::forward<TCanvasArgs>(canvasArgs)...) {
        View.Canvas = &Canvas;
        View.Width = 1920;
        View.Height = 1080;
        TDecimalSeparatorScope dot('.');
        LoadDocumentFile(std::string(CURVANA_SOURCE_DIR) + "/bench/slides/" + name, Targets());
    }
};

} // namespace curvana
