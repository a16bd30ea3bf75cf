#include "show/penpointer.h"

#include "dialogs/colorbox.h"
#include "dialogs/comboboxlinestyle.h"
#include "dialogs/comboboxlinewidth.h"
#include "dialogs/formpenproperties.h"
#include "model/graphstyle.h"
#include "platform/rastercanvas.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "show/formslideshow.h"
#include "tests/support/slidewindowtest.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace curvana {
namespace {

// A plain white view from -10 to 10 both ways: axes through the middle, the top band empty.
const char* const PlainDocument =
    "<CurvanaDocument>\n<Coordinate>\n"
    "<XInterval><Min>-10</Min><Max>10</Max><Enabled>1</Enabled></XInterval>\n"
    "<YInterval><Min>-10</Min><Max>10</Max><Enabled>1</Enabled></YInterval>\n"
    "<BackgroundColor>16777215</BackgroundColor>\n"
    "</Coordinate>\n</CurvanaDocument>\n";

bool PointerIsHidden() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::BlankCursor;
}

class PenPointerTest : public TSlideWindowTest {
protected:
    void Open() {
        Window.BeginShowDocument(Write("plain.xml", PlainDocument));
        ASSERT_TRUE(Settle());
        ASSERT_GT(Picture().width(), 400);
    }

    QImage Picture() const { return Window.Coordinate1->Picture().Image().copy(); }

    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint at) {
        QMouseEvent event(type, QPointF(at), QPointF(Window.Coordinate1->mapToGlobal(at)), button,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(Window.Coordinate1, &event);
    }
    void Press(Qt::MouseButton button, QPoint at) {
        Send(QEvent::MouseButtonPress, button, button, at);
    }
    void Move(Qt::MouseButtons held, QPoint at) { Send(QEvent::MouseMove, Qt::NoButton, held, at); }
    void Release(Qt::MouseButton button, QPoint at) {
        Send(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
    }
    // A left-button stroke through the points.
    void Stroke(const std::vector<QPoint>& points) {
        Press(Qt::LeftButton, points.front());
        for (std::size_t i = 1; i < points.size(); ++i)
            Move(Qt::LeftButton, points[i]);
        Release(Qt::LeftButton, points.back());
    }
};

const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);

struct TModeCase {
    const char* Name;
    std::vector<void (TFormSlideShow::*)()> Steps;
    TEnum8 Mode;
    bool Hidden;
    Qt::CursorShape ViewCursor;
};

TEST_F(PenPointerTest, ModesSetPointerCursorButtonAndItems) {
    using F = TFormSlideShow;
    const TModeCase cases[] = {
        {"start", {}, 0, false, Qt::ArrowCursor},
        {"arrow", {&F::Arrow1Click}, 0, false, Qt::ArrowCursor},
        {"hide", {&F::Hide1Click}, 1, true, Qt::ArrowCursor},
        {"pen", {&F::Pen1Click}, 2, false, Qt::PointingHandCursor},
        {"hide, arrow, hide",
         {&F::Hide1Click, &F::Arrow1Click, &F::Hide1Click},
         1,
         true,
         Qt::ArrowCursor},
        // Hiding twice needs only one return to bring the pointer back.
        {"hide, hide, arrow",
         {&F::Hide1Click, &F::Hide1Click, &F::Arrow1Click},
         0,
         false,
         Qt::ArrowCursor},
        {"hide, pen", {&F::Hide1Click, &F::Pen1Click}, 2, false, Qt::PointingHandCursor},
        {"pen, hide", {&F::Pen1Click, &F::Hide1Click}, 1, true, Qt::ArrowCursor},
        {"pen, arrow", {&F::Pen1Click, &F::Arrow1Click}, 0, false, Qt::ArrowCursor},
        {"hide, laser", {&F::Hide1Click, &F::Laser1Click}, 3, false, Qt::BitmapCursor},
    };
    for (const TModeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        {
            TFormSlideShow window;
            window.BeginShowDocument("none.xml");
            for (auto step : c.Steps)
                (window.*step)();
            EXPECT_EQ(window.PointerMode, c.Mode);
            EXPECT_EQ(PointerIsHidden(), c.Hidden);
            EXPECT_EQ(window.PenPointer->PointerHidden(), c.Hidden);
            EXPECT_EQ(window.Coordinate1->cursor().shape(), c.ViewCursor);
            QToolButton* button = window.GroupBoxMovement->ToolButtonPen;
            EXPECT_TRUE(button->isEnabled());
            EXPECT_TRUE(button->isCheckable());
            EXPECT_EQ(button->isChecked(), c.Mode == 2);
            EXPECT_EQ(window.Arrow1->isChecked(), c.Mode == 0);
            EXPECT_EQ(window.Hide1->isChecked(), c.Mode == 1);
            EXPECT_EQ(window.Pen1->isChecked(), c.Mode == 2);
            EXPECT_EQ(window.Laser1->isChecked(), c.Mode == 3);
            window.close();
        }
        // The pointer is back once the window is gone, whatever its mode was.
        EXPECT_FALSE(PointerIsHidden());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
}

TEST_F(PenPointerTest, MenuItemsAreARadioGroupThatSwitchesTheMode) {
    EXPECT_EQ(Window.Arrow1->text(), QStringLiteral("Arrow"));
    EXPECT_EQ(Window.Hide1->text(), QStringLiteral("Hide"));
    EXPECT_EQ(Window.Pen1->text(), QStringLiteral("Pen\tF4"));
    EXPECT_EQ(Window.PenProperties1->text(), QStringLiteral("Pen Properties..."));
    EXPECT_FALSE(Window.PenProperties1->isCheckable());
    Window.BeginShowDocument("none.xml");
    Window.Hide1->trigger();
    EXPECT_EQ(Window.PointerMode, 1);
    EXPECT_TRUE(PointerIsHidden());
    Window.Pen1->trigger();
    EXPECT_EQ(Window.PointerMode, 2);
    EXPECT_FALSE(PointerIsHidden());
    EXPECT_FALSE(Window.Hide1->isChecked());
    Window.Arrow1->trigger();
    EXPECT_EQ(Window.PointerMode, 0);
    EXPECT_FALSE(Window.Pen1->isChecked());
}

TEST_F(PenPointerTest, F4AndThePenButtonToggleBetweenPenAndArrow) {
    Window.BeginShowDocument("none.xml");
    const struct {
        void (TFormSlideShow::*Start)();
        TEnum8 After;
    } cases[] = {{&TFormSlideShow::Arrow1Click, 2},
                 {&TFormSlideShow::Hide1Click, 2},
                 {&TFormSlideShow::Pen1Click, 0},
                 {&TFormSlideShow::Laser1Click, 2}};
    for (const auto& c : cases) {
        (Window.*c.Start)();
        QTest::keyClick(&Window, Qt::Key_F4);
        EXPECT_EQ(Window.PointerMode, c.After);
        EXPECT_FALSE(PointerIsHidden()) << "F4 shows the pointer again";
        EXPECT_EQ(Window.GroupBoxMovement->ToolButtonPen->isChecked(), c.After == 2);

        (Window.*c.Start)();
        Window.GroupBoxMovement->ToolButtonPen->click();
        EXPECT_EQ(Window.PointerMode, c.After);
        EXPECT_FALSE(PointerIsHidden());
        EXPECT_EQ(Window.GroupBoxMovement->ToolButtonPen->isChecked(), c.After == 2);
    }
}

TEST_F(PenPointerTest, StrokeIsInThePictureUntilTheNextRedraw) {
    Open();
    const QImage before = Picture();
    Window.Pen1Click();
    // Canvas pen and brush as the view left them, to see that a segment gives them back.
    TCanvas& canvas = Window.Coordinate1->Picture();
    canvas.Pen = TPen{0x00AA00, 3, psDot};
    canvas.Brush = TBrush{0x123456, bsCross};

    Stroke({{100, 30}, {200, 30}, {200, 80}});
    const QImage drawn = Picture();
    // Blue, two pixels wide, along both segments.
    for (const QPoint at :
         {QPoint(101, 30), QPoint(150, 30), QPoint(199, 30), QPoint(200, 50), QPoint(200, 79)})
        EXPECT_EQ(drawn.pixelColor(at), Blue) << at.x() << "," << at.y();
    EXPECT_EQ(drawn.pixelColor(150, 31).blue() == 255 || drawn.pixelColor(150, 29).blue() == 255,
              true);
    EXPECT_NE(before.pixelColor(150, 30), Blue);
    EXPECT_EQ(canvas.Pen, (TPen{0x00AA00, 3, psDot}));
    EXPECT_EQ(canvas.Brush, (TBrush{0x123456, bsCross}));
    // The widget shows it.
    EXPECT_EQ(Window.Coordinate1->grab().toImage().pixelColor(150, 30), Blue);

    Window.Refresh1Click();
    const QImage refreshed = Picture();
    for (const QPoint at : {QPoint(150, 30), QPoint(200, 50)})
        EXPECT_EQ(refreshed.pixelColor(at), before.pixelColor(at));
    EXPECT_EQ(Window.PointerMode, 2) << "a redraw does not change the mode";
}

TEST_F(PenPointerTest, OnlyTheLeftButtonInPenModeDraws) {
    Open();
    const QImage before = Picture();
    Window.Arrow1Click();
    Stroke({{100, 30}, {300, 30}});
    Window.Hide1Click();
    Stroke({{100, 40}, {300, 40}});
    Window.Pen1Click();
    Press(Qt::RightButton, {100, 50});
    Move(Qt::RightButton, {300, 50});
    Move(Qt::NoButton, {300, 60});
    Release(Qt::RightButton, {300, 60});
    EXPECT_EQ(Picture(), before);
}

TEST_F(PenPointerTest, AnyButtonInAnyModeSetsTheStart) {
    Open();
    // Pressed in Arrow mode, then the pen: the first segment starts at the press.
    Press(Qt::RightButton, {120, 40});
    Release(Qt::RightButton, {120, 40});
    QTest::keyClick(&Window, Qt::Key_F4);
    Move(Qt::LeftButton, {220, 40});
    const QImage drawn = Picture();
    EXPECT_EQ(drawn.pixelColor(121, 40), Blue);
    EXPECT_EQ(drawn.pixelColor(219, 40), Blue);
}

TEST_F(PenPointerTest, PenChangesApplyToTheNextSegmentOnly) {
    Open();
    const QImage before = Picture();
    Window.Pen1Click();
    Press(Qt::LeftButton, {100, 30});
    Move(Qt::LeftButton, {200, 30});
    Window.PenStyle->LineColor = 0x0000FF;
    Window.PenStyle->LineWidth = 1;
    Move(Qt::LeftButton, {300, 30});
    const QImage drawn = Picture();
    EXPECT_EQ(drawn.pixelColor(150, 30), Blue);
    EXPECT_EQ(drawn.pixelColor(250, 30), Red);
    // The first segment is two pixels wide, the second one.
    const auto painted = [&](int x) {
        int rows = 0;
        for (int y = 20; y < 40; ++y)
            rows += drawn.pixel(x, y) != before.pixel(x, y) ? 1 : 0;
        return rows;
    };
    EXPECT_EQ(painted(150), 2);
    EXPECT_EQ(painted(250), 1);
}

// Runs PenProperties1Click with the dialog driven once it is up.
void EditPenThen(TFormSlideShow& window, const std::function<void(TFormPenProperties&)>& act) {
    bool reached = false;
    QTimer::singleShot(0, &window, [&] {
        auto* dialog = qobject_cast<TFormPenProperties*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        reached = true;
        act(*dialog);
    });
    window.PenProperties1Click();
    EXPECT_TRUE(reached);
}

TEST_F(PenPointerTest, PenPropertiesSetSwitchesToPenAndCloseKeepsTheMode) {
    Open();
    Window.LabelHideClick();
    Window.Hide1Click();
    EditPenThen(Window, [](TFormPenProperties& dialog) {
        dialog.ComboboxLineWidth1->setCurrentIndex(3);
        dialog.Button2->click();
    });
    EXPECT_EQ(Window.PointerMode, 1);
    EXPECT_TRUE(PointerIsHidden());
    EXPECT_EQ(Window.PenStyle->LineWidth, 2);
    EXPECT_TRUE(Window.GroupBoxMovement->isVisible()) << "the panel is shown after the dialog";

    EditPenThen(Window, [](TFormPenProperties& dialog) {
        dialog.ColorBox1->SetSelected(0x0000FF);
        dialog.ComboboxLineWidth1->setCurrentIndex(3);
        dialog.ComboboxLineStyle1->SetCD_CurrentPenStyle(psDot);
        dialog.Button1->click();
    });
    EXPECT_EQ(Window.PointerMode, 2);
    EXPECT_FALSE(PointerIsHidden());
    EXPECT_EQ(Window.PenStyle->LineColor, 0x0000FF);
    EXPECT_EQ(Window.PenStyle->LineWidth, 4);
    EXPECT_EQ(Window.PenStyle->LineStyle, psDot);

    // "Set" with nothing changed still switches to the pen.
    Window.Arrow1Click();
    EditPenThen(Window, [](TFormPenProperties& dialog) { dialog.Button1->click(); });
    EXPECT_EQ(Window.PointerMode, 2);
}

TEST_F(PenPointerTest, LaserIsABrightRedDotThatDrawsNothing) {
    Open();
    const QImage before = Picture();
    EXPECT_EQ(Window.Laser1->text(), QStringLiteral("Laser"));
    Window.Laser1->trigger();
    EXPECT_EQ(Window.PointerMode, TPenPointer::pmLaser);
    const QCursor cursor = Window.Coordinate1->cursor();
    ASSERT_EQ(cursor.shape(), Qt::BitmapCursor);
    const QImage dot = cursor.pixmap().toImage();
    const QPoint hotSpot = cursor.hotSpot() * cursor.pixmap().devicePixelRatio();
    EXPECT_EQ(dot.pixelColor(hotSpot), QColor(255, 0, 0));
    EXPECT_EQ(dot.pixelColor(0, 0).alpha(), 0); // a dot, not a square
    Stroke({{100, 30}, {300, 30}});
    EXPECT_EQ(Picture(), before);
}

// Three strokes in the empty top band, each in its own row.
const std::vector<std::vector<QPoint>> ThreeStrokes = {
    {{100, 20}, {200, 20}}, {{100, 40}, {150, 40}, {200, 45}}, {{100, 60}, {200, 60}}};

struct TUndoCase {
    const char* Name;
    std::vector<QKeyCombination> Keys;
    std::size_t Left; // strokes, the first ones drawn
};

TEST_F(PenPointerTest, LastStrokesAreTakenBackAndEraseLeavesTheSlideAsItWas) {
    const TUndoCase cases[] = {
        {"nothing", {}, 3},
        {"Ctrl+Z", {Qt::ControlModifier | Qt::Key_Z}, 2},
        {"Ctrl+Z, Backspace",
         {Qt::ControlModifier | Qt::Key_Z, QKeyCombination(Qt::Key_Backspace)},
         1},
        {"Z alone takes nothing back", {QKeyCombination(Qt::Key_Z)}, 3},
        {"more undos than strokes",
         {QKeyCombination(Qt::Key_Backspace), QKeyCombination(Qt::Key_Backspace),
          QKeyCombination(Qt::Key_Backspace), QKeyCombination(Qt::Key_Backspace)},
         0},
        {"E", {QKeyCombination(Qt::Key_E)}, 0},
        {"Ctrl+Z, then E", {Qt::ControlModifier | Qt::Key_Z, QKeyCombination(Qt::Key_E)}, 0},
    };
    Open();
    const QImage slide = Picture();
    Window.Pen1Click();
    // Each stroke alone on the slide, for the pixels it must leave.
    std::vector<QImage> alone;
    for (const auto& points : ThreeStrokes) {
        Stroke(points);
        alone.push_back(Picture());
        Window.Refresh1Click();
        ASSERT_EQ(Picture(), slide);
    }
    for (const TUndoCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Window.Refresh1Click();
        const double xMin = Window.View().XInterval.Min;
        for (const auto& points : ThreeStrokes)
            Stroke(points);
        ASSERT_EQ(Window.PenPointer->StrokeCount(), 3u);
        for (const QKeyCombination key : c.Keys)
            QTest::keyClick(&Window, key.key(), key.keyboardModifiers());
        EXPECT_EQ(Window.PenPointer->StrokeCount(), c.Left);
        // The picture is the slide with exactly the strokes left: pixel for pixel.
        QImage expected = slide;
        for (std::size_t i = 0; i < c.Left; ++i)
            for (int y = 0; y < expected.height(); ++y)
                for (int x = 0; x < expected.width(); ++x)
                    if (alone[i].pixel(x, y) != slide.pixel(x, y))
                        expected.setPixel(x, y, alone[i].pixel(x, y));
        EXPECT_EQ(Picture(), expected);
        EXPECT_EQ(Window.Coordinate1->grab().toImage().convertToFormat(QImage::Format_RGB32),
                  expected.convertToFormat(QImage::Format_RGB32));
        // The view itself did not move.
        EXPECT_EQ(Window.View().XInterval.Min, xMin);
    }
    // The pen goes on drawing after an erase, and a new stroke is taken back alone.
    QTest::keyClick(&Window, Qt::Key_E);
    Stroke(ThreeStrokes[0]);
    EXPECT_EQ(Picture(), alone[0]);
    QTest::keyClick(&Window, Qt::Key_Backspace);
    EXPECT_EQ(Picture(), slide);
}

TEST_F(PenPointerTest, StrokesGoneWithARefreshAreNotBroughtBack) {
    Open();
    Window.Pen1Click();
    Stroke(ThreeStrokes[0]);
    Stroke(ThreeStrokes[1]);
    // A pan redraws the view: the strokes are gone and undo has nothing to take back.
    QTest::keyClick(&Window, Qt::Key_Left);
    const QImage panned = Picture();
    EXPECT_EQ(Window.PenPointer->StrokeCount(), 0u);
    QTest::keyClick(&Window, Qt::Key_Backspace);
    QTest::keyClick(&Window, Qt::Key_E);
    EXPECT_EQ(Picture(), panned);
    // A stroke after it is taken back to the panned view.
    Stroke(ThreeStrokes[2]);
    QTest::keyClick(&Window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Picture(), panned);
}

} // namespace
} // namespace curvana
