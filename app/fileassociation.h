#pragma once

#include <QByteArray>
#include <QString>

namespace curvana {

// The MIME type that the association gives to slide show files.
inline constexpr const char* SlideShowMimeType = "application/x-curvana-slides";

// Where user-level desktop data lives: $XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share.
QString UserDataHome();
// Where user-level settings live (mimeapps.list among them): $XDG_CONFIG_HOME when it is an
// absolute path, else ~/.config.
QString UserConfigHome();

// The program path as one argument of a desktop entry's Exec key: quoted, with the characters
// that quoting and the key's string value reserve escaped, so that any path survives.
QString DesktopExecArgument(const QString& programPath);

// The desktop entry that opens slide show files with this program, the file its only argument.
QByteArray DesktopEntryText(const QString& programPath);
// The shared-mime-info package that maps *.sld and the root CurvanaSlides to our MIME type.
QByteArray MimePackageText();

// What WriteFileAssociation changed on disk.
struct TAssociationWrite {
    bool MimeChanged = false;
    bool DesktopChanged = false;
};

// Writes, under dataHome, mime/packages/curvana-mime.xml, applications/curvana.desktop and the
// scalable icon, and adds curvana.desktop to the added associations of our MIME type in
// configHome/mimeapps.list (desktops that do not read the entries' MimeType keys go by that
// list), each only when its content differs. Throws ECurvanaError naming the folder or file that
// could not be written, with the system's reason.
TAssociationWrite WriteFileAssociation(const QString& programPath, const QString& dataHome,
                                       const QString& configHome);

// Runs update-mime-database / update-desktop-database on what changed, or on a folder whose
// database is missing, each within timeoutMs. Where update-desktop-database is missing or fails,
// a missing applications/mimeinfo.cache is written here instead. Never throws; a tool that fails
// or hangs is passed over, because the files are in place either way.
void RefreshAssociationDatabases(const QString& dataHome, const TAssociationWrite& written,
                                 int timeoutMs = 10000);

// The whole step the launcher takes at each showing: write under UserDataHome() and
// UserConfigHome(), then refresh.
void RegisterFileAssociation(const QString& programPath);

} // namespace curvana
