#include "show/coordinateimage.h"

#include "platform/rastercanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

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

void TCoordinateImage::FitPicture() {
    ++FPictureGeneration;
    if (FPicture->PictureWidth() != width() || FPicture->PictureHeight() != height())
        FPicture->SetSize(width(), height());
    Coordinate.Canvas = FPicture.get();
    Coordinate.Width = FPicture->PictureWidth();
    Coordinate.Height = FPicture->PictureHeight();
}

void TCoordinateImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage& image = FPicture->Image();
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), image, area);
    // Beyond the picture (before the first drawing, or after a resize) the window stays white,
    // the colour of a new picture.
    const QRegion outside = QRegion(area) - QRegion(image.rect());
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
