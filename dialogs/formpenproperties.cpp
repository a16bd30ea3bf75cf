#include "dialogs/formpenproperties.h"

#include "dialogs/colorbox.h"
#include "dialogs/comboboxlinestyle.h"
#include "dialogs/comboboxlinewidth.h"
#include "model/graphstyle.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace curvana {

TFormPenProperties::TFormPenProperties(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Pen Properties"));
    setFixedSize(274, 147);

    Label1 = new QLabel(QStringLiteral("Pen Color"), this);
    Label1->move(16, 20);
    ColorBox1 = new TColorBox(this);
    ColorBox1->setGeometry(104, 16, 145, 22);
    Label1->setBuddy(ColorBox1);

    Label2 = new QLabel(QStringLiteral("Pen Width"), this);
    Label2->move(16, 52);
    ComboboxLineWidth1 = new TComboboxLineWidth(this);
    ComboboxLineWidth1->move(104, 48);
    Label2->setBuddy(ComboboxLineWidth1);

    Label3 = new QLabel(QStringLiteral("Pen Style"), this);
    Label3->move(16, 84);
    ComboboxLineStyle1 = new TComboboxLineStyle(this);
    ComboboxLineStyle1->move(104, 80);
    Label3->setBuddy(ComboboxLineStyle1);

    Button1 = new QPushButton(QStringLiteral("Set"), this);
    Button1->setGeometry(104, 112, 70, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Close"), this);
    Button2->setGeometry(179, 112, 70, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

bool TFormPenProperties::EditPen(TGraphStyle& style) {
    FResult = false;
    FStyle = &style;
    exec();
    FStyle = nullptr;
    return FResult;
}

void TFormPenProperties::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    FormShow();
}

void TFormPenProperties::FormShow() {
    if (FStyle == nullptr)
        return;
    ColorBox1->SetSelected(FStyle->LineColor);
    // A width the picker does not offer leaves no item selected.
    const std::int32_t width = FStyle->LineWidth;
    ComboboxLineWidth1->setCurrentIndex(
        width >= 1 && width <= ComboboxLineWidth1->count() ? width - 1 : -1);
    ComboboxLineStyle1->SetCD_CurrentPenStyle(FStyle->LineStyle);
}

void TFormPenProperties::Button1Click() {
    if (FStyle != nullptr) {
        FStyle->LineColor = ColorBox1->Selected();
        FStyle->LineWidth = ComboboxLineWidth1->currentIndex() + 1;
        FStyle->LineStyle = ComboboxLineStyle1->CD_CurrentPenStyle();
    }
    FResult = true;
    accept();
}

void TFormPenProperties::Button2Click() {
    reject();
}

} // namespace curvana
