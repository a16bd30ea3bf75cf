#include "show/penpointer.h"

#include "model/graphstyle.h"
#include "platform/rastercanvas.h"
#include "show/coordinateimage.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>

namespace curvana {

TPenPointer::TPenPointer(const TControls& controls, TEnum8& mode,
                         const std::unique_ptr<TGraphStyle>& penStyle, QObject* parent)
    : QObject(parent), FControls(controls), FMode(mode), FPenStyle(penStyle) {
    FGroup = new QActionGroup(this);
    FGroup->setExclusive(true);
    for (QAction* action : {FControls.Arrow, FControls.Hide, FControls.Pen, FControls.Laser}) {
        if (action == nullptr)
            continue;
        action->setCheckable(true);
        FGroup->addAction(action);
    }
    if (FControls.PenButton != nullptr) {
        FControls.PenButton->setCheckable(true);
        FControls.PenButton->setEnabled(true);
    }
    SyncControls();
}

TPenPointer::~TPenPointer() {
    ShowPointer(true);
}

void TPenPointer::Arrow() {
    FMode = pmArrow;
    ShowPointer(true);
    FControls.View->setCursor(Qt::ArrowCursor);
    SyncControls();
}

void TPenPointer::Hide() {
    FControls.View->setCursor(Qt::ArrowCursor);
    FMode = pmHide;
    SyncControls();
    ShowPointer(false);
}

void TPenPointer::Pen() {
    FMode = pmPen;
    ShowPointer(true);
    FControls.View->setCursor(Qt::PointingHandCursor);
    SyncControls();
}

void TPenPointer::Laser() {
    FMode = pmLaser;
    ShowPointer(true);
    FControls.View->setCursor(LaserCursor());
    SyncControls();
}

QCursor TPenPointer::LaserCursor() {
    // A bright red dot with a soft rim, its hot spot in the middle; drawn at twice the size so
    // that it stays round on a HiDPI screen.
    constexpr int size = 24;
    constexpr qreal ratio = 2;
    QPixmap dot(static_cast<int>(size * ratio), static_cast<int>(size * ratio));
    dot.setDevicePixelRatio(ratio);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(size / 2.0, size / 2.0), size / 2.0);
    glow.setColorAt(0, QColor(255, 0, 0));
    glow.setColorAt(0.45, QColor(255, 0, 0));
    glow.setColorAt(0.6, QColor(255, 40, 40, 140));
    glow.setColorAt(1, QColor(255, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(QRectF(0, 0, size, size));
    painter.end();
    return QCursor(dot, size / 2, size / 2);
}

void TPenPointer::Toggle() {
    if (FMode == pmPen)
        Arrow();
    else
        Pen();
}

void TPenPointer::ShowPointer(bool visible) {
    // One blank override while hidden, however often Hide is chosen, so that one return to
    // Arrow or Pen always brings the pointer back.
    if (visible == !FPointerHidden)
        return;
    if (visible)
        QGuiApplication::restoreOverrideCursor();
    else
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    FPointerHidden = !visible;
}

void TPenPointer::SyncControls() {
    if (FControls.PenButton != nullptr)
        FControls.PenButton->setChecked(FMode == pmPen);
    if (FControls.Arrow != nullptr)
        FControls.Arrow->setChecked(FMode == pmArrow);
    if (FControls.Hide != nullptr)
        FControls.Hide->setChecked(FMode == pmHide);
    if (FControls.Pen != nullptr)
        FControls.Pen->setChecked(FMode == pmPen);
    if (FControls.Laser != nullptr)
        FControls.Laser->setChecked(FMode == pmLaser);
}

void TPenPointer::MouseDown(int x, int y) {
    FStrokeEnded = true;
    FControls.View->Picture().MoveTo(x, y);
}

void TPenPointer::BackupCanvasPen() {
    TCanvas& canvas = FControls.View->Picture();
    PenBackup = canvas.Pen;
    BrushBackup = canvas.Brush;
}

void TPenPointer::RestoreCanvasPen() {
    TCanvas& canvas = FControls.View->Picture();
    canvas.Pen = PenBackup;
    canvas.Brush = BrushBackup;
}

void TPenPointer::MouseMove(Qt::MouseButtons buttons, int x, int y) {
    if (!buttons.testFlag(Qt::LeftButton) || FMode != pmPen || !FPenStyle)
        return;
    TRasterCanvas& canvas = FControls.View->Picture();
    const TPoint from = canvas.PenPos();
    DropStaleStrokes();
    if (FStrokeEnded) {
        if (FStrokes.empty())
            FUnderStrokes = canvas.Image().copy();
        FStrokes.push_back(
            {FPenStyle->LineColor, FPenStyle->LineWidth, FPenStyle->LineStyle, {from}});
        FStrokeEnded = false;
    }
    FStrokes.back().Points.push_back({x, y});
    BackupCanvasPen();
    canvas.Pen.Color = FPenStyle->LineColor;
    canvas.Pen.Width = FPenStyle->LineWidth;
    canvas.Pen.Style = FPenStyle->LineStyle;
    canvas.LineTo(x, y);
    RestoreCanvasPen();
    // Only the segment's box, grown by the pen's reach, is shown again.
    // The start may lie anywhere (the view's drawing moves the canvas position too); ends
    // clamped to the widget keep the box of the visible part.
    const int reach = std::clamp(FPenStyle->LineWidth, 1, 10000) / 2 + 2;
    const QRect area = FControls.View->rect();
    const auto clampX = [&](int v) { return std::clamp(v, area.left() - 1, area.right() + 1); };
    const auto clampY = [&](int v) { return std::clamp(v, area.top() - 1, area.bottom() + 1); };
    const QRect box =
        QRect(QPoint(std::min(clampX(from.X), clampX(x)), std::min(clampY(from.Y), clampY(y))),
              QPoint(std::max(clampX(from.X), clampX(x)), std::max(clampY(from.Y), clampY(y))))
            .adjusted(-reach, -reach, reach, reach);
    FControls.View->update(box.intersected(FControls.View->rect()));
}

void TPenPointer::DropStaleStrokes() {
    // The picture was drawn again (or resized): the strokes are gone from it already.
    if (FStrokesGeneration != FControls.View->PictureGeneration()) {
        FStrokes.clear();
        FUnderStrokes = QImage();
        FStrokesGeneration = FControls.View->PictureGeneration();
    }
}

std::size_t TPenPointer::StrokeCount() const {
    return FStrokesGeneration == FControls.View->PictureGeneration() ? FStrokes.size() : 0;
}

void TPenPointer::UndoStroke() {
    const std::size_t count = StrokeCount();
    KeepStrokes(count == 0 ? 0 : count - 1);
}

void TPenPointer::EraseStrokes() {
    KeepStrokes(0);
}

void TPenPointer::KeepStrokes(std::size_t count) {
    DropStaleStrokes();
    if (count >= FStrokes.size())
        return;
    FStrokes.resize(count);
    TRasterCanvas& canvas = FControls.View->Picture();
    canvas.PutImage(FUnderStrokes);
    const TPoint position = canvas.PenPos();
    BackupCanvasPen();
    // Segment by segment, as they were drawn, so that every pixel comes out the same.
    for (const TStroke& stroke : FStrokes) {
        canvas.Pen.Color = stroke.Color;
        canvas.Pen.Width = stroke.Width;
        canvas.Pen.Style = stroke.Style;
        canvas.MoveTo(stroke.Points.front().X, stroke.Points.front().Y);
        for (std::size_t i = 1; i < stroke.Points.size(); ++i)
            canvas.LineTo(stroke.Points[i].X, stroke.Points[i].Y);
    }
    RestoreCanvasPen();
    canvas.MoveTo(position.X, position.Y);
    if (FStrokes.empty())
        FUnderStrokes = QImage();
    // A stroke still held goes on as a new one.
    FStrokeEnded = true;
    FControls.View->update();
}

} // namespace curvana
