#pragma once

#include <QString>
#include <QtGlobal>

class QScreen;

namespace curvana {

// How the program names a screen to the presenter: its number from 1, its name and its size in
// device pixels ("2: HDMI-1 (1920x1080)"), the resolution the monitor's own settings show. The
// logical size would read 960x540 for that monitor at 200 % scaling.
QString ScreenLabel(qsizetype number, const QScreen& screen);

} // namespace curvana
