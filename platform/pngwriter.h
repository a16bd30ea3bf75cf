#pragma once

#include <QImage>

#include <string>

namespace curvana {

// Writes a picture as an 8-bit RGB PNG file (alpha is dropped, as for an RGB32 picture), with
// the "up" filter on every row and zlib's fastest level with run-length matching only. Qt's
// writer has libpng try five filters on every row, which costs more than compressing a slide
// picture; files come out about 1.8 times as large as Qt's (some 90 instead of 50 kB for a
// slide at 1920 x 1080). The resolution is
// written as the picture's dots per metre. False when the file cannot be written.
bool WritePng(const QImage& image, const std::string& path);

} // namespace curvana
