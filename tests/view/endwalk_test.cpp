#include "view/walk.h"

#include <gtest/gtest.h>

#include <vector>

namespace curvana {
namespace {

std::vector<double> Points(double first, double step, double last, std::int64_t cap) {
    std::vector<double> points;
    for (TEndWalk walk(first, step, last, cap, step / 2); walk.Value() <= last;) {
        points.push_back(walk.Value());
        if (!walk.Next())
            break;
    }
    return points;
}

TEST(EndWalkTest, GridReachesTheLastPointOfAnEvenSplit) {
    struct TCase {
        double First, Step, Last;
        std::int64_t Cap;
        std::size_t Count;
        double LastPoint;
    };
    const TCase cases[] = {
        // The 51st sum, 10.000000000000009, passes the end: the end is taken instead.
        {-10, 0.4, 10, 1000, 51, 10},
        // The 51st sum, 4.999999999999998, is below the end and is kept; no second point there.
        {0, 0.1, 5, 1000, 51, 4.999999999999998},
        // A step that does not split the range: the last sum is within half a step of the end.
        {0, 0.3, 1, 1000, 4, 0.8999999999999999},
        {0, 0.4, 1, 1000, 3, 0.8},
        // The cap counts the end too.
        {-10, 0.4, 10, 51, 51, 10},
        {-10, 0.4, 10, 5, 5, -8.4},
        // A step too small to change the sum ends the walk at once.
        {1e17, 1, 2e17, 1000, 1, 1e17},
    };
    for (const TCase& c : cases) {
        const std::vector<double> points = Points(c.First, c.Step, c.Last, c.Cap);
        ASSERT_EQ(points.size(), c.Count) << c.First << " " << c.Step << " " << c.Last;
        EXPECT_NEAR(points.back(), c.LastPoint, 1e-12) << c.First << " " << c.Step;
    }
}

} // namespace
} // namespace curvana
