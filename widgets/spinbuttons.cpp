#include "widgets/spinbuttons.h"

#include <QEvent>
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
        button->installEventFilter(this);
        layout->addWidget(button);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] {
        if (!FPressSpent)
            ArrowClicked(true);
    });
    connect(DownButton, &QToolButton::clicked, this, [this] {
        if (!FPressSpent)
            ArrowClicked(false);
    });
}

void TSpinButtons::ReleaseArrows() {
    // Putting a button up also stops its repeat timer.
    for (QToolButton* button : {UpButton, DownButton})
        if (button->isDown()) {
            button->setDown(false);
            FPressSpent = true;
        }
}

bool TSpinButtons::event(QEvent* event) {
    if (event->type() == QEvent::WindowBlocked)
        ReleaseArrows();
    return QWidget::event(event);
}

bool TSpinButtons::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        FPressSpent = false;
        break;
    case QEvent::MouseMove:
        // A spent press moving back over its arrow would push it down and repeat again.
        if (FPressSpent)
            return true;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace curvana
