#pragma once

#include "common/types.h"

namespace curvana {

// The fixed value of a system colour index (0 scroll bar ... 30 menu bar), as 0x00BBGGRR.
// Fixed rather than taken from the desktop theme, so that pictures are the same everywhere.
// Unknown indices give black.
TColor SystemColorValue(int index);

// A colour value with system colours resolved; other high bytes are ignored.
TColor ResolveColor(TColor color);

// How far two colours stand apart as light and dark: the ratio of their relative luminances
// (each plus 0.05), from 1 for equal brightness to 21 for black against white.
double ContrastRatio(TColor a, TColor b);

} // namespace curvana
