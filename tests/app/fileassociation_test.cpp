#include "app/fileassociation.h"

#include "common/errors.h"
#include "tests/app/slidetestfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <string>

namespace curvana {
namespace {

using testing::ReadFile;
using testing::TTempDir;
using testing::WriteFile;

// Reads an Exec argument back the way a desktop reads it: the string value's escapes first,
// then %%, then the quoting.
QString ParseExecArgument(const QString& value) {
    QString unescaped;
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            unescaped += next == u'n'   ? QChar(u'\n')
                         : next == u't' ? QChar(u'\t')
                         : next == u'r' ? QChar(u'\r')
                         : next == u's' ? QChar(u' ')
                                        : next;
        } else {
            unescaped += value[i];
        }
    }
    unescaped.replace(QStringLiteral("%%"), QStringLiteral("%"));
    if (unescaped.size() < 2 || !unescaped.startsWith(u'"') || !unescaped.endsWith(u'"'))
        return QStringLiteral("<not quoted>");
    QString argument;
    for (int i = 1; i + 1 < unescaped.size(); ++i) {
        QChar c = unescaped[i];
        if (c == u'\\') {
            c = unescaped[++i];
            if (c != u'"' && c != u'`' && c != u'$' && c != u'\\')
                return QStringLiteral("<bad escape>");
        } else if (c == u'"' || c == u'`' || c == u'$') {
            return QStringLiteral("<unescaped reserved character>");
        }
        argument += c;
    }
    return argument;
}

TEST(FileAssociation, ExecArgumentKeepsAnyProgramPath) {
    EXPECT_EQ(DesktopExecArgument(QStringLiteral("/usr/bin/curvana")),
              QStringLiteral("\"/usr/bin/curvana\""));
    // A backslash takes four in the file.
    EXPECT_EQ(DesktopExecArgument(QStringLiteral("/a\\b")), QStringLiteral("\"/a\\\\\\\\b\""));
    const QString paths[] = {
        QStringLiteral("/opt/My Programs/curvana"), QStringLiteral("/home/a\"b/curvana"),
        QStringLiteral("/home/$HOME/`x`/curvana"),  QStringLiteral("/tmp/back\\slash\\/curvana"),
        QStringLiteral("/tmp/100%/%f/curvana"),     QStringLiteral("/tmp/new\nline\ttab/curvana"),
        QStringLiteral("/tmp/ünï cödé/curvana"),
    };
    for (const QString& path : paths)
        EXPECT_EQ(ParseExecArgument(DesktopExecArgument(path)), path) << path.toStdString();
}

class AssociationFiles : public ::testing::Test {
protected:
    std::string Desktop() const { return ReadFile(Home / "applications/curvana.desktop"); }
    std::string Mime() const { return ReadFile(Home / "mime/packages/curvana-mime.xml"); }
    QString HomePath() const { return QString::fromStdString(Home.Path.string()); }
    QString ConfigPath() const { return QString::fromStdString(Config.Path.string()); }
    TTempDir Home;
    TTempDir Config;
};

TEST_F(AssociationFiles, WritesTheEntryWithTheQuotedProgramAndTheMimeGlob) {
    const QString program = QStringLiteral("/opt/Curvana Kit/bin/curvana");
    const TAssociationWrite first = WriteFileAssociation(program, HomePath(), ConfigPath());
    EXPECT_TRUE(first.MimeChanged);
    EXPECT_TRUE(first.DesktopChanged);

    const std::string desktop = Desktop();
    EXPECT_NE(desktop.find("\nExec=\"/opt/Curvana Kit/bin/curvana\" %f\n"), std::string::npos)
        << desktop;
    EXPECT_EQ(desktop.find("Exec=curvana"), std::string::npos);
    EXPECT_NE(desktop.find("\nMimeType=application/x-curvana-slides;\n"), std::string::npos);
    const std::string mime = Mime();
    EXPECT_NE(mime.find("<glob pattern=\"*.sld\"/>"), std::string::npos);
    EXPECT_NE(mime.find("type=\"application/x-curvana-slides\""), std::string::npos);
    EXPECT_EQ(mime, ReadFile(std::string(CURVANA_SOURCE_DIR) + "/packaging/curvana-mime.xml"));
    EXPECT_FALSE(ReadFile(Home / "icons/hicolor/scalable/apps/curvana.svg").empty());
    EXPECT_EQ(ReadFile(Config / "mimeapps.list"),
              "[Added Associations]\napplication/x-curvana-slides=curvana.desktop;\n");

    // Unchanged files are left alone; a moved program rewrites only the entry.
    const TAssociationWrite again = WriteFileAssociation(program, HomePath(), ConfigPath());
    EXPECT_FALSE(again.MimeChanged);
    EXPECT_FALSE(again.DesktopChanged);
    const TAssociationWrite moved =
        WriteFileAssociation(QStringLiteral("/usr/bin/curvana"), HomePath(), ConfigPath());
    EXPECT_FALSE(moved.MimeChanged);
    EXPECT_TRUE(moved.DesktopChanged);
    EXPECT_NE(Desktop().find("\nExec=\"/usr/bin/curvana\" %f\n"), std::string::npos);
}

TEST_F(AssociationFiles, WrittenEntryPassesTheDesktopValidator) {
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    WriteFileAssociation(QStringLiteral("/tmp/odd \"$name\" 100%/cur\\vana"), HomePath(),
                         ConfigPath());
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(validator, {QString::fromStdString(Home / "applications/curvana.desktop")});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString output = QString::fromUtf8(process.readAll());
    EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("error:"))) << output.toStdString();
}

TEST_F(AssociationFiles, RefreshBuildsTheUsersMimeAndDesktopDatabases) {
    const TAssociationWrite written =
        WriteFileAssociation(QStringLiteral("/usr/bin/curvana"), HomePath(), ConfigPath());
    RefreshAssociationDatabases(HomePath(), written, 30000);
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed";
    EXPECT_NE(ReadFile(Home / "mime/globs2").find("application/x-curvana-slides:*.sld"),
              std::string::npos);
    if (QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty())
        GTEST_SKIP() << "update-desktop-database is not installed";
    EXPECT_NE(ReadFile(Home / "applications/mimeinfo.cache")
                  .find("application/x-curvana-slides=curvana.desktop"),
              std::string::npos);
}

TEST_F(AssociationFiles, WriteFailuresNameWhatCouldNotBeWritten) {
    // The data folder is a file.
    const std::string blocked = Home / "file";
    WriteFile(blocked, "x");
    try {
        WriteFileAssociation(QStringLiteral("/usr/bin/curvana"), QString::fromStdString(blocked),
                             ConfigPath());
        ADD_FAILURE() << "no error";
    } catch (const ECurvanaError& error) {
        EXPECT_NE(std::string(error.what()).find(blocked), std::string::npos) << error.what();
    }
    // The settings folder is a file: mimeapps.list cannot be written.
    const TTempDir otherData;
    try {
        WriteFileAssociation(QStringLiteral("/usr/bin/curvana"),
                             QString::fromStdString(otherData.Path.string()),
                             QString::fromStdString(blocked));
        ADD_FAILURE() << "no error";
    } catch (const ECurvanaError& error) {
        EXPECT_NE(std::string(error.what()).find(blocked), std::string::npos) << error.what();
    }
    // The entry's own name is taken by a folder: the MIME package is in, the entry is not.
    std::filesystem::create_directories(Home / "applications/curvana.desktop");
    try {
        WriteFileAssociation(QStringLiteral("/usr/bin/curvana"), HomePath(), ConfigPath());
        ADD_FAILURE() << "no error";
    } catch (const ECurvanaError& error) {
        EXPECT_NE(std::string(error.what()).find("curvana.desktop"), std::string::npos)
            << error.what();
    }
}

// Which entry gio names as the default for our type, with only the given private folders in
// view; empty when it names none.
std::string GioDefault(const std::string& data, const std::string& config,
                       const std::string& none) {
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("HOME"), QString::fromStdString(config));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(data));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(config));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), QString::fromStdString(none));
    environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), QString::fromStdString(none));
    QProcess gio;
    gio.setProcessEnvironment(environment);
    gio.start(QStringLiteral("gio"), {QStringLiteral("mime"), QLatin1String(SlideShowMimeType)});
    if (!gio.waitForFinished(30000))
        return "<gio did not finish>";
    const QString output = QString::fromUtf8(gio.readAllStandardOutput());
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Default application for .*: (\\S+)$"),
                           QRegularExpression::MultilineOption)
            .match(output);
    return match.hasMatch() ? match.captured(1).toStdString() : std::string();
}

// Runs f with PATH holding only update-mime-database, as on a system without
// desktop-file-utils.
template <typename F> void WithoutDesktopDatabaseTool(const std::string& bin, F f) {
    std::filesystem::create_directories(bin);
    const QString mimeTool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (!mimeTool.isEmpty())
        std::filesystem::create_symlink(mimeTool.toStdString(), bin + "/update-mime-database");
    const QByteArray saved = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin));
    f();
    qputenv("PATH", saved);
}

TEST(FileAssociation, DesktopNamesOurEntryUnlessTheUserChoseAnother) {
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        GTEST_SKIP() << "gio or update-mime-database is not installed";
    const std::string userDefault = "[Default Applications]\n"
                                    "application/x-curvana-slides=other.desktop;\n";
    struct Case {
        const char* what;
        std::string mimeAppsBefore;
        bool desktopDatabaseTool;
        std::string expectedDefault;
    };
    const Case cases[] = {
        {"a new user", "", true, "curvana.desktop"},
        {"no update-desktop-database", "", false, "curvana.desktop"},
        {"the user's own default", userDefault, true, "other.desktop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TTempDir root;
        const std::string data = root / "data";
        const std::string config = root / "config";
        std::filesystem::create_directories(root / "data/applications");
        std::filesystem::create_directories(config);
        if (!c.mimeAppsBefore.empty()) {
            WriteFile(config + "/mimeapps.list", c.mimeAppsBefore);
            WriteFile(data + "/applications/other.desktop",
                      "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\n"
                      "MimeType=application/x-curvana-slides;\n");
        }
        const auto registerProgram = [&] {
            const QString dataHome = QString::fromStdString(data);
            RefreshAssociationDatabases(dataHome,
                                        WriteFileAssociation(QStringLiteral(CURVANA_BINARY),
                                                             dataHome,
                                                             QString::fromStdString(config)),
                                        30000);
        };
        if (c.desktopDatabaseTool)
            registerProgram();
        else
            WithoutDesktopDatabaseTool(root / "bin", registerProgram);

        EXPECT_EQ(GioDefault(data, config, root / "none"), c.expectedDefault);
        const std::string cache = ReadFile(data + "/applications/mimeinfo.cache");
        EXPECT_NE(cache.find("application/x-curvana-slides="), std::string::npos) << cache;
        EXPECT_NE(cache.find("curvana.desktop;"), std::string::npos) << cache;
        // The user's default line is still there, word for word.
        EXPECT_EQ(ReadFile(config + "/mimeapps.list").rfind(c.mimeAppsBefore, 0), 0u);
    }
}

TEST(FileAssociation, DataHomeFollowsTheEnvironment) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/somewhere/data");
    EXPECT_EQ(UserDataHome(), QStringLiteral("/somewhere/data"));
    qputenv("XDG_DATA_HOME", "relative/data"); // not absolute: ignored
    EXPECT_EQ(UserDataHome(), QDir::homePath() + QStringLiteral("/.local/share"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(UserDataHome(), QDir::homePath() + QStringLiteral("/.local/share"));
    qputenv("XDG_DATA_HOME", saved);

    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/config/");
    EXPECT_EQ(UserConfigHome(), QStringLiteral("/somewhere/config"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserConfigHome(), QDir::homePath() + QStringLiteral("/.config"));
    qputenv("XDG_CONFIG_HOME", savedConfig);
}

} // namespace
} // namespace curvana
