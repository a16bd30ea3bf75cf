#include "show/popupmenus.h"

#include "dialogs/formcoordinateproperties.h"
#include "model/memory.h"
#include "platform/rastercanvas.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "show/formslideshow.h"
#include "tests/support/slidewindowtest.h"
#include "view/coordinate.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace curvana {
namespace {

std::string Function(const std::string& exp, int type, int shown = 1,
                     const std::string& addExp = "") {
    return "<FunctionObj><Exp>" + exp + "</Exp><AddExp>" + addExp + "</AddExp><ShowEnabled>" +
           std::to_string(shown) +
           "</ShowEnabled><GraphStyle><LineWidth>3</LineWidth>"
           "<LineColor>255</LineColor></GraphStyle><FunctionObjType>" +
           std::to_string(type) + "</FunctionObjType></FunctionObj>";
}

std::string Table(int points, int shown = 1) {
    std::string list;
    for (int i = 0; i < points; ++i)
        list += "<TableElemObj><x>" + std::to_string(i - 6) + "</x><y>" + std::to_string(i % 3) +
                "</y></TableElemObj>";
    return "<TableObj><ShowEnabled>" + std::to_string(shown) + "</ShowEnabled><TableElemObjList>" +
           list + "</TableElemObjList></TableObj>";
}

// A view from -10 to 10 on x and -5 to 5 on y, so that equal scale changes the picture.
std::string Document(const std::string& memory, const std::string& coordinateExtra = "") {
    return "<CurvanaDocument><Memory>" + memory +
           "</Memory><Coordinate><XInterval><Min>-10</Min><Max>10</Max></XInterval>"
           "<YInterval><Min>-5</Min><Max>5</Max></YInterval>" +
           coordinateExtra + "</Coordinate></CurvanaDocument>\n";
}

// The entries of a menu, one per line: separators as "-", submenus by title with their entries
// indented below them.
void Describe(const QMenu* menu, const std::string& indent, std::vector<std::string>& lines) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            lines.push_back(indent + "-");
        } else if (action->menu() != nullptr) {
            lines.push_back(indent + action->text().toStdString() + " >");
            Describe(action->menu(), indent + "  ", lines);
        } else {
            lines.push_back(indent + action->text().toStdString());
        }
    }
}

std::vector<std::string> Describe(const QMenu* menu) {
    std::vector<std::string> lines;
    Describe(menu, "", lines);
    return lines;
}

std::vector<QAction*> AllActions(const QMenu* menu) {
    std::vector<QAction*> all;
    for (QAction* action : menu->actions()) {
        all.push_back(action);
        if (action->menu() != nullptr)
            for (QAction* inner : AllActions(action->menu()))
                all.push_back(inner);
    }
    return all;
}

class PopupMenusTest : public TSlideWindowTest {
protected:
    void Show(const std::string& document) {
        Window.BeginShowDocument(Write("doc.xml", document));
        ASSERT_TRUE(Settle());
    }

    QImage Picture() const { return Window.Coordinate1->Picture().Image(); }
    // A pixel no drawing puts there: gone after the next redraw.
    void Mark() { Window.Coordinate1->Picture().SetPixel(1, 1, 0x00FF00); }
    bool Marked() const { return Picture().pixelColor(1, 1) == QColor(0, 255, 0); }

    std::vector<std::string> Captions(const QMenu* submenu) const {
        std::vector<std::string> captions;
        for (QAction* item : submenu->actions())
            captions.push_back(item->iconText().toStdString());
        return captions;
    }
    std::vector<bool> Checks(const QMenu* submenu) const {
        std::vector<bool> checks;
        for (QAction* item : submenu->actions())
            checks.push_back(item->isChecked());
        return checks;
    }

    TPopupMenus& Menus() { return *Window.Menus; }
    TCoordinate& View() { return Window.View(); }
    TControlPanel& Panel() { return *Window.GroupBoxMovement; }
};

TEST_F(PopupMenusTest, ScreenSubmenuNamesEveryScreenAndChecksTheShows) {
    Menus().PopupMenuMainPopup();
    const QList<QScreen*> screens = QGuiApplication::screens();
    const QList<QAction*> items = Menus().Screen1->actions();
    ASSERT_EQ(items.size(), screens.size());
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QSize size = screens[i]->size();
        EXPECT_EQ(items[i]->text(), QStringLiteral("%1: %2 (%3x%4)")
                                        .arg(i + 1)
                                        .arg(screens[i]->name())
                                        .arg(size.width())
                                        .arg(size.height()));
        EXPECT_TRUE(items[i]->isCheckable());
        EXPECT_EQ(items[i]->isChecked(), screens[i] == Window.screen());
    }
    // Opening it again does not pile items up.
    Menus().PopupMenuMainPopup();
    EXPECT_EQ(Menus().Screen1->actions().size(), screens.size());
}

TEST_F(PopupMenusTest, MenusHoldEveryItemInOrderAndNoActionOwnsAKey) {
    const std::vector<std::string> main = {
        "Graph List >",
        "Show/Hide Control Panel (Space Key)",
        "&Go >",
        "  Previous Slide (PageUp Key)",
        "  Next Slide (PageDown Key)",
        "  -",
        "  The First Slide (Home Key)",
        "  The Last Slide (End Key)",
        "Quick Capture Screen >",
        "  Capture Screen\tF6",
        "  -",
        "  Set Batch Capture Job...",
        "-",
        "Grid Properties >",
        "  Horizontal Grid Lines",
        "  Vertical Grid Lines",
        "  Radial Grid Lines",
        "  Angular Gird Lines",
        "Coordinate Style >",
        "  Equal scale of marks",
        "  Axes View >",
        "    Crossed",
        "    Boxed",
        "  Legend",
        "  Smooth Lines",
        "Screen >",
        "Pointer Option >",
        "  Arrow",
        "  Hide",
        "  Pen\tF4",
        "  Laser",
        "  -",
        "  Pen Properties...",
        "Coordinate Properties",
        "-",
        "Open Document...",
        "-",
        "Refresh\tF5",
        "Help",
        "Close Full Screen (ESC Key)",
    };
    EXPECT_EQ(Describe(Menus().PopupMenuMain), main);
    EXPECT_EQ(Describe(Menus().PopupMenuGraphList), std::vector<std::string>{"Graph List >"});
    EXPECT_EQ(Describe(Menus().PopupMenuGridProperties),
              (std::vector<std::string>{"Grid Properties >", "  Horizontal Grid Lines",
                                        "  Vertical Grid Lines", "  Radial Grid Lines",
                                        "  Angular Gird Lines"}));
    EXPECT_EQ(
        Describe(Menus().PopupMenuCoordinateStyle),
        (std::vector<std::string>{"Coordinate Style >", "  Equal scale of marks", "  Axes View >",
                                  "    Crossed", "    Boxed", "  Legend", "  Smooth Lines"}));
    // The keys in the captions are the window's key map; a shortcut here would take them.
    for (const QMenu* menu : {Menus().PopupMenuMain, Menus().PopupMenuGraphList,
                              Menus().PopupMenuGridProperties, Menus().PopupMenuCoordinateStyle})
        for (QAction* action : AllActions(menu))
            EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
}

TEST_F(PopupMenusTest, RightClickOnTheViewOpensTheMenuWithTheMarksOfTheMoment) {
    Show(Document(Function("x", 0), "<GridHorEnabled>1</GridHorEnabled>"));
    const QPoint at(40, 30);
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, Window.Coordinate1->mapToGlobal(at));
    QApplication::sendEvent(Window.Coordinate1, &click);
    ASSERT_TRUE(Menus().PopupMenuMain->isVisible());
    EXPECT_TRUE(Menus().HorizontalGridLines1->isChecked());
    EXPECT_FALSE(Menus().GoTo1->menuAction()->isEnabled()) << "a single document";
    EXPECT_EQ(Captions(Menus().GraphList1), std::vector<std::string>{"Y(x)=x"});
    Menus().PopupMenuMain->hide();

    // The marks follow the state at the next opening, not the one before.
    View().GridHorEnabled = 0;
    QApplication::sendEvent(Window.Coordinate1, &click);
    ASSERT_TRUE(Menus().PopupMenuMain->isVisible());
    EXPECT_FALSE(Menus().HorizontalGridLines1->isChecked());
    Menus().PopupMenuMain->hide();
}

struct TSwitchCase {
    const char* Name;
    TFlag TCoordinate::*Setting;
    QAction* TPopupMenus::*Main;
    QAction* TPopupMenus::*ToolBar;
    QMenu* TPopupMenus::*ToolBarMenu;
};

// Each switch flips its setting from either menu, redraws the view, and both menus show the
// new state at their next opening.
TEST_F(PopupMenusTest, SwitchesFlipFromEitherMenuRedrawAndShowTheirMarks) {
    const TSwitchCase cases[] = {
        {"horizontal grid", &TCoordinate::GridHorEnabled, &TPopupMenus::HorizontalGridLines1,
         &TPopupMenus::HorizontalGridLines2, &TPopupMenus::PopupMenuGridProperties},
        {"vertical grid", &TCoordinate::GridVerEnabled, &TPopupMenus::VerticalGridLines1,
         &TPopupMenus::VerticalGridLines2, &TPopupMenus::PopupMenuGridProperties},
        {"radial grid", &TCoordinate::GridRadialEnabled, &TPopupMenus::RadialGridLines1,
         &TPopupMenus::RadialGridLines2, &TPopupMenus::PopupMenuGridProperties},
        {"angular grid", &TCoordinate::GridAngularEnabled, &TPopupMenus::AngularGirdLines1,
         &TPopupMenus::AngularGirdLines2, &TPopupMenus::PopupMenuGridProperties},
        {"equal scale", &TCoordinate::EqualScaleEnabled, &TPopupMenus::Equalscaleofmarks1,
         &TPopupMenus::Equalscaleofmarks2, &TPopupMenus::PopupMenuCoordinateStyle},
        {"legend", &TCoordinate::LegendEnabled, &TPopupMenus::Legend1, &TPopupMenus::Legend2,
         &TPopupMenus::PopupMenuCoordinateStyle},
    };
    Show(Document(Function("x/2", 0)));
    // Equal scale squares the plot area: a wide window shows it.
    Window.resize(640, 400);
    TPopupMenus& menus = Menus();
    for (const TSwitchCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFlag& setting = View().*c.Setting;
        QAction* main = menus.*c.Main;
        QAction* toolBar = menus.*c.ToolBar;
        const auto openToolBarMenu = [&] {
            if (c.ToolBarMenu == &TPopupMenus::PopupMenuGridProperties)
                menus.PopupMenuGridPropertiesPopup();
            else
                menus.PopupMenuCoordinateStylePopup();
        };
        setting = 0;
        Window.Refresh1Click();
        const QImage off = Picture();

        menus.PopupMenuMainPopup();
        EXPECT_FALSE(main->isChecked());
        Mark();
        toolBar->trigger();
        EXPECT_EQ(setting, 1);
        EXPECT_FALSE(Marked()) << "the view is redrawn";
        EXPECT_NE(Picture(), off) << "the picture shows the setting";
        menus.PopupMenuMainPopup();
        EXPECT_TRUE(main->isChecked());

        main->trigger();
        EXPECT_EQ(setting, 0);
        EXPECT_EQ(Picture(), off);
        openToolBarMenu();
        EXPECT_FALSE(toolBar->isChecked());

        // A document's 2 is off, in the picture and in the menus alike; a click switches it on.
        setting = 2;
        Window.Refresh1Click();
        EXPECT_EQ(Picture(), off);
        openToolBarMenu();
        EXPECT_FALSE(toolBar->isChecked());
        menus.PopupMenuMainPopup();
        EXPECT_FALSE(main->isChecked());
        toolBar->trigger();
        EXPECT_EQ(setting, 1);
        menus.PopupMenuMainPopup();
        EXPECT_TRUE(main->isChecked());
        setting = 0;
    }
    EXPECT_TRUE(Errors.empty());
}

TEST_F(PopupMenusTest, AxesViewRadioItemsFollowTheAxesStyle) {
    Show(Document(Function("x/2", 0), "<AxesStyle>5</AxesStyle>"));
    TPopupMenus& menus = Menus();
    menus.PopupMenuMainPopup();
    EXPECT_TRUE(menus.Boxed1->isChecked()) << "any style but 0 is boxed";
    EXPECT_FALSE(menus.Crossed1->isChecked());

    const QImage boxed = Picture();
    menus.Crossed2->trigger();
    EXPECT_EQ(View().AxesStyle, 0);
    EXPECT_NE(Picture(), boxed);
    menus.PopupMenuMainPopup();
    EXPECT_TRUE(menus.Crossed1->isChecked());
    EXPECT_FALSE(menus.Boxed1->isChecked());

    const QImage crossed = Picture();
    menus.Boxed1->trigger();
    EXPECT_EQ(View().AxesStyle, 1);
    EXPECT_NE(Picture(), crossed);
    menus.PopupMenuCoordinateStylePopup();
    EXPECT_TRUE(menus.Boxed2->isChecked());
    EXPECT_FALSE(menus.Crossed2->isChecked());
}

TEST_F(PopupMenusTest, GraphListShowsEachGraphByKindWithItsCheckAndIndex) {
    Show(Document(Function("sin(x)", 0) + Function("y^2", 1, 0) + Function("2*cos(a)", 2) +
                  Function("cos(t)", 3, 1, "sin(t)") + Function("x^2+y^2-1", 4, 1, "=0") +
                  Function("x+y", 4, 2, " &gt; 0") + Table(12) + Function("x", 9) +
                  Function("a&amp;b", 0, 0)));
    const std::vector<std::string> captions = {
        "Y(x)=sin(x)",        "X(y)=y^2",       "R(a)=2*cos(a)",   "X(t)=cos(t) ; Y(t)=sin(t)",
        "f(x,y)=x^2+y^2-1=0", "f(x,y)=x+y > 0", "Table: 12 Items", "",
        "Y(x)=a&b",
    };
    // ShowEnabled 2 is off: no check mark, as nothing is drawn.
    const std::vector<bool> checks = {true, false, true, true, true, false, true, true, false};
    TPopupMenus& menus = Menus();
    menus.PopupMenuMainPopup();
    menus.PopupMenuGraphListPopup();
    for (QMenu* submenu : {menus.GraphList1, menus.GraphList2}) {
        EXPECT_EQ(Captions(submenu), captions);
        EXPECT_EQ(Checks(submenu), checks);
        for (int i = 0; i < submenu->actions().size(); ++i) {
            EXPECT_EQ(submenu->actions()[i]->toolTip(), QString::number(i));
            EXPECT_TRUE(submenu->actions()[i]->isCheckable());
        }
    }
}

TEST_F(PopupMenusTest, GraphItemSwitchesItsGraphAndTheListIsRebuiltAtEachOpening) {
    const std::string twoGraphs = Document(Function("x/2", 0) + Function("-x", 0, 0));
    Show(twoGraphs);
    TPopupMenus& menus = Menus();
    menus.PopupMenuMainPopup();
    ASSERT_EQ(Checks(menus.GraphList1), (std::vector<bool>{true, false}));

    const QImage hidden = Picture();
    Mark();
    menus.GraphList1->actions()[1]->trigger();
    EXPECT_EQ(Window.GraphList->GetShowEnabled(1), 1);
    EXPECT_FALSE(Marked());
    EXPECT_NE(Picture(), hidden) << "the graph is drawn";
    menus.PopupMenuGraphListPopup();
    EXPECT_EQ(Checks(menus.GraphList2), (std::vector<bool>{true, true}));

    menus.GraphList2->actions()[1]->trigger();
    EXPECT_EQ(Window.GraphList->GetShowEnabled(1), 0);
    EXPECT_EQ(Picture(), hidden);
    menus.GraphList2->actions()[0]->trigger();
    EXPECT_EQ(Window.GraphList->GetShowEnabled(0), 0);

    // An item whose hint is no index changes no graph, but the view is still refreshed.
    QAction* stray = menus.GraphList1->actions()[0];
    for (const char* hint : {"x", "", "2", "-1"}) {
        SCOPED_TRACE(hint);
        stray->setToolTip(QString::fromLatin1(hint));
        Mark();
        menus.GraphItemClick(stray);
        EXPECT_FALSE(Marked());
        EXPECT_EQ(Window.GraphList->GetShowEnabled(0), 0);
        EXPECT_EQ(Window.GraphList->GetShowEnabled(1), 0);
    }

    // The next slide's graphs replace the items; the old items are gone.
    QPointer<QAction> old = menus.GraphList1->actions()[0];
    Window.LoadDocument(Write("one.xml", Document(Table(3, 0))));
    menus.PopupMenuMainPopup();
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(Captions(menus.GraphList1), std::vector<std::string>{"Table: 3 Items"});
    EXPECT_EQ(Checks(menus.GraphList1), std::vector<bool>{false});

    Window.LoadDocument(Write("none.xml", Document("")));
    menus.PopupMenuMainPopup();
    EXPECT_TRUE(menus.GraphList1->actions().isEmpty());
    EXPECT_TRUE(Errors.empty());
}

// Absurd documents must not stall the window at each right click: a caption of a megabyte and
// thousands of graphs stay within what a menu can show.
TEST_F(PopupMenusTest, HugeGraphListsAreCutToFitAMenu) {
    std::string graphs = Function(std::string(100000, '1'), 0);
    for (int i = 1; i < 1500; ++i)
        graphs += Function("x", 0, 0);
    Show(Document(graphs));
    Menus().PopupMenuMainPopup();
    const QList<QAction*> items = Menus().GraphList1->actions();
    ASSERT_EQ(items.size(), 1001);
    const QString caption = items[0]->text();
    EXPECT_LE(caption.size(), 200);
    EXPECT_TRUE(caption.startsWith(QStringLiteral("Y(x)=111")));
    EXPECT_TRUE(caption.endsWith(QChar(0x2026)));
    EXPECT_EQ(items[999]->toolTip(), QStringLiteral("999"));
    EXPECT_TRUE(items[999]->isEnabled());
    EXPECT_FALSE(items[1000]->isEnabled()) << "the rest is only hinted at";

    // The graphs within the cap still switch.
    items[999]->trigger();
    EXPECT_EQ(Window.GraphList->GetShowEnabled(999), 1);
}

TEST_F(PopupMenusTest, GoSubmenuIsEnabledExactlyForASlideList) {
    const std::string slide = Write("s.xml", Document(""));
    struct TCase {
        const char* Name;
        std::function<void(TFormSlideShow&)> Begin;
        bool Enabled;
    };
    const TCase cases[] = {
        {"single document", [&](TFormSlideShow& w) { w.BeginShowDocument(slide); }, false},
        {"first slide",
         [&](TFormSlideShow& w) {
             w.BeginShowSlides(0, {slide, slide});
         },
         true},
        {"last slide",
         [&](TFormSlideShow& w) {
             w.BeginShowSlides(1, {slide, slide});
         },
         true},
        {"start out of range", [&](TFormSlideShow& w) { w.BeginShowSlides(5, {slide}); }, true},
        {"empty list", [&](TFormSlideShow& w) { w.BeginShowSlides(0, {}); }, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFormSlideShow window;
        c.Begin(window);
        window.Menus->PopupMenuMainPopup();
        EXPECT_EQ(window.Menus->GoTo1->menuAction()->isEnabled(), c.Enabled);
        window.close();
    }
}

TEST_F(PopupMenusTest, GoItemsMoveThroughTheSlides) {
    const std::string a = Write("a.xml", Document(Function("x", 0)));
    const std::string b = Write("b.xml", Document(Function("-x", 0)));
    Window.BeginShowSlides(0, {a, b, a});
    ASSERT_TRUE(Settle());
    TPopupMenus& menus = Menus();
    menus.NextSlide1->trigger();
    EXPECT_EQ(Window.SlideIndex, 1);
    menus.heLastSlide1->trigger();
    EXPECT_EQ(Window.SlideIndex, 2);
    menus.PreviousSlide1->trigger();
    EXPECT_EQ(Window.SlideIndex, 1);
    menus.heFirstSlide1->trigger();
    EXPECT_EQ(Window.SlideIndex, 0);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Window.CurrentPath, a);
}

TEST_F(PopupMenusTest, PointerItemsShowTheModeAsARadioMark) {
    Show(Document(""));
    TPopupMenus& menus = Menus();
    for (TEnum8 mode : {TEnum8{2}, TEnum8{0}, TEnum8{3}, TEnum8{1}}) {
        SCOPED_TRACE(static_cast<int>(mode));
        Window.PointerMode = mode;
        menus.PopupMenuMainPopup();
        EXPECT_EQ(menus.Arrow1->isChecked(), mode == 0);
        EXPECT_EQ(menus.Hide1->isChecked(), mode == 1);
        EXPECT_EQ(menus.Pen1->isChecked(), mode == 2);
        EXPECT_EQ(menus.Laser1->isChecked(), mode == 3);
    }
    // Choosing an item switches the mode, and the next opening marks it.
    const std::pair<QAction*, TEnum8> choices[] = {
        {menus.Pen1, 2}, {menus.Laser1, 3}, {menus.Hide1, 1}, {menus.Arrow1, 0}};
    for (const auto& [item, mode] : choices) {
        SCOPED_TRACE(item->text().toStdString());
        item->trigger();
        EXPECT_EQ(Window.PointerMode, mode);
        menus.PopupMenuMainPopup();
        EXPECT_TRUE(item->isChecked());
    }
}

TEST_F(PopupMenusTest, ToolBarButtonsDropDownTheirMenus) {
    Show(Document(Function("x", 0)));
    TPopupMenus& menus = Menus();
    struct TCase {
        QToolButton* Button;
        QMenu* Menu;
        QToolButton::ToolButtonPopupMode Mode;
    };
    const TCase cases[] = {
        {Panel().ToolButton8, menus.PopupMenuGraphList, QToolButton::InstantPopup},
        {Panel().ToolButton10, menus.PopupMenuGridProperties, QToolButton::InstantPopup},
        {Panel().ToolButton11, menus.PopupMenuCoordinateStyle, QToolButton::InstantPopup},
        {Panel().ToolButton13, menus.QuickCaptureScreen1, QToolButton::MenuButtonPopup},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Button->toolTip().toStdString());
        EXPECT_TRUE(c.Button->isEnabled());
        EXPECT_EQ(c.Button->menu(), c.Menu);
        EXPECT_EQ(c.Button->popupMode(), c.Mode);
    }
    EXPECT_TRUE(Panel().ToolButton12->isEnabled());

    // Opening a drop-down menu runs its opening handler.
    View().GridVerEnabled = 1;
    menus.PopupMenuGridProperties->popup(QPoint(10, 10));
    EXPECT_TRUE(menus.VerticalGridLines2->isChecked());
    menus.PopupMenuGridProperties->hide();
    menus.PopupMenuGraphList->popup(QPoint(10, 10));
    EXPECT_EQ(Captions(menus.GraphList2), std::vector<std::string>{"Y(x)=x"});
    menus.PopupMenuGraphList->hide();
}

TEST_F(PopupMenusTest, CoordinatePropertiesRedrawsOnlyWhenApplied) {
    Show(Document(Function("x", 0)));
    struct TCase {
        const char* Name;
        bool Applied;
        bool Throws;
        bool ViaButton;
    };
    const TCase cases[] = {
        {"OK from the menu", true, false, false},
        {"OK from the tool bar", true, false, true},
        {"Cancel", false, false, false},
        {"error", false, true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Errors.clear();
        int calls = 0;
        Window.SetCoordinateEditor([&](QWidget* owner, TCoordinate& view) {
            ++calls;
            EXPECT_EQ(owner, &Window);
            EXPECT_EQ(&view, &View());
            if (c.Throws)
                throw std::runtime_error("no dialog");
            if (c.Applied)
                view.BackgroundColor = 0x00FFFF;
            return c.Applied;
        });
        View().BackgroundColor = 0xFFFFFF;
        Window.Refresh1Click();
        Mark();
        Window.LabelHideClick();
        ASSERT_FALSE(Panel().isVisible());
        if (c.ViaButton)
            Panel().ToolButton12->click();
        else
            Menus().CoordinateProperties1->trigger();
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(Marked(), !c.Applied);
        if (c.Applied) {
            EXPECT_EQ(Picture().pixelColor(5, 5), QColor(255, 255, 0));
        }
        EXPECT_EQ(Panel().isVisible(), !c.Throws) << "hidden and shown again after the dialog";
        EXPECT_FALSE(Window.CoordinateMovementPanel1->isChecked()) << "the check mark stays";
        EXPECT_EQ(Errors,
                  c.Throws ? std::vector<std::string>{"no dialog"} : std::vector<std::string>{});
    }
}

// The dialogs of the menus run for real: each closes without applying, is destroyed, and the
// control panel is visible afterwards whatever its state before.
TEST_F(PopupMenusTest, DialogsFromTheMenuEndWithThePanelShownAgain) {
    Show(Document(Function("x", 0)));
    TPopupMenus& menus = Menus();
    struct TCase {
        const char* Name;
        QAction* Item;
    };
    const TCase cases[] = {
        {"Coordinate Properties", menus.CoordinateProperties1},
        {"Set Batch Capture Job...", menus.SetBatchCaptureJob1},
        {"Pen Properties...", menus.PenProperties1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Window.LabelHideClick();
        ASSERT_FALSE(Panel().isVisible());
        Mark();
        QString seen;
        // Closes the dialog as soon as it runs; gives up after a few seconds.
        QTimer closer;
        int ticks = 0;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = dialog->windowTitle();
                dialog->reject();
            } else if (++ticks > 500) {
                closer.stop();
            }
        });
        closer.start(10);
        c.Item->trigger();
        closer.stop();
        EXPECT_FALSE(seen.isEmpty()) << "a dialog was shown";
        EXPECT_TRUE(Marked()) << "a closed dialog applies nothing, so nothing is redrawn";
        EXPECT_TRUE(Panel().isVisible());
        EXPECT_TRUE(Window.findChildren<QDialog*>().isEmpty()) << "the dialog is destroyed";
    }
    EXPECT_EQ(Window.PointerMode, 0) << "closing the pen dialog keeps the mode";
    EXPECT_TRUE(Errors.empty());
}

// OK in the real dialog checks and applies the values, and the view is redrawn.
TEST_F(PopupMenusTest, CoordinatePropertiesOkRedrawsTheView) {
    Show(Document(Function("x", 0)));
    Mark();
    bool clicked = false;
    QTimer::singleShot(50, &Window, [&] {
        auto* dialog = qobject_cast<TFormCoordinateProperties*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->Button5->click();
        clicked = true;
    });
    Window.Menus->CoordinateProperties1->trigger();
    ASSERT_TRUE(clicked);
    EXPECT_FALSE(Marked());
    EXPECT_TRUE(Window.findChildren<QDialog*>().isEmpty());
    EXPECT_TRUE(Errors.empty());
}

} // namespace
} // namespace curvana
