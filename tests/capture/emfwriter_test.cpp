#include "capture/emfwriter.h"

#include "capture/capscreen.h"
#include "capture/capturefile.h"
#include "common/errors.h"
#include "testpicture.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

extern "C" {
#include <uemf.h>
}

namespace curvana {
namespace {

// A metafile read back record by record, with its parts checked against the format's rules.
struct TReadMetafile {
    std::vector<std::uint32_t> Types;
    U_EMRHEADER Header{};
    U_EMRSTRETCHDIBITS Image{};
    U_BITMAPINFOHEADER ImageInfo{};
    QImage Picture;
};

TReadMetafile ReadMetafile(const QByteArray& data) {
    TReadMetafile file;
    std::size_t at = 0;
    const auto size = static_cast<std::size_t>(data.size());
    while (at + sizeof(U_EMR) <= size) {
        U_EMR record{};
        std::memcpy(&record, data.constData() + at, sizeof record);
        EXPECT_EQ(record.nSize % 4, 0u);
        if (record.nSize < sizeof(U_EMR) || at + record.nSize > size) {
            ADD_FAILURE() << "record at " << at << " overruns the file";
            break;
        }
        const char* start = data.constData() + at;
        file.Types.push_back(record.iType);
        if (record.iType == U_EMR_HEADER) {
            std::memcpy(&file.Header, start,
                        std::min<std::size_t>(sizeof file.Header, record.nSize));
        } else if (record.iType == U_EMR_STRETCHDIBITS) {
            std::memcpy(&file.Image, start, sizeof file.Image);
            EXPECT_LE(file.Image.offBmiSrc + sizeof(U_BITMAPINFOHEADER), record.nSize);
            EXPECT_LE(file.Image.offBitsSrc + file.Image.cbBitsSrc, record.nSize);
            std::memcpy(&file.ImageInfo, start + file.Image.offBmiSrc, sizeof file.ImageInfo);
            const U_BITMAPINFOHEADER& info = file.ImageInfo;
            if (info.biBitCount == 24 && info.biCompression == U_BI_RGB && info.biWidth > 0 &&
                info.biHeight > 0) {
                const int width = info.biWidth;
                const int height = info.biHeight;
                const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
                EXPECT_EQ(file.Image.cbBitsSrc, stride * static_cast<std::size_t>(height));
                const auto* bits =
                    reinterpret_cast<const unsigned char*>(start + file.Image.offBitsSrc);
                file.Picture = QImage(width, height, QImage::Format_RGB32);
                // Bottom-up rows of blue, green, red.
                for (int y = 0; y < height; ++y) {
                    const unsigned char* row =
                        bits + stride * static_cast<std::size_t>(height - 1 - y);
                    for (int x = 0; x < width; ++x)
                        file.Picture.setPixel(x, y,
                                              qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
                }
            }
        }
        at += record.nSize;
    }
    EXPECT_EQ(at, size);
    return file;
}

TEST(EmfWriterTest, HeaderImageAndEndRecordDescribeThePicture) {
    struct TSizeCase {
        int Width;
        int Height;
    };
    // Widths whose rows need 0, 1, 2 and 3 bytes of padding.
    for (const TSizeCase size :
         {TSizeCase{4, 3}, TSizeCase{37, 23}, TSizeCase{2, 5}, TSizeCase{1, 1}}) {
        SCOPED_TRACE(std::to_string(size.Width) + "x" + std::to_string(size.Height));
        const QImage picture = TestPicture(size.Width, size.Height);
        const QByteArray data = EncodeEmf(picture);
        const TReadMetafile file = ReadMetafile(data);

        EXPECT_EQ(file.Types,
                  (std::vector<std::uint32_t>{U_EMR_HEADER, U_EMR_STRETCHDIBITS, U_EMR_EOF}));
        const U_EMRHEADER& h = file.Header;
        EXPECT_EQ(h.dSignature, static_cast<std::uint32_t>(U_ENHMETA_SIGNATURE));
        EXPECT_EQ(h.nVersion, static_cast<std::uint32_t>(U_ENHMETA_VERSION));
        EXPECT_EQ(h.nBytes, static_cast<std::uint32_t>(data.size()));
        EXPECT_EQ(h.nRecords, 3u);
        EXPECT_GE(h.nHandles, 1u);
        // Bounds in pixels, inclusive; frame in 0.01 mm at the reference resolution.
        EXPECT_EQ(h.rclBounds.left, 0);
        EXPECT_EQ(h.rclBounds.top, 0);
        EXPECT_EQ(h.rclBounds.right, size.Width - 1);
        EXPECT_EQ(h.rclBounds.bottom, size.Height - 1);
        EXPECT_EQ(h.rclFrame.left, 0);
        EXPECT_EQ(h.rclFrame.top, 0);
        EXPECT_EQ(h.rclFrame.right, std::lround(size.Width * 2540.0 / EmfReferenceDotsPerInch));
        EXPECT_EQ(h.rclFrame.bottom, std::lround(size.Height * 2540.0 / EmfReferenceDotsPerInch));
        // The reference device's pixels and millimetres give the reference resolution.
        ASSERT_GT(h.szlMillimeters.cx, 0);
        ASSERT_GT(h.szlMillimeters.cy, 0);
        EXPECT_NEAR(h.szlDevice.cx * 25.4 / h.szlMillimeters.cx, EmfReferenceDotsPerInch, 0.5);
        EXPECT_NEAR(h.szlDevice.cy * 25.4 / h.szlMillimeters.cy, EmfReferenceDotsPerInch, 0.5);
        EXPECT_NEAR(h.szlDevice.cx * 25400.0 / h.szlMicrometers.cx, EmfReferenceDotsPerInch, 0.01);

        const U_EMRSTRETCHDIBITS& image = file.Image;
        EXPECT_EQ(image.Dest.x, 0);
        EXPECT_EQ(image.Dest.y, 0);
        EXPECT_EQ(image.cDest.x, size.Width);
        EXPECT_EQ(image.cDest.y, size.Height);
        EXPECT_EQ(image.Src.x, 0);
        EXPECT_EQ(image.Src.y, 0);
        EXPECT_EQ(image.cSrc.x, size.Width);
        EXPECT_EQ(image.cSrc.y, size.Height);
        EXPECT_EQ(image.dwRop, static_cast<std::uint32_t>(U_SRCCOPY));
        EXPECT_EQ(image.iUsageSrc, static_cast<std::uint32_t>(U_DIB_RGB_COLORS));
        EXPECT_EQ(file.ImageInfo.biWidth, size.Width);
        EXPECT_EQ(file.ImageInfo.biHeight, size.Height);
        EXPECT_EQ(file.ImageInfo.biBitCount, 24);
        EXPECT_EQ(file.Picture, picture);
    }
}

TEST(EmfWriterTest, CaptureWritesTheMetafileFile) {
    QTemporaryDir folder;
    TCapScreen job;
    job.OutputDirectory = folder.path().toStdString();
    job.PictureFormat = 1;
    const QImage picture = TestPicture(64, 48);
    const std::string path = CapturePicture(job, picture);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(path.ends_with("/Outputpic01.emf"));
    EXPECT_EQ(ReadMetafile(file.readAll()).Picture, picture);
}

TEST(EmfWriterTest, EmptyPictureIsAnError) {
    EXPECT_THROW(EncodeEmf(QImage()), ECurvanaError);
}

} // namespace
} // namespace curvana
