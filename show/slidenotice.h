#pragma once

#include <QLabel>

namespace curvana {

// A short message written on the slide itself instead of a modal box, for what the presenter
// should see without the show stopping: a framed, word-wrapped text at the top left of its
// parent (over the view and the labels), shown while it has a text. It follows the parent's
// size and never takes the keyboard focus or the mouse, so the show's keys and the pen work on.
class TSlideNotice : public QLabel {
    Q_OBJECT
public:
    explicit TSlideNotice(QWidget* parent);

    // Shows the text (an empty one hides the notice).
    void SetText(const QString& text);
    void Clear();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
};

} // namespace curvana
