#include "show/formslideshow.h"

#include "platform/rastercanvas.h"
#include "show/addlabel.h"
#include "show/clicklabel.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "tests/support/slidewindowtest.h"
#include "view/coordinate.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace curvana {
namespace {

// A document whose view spans x from -xHalf to xHalf and y from 2 to 6, with ticks every 1,
// extra elements inside Coordinate and extra children of the root.
std::string Document(int xHalf, const std::string& coordinateExtra = "",
                     const std::string& rootExtra = "") {
    const std::string h = std::to_string(xHalf);
    return "<CurvanaDocument>\n<Coordinate>\n<XInterval><Min>-" + h + "</Min><Max>" + h +
           "</Max><Enabled>1</Enabled></XInterval>\n"
           "<YInterval><Min>2</Min><Max>6</Max><Enabled>1</Enabled></YInterval>\n"
           "<XAxesTicksStep>1</XAxesTicksStep><YAxesTicksStep>1</YAxesTicksStep>\n" +
           coordinateExtra + "</Coordinate>\n" + rootExtra + "</CurvanaDocument>\n";
}

std::string Label(const std::string& caption, int x, int y, int transparent = 1) {
    return "<AddLabel><Caption>" + caption + "</Caption><Transparent>" +
           std::to_string(transparent) + "</Transparent><Color>65535</Color><x>" +
           std::to_string(x) + "</x><y>" + std::to_string(y) + "</y></AddLabel>";
}

std::string Labels(const std::string& labels) {
    return "<AddLabels>" + labels + "</AddLabels>";
}

class FormSlideShowTest : public TSlideWindowTest {
protected:
    // Three slides: x half widths 1, 2, 3; label "slide N" at (0, 4). Slide 2 alone sets the
    // y label step, so a load of it leaves a trace that slide 3 does not overwrite.
    std::vector<std::string> ThreeSlides() {
        return {Write("s1.xml", Document(1, "", Labels(Label("slide 1", 0, 4)))),
                Write("s2.xml", Document(2, "<YAxesLabelsStep>7</YAxesLabelsStep>",
                                         Labels(Label("slide 2", 0, 4)))),
                Write("s3.xml", Document(3, "", Labels(Label("slide 3", 0, 4))))};
    }

    std::vector<std::string> LabelCaptions() const {
        std::vector<std::string> captions;
        for (TAddLabel* label : Window.AddLabels())
            captions.push_back(label->text().toStdString());
        return captions;
    }

    TControlPanel& Panel() { return *Window.GroupBoxMovement; }
    TCoordinate& View() { return Window.View(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&Window, static_cast<Qt::Key>(key), modifiers);
    }
};

struct TIndicatorCase {
    const char* Name;
    int Count; // -1: a single document
    int StartIndex;
    int SlideIndex;
    bool Previous;
    bool Next;
    const char* Caption; // nullptr: the caption is hidden
};

TEST_F(FormSlideShowTest, EntriesSetTheSlideAndTheIndicator) {
    const TIndicatorCase cases[] = {
        {"single document", -1, 0, -1, false, false, nullptr},
        {"one slide", 1, 0, 0, false, true, "Slide: 1/1"},
        {"first of three", 3, 0, 0, false, true, "Slide: 1/3"},
        {"middle", 3, 1, 1, true, true, "Slide: 2/3"},
        {"last", 3, 2, 2, true, false, "Slide: 3/3"},
        {"start beyond the list", 3, 3, -1, false, false, nullptr},
        {"negative start", 3, -1, -1, false, false, nullptr},
        {"empty list", 0, 0, -1, false, false, nullptr},
    };
    for (const TIndicatorCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFormSlideShow window;
        std::vector<std::string> list;
        for (int i = 0; i < c.Count; ++i)
            list.push_back("slide" + std::to_string(i) + ".xml");
        if (c.Count < 0) {
            window.BeginShowDocument("one.xml");
        } else {
            window.BeginShowSlides(c.StartIndex, list);
        }
        EXPECT_EQ(window.SlideIndex, c.SlideIndex);
        EXPECT_EQ(window.SlideList.has_value(), c.Count >= 0);
        const std::string expectedPath =
            c.Count < 0 ? "one.xml" : (c.SlideIndex >= 0 ? list[c.SlideIndex] : "");
        EXPECT_EQ(window.CurrentPath, expectedPath);
        TControlPanel& panel = *window.GroupBoxMovement;
        EXPECT_EQ(!panel.ImageLastSlide->isHidden(), c.Previous);
        EXPECT_EQ(!panel.ImageNextSlide->isHidden(), c.Next);
        EXPECT_EQ(!panel.LabelSlide->isHidden(), c.Caption != nullptr);
        if (c.Caption != nullptr) {
            EXPECT_EQ(panel.LabelSlide->text().toStdString(), c.Caption);
        }
        window.close();
    }
}

TEST_F(FormSlideShowTest, WindowCoversItsScreenAndThePictureIsTheViewsSize) {
    const std::string path =
        Write("doc.xml", Document(5, "<BackgroundColor>255</BackgroundColor>"));
    Window.BeginShowDocument(path);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(Window.isVisible());
    EXPECT_EQ(Window.geometry(), Window.screen()->geometry());
    EXPECT_EQ(Window.Coordinate1->size(), Window.size());
    const QImage& picture = Window.Coordinate1->Picture().Image();
    EXPECT_EQ(picture.size(), Window.Coordinate1->size());
    EXPECT_EQ(View().Width, picture.width());
    EXPECT_EQ(View().Height, picture.height());
    // The document's red background, in a corner far from axes and panel.
    EXPECT_EQ(picture.pixelColor(2, 2), QColor(255, 0, 0));
}

TEST_F(FormSlideShowTest, PagingStopsAtTheEndsAndHomeEndReload) {
    Window.BeginShowSlides(0, ThreeSlides());
    ASSERT_TRUE(Settle());
    EXPECT_EQ(LabelCaptions(), std::vector<std::string>{"slide 1"});

    Key(Qt::Key_PageUp);
    EXPECT_EQ(Window.SlideIndex, 0);
    EXPECT_FALSE(Window.Timer1->isActive()) << "Page Up on the first slide loads nothing";

    Key(Qt::Key_Home);
    EXPECT_EQ(Window.SlideIndex, 0);
    EXPECT_TRUE(Window.Timer1->isActive()) << "Home on the first slide reloads it";
    ASSERT_TRUE(Settle());

    Key(Qt::Key_End);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Window.SlideIndex, 2);
    EXPECT_EQ(LabelCaptions(), std::vector<std::string>{"slide 3"});
    EXPECT_EQ(View().XInterval.Max, 3);

    Key(Qt::Key_PageDown);
    EXPECT_EQ(Window.SlideIndex, 2);
    EXPECT_FALSE(Window.Timer1->isActive()) << "Page Down on the last slide loads nothing";
    Key(Qt::Key_End);
    EXPECT_TRUE(Window.Timer1->isActive()) << "End on the last slide reloads it";
    ASSERT_TRUE(Settle());

    Key(Qt::Key_PageUp);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Window.SlideIndex, 1);
    EXPECT_EQ(LabelCaptions(), std::vector<std::string>{"slide 2"});
    EXPECT_EQ(Panel().LabelSlide->text().toStdString(), "Slide: 2/3");

    Key(Qt::Key_Home);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Window.SlideIndex, 0);
    EXPECT_EQ(View().XInterval.Max, 1);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormSlideShowTest, SingleDocumentIgnoresSlideKeys) {
    Window.BeginShowDocument(Write("doc.xml", Document(4)));
    ASSERT_TRUE(Settle());
    for (int key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End}) {
        Key(key);
        EXPECT_EQ(Window.SlideIndex, -1);
        EXPECT_FALSE(Window.Timer1->isActive());
    }
}

TEST_F(FormSlideShowTest, TwoPagesBeforeTheTimerLoadOnlyTheLastSlide) {
    Window.BeginShowSlides(0, ThreeSlides());
    ASSERT_TRUE(Settle());
    const double labelsStep = View().YAxesLabelsStep;
    ASSERT_NE(labelsStep, 7);

    Key(Qt::Key_PageDown);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Window.SlideIndex, 2);
    EXPECT_EQ(Panel().LabelSlide->text().toStdString(), "Slide: 3/3");
    EXPECT_TRUE(Panel().ImageNextSlide->isHidden());
    ASSERT_TRUE(Settle());

    EXPECT_EQ(LabelCaptions(), std::vector<std::string>{"slide 3"});
    EXPECT_EQ(View().XInterval.Max, 3);
    EXPECT_EQ(View().YAxesLabelsStep, labelsStep) << "slide 2's file was read";
}

TEST_F(FormSlideShowTest, MalformedSlideShowsItsErrorAndTheNextSlideStillLoads) {
    std::vector<std::string> slides = ThreeSlides();
    slides[1] = Write("bad.xml", "<CurvanaDocument>\n<Memory>\n</Memroy>\n</CurvanaDocument>\n");
    Window.BeginShowSlides(0, slides);
    ASSERT_TRUE(Settle());
    ASSERT_TRUE(Errors.empty());

    Key(Qt::Key_PageDown);
    ASSERT_TRUE(Settle());
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_FALSE(Errors[0].empty());
    EXPECT_TRUE(LabelCaptions().empty()) << "the old slide's labels are gone";
    EXPECT_FALSE(Window.CoordinateMovementPanel1->isChecked()) << "the panel step is skipped";
    EXPECT_FALSE(Window.Timer1->isActive()) << "the error is not repeated";

    Key(Qt::Key_PageDown);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Window.SlideIndex, 2);
    EXPECT_EQ(LabelCaptions(), std::vector<std::string>{"slide 3"});
    EXPECT_EQ(View().XInterval.Max, 3);
    EXPECT_TRUE(Window.CoordinateMovementPanel1->isChecked());
    EXPECT_TRUE(Panel().isVisible());
}

TEST_F(FormSlideShowTest, LabelsReadBeforeAFailureAreShownWhereTheyBelong) {
    const std::string good = Write("a.xml", Document(4, "", Labels(Label("old", 0, 3))));
    const std::string bad = Write("b.xml", "<CurvanaDocument>" + Labels(Label("early", 1, 4)) +
                                               "<Coordinate><XAxesTicksStep>many</XAxesTicksStep>"
                                               "</Coordinate></CurvanaDocument>");
    for (const bool first : {true, false}) {
        SCOPED_TRACE(first ? "failure on the first slide" : "failure on the second slide");
        TFormSlideShow window;
        std::vector<std::string> errors;
        window.SetErrorReporter([&errors](QWidget*, const QString& message) {
            errors.push_back(message.toStdString());
        });
        window.BeginShowSlides(0, first ? std::vector<std::string>{bad}
                                        : std::vector<std::string>{good, bad});
        const QDeadlineTimer deadline(5000);
        const auto settle = [&] {
            while (window.Timer1->isActive() && !deadline.hasExpired())
                QTest::qWait(5);
        };
        settle();
        if (!first) {
            window.NextSlide();
            settle();
        }
        ASSERT_EQ(errors.size(), 1u);
        ASSERT_EQ(window.AddLabels().size(), 1u);
        EXPECT_EQ(window.AddLabels()[0]->text().toStdString(), "early");
        const TPoint at = window.View().WorldToScreen(1, 4);
        EXPECT_GT(at.X, 100);
        EXPECT_EQ(window.AddLabels()[0]->pos(), window.Coordinate1->pos() + QPoint(at.X, at.Y));
        window.close();
    }
}

// Page Down draws the old slide again (without the presenter's strokes) only when no new slide
// replaces it; a slide that loads is drawn once, over the strokes.
TEST_F(FormSlideShowTest, PageDownClearsStrokesWhetherOrNotTheNextSlideLoads) {
    const std::string good = Write("good.xml", Document(5));
    const std::string missing = Folder.filePath("missing.xml").toStdString();
    const std::string bad = Write("bad.xml", "<CurvanaDocument>\n</Memroy>\n");
    for (const std::string& next : {good, missing, bad}) {
        SCOPED_TRACE(next);
        Errors.clear();
        Window.BeginShowSlides(0, {Write("first.xml", Document(4)), next});
        ASSERT_TRUE(Settle());
        const QImage clean = Window.Coordinate1->Picture().Image().copy();
        TRasterCanvas& picture = Window.Coordinate1->Picture();
        picture.Pen.Color = 0x0000FF;
        picture.Pen.Width = 9;
        picture.MoveTo(20, 20);
        picture.LineTo(300, 200);
        ASSERT_NE(picture.Image(), clean);
        Key(Qt::Key_PageDown);
        ASSERT_TRUE(Settle());
        EXPECT_EQ(Window.SlideIndex, 1);
        const QImage after = Window.Coordinate1->Picture().Image();
        EXPECT_NE(after.pixel(160, 110), qRgb(255, 0, 0)) << "the stroke is gone";
        if (next == good)
            EXPECT_EQ(View().XInterval.Max, 5);
        else
            EXPECT_EQ(after, clean) << "the old slide again";
        EXPECT_EQ(Errors.size(), next == bad ? 1u : 0u);
    }
}

TEST_F(FormSlideShowTest, MissingFileAndWrongRootChangeNothingButTheLabelsOfAWrongRoot) {
    const std::string good = Write("good.xml", Document(5, "", Labels(Label("kept", 1, 3))));
    const std::string other =
        Write("other.xml", "<SomethingElse>" + Document(9) + "</SomethingElse>");
    Window.BeginShowDocument(good);
    ASSERT_TRUE(Settle());

    Window.LoadDocument(Folder.filePath("missing.xml").toStdString());
    EXPECT_EQ(LabelCaptions(), std::vector<std::string>{"kept"});
    Window.LoadDocument(other);
    EXPECT_TRUE(LabelCaptions().empty());
    EXPECT_EQ(View().XInterval.Max, 5);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormSlideShowTest, SlideWithoutLabelsRemovesThePreviousOnes) {
    Window.BeginShowSlides(
        0, {Write("a.xml", Document(2, "", Labels(Label("one", 0, 3) + Label("two", 1, 4)))),
            Write("b.xml", Document(2))});
    ASSERT_TRUE(Settle());
    EXPECT_EQ(LabelCaptions(), (std::vector<std::string>{"one", "two"}));
    Key(Qt::Key_PageDown);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(LabelCaptions().empty());
}

TEST_F(FormSlideShowTest, LabelsSitOnTheirWorldPointsAfterPanAndZoom) {
    Window.BeginShowDocument(Write(
        "doc.xml", Document(10, "", Labels(Label("a &lt;b&gt;bold&lt;/b&gt; caption", 3, 5, 0)))));
    ASSERT_TRUE(Settle());
    const std::vector<TAddLabel*> labels = Window.AddLabels();
    ASSERT_EQ(labels.size(), 1u);
    TAddLabel& label = *labels[0];
    EXPECT_EQ(label.text().toStdString(), "a <b>bold</b> caption") << "captions are plain text";
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    EXPECT_EQ(label.toolTip().toStdString(), "AddLabel");
    EXPECT_TRUE(label.autoFillBackground()) << "an opaque label paints its colour";
    EXPECT_EQ(label.palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_TRUE(label.isVisible());

    const auto expectOnPoint = [&](const char* step) {
        SCOPED_TRACE(step);
        const TPoint at = View().WorldToScreen(3, 5);
        EXPECT_EQ(label.pos(), Window.Coordinate1->pos() + QPoint(at.X, at.Y));
    };
    expectOnPoint("after the load");
    const QPoint before = label.pos();
    Key(Qt::Key_Right);
    expectOnPoint("after a pan");
    EXPECT_NE(label.pos(), before);
    Key(Qt::Key_Plus, Qt::KeypadModifier);
    expectOnPoint("after a zoom");
    Key(Qt::Key_Return);
    expectOnPoint("after centring");
}

struct TKeyCase {
    const char* Name;
    int Key;
    Qt::KeyboardModifiers Modifiers;
    bool Accelerate;
    double XMin, XMax, YMin, YMax;
    double XTicks;
};

TEST_F(FormSlideShowTest, KeyMapMovesZoomsAndCentresTheView) {
    const std::string path = Write("doc.xml", Document(10));
    const TKeyCase cases[] = {
        {"Right", Qt::Key_Right, Qt::NoModifier, false, -9, 11, 2, 6, 1},
        {"Left", Qt::Key_Left, Qt::NoModifier, false, -11, 9, 2, 6, 1},
        {"Up", Qt::Key_Up, Qt::NoModifier, false, -10, 10, 3, 7, 1},
        {"Down", Qt::Key_Down, Qt::NoModifier, false, -10, 10, 1, 5, 1},
        {"accelerated Right", Qt::Key_Right, Qt::NoModifier, true, 0, 20, 2, 6, 1},
        {"accelerated Left", Qt::Key_Left, Qt::NoModifier, true, -20, 0, 2, 6, 1},
        {"accelerated Up", Qt::Key_Up, Qt::NoModifier, true, -10, 10, 4, 8, 1},
        {"accelerated Down", Qt::Key_Down, Qt::NoModifier, true, -10, 10, 0, 4, 1},
        {"Shift is not looked at", Qt::Key_Right, Qt::ShiftModifier, false, -9, 11, 2, 6, 1},
        {"keypad plus", Qt::Key_Plus, Qt::KeypadModifier, true, -5, 5, 1, 3, 0.5},
        {"keypad minus", Qt::Key_Minus, Qt::KeypadModifier, true, -20, 20, 4, 12, 2},
        {"main plus", Qt::Key_Plus, Qt::NoModifier, true, -10, 10, 2, 6, 1},
        {"main minus", Qt::Key_Minus, Qt::NoModifier, true, -10, 10, 2, 6, 1},
        {"Return", Qt::Key_Return, Qt::NoModifier, true, -10, 10, -2, 2, 1},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, true, -10, 10, -2, 2, 1},
        {"unmapped A", Qt::Key_A, Qt::NoModifier, true, -10, 10, 2, 6, 1},
    };
    Window.BeginShowDocument(path);
    ASSERT_TRUE(Settle());
    for (const TKeyCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Window.LoadDocument(path);
        Panel().CheckBoxAcc->setChecked(c.Accelerate);
        Key(c.Key, c.Modifiers);
        EXPECT_EQ(View().XInterval.Min, c.XMin);
        EXPECT_EQ(View().XInterval.Max, c.XMax);
        EXPECT_EQ(View().YInterval.Min, c.YMin);
        EXPECT_EQ(View().YInterval.Max, c.YMax);
        EXPECT_EQ(View().XAxesTicksStep, c.XTicks);
        EXPECT_TRUE(Window.hasFocus());
    }
    EXPECT_TRUE(Errors.empty());
}

// Zooming both axes at once draws one picture, not one per axis.
TEST_F(FormSlideShowTest, ZoomingBothAxesRedrawsOnce) {
    Window.BeginShowDocument(Write("doc.xml", Document(10)));
    ASSERT_TRUE(Settle());
    for (const Qt::Key key : {Qt::Key_Plus, Qt::Key_Minus}) {
        SCOPED_TRACE(key == Qt::Key_Plus ? "keypad plus" : "keypad minus");
        const std::uint64_t before = Window.Coordinate1->PictureGeneration();
        const double width = View().XInterval.Max - View().XInterval.Min;
        const double height = View().YInterval.Max - View().YInterval.Min;
        Key(key, Qt::KeypadModifier);
        EXPECT_EQ(Window.Coordinate1->PictureGeneration(), before + 1);
        const double factor = key == Qt::Key_Plus ? 0.5 : 2;
        EXPECT_EQ(View().XInterval.Max - View().XInterval.Min, width * factor);
        EXPECT_EQ(View().YInterval.Max - View().YInterval.Min, height * factor);
    }
}

TEST_F(FormSlideShowTest, RefreshRedrawsThePictureAndEscapeCloses) {
    Window.BeginShowDocument(Write("doc.xml", Document(10)));
    ASSERT_TRUE(Settle());
    const QColor clean = Window.Coordinate1->Picture().Image().pixelColor(5, 5);
    Window.Coordinate1->Picture().SetPixel(5, 5, 0x00FF00);
    ASSERT_NE(Window.Coordinate1->Picture().Image().pixelColor(5, 5), clean);
    Key(Qt::Key_F5);
    EXPECT_EQ(Window.Coordinate1->Picture().Image().pixelColor(5, 5), clean);

    Key(Qt::Key_Escape);
    EXPECT_FALSE(Window.isVisible());
}

// Keys go where the application sends them: to whatever holds the focus.
TEST_F(FormSlideShowTest, NoControlOfThePanelTakesTheKeysAway) {
    Window.BeginShowSlides(0, ThreeSlides());
    ASSERT_TRUE(Settle());
    const auto typed = [](Qt::Key key) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key);
    };
    typed(Qt::Key_Tab);
    typed(Qt::Key_Backtab);
    typed(Qt::Key_Tab);
    EXPECT_TRUE(Window.hasFocus());
    typed(Qt::Key_PageDown);
    EXPECT_EQ(Window.SlideIndex, 1);
    ASSERT_TRUE(Settle());

    QTest::mouseClick(Panel().CheckBoxAcc, Qt::LeftButton);
    EXPECT_FALSE(Panel().CheckBoxAcc->isChecked());
    EXPECT_TRUE(Panel().isVisible());
    typed(Qt::Key_Tab);
    typed(Qt::Key_Right);
    EXPECT_EQ(View().XInterval.Min, -1);
    for (QWidget* control : Panel().findChildren<QWidget*>()) {
        SCOPED_TRACE(control->metaObject()->className());
        EXPECT_EQ(control->focusPolicy(), Qt::NoFocus);
    }
    typed(Qt::Key_Escape);
    EXPECT_FALSE(Window.isVisible());
}

TEST_F(FormSlideShowTest, ControlPanelPlacementColourAndVisibility) {
    const std::string path =
        Write("doc.xml", Document(10, "<BackgroundColor>16711680</BackgroundColor>"));
    Window.BeginShowDocument(path);
    EXPECT_FALSE(Panel().isVisible()) << "hidden until the first load";
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(Panel().isVisible());
    EXPECT_TRUE(Window.CoordinateMovementPanel1->isChecked());
    const QSize view = Window.Coordinate1->size();
    EXPECT_EQ(Panel().size(), QSize(201, 270));
    EXPECT_EQ(Panel().pos(), QPoint(view.width() - 201 - 20, view.height() - 270 - 20));
    EXPECT_EQ(Panel().palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(Panel().LabelHide->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(Panel().ToolBar1->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_NE(Panel().ToolBar2->palette().color(QPalette::Window), QColor(0, 0, 255));

    Key(Qt::Key_Space);
    EXPECT_FALSE(Panel().isVisible());
    Key(Qt::Key_Space);
    EXPECT_TRUE(Panel().isVisible());

    QTest::mouseClick(Panel().LabelHide, Qt::LeftButton);
    EXPECT_FALSE(Panel().isVisible());
    EXPECT_FALSE(Window.CoordinateMovementPanel1->isChecked());

    // A load shows the panel again, even after the presenter hid it.
    Window.GoToSlide(0); // no slide list: nothing
    EXPECT_FALSE(Window.Timer1->isActive());
    Window.CurrentPath = path;
    Window.Timer1->start();
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(Panel().isVisible());

    // The menu item drives the panel through its check mark.
    Window.CoordinateMovementPanel1->trigger();
    EXPECT_FALSE(Panel().isVisible());
    Window.CoordinateMovementPanel1->trigger();
    EXPECT_TRUE(Panel().isVisible());
}

// A projector plugged in, a resolution change: the slide, its labels and the panel follow the
// window's new size without a key press.
TEST_F(FormSlideShowTest, PictureLabelsAndPanelFollowAResize) {
    Window.BeginShowDocument(Write("doc.xml", Document(4, "", Labels(Label("here", 1, 3)))));
    ASSERT_TRUE(Settle());
    for (const QSize size : {QSize(800, 500), QSize(1300, 900), QSize(640, 480)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        Window.resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(Window.Coordinate1->size(), size);
        EXPECT_EQ(Window.Coordinate1->Picture().Image().size(), size);
        EXPECT_EQ(View().Width, size.width());
        EXPECT_EQ(View().Height, size.height());
        const TPoint at = View().WorldToScreen(1, 3);
        ASSERT_EQ(Window.AddLabels().size(), 1u);
        EXPECT_EQ(Window.AddLabels()[0]->pos(), QPoint(at.X, at.Y));
        EXPECT_TRUE(Panel().isVisible());
        EXPECT_EQ(Panel().geometry().bottomRight() + QPoint(1, 1),
                  QPoint(size.width() - 20, size.height() - 20));
        // The picture drawn anew, not cut: the y axis runs down to the bottom edge.
        const TPoint axis = View().WorldToScreen(0, 2.2);
        ASSERT_LT(axis.Y, size.height());
        EXPECT_GT(axis.Y, size.height() - 100);
        EXPECT_EQ(Window.Coordinate1->Picture().Image().pixelColor(axis.X, axis.Y),
                  QColor(Qt::black));
    }
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormSlideShowTest, SmoothLinesAreRememberedForTheUser) {
    Window.BeginShowDocument(Write("doc.xml", Document(4)));
    ASSERT_TRUE(Settle());
    ASSERT_FALSE(Window.SmoothLines1->isChecked());
    Window.SmoothLines1->trigger();
    EXPECT_TRUE(Window.Coordinate1->Picture().Smooth);
    {
        TFormSlideShow next;
        EXPECT_TRUE(next.SmoothLines1->isChecked());
        EXPECT_TRUE(next.Coordinate1->Picture().Smooth);
    }
    Window.SmoothLines1->trigger();
    EXPECT_FALSE(Window.Coordinate1->Picture().Smooth);
    TFormSlideShow crisp;
    EXPECT_FALSE(crisp.SmoothLines1->isChecked());
}

TEST_F(FormSlideShowTest, PanelPicturesAndButtonsRunTheirCommands) {
    Window.BeginShowSlides(0, ThreeSlides());
    ASSERT_TRUE(Settle());
    Window.LoadDocument(Write("wide.xml", Document(10)));
    Panel().CheckBoxAcc->setChecked(false);
    QTest::mouseClick(Panel().Image4, Qt::LeftButton);
    EXPECT_EQ(View().XInterval.Min, -9);
    Panel().CheckBoxAcc->setChecked(true);
    QTest::mouseClick(Panel().Image3, Qt::LeftButton);
    EXPECT_EQ(View().XInterval.Min, -19);
    QTest::mouseClick(Panel().Image5, Qt::LeftButton);
    EXPECT_EQ(View().XInterval.Min, -10);
    EXPECT_EQ(View().YInterval.Min, -2);
    Panel().ToolButton2->click();
    EXPECT_EQ(View().XInterval.Min, -20);
    EXPECT_EQ(View().YInterval.Min, -2);
    Panel().ToolButton6->click();
    EXPECT_EQ(View().YInterval.Min, -1);

    QTest::mouseClick(Panel().ImageNextSlide, Qt::LeftButton);
    EXPECT_EQ(Window.SlideIndex, 1);
    QTest::mouseClick(Panel().ImageLastSlide, Qt::LeftButton);
    EXPECT_EQ(Window.SlideIndex, 0);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormSlideShowTest, OverflowingZoomIsReportedAndTheWindowStaysUsable) {
    Window.BeginShowDocument(Write("doc.xml", Document(10)));
    ASSERT_TRUE(Settle());
    View().XInterval = {1, -1e308, 1e308};
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0], "Floating point overflow");
    EXPECT_EQ(View().XInterval.Max, 1e308);
    Key(Qt::Key_Return);
    EXPECT_EQ(View().YInterval.Min, -2);
}

TEST_F(FormSlideShowTest, OpenLoadsTheChosenFileAndCancelLoadsNothing) {
    std::vector<std::string> slides = ThreeSlides();
    Window.BeginShowSlides(0, slides);
    ASSERT_TRUE(Settle());
    const std::string other = Write("other.xml", Document(8, "", Labels(Label("opened", 0, 3))));
    std::optional<std::string> answer = other;
    Window.SetFileChooser([&answer](QWidget*) { return answer; });

    Key(Qt::Key_Space);
    ASSERT_FALSE(Panel().isVisible());
    Window.ActionFileOpen->trigger();
    EXPECT_EQ(Window.CurrentPath, other);
    EXPECT_TRUE(Panel().isVisible()) << "hidden and shown again after the dialog";
    ASSERT_TRUE(Settle());
    EXPECT_EQ(LabelCaptions(), std::vector<std::string>{"opened"});
    EXPECT_EQ(View().XInterval.Max, 8);
    EXPECT_EQ(Window.SlideIndex, 0);
    EXPECT_TRUE(Window.CoordinateMovementPanel1->isChecked());
    EXPECT_TRUE(Panel().isVisible());

    answer.reset();
    Window.ActionFileOpen->trigger();
    EXPECT_EQ(Window.CurrentPath, "");
    ASSERT_TRUE(Settle());
    EXPECT_EQ(LabelCaptions(), std::vector<std::string>{"opened"});
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormSlideShowTest, ModalEntryReturnsWhenTheWindowCloses) {
    const std::string path = Write("doc.xml", Document(6, "", Labels(Label("shown", 0, 3))));
    bool loadedBeforeClose = false;
    QTimer::singleShot(200, &Window, [&] {
        loadedBeforeClose = LabelCaptions() == std::vector<std::string>{"shown"};
        Window.CloseFullScreen1->trigger();
    });
    Window.ShowDocument(path);
    EXPECT_TRUE(loadedBeforeClose);
    EXPECT_FALSE(Window.isVisible());
}

} // namespace
} // namespace curvana
