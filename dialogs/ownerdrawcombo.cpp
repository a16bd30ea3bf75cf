#include "dialogs/ownerdrawcombo.h"

#include "platform/paintercanvas.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace curvana {

namespace {

constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);

// Draws the list's rows through the combo box's own item drawing, at a fixed row height.
class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
    explicit TOwnerDrawDelegate(TOwnerDrawCombo* combo)
        : QStyledItemDelegate(combo), FCombo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state.testFlag(QStyle::State_Selected) ||
                              option.state.testFlag(QStyle::State_MouseOver);
        painter->drawImage(option.rect.topLeft(),
                           FCombo->RenderItem(index.row(), option.rect.size(), selected));
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), TOwnerDrawCombo::ItemHeight};
    }

private:
    TOwnerDrawCombo* FCombo;
};

} // namespace

TOwnerDrawCombo::TOwnerDrawCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setItemDelegate(new TOwnerDrawDelegate(this));
    resize(DefaultWidth, DefaultHeight);
}

QSize TOwnerDrawCombo::sizeHint() const {
    return {DefaultWidth, DefaultHeight};
}

QSize TOwnerDrawCombo::minimumSizeHint() const {
    return {DefaultWidth, DefaultHeight};
}

void TOwnerDrawCombo::ResetItems(int count) {
    clear();
    for (int i = 0; i < count; ++i)
        addItem(QStringLiteral("null"));
    setMaxVisibleItems(count);
    setCurrentIndex(0);
}

QImage TOwnerDrawCombo::RenderItem(int index, QSize size, bool selected) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TPainterCanvas canvas(painter, size.width(), size.height());
    canvas.Brush.Color = selected ? clHighlight : clWindow;
    canvas.Brush.Style = bsSolid;
    canvas.Font.Color = selected ? clHighlightText : clWindowText;
    DrawItem(canvas, index, TRect{0, 0, size.width(), size.height()});
    return image;
}

void TOwnerDrawCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0)
        return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (field.isEmpty())
        return;
    // The closed box shows the selected item, highlighted while the box has the focus.
    const bool selected = hasFocus() && !view()->isVisible();
    painter.drawImage(field.topLeft(), RenderItem(currentIndex(), field.size(), selected));
}

} // namespace curvana
