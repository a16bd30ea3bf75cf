#pragma once

#include "common/types.h"
#include "view/canvas.h"

namespace curvana {

// The colour to write text in on `ground`: `text` itself where it stands out well enough from
// it (a contrast ratio of 4.5 or more, which black has on every light ground), else black or
// white, whichever stands out more.
TColor ReadableTextColor(TColor text, TColor ground);

// What text written now stands on: a box of the brush colour under a solid brush, else the
// background.
TColor TextGround(const TCanvas& canvas, TColor background);

} // namespace curvana
