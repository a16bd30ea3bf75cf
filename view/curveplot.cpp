#include "common/flags.h"
#include "view/applystyle.h"
#include "view/coordinate.h"
#include "view/curvetracer.h"
#include "view/freevariable.h"
#include "view/walk.h"
#include "view/walkbatch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace curvana {

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// The visible range divided into steps, in extended precision, stored as a double.
double StepOf(const TInterval& range, std::int32_t steps) {
    return static_cast<double>(
        (static_cast<long double>(range.Max) - static_cast<long double>(range.Min)) / steps);
}

// The tracer of one curve, with the graph's gap limits.
TCurveTracer Tracer(TCoordinate& view, const TPlotParameter& parameter) {
    const auto gap = static_cast<long double>(parameter.MaxGap);
    return TCurveTracer(view, gap * StepOf(view.XInterval, parameter.Steps),
                        gap * StepOf(view.YInterval, parameter.Steps));
}

// Where a y(x) or x(y) walk starts and whether the graph's interval limits it.
struct TExplicitWalk {
    double First;
    bool Limited;
};

TExplicitWalk ExplicitWalk(const TInterval& view, const TInterval& graph) {
    const bool limited = graph.Min < graph.Max;
    return {limited && view.Min < graph.Min ? graph.Min : view.Min, limited};
}

// The last value of a y(x) or x(y) walk: the view's end, or the graph's when that is earlier.
double WalkEnd(const TInterval& view, const TInterval& graph, const TExplicitWalk& walk) {
    return walk.Limited ? std::min(view.Max, graph.Max) : view.Max;
}

} // namespace

std::uint64_t TCoordinate::EvaluationWork(const TExpCal& calculator, bool batched) {
    const auto instructions =
        static_cast<std::uint64_t>(std::max(calculator.InstructionCount(), 0));
    const auto calls = static_cast<std::uint64_t>(std::max(calculator.LibraryCallCost(), 0));
    // Beyond the processor's caches an expression evaluated one sample at a time waits for memory
    // at each instruction, about six times as long; batches share the wait among their samples.
    const std::uint64_t uncached =
        !batched && instructions > LargeExpression ? instructions - LargeExpression : 0;
    return EvaluationBase + InstructionWork * instructions +
           (LibraryCallWork - InstructionWork) * calls + UncachedWork * uncached;
}

void TCoordinate::CountEvaluation(std::uint64_t work) {
    ++Evaluations;
    Work += work;
}

bool TCoordinate::Evaluate(TExpCal& calculator) {
    CountEvaluation(EvaluationWork(calculator, false));
    return calculator.Evaluate();
}

void TCoordinate::PlotFunction(TFunctionObj& F, const TOperatorLib& operatorLib,
                               TVarMemory& variables, const TVarMemory& constants) {
    PlotCut = false;
    if (!IsOn(F.ShowEnabled))
        return;
    if (!FRedrawing)
        Work = 0;
    switch (F.FunctionObjType) {
    case ftYofX:
        PlotYofX(F, operatorLib, variables, constants);
        break;
    case ftXofY:
        PlotXofY(F, operatorLib, variables, constants);
        break;
    case ftPolar:
        PlotPolar(F, operatorLib, variables, constants);
        break;
    case ftParametric:
        PlotParametric(F, operatorLib, variables, constants);
        break;
    case ftRelation:
        PlotImplicit(F, operatorLib, variables, constants);
        break;
    default:
        break;
    }
}

void TCoordinate::PlotYofX(const TFunctionObj& F, const TOperatorLib& operatorLib,
                           TVarMemory& variables, const TVarMemory& constants) {
    PlotExplicit(F, operatorLib, variables, constants, false);
}

void TCoordinate::PlotXofY(const TFunctionObj& F, const TOperatorLib& operatorLib,
                           TVarMemory& variables, const TVarMemory& constants) {
    PlotExplicit(F, operatorLib, variables, constants, true);
}

// Steps of 0 or less have no sampling to offer and draw nothing (the division would give an
// infinite or reversed step).
void TCoordinate::PlotExplicit(const TFunctionObj& F, const TOperatorLib& operatorLib,
                               TVarMemory& variables, const TVarMemory& constants, bool ofY) {
    if (F.PlotParameter.Steps <= 0)
        return;
    const auto& range = ofY ? YInterval : XInterval;
    TExpCal calculator(F.Exp, operatorLib, variables, constants);
    TFreeVariable variable(variables, ofY ? "y" : "x");
    const double step = StepOf(range, F.PlotParameter.Steps);
    const TExplicitWalk walk = ExplicitWalk(range, F.Interval);
    TCurveTracer tracer = Tracer(*this, F.PlotParameter);
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(F.GraphStyle, canvas);
    TWorldPoint previous;
    TWalkBatch samples(
        TEndWalk(walk.First, step, WalkEnd(range, F.Interval, walk), DrawLimits.WalkSamples),
        variable.Item(), {&calculator});
    const std::uint64_t work = EvaluationWork(calculator, samples.Batched());
    while (samples.Next()) {
        CountEvaluation(work);
        const TWorldPoint point = ofY ? TWorldPoint{samples.Result(0), samples.Value()}
                                      : TWorldPoint{samples.Value(), samples.Result(0)};
        tracer.Sample(samples.Ok(0), point.X, point.Y, previous);
        previous = point;
        if (WorkSpent()) {
            PlotCut = samples.Stop() || PlotCut;
            break;
        }
    }
    PlotCut = PlotCut || samples.Cut();
    RestoreCanvasState();
}

void TCoordinate::PlotParametric(const TFunctionObj& F, const TOperatorLib& operatorLib,
                                 TVarMemory& variables, const TVarMemory& constants) {
    if (F.PlotParameter.Steps <= 0)
        return;
    TExpCal xCalculator(F.Exp, operatorLib, variables, constants);
    TExpCal yCalculator(F.AddExp, operatorLib, variables, constants);
    TFreeVariable tVariable(variables, "t");
    const double dt = StepOf(F.Interval, F.PlotParameter.Steps);
    // An empty or reversed interval (the default 0..0 among them) draws nothing.
    if (!(dt > 0))
        return;
    TCurveTracer tracer = Tracer(*this, F.PlotParameter);
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(F.GraphStyle, canvas);
    // Each coordinate keeps its last successful value.
    TWorldPoint last;
    TWalkBatch t(TEndWalk(F.Interval.Min, dt, F.Interval.Max, DrawLimits.WalkSamples),
                 tVariable.Item(), {&xCalculator, &yCalculator});
    const std::uint64_t xWork = EvaluationWork(xCalculator, t.Batched());
    const std::uint64_t yWork = EvaluationWork(yCalculator, t.Batched());
    while (t.Next()) {
        CountEvaluation(xWork);
        CountEvaluation(yWork);
        const bool xOk = t.Ok(0);
        const bool yOk = t.Ok(1);
        const double x = t.Result(0);
        const double y = t.Result(1);
        tracer.Sample(xOk && yOk, x, y, last);
        if (xOk)
            last.X = x;
        if (yOk)
            last.Y = y;
        if (WorkSpent()) {
            PlotCut = t.Stop() || PlotCut;
            break;
        }
    }
    PlotCut = PlotCut || t.Cut();
    RestoreCanvasState();
}

// The interval is in units of pi.
void TCoordinate::PlotPolar(const TFunctionObj& F, const TOperatorLib& operatorLib,
                            TVarMemory& variables, const TVarMemory& constants) {
    if (F.PlotParameter.Steps <= 0)
        return;
    TExpCal calculator(F.Exp, operatorLib, variables, constants);
    TFreeVariable aVariable(variables, "a");
    const double da = static_cast<double>(
        (static_cast<long double>(F.Interval.Max) - static_cast<long double>(F.Interval.Min)) * Pi /
        F.PlotParameter.Steps);
    if (!(da > 0))
        return;
    const long double end = Pi * F.Interval.Max;
    const double first = static_cast<double>(Pi * F.Interval.Min);
    TCurveTracer tracer = Tracer(*this, F.PlotParameter);
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(F.GraphStyle, canvas);
    TWorldPoint last;
    TWalkBatch a(TEndWalk(first, da, static_cast<double>(end), DrawLimits.WalkSamples),
                 aVariable.Item(), {&calculator});
    const std::uint64_t work = EvaluationWork(calculator, a.Batched());
    while (a.Next()) {
        CountEvaluation(work);
        if (a.Ok(0)) {
            const long double r = a.Result(0);
            const double x = static_cast<double>(std::cos(static_cast<long double>(a.Value())) * r);
            const double y = static_cast<double>(std::sin(static_cast<long double>(a.Value())) * r);
            tracer.Sample(true, x, y, last);
            last = {x, y};
        } else {
            tracer.Sample(false, 0, 0, last);
        }
        if (WorkSpent()) {
            PlotCut = a.Stop() || PlotCut;
            break;
        }
    }
    PlotCut = PlotCut || a.Cut();
    RestoreCanvasState();
}

} // namespace curvana
