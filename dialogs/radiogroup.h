#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace curvana {

// A captioned group of radio buttons read and set by item index (-1: none checked).
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int ItemIndex() const;
    // An index outside the items checks none.
    void SetItemIndex(int index);
    int Count() const;
    QRadioButton* Button(int index) const;

private:
    QButtonGroup* FButtons;
};

} // namespace curvana
