#include "dialogs/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace curvana {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), FButtons(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        FButtons->addButton(button, i);
        layout->addWidget(button);
    }
}

int TRadioGroup::ItemIndex() const {
    return FButtons->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = FButtons->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its checked button directly.
    FButtons->setExclusive(false);
    for (QAbstractButton* button : FButtons->buttons())
        button->setChecked(false);
    FButtons->setExclusive(true);
}

int TRadioGroup::Count() const {
    return static_cast<int>(FButtons->buttons().size());
}

QRadioButton* TRadioGroup::Button(int index) const {
    return qobject_cast<QRadioButton*>(FButtons->button(index));
}

} // namespace curvana
