#include "view/calculatorcopy.h"

namespace curvana {

TCalculatorCopy::TCalculatorCopy(const TExpCal& calculator, const TVarMemory& variables) {
    for (int i = 0; i < variables.Count(); ++i)
        Variables.AddVariable(variables.At(i)->Name, variables.At(i)->Value);
    Calculator = std::make_unique<TExpCal>(calculator.Expression(), calculator.OperatorLib(),
                                           Variables, calculator.Constants());
}

} // namespace curvana
