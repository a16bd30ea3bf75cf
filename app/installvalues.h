#pragma once

#include "platform/usersettings.h"

#include <QString>

namespace curvana {

// The settings store that records where the program lives: user scope, organisation "Orvane"
// ($XDG_CONFIG_HOME/Orvane.conf on this platform).
inline constexpr const char* InstallOrganization = UserSettingsOrganization;
inline constexpr const char* InstallPathKey = "CVShowPath";
inline constexpr const char* InstallVersionKey = "CVShowVersion";

// Writes CVShowPath (exeDir, with its trailing separator) and CVShowVersion ("2.0"),
// overwriting what is there. Throws ECurvanaError "Failed to set data for '<name>'" when the
// store cannot be written.
void WriteInstallValues(const QString& exeDir);

} // namespace curvana
