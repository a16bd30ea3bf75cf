#pragma once

#include <QByteArray>

class QImage;

namespace curvana {

// The picture as a BMP file (Qt's writer; 24 bits per pixel for an opaque picture). Throws
// ECurvanaError for an empty picture.
QByteArray EncodeBmp(const QImage& picture);

} // namespace curvana
