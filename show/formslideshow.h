#pragma once

#include "common/types.h"

#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QEventLoop;
class QKeyEvent;
class QTimer;

namespace curvana {

class TCoordinate;
class TAddLabel;
class TAddLabelData;
class TCapScreen;
class TControlPanel;
class TCoordinateImage;
class TGraphStyle;
class TLiveReload;
class TMemory;
class TOperatorLib;
class TPenPointer;
class TPopupMenus;
class TSlideNotice;
class TVarMemory;

// The full-screen window that presents one document or a list of slide documents. The view's
// picture changes only through Redraw; labels are widgets over the view, placed at the pixels
// of their world points after every redraw.
class TFormSlideShow : public QWidget {
    Q_OBJECT
public:
    explicit TFormSlideShow(QWidget* parent = nullptr);
    ~TFormSlideShow() override;

    // Each shows the window modally (full screen) and returns when the presenter closes it.
    void ShowDocument(const std::string& path);
    void ShowSlides(int startIndex, const std::vector<std::string>& list);

    // The set-up part of the entries without the modal loop: fields, indicator, the window
    // shown, the first load armed. The entries call these and then run the loop.
    void BeginShowDocument(const std::string& path);
    void BeginShowSlides(int startIndex, const std::vector<std::string>& list);

    // Shows the text of an error that ended a command. The default is a critical message box.
    using TErrorReporter = std::function<void(QWidget* owner, const QString& message)>;
    void SetErrorReporter(TErrorReporter reporter);

    // Asks for the document to open; no value when the presenter cancels. The default is a
    // file dialog for "*.xml".
    using TFileChooser = std::function<std::optional<std::string>(QWidget* owner)>;
    void SetFileChooser(TFileChooser chooser);

    // Slide navigation; each does nothing when the move is not possible.
    void NextSlide();
    void PreviousSlide();
    void FirstSlide();
    void LastSlide();
    void GoToSlide(int index);
    void UpdateSlideIndicator();

    // Reads the document at the path into the view, the graph list and the labels, then redraws;
    // true when it drew the new slide (not for a missing file or another root).
    bool LoadDocument(const std::string& path);
    void PlaceAddLabels();
    // The free text labels of the slide: the TAddLabel children of Panel1.
    std::vector<TAddLabel*> AddLabels() const;

    // The deferred load armed by navigation.
    void Timer1Timer();
    void FormKeyDown(QKeyEvent* event);

    // View commands; each ends with the refresh (Redraw, then the labels placed).
    void ActionCoordMoveLeftExecute();
    void ActionCoordMoveRightExecute();
    void ActionCoordMoveUpExecute();
    void ActionCoordMoveDownExecute();
    void ActionCoordMoveLeftMoreExecute();
    void ActionCoordMoveRightMoreExecute();
    void ActionCoordMoveUpMoreExecute();
    void ActionCoordMoveDownMoreExecute();
    void ActionCoordViewCenterExecute();
    void ActionCoordExpandHorExecute();
    void ActionCoordExpandVerExecute();
    void ActionCoordContractHorExecute();
    void ActionCoordContractVerExecute();
    void ActionCoordExpandBothExecute();
    void ActionCoordContractBothExecute();
    void Refresh1Click();

    // Smooth (antialiased) or crisp lines; the choice is remembered for the user.
    void SmoothLines1Click();

    // The screen the show opens on; none: the one under the mouse pointer.
    void SetShowScreen(QScreen* screen);
    // Moves the full-screen show to the screen; the slide follows at the new size.
    void MoveToScreen(QScreen* screen);

    // The control panel.
    void CoordinateMovementPanel1Click();
    void LabelHideClick();
    void CheckBoxAccClick();
    // Hidden and shown again (visible afterwards), the menu item's check mark untouched.
    void HideAndShowControlPanel();

    void ActionFileOpenExecute();
    // The help book at its default page, in a help window owned by this window.
    void Help1Click();
    void CloseFullScreen1Click();

    // Writes what the audience sees of the view (picture, pen strokes and free text labels;
    // not the control panel, menus or pointer) to the capture job's next free file and advances
    // its number.
    void CaptureScreen1Click();
    // Edits the capture job in its dialog; the control panel is visible afterwards.
    void SetBatchCaptureJob1Click();

    // Edits every setting of the view in the coordinate properties dialog; redraws when OK
    // applied them.
    void CoordinateProperties1Click();
    // The dialog step of CoordinateProperties1Click: true when the values were applied to the
    // view. The default runs the coordinate properties dialog.
    using TCoordinateEditor = std::function<bool(QWidget* owner, TCoordinate& view)>;
    void SetCoordinateEditor(TCoordinateEditor editor);

    // Pointer modes and the pen: Arrow, Hide (pointer invisible) and Pen (strokes drawn into
    // the view's picture until its next redraw).
    void Arrow1Click();
    void Hide1Click();
    void Pen1Click();
    // The pointer as a bright red dot.
    void Laser1Click();
    // Pen from Arrow or Hide, Arrow from Pen (F4, the control panel's pen button).
    void ToolButtonPenClick();
    // Edits the pen in its dialog; "Set" switches to Pen mode. The control panel is visible
    // afterwards.
    void PenProperties1Click();
    void Coordinate1MouseDown(Qt::MouseButton button, int x, int y);
    void Coordinate1MouseMove(Qt::MouseButtons buttons, int x, int y);

    // The view and its picture widget.
    TCoordinate& View();
    TCoordinateImage* Coordinate1 = nullptr;
    QWidget* Panel1 = nullptr;
    TControlPanel* GroupBoxMovement = nullptr;
    QTimer* Timer1 = nullptr;
    // The context menu and the tool bar's drop-down menus.
    TPopupMenus* Menus = nullptr;

    // Commands as actions, for the key map, the control panel and the menus.
    QAction* ActionCoordMoveLeft = nullptr;
    QAction* ActionCoordMoveRight = nullptr;
    QAction* ActionCoordMoveUp = nullptr;
    QAction* ActionCoordMoveDown = nullptr;
    QAction* ActionCoordMoveLeftMore = nullptr;
    QAction* ActionCoordMoveRightMore = nullptr;
    QAction* ActionCoordMoveUpMore = nullptr;
    QAction* ActionCoordMoveDownMore = nullptr;
    QAction* ActionCoordViewCenter = nullptr;
    QAction* ActionCoordExpandHor = nullptr;
    QAction* ActionCoordExpandVer = nullptr;
    QAction* ActionCoordContractHor = nullptr;
    QAction* ActionCoordContractVer = nullptr;
    QAction* ActionCoordExpandBoth = nullptr;
    QAction* ActionCoordContractBoth = nullptr;
    QAction* ActionFileOpen = nullptr;
    QAction* Refresh1 = nullptr;
    QAction* CoordinateMovementPanel1 = nullptr;
    QAction* PreviousSlide1 = nullptr;
    QAction* NextSlide1 = nullptr;
    QAction* heFirstSlide1 = nullptr;
    QAction* heLastSlide1 = nullptr;
    QAction* Help1 = nullptr;
    QAction* CloseFullScreen1 = nullptr;
    QAction* CaptureScreen1 = nullptr;
    QAction* SetBatchCaptureJob1 = nullptr;
    // Arrow1, Hide1, Pen1 and Laser1 are checkable, one of them checked: the current pointer
    // mode.
    QAction* Arrow1 = nullptr;
    QAction* Hide1 = nullptr;
    QAction* Pen1 = nullptr;
    QAction* Laser1 = nullptr;
    QAction* PenProperties1 = nullptr;
    QAction* SmoothLines1 = nullptr;
    TPenPointer* PenPointer = nullptr;
    // Reads the shown file again when it is saved; the launcher tells it the slide show file.
    TLiveReload* LiveReload = nullptr;
    // On the slide: a save that did not read, a picture that a drawing limit cut.
    TSlideNotice* Notice = nullptr;

    // State of the show.
    std::string ExeDir;
    std::string CurrentPath;
    std::optional<std::vector<std::string>> SlideList;
    std::int32_t SlideIndex = -1;

    // Owned objects, made by FormShow.
    std::unique_ptr<TMemory> GraphList;
    std::unique_ptr<TOperatorLib> OperatorLib;
    std::unique_ptr<TVarMemory> Variables;
    std::unique_ptr<TVarMemory> Constants;
    TEnum8 PointerMode = 0;
    std::unique_ptr<TGraphStyle> PenStyle;
    std::unique_ptr<TCapScreen> CaptureJob;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Tab stays with the window: no control may take the slide keys away.
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The menus run their commands as the window's own, errors shown by its reporter.
    friend class TPopupMenus;

    void FormShow();
    void OpenWindow();
    void RunModal();
    void ReportError(const QString& message);
    // Redraw into a picture of the view's size; the widget shows the result.
    void RedrawView();
    // The panel placed, coloured and made visible exactly when the menu item is checked.
    void ApplyControlPanelCheck();
    // At the bottom right of the view.
    void PlaceControlPanel();
    // After the window's size or screen changed: the slide drawn again at the view's new size
    // and ratio, the labels and the panel placed anew.
    void FollowScreen();
    void WatchScreen(QScreen* screen);
    void ReplaceAddLabels(const std::vector<TAddLabelData>& labels);

    bool FShown = false;
    // The view fills Panel1 from the first load on.
    bool FCoordinateAligned = false;
    TErrorReporter FErrorReporter;
    TFileChooser FFileChooser;
    TCoordinateEditor FCoordinateEditor;
    // The loop of the modal show while it runs.
    QEventLoop* FModalLoop = nullptr;
    // Empty again when the screen goes away.
    QPointer<QScreen> FShowScreen;
    // Resizes come in bursts; the slide follows once they settle.
    QTimer* FFollowTimer = nullptr;
    QMetaObject::Connection FScreenChanged;
    QMetaObject::Connection FScreenGeometry;
};

} // namespace curvana
