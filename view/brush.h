#pragma once

#include "common/types.h"
#include "model/graphstyle.h"

namespace curvana {

// The canvas brush. Style takes the brush style codes of model/graphstyle.h (bsSolid ...).
// Setting Color does not touch Style here; code that needs a particular style sets it.
class TBrush {
public:
    TColor Color = clWhite;
    TEnum8 Style = bsSolid;

    friend bool operator==(const TBrush&, const TBrush&) = default;
};

} // namespace curvana
