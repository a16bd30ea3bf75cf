// The implicit curve's plotters remember the last pixels of each axis. A remembered pixel must be
// the mapping's own, whatever order the coordinates come in, and only repeats may skip the map.

#include "view/lastpixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace curvana {
namespace {

std::int32_t Mapping(double value) {
    return std::isnan(value) ? -1 : static_cast<std::int32_t>(std::floor(value * 10));
}

struct TCase {
    const char* Name;
    std::vector<double> Values;
    int Maps; // how often the mapping runs
};

TEST(LastPixels, GivesTheMappingsPixelsAndMapsOnlyNewValues) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const TCase cases[] = {
        {"one value again and again", {0.25, 0.25, 0.25}, 1},
        {"two values in turn", {0.25, 0.5, 0.25, 0.5, 0.25}, 2},
        {"a third value pushes out the oldest", {0.25, 0.5, 0.75, 0.25, 0.75}, 4},
        {"zero and minus zero are one value", {0.0, -0.0, 0.0}, 1},
        {"no number is mapped every time", {nan, nan, 0.5, nan}, 4},
        {"the initial slots are not values", {0.0, 0.0}, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLastPixels last;
        int maps = 0;
        for (const double value : c.Values) {
            const std::int32_t pixel = last.At(value, [&maps](double v) {
                ++maps;
                return Mapping(v);
            });
            EXPECT_EQ(pixel, Mapping(value)) << value;
        }
        EXPECT_EQ(maps, c.Maps);
    }
}

} // namespace
} // namespace curvana
