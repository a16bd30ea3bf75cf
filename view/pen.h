#pragma once

#include "common/types.h"
#include "model/graphstyle.h"

#include <cstdint>

namespace curvana {

// The canvas pen. Style takes the pen style codes of model/graphstyle.h (psSolid ...).
class TPen {
public:
    TColor Color = clBlack;
    std::int32_t Width = 1;
    TEnum8 Style = psSolid;

    friend bool operator==(const TPen&, const TPen&) = default;
};

} // namespace curvana
