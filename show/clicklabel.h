#pragma once

#include <QLabel>

class QMouseEvent;

namespace curvana {

// A picture or text that acts on a click (left button pressed and released over it), with the
// hand cursor; it never takes the keyboard focus, so the window's keys keep working.
class TClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit TClickLabel(QWidget* parent = nullptr);

    // Shows the picture of the icon file stretched over the label's size.
    void SetPicture(const QString& iconFile);

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool FPressed = false;
};

} // namespace curvana
