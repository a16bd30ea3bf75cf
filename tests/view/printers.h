#pragma once

#include "view/geometry.h"

#include <ostream>

namespace curvana {

// Readable failure messages for pixel points.
inline void PrintTo(const TPoint& p, std::ostream* os) {
    *os << "(" << p.X << ", " << p.Y << ")";
}

} // namespace curvana
