#include "show/addlabel.h"

#include "common/flags.h"
#include "docfile/addlabeldata.h"
#include "platform/qtcolor.h"
#include "platform/qtfont.h"

#include <QPalette>

namespace curvana {

TAddLabel::TAddLabel(QWidget* parent) : QLabel(parent) {
    // Captions come from documents: shown as written, never read as markup.
    setTextFormat(Qt::PlainText);
    setContentsMargins(0, 0, 0, 0);
    setMargin(0);
    setIndent(0);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::NoFocus);
}

void TAddLabel::Assign(const TAddLabelData& data) {
    setText(QString::fromStdString(data.Caption));
    setFont(ToQFont(data.Font));
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ToQColor(data.Font.Color));
    colours.setColor(QPalette::Window, ToQColor(data.Color));
    setPalette(colours);
    setAutoFillBackground(!IsOn(data.Transparent));
    x = data.x;
    y = data.y;
    adjustSize();
}

} // namespace curvana
