#pragma once

#include "expr/operatorlib.h"
#include "expr/varmemory.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace curvana {

// One thing in an expression that the calculator reads otherwise than its author most likely
// meant.
struct TExpNote {
    std::size_t Column; // 1-based, in characters of the expression
    std::string Message;
};

// Compiles the expression as the plotters do and explains, in text order:
// - every piece of text the scan leaves out, with a hint: names are lower case (Sin, X), the
//   constant is PI, superscripts are written ^2, there is no exponent notation (1e-3), one
//   decimal separator per number, round brackets only, and so on;
// - a blank inside a number ("1 000" reads as 1 and 000 side by side);
// - operands left side by side with nothing joining them ("x 2", "x2");
// - a sign right after an operator that stops the compilation ("x*-1", "2^-x").
// The calculator is not changed by any of it; an expression without surprises gives no note.
std::vector<TExpNote> ExplainExpression(std::string_view expression,
                                        const TOperatorLib& operatorLib, TVarMemory& variables,
                                        const TVarMemory& constants);

} // namespace curvana
