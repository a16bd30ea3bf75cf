#include "view/applystyle.h"
#include "view/coordinate.h"
#include "view/graphcaption.h"
#include "view/walk.h"

#include <algorithm>
#include <cmath>

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

// f at one point: whether it succeeded, and its value.
struct TCorner {
    double X, Y;
    bool Ok = false;
    double Value = 0;
};

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
    variables.SetValue("x", range.XLo);
    variables.SetValue("y", range.YLo);
    SaveCanvasState();
    // A region never has an outline, and its legend sample shows the same: the change stays.
    F.GraphStyle.LineWidth = 0;
    F.GraphStyle.LineStyle = psClear;
    ApplyTo(F.GraphStyle, canvas);
    const std::int32_t sx = XAxesDirection == 0 ? -1 : 1;
    const std::int32_t sy = YAxesDirection == 1 ? -1 : 1;

    std::int64_t budget = DrawLimits.RegionPoints;
    for (TStepWalk y(range.YLo, ch, DrawLimits.RegionPoints); y.Value() <= range.YHi;) {
        variables.SetValue("x", range.XLo);
        for (TStepWalk x(range.XLo, cw, DrawLimits.RegionPoints);
             x.Value() <= range.XHi && budget > 0;) {
            --budget;
            if (Evaluate(calculator) && calculator.Value != 0) {
                TPoint p1 = WorldToScreen(x.Value() - cw / 2, y.Value() - ch / 2);
                TPoint p2 = WorldToScreen(x.Value() + cw / 2, y.Value() + ch / 2);
                p1.X += sx;
                p2.Y += sy;
                canvas.Rectangle(p1.X, p1.Y, p2.X, p2.Y);
            }
            if (!x.Next())
                break;
            variables.SetValue("x", x.Value());
        }
        if (budget <= 0 || !y.Next())
            break;
        variables.SetValue("y", y.Value());
    }
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
    FImplicitCells = 0;
    FImplicitTests = 0;
    RefineImplicitCell(calculator, variables, range.XLo, range.YHi, range.XHi, range.YLo, s);
    RestoreCanvasState();
}

void TCoordinate::RefineImplicitCell(TExpCal& calculator, TVarMemory& variables, double L, double T,
                                     double R, double B, long double S) {
    RefineCell(calculator, variables, L, T, R, B, S, 0);
}

// Below the depth limit a cell counts as final even when larger than S; once the cell or test
// budget of the curve is spent, nothing more is examined or drawn.
void TCoordinate::RefineCell(TExpCal& calculator, TVarMemory& variables, double L, double T,
                             double R, double B, long double S, int depth) {
    const bool large = std::fabs(static_cast<long double>(L) - R) >= S ||
                       std::fabs(static_cast<long double>(T) - B) >= S;
    if (large && depth < DrawLimits.ImplicitDepth) {
        const double mx = (L + R) / 2;
        const double my = (T + B) / 2;
        const double quadrants[4][4] = {
            {L, T, mx, my}, {mx, T, R, my}, {L, my, mx, B}, {mx, my, R, B}};
        for (const auto& q : quadrants) {
            if (FImplicitTests >= DrawLimits.ImplicitTests ||
                FImplicitCells >= DrawLimits.ImplicitCells)
                return;
            ++FImplicitTests;
            if (CellMayHoldCurve(calculator, variables, q[0], q[1], q[2], q[3]))
                RefineCell(calculator, variables, q[0], q[1], q[2], q[3], S, depth + 1);
        }
        return;
    }
    if (FImplicitCells >= DrawLimits.ImplicitCells)
        return;
    ++FImplicitCells;

    TCorner corners[4] = {{L, T}, {R, B}, {R, T}, {L, B}};
    for (TCorner& c : corners) {
        variables.SetValue("x", c.X);
        variables.SetValue("y", c.Y);
        c.Ok = Evaluate(calculator);
        c.Value = std::fabs(calculator.Value);
    }
    // A corner whose evaluation failed has no value: it is neither a minimum nor compared.
    double m = INFINITY;
    bool any = false;
    for (const TCorner& c : corners)
        if (c.Ok) {
            m = any ? std::min(m, c.Value) : c.Value;
            any = true;
        }
    if (!any)
        return;
    for (int i = 0; i < 4; ++i) {
        if (!corners[i].Ok || corners[i].Value != m)
            continue;
        PlotWorldPixel(corners[i].X, corners[i].Y);
        // The nearest of the other three as well (all of them on ties).
        for (int j = 0; j < 4; ++j) {
            if (j == i || !corners[j].Ok)
                continue;
            bool nearest = true;
            for (int k = 0; k < 4; ++k)
                if (k != i && k != j && corners[k].Ok && corners[j].Value > corners[k].Value)
                    nearest = false;
            if (nearest)
                PlotWorldPixel(corners[j].X, corners[j].Y);
        }
    }
}

// Corners of both signs (or a zero) may enclose the curve; corners of one sign only when a
// probe along one edge finds the other sign. Failed corners take no part in the sign test, so
// the border of an expression's domain is not mistaken for the curve.
bool TCoordinate::CellMayHoldCurve(TExpCal& calculator, TVarMemory& variables, double L, double T,
                                   double R, double B) {
    TCorner corners[4] = {{L, T}, {R, T}, {R, B}, {L, B}};
    bool any = false;
    bool allPositive = true;
    bool allNegative = true;
    for (TCorner& c : corners) {
        variables.SetValue("x", c.X);
        variables.SetValue("y", c.Y);
        c.Ok = Evaluate(calculator);
        if (!c.Ok)
            continue;
        any = true;
        allPositive = allPositive && calculator.Value > 0;
        allNegative = allNegative && calculator.Value < 0;
    }
    if (!any)
        return false;
    if (!allPositive && !allNegative)
        return true;

    // Probes at L + h, L + 2h, ... up to the first sum not below R: five, or six where
    // rounding leaves the fifth just short; never more.
    const double h = std::fabs(R - L) / 5;
    const double edge = allPositive ? B : T;
    double x = L;
    for (int probe = 0; probe < 6 && x < R; ++probe) {
        const double next = x + h;
        if (!(next > x))
            break;
        x = next;
        variables.SetValue("x", x);
        variables.SetValue("y", edge);
        if (Evaluate(calculator) && (allPositive ? calculator.Value < 0 : calculator.Value > 0))
            return true;
    }
    return false;
}

} // namespace curvana
