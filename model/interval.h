#pragma once

#include "common/types.h"

namespace curvana {

// A closed range of a variable. Min < Max is not enforced: the plotting code decides what an
// empty or reversed range means.
class TInterval {
public:
    double Min = 0;
    double Max = 0;
    TFlag Enabled = 0;

    TInterval() = default;
    TInterval(TFlag enabled, double min, double max) : Min(min), Max(max), Enabled(enabled) {}

    void Assign(const TInterval& source);

    friend bool operator==(const TInterval&, const TInterval&) = default;
};

} // namespace curvana
