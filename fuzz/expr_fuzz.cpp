// Expression text in, compiled and evaluated. The input is the expression, optionally followed by
// a line with values for x, y, t and a; a value line that starts with ',' switches the decimal
// separator to a comma.
//
// Beyond crashes and sanitizer reports, the evaluation must keep its promises: a success gives a
// finite value, a failure gives 0, the by-name evaluation agrees with the fast one, repeating an
// evaluation gives the same result, and the temporaries leave the variable list again.

#include "common/decimalseparator.h"
#include "common/errors.h"
#include "expr/expcal.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

using namespace curvana;

namespace {

void Fail(const char* what, const std::string& expression) {
    std::fprintf(stderr, "%s for expression '%s'\n", what, expression.c_str());
    std::abort();
}

bool Same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = input.find('\n');
    const std::string expression(input.substr(0, lineEnd));
    std::string values(lineEnd == std::string_view::npos ? "" : input.substr(lineEnd + 1));

    TDecimalSeparatorScope separator(!values.empty() && values[0] == ',' ? ',' : '.');

    TOperatorLib library;
    TVarMemory variables;
    TVarMemory constants;
    const char* names[] = {"x", "y", "t", "a"};
    const char* cursor = values.c_str();
    for (const char* name : names) {
        char* end = nullptr;
        const double value = std::strtod(cursor, &end);
        variables.AddVariable(name, end == cursor ? 0.0 : value);
        cursor = end == cursor ? cursor : end;
    }
    AddPlotConstants(constants);

    try {
        TExpCal cal(expression, library, variables, constants);
        const bool ok = cal.Evaluate();
        const double value = cal.Value;
        if (ok && !std::isfinite(value))
            Fail("a successful evaluation gave a value that is not finite", expression);
        if (!ok && value != 0)
            Fail("a failed evaluation left a value other than 0", expression);
        if (variables.Count() != 4)
            Fail("the temporaries stayed in the variable list", expression);
        // random() draws a new number every time; everything else is deterministic.
        if (expression.find("random") == std::string::npos) {
            const bool again = cal.Evaluate();
            if (again != ok || !Same(cal.Value, value))
                Fail("a second evaluation differs from the first", expression);
            const bool byNames = cal.EvaluateByNames();
            if (byNames != ok || !Same(cal.Value, value)) {
                std::fprintf(stderr, "fast %d %.17g, by names %d %.17g\n", ok, value, byNames,
                             cal.Value);
                Fail("the evaluation by names differs from the fast one", expression);
            }
            if (variables.Count() != 4)
                Fail("the temporaries stayed in the variable list", expression);
        }
    } catch (const EOverflow&) {
        // A number literal beyond the double range: the documented refusal.
    }
    return 0;
}
