#include "show/popupmenus.h"

#include "common/flags.h"
#include "dialogs/formcoordinateproperties.h"
#include "model/memory.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "show/formslideshow.h"
#include "show/screenlabel.h"
#include "view/coordinate.h"
#include "view/graphcaption.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <QScreen>
#include <QToolButton>

#include <algorithm>
#include <exception>
#include <memory>

namespace curvana {

namespace {

// Menus cut a long caption at this many characters: a document may hold an expression of a
// megabyte, which no menu can show and whose layout would stall the window.
constexpr int MaxGraphCaption = 200;
// Graph list menus show at most this many graphs. A menu of tens of thousands of items takes
// many seconds to build and show at every opening, and no presenter can pick from it.
constexpr int MaxGraphItems = 1000;

// The caption shown as it is: "&" would mark a mnemonic and a tab would start the shortcut
// column.
QString MenuText(const std::string& caption) {
    QString text = QString::fromStdString(caption);
    if (text.size() > MaxGraphCaption)
        text = text.left(MaxGraphCaption - 1) + QChar(0x2026);
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return text;
}

QMenu* AddSubmenu(QMenu* menu, const char* title) {
    auto* submenu = new QMenu(QString::fromUtf8(title), menu);
    menu->addMenu(submenu);
    return submenu;
}

} // namespace

TPopupMenus::TPopupMenus(TFormSlideShow& form) : QObject(&form), FForm(form) {
    PopupMenuMain = new QMenu(&form);
    connect(PopupMenuMain, &QMenu::aboutToShow, this, [this] { PopupMenuMainPopup(); });

    GraphList1 = AddSubmenu(PopupMenuMain, "Graph List");

    CoordinateMovementPanel1 = form.CoordinateMovementPanel1;
    PopupMenuMain->addAction(CoordinateMovementPanel1);

    GoTo1 = AddSubmenu(PopupMenuMain, "&Go");
    PreviousSlide1 = form.PreviousSlide1;
    NextSlide1 = form.NextSlide1;
    heFirstSlide1 = form.heFirstSlide1;
    heLastSlide1 = form.heLastSlide1;
    GoTo1->addAction(PreviousSlide1);
    GoTo1->addAction(NextSlide1);
    N6 = GoTo1->addSeparator();
    GoTo1->addAction(heFirstSlide1);
    GoTo1->addAction(heLastSlide1);

    QuickCaptureScreen1 = AddSubmenu(PopupMenuMain, "Quick Capture Screen");
    CaptureScreen1 = form.CaptureScreen1;
    SetBatchCaptureJob1 = form.SetBatchCaptureJob1;
    QuickCaptureScreen1->addAction(CaptureScreen1);
    N5 = QuickCaptureScreen1->addSeparator();
    QuickCaptureScreen1->addAction(SetBatchCaptureJob1);

    N1 = PopupMenuMain->addSeparator();

    GridProperties1 = AddSubmenu(PopupMenuMain, "Grid Properties");
    AddGridItems(GridProperties1, HorizontalGridLines1, VerticalGridLines1, RadialGridLines1,
                 AngularGirdLines1);

    CoordinateStyle1 = AddSubmenu(PopupMenuMain, "Coordinate Style");
    AddStyleItems(CoordinateStyle1, Equalscaleofmarks1, AxesView1, Crossed1, Boxed1, Legend1);

    Screen1 = AddSubmenu(PopupMenuMain, "Screen");

    PointOption1 = AddSubmenu(PopupMenuMain, "Pointer Option");
    Arrow1 = form.Arrow1;
    Hide1 = form.Hide1;
    Pen1 = form.Pen1;
    Laser1 = form.Laser1;
    PenProperties1 = form.PenProperties1;
    PointOption1->addAction(Arrow1);
    PointOption1->addAction(Hide1);
    PointOption1->addAction(Pen1);
    PointOption1->addAction(Laser1);
    N3 = PointOption1->addSeparator();
    PointOption1->addAction(PenProperties1);

    CoordinateProperties1 = PopupMenuMain->addAction(QStringLiteral("Coordinate Properties"));
    connect(CoordinateProperties1, &QAction::triggered, this, [this] {
        try {
            FForm.CoordinateProperties1Click();
        } catch (const std::exception& e) {
            FForm.ReportError(QString::fromUtf8(e.what()));
        }
    });

    N2 = PopupMenuMain->addSeparator();
    OpenDocument1 = form.ActionFileOpen;
    PopupMenuMain->addAction(OpenDocument1);
    N4 = PopupMenuMain->addSeparator();
    Refresh1 = form.Refresh1;
    Help1 = form.Help1;
    CloseFullScreen1 = form.CloseFullScreen1;
    PopupMenuMain->addAction(Refresh1);
    PopupMenuMain->addAction(Help1);
    PopupMenuMain->addAction(CloseFullScreen1);

    // The tool bar's drop-down menus: parts of the context menu with the same commands.
    PopupMenuGraphList = new QMenu(&form);
    connect(PopupMenuGraphList, &QMenu::aboutToShow, this, [this] { PopupMenuGraphListPopup(); });
    GraphList2 = AddSubmenu(PopupMenuGraphList, "Graph List");

    PopupMenuGridProperties = new QMenu(&form);
    connect(PopupMenuGridProperties, &QMenu::aboutToShow, this,
            [this] { PopupMenuGridPropertiesPopup(); });
    GridProperties2 = AddSubmenu(PopupMenuGridProperties, "Grid Properties");
    AddGridItems(GridProperties2, HorizontalGridLines2, VerticalGridLines2, RadialGridLines2,
                 AngularGirdLines2);

    PopupMenuCoordinateStyle = new QMenu(&form);
    connect(PopupMenuCoordinateStyle, &QMenu::aboutToShow, this,
            [this] { PopupMenuCoordinateStylePopup(); });
    CoordinateStyle2 = AddSubmenu(PopupMenuCoordinateStyle, "Coordinate Style");
    AddStyleItems(CoordinateStyle2, Equalscaleofmarks2, AxesView2, Crossed2, Boxed2, Legend2);

    // The view opens the context menu on a right click.
    form.Coordinate1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(form.Coordinate1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) {
                Coordinate1ContextPopup(FForm.Coordinate1->mapToGlobal(pos));
            });

    TControlPanel& panel = *form.GroupBoxMovement;
    const auto dropDown = [](QToolButton* button, QMenu* menu) {
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
        button->setEnabled(true);
    };
    dropDown(panel.ToolButton8, PopupMenuGraphList);
    dropDown(panel.ToolButton10, PopupMenuGridProperties);
    dropDown(panel.ToolButton11, PopupMenuCoordinateStyle);
    connect(panel.ToolButton12, &QToolButton::clicked, CoordinateProperties1, &QAction::trigger);
    panel.ToolButton12->setEnabled(true);
    // A split button: the face captures, the arrow shows the capture submenu.
    panel.ToolButton13->setMenu(QuickCaptureScreen1);
    panel.ToolButton13->setPopupMode(QToolButton::MenuButtonPopup);
}

TPopupMenus::~TPopupMenus() = default;

TCoordinate& TPopupMenus::View() {
    return FForm.View();
}

void TPopupMenus::Guard(void (TPopupMenus::*handler)()) {
    try {
        (this->*handler)();
    } catch (const std::exception& e) {
        FForm.ReportError(QString::fromUtf8(e.what()));
    }
}

QAction* TPopupMenus::AddCommand(QMenu* menu, const char* caption, void (TPopupMenus::*handler)()) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    connect(action, &QAction::triggered, this, [this, handler] { Guard(handler); });
    return action;
}

QAction* TPopupMenus::AddCheck(QMenu* menu, const char* caption, void (TPopupMenus::*handler)()) {
    QAction* action = AddCommand(menu, caption, handler);
    action->setCheckable(true);
    return action;
}

void TPopupMenus::AddAxesView(QMenu* submenu, QAction*& crossed, QAction*& boxed) {
    auto* group = new QActionGroup(submenu);
    crossed = AddCheck(submenu, "Crossed", &TPopupMenus::Crossed1Click);
    boxed = AddCheck(submenu, "Boxed", &TPopupMenus::Boxed1Click);
    group->addAction(crossed);
    group->addAction(boxed);
}

void TPopupMenus::AddGridItems(QMenu* submenu, QAction*& horizontal, QAction*& vertical,
                               QAction*& radial, QAction*& angular) {
    horizontal =
        AddCheck(submenu, "Horizontal Grid Lines", &TPopupMenus::HorizontalGridLines1Click);
    vertical = AddCheck(submenu, "Vertical Grid Lines", &TPopupMenus::VerticalGridLines1Click);
    radial = AddCheck(submenu, "Radial Grid Lines", &TPopupMenus::RadialGridLines1Click);
    angular = AddCheck(submenu, "Angular Gird Lines", &TPopupMenus::AngularGirdLines1Click);
}

void TPopupMenus::AddStyleItems(QMenu* submenu, QAction*& equalScale, QMenu*& axesView,
                                QAction*& crossed, QAction*& boxed, QAction*& legend) {
    equalScale = AddCheck(submenu, "Equal scale of marks", &TPopupMenus::Equalscaleofmarks1Click);
    axesView = AddSubmenu(submenu, "Axes View");
    AddAxesView(axesView, crossed, boxed);
    legend = AddCheck(submenu, "Legend", &TPopupMenus::Legend1Click);
    submenu->addAction(FForm.SmoothLines1);
}

// ---------------------------------------------------------------------------------------------
// Opening

void TPopupMenus::Coordinate1ContextPopup(const QPoint& globalPos) {
    // The check marks are set by the menu's opening handler.
    PopupMenuMain->popup(globalPos);
}

void TPopupMenus::SetGridChecks(QAction* hor, QAction* ver, QAction* radial, QAction* angular) {
    const TCoordinate& view = View();
    hor->setChecked(IsOn(view.GridHorEnabled));
    ver->setChecked(IsOn(view.GridVerEnabled));
    radial->setChecked(IsOn(view.GridRadialEnabled));
    angular->setChecked(IsOn(view.GridAngularEnabled));
}

void TPopupMenus::SetStyleChecks(QAction* equal, QAction* crossed, QAction* boxed,
                                 QAction* legend) {
    const TCoordinate& view = View();
    equal->setChecked(IsOn(view.EqualScaleEnabled));
    if (view.AxesStyle != 0)
        boxed->setChecked(true);
    else
        crossed->setChecked(true);
    legend->setChecked(IsOn(view.LegendEnabled));
}

void TPopupMenus::PopupMenuMainPopup() {
    SetGridChecks(HorizontalGridLines1, VerticalGridLines1, RadialGridLines1, AngularGirdLines1);
    GoTo1->menuAction()->setEnabled(FForm.SlideList.has_value());
    SetStyleChecks(Equalscaleofmarks1, Crossed1, Boxed1, Legend1);
    Arrow1->setChecked(FForm.PointerMode == 0);
    Hide1->setChecked(FForm.PointerMode == 1);
    Pen1->setChecked(FForm.PointerMode == 2);
    Laser1->setChecked(FForm.PointerMode == 3);
    RebuildGraphList(GraphList1);
    RebuildScreens();
}

void TPopupMenus::RebuildScreens() {
    // Screens come and go (a projector plugged in), so the list is made at every opening.
    Screen1->clear();
    auto* group = new QActionGroup(Screen1);
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (qsizetype i = 0; i < screens.size(); ++i) {
        QScreen* screen = screens[i];
        QAction* item = Screen1->addAction(MenuText(ScreenLabel(i + 1, *screen).toStdString()));
        item->setCheckable(true);
        item->setChecked(screen == FForm.screen());
        group->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, screen = QPointer<QScreen>(screen)] { FForm.MoveToScreen(screen); });
    }
}

void TPopupMenus::PopupMenuGraphListPopup() {
    RebuildGraphList(GraphList2);
}

void TPopupMenus::PopupMenuGridPropertiesPopup() {
    SetGridChecks(HorizontalGridLines2, VerticalGridLines2, RadialGridLines2, AngularGirdLines2);
}

void TPopupMenus::PopupMenuCoordinateStylePopup() {
    SetStyleChecks(Equalscaleofmarks2, Crossed2, Boxed2, Legend2);
}

void TPopupMenus::RebuildGraphList(QMenu* submenu) {
    // The items belong to the submenu, so clearing it destroys them.
    submenu->clear();
    const TMemory* graphs = FForm.GraphList.get();
    if (graphs == nullptr)
        return;
    const int count = std::min(graphs->Count(), MaxGraphItems);
    for (int i = 0; i < count; ++i) {
        std::string caption;
        if (const TFunctionObj* function = graphs->Function(i))
            caption = GraphCaption(*function);
        else if (const TTableObj* table = graphs->Table(i))
            caption = GraphCaption(*table);
        QAction* item = submenu->addAction(MenuText(caption));
        item->setCheckable(true);
        item->setChecked(IsOn(graphs->GetShowEnabled(i)));
        item->setToolTip(QString::number(i));
        connect(item, &QAction::triggered, this, [this, item] {
            try {
                GraphItemClick(item);
            } catch (const std::exception& e) {
                FForm.ReportError(QString::fromUtf8(e.what()));
            }
        });
    }
    if (graphs->Count() > count)
        submenu->addAction(QStringLiteral("..."))->setEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Commands

void TPopupMenus::SwitchFlag(TFlag& flag) {
    // Only 1 shows a check mark, so the click sets any other value to 1.
    flag = IsOn(flag) ? 0 : 1;
    FForm.Refresh1Click();
}

void TPopupMenus::HorizontalGridLines1Click() {
    SwitchFlag(View().GridHorEnabled);
}

void TPopupMenus::VerticalGridLines1Click() {
    SwitchFlag(View().GridVerEnabled);
}

void TPopupMenus::RadialGridLines1Click() {
    SwitchFlag(View().GridRadialEnabled);
}

void TPopupMenus::AngularGirdLines1Click() {
    SwitchFlag(View().GridAngularEnabled);
}

void TPopupMenus::Equalscaleofmarks1Click() {
    SwitchFlag(View().EqualScaleEnabled);
}

void TPopupMenus::Crossed1Click() {
    View().AxesStyle = 0;
    FForm.Refresh1Click();
}

void TPopupMenus::Boxed1Click() {
    View().AxesStyle = 1;
    FForm.Refresh1Click();
}

void TPopupMenus::Legend1Click() {
    SwitchFlag(View().LegendEnabled);
}

void TPopupMenus::GraphItemClick(QAction* item) {
    bool isNumber = false;
    int index = item != nullptr ? item->toolTip().toInt(&isNumber) : -1;
    if (!isNumber)
        index = -1;
    TMemory* graphs = FForm.GraphList.get();
    if (graphs != nullptr && index >= 0 && index < graphs->Count())
        graphs->SetShowEnabled(index, IsOn(graphs->GetShowEnabled(index)) ? 0 : 1);
    FForm.Refresh1Click();
}

// ---------------------------------------------------------------------------------------------
// The coordinate properties dialog

bool RunCoordinatePropertiesDialog(QWidget* owner, TCoordinate& view) {
    const auto dialog = std::make_unique<TFormCoordinateProperties>(owner);
    return dialog->EditCoordinate(view);
}

} // namespace curvana
