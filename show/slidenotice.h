#pragma once

#include <QLabel>

namespace curvana {

// A short message written on the slide itself instead of a modal box, for what the presenter
// should see without the show stopping: a framed, word-wrapped text at the top left of its
// parent (over the view and the labels), shown while it has a text. It follows the parent's
// size and never takes the keyboard focus or the mouse, so the show's keys and the pen work on.
// Each source writes its own line, so one clearing its text leaves the other's standing.
class TSlideNotice : public QLabel {
    Q_OBJECT
public:
    enum class TSource { Reload, Drawing };

    explicit TSlideNotice(QWidget* parent);

    // Sets the source's text (an empty one clears it); the notice is hidden while no source has
    // a text.
    void SetText(TSource source, const QString& text);
    void Clear(TSource source);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();

    QString FTexts[2];
};

} // namespace curvana
