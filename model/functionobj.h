#pragma once

#include "common/types.h"
#include "model/graphstyle.h"
#include "model/interval.h"
#include "model/plotparameter.h"

#include <string>

namespace curvana {

// FunctionObjType codes: how Exp and AddExp are plotted. Any other code draws nothing.
constexpr TEnum8 ftYofX = 0;       // Exp in x gives y
constexpr TEnum8 ftXofY = 1;       // Exp in y gives x
constexpr TEnum8 ftPolar = 2;      // Exp in a gives the radius
constexpr TEnum8 ftParametric = 3; // Exp gives x, AddExp gives y, both in t
constexpr TEnum8 ftRelation = 4;   // Exp and AddExp form a relation in x and y

// One function graph. The sub-objects are members, so they live and die with the graph and keep
// their identity: Assign copies into them, never replaces them. Copying is only through Assign.
class TFunctionObj {
public:
    std::string Name = "UnknownFunctionObj";
    std::string Exp;
    std::string AddExp;
    TFlag ShowEnabled = 0;
    std::string Description = "Unknown Description";
    TGraphStyle GraphStyle;
    TInterval Interval;
    TInterval AddInterval;
    TPlotParameter PlotParameter;
    TEnum8 FunctionObjType = ftYofX;

    TFunctionObj() = default;
    TFunctionObj(const TFunctionObj&) = delete;
    TFunctionObj& operator=(const TFunctionObj&) = delete;

    void Assign(const TFunctionObj& source);
};

} // namespace curvana
