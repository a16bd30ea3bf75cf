#pragma once

#include <QImage>

#include <string>

namespace curvana {

// Writes a picture as an 8-bit RGB PNG file (alpha is dropped, as for an RGB32 picture), with
// the "up" filter on every row, compressed by TPixelRunCompressor, which only repeats pixels: a
// general compressor took more time than drawing a slide. The
// resolution is written as the picture's dots per metre. False when the file cannot be written.
bool WritePng(const QImage& image, const std::string& path);

} // namespace curvana
