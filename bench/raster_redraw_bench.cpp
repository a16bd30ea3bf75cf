// Full redraws of the slides in bench/slides/ into the slide window's picture, a raster canvas
// of 1920 x 1080 logical pixels, at device pixel ratio 1 and 2 (3840 x 2160 device pixels, a 4K
// screen at 200 %), side by side in one run: what a HiDPI screen costs over a 96-DPI one. The
// view may use every core, as in the show.

#include "common/decimalseparator.h"
#include "docfile/addlabeldata.h"
#include "docfile/documentloader.h"
#include "expr/operatorlib.h"
#include "expr/varmemory.h"
#include "platform/rastercanvas.h"
#include "view/coordinate.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace curvana {
namespace {

struct TSlide {
    TRasterCanvas Canvas;
    TCoordinate View;
    std::unique_ptr<TMemory> Graphs = std::make_unique<TMemory>();
    std::vector<TAddLabelData> Labels;
    TOperatorLib Library;
    TVarMemory Variables;
    TVarMemory Constants;

    TSlide(const std::string& name, double ratio) : Canvas(1920, 1080, ratio) {
        AddPlotVariables(Variables);
        AddPlotConstants(Constants);
        View.Canvas = &Canvas;
        View.Width = 1920;
        View.Height = 1080;
        View.Threads = 0;
        TDecimalSeparatorScope dot('.');
        LoadDocumentFile(std::string(CURVANA_SOURCE_DIR) + "/bench/slides/" + name,
                         {View, Graphs, Labels});
    }

    void Redraw() { View.Redraw(Graphs.get(), Library, Variables, Constants); }
};

// The argument is the ratio in tenths (10 or 20).
void BM_RasterRedraw(benchmark::State& state, const std::string& name) {
    TSlide slide(name, static_cast<double>(state.range(0)) / 10);
    slide.Redraw();
    for (auto _ : state) {
        slide.Redraw();
        benchmark::DoNotOptimize(slide.Canvas.Image().constBits());
    }
}

const bool Registered = [] {
    for (const char* name : {"explicit-curves", "implicit-circle", "implicit-lemniscate",
                             "implicit-singular", "region-200", "table-10000-smooth"})
        benchmark::RegisterBenchmark((std::string("BM_RasterRedraw/") + name).c_str(),
                                     BM_RasterRedraw, std::string(name) + ".xml")
            ->ArgName("ratio10")
            ->Arg(10)
            ->Arg(20)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
} // namespace curvana

int main(int argc, char** argv) {
    // Fonts need an application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
