#pragma once

#include <cstdint>

namespace curvana {

// The last two coordinates mapped on one axis and their pixels, for mappings asked for the
// same coordinates again and again. A coordinate that is not a number is mapped every time.
class TLastPixels {
public:
    template <class TMap> std::int32_t At(double value, TMap map) {
        if (FCount > 0 && value == FValue[0])
            return FPixel[0];
        if (FCount > 1 && value == FValue[1])
            return FPixel[1];
        const std::int32_t pixel = map(value);
        FValue[1] = FValue[0];
        FPixel[1] = FPixel[0];
        FValue[0] = value;
        FPixel[0] = pixel;
        FCount = FCount < 2 ? FCount + 1 : 2;
        return pixel;
    }

private:
    double FValue[2] = {0, 0};
    std::int32_t FPixel[2] = {0, 0};
    int FCount = 0;
};

} // namespace curvana
