#include "app/form1.h"

#include "app/fileassociation.h"
#include "app/installvalues.h"
#include "app/slideshowfile.h"
#include "show/chmhelp.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <exception>
#include <utility>

namespace curvana {

namespace {

const QStringList OpenDialogFilters = {QStringLiteral("Slide Show File(*.sld)"),
                                       QStringLiteral("XML File(*.xml)")};

QFont LinkFont(QFont font) {
    font.setBold(true);
    font.setUnderline(true);
    return font;
}

} // namespace

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick)
        OnClick();
}

TForm1::TForm1(std::optional<std::string> commandLinePath, TLauncherHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      HomepageUrl(QString::fromUtf8(CURVANA_HOMEPAGE_URL)),
      FCommandLinePath(std::move(commandLinePath)), FHooks(std::move(hooks)) {
    BuildControls();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::BuildControls() {
    setWindowTitle(QStringLiteral("Curvana Kit"));
    // The captions are laid out for a narrow sans face; where it is missing, a face with
    // Arial's widths keeps them in their places (a wide fallback would run into the edits).
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Nimbus Sans L")});
    font.setPointSize(8);
    setFont(font);
    setFixedSize(468, 210);

    Image1 = new QLabel(this);
    Image1->setGeometry(8, 8, 449, 33);
    Image1->setScaledContents(true);
    QImageReader banner(QStringLiteral(":/curvana/banner.jpg"), "jpeg");
    Image1->setPixmap(QPixmap::fromImage(banner.read()));

    Label2 = new QLabel(QStringLiteral("Curvana Slide Show 2.0"), this);
    QFont bold = font;
    bold.setBold(true);
    Label2->setFont(bold);
    Label2->setAttribute(Qt::WA_TranslucentBackground);
    Label2->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Label2->move(64, 24);
    Label2->adjustSize();

    const auto makeLink = [&](const QString& caption, int left) {
        auto* label = new TLinkLabel(caption, this);
        label->setFont(LinkFont(font));
        label->setStyleSheet(QStringLiteral("color: navy;"));
        label->setCursor(Qt::PointingHandCursor);
        label->move(left, 48);
        label->adjustSize();
        return label;
    };
    Label3 = makeLink(QStringLiteral("Help"), 328);
    Label3->OnClick = [this] { Label3Click(); };
    Label4 = makeLink(QStringLiteral("Visit Homepage"), 368);
    Label4->OnClick = [this] { Label4Click(); };

    RadioGroup1 = new QGroupBox(QStringLiteral("Select File Type"), this);
    RadioGroup1->setGeometry(8, 64, 449, 73);
    RadioGroup1Items = new QButtonGroup(this);
    const QStringList items = {QStringLiteral("Curvana Slide Show File (*.sld)"),
                               QStringLiteral("Curvana Document (*.xml)")};
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], RadioGroup1);
        // Items share the box's height evenly below its caption.
        item->setGeometry(10, 18 + i * 24, 429, 22);
        RadioGroup1Items->addButton(item, i);
    }
    RadioGroup1Items->button(0)->setChecked(true);
    connect(RadioGroup1Items, &QButtonGroup::idClicked, this, [this] { RadioGroup1Click(); });

    GroupBox1 = new QGroupBox(QStringLiteral("Open"), this);
    GroupBox1->setGeometry(8, 144, 449, 57);
    Label1 = new QLabel(QStringLiteral("Location:"), GroupBox1);
    Label1->move(8, 24);
    Label1->adjustSize();
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setGeometry(56, 20, 305, 21);
    Edit1->installEventFilter(this);
    Button2 = new QPushButton(QStringLiteral("Browse..."), GroupBox1);
    Button2->setGeometry(366, 18, 75, 25);
    Button2->setAutoDefault(false);
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setNameFilters(OpenDialogFilters);
    OpenDialog1->setDefaultSuffix(QStringLiteral("sld"));
    OpenDialog1->selectNameFilter(OpenDialogFilters[0]);

    // The group box first (Browse, then the location), then the radio group.
    setTabOrder(Button2, Edit1);
    setTabOrder(Edit1, RadioGroup1Items->button(0));
    setTabOrder(RadioGroup1Items->button(0), RadioGroup1Items->button(1));
    Button2->setFocus();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TForm1::ReportError(const QString& text) {
    if (FHooks.ErrorBox)
        FHooks.ErrorBox(text);
    else
        QMessageBox::critical(this, windowTitle(), text);
}

void TForm1::FormCreate() {
    ExeDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    try {
        WriteInstallValues(ExeDir);
    } catch (const std::exception& error) {
        ReportError(QString::fromStdString(error.what()));
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        // After the window is on screen: a command-line file runs its show from here.
        QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TForm1::FormShow() {
    try {
        RegisterFileAssociation(QCoreApplication::applicationFilePath());
    } catch (const std::exception& error) {
        // Reported, but a file the user asked for still opens.
        ReportError(QString::fromStdString(error.what()));
    }
    if (!FCommandLinePath)
        return;
    const std::string path = std::exchange(FCommandLinePath, std::nullopt).value();
    OpenFile(path);
    close();
}

void TForm1::OpenFile(const QString& path) {
    OpenFile(QFile::encodeName(path).toStdString());
}

void TForm1::OpenFile(const std::string& file) {
    const TFileKindResult kind = ReadFileKind(file);
    if (kind.Problem == TFileProblem::Missing)
        return;
    bool failed = kind.Problem != TFileProblem::None;
    if (!failed) {
        try {
            if (kind.Kind == TFileKind::Document) {
                if (FHooks.ShowDocument)
                    FHooks.ShowDocument(file);
            } else if (kind.Kind == TFileKind::SlideShow) {
                // The split's folder lives until the show returns and is removed with it.
                const TSlideShowSplit split =
                    FHooks.TempSlideRoot.empty()
                        ? SplitSlideShowToTempFolder(file)
                        : SplitSlideShowToTempFolder(file, FHooks.TempSlideRoot);
                // A save of the show is split again into the same folder.
                const TSlideShowSource source{file, [file, folder = split.Folder.Path()] {
                                                  return SplitSlideShow(file, folder);
                                              }};
                if (FHooks.ShowSlides)
                    FHooks.ShowSlides(0, split.Slides, source);
            }
        } catch (const std::exception&) {
            failed = true;
        }
    }
    if (!failed)
        return;
    if (FHooks.WarningBox)
        FHooks.WarningBox(QString::fromLatin1(OpenFileErrorText));
    else
        QMessageBox::warning(this, windowTitle(), QString::fromLatin1(OpenFileErrorText),
                             QMessageBox::Ok);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress)
        return Edit1KeyDown(static_cast<QKeyEvent*>(event)->key());
    return QWidget::eventFilter(watched, event);
}

bool TForm1::Edit1KeyDown(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    OpenFile(Edit1->text());
    return true;
}

void TForm1::Button2Click() {
    if (OpenDialog1->exec() == QDialog::Accepted && !OpenDialog1->selectedFiles().isEmpty())
        Edit1->setText(OpenDialog1->selectedFiles().constFirst());
    OpenFile(Edit1->text());
}

int TForm1::RadioGroup1ItemIndex() const {
    return RadioGroup1Items->checkedId();
}

void TForm1::RadioGroup1Click() {
    const bool slideShows = RadioGroup1ItemIndex() == 0;
    OpenDialog1->setDefaultSuffix(slideShows ? QStringLiteral("sld") : QStringLiteral("xml"));
    OpenDialog1->selectNameFilter(OpenDialogFilters[slideShows ? 0 : 1]);
}

void TForm1::ShowHelpPage(const QString& topic) {
    if (FHooks.ShowHelp) {
        FHooks.ShowHelp(topic);
        return;
    }
    TCHMHelp help;
    help.ShowHelp(this, QString::fromLatin1(HelpFileName), true, topic);
}

void TForm1::Label3Click() {
    ShowHelpPage(QStringLiteral("about.htm"));
}

void TForm1::Label4Click() {
    if (HomepageUrl.isEmpty()) {
        ShowHelpPage(QStringLiteral("about.htm"));
        return;
    }
    const QUrl url(HomepageUrl);
    if (FHooks.OpenUrl)
        FHooks.OpenUrl(url);
    else
        QDesktopServices::openUrl(url);
}

} // namespace curvana
