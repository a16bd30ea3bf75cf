#pragma once

#include <QImage>

#include <vector>

class QWidget;

namespace curvana {

class TAddLabel;

// What the audience sees of the view: the view's picture (pen strokes included) with the
// slide's free text labels over it where they stand, at the picture's own resolution. The
// control panel, menus and the mouse pointer are not part of it.
QImage AudiencePicture(const QImage& picture, const QWidget& view,
                       const std::vector<TAddLabel*>& labels);

} // namespace curvana
