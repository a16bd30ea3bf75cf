#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QTreeView;

namespace curvana {

class TCapScreen;
class TSpinArrows;

// Edits a capture job in place: every change is written into the job at once, there is no
// cancel. The prefix and the format are taken as they change, the two numbers on Enter, a spin
// arrow, leaving the field or closing the dialog, the folder whenever the folder tree's current
// folder changes. A prefix no file name can start with is refused as it is typed, with the
// reason shown under it. The preview names the file the next capture writes.
class TFormSetCaptureJob : public QDialog {
    Q_OBJECT
public:
    explicit TFormSetCaptureJob(QWidget* parent = nullptr);
    ~TFormSetCaptureJob() override;

    // Remembers the job and shows the dialog modally; returns when it closes.
    void ShowCaptureJob(TCapScreen& job);
    // The same without the modal loop: the job remembered and the dialog shown.
    void OpenCaptureJob(TCapScreen& job);

    // Shows the text of an error that ended an input. The default is a critical message box.
    using TErrorReporter = std::function<void(QWidget* owner, const QString& message)>;
    void SetErrorReporter(TErrorReporter reporter);

    void FormShow();
    void Timer1Timer();
    void EditFileNamePrefixChange();
    void RadioGroup1Click();
    void UpDown1Click();
    void UpDown2Click();
    void EditCurrentIndexKeyDown(QKeyEvent* event);
    void EditDigitalKeyDown(QKeyEvent* event);
    void DirectoryListBox1Change();
    void DriveComboBox1Change();
    void Button4Click();

    // The item of RadioGroup1 that is checked, -1 for none.
    int RadioGroup1ItemIndex() const;
    // The folder tree's current folder; empty when it has none.
    QString TreeFolder() const;

    QGroupBox* GroupBoxCurrentFile = nullptr;
    QGroupBox* GroupBoxParameters = nullptr;
    QGroupBox* GroupBoxOutputDirectory = nullptr;
    QLineEdit* EditFileName = nullptr;
    QLineEdit* EditFileNamePrefix = nullptr;
    // Why the last change of the prefix was refused; hidden while there is nothing to say.
    QLabel* LabelPrefixProblem = nullptr;
    QLineEdit* EditCurrentIndex = nullptr;
    TSpinArrows* UpDown1 = nullptr;
    QLineEdit* EditDigital = nullptr;
    TSpinArrows* UpDown2 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* RadioGroup1Items[2] = {nullptr, nullptr};
    QPlainTextEdit* MemoOutputDirectory = nullptr;
    QComboBox* DriveComboBox1 = nullptr;
    QTreeView* DirectoryListBox1 = nullptr;
    QFileSystemModel* FolderModel = nullptr;
    QPushButton* Button4 = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdatePreview();
    void ShowFolder(const QString& folder);
    // The tree's current folder expanded into view.
    void RevealTreeFolder();
    void SelectTreeFolder(const QString& folder);
    // Runs an input handler; an error ends it and is shown, the dialog stays open. False after
    // an error.
    template <typename TInput> bool Guarded(TInput&& input);
    // A number field's text that is not the job's value yet.
    bool TypedNumberPending(const QLineEdit* edit) const;
    // Takes such a text as Enter does; false when it was refused (and the error shown).
    bool TakeTypedNumber(QLineEdit* edit);

    TCapScreen* FJob = nullptr;
    bool FShown = false;
    // The model is removing rows: a current-folder change now is the tree's reaction to a
    // folder that vanished, not a choice.
    bool FRemovingRows = false;
    bool FCurrentMovedByRemoval = false;
    TErrorReporter FErrorReporter;
};

} // namespace curvana
