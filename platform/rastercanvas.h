#pragma once

#include "platform/paintercanvas.h"

#include <QImage>
#include <QPainter>

namespace curvana {

// The view's picture: a canvas that owns an RGB32 image of the view's size and paints on it.
// The size is in logical pixels; the image holds ratio times as many device pixels each way
// (rounded) and carries the ratio, so it shows at the logical size, sharp on a HiDPI screen.
// A new picture is white. The image may be read (shown, copied, saved) at any time through
// Image(), which finishes the drawing asked for so far.
class TRasterCanvas : public TPainterCanvas {
public:
    TRasterCanvas(std::int32_t width, std::int32_t height, double ratio = 1);
    ~TRasterCanvas() override;

    // A new white picture of this size; pen, brush, font and position stay. Sizes below 0 count
    // as 0, ratios below 1 as 1; an empty picture draws nothing.
    void SetSize(std::int32_t width, std::int32_t height, double ratio = 1);

    // The picture itself, at device resolution. A copy taken from it keeps the picture of its
    // moment (Qt copies an image that is being painted on instead of sharing it).
    const QImage& Image() const {
        FlushWideLines();
        return FImage;
    }
    // Puts a copy taken from Image() back, pixel for pixel; pen, brush, font and position stay.
    // A copy of another size is ignored.
    void PutImage(const QImage& copy);

private:
    QImage FImage;
    QPainter FImagePainter;
};

} // namespace curvana
