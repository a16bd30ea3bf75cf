#include "app/fileassociation.h"

#include "app/mimelists.h"
#include "common/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace curvana {

namespace {

QByteArray ResourceText(const char* name) {
    QFile file(QStringLiteral(":/curvana/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        throw ECurvanaError(std::string("Missing resource ") + name);
    return file.readAll();
}

std::string Text(const QString& s) {
    return s.toStdString();
}

// Writes data to path unless the file already holds exactly that. Returns whether it wrote.
bool WriteIfChanged(const QString& path, const QByteArray& data) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == data)
        return false;
    existing.close();

    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw ECurvanaError("Failed to create folder '" + Text(folder) + "'");
    // Written to a side file and renamed, so a failure never leaves half an entry behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw ECurvanaError("Failed to write '" + Text(path) + "': " + Text(file.errorString()));
    return true;
}

// Runs tool on folder; returns whether it exists and finished with success in time.
bool RunTool(const QString& tool, const QString& folder, int timeoutMs) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {folder});
    if (!process.waitForStarted(timeoutMs))
        return false;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString HomeFolder(const char* variable, const char* fallback) {
    const QString fromEnvironment = qEnvironmentVariable(variable);
    if (!fromEnvironment.isEmpty() && QDir::isAbsolutePath(fromEnvironment))
        return QDir::cleanPath(fromEnvironment);
    return QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QString UserDataHome() {
    return HomeFolder("XDG_DATA_HOME", ".local/share");
}

QString UserConfigHome() {
    return HomeFolder("XDG_CONFIG_HOME", ".config");
}

QString DesktopExecArgument(const QString& programPath) {
    // Inside a quoted argument ", `, $ and \ take a backslash; then the string value escapes
    // its own backslashes and control characters, and % doubles because it starts field codes.
    QString quoted;
    for (const QChar c : programPath) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    QString value;
    for (const QChar c : quoted) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else if (c == u'%')
            value += QStringLiteral("%%");
        else
            value += c;
    }
    return u'"' + value + u'"';
}

QByteArray DesktopEntryText(const QString& programPath) {
    const QByteArray exec = "Exec=" + DesktopExecArgument(programPath).toUtf8() + " %f";
    QByteArray result;
    bool replaced = false;
    for (const QByteArray& line : ResourceText("curvana.desktop").split('\n')) {
        if (line.startsWith("Exec=")) {
            result += exec;
            replaced = true;
        } else {
            result += line;
        }
        result += '\n';
    }
    if (!replaced)
        result += exec + '\n';
    while (result.endsWith("\n\n"))
        result.chop(1);
    return result;
}

QByteArray MimePackageText() {
    return ResourceText("curvana-mime.xml");
}

TAssociationWrite WriteFileAssociation(const QString& programPath, const QString& dataHome,
                                       const QString& configHome) {
    const QDir home(dataHome);
    TAssociationWrite written;
    written.MimeChanged = WriteIfChanged(
        home.filePath(QStringLiteral("mime/packages/curvana-mime.xml")), MimePackageText());
    written.DesktopChanged =
        WriteIfChanged(home.filePath(QStringLiteral("applications/curvana.desktop")),
                       DesktopEntryText(programPath));
    WriteIfChanged(home.filePath(QStringLiteral("icons/hicolor/scalable/apps/curvana.svg")),
                   ResourceText("curvana.svg"));
    const QString mimeApps = QDir(configHome).filePath(QStringLiteral("mimeapps.list"));
    const QByteArray list = ReadAll(mimeApps);
    const QByteArray withOurs = WithAddedAssociation(list, SlideShowMimeType, "curvana.desktop");
    if (withOurs != list)
        WriteIfChanged(mimeApps, withOurs);
    return written;
}

void RefreshAssociationDatabases(const QString& dataHome, const TAssociationWrite& written,
                                 int timeoutMs) {
    const QDir home(dataHome);
    const QString mime = home.filePath(QStringLiteral("mime"));
    if (written.MimeChanged || !QFileInfo::exists(mime + QStringLiteral("/mime.cache")))
        RunTool(QStringLiteral("update-mime-database"), mime, timeoutMs);
    const QString applications = home.filePath(QStringLiteral("applications"));
    const QString cache = applications + QStringLiteral("/mimeinfo.cache");
    if (!written.DesktopChanged && QFileInfo::exists(cache))
        return;
    if (RunTool(QStringLiteral("update-desktop-database"), applications, timeoutMs) ||
        QFileInfo::exists(cache))
        return;
    try {
        WriteIfChanged(cache, MimeInfoCacheText(applications));
    } catch (const ECurvanaError&) {
        // The entry and mimeapps.list still name the program; the cache only speeds look-ups.
    }
}

void RegisterFileAssociation(const QString& programPath) {
    const QString home = UserDataHome();
    RefreshAssociationDatabases(home, WriteFileAssociation(programPath, home, UserConfigHome()));
}

} // namespace curvana
