#pragma once

#include "common/types.h"

namespace curvana {

// A flag is on only when it holds 1, for every consumer alike (drawing, menus, dialogs, checks),
// so that a stray value such as 2 cannot be drawn one way and shown checked the other. The
// value itself is kept as written.
constexpr bool IsOn(TFlag flag) {
    return flag == 1;
}

} // namespace curvana
