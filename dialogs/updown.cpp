#include "dialogs/updown.h"

#include "common/numtext.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace curvana {

TUpDown::TUpDown(QLineEdit* associate, std::int32_t min, std::int32_t max, QWidget* parent)
    : QWidget(parent), FAssociate(associate), FMin(min), FMax(std::max(min, max)), FPosition(min) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    UpButton = new QToolButton(this);
    UpButton->setArrowType(Qt::UpArrow);
    DownButton = new QToolButton(this);
    DownButton->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {UpButton, DownButton}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        layout->addWidget(button);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] { Step(1); });
    connect(DownButton, &QToolButton::clicked, this, [this] { Step(-1); });
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
