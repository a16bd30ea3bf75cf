#pragma once

#include <QWidget>

class QToolButton;

namespace curvana {

// Two arrow buttons, up above down, to stand beside a number field. They never take the focus
// from the field, and an arrow held down keeps stepping. What a step does is the subclass's.
//
// A modal box must never find an arrow still stepping behind it: the box takes the mouse
// release, so the arrow would stay down and keep repeating. Any modal window that blocks this
// one releases the arrows, and a handler that is about to report an error releases them itself;
// the rest of that press then does nothing.
class TSpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButtons(QWidget* parent = nullptr);

    QToolButton* UpButton = nullptr;
    QToolButton* DownButton = nullptr;

    // Both arrows up, their repeat stopped; steps start again with the next press.
    void ReleaseArrows();

protected:
    // A click on the up (true) or down (false) arrow.
    virtual void ArrowClicked(bool up) = 0;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The current press was cut short by ReleaseArrows.
    bool FPressSpent = false;
};

} // namespace curvana
