#pragma once

#include "view/font.h"

#include <QFont>

#include <optional>

class QWidget;

namespace curvana {

// The font a font dialog shows for a description: its face and its size in points.
QFont FontForChooser(const TFont& font);

// A font chosen in a font dialog as a description: face, size and style come from the chosen
// font; colour, character set, pitch, resolution and rotation stay those of base. A face and a
// whole point size as the dialog showed them for base leave base's name and height as they were.
TFont FontFromChooser(const QFont& chosen, const TFont& base);

// The platform's font dialog, starting from initial; no value when the user cancels.
std::optional<TFont> ChooseFontWithDialog(QWidget* owner, const TFont& initial);

} // namespace curvana
