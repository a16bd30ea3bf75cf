// The implicit curve's subdivision shared among threads. The cells a few levels down are
// refined independently of each other, so helper threads refine them with calculators of their
// own, each cell's pixels kept in a list; the lists are then set in the order one thread would
// have set them. The result is used only when no limit was reached on the way: then the
// evaluations, the pixels and their order, the work and the variables left behind are exactly
// those of one thread. Otherwise the caller traces the curve again on its own thread, where the
// limits cut it as they always have.

#include "view/calculatorcopy.h"
#include "view/coordinate.h"
#include "view/parallel.h"

#include <algorithm>
#include <atomic>
#include <memory>

namespace curvana {

namespace {

// Cells this many levels below the range are shared out: up to 4^5 of them, far more than there
// are threads, so that the threads finish at about the same time; final cells above it are
// shared out as they are.
constexpr int SharedDepth = 5;

// Final cells one helper thread may hold in its lists (up to four pixels each, 8 bytes a pixel):
// a curve with more is traced on the caller's thread, which sets its pixels as it goes.
constexpr std::int64_t SharedCells = 2'000'000;

// What refining one shared cell did.
struct TCellResult {
    TImplicitCounts Counts;
    std::vector<TPoint> Pixels;
    bool Sampled = false;
    double LastX = 0;
    double LastY = 0;
};

TImplicitCounts operator-(const TImplicitCounts& a, const TImplicitCounts& b) {
    return {a.Cells - b.Cells, a.Tests - b.Tests, a.Evaluations - b.Evaluations, a.Work - b.Work};
}

void Add(TImplicitCounts& total, const TImplicitCounts& more) {
    total.Cells += more.Cells;
    total.Tests += more.Tests;
    total.Evaluations += more.Evaluations;
    total.Work += more.Work;
}

} // namespace

// Keeps the corners' pixels in the list of the cell being refined. Neighbouring corners often
// fall on one pixel: a pixel the last corner set is not listed again, the picture is the same.
struct TCoordinate::TPixelListPlotter : TImplicitPlotter {
    explicit TPixelListPlotter(const TCoordinate& view) : Map(view) {}
    void Plot(double X, double Y) override {
        const TPoint p = Map.At(X, Y);
        if (Pixels->empty() || !(Pixels->back() == p))
            Pixels->push_back(p);
    }
    TFrozenPixelCache Map;
    std::vector<TPoint>* Pixels = nullptr;
};

bool TCoordinate::TraceImplicitShared(TExpCal& calculator, TVarMemory& variables,
                                      const TImplicitTracer::TSettings& settings, double L,
                                      double T, double R, double B) {
    const int threads = PlotThreads(Threads);
    // Helpers compile the expression against a copy of the variables as they are now, which is
    // how the caller's calculator was compiled only if x and y were there already.
    if (threads < 2 || !MarginsFrozen() || !calculator.Repeatable() ||
        !variables.HasVariable("x") || !variables.HasVariable("y"))
        return false;

    // Each thread's own calculator, compiled before anything changes the variables.
    struct TThreadState {
        TThreadState(const TExpCal& calculator, const TVarMemory& variables)
            : Copy(calculator, variables) {}
        TCalculatorCopy Copy;
        std::unique_ptr<TPixelListPlotter> Plotter;
        std::unique_ptr<TImplicitTracer> Tracer;
    };
    std::vector<std::unique_ptr<TThreadState>> state;
    for (int i = 0; i < threads; ++i)
        state.push_back(std::make_unique<TThreadState>(calculator, variables));

    // The levels above the shared cells, on this thread, with the caller's calculator.
    std::vector<TImplicitCell> cells;
    TPixelListPlotter unused(*this); // cells are collected, never plotted, up here
    TImplicitTracer top(calculator, variables, settings, unused);
    top.Split = &cells;
    top.SplitDepth = SharedDepth;
    // The levels split untested are evaluated ahead by all threads.
    std::vector<TImplicitLattice::TEvaluator> evaluators;
    for (const std::unique_ptr<TThreadState>& s : state)
        evaluators.emplace_back(*s->Copy.Calculator, s->Copy.Variables);
    const std::unique_ptr<TImplicitLattice> lattice = top.MakeLattice(L, T, R, B, evaluators);
    top.Refine(top.Root(L, T, R, B));
    if (top.Stopped())
        return false;

    // What is left for the shared cells. The threads' work together counts against it: the cells
    // are parts of the one-thread trace, so reaching it means that trace would reach a limit,
    // and then the work is abandoned anyway.
    TImplicitTracer::TSettings shared = settings;
    shared.Limits.Cells = std::min(shared.Limits.Cells - top.Counts.Cells, SharedCells);
    shared.Limits.Tests -= top.Counts.Tests;
    shared.Limits.Work -= top.Counts.Work;
    std::atomic<bool> abandoned{false};
    std::atomic<std::uint64_t> sharedWork{0};
    for (const std::unique_ptr<TThreadState>& s : state) {
        s->Plotter = std::make_unique<TPixelListPlotter>(*this);
        s->Tracer = std::make_unique<TImplicitTracer>(*s->Copy.Calculator, s->Copy.Variables,
                                                      shared, *s->Plotter);
        s->Tracer->Abandoned = &abandoned;
        s->Tracer->SharedWork = &sharedWork;
        s->Tracer->UseLattice(lattice.get());
    }
    std::vector<TCellResult> results(cells.size());
    ForEachItem(cells.size(), threads, [&](int thread, std::size_t i) {
        TThreadState& own = *state[static_cast<std::size_t>(thread)];
        TImplicitTracer& tracer = *own.Tracer;
        TCellResult& result = results[i];
        own.Plotter->Pixels = &result.Pixels;
        const TImplicitCounts before = tracer.Counts;
        tracer.Sampled = false;
        tracer.Refine(cells[i]);
        result.Counts = tracer.Counts - before;
        result.Sampled = tracer.Sampled;
        result.LastX = tracer.LastX;
        result.LastY = tracer.LastY;
        if (tracer.Stopped())
            abandoned = true;
    });

    TImplicitCounts total = top.Counts;
    for (const TCellResult& result : results)
        Add(total, result.Counts);
    if (abandoned || total.Cells >= settings.Limits.Cells || total.Tests >= settings.Limits.Tests ||
        total.Work >= settings.Limits.Work)
        return false;

    Work += total.Work;
    Evaluations += total.Evaluations;
    ++SharedPlots;
    bool plotted = false;
    for (const TCellResult& result : results) {
        for (const TPoint p : result.Pixels)
            SetImplicitPixel(p);
        plotted = plotted || !result.Pixels.empty();
    }
    // Mapping a point inside a redraw saves the canvas state; nothing changed it since.
    if (plotted)
        SaveCanvasState();
    // The variables are left as the last evaluation of the one-thread trace left them: that of
    // the last shared cell that sampled, unless the levels above sampled after it.
    for (std::size_t i = results.size(); i-- > top.SplitBeforeLastSample;) {
        if (results[i].Sampled) {
            TFreeVariable(variables, "x").Set(results[i].LastX);
            TFreeVariable(variables, "y").Set(results[i].LastY);
            return true;
        }
    }
    top.LeaveVariablesAtLastSample();
    return true;
}

} // namespace curvana
