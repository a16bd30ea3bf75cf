#include "view/applystyle.h"
#include "view/coordinate.h"
#include "view/freevariable.h"
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

    std::int64_t budget = DrawLimits.RegionPoints;
    for (TStepWalk y(range.YLo, ch, DrawLimits.RegionPoints); y.Value() <= range.YHi;) {
        xVariable.Set(range.XLo);
        for (TStepWalk x(range.XLo, cw, DrawLimits.RegionPoints);
             x.Value() <= range.XHi && budget > 0 && !WorkSpent();) {
            --budget;
            if (Evaluate(calculator) && calculator.Value != 0) {
                TPoint p1 = WorldToScreen(x.Value() - cw / 2, y.Value() - ch / 2);
                TPoint p2 = WorldToScreen(x.Value() + cw / 2, y.Value() + ch / 2);
                p1.X += sx;
                p2.Y += sy;
                Work += LineWork;
                canvas.Rectangle(p1.X, p1.Y, p2.X, p2.Y);
            }
            if (!x.Next())
                break;
            xVariable.Set(x.Value());
        }
        if (budget <= 0 || WorkSpent() || !y.Next())
            break;
        yVariable.Set(y.Value());
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
    RefineImplicitCell(calculator, variables, range.XLo, range.YHi, range.XHi, range.YLo, s);
    RestoreCanvasState();
}

struct TCoordinate::TImplicitWork {
    TExpCal& Calculator;
    TFreeVariable X;
    TFreeVariable Y;
    long double S;
};

TCoordinate::TImplicitSample TCoordinate::SampleAt(TImplicitWork& work, double X, double Y) {
    work.X.Set(X);
    work.Y.Set(Y);
    TImplicitSample sample;
    sample.Ok = Evaluate(work.Calculator);
    sample.Value = work.Calculator.Value;
    return sample;
}

TCoordinate::TCellSamples TCoordinate::SampleCorners(TImplicitWork& work, double L, double T,
                                                     double R, double B) {
    return {SampleAt(work, L, T), SampleAt(work, R, T), SampleAt(work, R, B), SampleAt(work, L, B)};
}

void TCoordinate::RefineImplicitCell(TExpCal& calculator, TVarMemory& variables, double L, double T,
                                     double R, double B, long double S) {
    TImplicitWork work{calculator, TFreeVariable(variables, "x"), TFreeVariable(variables, "y"), S};
    FImplicitCells = 0;
    FImplicitTests = 0;
    // A picture too large for the map goes without it: the curve is the same, only slower.
    const std::int64_t pixels = static_cast<std::int64_t>(std::max(Width, 0)) * std::max(Height, 0);
    FImplicitPixels.assign(pixels <= (std::int64_t{1} << 28) ? static_cast<std::size_t>(pixels) : 0,
                           false);
    RefineCell(work, SampleCorners(work, L, T, R, B), L, T, R, B, 0);
}

bool TCoordinate::CellMayHoldCurve(TExpCal& calculator, TVarMemory& variables, double L, double T,
                                   double R, double B) {
    TImplicitWork work{calculator, TFreeVariable(variables, "x"), TFreeVariable(variables, "y"), 0};
    return CellTest(work, SampleCorners(work, L, T, R, B), L, T, R, B);
}

// A cell at least S wide or high is split in four, and each quadrant that may hold the curve is
// refined; the values at the five new points are shared by the quadrants. Below the depth limit
// a cell counts as final even when larger than S; once the cell or test budget of the curve is
// spent, nothing more is examined or drawn.
void TCoordinate::RefineCell(TImplicitWork& work, const TCellSamples& c, double L, double T,
                             double R, double B, int depth) {
    const bool large = std::fabs(static_cast<long double>(L) - R) >= work.S ||
                       std::fabs(static_cast<long double>(T) - B) >= work.S;
    if (!large || depth >= DrawLimits.ImplicitDepth) {
        if (FImplicitCells >= DrawLimits.ImplicitCells || WorkSpent())
            return;
        ++FImplicitCells;
        PlotFinalCell(c, L, T, R, B);
        return;
    }
    const double mx = (L + R) / 2;
    const double my = (T + B) / 2;
    const TImplicitSample top = SampleAt(work, mx, T);
    const TImplicitSample left = SampleAt(work, L, my);
    const TImplicitSample centre = SampleAt(work, mx, my);
    const TImplicitSample right = SampleAt(work, R, my);
    const TImplicitSample bottom = SampleAt(work, mx, B);
    struct TQuadrant {
        double L, T, R, B;
        TCellSamples Corners;
    };
    const TQuadrant quadrants[4] = {{L, T, mx, my, {c[0], top, centre, left}},
                                    {mx, T, R, my, {top, c[1], right, centre}},
                                    {L, my, mx, B, {left, centre, bottom, c[3]}},
                                    {mx, my, R, B, {centre, right, c[2], bottom}}};
    for (const TQuadrant& q : quadrants) {
        if (FImplicitTests >= DrawLimits.ImplicitTests ||
            FImplicitCells >= DrawLimits.ImplicitCells || WorkSpent())
            return;
        ++FImplicitTests;
        if (CellTest(work, q.Corners, q.L, q.T, q.R, q.B))
            RefineCell(work, q.Corners, q.L, q.T, q.R, q.B, depth + 1);
    }
}

// Sets the pixel of the corner nearest to the curve (smallest |f|) and of the nearest of the
// other three (all of them on ties), each pixel once. A corner whose evaluation failed has no
// value: it is neither a minimum nor compared.
void TCoordinate::PlotFinalCell(const TCellSamples& c, double L, double T, double R, double B) {
    struct TCorner {
        double X, Y;
        TImplicitSample Sample;
    };
    // The order in which the corners are taken: (L, T), (R, B), (R, T), (L, B).
    const TCorner corners[4] = {{L, T, c[0]}, {R, B, c[2]}, {R, T, c[1]}, {L, B, c[3]}};
    double value[4];
    bool any = false;
    double m = 0;
    for (int i = 0; i < 4; ++i) {
        value[i] = std::fabs(corners[i].Sample.Value);
        if (corners[i].Sample.Ok) {
            m = any ? std::min(m, value[i]) : value[i];
            any = true;
        }
    }
    if (!any)
        return;
    // Each corner's pixel is set once, however many ties name it.
    bool set[4] = {false, false, false, false};
    for (int i = 0; i < 4; ++i) {
        if (!corners[i].Sample.Ok || value[i] != m)
            continue;
        set[i] = true;
        for (int j = 0; j < 4; ++j) {
            if (j == i || !corners[j].Sample.Ok)
                continue;
            bool nearest = true;
            for (int k = 0; k < 4; ++k)
                if (k != i && k != j && corners[k].Sample.Ok && value[j] > value[k])
                    nearest = false;
            set[j] = set[j] || nearest;
        }
    }
    for (int i = 0; i < 4; ++i)
        if (set[i])
            PlotImplicitPixel(corners[i].X, corners[i].Y);
}

void TCoordinate::PlotImplicitPixel(double X, double Y) {
    TCanvas& canvas = RequireCanvas();
    const TPoint p = WorldToScreen(X, Y);
    Work += LineWork;
    if (p.X >= 0 && p.Y >= 0 && p.X < Width && p.Y < Height && !FImplicitPixels.empty()) {
        const std::size_t index =
            static_cast<std::size_t>(p.Y) * static_cast<std::size_t>(Width) + p.X;
        if (FImplicitPixels[index])
            return;
        FImplicitPixels[index] = true;
    }
    canvas.SetPixel(p.X, p.Y, canvas.Pen.Color);
}

// Corners of both signs (or a zero) may enclose the curve; corners of one sign only when a
// probe along one edge finds the other sign. Failed corners take no part in the sign test, so
// the border of an expression's domain is not mistaken for the curve.
bool TCoordinate::CellTest(TImplicitWork& work, const TCellSamples& corners, double L, double T,
                           double R, double B) {
    bool any = false;
    bool allPositive = true;
    bool allNegative = true;
    for (const TImplicitSample& c : corners) {
        if (!c.Ok)
            continue;
        any = true;
        allPositive = allPositive && c.Value > 0;
        allNegative = allNegative && c.Value < 0;
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
        // The last probe normally lands on the right corner, whose value is known.
        const TImplicitSample sample =
            x == R ? corners[allPositive ? 2 : 1] : SampleAt(work, x, edge);
        if (sample.Ok && (allPositive ? sample.Value < 0 : sample.Value > 0))
            return true;
    }
    return false;
}

} // namespace curvana
