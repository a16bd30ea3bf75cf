#include "view/applystyle.h"

namespace curvana {

void ApplyTo(const TGraphStyle& style, TCanvas& canvas) {
    canvas.Pen.Width = style.LineWidth;
    canvas.Pen.Style = style.LineStyle;
    canvas.Pen.Color = style.LineColor;
    canvas.Brush.Color = style.BrushColor;
    canvas.Brush.Style = style.BrushStyle;
}

} // namespace curvana
