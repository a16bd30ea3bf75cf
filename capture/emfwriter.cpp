#include "capture/emfwriter.h"

#include "common/errors.h"

#include <QImage>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

extern "C" {
#include <uemf.h>
}

namespace curvana {

static_assert(std::endian::native == std::endian::little,
              "metafile records are written in memory order, which must be little-endian");

namespace {

struct TFreeRecord {
    void operator()(void* record) const { std::free(record); }
};
using TRecord = std::unique_ptr<char, TFreeRecord>;

std::uint32_t RecordSize(const TRecord& record) {
    return reinterpret_cast<const U_EMR*>(record.get())->nSize;
}

// Length at the reference resolution, in the given units per inch.
std::int32_t AtReference(std::int32_t pixels, int unitsPerInch) {
    return static_cast<std::int32_t>(
        std::lround(static_cast<double>(pixels) * unitsPerInch / EmfReferenceDotsPerInch));
}

} // namespace

QByteArray EncodeEmf(const QImage& picture) {
    if (picture.isNull())
        throw ECurvanaError("There is no picture to save.");
    const std::int32_t width = picture.width();
    const std::int32_t height = picture.height();
    const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);

    // Rows bottom-up, each padded to a multiple of 4 bytes.
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
    // Record sizes are 32-bit; keep well below that with the headers added.
    if (pixelBytes > std::numeric_limits<std::uint32_t>::max() / 2)
        throw ECurvanaError("The picture is too large for a metafile.");
    std::string pixels(static_cast<std::size_t>(pixelBytes), '\0');
    for (std::int32_t row = 0; row < height; ++row)
        std::memcpy(pixels.data() + stride * static_cast<std::uint64_t>(height - 1 - row),
                    bgr.constScanLine(row), static_cast<std::size_t>(width) * 3);

    const U_RECTL bounds = rectl_set(pointl_set(0, 0), pointl_set(width - 1, height - 1));
    // Frame in 0.01 mm: 2540 units per inch.
    const U_RECTL frame = rectl_set(
        pointl_set(0, 0), pointl_set(AtReference(width, 2540), AtReference(height, 2540)));
    // The reference device: a full-HD screen at the reference resolution, whatever the
    // picture's size, so that its millimetres are never zero.
    const U_SIZEL device = sizel_set(EmfReferenceWidth, EmfReferenceHeight);
    const U_SIZEL millimetres = sizel_set(AtReference(EmfReferenceWidth, 254) / 10,
                                          AtReference(EmfReferenceHeight, 254) / 10);
    TRecord header(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, device, millimetres, 0));

    const auto dotsPerMetre =
        static_cast<std::int32_t>(std::lround(EmfReferenceDotsPerInch / 0.0254));
    const U_BITMAPINFOHEADER infoHeader = bitmapinfoheader_set(
        width, height, 1, U_BCBM_COLOR24, U_BI_RGB, static_cast<std::uint32_t>(pixelBytes),
        dotsPerMetre, dotsPerMetre, 0, 0);
    std::unique_ptr<U_BITMAPINFO, TFreeRecord> info(bitmapinfo_set(infoHeader, nullptr));
    TRecord image(U_EMRSTRETCHDIBITS_set(bounds, pointl_set(0, 0), pointl_set(width, height),
                                         pointl_set(0, 0), pointl_set(width, height),
                                         U_DIB_RGB_COLORS, U_SRCCOPY, info.get(),
                                         static_cast<std::uint32_t>(pixelBytes), pixels.data()));

    EMFTRACK track{};
    TRecord end(U_EMREOF_set(0, nullptr, &track));
    if (!header || !info || !image || !end)
        throw std::bad_alloc();

    // The totals that a growing metafile would fill in at its end.
    auto* head = reinterpret_cast<U_EMRHEADER*>(header.get());
    head->nBytes = RecordSize(header) + RecordSize(image) + RecordSize(end);
    head->nRecords = 3;
    // Handle 0 is reserved; no object is created.
    head->nHandles = 1;
    head->nPalEntries = 0;
    head->szlMicrometers =
        sizel_set(AtReference(EmfReferenceWidth, 25400), AtReference(EmfReferenceHeight, 25400));

    QByteArray data;
    data.reserve(static_cast<qsizetype>(head->nBytes));
    for (const TRecord* record : {&header, &image, &end})
        data.append(record->get(), static_cast<qsizetype>(RecordSize(*record)));
    return data;
}

} // namespace curvana
