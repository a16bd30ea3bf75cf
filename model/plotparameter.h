#pragma once

#include <cstdint>

namespace curvana {

// How densely a graph is sampled.
class TPlotParameter {
public:
    std::int32_t Steps = 500;
    std::int32_t StepsOnX = 50;
    std::int32_t StepsOnY = 50;
    // Largest jump between consecutive samples, in steps, still drawn as a connected line.
    std::int32_t MaxGap = 300;

    void Assign(const TPlotParameter& source);

    friend bool operator==(const TPlotParameter&, const TPlotParameter&) = default;
};

} // namespace curvana
