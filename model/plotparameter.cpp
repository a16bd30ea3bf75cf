#include "model/plotparameter.h"

namespace curvana {

void TPlotParameter::Assign(const TPlotParameter& source) {
    Steps = source.Steps;
    StepsOnX = source.StepsOnX;
    StepsOnY = source.StepsOnY;
    MaxGap = source.MaxGap;
}

} // namespace curvana
