#include "capture/capscreen.h"
#include "platform/rastercanvas.h"
#include "show/addlabel.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "show/formslideshow.h"
#include "tests/support/slidewindowtest.h"
#include "view/coordinate.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace curvana {
namespace {

// Run with QT_SCALE_FACTOR set: the window's geometry stays logical, its picture holds the
// screen's device pixels.
using HiDpiSlideWindow = TSlideWindowTest;

TEST_F(HiDpiSlideWindow, PictureAtDevicePixelsGeometryLogical) {
    const double ratio = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    Window.BeginShowDocument(
        Write("doc.xml", "<CurvanaDocument><Coordinate><XInterval><Min>-4</Min><Max>4</Max>"
                         "</XInterval></Coordinate><AddLabels><AddLabel><Caption>here</Caption>"
                         "<x>1</x><y>2</y></AddLabel></AddLabels></CurvanaDocument>"));
    ASSERT_TRUE(Settle());
    ASSERT_TRUE(Errors.empty());
    EXPECT_DOUBLE_EQ(Window.devicePixelRatioF(), ratio);
    const QSize logical = Window.Coordinate1->size();
    EXPECT_EQ(logical, Window.screen()->geometry().size());
    EXPECT_EQ(Window.View().Width, logical.width());
    EXPECT_EQ(Window.View().Height, logical.height());
    const QImage& picture = Window.Coordinate1->Picture().Image();
    EXPECT_EQ(picture.size(), QSize(static_cast<int>(std::floor(logical.width() * ratio + 0.5)),
                                    static_cast<int>(std::floor(logical.height() * ratio + 0.5))));
    EXPECT_DOUBLE_EQ(picture.devicePixelRatio(), ratio);

    // The labels and the panel in logical pixels.
    const TPoint at = Window.View().WorldToScreen(1, 2);
    ASSERT_EQ(Window.AddLabels().size(), 1u);
    EXPECT_EQ(Window.AddLabels()[0]->pos(), QPoint(at.X, at.Y));
    EXPECT_EQ(Window.GroupBoxMovement->geometry().bottomRight() + QPoint(1, 1),
              QPoint(logical.width() - 20, logical.height() - 20));

    // The x axis: about ratio device rows at the origin's row.
    const TPoint origin = Window.View().WorldToScreen(0, 0);
    const int column = static_cast<int>(std::floor((origin.X - 40) * ratio));
    int rows = 0;
    for (int y = 0; y < picture.height(); ++y)
        rows += picture.pixelColor(column, y) == QColor(Qt::black) ? 1 : 0;
    EXPECT_EQ(rows, std::lround(ratio));
}

TEST_F(HiDpiSlideWindow, CaptureAndPenUndoWorkOnTheDevicePixels) {
    Window.BeginShowDocument(
        Write("doc.xml", "<CurvanaDocument><Coordinate><XInterval><Min>-4</Min><Max>4</Max>"
                         "</XInterval></Coordinate><AddLabels><AddLabel><Caption>WWW</Caption>"
                         "<Transparent>0</Transparent><Color>65535</Color><x>-3</x><y>3</y>"
                         "</AddLabel></AddLabels></CurvanaDocument>"));
    ASSERT_TRUE(Settle());
    Window.CaptureJob->OutputDirectory = Folder.path().toStdString();
    const double ratio = Window.devicePixelRatioF();
    const QImage slide = Window.Coordinate1->Picture().Image().copy();
    // A pen stroke along the top band.
    Window.Pen1Click();
    const auto mouse = [&](QEvent::Type type, Qt::MouseButtons held, QPoint at) {
        QMouseEvent event(type, QPointF(at), QPointF(Window.Coordinate1->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(Window.Coordinate1, &event);
    };
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, {100, 30});
    mouse(QEvent::MouseMove, Qt::LeftButton, {300, 30});
    mouse(QEvent::MouseButtonRelease, Qt::NoButton, {300, 30});
    const QImage& picture = Window.Coordinate1->Picture().Image();
    const QPoint onStroke(static_cast<int>(200 * ratio), static_cast<int>(30 * ratio));
    ASSERT_EQ(picture.pixelColor(onStroke), QColor(0, 0, 255));

    QTest::keyClick(&Window, Qt::Key_F6);
    ASSERT_TRUE(Errors.empty());
    const QImage file =
        QImage(Folder.filePath("Outputpic01.bmp"), "BMP").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(file.size(), picture.size());
    EXPECT_EQ(file.pixelColor(onStroke), QColor(0, 0, 255));
    // The label's box at its device pixels.
    const QPoint label = Window.AddLabels()[0]->pos() - Window.Coordinate1->pos();
    const QPoint inside = (label + QPoint(1, 1)) * ratio;
    EXPECT_EQ(file.pixelColor(inside), QColor(255, 255, 0));
    EXPECT_NE(picture.pixelColor(inside), QColor(255, 255, 0));

    QTest::keyClick(&Window, Qt::Key_Backspace);
    EXPECT_EQ(Window.Coordinate1->Picture().Image(), slide);
}

} // namespace
} // namespace curvana
