#pragma once

#include <QLabel>

namespace curvana {

class TAddLabelData;

// A free text label of a slide: a label over the view whose top-left corner the window puts on
// the pixel of its world point (x, y) after every redraw.
class TAddLabel : public QLabel {
    Q_OBJECT
public:
    explicit TAddLabel(QWidget* parent = nullptr);

    // Caption, font, colour, transparency and world point as the document gives them.
    void Assign(const TAddLabelData& data);

    double x = 0;
    double y = 0;
};

} // namespace curvana
