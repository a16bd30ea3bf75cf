#include "platform/qtcolor.h"

namespace curvana {

QColor ToQColor(TColor color) {
    const TColor value = ResolveColor(color);
    return QColor(RedOf(value), GreenOf(value), BlueOf(value));
}

} // namespace curvana
