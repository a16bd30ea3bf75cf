#include "model/interval.h"

namespace curvana {

void TInterval::Assign(const TInterval& source) {
    Min = source.Min;
    Max = source.Max;
    Enabled = source.Enabled;
}

} // namespace curvana
