#include "platform/rastercanvas.h"

#include <algorithm>

namespace curvana {

TRasterCanvas::TRasterCanvas(std::int32_t width, std::int32_t height) {
    SetSize(width, height);
}

TRasterCanvas::~TRasterCanvas() {
    if (FImagePainter.isActive())
        FImagePainter.end();
}

void TRasterCanvas::SetSize(std::int32_t width, std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (FImagePainter.isActive())
        FImagePainter.end();
    FImage = QImage(width, height, QImage::Format_RGB32);
    if (!FImage.isNull()) {
        FImage.fill(Qt::white);
        FImagePainter.begin(&FImage);
    }
    Attach(&FImagePainter, width, height);
}

void TRasterCanvas::PutImage(const QImage& copy) {
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
