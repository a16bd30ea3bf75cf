#pragma once

#include "common/types.h"
#include "view/brush.h"
#include "view/pen.h"

#include <QObject>

#include <memory>

class QAction;
class QActionGroup;
class QToolButton;

namespace curvana {

class TCoordinateImage;
class TGraphStyle;

// How the mouse acts over the view: an ordinary pointer (Arrow), invisible (Hide), or a pen
// that draws strokes straight into the view's picture (Pen). Strokes are not kept anywhere:
// the next redraw of the view paints over them.
//
// The mode and the pen style are the window's fields; this object works on them through the
// references it is given. It keeps the pen button and the three mode items in step with the
// mode.
class TPenPointer : public QObject {
    Q_OBJECT
public:
    static constexpr TEnum8 pmArrow = 0;
    static constexpr TEnum8 pmHide = 1;
    static constexpr TEnum8 pmPen = 2;

    struct TControls {
        TCoordinateImage* View = nullptr;
        QToolButton* PenButton = nullptr;
        QAction* Arrow = nullptr;
        QAction* Hide = nullptr;
        QAction* Pen = nullptr;
    };

    TPenPointer(const TControls& controls, TEnum8& mode,
                const std::unique_ptr<TGraphStyle>& penStyle, QObject* parent = nullptr);
    // The pointer is visible again once the window that hid it is gone.
    ~TPenPointer() override;

    void Arrow();
    void Hide();
    void Pen();
    // Pen from Arrow or Hide, Arrow from Pen.
    void Toggle();

    // Any button: strokes start where the button went down.
    void MouseDown(int x, int y);
    // With the left button held in Pen mode: one segment from the last point to this one.
    void MouseMove(Qt::MouseButtons buttons, int x, int y);

    // Whether this object has the mouse pointer hidden; true exactly in Hide mode.
    bool PointerHidden() const { return FPointerHidden; }

private:
    void ShowPointer(bool visible);
    void SyncControls();
    void BackupCanvasPen();
    void RestoreCanvasPen();

    TControls FControls;
    QActionGroup* FGroup = nullptr;
    TEnum8& FMode;
    const std::unique_ptr<TGraphStyle>& FPenStyle;
    TPen PenBackup;
    TBrush BrushBackup;
    bool FPointerHidden = false;
};

} // namespace curvana
