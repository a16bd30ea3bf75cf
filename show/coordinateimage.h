#pragma once

#include "view/coordinate.h"

#include <QWidget>

#include <cstdint>

#include <memory>

namespace curvana {

class TRasterCanvas;

// The view on screen: the coordinate view and its picture, a raster canvas of the widget's
// size. Painting only copies the picture; the picture changes only when the view draws into it.
class TCoordinateImage : public QWidget {
    Q_OBJECT
public:
    explicit TCoordinateImage(QWidget* parent = nullptr);
    ~TCoordinateImage() override;

    TCoordinate Coordinate;

    // Makes the picture the widget's size (a new white picture when the size changed) and
    // points the view at it. Called before every redraw.
    void FitPicture();
    // Counts the redraws (every FitPicture): what was drawn into the picture before the count
    // changed has been painted over.
    std::uint64_t PictureGeneration() const { return FPictureGeneration; }
    // Whether the picture has the widget's size and the screen's device pixel ratio.
    bool PictureFits() const;
    TRasterCanvas& Picture() { return *FPicture; }

signals:
    // Mouse buttons and moves over the view, in view pixels. Moves arrive while a button is
    // held.
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseMove(Qt::MouseButtons buttons, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<TRasterCanvas> FPicture;
    std::uint64_t FPictureGeneration = 0;
};

} // namespace curvana
