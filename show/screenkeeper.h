#pragma once

#include <QObject>

namespace curvana {

// Screens come and go during a show (a projector unplugged). When one goes, open menus are
// closed, since they were placed for the screens of their opening and would keep the mouse
// and keyboard while out of sight, and every other window of the program left on no screen is
// brought to the middle of the screen it now belongs to. Full-screen windows cover their new
// screen by themselves.
class TScreenKeeper : public QObject {
    Q_OBJECT
public:
    explicit TScreenKeeper(QObject* parent = nullptr);

private:
    static void KeepWindowsOnScreens();
};

} // namespace curvana
