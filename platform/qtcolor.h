#pragma once

#include "common/types.h"

#include <QColor>

namespace curvana {

// The fixed value of a system colour index (0 scroll bar ... 30 menu bar), as 0x00BBGGRR.
// Fixed rather than taken from the desktop theme, so that pictures are the same everywhere.
// Unknown indices give black.
TColor SystemColorValue(int index);

// A colour value with system colours resolved; other high bytes are ignored.
TColor ResolveColor(TColor color);

QColor ToQColor(TColor color);

} // namespace curvana
