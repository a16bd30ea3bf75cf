#include "capture/spinarrows.h"

#include "common/numtext.h"

#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace curvana {

TSpinArrows::TSpinArrows(QWidget* parent) : TSpinButtons(parent) {
    for (QToolButton* button : {UpButton, DownButton})
        button->setFixedSize(16, 11);
}

void TSpinArrows::Step(bool up) {
    std::int32_t value = 0;
    if (Associate != nullptr && TryStrToInt(Associate->text().toStdString(), value)) {
        const std::int64_t next = static_cast<std::int64_t>(value) +
                                  (up ? Increment : -static_cast<std::int64_t>(Increment));
        const std::int64_t clamped = std::clamp<std::int64_t>(next, Min, Max);
        Associate->setText(QString::number(clamped));
    }
    emit Click(up);
}

} // namespace curvana
