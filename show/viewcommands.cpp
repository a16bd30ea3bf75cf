#include "show/viewcommands.h"

#include "common/flags.h"
#include "common/numtext.h"
#include "view/coordinate.h"

#include <cmath>

namespace curvana {

namespace {

// Adds delta to both ends; both are computed before either is stored.
void Shift(TInterval& interval, long double delta) {
    const double min = StoreDouble(static_cast<long double>(interval.Min) + delta);
    const double max = StoreDouble(static_cast<long double>(interval.Max) + delta);
    interval.Min = min;
    interval.Max = max;
}

long double HalfWidth(const TInterval& interval) {
    return std::fabs(static_cast<long double>(interval.Max) -
                     static_cast<long double>(interval.Min)) /
           2;
}

// Interval, tick step, label step and (when its grid is on) grid step of one axis scaled by
// factor; all new values are formed before any is stored.
void Scale(TInterval& interval, double& ticksStep, double& labelsStep, double& gridStep,
           bool gridEnabled, long double factor) {
    const double min = StoreDouble(interval.Min * factor);
    const double max = StoreDouble(interval.Max * factor);
    const double ticks = StoreDouble(ticksStep * factor);
    const double labels = StoreDouble(labelsStep * factor);
    const double grid = gridEnabled ? StoreDouble(gridStep * factor) : gridStep;
    interval.Min = min;
    interval.Max = max;
    ticksStep = ticks;
    labelsStep = labels;
    gridStep = grid;
}

void ScaleHor(TCoordinate& view, long double factor) {
    Scale(view.XInterval, view.XAxesTicksStep, view.XAxesLabelsStep, view.GridVerStep,
          IsOn(view.GridVerEnabled), factor);
}

void ScaleVer(TCoordinate& view, long double factor) {
    Scale(view.YInterval, view.YAxesTicksStep, view.YAxesLabelsStep, view.GridHorStep,
          IsOn(view.GridHorEnabled), factor);
}

void ScaleRadial(TCoordinate& view, long double factor) {
    if (IsOn(view.GridRadialEnabled))
        view.GridRadialStep = StoreDouble(view.GridRadialStep * factor);
}

} // namespace

void MoveLeft(TCoordinate& view) {
    Shift(view.XInterval, -static_cast<long double>(view.XAxesTicksStep));
}
void MoveRight(TCoordinate& view) {
    Shift(view.XInterval, view.XAxesTicksStep);
}
void MoveUp(TCoordinate& view) {
    Shift(view.YInterval, view.YAxesTicksStep);
}
void MoveDown(TCoordinate& view) {
    Shift(view.YInterval, -static_cast<long double>(view.YAxesTicksStep));
}

void MoveLeftMore(TCoordinate& view) {
    Shift(view.XInterval, -HalfWidth(view.XInterval));
}
void MoveRightMore(TCoordinate& view) {
    Shift(view.XInterval, HalfWidth(view.XInterval));
}
void MoveUpMore(TCoordinate& view) {
    Shift(view.YInterval, HalfWidth(view.YInterval));
}
void MoveDownMore(TCoordinate& view) {
    Shift(view.YInterval, -HalfWidth(view.YInterval));
}

void ViewCenter(TCoordinate& view) {
    const long double hx = HalfWidth(view.XInterval);
    const long double hy = HalfWidth(view.YInterval);
    // A width beyond the largest double has a half that still fits; store both first.
    const double x = StoreDouble(hx);
    const double y = StoreDouble(hy);
    if (hx != 0) {
        view.XInterval.Min = -x;
        view.XInterval.Max = x;
    }
    if (hy != 0) {
        view.YInterval.Min = -y;
        view.YInterval.Max = y;
    }
}

void ExpandHor(TCoordinate& view) {
    ScaleHor(view, 2.0L);
}
void ExpandVer(TCoordinate& view) {
    ScaleVer(view, 2.0L);
}
void ContractHor(TCoordinate& view) {
    ScaleHor(view, 0.5L);
}
void ContractVer(TCoordinate& view) {
    ScaleVer(view, 0.5L);
}

void ExpandRadialGrid(TCoordinate& view) {
    ScaleRadial(view, 2.0L);
}
void ContractRadialGrid(TCoordinate& view) {
    ScaleRadial(view, 0.5L);
}

} // namespace curvana
