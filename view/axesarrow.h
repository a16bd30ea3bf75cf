#pragma once

#include "common/types.h"

#include <string>
#include <utility>

namespace curvana {

// The arrow at the positive end of an axis and the axis name written beside it.
class TAxesArrow {
public:
    TFlag Enabled = 0;
    std::string Name;

    TAxesArrow() = default;
    TAxesArrow(TFlag enabled, std::string name) : Enabled(enabled), Name(std::move(name)) {}

    friend bool operator==(const TAxesArrow&, const TAxesArrow&) = default;
};

} // namespace curvana
