#include "view/applystyle.h"
#include "view/coordinate.h"
#include "view/freevariable.h"
#include "view/graphcaption.h"
#include "view/parallel.h"
#include "view/regiongrid.h"
#include "view/walk.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace curvana {

namespace {

struct TRange {
    double XLo, XHi, YLo, YHi;
};

// The view's ranges, narrowed by the graph's intervals where those are not empty.
TRange PlotRange(const TInterval& x, const TInterval& y, const TFunctionObj& F) {
    TRange r{x.Min, x.Max, y.Min, y.Max};
    if (F.Interval.Min < F.Interval.Max) {
        r.XLo = std::max(r.XLo, F.Interval.Min);
        r.XHi = std::min(r.XHi, F.Interval.Max);
    }
    if (F.AddInterval.Min < F.AddInterval.Max) {
        r.YLo = std::max(r.YLo, F.AddInterval.Min);
        r.YHi = std::min(r.YHi, F.AddInterval.Max);
    }
    return r;
}

// Cells of the curve's subdivision are split without a test down to this size in pixels: the test
// keeps a cell whose corners share one sign only when a probe along one edge finds the other, so
// on larger cells it would lose whole loops and branches.
constexpr long double UnprunedPixels = 16;

// World size of UnprunedPixels along an axis of `scale` pixels per unit; none (infinity) when the
// scale is 0, infinite or no number, so that a degenerate axis never splits cells untested.
long double UnprunedSize(double scale) {
    const long double size = UnprunedPixels / std::fabs(static_cast<long double>(scale));
    return size > 0 && std::isfinite(size) ? size : std::numeric_limits<long double>::infinity();
}

} // namespace

void TCoordinate::PlotImplicit(TFunctionObj& F, const TOperatorLib& operatorLib,
                               TVarMemory& variables, const TVarMemory& constants) {
    if (IsImplicitCurve(F))
        PlotImplicitCurve(F, operatorLib, variables, constants);
    else
        PlotInequality(F, operatorLib, variables, constants);
}

// Fills the cell around every grid point where the condition holds. Steps of 0 or less give no
// grid and draw nothing.
void TCoordinate::PlotInequality(TFunctionObj& F, const TOperatorLib& operatorLib,
                                 TVarMemory& variables, const TVarMemory& constants) {
    TExpCal calculator("(" + F.Exp + ")" + F.AddExp, operatorLib, variables, constants);
    const TRange range = PlotRange(XInterval, YInterval, F);
    const TPlotParameter& parameter = F.PlotParameter;
    if (parameter.StepsOnX <= 0 || parameter.StepsOnY <= 0)
        return;
    const double cw = (range.XHi - range.XLo) / parameter.StepsOnX;
    const double ch = (range.YHi - range.YLo) / parameter.StepsOnY;
    if (!(cw > 0) || !(ch > 0))
        return;
    TCanvas& canvas = RequireCanvas();
    const std::uint64_t evaluationWork = EvaluationWork(calculator, false);
    TRegionGrid::TShape shape{range.XLo,
                              cw,
                              range.XHi,
                              range.YHi,
                              std::int64_t{parameter.StepsOnY} + 1,
                              DrawLimits.RegionPoints};
    std::unique_ptr<TRegionGrid> grid =
        TRegionGrid::Make(calculator, variables, shape, PlotThreads(Threads), evaluationWork);
    // The grid evaluates its rows in batches.
    const std::uint64_t batchedWork = EvaluationWork(calculator, true);
    TFreeVariable xVariable(variables, "x");
    TFreeVariable yVariable(variables, "y");
    xVariable.Set(range.XLo);
    yVariable.Set(range.YLo);
    SaveCanvasState();
    // A region never has an outline, and its legend sample shows the same: the change stays.
    F.GraphStyle.LineWidth = 0;
    F.GraphStyle.LineStyle = psClear;
    ApplyTo(F.GraphStyle, canvas);
    const std::int32_t sx = XAxesDirection == 0 ? -1 : 1;
    const std::int32_t sy = YAxesDirection == 1 ? -1 : 1;

    // Inside a redraw every mapping only saves the canvas state, which no rectangle changes:
    // saving it once after the last is the same.
    const bool frozen = MarginsFrozen();
    bool mapped = false;
    bool shared = false;
    const auto pixel = [&](double X, double Y) {
        mapped = true;
        return frozen ? FrozenPixel(X, Y) : WorldToScreen(X, Y);
    };

    // Cells at the edges are cut to the plot area, the pixels from one end of the view's ranges
    // to the other. Without a pen a rectangle fills up to two pixels before its right and bottom
    // edges, so those lie two beyond the area's last column and row.
    const TPoint lowCorner = pixel(XInterval.Min, YInterval.Min);
    const TPoint highCorner = pixel(XInterval.Max, YInterval.Max);
    const TRect area{std::min(lowCorner.X, highCorner.X), std::min(lowCorner.Y, highCorner.Y),
                     std::max(lowCorner.X, highCorner.X) + 2,
                     std::max(lowCorner.Y, highCorner.Y) + 2};

    std::int64_t budget = DrawLimits.RegionPoints;
    std::int64_t row = 0;
    for (TEndWalk y(range.YLo, ch, range.YHi, DrawLimits.RegionPoints, ch / 2);
         y.Value() <= range.YHi; ++row) {
        xVariable.Set(range.XLo);
        std::size_t column = 0;
        for (TEndWalk x(range.XLo, cw, range.XHi, DrawLimits.RegionPoints, cw / 2);
             x.Value() <= range.XHi; ++column) {
            if (budget <= 0 || WorkSpent()) {
                PlotCut = true;
                break;
            }
            const std::uint64_t workLeft = DrawLimits.RedrawWork - Work;
            const std::optional<bool> known =
                grid ? grid->Holds(y, row, column,
                                   std::min<std::uint64_t>(static_cast<std::uint64_t>(budget),
                                                           workLeft / batchedWork + 1))
                     : std::nullopt;
            --budget;
            if (known)
                CountEvaluation(batchedWork);
            shared = shared || known;
            if (known ? *known : Evaluate(calculator) && calculator.Value != 0) {
                const TPoint p1 = pixel(x.Value() - cw / 2, y.Value() - ch / 2);
                const TPoint p2 = pixel(x.Value() + cw / 2, y.Value() + ch / 2);
                const TRect cell{std::clamp(p1.X + sx, area.Left, area.Right),
                                 std::clamp(p1.Y, area.Top, area.Bottom),
                                 std::clamp(p2.X, area.Left, area.Right),
                                 std::clamp(p2.Y + sy, area.Top, area.Bottom)};
                AddFillWork(cell);
                canvas.Rectangle(cell.Left, cell.Top, cell.Right, cell.Bottom);
            }
            if (!x.Next()) {
                PlotCut = PlotCut || x.Cut();
                break;
            }
            xVariable.Set(x.Value());
        }
        if (PlotCut || !y.Next()) {
            PlotCut = PlotCut || y.Cut();
            break;
        }
        yVariable.Set(y.Value());
    }
    if (frozen && mapped)
        SaveCanvasState();
    if (shared)
        ++SharedPlots;
    RestoreCanvasState();
}

// Pixels where f(x, y) = 0, by subdividing the range down to cells smaller than a pixel.
void TCoordinate::PlotImplicitCurve(const TFunctionObj& F, const TOperatorLib& operatorLib,
                                    TVarMemory& variables, const TVarMemory& constants) {
    TExpCal calculator(F.Exp, operatorLib, variables, constants);
    const TRange range = PlotRange(XInterval, YInterval, F);
    const TPoint p1 = WorldToScreen(range.XLo, range.YHi);
    const TPoint p2 = WorldToScreen(range.XHi, range.YLo);
    // World size of one pixel along each axis. A range that is a single pixel column or row
    // gives an infinite size there (that axis is never split); a range of no width gives no
    // number, and then nothing is drawn.
    const long double sx = std::fabs((static_cast<long double>(range.XLo) - range.XHi) /
                                     (static_cast<long double>(p1.X) - p2.X));
    const long double sy = std::fabs((static_cast<long double>(range.YHi) - range.YLo) /
                                     (static_cast<long double>(p1.Y) - p2.Y));
    if (std::isnan(sx) || std::isnan(sy))
        return;
    const long double s = std::min(sx, sy);
    if (!(s > 0))
        return;
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(F.GraphStyle, canvas);
    RefineImplicitCell(calculator, variables, range.XLo, range.YHi, range.XHi, range.YLo, s);
    RestoreCanvasState();
}

TImplicitTracer::TSettings TCoordinate::ImplicitSettings(const TExpCal& calculator,
                                                         long double S) const {
    TImplicitTracer::TSettings settings;
    settings.S = S;
    const TMapping mapping = MarginsFrozen() ? FFrozen : CurrentMapping();
    settings.UnprunedX = UnprunedSize(mapping.Kx);
    settings.UnprunedY = UnprunedSize(mapping.Ky);
    settings.Depth = DrawLimits.ImplicitDepth;
    settings.Limits.Cells = DrawLimits.ImplicitCells;
    settings.Limits.Tests = DrawLimits.ImplicitTests;
    settings.Limits.Work = Work < DrawLimits.RedrawWork ? DrawLimits.RedrawWork - Work : 0;
    // The tracer evaluates cells one at a time as well as in lattices: the dearer of the two.
    settings.EvaluationWork = EvaluationWork(calculator, false);
    settings.PixelWork = PixelWork;
    return settings;
}

void TCoordinate::RefineImplicitCell(TExpCal& calculator, TVarMemory& variables, double L, double T,
                                     double R, double B, long double S) {
    // A picture too large for the map goes without it: the curve is the same, only slower.
    const std::int64_t pixels = static_cast<std::int64_t>(std::max(Width, 0)) * std::max(Height, 0);
    FImplicitPixels.assign(pixels <= (std::int64_t{1} << 28) ? static_cast<std::size_t>(pixels) : 0,
                           false);
    const TImplicitTracer::TSettings settings = ImplicitSettings(calculator, S);
    if (!TraceImplicitShared(calculator, variables, settings, L, T, R, B))
        TraceImplicit(calculator, variables, settings, L, T, R, B);
}

// Sets the corners' pixels in the picture as they come. Inside a redraw every mapping only saves
// the canvas state, which no pixel changes: saving it once after the last is the same.
struct TCoordinate::TPicturePlotter : TImplicitPlotter {
    explicit TPicturePlotter(TCoordinate& view)
        : View(view), Frozen(view.MarginsFrozen()), Pixels(view) {}
    void Plot(double X, double Y) override {
        Mapped = true;
        View.SetImplicitPixel(Frozen ? Pixels.At(X, Y) : View.WorldToScreen(X, Y));
    }
    // After the last corner.
    void Finish() {
        if (Frozen && Mapped)
            View.SaveCanvasState();
    }
    TCoordinate& View;
    const bool Frozen;
    TFrozenPixelCache Pixels;
    bool Mapped = false;
};

void TCoordinate::TraceImplicit(TExpCal& calculator, TVarMemory& variables,
                                const TImplicitTracer::TSettings& settings, double L, double T,
                                double R, double B) {
    TPicturePlotter plotter(*this);
    TImplicitTracer tracer(calculator, variables, settings, plotter);
    // Random numbers would come in another order from the lattice.
    std::unique_ptr<TImplicitLattice> lattice;
    if (calculator.Repeatable()) {
        const TImplicitLattice::TEvaluator evaluator(calculator, variables);
        lattice = tracer.MakeLattice(L, T, R, B, {&evaluator, 1});
    }
    tracer.Refine(tracer.Root(L, T, R, B));
    plotter.Finish();
    tracer.LeaveVariablesAtLastSample();
    PlotCut = PlotCut || tracer.Stopped();
    Work += tracer.Counts.Work;
    Evaluations += tracer.Counts.Evaluations;
}

void TCoordinate::SetImplicitPixel(TPoint p) {
    if (p.X >= 0 && p.Y >= 0 && p.X < Width && p.Y < Height && !FImplicitPixels.empty()) {
        const std::size_t index =
            static_cast<std::size_t>(p.Y) * static_cast<std::size_t>(Width) + p.X;
        if (FImplicitPixels[index])
            return;
        FImplicitPixels[index] = true;
    }
    TCanvas& canvas = RequireCanvas();
    canvas.SetPixel(p.X, p.Y, canvas.Pen.Color);
}

bool TCoordinate::CellMayHoldCurve(TExpCal& calculator, TVarMemory& variables, double L, double T,
                                   double R, double B) {
    TPicturePlotter plotter(*this);
    TImplicitTracer tracer(calculator, variables, ImplicitSettings(calculator, 0), plotter);
    const bool may = tracer.CellTest(tracer.Root(L, T, R, B));
    Work += tracer.Counts.Work;
    Evaluations += tracer.Counts.Evaluations;
    return may;
}

} // namespace curvana
