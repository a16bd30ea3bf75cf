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
        if (FLeft <= 0) {
            FCapped = true;
            return false;
        }
        const double next = FValue + FStep;
        if (!(next > FValue) || std::isinf(next))
            return false;
        FValue = next;
        --FLeft;
        return true;
    }

    // Whether the last Next failed because the walk had produced `cap` values.
    bool Capped() const { return FCapped; }
    // Whether the cap stopped the walk while its next value was still at or before `end`: what
    // the walk gave is not the whole.
    bool CutBefore(double end) const { return FCapped && FValue + FStep <= end; }
    double Step() const { return FStep; }

private:
    double FValue;
    double FStep;
    std::int64_t FLeft;
    bool FCapped = false;
};

// A walk by repeated addition from first to end, both included: when the sum passes the end,
// one last value is the end itself, so a curve over a whole interval (a full turn) closes. The
// end is not added when the last sum lies within `closeEnough` of it (a grid keeps no sliver of
// a cell), nor when the walk stops for another reason (a step that does not advance, the cap;
// the cap counts the end too).
class TEndWalk {
public:
    TEndWalk(double first, double step, double end, std::int64_t cap, double closeEnough = 0)
        : FWalk(first, step, cap), FEnd(end), FCloseEnough(closeEnough) {}

    // Whether the walk still has a value: false at once when first is beyond the end.
    bool Within() const { return FAtEnd || FWalk.Value() <= FEnd; }
    double Value() const { return FAtEnd ? FEnd : FWalk.Value(); }

    bool Next() {
        if (FAtEnd)
            return false;
        const double last = FWalk.Value();
        if (!FWalk.Next())
            return false;
        FAtEnd = !(FWalk.Value() <= FEnd) && last < FEnd - FCloseEnough;
        return true;
    }

    // Whether the walk was stopped by its cap while values were left before the end: what it
    // drew is not the whole.
    bool Cut() const {
        if (FAtEnd || !FWalk.Capped())
            return false;
        const double last = FWalk.Value();
        return last + FWalk.Step() <= FEnd || last < FEnd - FCloseEnough;
    }

private:
    TStepWalk FWalk;
    double FEnd;
    double FCloseEnough;
    bool FAtEnd = false;
};

} // namespace curvana
