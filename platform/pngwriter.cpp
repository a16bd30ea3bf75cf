#include "platform/pngwriter.h"

#include "platform/pixelruncompressor.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace curvana {

namespace {

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v >> 24));
    out.push_back(static_cast<unsigned char>(v >> 16));
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

// Length, type, data and the CRC of type and data.
void PutChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// The colour bytes of a pixel minus those of the pixel above, each modulo 256.
std::uint32_t UpDifference(std::uint32_t pixel, std::uint32_t above) {
    return (((pixel >> 16) - (above >> 16)) & 0xFF) << 16 |
           (((pixel >> 8) - (above >> 8)) & 0xFF) << 8 | ((pixel - above) & 0xFF);
}

bool SameColour(std::uint32_t a, std::uint32_t b) {
    return ((a ^ b) & 0xFFFFFF) == 0;
}

// Where the run of pixels equal in colour to the ones above, starting at x, ends.
std::size_t EndOfUnchanged(const std::uint32_t* row, const std::uint32_t* above, std::size_t x,
                           std::size_t width) {
    // Two pixels per comparison while both fit.
    constexpr std::uint64_t Colours = 0x00FFFFFF00FFFFFF;
    while (x + 2 <= width) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, row + x, sizeof a);
        std::memcpy(&b, above + x, sizeof b);
        if (((a ^ b) & Colours) != 0)
            break;
        x += 2;
    }
    while (x < width && SameColour(row[x], above[x]))
        ++x;
    return x;
}

// Each row is the filter byte "up" and its RGB bytes minus those of the row above (zero
// above the first row), handed over as runs of equal differences.
void CompressRows(const QImage& image, std::vector<unsigned char>& out) {
    constexpr std::uint8_t UpFilter = 2;
    const auto width = static_cast<std::size_t>(image.width());
    TPixelRunCompressor compressor(out);
    const std::vector<std::uint32_t> black(width, 0);
    const std::uint32_t* above = black.data();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        compressor.AddByte(UpFilter);
        std::size_t x = 0;
        while (x < width) {
            std::uint32_t difference = 0;
            std::size_t end = x + 1;
            if (SameColour(row[x], above[x])) {
                end = EndOfUnchanged(row, above, end, width);
            } else {
                difference = UpDifference(row[x], above[x]);
                while (end < width && UpDifference(row[end], above[end]) == difference)
                    ++end;
            }
            compressor.AddRun(difference, static_cast<std::uint32_t>(end - x));
            x = end;
        }
        above = row;
    }
    compressor.Finish();
}

} // namespace

bool WritePng(const QImage& image, const std::string& path) {
    // By reference: a copy of a picture that is being painted on would copy its pixels.
    QImage converted;
    if (image.format() != QImage::Format_RGB32)
        converted = image.convertToFormat(QImage::Format_RGB32);
    const QImage& rgb = image.format() == QImage::Format_RGB32 ? image : converted;
    if (rgb.isNull()) {
        return false;
    }
    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<std::uint32_t>(rgb.width()));
    PutBigEndian(header, static_cast<std::uint32_t>(rgb.height()));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, adaptive, no interlace
    PutChunk(file, "IHDR", header);
    if (rgb.dotsPerMeterX() > 0 && rgb.dotsPerMeterY() > 0) {
        std::vector<unsigned char> resolution;
        PutBigEndian(resolution, static_cast<std::uint32_t>(rgb.dotsPerMeterX()));
        PutBigEndian(resolution, static_cast<std::uint32_t>(rgb.dotsPerMeterY()));
        resolution.push_back(1); // per metre
        PutChunk(file, "pHYs", resolution);
    }
    std::vector<unsigned char> rows;
    CompressRows(rgb, rows);
    PutChunk(file, "IDAT", rows);
    PutChunk(file, "IEND", {});
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && written;
}

} // namespace curvana
