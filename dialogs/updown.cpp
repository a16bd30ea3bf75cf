#include "dialogs/updown.h"

#include "common/numtext.h"

#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace curvana {

TUpDown::TUpDown(QLineEdit* associate, std::int32_t min, std::int32_t max, QWidget* parent)
    : TSpinButtons(parent), FAssociate(associate), FMin(min), FMax(std::max(min, max)),
      FPosition(min) {
    for (QToolButton* button : {UpButton, DownButton})
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void TUpDown::Step(std::int32_t delta) {
    std::int32_t typed = 0;
    if (FAssociate != nullptr && TryStrToInt(FAssociate->text().toStdString(), typed))
        FPosition = std::clamp(typed, FMin, FMax);
    FPosition = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{FPosition} + delta, FMin, FMax));
    if (FAssociate != nullptr)
        FAssociate->setText(QString::number(FPosition));
}

} // namespace curvana
