#include "platform/rastercanvas.h"

#include "platform/vectorstate.h"

#include <algorithm>
#include <cmath>

namespace curvana {

TRasterCanvas::TRasterCanvas(std::int32_t width, std::int32_t height, double ratio) {
    // Every read of the picture goes through Image(), which draws the waiting lines.
    FBatchWideLines = true;
    SetSize(width, height, ratio);
}

TRasterCanvas::~TRasterCanvas() {
    if (FImagePainter.isActive())
        FImagePainter.end();
}

void TRasterCanvas::SetSize(std::int32_t width, std::int32_t height, double ratio) {
    const TUpperVectorStateGuard clean;
    width = std::max(width, 0);
    height = std::max(height, 0);
    ratio = std::isfinite(ratio) ? std::max(ratio, 1.0) : 1.0;
    FlushWideLines();
    if (FImagePainter.isActive())
        FImagePainter.end();
    // The same rounding as the canvas's device pixels, so the picture ends where they do.
    const auto device = [ratio](std::int32_t logical) {
        return static_cast<int>(std::floor(logical * ratio + 0.5));
    };
    FImage = QImage(device(width), device(height), QImage::Format_RGB32);
    FImage.setDevicePixelRatio(ratio);
    if (!FImage.isNull()) {
        FImage.fill(Qt::white);
        FImagePainter.begin(&FImage);
    }
    Attach(&FImagePainter, width, height);
}

void TRasterCanvas::PutImage(const QImage& copy) {
    const TUpperVectorStateGuard clean;
    FlushWideLines();
    if (!FImagePainter.isActive() || copy.size() != FImage.size())
        return;
    FImagePainter.save();
    FImagePainter.resetTransform();
    FImagePainter.setClipping(false);
    FImagePainter.setCompositionMode(QPainter::CompositionMode_Source);
    FImagePainter.drawImage(QPointF(0, 0), copy);
    FImagePainter.restore();
}

} // namespace curvana
