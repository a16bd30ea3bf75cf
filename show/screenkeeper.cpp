#include "show/screenkeeper.h"

#include <QApplication>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace curvana {

namespace {

bool OnAScreen(const QPoint& point) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&point](const QScreen* screen) {
        return screen->geometry().contains(point);
    });
}

} // namespace

TScreenKeeper::TScreenKeeper(QObject* parent) : QObject(parent) {
    // Queued: the windows of the gone screen are handed to another one first.
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &TScreenKeeper::KeepWindowsOnScreens,
            Qt::QueuedConnection);
}

void TScreenKeeper::KeepWindowsOnScreens() {
    // Each close takes one menu off the stack; a menu that refuses must not loop.
    for (int open = 0; open < 16; ++open) {
        QWidget* popup = QApplication::activePopupWidget();
        if (popup == nullptr)
            break;
        popup->close();
    }
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (!window->isVisible() || window->isFullScreen() || window->screen() == nullptr)
            continue;
        const QRect frame = window->frameGeometry();
        if (OnAScreen(frame.center()))
            continue;
        QRect moved = frame;
        moved.moveCenter(window->screen()->availableGeometry().center());
        window->move(moved.topLeft());
    }
}

} // namespace curvana
