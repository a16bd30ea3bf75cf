#include "view/graphcaption.h"

#include "common/flags.h"

#include <string_view>

namespace curvana {

namespace {

// Blanks and control characters off both ends.
std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

bool IsImplicitCurve(const TFunctionObj& F) {
    return Trim(F.AddExp) == "=0";
}

std::string GraphCaption(const TFunctionObj& F) {
    switch (F.FunctionObjType) {
    case ftYofX:
        return "Y(x)=" + F.Exp;
    case ftXofY:
        return "X(y)=" + F.Exp;
    case ftPolar:
        return "R(a)=" + F.Exp;
    case ftParametric:
        return "X(t)=" + F.Exp + " ; Y(t)=" + F.AddExp;
    case ftRelation:
        return "f(x,y)=" + F.Exp + F.AddExp;
    default:
        return {};
    }
}

std::string GraphCaption(const TTableObj& T) {
    return "Table: " + std::to_string(T.Count()) + " Items";
}

bool TakesLegendLine(const TMemory& graphs, int index) {
    if (!IsOn(graphs.GetShowEnabled(index)))
        return false;
    const TFunctionObj* f = graphs.Function(index);
    return f == nullptr ? graphs.Table(index) != nullptr : !GraphCaption(*f).empty();
}

} // namespace curvana
