#pragma once

#include "view/geometry.h"

#include <QComboBox>
#include <QImage>

namespace curvana {

class TCanvas;

// A drop-down list whose items are drawn on a canvas by the subclass, both in the list and in
// the closed box. Before DrawItem the canvas holds the state of the item: a solid brush in the
// highlight colour (selected) or the window colour, the font in the matching text colour, and a
// black solid pen one pixel wide.
class TOwnerDrawCombo : public QComboBox {
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 145;
    static constexpr int DefaultHeight = 22;
    static constexpr int ItemHeight = 16;

    explicit TOwnerDrawCombo(QWidget* parent = nullptr);

    // The item as it looks in a rectangle of this size.
    QImage RenderItem(int index, QSize size, bool selected);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // Draws item index into rect; the rectangle's corners are exclusive on the right and bottom.
    virtual void DrawItem(TCanvas& canvas, int index, const TRect& rect) = 0;

    // Replaces the items by count placeholders (their text is never shown), shows count rows
    // when dropped down and selects the first.
    void ResetItems(int count);

    void paintEvent(QPaintEvent* event) override;
};

} // namespace curvana
