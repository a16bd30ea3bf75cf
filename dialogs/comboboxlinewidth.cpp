#include "dialogs/comboboxlinewidth.h"

#include "view/canvas.h"

#include <string>

namespace curvana {

TComboboxLineWidth::TComboboxLineWidth(QWidget* parent) : TOwnerDrawCombo(parent) {
    SetCD_MaxLineWidth(DefaultMaxLineWidth);
}

void TComboboxLineWidth::SetCD_MaxLineWidth(std::int32_t count) {
    if (count <= 0)
        count = 1;
    FMaxLineWidth = count;
    ResetItems(count);
}

void TComboboxLineWidth::DrawItem(TCanvas& canvas, int index, const TRect& rect) {
    canvas.FillRect(rect);
    canvas.Pen.Width = index + 1;
    const std::int32_t middle = rect.Top + (rect.Bottom - rect.Top) / 2;
    canvas.MoveTo(rect.Left + 15, middle);
    canvas.LineTo(rect.Left + 2 * ((rect.Right - rect.Left) / 2), middle);
    canvas.TextOut(rect.Left, rect.Top + 3, std::to_string(index + 1));
}

} // namespace curvana
