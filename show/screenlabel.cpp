#include "show/screenlabel.h"

#include <QScreen>
#include <QSizeF>

namespace curvana {

QString ScreenLabel(qsizetype number, const QScreen& screen) {
    const QSize device = (QSizeF(screen.size()) * screen.devicePixelRatio()).toSize();
    return QStringLiteral("%1: %2 (%3x%4)")
        .arg(number)
        .arg(screen.name())
        .arg(device.width())
        .arg(device.height());
}

} // namespace curvana
