#pragma once

#include "common/types.h"

#include <QComboBox>

#include <functional>
#include <optional>

namespace curvana {

// A drop-down list of the sixteen standard colours, each with a swatch and its name, and a
// first item "Custom..." that asks for any other colour. A colour set from outside that is not
// a standard one becomes the custom item's colour.
class TColorBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int CustomIndex = 0;

    // Asks for a colour, starting from the one given; no value when the user cancels. The
    // default is the platform's colour dialog.
    using TColorChooser = std::function<std::optional<TColor>(QWidget* owner, TColor initial)>;

    explicit TColorBox(QWidget* parent = nullptr);

    TColor Selected() const;
    void SetSelected(TColor color);

    void SetColorChooser(TColorChooser chooser);

    // The colour of an item (the custom item's current colour for CustomIndex).
    TColor ItemColor(int index) const;

signals:
    void SelectedChanged(TColor color);

private:
    // The user picked an item: the custom item asks for its colour first; a cancelled question
    // goes back to the item selected before.
    void ItemActivated(int index);
    void SetCustomColor(TColor color);

    TColorChooser FChooser;
    int FPreviousIndex = 1;
};

} // namespace curvana
