#include "platform/rastercanvas.h"
#include "show/addlabel.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "tests/support/slidewindowtest.h"
#include "view/coordinate.h"

#include <QGuiApplication>
#include <QScreen>
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

} // namespace
} // namespace curvana
