#include "show/controlpanel.h"

#include "platform/qtcolor.h"
#include "show/clicklabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QToolBar>
#include <QToolButton>

namespace curvana {

namespace {

QString IconFile(const char* name) {
    return QStringLiteral(":/show/icons/") + QLatin1String(name) + QStringLiteral(".svg");
}

TClickLabel* MakePicture(QWidget* parent, const QRect& geometry, const char* icon,
                         const char* hint) {
    auto* picture = new TClickLabel(parent);
    picture->setGeometry(geometry);
    picture->SetPicture(IconFile(icon));
    picture->setToolTip(QString::fromLatin1(hint));
    return picture;
}

QToolBar* MakeToolBar(QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->layout()->setSpacing(0);
    bar->layout()->setContentsMargins(1, 1, 1, 1);
    return bar;
}

QToolButton* AddButton(QToolBar* bar, const char* icon, const char* hint) {
    auto* button = new QToolButton(bar);
    button->setIcon(QIcon(IconFile(icon)));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(22, 24);
    button->setIconSize(QSize(16, 16));
    bar->addWidget(button);
    return button;
}

} // namespace

TControlPanel::TControlPanel(QWidget* parent) : QGroupBox(QStringLiteral("Control Panel"), parent) {
    setFixedSize(PanelWidth, PanelHeight);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);

    Image1 = MakePicture(this, {70, 14, 64, 64}, "moveup", "Move Upwards");
    Image3 = MakePicture(this, {6, 78, 64, 64}, "moveleft", "Move to the Left");
    Image5 = MakePicture(this, {70, 78, 64, 64}, "center", "Center View");
    Image4 = MakePicture(this, {134, 78, 64, 64}, "moveright", "Move to the Right");
    Image2 = MakePicture(this, {70, 142, 64, 64}, "movedown", "Move Downwards");

    CheckBoxAcc = new QCheckBox(this);
    CheckBoxAcc->move(8, 16);
    CheckBoxAcc->setChecked(true);
    CheckBoxAcc->adjustSize();
    Label1 = new QLabel(QStringLiteral("Accelerate"), this);
    Label1->adjustSize();
    Label1->move(8 + CheckBoxAcc->width() + 2, 16 + (CheckBoxAcc->height() - Label1->height()) / 2);

    LabelHide = new TClickLabel(this);
    LabelHide->setText(QStringLiteral("Hide"));
    QFont hideFont = LabelHide->font();
    hideFont.setPixelSize(13);
    hideFont.setUnderline(true);
    LabelHide->setFont(hideFont);
    LabelHide->setAutoFillBackground(true);
    LabelHide->adjustSize();
    LabelHide->move(168, 8);
    QPalette hideColours = LabelHide->palette();
    hideColours.setColor(QPalette::WindowText, Qt::blue);
    LabelHide->setPalette(hideColours);

    LabelSlide = new QLabel(QStringLiteral("Slide: 0/0"), this);
    LabelSlide->move(8, 152);
    LabelSlide->adjustSize();

    ImageLastSlide = MakePicture(this, {6, 168, 64, 40}, "previousslide", "Previous Slide");
    ImageNextSlide = MakePicture(this, {134, 168, 64, 40}, "nextslide", "New Slide");

    ToolBar1 = MakeToolBar(this);
    ToolButton1 = AddButton(ToolBar1, "zoomoutxy", "Zoom Out X and Y");
    ToolButton2 = AddButton(ToolBar1, "zoomoutx", "Zoom Out X");
    ToolButton3 = AddButton(ToolBar1, "zoomouty", "Zoom Out Y");
    ToolButton4 = AddButton(ToolBar1, "zoominxy", "Zoom In X and Y");
    ToolButton5 = AddButton(ToolBar1, "zoominx", "Zoom In X");
    ToolButton6 = AddButton(ToolBar1, "zoominy", "Zoom In Y");
    ToolBar1->addSeparator();
    // Pressed in Pen mode; the slide window's pointer modes drive it.
    ToolButtonPen = AddButton(ToolBar1, "pen", "Pen");
    ToolButtonPen->setCheckable(true);
    ToolButton9 = AddButton(ToolBar1, "refresh", "Refresh");

    ToolBar2 = MakeToolBar(this);
    // The slide window's menus give the graph list, grid and style buttons their drop-down
    // menus and the coordinate properties button its command.
    ToolButton8 = AddButton(ToolBar2, "graphlist", "Graph List");
    ToolButton10 = AddButton(ToolBar2, "grid", "Grid Properties");
    ToolButton11 = AddButton(ToolBar2, "coordinatestyle", "Coordinate Style");
    ToolButton12 = AddButton(ToolBar2, "coordinateproperties", "Coordinate Properties");
    ToolBar2->addSeparator();
    ToolButton13 = AddButton(ToolBar2, "capture", "Quick Capture Screen");
    ToolButton13->setFixedSize(32, 24);
    ToolBar2->addSeparator();
    ToolButton16 = AddButton(ToolBar2, "open", "Open");
    ToolButton17 = AddButton(ToolBar2, "close", "Close");

    // Both bars lie along the bottom, ToolBar1 above ToolBar2.
    const int left = 2;
    const int barWidth = PanelWidth - 2 * left;
    ToolBar2->setGeometry(left, PanelHeight - ToolBarHeight - 2, barWidth, ToolBarHeight);
    ToolBar1->setGeometry(left, PanelHeight - 2 * ToolBarHeight - 2, barWidth, ToolBarHeight);
    ToolBar1->setAutoFillBackground(true);
    ToolBar2->setAutoFillBackground(true);
    // An explicit palette of its own, so that recolouring the panel passes ToolBar2 by.
    QPalette ownColours = QApplication::palette(ToolBar2);
    ownColours.setColor(QPalette::Window, ownColours.color(QPalette::Window));
    ownColours.setColor(QPalette::Button, ownColours.color(QPalette::Button));
    ToolBar2->setPalette(ownColours);

    // No control keeps the keyboard focus after a click or Tab, so the slide keys always reach
    // the window.
    for (QWidget* child : findChildren<QWidget*>())
        child->setFocusPolicy(Qt::NoFocus);
    hide();
}

void TControlPanel::SetBackgroundColor(TColor color) {
    const QColor background = ToQColor(color);
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(LabelHide),
                            static_cast<QWidget*>(ToolBar1)}) {
        QPalette colours = widget->palette();
        colours.setColor(QPalette::Window, background);
        colours.setColor(QPalette::Button, background);
        widget->setPalette(colours);
    }
}

} // namespace curvana
