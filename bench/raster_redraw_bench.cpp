// Full redraws of the slides in bench/slides/ into the slide window's picture, a raster canvas
// of 1920 x 1080 logical pixels, at device pixel ratio 1 and 2 (3840 x 2160 device pixels, a 4K
// screen at 200 %), side by side in one run: what a HiDPI screen costs over a 96-DPI one. The
// view may use every core, as in the show.

#include "bench/benchslide.h"
#include "platform/rastercanvas.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace curvana {
namespace {

using TSlide = TBenchSlide<TRasterCanvas>;

// The argument is the ratio in tenths (10 or 20).
void BM_RasterRedraw(benchmark::State& state, const std::string& name) {
    TSlide slide(name, 1920, 1080, static_cast<double>(state.range(0)) / 10);
    slide.View.Threads = 0;
    slide.Redraw();
    for (auto _ : state) {
        slide.Redraw();
        benchmark::DoNotOptimize(slide.Canvas.Image().constBits());
    }
    state.counters["Evaluations"] = static_cast<double>(slide.View.Evaluations);
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
