#include "show/formslideshow.h"

#include "capture/capscreen.h"
#include "capture/capturefile.h"
#include "capture/formsetcapturejob.h"
#include "common/errors.h"
#include "dialogs/formpenproperties.h"
#include "docfile/documentloader.h"
#include "expr/operatorlib.h"
#include "expr/varmemory.h"
#include "model/graphstyle.h"
#include "model/memory.h"
#include "platform/qtfont.h"
#include "platform/rastercanvas.h"
#include "platform/usersettings.h"
#include "show/addlabel.h"
#include "show/audiencepicture.h"
#ifdef CURVANA_HAVE_HELP_WINDOW
#include "show/chmhelp.h"
#endif
#include "show/clicklabel.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "show/livereload.h"
#include "show/penpointer.h"
#include "show/popupmenus.h"
#include "show/screenkeeper.h"
#include "show/slidenotice.h"
#include "show/viewcommands.h"
#include "view/cutgraphs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <exception>

namespace curvana {

namespace {

// Runs a command at the event boundary: an error ends the command and is shown with its text.
template <typename TCommand>
void Guarded(TFormSlideShow& window, const TFormSlideShow::TErrorReporter& report,
             TCommand&& command) {
    try {
        command();
    } catch (const std::exception& e) {
        report(&window, QString::fromUtf8(e.what()));
    }
}

// The load of a new window waits a moment for the window system to settle its size. A slide
// chosen later waits only for the events already queued, so that a burst of keys loads once
// and the key's picture is not held back.
constexpr int FirstLoadDelayMs = 10;
constexpr int NextLoadDelayMs = 0;

void DefaultErrorReporter(QWidget* owner, const QString& message) {
    QMessageBox::critical(owner, QGuiApplication::applicationDisplayName(), message);
}

// Texts with the key shown in the menu; the keys themselves belong to the window's key map, so
// no action carries a shortcut.
QAction* MakeAction(QObject* owner, const char* text) {
    auto* action = new QAction(QString::fromUtf8(text), owner);
    return action;
}

} // namespace

TFormSlideShow::TFormSlideShow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), FErrorReporter(DefaultErrorReporter) {
    setWindowTitle(QStringLiteral("FormSlideShow"));
    TFont formFont;
    formFont.Height = -11;
    setFont(ToQFont(formFont));
    setFocusPolicy(Qt::StrongFocus);

    Panel1 = new QWidget(this);
    Coordinate1 = new TCoordinateImage(Panel1);
    GroupBoxMovement = new TControlPanel(Panel1);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    const auto bind = [this](QAction*& action, const char* text,
                             void (TFormSlideShow::*handler)()) {
        action = MakeAction(this, text);
        connect(action, &QAction::triggered, this, [this, handler] {
            Guarded(*this, FErrorReporter, [this, handler] { (this->*handler)(); });
        });
    };
    bind(ActionCoordMoveLeft, "Move to the Left", &TFormSlideShow::ActionCoordMoveLeftExecute);
    bind(ActionCoordMoveRight, "Move to the Right", &TFormSlideShow::ActionCoordMoveRightExecute);
    bind(ActionCoordMoveUp, "Move Upwards", &TFormSlideShow::ActionCoordMoveUpExecute);
    bind(ActionCoordMoveDown, "Move Downwards", &TFormSlideShow::ActionCoordMoveDownExecute);
    bind(ActionCoordMoveLeftMore, "Move to the Left",
         &TFormSlideShow::ActionCoordMoveLeftMoreExecute);
    bind(ActionCoordMoveRightMore, "Move to the Right",
         &TFormSlideShow::ActionCoordMoveRightMoreExecute);
    bind(ActionCoordMoveUpMore, "Move Upwards", &TFormSlideShow::ActionCoordMoveUpMoreExecute);
    bind(ActionCoordMoveDownMore, "Move Downwards",
         &TFormSlideShow::ActionCoordMoveDownMoreExecute);
    bind(ActionCoordViewCenter, "Center View", &TFormSlideShow::ActionCoordViewCenterExecute);
    bind(ActionCoordExpandHor, "Zoom Out X", &TFormSlideShow::ActionCoordExpandHorExecute);
    bind(ActionCoordExpandVer, "Zoom Out Y", &TFormSlideShow::ActionCoordExpandVerExecute);
    bind(ActionCoordContractHor, "Zoom In X", &TFormSlideShow::ActionCoordContractHorExecute);
    bind(ActionCoordContractVer, "Zoom In Y", &TFormSlideShow::ActionCoordContractVerExecute);
    bind(ActionCoordExpandBoth, "Zoom Out X and Y", &TFormSlideShow::ActionCoordExpandBothExecute);
    bind(ActionCoordContractBoth, "Zoom In X and Y",
         &TFormSlideShow::ActionCoordContractBothExecute);
    bind(ActionFileOpen, "Open Document...", &TFormSlideShow::ActionFileOpenExecute);
    bind(Refresh1, "Refresh\tF5", &TFormSlideShow::Refresh1Click);
    bind(PreviousSlide1, "Previous Slide (PageUp Key)", &TFormSlideShow::PreviousSlide);
    bind(NextSlide1, "Next Slide (PageDown Key)", &TFormSlideShow::NextSlide);
    bind(heFirstSlide1, "The First Slide (Home Key)", &TFormSlideShow::FirstSlide);
    bind(heLastSlide1, "The Last Slide (End Key)", &TFormSlideShow::LastSlide);
    bind(CloseFullScreen1, "Close Full Screen (ESC Key)", &TFormSlideShow::CloseFullScreen1Click);
    bind(Help1, "Help", &TFormSlideShow::Help1Click);
    bind(CaptureScreen1, "Capture Screen\tF6", &TFormSlideShow::CaptureScreen1Click);
    bind(SetBatchCaptureJob1, "Set Batch Capture Job...",
         &TFormSlideShow::SetBatchCaptureJob1Click);
    bind(Arrow1, "Arrow", &TFormSlideShow::Arrow1Click);
    bind(Hide1, "Hide", &TFormSlideShow::Hide1Click);
    bind(Pen1, "Pen\tF4", &TFormSlideShow::Pen1Click);
    bind(Laser1, "Laser", &TFormSlideShow::Laser1Click);
    bind(PenProperties1, "Pen Properties...", &TFormSlideShow::PenProperties1Click);

    SmoothLines1 = MakeAction(this, "Smooth Lines");
    SmoothLines1->setCheckable(true);
    SmoothLines1->setChecked(ReadSmoothLines());
    Coordinate1->Picture().Smooth = SmoothLines1->isChecked();
    connect(SmoothLines1, &QAction::triggered, this,
            [this] { Guarded(*this, FErrorReporter, [this] { SmoothLines1Click(); }); });

    FFollowTimer = new QTimer(this);
    FFollowTimer->setSingleShot(true);
    FFollowTimer->setInterval(0);
    connect(FFollowTimer, &QTimer::timeout, this, [this] { FollowScreen(); });

    // The check mark drives the panel: a menu click has flipped it already, so only apply it.
    CoordinateMovementPanel1 = MakeAction(this, "Show/Hide Control Panel (Space Key)");
    CoordinateMovementPanel1->setCheckable(true);
    connect(CoordinateMovementPanel1, &QAction::triggered, this,
            [this] { Guarded(*this, FErrorReporter, [this] { ApplyControlPanelCheck(); }); });

    TControlPanel& panel = *GroupBoxMovement;
    const auto onClick = [this](TClickLabel* picture, auto handler) {
        connect(picture, &TClickLabel::Clicked, this,
                [this, handler] { Guarded(*this, FErrorReporter, handler); });
    };
    const auto accelerated = [this] { return GroupBoxMovement->CheckBoxAcc->isChecked(); };
    onClick(panel.Image1, [this, accelerated] {
        accelerated() ? ActionCoordMoveUpMoreExecute() : ActionCoordMoveUpExecute();
    });
    onClick(panel.Image2, [this, accelerated] {
        accelerated() ? ActionCoordMoveDownMoreExecute() : ActionCoordMoveDownExecute();
    });
    onClick(panel.Image3, [this, accelerated] {
        accelerated() ? ActionCoordMoveLeftMoreExecute() : ActionCoordMoveLeftExecute();
    });
    onClick(panel.Image4, [this, accelerated] {
        accelerated() ? ActionCoordMoveRightMoreExecute() : ActionCoordMoveRightExecute();
    });
    onClick(panel.Image5, [this] { ActionCoordViewCenterExecute(); });
    onClick(panel.ImageLastSlide, [this] { PreviousSlide(); });
    onClick(panel.ImageNextSlide, [this] { NextSlide(); });
    onClick(panel.LabelHide, [this] { LabelHideClick(); });
    connect(panel.CheckBoxAcc, &QCheckBox::clicked, this, [this] { CheckBoxAccClick(); });

    const auto onButton = [this](QToolButton* button, QAction* action) {
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
    };
    onButton(panel.ToolButton1, ActionCoordExpandBoth);
    onButton(panel.ToolButton2, ActionCoordExpandHor);
    onButton(panel.ToolButton3, ActionCoordExpandVer);
    onButton(panel.ToolButton4, ActionCoordContractBoth);
    onButton(panel.ToolButton5, ActionCoordContractHor);
    onButton(panel.ToolButton6, ActionCoordContractVer);
    onButton(panel.ToolButton9, Refresh1);
    onButton(panel.ToolButton16, ActionFileOpen);
    onButton(panel.ToolButton17, CloseFullScreen1);
    onButton(panel.ToolButton13, CaptureScreen1);

    PenPointer = new TPenPointer({Coordinate1, panel.ToolButtonPen, Arrow1, Hide1, Pen1, Laser1},
                                 PointerMode, PenStyle, this);
    connect(panel.ToolButtonPen, &QToolButton::clicked, this,
            [this] { Guarded(*this, FErrorReporter, [this] { ToolButtonPenClick(); }); });
    connect(Coordinate1, &TCoordinateImage::MouseDown, this,
            [this](Qt::MouseButton button, int x, int y) { Coordinate1MouseDown(button, x, y); });
    connect(
        Coordinate1, &TCoordinateImage::MouseMove, this,
        [this](Qt::MouseButtons buttons, int x, int y) { Coordinate1MouseMove(buttons, x, y); });

    Menus = new TPopupMenus(*this);
    Notice = new TSlideNotice(Panel1);
    LiveReload = new TLiveReload(*this);
    new TScreenKeeper(this);

    // Enabled from the start: the first load follows as soon as the show's loop runs.
    Timer1->start(FirstLoadDelayMs);
}

TFormSlideShow::~TFormSlideShow() {
    // The view must not keep a reference to the graph list past it.
    View().GraphList = nullptr;
}

TCoordinate& TFormSlideShow::View() {
    return Coordinate1->Coordinate;
}

void TFormSlideShow::SetErrorReporter(TErrorReporter reporter) {
    FErrorReporter = reporter ? std::move(reporter) : TErrorReporter(DefaultErrorReporter);
}

void TFormSlideShow::SetFileChooser(TFileChooser chooser) {
    FFileChooser = std::move(chooser);
}

void TFormSlideShow::SetCoordinateEditor(TCoordinateEditor editor) {
    FCoordinateEditor = std::move(editor);
}

void TFormSlideShow::ReportError(const QString& message) {
    FErrorReporter(this, message);
}

// ---------------------------------------------------------------------------------------------
// Entries

void TFormSlideShow::ShowDocument(const std::string& path) {
    BeginShowDocument(path);
    RunModal();
}

void TFormSlideShow::ShowSlides(int startIndex, const std::vector<std::string>& list) {
    BeginShowSlides(startIndex, list);
    RunModal();
}

void TFormSlideShow::BeginShowDocument(const std::string& path) {
    CurrentPath = path;
    SlideIndex = -1;
    SlideList.reset();
    UpdateSlideIndicator();
    OpenWindow();
}

void TFormSlideShow::BeginShowSlides(int startIndex, const std::vector<std::string>& list) {
    CurrentPath.clear();
    SlideIndex = startIndex;
    SlideList = list;
    if (startIndex < 0 || startIndex > static_cast<std::int64_t>(list.size()) - 1) {
        SlideIndex = -1;
    } else {
        CurrentPath = list[static_cast<std::size_t>(startIndex)];
    }
    UpdateSlideIndicator();
    OpenWindow();
}

void TFormSlideShow::OpenWindow() {
    // The chosen screen, else the owner's, else the one under the pointer. The geometry is set
    // before showing, so the window covers the screen even where no window manager honours the
    // full-screen state.
    QScreen* screen = FShowScreen;
    if (screen == nullptr && parentWidget() != nullptr)
        screen = parentWidget()->screen();
    if (screen == nullptr)
        screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        setScreen(screen);
        setGeometry(screen->geometry());
    }
    setWindowModality(Qt::ApplicationModal);
    FormShow();
    showFullScreen();
    activateWindow();
    setFocus();
    if (QWindow* window = windowHandle()) {
        disconnect(FScreenChanged);
        // Also when the screen went away: the show covers the one it was handed to.
        FScreenChanged = connect(window, &QWindow::screenChanged, this, [this](QScreen* now) {
            if (now != nullptr)
                setGeometry(now->geometry());
            WatchScreen(now);
        });
        WatchScreen(window->screen());
    }
    Timer1->start(FirstLoadDelayMs);
}

void TFormSlideShow::SetShowScreen(QScreen* screen) {
    FShowScreen = screen;
}

void TFormSlideShow::MoveToScreen(QScreen* screen) {
    if (screen == nullptr)
        return;
    FShowScreen = screen;
    if (QWindow* window = windowHandle())
        window->setScreen(screen);
    setGeometry(screen->geometry());
    if (isVisible())
        showFullScreen();
    FFollowTimer->start();
}

void TFormSlideShow::WatchScreen(QScreen* screen) {
    // A new screen, or a new resolution of this one: the window covers it again, and the slide
    // follows (also when only the device pixel ratio changed).
    disconnect(FScreenGeometry);
    if (screen != nullptr)
        FScreenGeometry =
            connect(screen, &QScreen::geometryChanged, this, [this](const QRect& area) {
                setGeometry(area);
                FFollowTimer->start();
            });
    FFollowTimer->start();
}

void TFormSlideShow::FollowScreen() {
    // Before the first load the view is not yet laid out; the load draws it.
    if (!FCoordinateAligned || !FShown || Timer1->isActive())
        return;
    Coordinate1->setGeometry(Panel1->rect());
    if (!Coordinate1->PictureFits()) {
        try {
            RedrawView();
        } catch (const std::exception&) {
            // That drawing's error was shown when it was first drawn.
        }
        PlaceAddLabels();
    }
    PlaceControlPanel();
}

void TFormSlideShow::RunModal() {
    if (!isVisible())
        return;
    QEventLoop loop;
    FModalLoop = &loop;
    loop.exec();
    FModalLoop = nullptr;
}

void TFormSlideShow::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    if (FModalLoop != nullptr)
        FModalLoop->quit();
    event->accept();
}

void TFormSlideShow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Panel1->setGeometry(rect());
    if (FCoordinateAligned)
        Coordinate1->setGeometry(Panel1->rect());
    FFollowTimer->start();
}

void TFormSlideShow::FormShow() {
    if (FShown)
        return;
    FShown = true;
    ExeDir = QCoreApplication::applicationDirPath().toStdString() + "/";
    OperatorLib = std::make_unique<TOperatorLib>();
    Variables = std::make_unique<TVarMemory>();
    AddPlotVariables(*Variables);
    Constants = std::make_unique<TVarMemory>();
    AddPlotConstants(*Constants);
    GraphList = std::make_unique<TMemory>();
    PointerMode = 0;
    PenStyle = std::make_unique<TGraphStyle>();
    PenStyle->LineColor = 0xFF0000;
    PenStyle->LineWidth = 2;
    CaptureJob = std::make_unique<TCapScreen>();
    CaptureJob->FileNamePrefix = "Outputpic";
    CaptureJob->OutputDirectory = DefaultOutputDirectory(ExeDir);
    CaptureJob->PictureFormat = 0;
    CaptureJob->CurrentIndex = 1;
    CaptureJob->Digital = 2;
}

// ---------------------------------------------------------------------------------------------
// Slides

void TFormSlideShow::NextSlide() {
    if (!SlideList || SlideIndex + 1 < 0 ||
        SlideIndex + 1 >= static_cast<std::int64_t>(SlideList->size()))
        return;
    ++SlideIndex;
    GoToSlide(SlideIndex);
    UpdateSlideIndicator();
}

void TFormSlideShow::PreviousSlide() {
    if (!SlideList || SlideIndex - 1 < 0 ||
        SlideIndex - 1 >= static_cast<std::int64_t>(SlideList->size()))
        return;
    --SlideIndex;
    GoToSlide(SlideIndex);
    UpdateSlideIndicator();
}

void TFormSlideShow::FirstSlide() {
    if (!SlideList || SlideList->empty())
        return;
    SlideIndex = 0;
    GoToSlide(SlideIndex);
    UpdateSlideIndicator();
}

void TFormSlideShow::LastSlide() {
    if (!SlideList || SlideList->empty())
        return;
    SlideIndex = static_cast<std::int32_t>(SlideList->size()) - 1;
    GoToSlide(SlideIndex);
    UpdateSlideIndicator();
}

void TFormSlideShow::GoToSlide(int index) {
    if (!SlideList || index < 0 || index > static_cast<std::int64_t>(SlideList->size()) - 1)
        return;
    CurrentPath = (*SlideList)[static_cast<std::size_t>(index)];
    CoordinateMovementPanel1->setChecked(false);
    Timer1->start(NextLoadDelayMs);
}

void TFormSlideShow::UpdateSlideIndicator() {
    TControlPanel& panel = *GroupBoxMovement;
    const std::int64_t count = SlideList ? static_cast<std::int64_t>(SlideList->size()) : 0;
    if (SlideIndex == -1) {
        panel.ImageLastSlide->hide();
        panel.ImageNextSlide->hide();
        panel.LabelSlide->hide();
        return;
    }
    if (SlideIndex == 0) {
        panel.ImageLastSlide->hide();
        panel.ImageNextSlide->show();
    } else if (SlideIndex == count - 1) {
        panel.ImageLastSlide->show();
        panel.ImageNextSlide->hide();
    } else if (SlideIndex > 0 && SlideIndex < count - 1) {
        panel.ImageLastSlide->show();
        panel.ImageNextSlide->show();
    } else {
        return;
    }
    panel.LabelSlide->setText(QStringLiteral("Slide: %1/%2").arg(SlideIndex + 1).arg(count));
    panel.LabelSlide->adjustSize();
    panel.LabelSlide->show();
}

void TFormSlideShow::Timer1Timer() {
    if (!FShown)
        return;
    // Stopped first, so that an error below is not repeated by the timer.
    Timer1->stop();
    FCoordinateAligned = true;
    Coordinate1->setGeometry(Panel1->rect());
    // Nothing is painted before this handler returns, so the old slide stays on screen until
    // the new one is drawn. Only when no new slide replaces it is the view drawn again (without
    // pen strokes, at its new size).
    const auto redrawQuietly = [this] {
        try {
            RedrawView();
        } catch (const std::exception&) {
            // That drawing's error was shown when it was first drawn.
        }
    };
    bool drawn = false;
    try {
        drawn = LoadDocument(CurrentPath);
    } catch (const std::exception& e) {
        // Labels read before the failure go where they belong in the picture of the view's
        // new size, also on the first slide.
        redrawQuietly();
        PlaceAddLabels();
        ReportError(QString::fromUtf8(e.what()));
        return;
    }
    if (!drawn)
        redrawQuietly();
    CoordinateMovementPanel1Click();
}

bool TFormSlideShow::LoadDocument(const std::string& path) {
    std::vector<TAddLabelData> labels;
    TLoadOutcome outcome = TLoadOutcome::NoFile;
    try {
        outcome = LoadDocumentFile(path, {View(), GraphList, labels});
    } catch (...) {
        // The labels read before the failure replace the old ones, placed where they belong
        // rather than left at the corner.
        ReplaceAddLabels(labels);
        PlaceAddLabels();
        throw;
    }
    if (outcome == TLoadOutcome::NoFile)
        return false;
    ReplaceAddLabels(labels);
    if (outcome == TLoadOutcome::NotADocument)
        return false;
    RedrawView();
    PlaceAddLabels();
    return true;
}

std::vector<TAddLabel*> TFormSlideShow::AddLabels() const {
    std::vector<TAddLabel*> labels;
    for (QObject* child : Panel1->children())
        if (auto* label = qobject_cast<TAddLabel*>(child))
            labels.push_back(label);
    return labels;
}

void TFormSlideShow::ReplaceAddLabels(const std::vector<TAddLabelData>& labels) {
    for (TAddLabel* label : AddLabels())
        delete label;
    for (const TAddLabelData& data : labels) {
        auto* label = new TAddLabel(Panel1);
        label->Assign(data);
        label->setToolTip(QStringLiteral("AddLabel"));
        label->show();
    }
    // Labels lie over the view, the control panel over them.
    GroupBoxMovement->raise();
}

void TFormSlideShow::PlaceAddLabels() {
    for (TAddLabel* label : AddLabels()) {
        const TPoint at = View().WorldToScreen(label->x, label->y);
        label->move(Coordinate1->x() + at.X, Coordinate1->y() + at.Y);
    }
}

void TFormSlideShow::RedrawView() {
    Coordinate1->FitPicture();
    struct TShowPicture {
        TCoordinateImage* Image;
        ~TShowPicture() { Image->update(); }
    } showPicture{Coordinate1};
    View().Redraw(GraphList.get(), *OperatorLib, *Variables, *Constants);
    QString cut;
    if (!View().Whole()) {
        cut = QString::fromStdString(CutGraphsMessage(*GraphList, View()));
        cut[0] = cut[0].toUpper();
    }
    Notice->SetText(TSlideNotice::TSource::Drawing, cut);
}

// ---------------------------------------------------------------------------------------------
// Keys

void TFormSlideShow::keyPressEvent(QKeyEvent* event) {
    Guarded(*this, FErrorReporter, [this, event] { FormKeyDown(event); });
    // After any key, mapped or not, the window has the keyboard focus.
    setFocus();
}

bool TFormSlideShow::focusNextPrevChild(bool next) {
    (void)next;
    return false;
}

void TFormSlideShow::FormKeyDown(QKeyEvent* event) {
    const int key = event->key();
    const bool accelerated = GroupBoxMovement->CheckBoxAcc->isChecked();
    const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
    switch (key) {
    case Qt::Key_Up:
        accelerated ? ActionCoordMoveUpMoreExecute() : ActionCoordMoveUpExecute();
        break;
    case Qt::Key_Down:
        accelerated ? ActionCoordMoveDownMoreExecute() : ActionCoordMoveDownExecute();
        break;
    case Qt::Key_Left:
        accelerated ? ActionCoordMoveLeftMoreExecute() : ActionCoordMoveLeftExecute();
        break;
    case Qt::Key_Right:
        accelerated ? ActionCoordMoveRightMoreExecute() : ActionCoordMoveRightExecute();
        break;
    case Qt::Key_PageDown:
        NextSlide();
        break;
    case Qt::Key_PageUp:
        PreviousSlide();
        break;
    case Qt::Key_Home:
        FirstSlide();
        break;
    case Qt::Key_End:
        LastSlide();
        break;
    case Qt::Key_F4:
        ToolButtonPenClick();
        break;
    // Pen strokes: the last one taken back, or all of them.
    case Qt::Key_Z:
        if (event->modifiers().testFlag(Qt::ControlModifier))
            PenPointer->UndoStroke();
        break;
    case Qt::Key_Backspace:
        PenPointer->UndoStroke();
        break;
    case Qt::Key_E:
        PenPointer->EraseStrokes();
        break;
    case Qt::Key_F5:
        Refresh1Click();
        break;
    case Qt::Key_F6:
        CaptureScreen1Click();
        break;
    case Qt::Key_Escape:
        CloseFullScreen1Click();
        break;
    case Qt::Key_Plus:
        // Only the keypad's plus and minus zoom; those of the main keyboard do nothing.
        if (keypad)
            ActionCoordContractBothExecute();
        break;
    case Qt::Key_Minus:
        if (keypad)
            ActionCoordExpandBothExecute();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ActionCoordViewCenterExecute();
        break;
    case Qt::Key_Space:
        CoordinateMovementPanel1Click();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// View commands

void TFormSlideShow::Refresh1Click() {
    RedrawView();
    PlaceAddLabels();
}

void TFormSlideShow::ActionCoordMoveLeftExecute() {
    MoveLeft(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordMoveRightExecute() {
    MoveRight(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordMoveUpExecute() {
    MoveUp(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordMoveDownExecute() {
    MoveDown(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordMoveLeftMoreExecute() {
    MoveLeftMore(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordMoveRightMoreExecute() {
    MoveRightMore(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordMoveUpMoreExecute() {
    MoveUpMore(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordMoveDownMoreExecute() {
    MoveDownMore(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordViewCenterExecute() {
    ViewCenter(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordExpandHorExecute() {
    ExpandHor(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordExpandVerExecute() {
    ExpandVer(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordContractHorExecute() {
    ContractHor(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordContractVerExecute() {
    ContractVer(View());
    Refresh1Click();
}

// Both axes change before the one redraw: a picture after only the first would never be seen.
void TFormSlideShow::ActionCoordExpandBothExecute() {
    ExpandRadialGrid(View());
    ExpandHor(View());
    ExpandVer(View());
    Refresh1Click();
}

void TFormSlideShow::ActionCoordContractBothExecute() {
    ContractRadialGrid(View());
    ContractHor(View());
    ContractVer(View());
    Refresh1Click();
}

// ---------------------------------------------------------------------------------------------
// Control panel

void TFormSlideShow::CoordinateMovementPanel1Click() {
    CoordinateMovementPanel1->setChecked(!CoordinateMovementPanel1->isChecked());
    ApplyControlPanelCheck();
}

void TFormSlideShow::PlaceControlPanel() {
    TControlPanel& panel = *GroupBoxMovement;
    panel.move(Coordinate1->x() + Coordinate1->width() - panel.width() - 20,
               Coordinate1->y() + Coordinate1->height() - panel.height() - 20);
}

void TFormSlideShow::ApplyControlPanelCheck() {
    TControlPanel& panel = *GroupBoxMovement;
    // Placed and coloured at every show, so it follows the view's size and background.
    PlaceControlPanel();
    panel.SetBackgroundColor(View().BackgroundColor);
    panel.raise();
    panel.setVisible(CoordinateMovementPanel1->isChecked());
}

void TFormSlideShow::SmoothLines1Click() {
    const bool smooth = SmoothLines1->isChecked();
    Coordinate1->Picture().Smooth = smooth;
    WriteSmoothLines(smooth);
    Refresh1Click();
}

void TFormSlideShow::LabelHideClick() {
    CoordinateMovementPanel1->setChecked(false);
    GroupBoxMovement->hide();
}

void TFormSlideShow::CheckBoxAccClick() {
    HideAndShowControlPanel();
    // The arrow keys must keep moving the view.
    setFocus();
}

void TFormSlideShow::HideAndShowControlPanel() {
    GroupBoxMovement->hide();
    GroupBoxMovement->show();
    // Nothing on the panel keeps the focus away from the window's keys.
    if (GroupBoxMovement->isAncestorOf(QApplication::focusWidget()))
        setFocus();
}

// ---------------------------------------------------------------------------------------------
// Files, help, closing

void TFormSlideShow::ActionFileOpenExecute() {
    std::optional<std::string> chosen;
    if (FFileChooser) {
        chosen = FFileChooser(this);
    } else {
        QFileDialog dialog(this);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilter(QStringLiteral("*.xml (*.xml)"));
        dialog.setDefaultSuffix(QStringLiteral("xml"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
    }
    CurrentPath = chosen.value_or(std::string());
    CoordinateMovementPanel1->setChecked(false);
    Timer1->start(NextLoadDelayMs);
    HideAndShowControlPanel();
}

void TFormSlideShow::Help1Click() {
#ifdef CURVANA_HAVE_HELP_WINDOW
    TCHMHelp().ShowHelp(this, QString::fromLatin1(HelpFileName), true, QString());
#endif
}

void TFormSlideShow::CloseFullScreen1Click() {
    close();
}

// ---------------------------------------------------------------------------------------------
// Capture

void TFormSlideShow::CaptureScreen1Click() {
    if (!CaptureJob)
        return;
    CapturePicture(*CaptureJob,
                   AudiencePicture(Coordinate1->Picture().Image(), *Coordinate1, AddLabels()));
}

void TFormSlideShow::SetBatchCaptureJob1Click() {
    if (CaptureJob) {
        TFormSetCaptureJob dialog(this);
        dialog.SetErrorReporter(FErrorReporter);
        dialog.ShowCaptureJob(*CaptureJob);
    }
    HideAndShowControlPanel();
}

void TFormSlideShow::CoordinateProperties1Click() {
    // The dialog is gone before the redraw, also when it failed.
    const bool applied = FCoordinateEditor ? FCoordinateEditor(this, View())
                                           : RunCoordinatePropertiesDialog(this, View());
    if (applied)
        Refresh1Click();
    HideAndShowControlPanel();
}

// ---------------------------------------------------------------------------------------------
// Pointer modes and the pen

void TFormSlideShow::Arrow1Click() {
    PenPointer->Arrow();
}

void TFormSlideShow::Hide1Click() {
    PenPointer->Hide();
}

void TFormSlideShow::Pen1Click() {
    PenPointer->Pen();
}

void TFormSlideShow::Laser1Click() {
    PenPointer->Laser();
}

void TFormSlideShow::ToolButtonPenClick() {
    PenPointer->Toggle();
}

void TFormSlideShow::PenProperties1Click() {
    if (PenStyle) {
        TFormPenProperties dialog(this);
        if (dialog.EditPen(*PenStyle))
            Pen1Click();
    }
    HideAndShowControlPanel();
}

void TFormSlideShow::Coordinate1MouseDown(Qt::MouseButton button, int x, int y) {
    (void)button;
    PenPointer->MouseDown(x, y);
}

void TFormSlideShow::Coordinate1MouseMove(Qt::MouseButtons buttons, int x, int y) {
    PenPointer->MouseMove(buttons, x, y);
}

} // namespace curvana
