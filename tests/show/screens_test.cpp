#include "platform/rastercanvas.h"
#include "show/addlabel.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "show/formslideshow.h"
#include "show/popupmenus.h"
#include "tests/support/slidewindowtest.h"
#include "view/coordinate.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSizeF>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Readable failures for the geometry the tests compare.
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.width() << "x" << r.height() << "+" << r.x() << "+" << r.y();
}
inline void PrintTo(const QSize& s, std::ostream* os) {
    *os << s.width() << "x" << s.height();
}
inline void PrintTo(const QPoint& p, std::ostream* os) {
    *os << "(" << p.x() << ", " << p.y() << ")";
}

namespace curvana {
namespace {

// Run on the offscreen platform with the two screens of twoscreens.json: a laptop panel of
// 1920x1080 device pixels at 200 % (960x540 logical) and a 1280x720 projector to its right.
class TwoScreenShow : public TSlideWindowTest {
protected:
    void SetUp() override {
        // A test that takes a screen away leaves one; ctest runs every test in its own process.
        if (QGuiApplication::screens().size() < 2)
            GTEST_SKIP() << "needs the two screens of tests/show/twoscreens.json";
    }

    QScreen* Screen(int index) const { return QGuiApplication::screens().at(index); }

    void Show() {
        Window.BeginShowDocument(
            Write("doc.xml", "<CurvanaDocument><AddLabels><AddLabel><Caption>here</Caption>"
                             "<x>1</x><y>2</y></AddLabel></AddLabels></CurvanaDocument>"));
        ASSERT_TRUE(Settle());
        ASSERT_TRUE(Errors.empty());
    }

    // Lets resizes and screen changes settle and the slide follow them.
    void Follow() {
        for (int i = 0; i < 20; ++i) {
            QTest::qWait(5);
            QCoreApplication::processEvents();
        }
    }

    // The show covers the screen, and the picture, the label and the panel fit its size.
    void ExpectCovers(const QScreen* screen) {
        const QRect area = screen->geometry();
        EXPECT_EQ(Window.geometry(), area) << screen->name().toStdString();
        EXPECT_EQ(Window.Coordinate1->size(), area.size());
        EXPECT_EQ(Window.Coordinate1->Picture().Image().size(),
                  (QSizeF(area.size()) * screen->devicePixelRatio()).toSize());
        const TPoint at = Window.View().WorldToScreen(1, 2);
        ASSERT_EQ(Window.AddLabels().size(), 1u);
        EXPECT_EQ(Window.AddLabels()[0]->pos(), QPoint(at.X, at.Y));
        EXPECT_EQ(Window.GroupBoxMovement->geometry().bottomRight() + QPoint(1, 1),
                  QPoint(area.width() - 20, area.height() - 20));
    }

    // The Screen submenu as it opens, the checked item marked "(x) ".
    std::vector<std::string> ScreenMenu() {
        Window.Menus->PopupMenuMainPopup();
        std::vector<std::string> items;
        for (QAction* item : Window.Menus->Screen1->actions())
            items.push_back((item->isChecked() ? "(x) " : "") + item->text().toStdString());
        return items;
    }
};

TEST_F(TwoScreenShow, OpensOnTheChosenScreenElseThePointers) {
    struct TCase {
        int chosen; // -1: no choice
        int pointer;
        int expected;
    };
    for (const TCase& test : {TCase{1, 0, 1}, TCase{0, 1, 0}, TCase{-1, 1, 1}, TCase{-1, 0, 0}}) {
        SCOPED_TRACE(testing::Message()
                     << "chosen " << test.chosen << ", pointer on " << test.pointer);
        QCursor::setPos(Screen(test.pointer)->geometry().center());
        TFormSlideShow window;
        window.SetShowScreen(test.chosen < 0 ? nullptr : Screen(test.chosen));
        window.BeginShowDocument(Write("empty.xml", "<CurvanaDocument/>"));
        EXPECT_EQ(window.geometry(), Screen(test.expected)->geometry());
        EXPECT_EQ(window.windowHandle()->screen(), Screen(test.expected));
        window.close();
    }
}

TEST_F(TwoScreenShow, ScreenMenuMovesTheShowAndTheSlideFollows) {
    Window.SetShowScreen(Screen(0));
    Show();
    ExpectCovers(Screen(0));
    // Each screen by its resolution, as the monitor's settings give it, not its logical size.
    EXPECT_EQ(ScreenMenu(),
              (std::vector<std::string>{"(x) 1: LAPTOP (1920x1080)", "2: PROJECTOR (1280x720)"}));

    Window.Menus->Screen1->actions().at(1)->trigger();
    Follow();
    ExpectCovers(Screen(1));
    EXPECT_TRUE(Window.isFullScreen());
    EXPECT_EQ(ScreenMenu(),
              (std::vector<std::string>{"1: LAPTOP (1920x1080)", "(x) 2: PROJECTOR (1280x720)"}));

    Window.Menus->Screen1->actions().at(0)->trigger();
    Follow();
    ExpectCovers(Screen(0));
}

// Deleting a QScreen is what the platform does when a monitor goes away.
TEST_F(TwoScreenShow, UnpluggingTheShowsScreenMovesItToTheOtherAndKeysStillWork) {
    Window.SetShowScreen(Screen(1));
    Show();
    ExpectCovers(Screen(1));

    delete Screen(1);
    Follow();
    ASSERT_EQ(QGuiApplication::screens().size(), 1);
    ExpectCovers(Screen(0));
    EXPECT_EQ(ScreenMenu(), (std::vector<std::string>{"(x) 1: LAPTOP (1920x1080)"}));

    QTest::keyClick(&Window, Qt::Key_Escape);
    EXPECT_FALSE(Window.isVisible());
}

TEST_F(TwoScreenShow, UnpluggingAScreenClosesMenusAndBringsBackItsWindows) {
    Window.SetShowScreen(Screen(1));
    Show();
    // A dialog and the context menu, both on the projector.
    QDialog dialog(&Window);
    dialog.resize(300, 200);
    dialog.move(Screen(1)->geometry().center());
    dialog.show();
    Follow();
    Window.Menus->PopupMenuMain->popup(Screen(1)->geometry().center());
    Follow();
    ASSERT_EQ(QApplication::activePopupWidget(), Window.Menus->PopupMenuMain);

    delete Screen(1);
    Follow();
    // Under X the menu stayed open out of sight and took the next key; offscreen Qt may close
    // it by itself, so the dialog is what this run can tell apart.
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(Screen(0)->geometry().contains(dialog.frameGeometry()));
    QTest::keyClick(&Window, Qt::Key_Escape);
    EXPECT_FALSE(Window.isVisible());
}

TEST_F(TwoScreenShow, AChosenScreenThatIsGoneFallsBackToThePointers) {
    QCursor::setPos(Screen(0)->geometry().center());
    Window.SetShowScreen(Screen(1));
    delete Screen(1);
    Follow();
    Show();
    ExpectCovers(Screen(0));
}

} // namespace
} // namespace curvana
