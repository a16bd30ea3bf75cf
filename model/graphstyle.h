#pragma once

#include "common/types.h"

#include <cstdint>

namespace curvana {

// Pen style codes (LineStyle) and brush style codes (BrushStyle), as stored in documents.
constexpr TEnum8 psSolid = 0;
constexpr TEnum8 psDash = 1;
constexpr TEnum8 psDot = 2;
constexpr TEnum8 psDashDot = 3;
constexpr TEnum8 psDashDotDot = 4;
constexpr TEnum8 psClear = 5;
constexpr TEnum8 psInsideFrame = 6;

constexpr TEnum8 bsSolid = 0;
constexpr TEnum8 bsClear = 1;
constexpr TEnum8 bsHorizontal = 2;
constexpr TEnum8 bsVertical = 3;
constexpr TEnum8 bsFDiagonal = 4;
constexpr TEnum8 bsBDiagonal = 5;
constexpr TEnum8 bsCross = 6;
constexpr TEnum8 bsDiagCross = 7;

// How a line and a filled area are painted. Applying it to a canvas lives in view/ (ApplyTo),
// because the model does not know the canvas.
class TGraphStyle {
public:
    std::int32_t LineWidth = 1;
    TEnum8 LineStyle = psSolid;
    TColor LineColor = clBlack;
    // A black backward-diagonal hatch, not a solid or empty fill.
    TEnum8 BrushStyle = bsBDiagonal;
    TColor BrushColor = clBlack;

    void Assign(const TGraphStyle& source);

    friend bool operator==(const TGraphStyle&, const TGraphStyle&) = default;
};

} // namespace curvana
