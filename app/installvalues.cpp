#include "app/installvalues.h"

#include "app/version.h"
#include "common/errors.h"

#include <QSettings>

namespace curvana {

void WriteInstallValues(const QString& exeDir) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, InstallOrganization);
    settings.setValue(InstallPathKey, exeDir);
    settings.setValue(InstallVersionKey, QString::fromLatin1(ProgramVersion));
    settings.sync();
    // QSettings only learns at sync whether the file could be written; the first value names it.
    if (settings.status() != QSettings::NoError)
        throw ECurvanaError("Failed to set data for '" + std::string(InstallPathKey) + "'");
}

} // namespace curvana
