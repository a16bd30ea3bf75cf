#include "show/livereload.h"

#include "app/slideshowfile.h"
#include "platform/rastercanvas.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "show/slidenotice.h"
#include "tests/support/slidewindowtest.h"

#include <QDialog>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace curvana {
namespace {

// A document that paints its background in the colour given.
std::string Coloured(const std::string& colour, const std::string& extra = "") {
    return "<CurvanaDocument>\n<Coordinate>\n<BackgroundColor>" + colour + "</BackgroundColor>\n" +
           extra + "</Coordinate>\n</CurvanaDocument>\n";
}

const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);
const QColor Blue(0, 0, 255);

class LiveReloadTest : public TSlideWindowTest {
protected:
    // A corner far from axes and panel shows the background.
    QColor Corner() const { return Window.Coordinate1->Picture().Image().pixelColor(2, 2); }
    TSlideNotice& Notice() const { return *Window.Notice; }

    // Saves over a file as an editor does; the pause makes sure the file's time moves on.
    void Save(const std::string& path, const std::string& text) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const std::string name = path.substr(path.rfind('/') + 1);
        Write(name, text);
    }

    void Start(const std::string& path) {
        Window.BeginShowDocument(path);
        ASSERT_TRUE(Settle());
        Window.LiveReload->Tick(); // takes note of the file as loaded
    }
};

TEST_F(LiveReloadTest, ASavedDocumentIsReadAgainKeepingPenAndPanel) {
    const std::string path = Write("doc.xml", Coloured("255"));
    Start(path);
    ASSERT_EQ(Corner(), Red);
    Window.Pen1Click();
    Window.LabelHideClick();

    Save(path, Coloured("65280"));
    Window.LiveReload->Tick();
    EXPECT_EQ(Corner(), Green);
    EXPECT_EQ(Window.PointerMode, 2) << "the pen stays on";
    EXPECT_FALSE(Window.GroupBoxMovement->isVisible()) << "the hidden panel stays hidden";
    EXPECT_TRUE(Notice().isHidden());
    EXPECT_TRUE(Errors.empty());

    // An unchanged file is not read again: the view command's pan survives the next look.
    Window.ActionCoordMoveLeftExecute();
    const double min = Window.View().XInterval.Min;
    Window.LiveReload->Tick();
    EXPECT_EQ(Window.View().XInterval.Min, min);
}

TEST_F(LiveReloadTest, ABrokenSaveShowsANoticeAndKeepsTheLastGoodPicture) {
    const struct {
        const char* name;
        std::string text;
        std::string message; // after "PATH" for syntax errors
    } cases[] = {
        {"not well-formed", Coloured("255 & 1"), ":3:22: bare '&': write &amp; for an ampersand"},
        {"bad value", Coloured("255", "<XAxesTicksStep>abc</XAxesTicksStep>\n"),
         "'abc' is not a valid floating point value"},
        {"unclosed", "<CurvanaDocument>\n<Coordinate>\n", ":2:13: Start-end tags mismatch"},
    };
    const std::string path = Write("doc.xml", Coloured("65280"));
    Start(path);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Save(path, c.text);
        Window.LiveReload->Tick();
        EXPECT_EQ(Corner(), Green) << "the last good picture stays";
        ASSERT_FALSE(Notice().isHidden());
        const std::string shown = Notice().text().toStdString();
        EXPECT_NE(shown.find(c.message), std::string::npos) << shown;
        EXPECT_TRUE(Errors.empty()) << "no message box";
        EXPECT_EQ(Window.View().XAxesTicksStep, 1) << "nothing of the broken file is applied";
    }
    Save(path, Coloured("16711680"));
    Window.LiveReload->Tick();
    EXPECT_EQ(Corner(), Blue);
    EXPECT_TRUE(Notice().isHidden());
}

// A picture that a drawing limit cuts says so on the slide, naming the graph, until a picture is
// whole again; a broken save's line and this one stand side by side, neither clearing the other.
TEST_F(LiveReloadTest, ACutPictureIsNoticedBesideABrokenSave) {
    const auto document = [](const std::string& steps) {
        return "<CurvanaDocument>\n<Memory><FunctionObj><Exp>sin(x)</Exp><ShowEnabled>1"
               "</ShowEnabled><PlotParameter><Steps>" +
               steps + "</Steps></PlotParameter></FunctionObj></Memory>\n</CurvanaDocument>\n";
    };
    const std::string cut =
        "Not drawn in full (too much to draw for one picture): graph 1 \"Y(x)=sin(x)\"";
    Window.View().DrawLimits.WalkSamples = 300;
    const std::string path = Write("doc.xml", document("500"));
    Start(path);
    ASSERT_FALSE(Notice().isHidden());
    EXPECT_EQ(Notice().text().toStdString(), cut);
    EXPECT_TRUE(Errors.empty()) << "no message box";

    Save(path, "<CurvanaDocument>\n<Coordinate>\n");
    Window.LiveReload->Tick();
    const std::string both = Notice().text().toStdString();
    EXPECT_NE(both.find("Start-end tags mismatch"), std::string::npos) << both;
    EXPECT_TRUE(both.ends_with("\n" + cut)) << both;

    // Panning redraws the same cut picture: the reload's line stays.
    Window.ActionCoordMoveLeftExecute();
    EXPECT_EQ(Notice().text().toStdString(), both);

    // A good save within the limits: both lines go.
    Save(path, document("100"));
    Window.LiveReload->Tick();
    EXPECT_TRUE(Notice().isHidden()) << Notice().text().toStdString();
}

TEST_F(LiveReloadTest, NothingIsReadWhileADialogIsOpen) {
    const std::string path = Write("doc.xml", Coloured("255"));
    Start(path);
    QDialog dialog(&Window);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    Save(path, Coloured("65280"));
    Window.LiveReload->Tick();
    EXPECT_EQ(Corner(), Red);
    dialog.close();
    Window.LiveReload->Tick();
    EXPECT_EQ(Corner(), Green);
}

TEST_F(LiveReloadTest, TheSaveIsSeenWithinHalfASecondWithoutHelp) {
    const std::string path = Write("doc.xml", Coloured("255"));
    Window.BeginShowDocument(path);
    ASSERT_TRUE(Settle());
    QTest::qWait(2 * TLiveReload::PollMilliseconds); // the poll takes note of the file
    Save(path, Coloured("65280"));
    // The limit is generous for a loaded machine; the poll itself looks every quarter second.
    EXPECT_TRUE(QTest::qWaitFor([this] { return Corner() == Green; }, 5000));
}

TEST_F(LiveReloadTest, ASavedSlideShowIsSplitAgainAndTheSameSlideShown) {
    const auto show = [](const std::string& first, const std::string& second) {
        return "<CurvanaSlides>\n" + Coloured(first) + Coloured(second) + "</CurvanaSlides>\n";
    };
    const std::string showPath = Write("show.sld", show("255", "65280"));
    const std::string folder = Folder.path().toStdString() + "/slides";
    std::filesystem::create_directory(folder);
    const TSlideShowSource source{showPath, [&] { return SplitSlideShow(showPath, folder); }};
    Window.LiveReload->SetSource(source);
    Window.BeginShowSlides(0, SplitSlideShow(showPath, folder));
    ASSERT_TRUE(Settle());
    Window.NextSlide();
    ASSERT_TRUE(Settle());
    Window.LiveReload->Tick();
    ASSERT_EQ(Corner(), Green);

    Save(showPath, show("255", "16711680"));
    Window.LiveReload->Tick();
    EXPECT_EQ(Window.SlideIndex, 1);
    EXPECT_EQ(Corner(), Blue);

    Save(showPath, "<CurvanaSlides>\n" + Coloured("255"));
    Window.LiveReload->Tick();
    EXPECT_EQ(Corner(), Blue);
    EXPECT_NE(Notice().text().toStdString().find(showPath + ":"), std::string::npos)
        << Notice().text().toStdString();

    // One slide left: the show stays on the last one there is.
    Save(showPath, "<CurvanaSlides>\n" + Coloured("65280") + "</CurvanaSlides>\n");
    Window.LiveReload->Tick();
    EXPECT_EQ(Window.SlideIndex, 0);
    EXPECT_EQ(Corner(), Green);
    EXPECT_TRUE(Notice().isHidden());
}

} // namespace
} // namespace curvana
