#pragma once

#include "common/types.h"

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;
class QPoint;
class QString;

namespace curvana {

class TCoordinate;
class TFormSlideShow;
class TMemory;

// The slide window's menus: the view's context menu and the three drop-down menus of the
// control panel's second tool bar. Every opening sets the check marks from the current state and
// rebuilds the graph lists; the commands change one setting of the view and refresh it. The keys
// named in the captions belong to the window's key map, so no action here carries a shortcut.
class TPopupMenus : public QObject {
    Q_OBJECT
public:
    explicit TPopupMenus(TFormSlideShow& form);
    ~TPopupMenus() override;

    // Opening handlers.
    void PopupMenuMainPopup();
    void PopupMenuGraphListPopup();
    void PopupMenuGridPropertiesPopup();
    void PopupMenuCoordinateStylePopup();

    // The right click on the view: the state read, then the menu shown at the point (global
    // screen coordinates) without waiting for a choice.
    void Coordinate1ContextPopup(const QPoint& globalPos);

    // Command handlers, shared by the items ending in 1 and in 2.
    void HorizontalGridLines1Click();
    void VerticalGridLines1Click();
    void RadialGridLines1Click();
    void AngularGirdLines1Click();
    void Equalscaleofmarks1Click();
    void Crossed1Click();
    void Boxed1Click();
    void Legend1Click();
    // A graph item: its hint is the graph's index in the list.
    void GraphItemClick(QAction* item);

    // Empties the submenu and adds one checkable item per graph of the list, in list order.
    void RebuildGraphList(QMenu* submenu);
    // One radio item per screen, named and sized, the show's own checked.
    void RebuildScreens();

    QMenu* PopupMenuMain = nullptr;
    QMenu* GraphList1 = nullptr;
    QAction* CoordinateMovementPanel1 = nullptr;
    QMenu* GoTo1 = nullptr;
    QAction* PreviousSlide1 = nullptr;
    QAction* NextSlide1 = nullptr;
    QAction* N6 = nullptr;
    QAction* heFirstSlide1 = nullptr;
    QAction* heLastSlide1 = nullptr;
    QMenu* QuickCaptureScreen1 = nullptr;
    QAction* CaptureScreen1 = nullptr;
    QAction* N5 = nullptr;
    QAction* SetBatchCaptureJob1 = nullptr;
    QAction* N1 = nullptr;
    QMenu* GridProperties1 = nullptr;
    QAction* HorizontalGridLines1 = nullptr;
    QAction* VerticalGridLines1 = nullptr;
    QAction* RadialGridLines1 = nullptr;
    QAction* AngularGirdLines1 = nullptr;
    QMenu* CoordinateStyle1 = nullptr;
    QAction* Equalscaleofmarks1 = nullptr;
    QMenu* AxesView1 = nullptr;
    QAction* Crossed1 = nullptr;
    QAction* Boxed1 = nullptr;
    QAction* Legend1 = nullptr;
    QMenu* Screen1 = nullptr;
    QMenu* PointOption1 = nullptr;
    QAction* Arrow1 = nullptr;
    QAction* Hide1 = nullptr;
    QAction* Pen1 = nullptr;
    QAction* Laser1 = nullptr;
    QAction* N3 = nullptr;
    QAction* PenProperties1 = nullptr;
    QAction* CoordinateProperties1 = nullptr;
    QAction* N2 = nullptr;
    QAction* OpenDocument1 = nullptr;
    QAction* N4 = nullptr;
    QAction* Refresh1 = nullptr;
    QAction* Help1 = nullptr;
    QAction* CloseFullScreen1 = nullptr;

    QMenu* PopupMenuGraphList = nullptr;
    QMenu* GraphList2 = nullptr;

    QMenu* PopupMenuGridProperties = nullptr;
    QMenu* GridProperties2 = nullptr;
    QAction* HorizontalGridLines2 = nullptr;
    QAction* VerticalGridLines2 = nullptr;
    QAction* RadialGridLines2 = nullptr;
    QAction* AngularGirdLines2 = nullptr;

    QMenu* PopupMenuCoordinateStyle = nullptr;
    QMenu* CoordinateStyle2 = nullptr;
    QAction* Equalscaleofmarks2 = nullptr;
    QMenu* AxesView2 = nullptr;
    QAction* Crossed2 = nullptr;
    QAction* Boxed2 = nullptr;
    QAction* Legend2 = nullptr;

private:
    TCoordinate& View();
    // Runs a command as the window runs its own: an error ends it and is reported.
    void Guard(void (TPopupMenus::*handler)());
    QAction* AddCommand(QMenu* menu, const char* caption, void (TPopupMenus::*handler)());
    QAction* AddCheck(QMenu* menu, const char* caption, void (TPopupMenus::*handler)());
    // Crossed and Boxed as the two radio items of a submenu.
    void AddAxesView(QMenu* submenu, QAction*& crossed, QAction*& boxed);
    // The grid and style submenus, alike in the context menu and the tool bar menus.
    void AddGridItems(QMenu* submenu, QAction*& horizontal, QAction*& vertical, QAction*& radial,
                      QAction*& angular);
    void AddStyleItems(QMenu* submenu, QAction*& equalScale, QMenu*& axesView, QAction*& crossed,
                       QAction*& boxed, QAction*& legend);
    void SetGridChecks(QAction* hor, QAction* ver, QAction* radial, QAction* angular);
    void SetStyleChecks(QAction* equal, QAction* crossed, QAction* boxed, QAction* legend);
    // The setting switched (any set value counts as on and becomes 0), then the refresh.
    void SwitchFlag(TFlag& flag);

    TFormSlideShow& FForm;
};

// The coordinate properties dialog, created for one use and destroyed afterwards also when it
// fails: true when the presenter's OK applied the values to the view.
bool RunCoordinatePropertiesDialog(QWidget* owner, TCoordinate& view);

} // namespace curvana
