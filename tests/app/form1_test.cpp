#include "app/form1.h"

#include "app/installvalues.h"
#include "tests/app/slidetestfiles.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace curvana {
namespace {

using testing::TTempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

const std::string Document = "<CurvanaDocument><Memory/></CurvanaDocument>\n";
const std::string SlideShow = "<CurvanaSlides>\n"
                              "<CurvanaDocument><Coordinate><XInterval>1</XInterval></Coordinate>"
                              "</CurvanaDocument>\n"
                              "<Notes>skipped</Notes>\n"
                              "<CurvanaDocument><Memory/></CurvanaDocument>\n"
                              "</CurvanaSlides>\n";

// Records what the launcher hands out instead of opening windows and boxes.
struct TRecorder {
    std::vector<std::string> Documents;
    std::vector<std::vector<std::string>> SlideLists;
    std::vector<int> StartIndexes;
    std::vector<bool> SlidesPresentDuringShow;
    std::vector<QString> Warnings;
    std::vector<QString> Errors;
};

class LauncherTest : public ::testing::Test {
protected:
    TLauncherHooks Hooks() {
        TLauncherHooks hooks;
        hooks.ShowDocument = [this](const std::string& path) { Rec.Documents.push_back(path); };
        hooks.ShowSlides = [this](int start, const std::vector<std::string>& slides,
                                  const TSlideShowSource&) {
            Rec.StartIndexes.push_back(start);
            Rec.SlideLists.push_back(slides);
            bool present = !slides.empty();
            for (const std::string& slide : slides)
                present = present && fs::is_regular_file(slide) &&
                          slide.starts_with(TempRoot.Path.string());
            Rec.SlidesPresentDuringShow.push_back(present);
        };
        hooks.WarningBox = [this](const QString& text) { Rec.Warnings.push_back(text); };
        hooks.ErrorBox = [this](const QString& text) { Rec.Errors.push_back(text); };
        hooks.TempSlideRoot = TempRoot.Path.string();
        return hooks;
    }

    std::unique_ptr<TForm1> MakeForm(std::optional<std::string> commandLinePath = std::nullopt) {
        return std::make_unique<TForm1>(commandLinePath, Hooks());
    }

    std::string Write(const std::string& name, const std::string& content) {
        const std::string path = Files / name;
        WriteFile(path, content);
        return path;
    }

    bool TempRootEmpty() const { return fs::is_empty(TempRoot.Path); }

    TTempDir Files;
    TTempDir TempRoot;
    TRecorder Rec;
};

struct OpenCase {
    const char* what;
    std::string name;
    std::string content;
    int documents;
    int slideShows;
};

TEST_F(LauncherTest, OpenFileDispatchesByTheFirstLineAlone) {
    const OpenCase cases[] = {
        {"document", "a.xml", Document, 1, 0},
        {"slide show", "b.sld", SlideShow, 0, 1},
        {"document named .sld", "c.sld", Document, 1, 0},
        {"slide show named .xml", "d.xml", SlideShow, 0, 1},
        {"declaration before the root", "e.xml", "<?xml version=\"1.0\"?>\n" + Document, 0, 0},
        {"root in lower case", "f.sld", "<curvanaslides>\n</curvanaslides>\n", 0, 0},
        {"not XML at all", "g.txt", "hello\n", 0, 0},
    };
    for (const OpenCase& c : cases) {
        Rec = {};
        auto form = MakeForm();
        const std::string path = Write(c.name, c.content);
        form->OpenFile(QString::fromStdString(path));
        EXPECT_EQ(int(Rec.Documents.size()), c.documents) << c.what;
        EXPECT_EQ(int(Rec.SlideLists.size()), c.slideShows) << c.what;
        if (c.documents == 1) {
            EXPECT_EQ(Rec.Documents[0], path) << c.what;
        }
        EXPECT_TRUE(Rec.Warnings.empty()) << c.what;
    }
}

TEST_F(LauncherTest, MissingPathDoesNothingAndSaysNothing) {
    auto form = MakeForm();
    form->OpenFile(QString::fromStdString(Files / "nowhere.sld"));
    form->OpenFile(QString());
    form->OpenFile(QString::fromStdString(Files.Path.string())); // a folder is no file either
    EXPECT_TRUE(Rec.Documents.empty());
    EXPECT_TRUE(Rec.SlideLists.empty());
    EXPECT_TRUE(Rec.Warnings.empty());
}

TEST_F(LauncherTest, SlideShowRunsOnPrivateFilesThatAreGoneAfterTheShow) {
    auto form = MakeForm();
    form->OpenFile(QString::fromStdString(Write("show.sld", SlideShow)));
    ASSERT_EQ(Rec.SlideLists.size(), 1u);
    EXPECT_EQ(Rec.StartIndexes[0], 0);
    ASSERT_EQ(Rec.SlideLists[0].size(), 2u);
    EXPECT_EQ(fs::path(Rec.SlideLists[0][0]).filename(), "~TempSlide1.xml");
    EXPECT_EQ(fs::path(Rec.SlideLists[0][1]).filename(), "~TempSlide2.xml");
    EXPECT_TRUE(Rec.SlidesPresentDuringShow[0]);
    EXPECT_TRUE(TempRootEmpty());
    // Nothing lands beside the program.
    EXPECT_FALSE(fs::exists(fs::path(QCoreApplication::applicationDirPath().toStdString()) /
                            "~TempSlide1.xml"));
}

TEST_F(LauncherTest, FailuresShowTheOneWarningAndLeaveNoFiles) {
    auto form = MakeForm();
    // A slide show that is not well-formed XML after its first line.
    form->OpenFile(QString::fromStdString(
        Write("broken.sld", "<CurvanaSlides>\n<CurvanaDocument><Memory>\n</CurvanaSlides>\n")));
    ASSERT_EQ(Rec.Warnings.size(), 1u);
    EXPECT_EQ(Rec.Warnings[0], QStringLiteral("Open Slide Show File Error."));
    EXPECT_TRUE(Rec.SlideLists.empty());
    EXPECT_TRUE(TempRootEmpty());

    // A path that cannot be read as a file (a pipe would block the reader).
    const std::string pipe = Files / "pipe.sld";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    form->OpenFile(QString::fromStdString(pipe));
    EXPECT_EQ(Rec.Warnings.size(), 2u);
    EXPECT_TRUE(Rec.Documents.empty());

    // A show that throws still has its slide folder removed.
    TLauncherHooks hooks = Hooks();
    hooks.ShowSlides = [](int, const std::vector<std::string>&, const TSlideShowSource&) {
        throw std::runtime_error("window failed");
    };
    TForm1 throwing({}, hooks);
    throwing.OpenFile(QString::fromStdString(Write("ok.sld", SlideShow)));
    EXPECT_EQ(Rec.Warnings.size(), 3u);
    EXPECT_TRUE(TempRootEmpty());
}

void PressKey(QWidget* widget, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

TEST_F(LauncherTest, EnterInTheLocationBoxOpensItsText) {
    auto form = MakeForm();
    PressKey(form->Edit1, Qt::Key_Return);
    EXPECT_TRUE(Rec.Documents.empty()) << "empty box";
    EXPECT_TRUE(Rec.Warnings.empty());

    const std::string path = Write("doc.xml", Document);
    form->Edit1->setText(QString::fromStdString(path));
    PressKey(form->Edit1, Qt::Key_Return);
    PressKey(form->Edit1, Qt::Key_Enter); // the keypad's Enter too
    EXPECT_EQ(Rec.Documents, (std::vector<std::string>{path, path}));

    // Other keys stay with the edit.
    PressKey(form->Edit1, Qt::Key_X, QStringLiteral("x"));
    EXPECT_EQ(form->Edit1->text(), QString::fromStdString(path) + u'x');
    EXPECT_EQ(Rec.Documents.size(), 2u);
}

TEST_F(LauncherTest, RadioGroupSetsTheBrowseDialogsSuffixAndFilter) {
    auto form = MakeForm();
    QFileDialog* dialog = form->OpenDialog1;
    EXPECT_EQ(dialog->nameFilters(), (QStringList{QStringLiteral("Slide Show File(*.sld)"),
                                                  QStringLiteral("XML File(*.xml)")}));
    EXPECT_EQ(form->RadioGroup1ItemIndex(), 0);
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("sld"));
    EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("Slide Show File(*.sld)"));

    form->RadioGroup1Items->button(1)->click();
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("xml"));
    EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("XML File(*.xml)"));

    form->RadioGroup1Items->button(0)->click();
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("sld"));
    EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("Slide Show File(*.sld)"));
}

// Closes the Browse dialog once it runs: accepting the given file, or cancelling.
void AnswerBrowseDialog(TForm1& form, const QString& file) {
    auto* timer = new QTimer(&form);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, &form, [&form, file, timer] {
        QFileDialog* dialog = form.OpenDialog1;
        if (QApplication::activeModalWidget() != dialog)
            return;
        timer->deleteLater();
        timer->stop();
        if (file.isEmpty()) {
            dialog->reject();
        } else {
            // Typed into the dialog's name box, as a user would.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name == nullptr) {
                ADD_FAILURE() << "the Browse dialog has no name box";
                dialog->reject();
                return;
            }
            name->setText(file);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
        }
    });
    timer->start();
}

TEST_F(LauncherTest, BrowseOpensTheChosenFileAndCancelOpensTheBoxsText) {
    auto form = MakeForm();
    const std::string typed = Write("typed.xml", Document);
    form->Edit1->setText(QString::fromStdString(typed));
    AnswerBrowseDialog(*form, {});
    form->Button2Click();
    EXPECT_EQ(Rec.Documents, std::vector<std::string>{typed});
    EXPECT_EQ(form->Edit1->text(), QString::fromStdString(typed));

    const std::string chosen = Write("chosen.sld", SlideShow);
    AnswerBrowseDialog(*form, QString::fromStdString(chosen));
    form->Button2Click();
    EXPECT_EQ(form->Edit1->text(), QString::fromStdString(chosen));
    EXPECT_EQ(Rec.SlideLists.size(), 1u);
}

// Lets the launcher's queued start-up work run.
void RunEvents() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

TEST_F(LauncherTest, CommandLineFileOpensAtOnceAndTheLauncherCloses) {
    struct TCase {
        const char* What;
        std::string Path;
        std::size_t Shows;
    };
    const TCase cases[] = {
        {"slide show", Write("start.sld", SlideShow), 1},
        // Latin-1 bytes, not valid UTF-8: the name reaches the file system unchanged.
        {"name in another encoding", Write("caf\xE9 \xFF.sld", SlideShow), 1},
        {"missing file", Files / "nowhere.sld", 0},
        {"empty argument", "", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Rec = {};
        auto form = MakeForm(c.Path);
        form->show();
        RunEvents();
        EXPECT_EQ(Rec.SlideLists.size(), c.Shows);
        EXPECT_FALSE(form->isVisible()) << "the program ends";
        EXPECT_TRUE(Rec.Errors.empty() && Rec.Warnings.empty());
        EXPECT_TRUE(TempRootEmpty());
    }

    // Without a path the launcher waits.
    Rec = {};
    auto idle = MakeForm();
    idle->show();
    RunEvents();
    EXPECT_TRUE(idle->isVisible());
    EXPECT_TRUE(Rec.SlideLists.empty() && Rec.Documents.empty());
}

TEST_F(LauncherTest, AssociationFailureIsShownButTheCommandLineFileStillOpens) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    // A data folder that is a file: nothing can be created below it.
    const std::string blocked = Write("not-a-folder", "x");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(blocked));
    const std::string path = Write("start.xml", Document);
    auto form = MakeForm(path);
    form->show();
    RunEvents();
    qputenv("XDG_DATA_HOME", saved);

    ASSERT_EQ(Rec.Errors.size(), 1u);
    EXPECT_TRUE(Rec.Errors[0].contains(QString::fromStdString(blocked)))
        << Rec.Errors[0].toStdString();
    EXPECT_EQ(Rec.Documents, std::vector<std::string>{path});
    EXPECT_FALSE(form->isVisible());
}

TEST_F(LauncherTest, CreationRecordsWhereTheProgramLives) {
    auto form = MakeForm();
    const QString exeDir = QCoreApplication::applicationDirPath() + u'/';
    EXPECT_EQ(form->ExeDir, exeDir);
    // The store is the user's file of the organisation, under the configured folder.
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Orvane.conf");
    ASSERT_TRUE(QFileInfo::exists(file));
    QSettings stored(file, QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("CVShowPath")).toString(), exeDir);
    EXPECT_EQ(stored.value(QStringLiteral("CVShowVersion")).toString(), QStringLiteral("2.0"));
    EXPECT_TRUE(Rec.Errors.empty());
}

TEST_F(LauncherTest, SettingsThatCannotBeWrittenAreReportedAndTheLauncherGoesOn) {
    const std::string file =
        (qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Orvane.conf")).toStdString();
    std::filesystem::remove(file);
    std::filesystem::create_directories(file + "/taken"); // a folder where the file belongs
    auto form = MakeForm();
    std::filesystem::remove_all(file);
    ASSERT_EQ(Rec.Errors.size(), 1u);
    EXPECT_EQ(Rec.Errors[0], QStringLiteral("Failed to set data for 'CVShowPath'"));
    // The launcher still works.
    const std::string path = Write("doc.xml", Document);
    form->OpenFile(QString::fromStdString(path));
    EXPECT_EQ(Rec.Documents, std::vector<std::string>{path});
}

// The next widget that Tab reaches after widget.
QWidget* NextTabStop(QWidget* widget) {
    for (QWidget* next = widget->nextInFocusChain(); next != widget;
         next = next->nextInFocusChain())
        if ((next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            return next;
    return nullptr;
}

TEST_F(LauncherTest, VisitHomepageOpensTheSetAddressOrElseTheAboutPage) {
    struct Case {
        QString homepage;
        std::vector<QUrl> opened;
        std::vector<QString> helpPages;
    };
    const Case cases[] = {
        {QString(), {}, {QStringLiteral("about.htm")}},
        {QStringLiteral("https://curvana.test/start?x=1&y=2"),
         {QUrl(QStringLiteral("https://curvana.test/start?x=1&y=2"))},
         {}},
    };
    for (const Case& c : cases) {
        std::vector<QUrl> opened;
        std::vector<QString> helpPages;
        TLauncherHooks hooks = Hooks();
        hooks.OpenUrl = [&](const QUrl& url) { opened.push_back(url); };
        hooks.ShowHelp = [&](const QString& topic) { helpPages.push_back(topic); };
        TForm1 form({}, hooks);
        form.HomepageUrl = c.homepage;
        form.Label4Click();
        EXPECT_EQ(opened, c.opened) << c.homepage.toStdString();
        EXPECT_EQ(helpPages, c.helpPages) << c.homepage.toStdString();
    }
}

TEST_F(LauncherTest, LayoutFollowsTheWindowsTable) {
    auto form = MakeForm();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Curvana Kit"));
    EXPECT_EQ(form->size(), QSize(468, 210));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    // The banner decodes through the JPEG plugin.
    ASSERT_FALSE(form->Image1->pixmap().isNull());
    EXPECT_EQ(form->Image1->pixmap().size(), QSize(449, 33));
    EXPECT_EQ(form->Image1->geometry(), QRect(8, 8, 449, 33));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("Curvana Slide Show 2.0"));
    EXPECT_EQ(form->Edit1->geometry(), QRect(56, 20, 305, 21));
    EXPECT_EQ(form->Button2->geometry(), QRect(366, 18, 75, 25));
    // Tab order: Browse, the location, then the radio group.
    EXPECT_EQ(NextTabStop(form->Button2), form->Edit1);
    EXPECT_EQ(NextTabStop(form->Edit1), form->RadioGroup1Items->button(0));
    // The captions fit their places: nothing overlaps its right-hand neighbour.
    EXPECT_LE(form->Label3->geometry().right(), form->Label4->x());
    EXPECT_LE(form->Label1->geometry().right(), form->Edit1->x());
    EXPECT_LE(form->Label4->geometry().right(), form->width());
}

} // namespace
} // namespace curvana

namespace curvana {
namespace {

// The real program: started with a file that is missing or neither kind, it shows nothing but
// the launcher's brief showing and ends by itself.
TEST(Program, FileThatOpensNoShowEndsTheProgram) {
    TTempDir dir;
    const std::string neither = dir / "notes.sld";
    WriteFile(neither, "just text\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir / "config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(dir / "data"));
    for (const std::string& file : {dir / "missing.sld", neither}) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CURVANA_BINARY), {QString::fromStdString(file)});
        ASSERT_TRUE(program.waitForFinished(60000)) << file;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << file;
        EXPECT_EQ(program.exitCode(), 0) << file;
    }
    // It still recorded itself and its association on the way.
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "config/Orvane.conf"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "data/applications/curvana.desktop"));
}

} // namespace
} // namespace curvana

namespace curvana {
namespace {

// An unknown --screen ends the program with the list of screens to choose from, each with the
// resolution of its monitor (here a laptop panel at 200 %, whose logical size is 960x540).
TEST(Program, UnknownScreenListsTheScreensByTheirResolution) {
    TTempDir dir;
    const std::string config = dir / "screens.json";
    WriteFile(config, R"({"screens": [
        {"name": "LAPTOP", "x": 0, "y": 0, "width": 960, "height": 540, "dpr": 2},
        {"name": "PROJECTOR", "x": 960, "y": 0, "width": 1280, "height": 720, "dpr": 1}]})");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       QStringLiteral("offscreen:configfile=") + QString::fromStdString(config));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir / "config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(dir / "data"));
    for (const char* choice : {"3", "0", "HDMI-9"}) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CURVANA_BINARY),
                      {QStringLiteral("--screen"), QString::fromUtf8(choice),
                       QString::fromStdString(dir / "missing.sld")});
        ASSERT_TRUE(program.waitForFinished(60000)) << choice;
        EXPECT_EQ(program.exitCode(), 2) << choice;
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_TRUE(errors.contains(QStringLiteral("no screen '%1'; the screens are:\n"
                                                   "  1: LAPTOP (1920x1080)\n"
                                                   "  2: PROJECTOR (1280x720)\n")
                                        .arg(QString::fromUtf8(choice))))
            << errors.toStdString();
    }
}

} // namespace
} // namespace curvana
