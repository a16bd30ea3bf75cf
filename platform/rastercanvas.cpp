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

} // namespace curvana
