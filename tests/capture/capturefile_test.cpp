#include "capture/capturefile.h"

#include "capture/capscreen.h"
#include "common/errors.h"
#include "testpicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>

namespace curvana {
namespace {

class CaptureFileTest : public ::testing::Test {
protected:
    CaptureFileTest() { Job.OutputDirectory = Folder.path().toStdString(); }

    QString InFolder(const char* name) const { return Folder.filePath(QString::fromUtf8(name)); }

    QTemporaryDir Folder;
    TCapScreen Job;
    QImage Picture = TestPicture();
};

TEST_F(CaptureFileTest, ThreeCapturesWriteThreeNumberedFilesReadBackExactly) {
    for (int shot = 0; shot < 3; ++shot)
        CapturePicture(Job, Picture);
    EXPECT_EQ(Job.CurrentIndex, 4);
    EXPECT_EQ(FolderEntries(Folder.path()),
              (QStringList{"Outputpic01.bmp", "Outputpic02.bmp", "Outputpic03.bmp"}));
    QImage back(InFolder("Outputpic02.bmp"), "BMP");
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), Picture);
    // A capture is an ordinary new file: the permissions any program's new file gets here.
    QFile plain(InFolder("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    EXPECT_EQ(QFileInfo(InFolder("Outputpic02.bmp")).permissions(), plain.permissions());
    plain.remove();
}

TEST_F(CaptureFileTest, FormatChangeKeepsTheNumberingAndTheDoubledSeparatorIsHarmless) {
    Job.OutputDirectory += "/";
    EXPECT_EQ(CapturePicture(Job, Picture), Job.OutputDirectory + "/Outputpic01.bmp");
    Job.PictureFormat = 1;
    CapturePicture(Job, Picture);
    EXPECT_EQ(FolderEntries(Folder.path()), (QStringList{"Outputpic01.bmp", "Outputpic02.emf"}));
}

struct TNumberingCase {
    const char* Name;
    QStringList Existing; // files holding "old"; a name ending in "/" is a folder, in "@" a link
    std::int32_t Format;
    std::int32_t Index;
    const char* Written;
    std::int32_t NextIndex;
};

TEST_F(CaptureFileTest, CaptureTakesTheFirstFreeNumberAndNeverOverwrites) {
    const TNumberingCase cases[] = {
        {"01 and 02 exist", {"Outputpic01.bmp", "Outputpic02.bmp"}, 0, 1, "Outputpic03.bmp", 4},
        {"a gap is filled", {"Outputpic01.bmp", "Outputpic03.bmp"}, 0, 1, "Outputpic02.bmp", 3},
        {"EMF counts on its own",
         {"Outputpic01.bmp", "Outputpic02.bmp"},
         1,
         1,
         "Outputpic01.emf",
         2},
        {"BMP counts on its own", {"Outputpic01.emf"}, 0, 1, "Outputpic01.bmp", 2},
        {"only at or after the number",
         {"Outputpic01.bmp", "Outputpic02.bmp"},
         0,
         5,
         "Outputpic05.bmp",
         6},
        {"another prefix is no obstacle", {"Other01.bmp"}, 0, 1, "Outputpic01.bmp", 2},
        {"a folder holds the name", {"Outputpic01.bmp/"}, 0, 1, "Outputpic02.bmp", 3},
        {"a link to nowhere holds the name", {"Outputpic01.bmp@"}, 0, 1, "Outputpic02.bmp", 3},
    };
    for (const TNumberingCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir folder;
        for (QString name : c.Existing) {
            if (name.endsWith('/')) {
                ASSERT_TRUE(QDir(folder.path()).mkdir(name.chopped(1)));
            } else if (name.endsWith('@')) {
                ASSERT_TRUE(
                    QFile::link(folder.filePath("nowhere"), folder.filePath(name.chopped(1))));
            } else {
                QFile old(folder.filePath(name));
                ASSERT_TRUE(old.open(QIODevice::WriteOnly));
                old.write("old");
            }
        }
        TCapScreen job;
        job.OutputDirectory = folder.path().toStdString();
        job.PictureFormat = c.Format;
        job.CurrentIndex = c.Index;
        EXPECT_EQ(FreeCaptureIndex(job), c.NextIndex - 1);
        EXPECT_EQ(CapturePicture(job, Picture), folder.filePath(c.Written).toStdString());
        EXPECT_EQ(job.CurrentIndex, c.NextIndex);
        for (const QString& name : c.Existing) {
            QFile old(folder.filePath(name));
            if (!name.endsWith('/') && !name.endsWith('@') && old.open(QIODevice::ReadOnly)) {
                EXPECT_EQ(old.readAll(), "old") << name.toStdString();
            }
        }
        EXPECT_EQ(FolderEntries(folder.path()).size(), c.Existing.size() + 1);
    }
}

TEST_F(CaptureFileTest, SeriesWithNoFreeNameIsAClearError) {
    Job.Digital = 0;
    Job.CurrentIndex = 1;
    for (int index = 1; index <= MaxCaptureProbes; ++index) {
        QFile taken(Folder.filePath(QString("Outputpic%1.bmp").arg(index)));
        ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    }
    try {
        CapturePicture(Job, Picture);
        ADD_FAILURE() << "no error";
    } catch (const ECurvanaError& e) {
        EXPECT_NE(std::string(e.what()).find("No free file name"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Job.CurrentIndex, 1);
    Job.CurrentIndex = MaxCaptureProbes;
    EXPECT_EQ(FreeCaptureIndex(Job), MaxCaptureProbes + 1);
}

struct TFailureCase {
    const char* Name;
    std::string Folder; // relative to the test folder
    std::string Prefix;
    std::int32_t Format;
    const char* ReasonPart; // in the message after the path
};

TEST_F(CaptureFileTest, FailuresLeaveTheIndexAndTheFolderAsTheyWere) {
    ASSERT_TRUE(QDir(Folder.path()).mkdir("sub"));
    QFile plain(InFolder("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QStringList before = FolderEntries(Folder.path());

    const TFailureCase cases[] = {
        {"missing folder", "missing", "Outputpic", 0, "No such file or directory"},
        {"folder is a file", "plain", "Outputpic", 0, ""},
        {"separator in the prefix", "", "sub/pic", 0, "cannot hold \"/\""},
        {"separator in the prefix, EMF", "", "sub/pic", 1, "cannot hold \"/\""},
        {"null in the prefix", "", std::string("a\0b", 3), 0, "null character"},
        {"prefix too long for a file name", "", std::string(251, 'p'), 0, "longer than 255"},
        {"unknown format", "", "Outputpic", 2, "Unknown picture format"},
    };
    for (const TFailureCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Job.OutputDirectory =
            (Folder.path() + "/" + QString::fromStdString(c.Folder)).toStdString();
        Job.FileNamePrefix = c.Prefix;
        Job.PictureFormat = c.Format;
        Job.CurrentIndex = 1;
        try {
            CapturePicture(Job, Picture);
            ADD_FAILURE() << "no error";
        } catch (const ECurvanaError& e) {
            const std::string message = e.what();
            if (c.Format == 0 || c.Format == 1) {
                std::string shown = Job.CurrentPath();
                if (const auto null = shown.find('\0'); null != std::string::npos)
                    shown.replace(null, 1, "\\0");
                EXPECT_NE(message.find("Cannot create file \"" + shown + "\". "), std::string::npos)
                    << message;
            }
            EXPECT_NE(message.find(c.ReasonPart), std::string::npos) << message;
        }
        EXPECT_EQ(Job.CurrentIndex, 1);
        EXPECT_EQ(FolderEntries(Folder.path()), before);
        EXPECT_TRUE(FolderEntries(InFolder("sub")).isEmpty());
    }
}

// Restores the file size limit and the signal it raises when a test ends.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = FOld;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

TEST_F(CaptureFileTest, FileThatCannotBeWrittenToTheEndLeavesNothingBehind) {
    for (const std::int32_t format : {0, 1}) {
        SCOPED_TRACE(format);
        Job.PictureFormat = format;
        {
            // Like a full disk: the writes stop part way through the file.
            const TFileSizeLimit limit(512);
            EXPECT_THROW(CapturePicture(Job, Picture), ECurvanaError);
        }
        EXPECT_EQ(Job.CurrentIndex, 1);
        EXPECT_TRUE(FolderEntries(Folder.path()).isEmpty())
            << FolderEntries(Folder.path()).join(",").toStdString();
    }
    // Afterwards the same name is written.
    CapturePicture(Job, Picture);
    EXPECT_EQ(FolderEntries(Folder.path()), QStringList{"Outputpic01.emf"});
}

TEST_F(CaptureFileTest, EmptyPictureIsAnErrorNotAnEmptyFile) {
    for (const std::int32_t format : {0, 1}) {
        Job.PictureFormat = format;
        EXPECT_THROW(CapturePicture(Job, QImage()), ECurvanaError);
    }
    EXPECT_EQ(Job.CurrentIndex, 1);
    EXPECT_TRUE(FolderEntries(Folder.path()).isEmpty());
}

TEST_F(CaptureFileTest, IndexWrapsInsteadOfOverflowing) {
    Job.CurrentIndex = INT32_MAX;
    CapturePicture(Job, Picture);
    EXPECT_EQ(Job.CurrentIndex, INT32_MIN);
}

TEST(DefaultOutputDirectoryTest, ProgramFolderWhenWritableElsePicturesOrHome) {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());

    const std::string program = home.path().toStdString() + "/";
    EXPECT_EQ(DefaultOutputDirectory(program), program);
    const std::string gone = home.path().toStdString() + "/no-such-folder/";
    EXPECT_EQ(DefaultOutputDirectory(gone), home.path().toStdString());
    ASSERT_TRUE(QDir(home.path()).mkdir("Pictures"));
    EXPECT_EQ(DefaultOutputDirectory(gone), home.path().toStdString() + "/Pictures");

    qputenv("HOME", oldHome);
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}

} // namespace
} // namespace curvana
