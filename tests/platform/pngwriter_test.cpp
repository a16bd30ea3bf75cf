// The PNG files of the export must decode to exactly the picture that was drawn, and be valid
// for strict readers too (checksums of chunks and of the compressed rows).
#include "platform/pngwriter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <zlib.h>

#include <functional>
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

QImage Painted(int width, int height, const std::function<QRgb(int, int)>& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colour(x, y));
    return image;
}

std::uint32_t BigEndian(const QByteArray& data, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData() + at);
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// Checks every chunk's CRC and inflates the rows with zlib, which checks their Adler-32;
// the rows must be a filter byte and three bytes per pixel each.
void ExpectStrictlyValid(const std::string& path, const QImage& image) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    QByteArray compressed;
    for (qsizetype at = 8; at + 12 <= data.size();) {
        const std::uint32_t length = BigEndian(data, at);
        ASSERT_LE(at + 12 + qsizetype{length}, data.size());
        const auto* typeAndData = reinterpret_cast<const Bytef*>(data.constData() + at + 4);
        EXPECT_EQ(crc32(0, typeAndData, 4 + length), BigEndian(data, at + 8 + length))
            << data.mid(at + 4, 4).toStdString();
        if (data.mid(at + 4, 4) == "IDAT")
            compressed += data.mid(at + 8, length);
        at += 12 + length;
    }
    const auto rowBytes = static_cast<uLongf>(1 + 3 * image.width());
    std::vector<Bytef> rows(rowBytes * static_cast<uLongf>(image.height()) + 1);
    uLongf size = rows.size();
    ASSERT_EQ(uncompress(rows.data(), &size, reinterpret_cast<const Bytef*>(compressed.data()),
                         static_cast<uLong>(compressed.size())),
              Z_OK);
    EXPECT_EQ(size, rows.size() - 1);
}

TEST(PngWriter, DecodesToThePictureItWasGiven) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* Name;
        QImage Image;
    } pictures[] = {
        {"1x1", Picture(1, 1, 1)},
        {"1x9", Picture(1, 9, 1)},
        {"9x1", Picture(9, 1, 9)},
        {"37x23", Picture(37, 23, 37)},
        // More runs than one block holds.
        {"640x480", Picture(640, 480, 640)},
        {"noise", Painted(300, 300, [](int x, int y) { return qRgb(x * y, x ^ y, x + 7 * y); })},
        // One colour: long runs, the longest match over and over.
        {"white", Painted(1920, 40, [](int, int) { return qRgb(255, 255, 255); })},
        // Runs of every length from 1 to 300 pixels, around the longest match.
        {"runs", Painted(1200, 300,
                         [](int x, int y) {
                             return (x / (y + 1)) % 2 ? qRgb(200, 40, y) : qRgb(0, 90, 255 - y);
                         })},
        // Unchanged pixels beside changed ones that differ from the row above alike.
        {"lines", Painted(1921, 50,
                          [](int x, int y) {
                              return y % 10 == 0 || x % 97 == 0 ? qRgb(255, 0, 0)
                                                                : qRgb(255, 255, 255);
                          })},
    };
    for (const auto& picture : pictures) {
        QImage image = picture.Image;
        image.setDotsPerMeterX(7559);
        image.setDotsPerMeterY(3780);
        const std::string path = dir.filePath("p.png").toStdString();
        ASSERT_TRUE(WritePng(image, path)) << picture.Name;
        const QImage read(QString::fromStdString(path));
        ASSERT_FALSE(read.isNull()) << picture.Name;
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), image) << picture.Name;
        EXPECT_EQ(read.dotsPerMeterX(), 7559);
        EXPECT_EQ(read.dotsPerMeterY(), 3780);
        ExpectStrictlyValid(path, image);
    }
}

TEST(PngWriter, OtherFormatsAreWrittenAsRgbAndFailuresReported) {
    QTemporaryDir dir;
    QImage argb = Picture(50, 40, 3).convertToFormat(QImage::Format_ARGB32);
    const std::string path = dir.filePath("a.png").toStdString();
    ASSERT_TRUE(WritePng(argb, path));
    EXPECT_EQ(QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32),
              argb.convertToFormat(QImage::Format_RGB32));
    ExpectStrictlyValid(path, argb);
    EXPECT_FALSE(WritePng(argb, dir.filePath("missing/a.png").toStdString()));
    EXPECT_FALSE(WritePng(QImage(), dir.filePath("null.png").toStdString()));
}

} // namespace
} // namespace curvana
