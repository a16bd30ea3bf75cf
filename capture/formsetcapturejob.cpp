#include "capture/formsetcapturejob.h"

#include "capture/capscreen.h"
#include "capture/capturefile.h"
#include "capture/spinarrows.h"
#include "common/numtext.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <QValidator>

#include <exception>

namespace curvana {

namespace {

void DefaultErrorReporter(QWidget* owner, const QString& message) {
    QMessageBox::critical(owner, QGuiApplication::applicationDisplayName(), message);
}

// Read-only fields in the colour of a button face, as the dialog's other read-only texts.
void MakeReadOnlyFace(QWidget* field) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
}

bool IsEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Refuses every change that would leave a prefix no file name can start with, and says why.
class TPrefixValidator : public QValidator {
public:
    using TRefused = std::function<void(const QString& reason)>;
    TPrefixValidator(TRefused refused, QObject* parent)
        : QValidator(parent), FRefused(std::move(refused)) {}

    State validate(QString& input, int&) const override {
        const std::string problem = PrefixProblem(input.toStdString());
        if (problem.empty())
            return Acceptable;
        FRefused(QString::fromStdString(problem));
        return Invalid;
    }

private:
    TRefused FRefused;
};

} // namespace

TFormSetCaptureJob::TFormSetCaptureJob(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      FErrorReporter(DefaultErrorReporter) {
    setWindowTitle(QStringLiteral("Set Batch Capture Job"));
    setFixedSize(554, 319);

    GroupBoxCurrentFile = new QGroupBox(QStringLiteral("Current Output File"), this);
    EditFileName = new QLineEdit(GroupBoxCurrentFile);
    EditFileName->setReadOnly(true);
    MakeReadOnlyFace(EditFileName);
    (new QVBoxLayout(GroupBoxCurrentFile))->addWidget(EditFileName);

    GroupBoxParameters = new QGroupBox(QStringLiteral("Parameters"), this);
    auto* parameters = new QGridLayout(GroupBoxParameters);
    EditFileNamePrefix = new QLineEdit(GroupBoxParameters);
    EditCurrentIndex = new QLineEdit(GroupBoxParameters);
    EditDigital = new QLineEdit(GroupBoxParameters);
    UpDown1 = new TSpinArrows(GroupBoxParameters);
    UpDown1->Associate = EditCurrentIndex;
    UpDown1->Min = 0;
    UpDown1->Max = 9999;
    UpDown2 = new TSpinArrows(GroupBoxParameters);
    UpDown2->Associate = EditDigital;
    UpDown2->Min = 1;
    UpDown2->Max = 100;
    parameters->addWidget(new QLabel(QStringLiteral("Filename Prefix:"), GroupBoxParameters), 0, 0);
    parameters->addWidget(EditFileNamePrefix, 0, 1, 1, 2);
    LabelPrefixProblem = new QLabel(GroupBoxParameters);
    LabelPrefixProblem->setWordWrap(true);
    QPalette warning = LabelPrefixProblem->palette();
    warning.setColor(QPalette::WindowText, Qt::red);
    LabelPrefixProblem->setPalette(warning);
    LabelPrefixProblem->hide();
    parameters->addWidget(LabelPrefixProblem, 1, 0, 1, 3);
    EditFileNamePrefix->setValidator(new TPrefixValidator(
        [this](const QString& reason) {
            LabelPrefixProblem->setText(reason);
            LabelPrefixProblem->show();
        },
        EditFileNamePrefix));
    parameters->addWidget(new QLabel(QStringLiteral("Start Number"), GroupBoxParameters), 2, 0);
    parameters->addWidget(EditCurrentIndex, 2, 1);
    parameters->addWidget(UpDown1, 2, 2);
    parameters->addWidget(new QLabel(QStringLiteral("Digital"), GroupBoxParameters), 3, 0);
    parameters->addWidget(EditDigital, 3, 1);
    parameters->addWidget(UpDown2, 3, 2);
    RadioGroup1 = new QGroupBox(QStringLiteral("Picture Format"), GroupBoxParameters);
    auto* formats = new QHBoxLayout(RadioGroup1);
    RadioGroup1Items[0] = new QRadioButton(QStringLiteral("BMP"), RadioGroup1);
    RadioGroup1Items[1] = new QRadioButton(QStringLiteral("EMF"), RadioGroup1);
    for (QRadioButton* item : RadioGroup1Items) {
        formats->addWidget(item);
        connect(item, &QRadioButton::clicked, this,
                [this] { Guarded([this] { RadioGroup1Click(); }); });
    }
    parameters->addWidget(RadioGroup1, 4, 0, 1, 3);

    GroupBoxOutputDirectory = new QGroupBox(QStringLiteral("Output Directory"), this);
    auto* output = new QVBoxLayout(GroupBoxOutputDirectory);
    MemoOutputDirectory = new QPlainTextEdit(GroupBoxOutputDirectory);
    MemoOutputDirectory->setReadOnly(true);
    MemoOutputDirectory->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoOutputDirectory->setFixedHeight(44);
    MakeReadOnlyFace(MemoOutputDirectory);
    DriveComboBox1 = new QComboBox(GroupBoxOutputDirectory);
    QStringList roots{QDir::rootPath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    DriveComboBox1->addItems(roots);
    DirectoryListBox1 = new QTreeView(GroupBoxOutputDirectory);
    FolderModel = new QFileSystemModel(this);
    FolderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    FolderModel->setRootPath(QDir::rootPath());
    // Connected before the tree's selection model exists, so that the flag is set before the
    // selection model moves the current folder away from rows being removed.
    connect(FolderModel, &QFileSystemModel::rowsAboutToBeRemoved, this,
            [this] { FRemovingRows = true; });
    connect(FolderModel, &QFileSystemModel::rowsRemoved, this, [this] {
        FRemovingRows = false;
        if (FCurrentMovedByRemoval) {
            FCurrentMovedByRemoval = false;
            // Nothing highlighted rather than a folder that is not the target; choosing the
            // neighbour the tree moved to then counts as a change.
            QTimer::singleShot(0, this, [this] { DirectoryListBox1->selectionModel()->clear(); });
        }
    });
    DirectoryListBox1->setModel(FolderModel);
    // Folders are listed in the background; the current one is kept in view while the folders
    // on its way are listed, not when the presenter opens others.
    connect(FolderModel, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        const QString current = TreeFolder();
        if (!current.isEmpty() &&
            (current == loaded || current.startsWith(loaded.endsWith('/') ? loaded : loaded + '/')))
            RevealTreeFolder();
    });
    DirectoryListBox1->setHeaderHidden(true);
    for (int column = 1; column < FolderModel->columnCount(); ++column)
        DirectoryListBox1->hideColumn(column);
    connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { Guarded([this] { DirectoryListBox1Change(); }); });
    connect(DriveComboBox1, &QComboBox::activated, this,
            [this] { Guarded([this] { DriveComboBox1Change(); }); });
    output->addWidget(MemoOutputDirectory);
    output->addWidget(DriveComboBox1);
    output->addWidget(DirectoryListBox1, 1);

    Button4 = new QPushButton(QStringLiteral("Close"), this);
    // Enter belongs to the number edits; it must not close the dialog.
    Button4->setAutoDefault(false);
    Button4->setDefault(false);
    // A click does not take the focus from a number field: the close takes what it holds, and
    // one click reports a bad number once.
    Button4->setFocusPolicy(Qt::TabFocus);
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });

    auto* left = new QVBoxLayout;
    left->addWidget(GroupBoxCurrentFile);
    left->addWidget(GroupBoxParameters, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button4);
    auto* right = new QVBoxLayout;
    right->addWidget(GroupBoxOutputDirectory, 1);
    right->addLayout(buttons);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addLayout(right, 1);

    connect(EditFileNamePrefix, &QLineEdit::textChanged, this,
            [this] { Guarded([this] { EditFileNamePrefixChange(); }); });
    connect(UpDown1, &TSpinArrows::Click, this, [this] { Guarded([this] { UpDown1Click(); }); });
    connect(UpDown2, &TSpinArrows::Click, this, [this] { Guarded([this] { UpDown2Click(); }); });
    EditCurrentIndex->installEventFilter(this);
    // The tree gets its final size only once the window is on screen; the current folder is
    // brought into view again then.
    DirectoryListBox1->viewport()->installEventFilter(this);
    EditDigital->installEventFilter(this);

    // Rewrites the number edits once, shortly after the dialog opened.
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
    Timer1->start();
}

TFormSetCaptureJob::~TFormSetCaptureJob() = default;

void TFormSetCaptureJob::SetErrorReporter(TErrorReporter reporter) {
    FErrorReporter = reporter ? std::move(reporter) : TErrorReporter(DefaultErrorReporter);
}

template <typename TInput> bool TFormSetCaptureJob::Guarded(TInput&& input) {
    try {
        input();
        return true;
    } catch (const std::exception& e) {
        // The box takes the mouse release: an arrow held now would go on stepping behind it.
        UpDown1->ReleaseArrows();
        UpDown2->ReleaseArrows();
        FErrorReporter(this, QString::fromUtf8(e.what()));
        return false;
    }
}

void TFormSetCaptureJob::ShowCaptureJob(TCapScreen& job) {
    FJob = &job;
    exec();
}

void TFormSetCaptureJob::OpenCaptureJob(TCapScreen& job) {
    FJob = &job;
    show();
}

void TFormSetCaptureJob::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!FShown) {
        FShown = true;
        Guarded([this] { FormShow(); });
    }
}

void TFormSetCaptureJob::FormShow() {
    // Centred on the desktop, not on the window that opened it.
    if (QScreen* desktop = screen())
        move(desktop->geometry().center() - rect().center());
    if (FJob == nullptr)
        return;
    EditFileNamePrefix->setText(QString::fromStdString(FJob->FileNamePrefix));
    EditCurrentIndex->setText(QString::number(FJob->CurrentIndex));
    EditDigital->setText(QString::number(FJob->Digital));
    for (int item = 0; item < 2; ++item)
        RadioGroup1Items[item]->setChecked(item == FJob->PictureFormat);
    UpdatePreview();
    // The job's folder is shown even when the tree cannot select it (a folder that is gone).
    MemoOutputDirectory->setPlainText(QString::fromStdString(FJob->OutputDirectory));
    SelectTreeFolder(QString::fromStdString(FJob->OutputDirectory));
}

void TFormSetCaptureJob::Timer1Timer() {
    Timer1->stop();
    if (FJob == nullptr)
        return;
    EditCurrentIndex->setText(QString::number(FJob->CurrentIndex));
    EditDigital->setText(QString::number(FJob->Digital));
}

void TFormSetCaptureJob::UpdatePreview() {
    if (FJob == nullptr)
        return;
    QString format;
    if (FJob->PictureFormat >= 0 && FJob->PictureFormat < 2)
        format = RadioGroup1Items[FJob->PictureFormat]->text().toLower();
    // The name the next capture writes: existing files of the series are skipped.
    TCapScreen next = *FJob;
    try {
        next.CurrentIndex = FreeCaptureIndex(*FJob);
    } catch (const std::exception&) {
        // The capture itself will say that the series is full.
    }
    EditFileName->setText(QString::fromStdString(next.CurrentFileName()) + QLatin1Char('.') +
                          format);
}

void TFormSetCaptureJob::EditFileNamePrefixChange() {
    LabelPrefixProblem->hide();
    if (FJob == nullptr)
        return;
    FJob->FileNamePrefix = EditFileNamePrefix->text().toStdString();
    UpdatePreview();
}

int TFormSetCaptureJob::RadioGroup1ItemIndex() const {
    for (int item = 0; item < 2; ++item)
        if (RadioGroup1Items[item]->isChecked())
            return item;
    return -1;
}

void TFormSetCaptureJob::RadioGroup1Click() {
    if (FJob == nullptr)
        return;
    FJob->PictureFormat = RadioGroup1ItemIndex();
    UpdatePreview();
}

void TFormSetCaptureJob::UpDown1Click() {
    if (FJob == nullptr)
        return;
    // Converted before anything is stored: text that is not a number keeps the old value.
    FJob->CurrentIndex = StrToInt(EditCurrentIndex->text().toStdString());
    UpdatePreview();
}

void TFormSetCaptureJob::UpDown2Click() {
    if (FJob == nullptr)
        return;
    FJob->Digital = StrToInt(EditDigital->text().toStdString());
    UpdatePreview();
}

void TFormSetCaptureJob::EditCurrentIndexKeyDown(QKeyEvent* event) {
    if (IsEnterKey(event))
        UpDown1Click();
}

void TFormSetCaptureJob::EditDigitalKeyDown(QKeyEvent* event) {
    if (IsEnterKey(event))
        UpDown2Click();
}

bool TFormSetCaptureJob::TypedNumberPending(const QLineEdit* edit) const {
    if (FJob == nullptr)
        return false;
    const std::int32_t value = edit == EditCurrentIndex ? FJob->CurrentIndex : FJob->Digital;
    return edit->text() != QString::number(value);
}

bool TFormSetCaptureJob::TakeTypedNumber(QLineEdit* edit) {
    if (!TypedNumberPending(edit))
        return true;
    if (edit == EditCurrentIndex)
        return Guarded([this] { UpDown1Click(); });
    return Guarded([this] { UpDown2Click(); });
}

void TFormSetCaptureJob::done(int result) {
    // Closing takes what was typed as Enter would; a number that is not one keeps it open.
    for (QLineEdit* edit : {EditCurrentIndex, EditDigital})
        if (!TakeTypedNumber(edit))
            return;
    QDialog::done(result);
}

bool TFormSetCaptureJob::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == DirectoryListBox1->viewport())
        RevealTreeFolder();
    if (event->type() == QEvent::FocusOut &&
        (watched == EditCurrentIndex || watched == EditDigital)) {
        // Not when a box, a menu or another program takes the focus: the field keeps it then.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            TakeTypedNumber(static_cast<QLineEdit*>(watched));
    }
    if (event->type() == QEvent::KeyPress &&
        (watched == EditCurrentIndex || watched == EditDigital)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == EditCurrentIndex)
            Guarded([this, key] { EditCurrentIndexKeyDown(key); });
        else
            Guarded([this, key] { EditDigitalKeyDown(key); });
        // Enter is spent here; every other key edits the text as usual.
        return IsEnterKey(key);
    }
    return QDialog::eventFilter(watched, event);
}

QString TFormSetCaptureJob::TreeFolder() const {
    const QModelIndex current = DirectoryListBox1->currentIndex();
    return current.isValid() ? FolderModel->filePath(current) : QString();
}

void TFormSetCaptureJob::SelectTreeFolder(const QString& folder) {
    if (folder.isEmpty())
        return;
    const QModelIndex index = FolderModel->index(QDir::cleanPath(folder));
    if (!index.isValid() || index == DirectoryListBox1->currentIndex())
        return;
    DirectoryListBox1->setCurrentIndex(index);
}

void TFormSetCaptureJob::RevealTreeFolder() {
    const QModelIndex current = DirectoryListBox1->currentIndex();
    if (!current.isValid())
        return;
    for (QModelIndex parent = current.parent(); parent.isValid(); parent = parent.parent())
        DirectoryListBox1->expand(parent);
    // After the tree has laid out the rows just expanded.
    QTimer::singleShot(0, this, [this] {
        if (DirectoryListBox1->currentIndex().isValid())
            DirectoryListBox1->scrollTo(DirectoryListBox1->currentIndex(),
                                        QAbstractItemView::PositionAtCenter);
    });
}

void TFormSetCaptureJob::ShowFolder(const QString& folder) {
    MemoOutputDirectory->setPlainText(folder);
    RevealTreeFolder();
    // The drive list follows the volume that holds the folder.
    const int drive = DriveComboBox1->findText(QStorageInfo(folder).rootPath());
    if (drive >= 0)
        DriveComboBox1->setCurrentIndex(drive);
}

void TFormSetCaptureJob::DirectoryListBox1Change() {
    if (FRemovingRows)
        FCurrentMovedByRemoval = true;
    if (FJob == nullptr || FRemovingRows)
        return;
    const QString folder = TreeFolder();
    if (folder.isEmpty())
        return;
    FJob->OutputDirectory = folder.toStdString();
    ShowFolder(folder);
    UpdatePreview();
}

void TFormSetCaptureJob::DriveComboBox1Change() {
    SelectTreeFolder(DriveComboBox1->currentText());
}

void TFormSetCaptureJob::Button4Click() {
    close();
}

} // namespace curvana
