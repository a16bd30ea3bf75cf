#pragma once

namespace curvana {

// The user's settings store: user scope, organisation "Orvane" ($XDG_CONFIG_HOME/Orvane.conf on
// this platform).
inline constexpr const char* UserSettingsOrganization = "Orvane";

// Whether the presenter chose smooth (antialiased) lines; false until a choice was stored.
bool ReadSmoothLines();
// Stores the choice for the next show. A store that cannot be written keeps the choice for this
// run only: a look is not worth an error box in front of an audience.
void WriteSmoothLines(bool smooth);

} // namespace curvana
