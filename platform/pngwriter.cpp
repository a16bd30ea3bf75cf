#include "platform/pngwriter.h"

#include <zlib.h>

#include <cstdio>
#include <memory>
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

// The rows, each a filter byte and its RGB bytes minus those of the row above, compressed.
bool CompressedRows(const QImage& image, std::vector<unsigned char>& out) {
    z_stream stream{};
    if (deflateInit2(&stream, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK) {
        return false;
    }
    const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, deflateEnd);
    const auto width = static_cast<std::size_t>(image.width());
    std::vector<unsigned char> previous(1 + 3 * width, 0);
    std::vector<unsigned char> row(1 + 3 * width);
    std::vector<unsigned char> filtered(1 + 3 * width);
    out.resize(
        deflateBound(&stream, static_cast<uLong>(row.size()) * static_cast<uLong>(image.height())));
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    for (int y = 0; y < image.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (std::size_t x = 0; x < width; ++x) {
            row[1 + 3 * x] = static_cast<unsigned char>(qRed(pixels[x]));
            row[2 + 3 * x] = static_cast<unsigned char>(qGreen(pixels[x]));
            row[3 + 3 * x] = static_cast<unsigned char>(qBlue(pixels[x]));
        }
        filtered[0] = 2; // up
        for (std::size_t i = 1; i < row.size(); ++i) {
            filtered[i] = static_cast<unsigned char>(row[i] - previous[i]);
        }
        stream.next_in = filtered.data();
        stream.avail_in = static_cast<uInt>(filtered.size());
        if (deflate(&stream, Z_NO_FLUSH) != Z_OK) {
            return false;
        }
        previous.swap(row);
    }
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) {
        return false;
    }
    out.resize(stream.total_out);
    return true;
}

} // namespace

bool WritePng(const QImage& image, const std::string& path) {
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
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
    if (!CompressedRows(rgb, rows)) {
        return false;
    }
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
