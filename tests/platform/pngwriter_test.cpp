// The PNG files of the export must decode to exactly the picture that was drawn.
#include "platform/pngwriter.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <random>

namespace curvana {
namespace {

QImage Picture(int width, int height, unsigned seed) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Plain areas, gradients, lines and noise: every filter difference occurs.
            const int kind = (x / 7 + y / 5) % 4;
            const QRgb v = kind == 0   ? qRgb(255, 255, 255)
                           : kind == 1 ? qRgb(x % 256, y % 256, (x * y) % 256)
                           : kind == 2 ? qRgb(0, 0, y % 2 ? 255 : 0)
                                       : qRgb(random() % 256, random() % 256, random() % 256);
            image.setPixel(x, y, v);
        }
    }
    return image;
}

TEST(PngWriter, DecodesToThePictureItWasGiven) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        int Width;
        int Height;
    } sizes[] = {{1, 1}, {1, 9}, {9, 1}, {37, 23}, {640, 480}};
    for (const auto& size : sizes) {
        QImage image = Picture(size.Width, size.Height, static_cast<unsigned>(size.Width));
        image.setDotsPerMeterX(7559);
        image.setDotsPerMeterY(3780);
        const std::string path = dir.filePath("p.png").toStdString();
        ASSERT_TRUE(WritePng(image, path));
        const QImage read(QString::fromStdString(path));
        ASSERT_FALSE(read.isNull()) << size.Width << "x" << size.Height;
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), image)
            << size.Width << "x" << size.Height;
        EXPECT_EQ(read.dotsPerMeterX(), 7559);
        EXPECT_EQ(read.dotsPerMeterY(), 3780);
    }
}

TEST(PngWriter, OtherFormatsAreWrittenAsRgbAndFailuresReported) {
    QTemporaryDir dir;
    QImage argb = Picture(50, 40, 3).convertToFormat(QImage::Format_ARGB32);
    const std::string path = dir.filePath("a.png").toStdString();
    ASSERT_TRUE(WritePng(argb, path));
    EXPECT_EQ(QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32),
              argb.convertToFormat(QImage::Format_RGB32));
    EXPECT_FALSE(WritePng(argb, dir.filePath("missing/a.png").toStdString()));
    EXPECT_FALSE(WritePng(QImage(), dir.filePath("null.png").toStdString()));
}

} // namespace
} // namespace curvana
