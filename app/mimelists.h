#pragma once

#include <QByteArray>
#include <QString>

namespace curvana {

// The user's mimeapps.list text with desktopId added to the "Added Associations" of mimeType.
// Every other line stays as it was: a default the user chose keeps winning, and an association
// the user removed ("Removed Associations") is not brought back; then the text is returned as it
// came.
QByteArray WithAddedAssociation(const QByteArray& mimeAppsList, const QByteArray& mimeType,
                                const QByteArray& desktopId);

// A mimeinfo.cache for the desktop entries directly in applicationsFolder: each MIME type their
// MimeType keys name, with the entries that open it. It stands in for update-desktop-database
// where that tool is missing.
QByteArray MimeInfoCacheText(const QString& applicationsFolder);

} // namespace curvana
