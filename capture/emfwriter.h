#pragma once

#include <QByteArray>

class QImage;

namespace curvana {

// Resolution the metafile's frame and reference device are given in: a common screen.
inline constexpr int EmfReferenceDotsPerInch = 96;
// Size in pixels of the reference device named in the header.
inline constexpr int EmfReferenceWidth = 1920;
inline constexpr int EmfReferenceHeight = 1080;

// An enhanced metafile that shows the picture at its size: the header (bounds = the picture's
// pixels, frame = the same at the reference resolution), one stretch-DIB record holding the
// picture as a 24-bit bottom-up DIB drawn at (0, 0), and the end record. Throws ECurvanaError
// for an empty picture or one too large for the format.
QByteArray EncodeEmf(const QImage& picture);

} // namespace curvana
