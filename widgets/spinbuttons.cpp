#include "widgets/spinbuttons.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace curvana {

TSpinButtons::TSpinButtons(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    UpButton = new QToolButton(this);
    UpButton->setArrowType(Qt::UpArrow);
    DownButton = new QToolButton(this);
    DownButton->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {UpButton, DownButton}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        layout->addWidget(button);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] { ArrowClicked(true); });
    connect(DownButton, &QToolButton::clicked, this, [this] { ArrowClicked(false); });
}

} // namespace curvana
