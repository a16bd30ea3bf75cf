#include "model/graphstyle.h"

namespace curvana {

void TGraphStyle::Assign(const TGraphStyle& source) {
    LineWidth = source.LineWidth;
    LineStyle = source.LineStyle;
    LineColor = source.LineColor;
    BrushStyle = source.BrushStyle;
    BrushColor = source.BrushColor;
}

} // namespace curvana
