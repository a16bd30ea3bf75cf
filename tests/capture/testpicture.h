#pragma once

#include <QDir>
#include <QImage>
#include <QStringList>

namespace curvana {

// A picture whose every pixel differs from its neighbours; an odd width makes BMP and DIB rows
// need padding.
inline QImage TestPicture(int width = 37, int height = 23) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb((x * 7) % 256, (y * 11) % 256, (x * y + 3 * x) % 256));
    return picture;
}

// Every entry of a folder, hidden ones (temporary files) included.
inline QStringList FolderEntries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace curvana
