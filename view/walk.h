#pragma once

#include <cmath>
#include <cstdint>

namespace curvana {

// A walk by repeated addition: first, first + step, first + step + step, ... The caller tests
// each value against its own end. Next fails, ending the walk, when the sum stops growing (a
// step of zero, a negative step, a step that is no number or too small to change the sum), when
// the sum is no longer finite, or when the walk has produced `cap` values, so that no walk runs
// forever.
class TStepWalk {
public:
    TStepWalk(double first, double step, std::int64_t cap)
        : FValue(first), FStep(step), FLeft(cap - 1) {}

    double Value() const { return FValue; }

    bool Next() {
        if (FLeft <= 0)
            return false;
        const double next = FValue + FStep;
        if (!(next > FValue) || std::isinf(next))
            return false;
        FValue = next;
        --FLeft;
        return true;
    }

private:
    double FValue;
    double FStep;
    std::int64_t FLeft;
};

} // namespace curvana
