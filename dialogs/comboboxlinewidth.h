#pragma once

#include "dialogs/ownerdrawcombo.h"

#include <cstdint>

namespace curvana {

// Picks a line width by its look: item i is width i + 1, drawn as a line of that width after
// the number. Users read and set the width through the item index (width = index + 1).
class TComboboxLineWidth : public TOwnerDrawCombo {
    Q_OBJECT
    Q_PROPERTY(int CD_MaxLineWidth READ CD_MaxLineWidth WRITE SetCD_MaxLineWidth)
public:
    static constexpr std::int32_t DefaultMaxLineWidth = 5;

    explicit TComboboxLineWidth(QWidget* parent = nullptr);

    // The number of widths offered; values below 1 become 1. Setting it selects the first item.
    std::int32_t CD_MaxLineWidth() const { return FMaxLineWidth; }
    void SetCD_MaxLineWidth(std::int32_t count);

protected:
    void DrawItem(TCanvas& canvas, int index, const TRect& rect) override;

private:
    std::int32_t FMaxLineWidth = DefaultMaxLineWidth;
};

} // namespace curvana
