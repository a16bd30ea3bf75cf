#include "show/clicklabel.h"

#include <QIcon>
#include <QMouseEvent>

namespace curvana {

TClickLabel::TClickLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
}

void TClickLabel::SetPicture(const QString& iconFile) {
    setPixmap(QIcon(iconFile).pixmap(size(), devicePixelRatioF()));
    setScaledContents(true);
}

void TClickLabel::mousePressEvent(QMouseEvent* event) {
    FPressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = FPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    FPressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit Clicked();
}

} // namespace curvana
