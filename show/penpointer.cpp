#include "show/penpointer.h"

#include "model/graphstyle.h"
#include "platform/rastercanvas.h"
#include "show/coordinateimage.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>

namespace curvana {

TPenPointer::TPenPointer(const TControls& controls, TEnum8& mode,
                         const std::unique_ptr<TGraphStyle>& penStyle, QObject* parent)
    : QObject(parent), FControls(controls), FMode(mode), FPenStyle(penStyle) {
    FGroup = new QActionGroup(this);
    FGroup->setExclusive(true);
    for (QAction* action : {FControls.Arrow, FControls.Hide, FControls.Pen}) {
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
}

void TPenPointer::MouseDown(int x, int y) {
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
    TCanvas& canvas = FControls.View->Picture();
    const TPoint from = canvas.PenPos();
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

} // namespace curvana
