#include "dialogs/colorbox.h"

#include "platform/qtcolor.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace curvana {

namespace {

struct TNamedColor {
    TColor Color;
    const char* Name;
};

// 0x00BBGGRR values.
constexpr std::array<TNamedColor, 16> StandardColors = {{
    {0x000000, "Black"},
    {0x000080, "Maroon"},
    {0x008000, "Green"},
    {0x008080, "Olive"},
    {0x800000, "Navy"},
    {0x800080, "Purple"},
    {0x808000, "Teal"},
    {0x808080, "Gray"},
    {0xC0C0C0, "Silver"},
    {0x0000FF, "Red"},
    {0x00FF00, "Lime"},
    {0x00FFFF, "Yellow"},
    {0xFF0000, "Blue"},
    {0xFF00FF, "Fuchsia"},
    {0xFFFF00, "Aqua"},
    {0xFFFFFF, "White"},
}};

QIcon Swatch(TColor color) {
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

std::optional<TColor> AskColor(QWidget* owner, TColor initial) {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), owner);
    if (!chosen.isValid())
        return std::nullopt;
    return RGBColor(chosen.red(), chosen.green(), chosen.blue());
}

} // namespace

TColorBox::TColorBox(QWidget* parent) : QComboBox(parent), FChooser(AskColor) {
    setEditable(false);
    setIconSize(QSize(16, 12));
    addItem(Swatch(clBlack), QStringLiteral("Custom..."), QVariant::fromValue<qint32>(clBlack));
    for (const TNamedColor& named : StandardColors)
        addItem(Swatch(named.Color), QString::fromLatin1(named.Name),
                QVariant::fromValue<qint32>(named.Color));
    setMaxVisibleItems(count());
    setCurrentIndex(1);
    connect(this, &QComboBox::activated, this, [this](int index) { ItemActivated(index); });
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            emit SelectedChanged(ItemColor(index));
    });
}

TColor TColorBox::ItemColor(int index) const {
    return static_cast<TColor>(itemData(index).value<qint32>());
}

TColor TColorBox::Selected() const {
    const int index = currentIndex();
    return index < 0 ? clBlack : ItemColor(index);
}

void TColorBox::SetSelected(TColor color) {
    for (int i = 1; i < count(); ++i) {
        if (ItemColor(i) == color) {
            setCurrentIndex(i);
            FPreviousIndex = i;
            return;
        }
    }
    SetCustomColor(color);
    setCurrentIndex(CustomIndex);
    FPreviousIndex = CustomIndex;
}

void TColorBox::SetColorChooser(TColorChooser chooser) {
    FChooser = chooser ? std::move(chooser) : TColorChooser(AskColor);
}

void TColorBox::SetCustomColor(TColor color) {
    setItemData(CustomIndex, QVariant::fromValue<qint32>(color));
    setItemIcon(CustomIndex, Swatch(color));
}

void TColorBox::ItemActivated(int index) {
    if (index != CustomIndex) {
        FPreviousIndex = index;
        return;
    }
    const std::optional<TColor> chosen = FChooser(this, ItemColor(CustomIndex));
    if (!chosen) {
        setCurrentIndex(FPreviousIndex);
        return;
    }
    SetCustomColor(*chosen);
    FPreviousIndex = CustomIndex;
    // The custom item was selected already; its colour is new.
    emit SelectedChanged(*chosen);
}

} // namespace curvana
