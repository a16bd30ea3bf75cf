#pragma once

#include "view/font.h"

#include <QFont>
#include <QString>
#include <string>

namespace curvana {

// The family actually asked for: the classic dialog faces, which this platform does not have,
// go to fixed installed families so that text renders the same on every machine; every other
// name is passed on (fontconfig substitutes what is missing).
QString MappedFontFamily(const std::string& name);

// Largest pixel size a font is made with; larger heights are clamped.
constexpr int MaxFontPixelSize = 2000;

// The font for a font description. Height < 0 is the character height (the em size) in pixels,
// Height > 0 the cell height (ascent + descent), 0 the default height of 11 pixels. Escapement
// is not part of the QFont: the canvas rotates the painter instead.
QFont ToQFont(const TFont& font);

} // namespace curvana
