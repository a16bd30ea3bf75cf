#include "show/coordinateimage.h"

#include "platform/rastercanvas.h"
#include "platform/vectorstate.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace curvana {

TCoordinateImage::TCoordinateImage(QWidget* parent)
    : QWidget(parent), FPicture(std::make_unique<TRasterCanvas>(0, 0)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    Coordinate.Canvas = FPicture.get();
}

TCoordinateImage::~TCoordinateImage() {
    Coordinate.Canvas = nullptr;
}

bool TCoordinateImage::PictureFits() const {
    return FPicture->PictureWidth() == width() && FPicture->PictureHeight() == height() &&
           FPicture->DevicePixelRatio() == std::max(devicePixelRatioF(), 1.0);
}

void TCoordinateImage::FitPicture() {
    ++FPictureGeneration;
    // Drawn at the screen's device pixels; the view's geometry stays in logical pixels.
    if (!PictureFits())
        FPicture->SetSize(width(), height(), devicePixelRatioF());
    Coordinate.Canvas = FPicture.get();
    Coordinate.Width = FPicture->PictureWidth();
    Coordinate.Height = FPicture->PictureHeight();
}

void TCoordinateImage::paintEvent(QPaintEvent* event) {
    const TUpperVectorStateGuard clean;
    QPainter painter(this);
    const QImage& image = FPicture->Image();
    const QRect area = event->rect();
    // The picture's device pixels one to one onto the screen's.
    const double ratio = image.devicePixelRatio();
    const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio,
                        area.height() * ratio);
    painter.drawImage(QRectF(area), image, source);
    // Beyond the picture (before the first drawing, or after a resize) the window stays white,
    // the colour of a new picture.
    const QRect picture(0, 0, FPicture->PictureWidth(), FPicture->PictureHeight());
    const QRegion outside = QRegion(area) - QRegion(picture);
    for (const QRect& rect : outside)
        painter.fillRect(rect, Qt::white);
}

void TCoordinateImage::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseDown(event->button(), at.x(), at.y());
    QWidget::mousePressEvent(event);
}

void TCoordinateImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseMove(event->buttons(), at.x(), at.y());
    QWidget::mouseMoveEvent(event);
}

} // namespace curvana
