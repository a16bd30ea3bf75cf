#include "show/slidenotice.h"

#include <QEvent>

#include <algorithm>

namespace curvana {

namespace {

constexpr int Margin = 12;

} // namespace

TSlideNotice::TSlideNotice(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("SlideNotice"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setMargin(8);
    // Fixed colours: the notice must read the same on every slide background.
    setStyleSheet(QStringLiteral("QLabel#SlideNotice { background: #FFF4CE; color: #3C2A00; "
                                 "border: 1px solid #C8A200; }"));
    parent->installEventFilter(this);
    hide();
}

void TSlideNotice::SetText(TSource source, const QString& text) {
    FTexts[static_cast<int>(source)] = text;
    QStringList lines;
    for (const QString& line : FTexts)
        if (!line.isEmpty())
            lines.append(line);
    if (lines.isEmpty()) {
        clear();
        hide();
        return;
    }
    setText(lines.join(QLatin1Char('\n')));
    Place();
    raise();
    show();
}

void TSlideNotice::Clear(TSource source) {
    SetText(source, QString());
}

bool TSlideNotice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize && isVisible())
        Place();
    return QLabel::eventFilter(watched, event);
}

void TSlideNotice::Place() {
    // As wide as the text needs, up to the parent's width; longer texts wrap.
    const int available = std::max(120, parentWidget()->width() - 2 * Margin);
    const int natural = fontMetrics()
                            .boundingRect(QRect(0, 0, available, 100000), Qt::TextWordWrap, text())
                            .width() +
                        2 * margin() + 2 * frameWidth() + 4;
    const int width = std::min(available, natural);
    setFixedWidth(width);
    setFixedHeight(heightForWidth(width));
    move(Margin, Margin);
}

} // namespace curvana
