#pragma once

#include <QWidget>

class QToolButton;

namespace curvana {

// Two arrow buttons, up above down, to stand beside a number field. They never take the focus
// from the field, and an arrow held down keeps stepping. What a step does is the subclass's.
class TSpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButtons(QWidget* parent = nullptr);

    QToolButton* UpButton = nullptr;
    QToolButton* DownButton = nullptr;

protected:
    // A click on the up (true) or down (false) arrow.
    virtual void ArrowClicked(bool up) = 0;
};

} // namespace curvana
