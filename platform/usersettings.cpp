#include "platform/usersettings.h"

#include <QSettings>
#include <QString>

namespace curvana {

namespace {
constexpr const char* SmoothLinesKey = "SmoothLines";
}

bool ReadSmoothLines() {
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                             QString::fromLatin1(UserSettingsOrganization));
    return settings.value(QString::fromLatin1(SmoothLinesKey), false).toBool();
}

void WriteSmoothLines(bool smooth) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromLatin1(UserSettingsOrganization));
    settings.setValue(QString::fromLatin1(SmoothLinesKey), smooth);
}

} // namespace curvana
