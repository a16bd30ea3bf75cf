#pragma once

#include "common/types.h"
#include "dialogs/ownerdrawcombo.h"

#include <cstdint>

namespace curvana {

// Picks a pen style by its look: item i is pen style i (solid, dash, dot, dash-dot,
// dash-dot-dot), drawn as a thin line across the item.
class TComboboxLineStyle : public TOwnerDrawCombo {
    Q_OBJECT
    Q_PROPERTY(int CD_MaxLineStyle READ CD_MaxLineStyle WRITE SetCD_MaxLineStyle)
public:
    static constexpr std::int32_t DefaultMaxLineStyle = 5;

    explicit TComboboxLineStyle(QWidget* parent = nullptr);

    // The number of styles offered, kept within 1 to 5. Setting it selects the first item.
    std::int32_t CD_MaxLineStyle() const { return FMaxLineStyle; }
    void SetCD_MaxLineStyle(std::int32_t count);

    // The selection as a pen style: items 1 to 4 are their own style, anything else (the first
    // item, no selection) is solid. Setting a style without an item of its own (solid, clear,
    // inside frame, unknown codes) selects the first item.
    TEnum8 CD_CurrentPenStyle() const;
    void SetCD_CurrentPenStyle(TEnum8 style);

protected:
    void DrawItem(TCanvas& canvas, int index, const TRect& rect) override;

private:
    std::int32_t FMaxLineStyle = DefaultMaxLineStyle;
};

} // namespace curvana
