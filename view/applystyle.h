#pragma once

#include "model/graphstyle.h"
#include "view/canvas.h"

namespace curvana {

// Puts a graph style on the canvas: pen width, pen style, pen colour, then brush colour and
// the brush style last, so that the stored brush style is the one that stays even on a canvas
// where giving a clear brush a colour makes it solid.
void ApplyTo(const TGraphStyle& style, TCanvas& canvas);

} // namespace curvana
