#pragma once

#include "expr/expcal.h"
#include "expr/varmemory.h"

#include <memory>

namespace curvana {

// The caller's expression compiled again against a copy of its variables, for a helper thread:
// evaluations on the copy touch nothing the caller or another thread uses. The copy compiles as
// the caller's calculator did only if the variables have not changed their names since.
struct TCalculatorCopy {
    TCalculatorCopy(const TExpCal& calculator, const TVarMemory& variables);

    TVarMemory Variables;
    std::unique_ptr<TExpCal> Calculator;
};

} // namespace curvana
