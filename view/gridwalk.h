#pragma once

#include "view/walk.h"

#include <cstdint>

namespace curvana {

// The points of a region's grid along one axis: first, first + step, ... while not beyond
// `last`, as a step walk gives them, and then `last` itself when the repeated sum passed it
// more than half a step short of it. A step that divides the range evenly thus always reaches
// the last row or column, which rounding of the sum would otherwise lose. At most `cap` points.
class TGridWalk {
public:
    TGridWalk(double first, double step, double last, std::int64_t cap)
        : FWalk(first, step, cap), FValue(first), FStep(step), FLast(last) {}

    double Value() const { return FValue; }

    // False when the walk ends; the value then stays the last one given.
    bool Next() {
        if (FEnded || !FWalk.Next())
            return false;
        if (FWalk.Value() <= FLast) {
            FValue = FWalk.Value();
            return true;
        }
        FEnded = true;
        if (!(FValue < FLast - FStep / 2))
            return false;
        FValue = FLast;
        return true;
    }

private:
    TStepWalk FWalk;
    double FValue;
    double FStep;
    double FLast;
    bool FEnded = false;
};

} // namespace curvana
