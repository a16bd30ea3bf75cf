#include "dialogs/comboboxlinestyle.h"

#include "model/graphstyle.h"
#include "view/canvas.h"

namespace curvana {

TComboboxLineStyle::TComboboxLineStyle(QWidget* parent) : TOwnerDrawCombo(parent) {
    SetCD_MaxLineStyle(DefaultMaxLineStyle);
}

void TComboboxLineStyle::SetCD_MaxLineStyle(std::int32_t count) {
    if (count <= 0)
        count = 1;
    if (count > 5)
        count = 5;
    FMaxLineStyle = count;
    ResetItems(count);
}

TEnum8 TComboboxLineStyle::CD_CurrentPenStyle() const {
    switch (currentIndex()) {
    case 1:
        return psDash;
    case 2:
        return psDot;
    case 3:
        return psDashDot;
    case 4:
        return psDashDotDot;
    default:
        return psSolid;
    }
}

void TComboboxLineStyle::SetCD_CurrentPenStyle(TEnum8 style) {
    switch (style) {
    case psDash:
        setCurrentIndex(1);
        break;
    case psDot:
        setCurrentIndex(2);
        break;
    case psDashDot:
        setCurrentIndex(3);
        break;
    case psDashDotDot:
        setCurrentIndex(4);
        break;
    default:
        setCurrentIndex(0);
        break;
    }
}

void TComboboxLineStyle::DrawItem(TCanvas& canvas, int index, const TRect& rect) {
    canvas.FillRect(rect);
    switch (index) {
    case 0:
        canvas.Pen.Style = psSolid;
        break;
    case 1:
        canvas.Pen.Style = psDash;
        break;
    case 2:
        canvas.Pen.Style = psDot;
        break;
    case 3:
        canvas.Pen.Style = psDashDot;
        break;
    case 4:
        canvas.Pen.Style = psDashDotDot;
        break;
    default:
        break;
    }
    canvas.Pen.Width = 1;
    const std::int32_t middle = rect.Top + (rect.Bottom - rect.Top) / 2;
    canvas.MoveTo(rect.Left, middle);
    canvas.LineTo(rect.Left + 2 * ((rect.Right - rect.Left) / 2), middle);
}

} // namespace curvana
