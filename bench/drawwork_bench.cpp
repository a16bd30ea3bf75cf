// How well the view's work units (TCoordinate::Work) track drawing time, kind by kind, and how
// long the largest drawing of each kind that the work budget leaves whole takes: the slide
// window's picture (a raster canvas of 1920 x 1080), one thread, thread CPU time.
//
// BM_Units/KIND: a drawing of a few tens of milliseconds; counters units (work of one redraw)
// and ns_per_unit (CPU time per unit). The budget only means "about the same time whatever is
// drawn" as far as ns_per_unit agrees across kinds.
// BM_LargestWhole/KIND: the graph list grown (more copies of the graph, more steps or points)
// until one more step of growth would be cut, then timed; counters units, param (the size) and
// cut_above (1 when the next size is cut, as it must be).

#include "docfile/slidestate.h"
#include "platform/rastercanvas.h"
#include "view/coordinate.h"
#include "view/countingcanvas.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <functional>
#include <memory>
#include <string>

namespace curvana {
namespace {

constexpr std::int32_t Width = 1920;
constexpr std::int32_t Height = 1080;

// A graph list of some size: its graphs, or steps, or points grow with size.
using TMake = std::function<void(TMemory&, std::int64_t size)>;
// Settings of the view for a size (labels, titles, legend), or nothing.
using TSetup = std::function<void(TCoordinate&, std::int64_t size)>;

struct TKind {
    const char* Name;
    TMake Make;
    std::int64_t UnitsSize; // a size that draws in some tens of milliseconds
    std::int64_t Growth;    // the steps in which the largest whole size is searched
    TSetup Setup = nullptr;
};

TFunctionObj& AddFunction(TMemory& list, int type, const std::string& exp,
                          const std::string& addExp = {}) {
    TFunctionObj f;
    f.FunctionObjType = static_cast<TEnum8>(type);
    f.Exp = exp;
    f.AddExp = addExp;
    f.ShowEnabled = 1;
    return list.AddFunctionCopy(f);
}

void Copies(TMemory& list, std::int64_t n, const std::function<void(TMemory&)>& add) {
    for (std::int64_t i = 0; i < n; ++i)
        add(list);
}

// A region of cells of about `cells` pixels across, filled everywhere.
std::function<void(TMemory&)> Region(std::int32_t steps, TEnum8 brush) {
    return [=](TMemory& list) {
        TFunctionObj& f = AddFunction(list, ftRelation, "x^2+y^2", ">=0");
        f.PlotParameter.StepsOnX = steps;
        f.PlotParameter.StepsOnY = steps;
        f.GraphStyle.BrushStyle = brush;
    };
}

// A table of `n` points, back and forth between two corners of the view, or along a wave.
void Table(TMemory& list, std::int64_t n, bool across, bool smooth) {
    TTableObj t;
    t.ShowEnabled = 1;
    t.Smooth = smooth ? 1 : 0;
    for (std::int64_t i = 0; i < n; ++i) {
        const double x = across ? (i % 2 == 0 ? -10.0 : 10.0) : -10 + 20.0 * i / n;
        const double y = across ? (i % 2 == 0 ? -10.0 : 10.0) : ((i * 7919) % 200) / 100.0 - 1;
        t.AddPoint(x, y);
    }
    list.AddTableCopy(t);
}

// `n` characters of digits.
std::string Digits(std::int64_t n) {
    std::string text;
    for (std::int64_t i = 0; i < n; ++i)
        text += static_cast<char>('0' + i % 10);
    return text;
}

// One y(x) curve of `steps` steps.
TMake Curve(std::string exp) {
    return [exp = std::move(exp)](TMemory& list, std::int64_t steps) {
        AddFunction(list, ftYofX, exp).PlotParameter.Steps = static_cast<std::int32_t>(steps);
    };
}

std::string LongSum() {
    std::string sum = "sin(x)";
    for (int k = 2; k <= 40; ++k)
        sum += "+sin(" + std::to_string(k) + "x)/" + std::to_string(k);
    return sum;
}

// About 20,000 instructions, beyond the evaluator's caches: "x*0.5+" ten thousand times.
std::string LongChain() {
    std::string sum;
    for (int k = 0; k < 10'000; ++k)
        sum += "x*0.5+";
    return sum;
}

const TKind Kinds[] = {
    {"curve-sin", Curve("5sin(x)"), 1'000'000, 1'000'000},
    {"curve-line", Curve("x/2"), 1'000'000, 1'000'000},
    {"curve-poly", Curve("(x^4-3x^3+2x^2-x+5)/2000"), 1'000'000, 1'000'000},
    {"curves-500-steps",
     [](TMemory& list, std::int64_t n) {
         Copies(list, n, [](TMemory& l) { AddFunction(l, ftYofX, "x+1"); });
     },
     1'000, 1'000},
    {"curve-40-terms", Curve(LongSum()), 100'000, 100'000},
    {"curve-20k-instructions", Curve(LongChain() + "1"), 2'000, 2'000},
    {"region-20k-instructions",
     [](TMemory& list, std::int64_t n) {
         const std::string sum = LongChain() + "y";
         Copies(list, n, [&](TMemory& l) {
             TFunctionObj& f = AddFunction(l, ftRelation, sum, ">0");
             f.PlotParameter.StepsOnX = 10;
             f.PlotParameter.StepsOnY = 10;
         });
     },
     10, 10},
    {"curve-steep",
     [](TMemory& list, std::int64_t steps) {
         TFunctionObj& f = AddFunction(list, ftYofX, "9.9sin(1000x)");
         f.PlotParameter.Steps = static_cast<std::int32_t>(steps);
         f.PlotParameter.MaxGap = 1'000'000; // every piece drawn, across the picture
     },
     100'000, 100'000},
    {"table-across", [](TMemory& list, std::int64_t n) { Table(list, n, true, false); }, 20'000,
     20'000},
    {"table-smooth", [](TMemory& list, std::int64_t n) { Table(list, n, false, true); }, 100'000,
     100'000},
    {"implicit-rings",
     [](TMemory& list, std::int64_t n) {
         Copies(list, n, [](TMemory& l) { AddFunction(l, ftRelation, "sin(x^2+y^2)", "=0"); });
     },
     1, 1},
    {"region-fine", [](TMemory& list, std::int64_t n) { Copies(list, n, Region(1000, bsSolid)); },
     1, 1},
    {"region-coarse-solid",
     [](TMemory& list, std::int64_t n) { Copies(list, n, Region(10, bsSolid)); }, 20, 20},
    {"region-coarse-hatch",
     [](TMemory& list, std::int64_t n) { Copies(list, n, Region(10, bsBDiagonal)); }, 20, 20},
    // Axis labels along both axes, each with a unit of ten letters; the size is the labels per
    // axis (at most the mark cap). The sine shows where the budget ends.
    {"labels", Curve("5sin(x)"), 10'000, 10'000,
     [](TCoordinate& view, std::int64_t n) {
         view.XAxesLabelsStep = 20.0 / static_cast<double>(n);
         view.YAxesLabelsStep = 20.0 / static_cast<double>(n);
         view.XAxesLabelsString = " abcdefghi";
         view.YAxesLabelsString = " abcdefghi";
     }},
    // A top title of `n` characters, most of them beyond the picture.
    {"title-long", Curve("5sin(x)"), 100'000, 100'000,
     [](TCoordinate& view, std::int64_t n) {
         view.TitleTopEnabled = 1;
         view.TitleTop = Digits(n);
     }},
    // Legend lines of graphs that draw nothing (no steps) with captions of `n` characters.
    {"legend-long-captions",
     [](TMemory& list, std::int64_t n) {
         const std::string exp = "x+" + Digits(n);
         Copies(list, 60, [&](TMemory& l) { AddFunction(l, ftYofX, exp).PlotParameter.Steps = 0; });
         AddFunction(list, ftYofX, "5sin(x)");
     },
     1'000, 1'000, [](TCoordinate& view, std::int64_t) { view.LegendEnabled = 1; }},
    // Copies of a line that runs above the view all along: samples that draw nothing.
    {"curves-off-view",
     [](TMemory& list, std::int64_t n) {
         Copies(list, n, [](TMemory& l) { AddFunction(l, ftYofX, "x+100"); });
     },
     1'000, 1'000},
    // Copies of a line whose every sample is parted from the one before (no gap allowed):
    // moves without lines.
    {"curves-parted",
     [](TMemory& list, std::int64_t n) {
         Copies(list, n,
                [](TMemory& l) { AddFunction(l, ftYofX, "x+1").PlotParameter.MaxGap = 0; });
     },
     1'000, 1'000},
    // The hostile document of many short lines y = x + c with its legend, which leaves a plot
    // area some 120 pixels high: most samples lie off the view.
    {"curves-legend-off-view",
     [](TMemory& list, std::int64_t n) {
         for (std::int64_t i = 0; i < n; ++i)
             AddFunction(list, ftYofX, "x+" + std::to_string(i % 20));
     },
     1'000, 1'000, [](TCoordinate& view, std::int64_t) { view.LegendEnabled = 1; }},
};

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct TDrawing : TSlideState {
    TDrawing(const TKind& kind, std::int64_t size, TCanvas& canvas) {
        kind.Make(*GraphList, size);
        if (kind.Setup)
            kind.Setup(View, size);
        View.Canvas = &canvas;
        View.Width = Width;
        View.Height = Height;
        View.Threads = 1;
    }
};

// Whether the default limits cut a drawing of this size (work does not depend on the canvas).
bool Cut(const TKind& kind, std::int64_t size) {
    TCountingCanvas canvas;
    TDrawing drawing(kind, size, canvas);
    drawing.Redraw();
    return !drawing.View.Whole();
}

// The largest multiple of the kind's growth that is drawn whole, from an estimate by the work
// of a small drawing.
std::int64_t LargestWhole(const TKind& kind) {
    TCountingCanvas canvas;
    TDrawing small(kind, kind.UnitsSize, canvas);
    small.Redraw();
    const double perSize = static_cast<double>(small.View.Work) / kind.UnitsSize;
    std::int64_t size = static_cast<std::int64_t>(static_cast<double>(TDrawLimits{}.RedrawWork) /
                                                  perSize / kind.Growth) *
                        kind.Growth;
    while (size > kind.Growth && Cut(kind, size))
        size -= kind.Growth;
    while (!Cut(kind, size + kind.Growth))
        size += kind.Growth;
    return size;
}

// CPU seconds per redraw.
double Measure(benchmark::State& state, TDrawing& drawing) {
    double total = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        drawing.Redraw();
        const double seconds = ThreadSeconds() - start;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    return total / static_cast<double>(state.iterations());
}

void BM_Units(benchmark::State& state, const TKind* kind) {
    TRasterCanvas canvas(Width, Height);
    TDrawing drawing(*kind, kind->UnitsSize, canvas);
    drawing.Redraw(); // the first redraw clears the lines of regions for good
    const double seconds = Measure(state, drawing);
    state.counters["units"] = static_cast<double>(drawing.View.Work);
    state.counters["ns_per_unit"] = seconds * 1e9 / static_cast<double>(drawing.View.Work);
    // The same without rasterising: what evaluating and walking cost.
    TCountingCanvas counting;
    TDrawing unpainted(*kind, kind->UnitsSize, counting);
    unpainted.Redraw();
    const double start = ThreadSeconds();
    unpainted.Redraw();
    state.counters["unpainted_ns"] = (ThreadSeconds() - start) * 1e9;
    state.counters["evaluations"] = static_cast<double>(unpainted.View.Evaluations);
    state.counters["operations"] = static_cast<double>(counting.Operations);
}

void BM_LargestWhole(benchmark::State& state, const TKind* kind) {
    const std::int64_t size = LargestWhole(*kind);
    TRasterCanvas canvas(Width, Height);
    TDrawing drawing(*kind, size, canvas);
    const double seconds = Measure(state, drawing);
    if (!drawing.View.Whole())
        state.SkipWithError("the largest whole drawing was cut");
    state.counters["units"] = static_cast<double>(drawing.View.Work);
    state.counters["param"] = static_cast<double>(size);
    state.counters["ns_per_unit"] = seconds * 1e9 / static_cast<double>(drawing.View.Work);
    state.counters["cut_above"] = Cut(*kind, size + kind->Growth) ? 1 : 0;
}

// One TextOut of `chars` digits in the default font: in the picture, or far outside it (where
// the text is only measured). Counters ns_per_call and ns_per_char.
void BM_TextOut(benchmark::State& state, bool inside) {
    TRasterCanvas canvas(Width, Height);
    const std::string text = Digits(state.range(0));
    const std::int32_t y = inside ? Height / 2 : -TCoordinate::PixelLimit;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        canvas.TextOut(10, y, text);
        state.SetIterationTime(ThreadSeconds() - start);
    }
    state.counters["ns_per_call"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["ns_per_char"] =
        benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)) * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

const bool Registered = [] {
    for (const bool inside : {true, false})
        benchmark::RegisterBenchmark(inside ? "BM_TextOut/inside" : "BM_TextOut/outside",
                                     BM_TextOut, inside)
            ->UseManualTime()
            ->RangeMultiplier(8)
            ->Range(1, 1 << 15)
            ->Unit(benchmark::kMicrosecond);
    for (const TKind& kind : Kinds) {
        benchmark::RegisterBenchmark((std::string("BM_Units/") + kind.Name).c_str(), BM_Units,
                                     &kind)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_LargestWhole/") + kind.Name).c_str(),
                                     BM_LargestWhole, &kind)
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
} // namespace curvana
