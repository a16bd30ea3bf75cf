#pragma once

#include "common/types.h"
#include "view/brush.h"
#include "view/geometry.h"
#include "view/pen.h"

#include <QCursor>
#include <QImage>
#include <QObject>

#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QToolButton;

namespace curvana {

class TCoordinateImage;
class TGraphStyle;

// How the mouse acts over the view: an ordinary pointer (Arrow), invisible (Hide), a pen that
// draws strokes straight into the view's picture (Pen), or a bright red dot to point with
// (Laser). The next redraw of the view paints over the strokes; until then the last stroke can
// be taken back, or all of them, which needs the picture as it was before the first one and the
// points of each stroke.
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
    static constexpr TEnum8 pmLaser = 3;

    struct TControls {
        TCoordinateImage* View = nullptr;
        QToolButton* PenButton = nullptr;
        QAction* Arrow = nullptr;
        QAction* Hide = nullptr;
        QAction* Pen = nullptr;
        QAction* Laser = nullptr;
    };

    TPenPointer(const TControls& controls, TEnum8& mode,
                const std::unique_ptr<TGraphStyle>& penStyle, QObject* parent = nullptr);
    // The pointer is visible again once the window that hid it is gone.
    ~TPenPointer() override;

    void Arrow();
    void Hide();
    void Pen();
    void Laser();
    // Pen from Arrow, Hide or Laser, Arrow from Pen.
    void Toggle();

    // The strokes drawn since the last redraw, in any mode.
    std::size_t StrokeCount() const;
    // Takes the last stroke back; nothing when there is none.
    void UndoStroke();
    // Takes every stroke back; the view's own drawing stays as it was.
    void EraseStrokes();
    // The pointer of Laser mode.
    static QCursor LaserCursor();

    // Any button: strokes start where the button went down; the stroke before is complete.
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
    // Takes back every stroke after the first count: the picture before the strokes is put back
    // and the strokes kept are drawn again.
    void KeepStrokes(std::size_t count);
    // Forgets strokes a redraw has painted over.
    void DropStaleStrokes();

    struct TStroke {
        TColor Color;
        std::int32_t Width;
        TEnum8 Style;
        std::vector<TPoint> Points;
    };

    TControls FControls;
    QActionGroup* FGroup = nullptr;
    TEnum8& FMode;
    const std::unique_ptr<TGraphStyle>& FPenStyle;
    TPen PenBackup;
    TBrush BrushBackup;
    bool FPointerHidden = false;
    std::vector<TStroke> FStrokes;
    // The picture before the first stroke, and the redraw it belongs to.
    QImage FUnderStrokes;
    std::uint64_t FStrokesGeneration = 0;
    // The next segment starts a new stroke.
    bool FStrokeEnded = true;
};

} // namespace curvana
