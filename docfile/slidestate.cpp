#include "docfile/slidestate.h"

namespace curvana {

TSlideState::TSlideState() {
    AddPlotVariables(Variables);
    AddPlotConstants(Constants);
}

} // namespace curvana
