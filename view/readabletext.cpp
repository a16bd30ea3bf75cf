#include "view/readabletext.h"

#include "common/colors.h"

#include <algorithm>

namespace curvana {

TColor ReadableTextColor(TColor text, TColor ground) {
    constexpr double Enough = 4.5;
    const double own = ContrastRatio(text, ground);
    if (own >= Enough)
        return text;
    const double black = ContrastRatio(clBlack, ground);
    const double white = ContrastRatio(clWhite, ground);
    if (std::max(black, white) <= own)
        return text;
    return black >= white ? clBlack : clWhite;
}

TColor TextGround(const TCanvas& canvas, TColor background) {
    return canvas.Brush.Style == bsSolid ? canvas.Brush.Color : background;
}

} // namespace curvana
