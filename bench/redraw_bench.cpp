// Full redraws of the slides in bench/slides/ on a 1920 x 1080 view, drawn on a canvas that
// only counts what it is asked to draw, so the figures are the view's own work: mapping,
// sampling, evaluating and the drawing calls, without any rasterising.
//
// Counters per redraw: Evaluations (expression evaluations) and Operations (canvas calls).

#include "bench/benchslide.h"
#include "view/countingcanvas.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace curvana {
namespace {

using TSlide = TBenchSlide<TCountingCanvas>;

// The argument is the number of threads a graph may use (TCoordinate::Threads; 0 for one per
// core). Helper threads' time is not this thread's CPU time, so the time measured is real time.
void BM_Redraw(benchmark::State& state, const std::string& name) {
    TSlide slide(name);
    slide.View.Threads = static_cast<int>(state.range(0));
    slide.Redraw(); // the first redraw clears the lines of regions for good
    for (auto _ : state) {
        slide.Canvas.Operations = 0;
        slide.Redraw();
        benchmark::DoNotOptimize(slide.Canvas.Operations);
    }
    state.counters["Evaluations"] = static_cast<double>(slide.View.Evaluations);
    state.counters["Operations"] = static_cast<double>(slide.Canvas.Operations);
}

const bool Registered = [] {
    for (const char* name :
         {"explicit-curves", "implicit-circle", "implicit-offcentre", "implicit-lemniscate",
          "implicit-singular", "region-200", "table-10000-smooth"})
        benchmark::RegisterBenchmark((std::string("BM_Redraw/") + name).c_str(), BM_Redraw,
                                     std::string(name) + ".xml")
            ->ArgName("threads")
            ->Arg(1)
            ->Arg(0)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    // The curve slides of the demo show, from examples/; they draw on one thread either way.
    for (const char* name : {"quadratic-functions", "trigonometry", "inverse-functions",
                             "parametric-curves", "polar-roses"})
        benchmark::RegisterBenchmark((std::string("BM_Redraw/demo-") + name).c_str(), BM_Redraw,
                                     std::string("../../examples/") + name + ".xml")
            ->ArgName("threads")
            ->Arg(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
} // namespace curvana

BENCHMARK_MAIN();
