#pragma once

#include "common/types.h"
#include "view/font.h"

#include <string>

namespace curvana {

// A free text label as a document gives it: the slide window turns each into an on-screen label
// whose top-left corner sits on the pixel of (x, y).
class TAddLabelData {
public:
    std::string Caption;
    // Background, seen unless Transparent.
    TColor Color = clWindow;
    TFlag Transparent = 0;
    TFont Font;
    double x = 0;
    double y = 0;
};

} // namespace curvana
