#include "capture/capscreen.h"
#include "capture/formsetcapturejob.h"
#include "platform/rastercanvas.h"
#include "show/addlabel.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "show/formslideshow.h"
#include "testpicture.h"
#include "tests/support/slidewindowtest.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace curvana {
namespace {

// A slide with axes, a curve and a yellow label over the view.
const char* const Slide =
    "<CurvanaDocument>\n<Coordinate>\n"
    "<XInterval><Min>-5</Min><Max>5</Max><Enabled>1</Enabled></XInterval>\n"
    "<YInterval><Min>-5</Min><Max>5</Max><Enabled>1</Enabled></YInterval>\n"
    "</Coordinate>\n"
    "<AddLabels><AddLabel><Caption>WWWWWWWW</Caption><Transparent>0</Transparent>"
    "<Color>65535</Color><x>-4</x><y>4</y></AddLabel></AddLabels>\n"
    "</CurvanaDocument>\n";

class CaptureWindowTest : public TSlideWindowTest {
protected:
    CaptureWindowTest() {
        Window.BeginShowDocument(Write("slide.xml", Slide));
        EXPECT_TRUE(Settle());
        Window.CaptureJob->OutputDirectory = Folder.path().toStdString();
    }

    const QImage& Picture() { return Window.Coordinate1->Picture().Image(); }
    QImage Written(const char* name) const {
        return QImage(Folder.filePath(name), "BMP").convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(CaptureWindowTest, F6WritesThePictureWithStrokesAndWithoutLabels) {
    ASSERT_TRUE(Errors.empty());
    ASSERT_EQ(Window.AddLabels().size(), 1u);
    // A pen stroke, drawn straight into the picture.
    TRasterCanvas& canvas = Window.Coordinate1->Picture();
    canvas.Pen.Color = 0x0000FF;
    canvas.Pen.Width = 3;
    canvas.MoveTo(20, 30);
    canvas.LineTo(200, 30);
    ASSERT_EQ(Picture().pixel(100, 30), qRgb(255, 0, 0));

    QTest::keyClick(&Window, Qt::Key_F6);
    EXPECT_TRUE(Errors.empty());
    const QImage file = Written("Outputpic01.bmp");
    EXPECT_EQ(file.size(), Window.Coordinate1->size());
    EXPECT_EQ(file, Picture().convertToFormat(QImage::Format_RGB32));
    // On screen the label covers part of the view; the file has the view's pixels there.
    TAddLabel* label = Window.AddLabels().front();
    const QRect where = label->geometry().translated(-Window.Coordinate1->pos());
    const QImage shown = Window.Panel1->grab(Window.Coordinate1->geometry())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(shown.copy(where), file.copy(where));
}

TEST_F(CaptureWindowTest, ThreeCapturesByKeyAndButtonNumberTheFiles) {
    EXPECT_EQ(Window.CaptureJob->FileNamePrefix, "Outputpic");
    EXPECT_EQ(Window.CaptureJob->CurrentIndex, 1);
    EXPECT_EQ(Window.CaptureJob->Digital, 2);
    EXPECT_EQ(Window.CaptureJob->PictureFormat, 0);
    QTest::keyClick(&Window, Qt::Key_F6);
    ASSERT_TRUE(Window.GroupBoxMovement->ToolButton13->isEnabled());
    Window.GroupBoxMovement->ToolButton13->click();
    Window.CaptureScreen1->trigger();
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(Window.CaptureJob->CurrentIndex, 4);
    EXPECT_EQ(FolderEntries(Folder.path()),
              (QStringList{"Outputpic01.bmp", "Outputpic02.bmp", "Outputpic03.bmp", "slide.xml"}));
}

TEST_F(CaptureWindowTest, UnwritableFolderShowsTheErrorAndTheShowGoesOn) {
    Window.CaptureJob->OutputDirectory = Folder.filePath("missing").toStdString();
    QTest::keyClick(&Window, Qt::Key_F6);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_NE(Errors[0].find("Cannot create file \"" + Folder.filePath("missing").toStdString() +
                             "/Outputpic01.bmp\". No such file or directory"),
              std::string::npos)
        << Errors[0];
    EXPECT_EQ(Window.CaptureJob->CurrentIndex, 1);
    // The next capture, into a folder that exists, takes the same name.
    Window.CaptureJob->OutputDirectory = Folder.path().toStdString();
    QTest::keyClick(&Window, Qt::Key_F6);
    EXPECT_EQ(Errors.size(), 1u);
    EXPECT_TRUE(QFile::exists(Folder.filePath("Outputpic01.bmp")));
    EXPECT_TRUE(Window.isVisible());
}

TEST_F(CaptureWindowTest, BatchJobDialogEditsTheJobAndTheControlPanelIsShownAfterwards) {
    Window.LabelHideClick();
    ASSERT_FALSE(Window.GroupBoxMovement->isVisible());
    Window.CaptureJob->CurrentIndex = 3;
    bool opened = false;
    QTimer::singleShot(50, &Window, [&] {
        auto* dialog = qobject_cast<TFormSetCaptureJob*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        opened = true;
        EXPECT_EQ(dialog->EditFileName->text(), "Outputpic03.bmp");
        dialog->EditFileNamePrefix->setText("talk");
        dialog->Button4->click();
    });
    Window.SetBatchCaptureJob1->trigger();
    EXPECT_TRUE(opened);
    EXPECT_EQ(Window.CaptureJob->FileNamePrefix, "talk");
    EXPECT_TRUE(Window.GroupBoxMovement->isVisible());
    EXPECT_TRUE(Errors.empty());
}

} // namespace
} // namespace curvana
