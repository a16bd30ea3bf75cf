#include "model/functionobj.h"

namespace curvana {

void TFunctionObj::Assign(const TFunctionObj& source) {
    if (&source == this)
        return;
    Name = source.Name;
    Exp = source.Exp;
    AddExp = source.AddExp;
    ShowEnabled = source.ShowEnabled;
    Description = source.Description;
    GraphStyle.Assign(source.GraphStyle);
    Interval.Assign(source.Interval);
    AddInterval.Assign(source.AddInterval);
    PlotParameter.Assign(source.PlotParameter);
    FunctionObjType = source.FunctionObjType;
}

} // namespace curvana
