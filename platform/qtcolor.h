#pragma once

#include "common/colors.h"

#include <QColor>

namespace curvana {

QColor ToQColor(TColor color);

} // namespace curvana
