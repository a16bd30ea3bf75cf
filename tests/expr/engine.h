#pragma once

#include "expr/expcal.h"

#include <string>
#include <vector>

namespace curvana::testing {

// The lists a slide window sets up: variables x, y, t, a and the constant PI.
struct TEngine {
    TOperatorLib Library;
    TVarMemory Variables;
    TVarMemory Constants;

    TEngine() {
        AddPlotVariables(Variables);
        AddPlotConstants(Constants);
    }

    std::vector<std::string> VariableNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < Variables.Count(); ++i) {
            names.push_back(Variables.At(i)->Name);
        }
        return names;
    }
};

inline std::string TokenText(const TExpCal& cal) {
    std::string text;
    for (const TExpFactor& f : cal.Tokens()) {
        text += (text.empty() ? "" : " ") + f.Name;
    }
    return text;
}

// "result op1 op2 operator" per instruction, joined by "; ".
inline std::string InstructionText(const TExpCal& cal) {
    std::string text;
    const TExpFactorList& list = cal.Instructions();
    for (int i = 0; i + 3 < list.Count(); i += 4) {
        text += text.empty() ? "" : "; ";
        text += list.At(i)->Name + " " + list.At(i + 1)->Name + " " + list.At(i + 2)->Name + " " +
                list.At(i + 3)->Name;
    }
    return text;
}

} // namespace curvana::testing
