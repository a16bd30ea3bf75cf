#pragma once

#include <QByteArray>
#include <QString>

namespace curvana {

// The MIME type that the association gives to slide show files.
inline constexpr const char* SlideShowMimeType = "application/x-curvana-slides";

// Where user-level desktop data lives: $XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share.
QString UserDataHome();

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
// scalable icon, each only when its content differs. Throws ECurvanaError naming the folder or
// file that could not be written, with the system's reason.
TAssociationWrite WriteFileAssociation(const QString& programPath, const QString& dataHome);

// Runs update-mime-database / update-desktop-database on what changed (or on a MIME folder that
// has no database yet), where those tools exist, each within timeoutMs. Never throws; a tool
// that fails or hangs is passed over, because the files are in place either way.
void RefreshAssociationDatabases(const QString& dataHome, const TAssociationWrite& written,
                                 int timeoutMs = 10000);

// The whole step the launcher takes at each showing: write under UserDataHome(), then refresh.
void RegisterFileAssociation(const QString& programPath);

} // namespace curvana
