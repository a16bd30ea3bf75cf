#include "pixels.h"
#include "platform/rastercanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace curvana {
namespace {

using test::CountColor;

constexpr TColor Red = 0x0000FF;
constexpr double Ratios[] = {2, 1.5};

int Device(double logical, double ratio) {
    return static_cast<int>(std::floor(logical * ratio + 0.5));
}

bool Inked(const QImage& image, int x, int y) {
    return image.pixel(x, y) != qRgb(255, 255, 255);
}

// Device rows (or columns) that hold ink at one place across a line.
std::vector<int> InkAcross(const QImage& image, int at, bool rows) {
    std::vector<int> found;
    const int extent = rows ? image.height() : image.width();
    for (int k = 0; k < extent; ++k)
        if (rows ? Inked(image, at, k) : Inked(image, k, at))
            found.push_back(k);
    return found;
}

QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Inked(image, x, y))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TEST(DevicePixels, PictureHasDeviceSizeAndThinLinesAreRatioWide) {
    for (const double r : Ratios) {
        SCOPED_TRACE(r);
        TRasterCanvas canvas(101, 60, r);
        EXPECT_EQ(canvas.PictureWidth(), 101);
        EXPECT_EQ(canvas.DevicePixelRatio(), r);
        EXPECT_EQ(canvas.Image().size(), QSize(Device(101, r), Device(60, r)));
        EXPECT_EQ(canvas.Image().devicePixelRatio(), r);

        canvas.MoveTo(10, 30);
        canvas.LineTo(90, 30);
        canvas.MoveTo(40, 55);
        canvas.LineTo(40, 5); // upwards: the end pixel is left out all the same
        const QImage& image = canvas.Image();
        const std::vector<int> rows = InkAcross(image, Device(60, r), true);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(std::lround(r)));
        EXPECT_EQ(rows.front(), Device(30, r));
        const std::vector<int> columns = InkAcross(image, Device(20, r), false);
        ASSERT_EQ(columns.size(), static_cast<std::size_t>(std::lround(r)));
        EXPECT_EQ(columns.front(), Device(40, r));
        // Lengthwise from the first device pixel of the first logical pixel to the last one
        // before the end pixel.
        const std::vector<int> along = InkAcross(image, Device(30, r), false);
        EXPECT_EQ(along.front(), Device(10, r));
        EXPECT_EQ(along.back(), Device(90, r) - 1);
        const std::vector<int> up = InkAcross(image, Device(40, r), true);
        EXPECT_EQ(up.front(), Device(6, r));
        EXPECT_EQ(up.back(), Device(56, r) - 1);

        // Dashes keep their logical length: 18 on, 6 off.
        TRasterCanvas dashed(60, 10, r);
        dashed.Pen.Style = psDash;
        dashed.MoveTo(0, 5);
        dashed.LineTo(60, 5);
        const std::vector<int> ink = InkAcross(dashed.Image(), Device(5, r), false);
        int firstDash = 0;
        while (firstDash < static_cast<int>(ink.size()) && ink[firstDash] == firstDash)
            ++firstDash;
        EXPECT_EQ(firstDash, std::lround(18 * r));
    }
}

// Curves, circles and text drawn at the device's resolution, not the picture of ratio 1 blown
// up into ratio x ratio blocks.
TEST(DevicePixels, SlopesAndTextAreSharperThanBlocks) {
    const auto draw = [](TRasterCanvas& canvas) {
        canvas.MoveTo(0, 5);
        for (int x = 1; x <= 60; ++x)
            canvas.LineTo(x, 5 + (x - 30) * (x - 30) / 40);
        canvas.MoveTo(2, 40);
        canvas.LineTo(60, 28);
        canvas.Pen.Width = 2;
        canvas.Ellipse(64, 4, 94, 34);
        canvas.Font.Height = -14;
        canvas.TextOut(62, 40, "4,9x");
    };
    TRasterCanvas plain(100, 60);
    draw(plain);
    for (const double r : Ratios) {
        SCOPED_TRACE(r);
        TRasterCanvas sharp(100, 60, r);
        draw(sharp);
        const QImage& image = sharp.Image();
        const QImage blocks =
            plain.Image().scaled(image.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        int differing = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                differing += Inked(image, x, y) != Inked(blocks, x, y) ? 1 : 0;
        EXPECT_GT(differing, 150);
        // The same slide: everything where it was, within a logical pixel.
        const QRect bounds = InkBounds(image);
        const QRect plainBounds = InkBounds(plain.Image());
        EXPECT_NEAR(bounds.left(), Device(plainBounds.left(), r), r);
        EXPECT_NEAR(bounds.top(), Device(plainBounds.top(), r), r);
        EXPECT_NEAR(bounds.right() + 1, Device(plainBounds.right() + 1, r), r);
        EXPECT_NEAR(bounds.bottom() + 1, Device(plainBounds.bottom() + 1, r), r);
        if (r == 2) {
            // Aligned 2 x 2 blocks that are partly inked: impossible in a blown-up picture.
            int mixed = 0;
            for (int y = 0; y + 1 < image.height(); y += 2)
                for (int x = 0; x + 1 < image.width(); x += 2) {
                    const int n = Inked(image, x, y) + Inked(image, x + 1, y) +
                                  Inked(image, x, y + 1) + Inked(image, x + 1, y + 1);
                    mixed += n > 0 && n < 4 ? 1 : 0;
                }
            EXPECT_GT(mixed, 100);
        }
    }
}

TEST(DevicePixels, WideStrokesAndShapesLieOnTheirLogicalPixels) {
    const auto shapes = [](TRasterCanvas& shape) {
        shape.Brush = {Red, bsSolid};
        shape.Rectangle(4, 6, 20, 18);
        shape.Ellipse(22, 6, 34, 18);
    };
    TRasterCanvas plain(40, 30);
    shapes(plain);
    const QRect plainBounds = InkBounds(plain.Image());
    // Exact at whole ratios; at fractional ones an edge may land a device pixel off.
    for (const double r : {2.0, 3.0}) {
        SCOPED_TRACE(r);
        TRasterCanvas canvas(40, 30, r);
        canvas.Pen.Width = 3;
        canvas.MoveTo(5, 10);
        canvas.LineTo(30, 10);
        // Rows 9 to 11, as at ratio 1.
        const std::vector<int> rows = InkAcross(canvas.Image(), Device(15, r), true);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.front(), Device(9, r));
        EXPECT_EQ(rows.back(), Device(12, r) - 1);

        // Outlines and fills cover the device pixels of the logical pixels they cover at
        // ratio 1.
        TRasterCanvas shape(40, 30, r);
        shapes(shape);
        EXPECT_EQ(InkBounds(shape.Image()),
                  QRect(QPoint(Device(plainBounds.left(), r), Device(plainBounds.top(), r)),
                        QPoint(Device(plainBounds.right() + 1, r) - 1,
                               Device(plainBounds.bottom() + 1, r) - 1)));
        EXPECT_EQ(CountColor(shape.Image().copy(0, 0, Device(21, r), 100), Red),
                  (Device(19, r) - Device(5, r)) * (Device(17, r) - Device(7, r)));
    }
}

TEST(DevicePixels, HatchesKeepTheirPeriodAtDeviceResolution) {
    for (const TEnum8 style :
         {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross}) {
        TRasterCanvas plain(64, 64);
        plain.Brush = {Red, style};
        plain.FillRect({0, 0, 64, 64});
        const double plainShare = CountColor(plain.Image(), Red) / (64.0 * 64.0);
        for (const double r : Ratios) {
            SCOPED_TRACE(testing::Message() << "style " << int(style) << " ratio " << r);
            TRasterCanvas canvas(64, 64, r);
            canvas.Brush = {Red, style};
            canvas.FillRect({0, 0, 64, 64});
            const QImage& image = canvas.Image();
            const int period = static_cast<int>(std::lround(8 * r));
            bool periodic = true;
            for (int y = 0; y + period < image.height(); ++y)
                for (int x = 0; x + period < image.width(); ++x)
                    periodic = periodic && image.pixel(x, y) == image.pixel(x + period, y) &&
                               image.pixel(x, y) == image.pixel(x, y + period);
            EXPECT_TRUE(periodic);
            const double share =
                CountColor(image, Red) / static_cast<double>(image.width() * image.height());
            EXPECT_GT(share, 0.8 * plainShare);
            EXPECT_LT(share, 1.5 * plainShare);

            // A shape filled by the painter shows the very same pattern.
            TRasterCanvas shape(64, 64, r);
            shape.Pen.Style = psClear;
            shape.Brush = {Red, style};
            const TPoint corners[] = {{0, 0}, {64, 0}, {64, 64}, {0, 64}};
            shape.Polygon(corners);
            EXPECT_EQ(shape.Image(), image);
        }
    }
}

} // namespace
} // namespace curvana
