#include "capture/spinarrows.h"

#include "common/numtext.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace curvana {

TSpinArrows::TSpinArrows(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    UpButton = new QToolButton(this);
    UpButton->setArrowType(Qt::UpArrow);
    DownButton = new QToolButton(this);
    DownButton->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {UpButton, DownButton}) {
        button->setFixedSize(16, 11);
        button->setFocusPolicy(Qt::NoFocus);
        // Held down, an arrow keeps stepping.
        button->setAutoRepeat(true);
        layout->addWidget(button);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] { Step(true); });
    connect(DownButton, &QToolButton::clicked, this, [this] { Step(false); });
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
