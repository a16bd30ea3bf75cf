#include "capture/capscreen.h"
#include "capture/emfwriter.h"
#include "capture/formsetcapturejob.h"
#include "docfile/addlabeldata.h"
#include "platform/rastercanvas.h"
#include "show/addlabel.h"
#include "show/audiencepicture.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "show/formslideshow.h"
#include "testpicture.h"
#include "tests/support/slidewindowtest.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
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

TEST_F(CaptureWindowTest, CaptureHoldsWhatTheAudienceSeesInBmpAndEmfAlike) {
    ASSERT_TRUE(Errors.empty());
    ASSERT_EQ(Window.AddLabels().size(), 1u);
    // A pen stroke, drawn straight into the picture.
    TRasterCanvas& canvas = Window.Coordinate1->Picture();
    canvas.Pen.Color = 0x0000FF;
    canvas.Pen.Width = 3;
    canvas.MoveTo(20, 30);
    canvas.LineTo(200, 30);
    ASSERT_EQ(Picture().pixel(100, 30), qRgb(255, 0, 0));
    // The control panel stands over the view, the pointer in the middle of it.
    ASSERT_TRUE(Window.GroupBoxMovement->isVisible());
    const QRect panel = Window.GroupBoxMovement->geometry().translated(-Window.Coordinate1->pos());
    ASSERT_TRUE(panel.intersects(Window.Coordinate1->rect()));
    QCursor::setPos(Window.Coordinate1->mapToGlobal(Window.Coordinate1->rect().center()));

    QTest::keyClick(&Window, Qt::Key_F6);
    Window.CaptureJob->PictureFormat = 1;
    QTest::keyClick(&Window, Qt::Key_F6);
    EXPECT_TRUE(Errors.empty());
    const QImage file = Written("Outputpic01.bmp");
    ASSERT_EQ(file.size(), Window.Coordinate1->size());
    // Outside the panel the file is the view as shown: picture, stroke and label.
    const QImage shown = Window.Panel1->grab(Window.Coordinate1->geometry())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    TAddLabel* label = Window.AddLabels().front();
    const QRect where = label->geometry().translated(-Window.Coordinate1->pos());
    ASSERT_FALSE(where.intersects(panel));
    EXPECT_EQ(file.copy(where), shown.copy(where));
    EXPECT_EQ(file.pixel(where.topLeft()), qRgb(255, 255, 0)); // the label's yellow
    EXPECT_NE(file.copy(where), Picture().copy(where).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(file.pixel(100, 30), qRgb(255, 0, 0));
    // Under the panel it holds the view's picture, not the panel.
    const QRect under = panel.intersected(Window.Coordinate1->rect());
    EXPECT_EQ(file.copy(under), Picture().copy(under).convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(shown.copy(under), file.copy(under));
    // The metafile holds the same picture.
    QFile emf(Folder.filePath("Outputpic02.emf"));
    ASSERT_TRUE(emf.open(QIODevice::ReadOnly));
    EXPECT_EQ(emf.readAll(), EncodeEmf(file));
}

TEST(AudiencePictureTest, LabelsLandOnTheDevicePixelsOfTheirPlace) {
    QWidget panel;
    panel.resize(200, 100);
    QWidget view(&panel);
    view.setGeometry(10, 5, 180, 90);
    auto* label = new TAddLabel(&panel);
    TAddLabelData data;
    data.Caption = "WWW";
    data.Color = 0x00FFFF; // yellow box
    data.Transparent = 0;
    label->Assign(data);
    label->move(40, 25);
    auto* hidden = new TAddLabel(&panel);
    hidden->Assign(data);
    hidden->move(100, 60);
    hidden->hide();
    auto* clear = new TAddLabel(&panel);
    data.Transparent = 1;
    clear->Assign(data);
    clear->move(120, 10);
    for (const double ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage picture(static_cast<int>(180 * ratio), static_cast<int>(90 * ratio),
                       QImage::Format_RGB32);
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::blue);
        const QImage result = AudiencePicture(picture, view, {label, hidden, clear});
        EXPECT_EQ(result.size(), picture.size());
        EXPECT_EQ(result.devicePixelRatio(), ratio);
        // The opaque label's box at (30, 20) of the view, ratio device pixels per pixel.
        const QPoint corner(static_cast<int>(30 * ratio), static_cast<int>(20 * ratio));
        EXPECT_EQ(result.pixel(corner), qRgb(255, 255, 0));
        EXPECT_EQ(result.pixel(corner - QPoint(1, 1)), qRgb(0, 0, 255));
        // The hidden label is not there; the transparent one leaves the picture around its text.
        EXPECT_EQ(result.pixel(static_cast<int>(95 * ratio), static_cast<int>(60 * ratio)),
                  qRgb(0, 0, 255));
        EXPECT_EQ(result.pixel(static_cast<int>(110 * ratio), static_cast<int>(5 * ratio)),
                  qRgb(0, 0, 255));
        // The picture given is untouched.
        EXPECT_EQ(picture.pixel(corner), qRgb(0, 0, 255));
    }
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
