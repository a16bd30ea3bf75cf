// A quotient computed in double must be taken only where it equals the quotient in extended
// precision rounded to double; the operands below include those where the two differ.
#include "common/doublearithmetic.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

namespace curvana {
namespace {

struct TTally {
    int Sure = 0;
    int Unsure = 0;
    int RoundedOnceDiffers = 0; // where plain double division would be wrong
};

void Expect(double a, double b, TTally& tally) {
    const double rule = static_cast<double>(static_cast<long double>(a) / b);
    double q = 0;
    if (doublearithmetic::Divide(a, b, q)) {
        ++tally.Sure;
        ASSERT_EQ(q, rule) << std::hexfloat << a << " / " << b;
        ASSERT_EQ(std::signbit(q), std::signbit(rule));
    } else {
        ++tally.Unsure;
    }
    tally.RoundedOnceDiffers += a / b != rule ? 1 : 0;
}

TEST(DoubleArithmetic, QuotientsMatchTheExtendedWayOrAreLeftToIt) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> mantissa(1, 2);
    std::uniform_int_distribution<int> exponent(-1080, 1030);
    TTally everyMagnitude;
    for (int i = 0; i < 300000; ++i) {
        const double a = std::ldexp(mantissa(random), exponent(random)) * (i % 3 ? 1 : -1);
        const double b = std::ldexp(mantissa(random), exponent(random)) * (i % 5 ? 1 : -1);
        Expect(a, b, everyMagnitude);
    }
    // Decimal digits over powers of ten, as documents are read.
    std::uniform_int_distribution<std::int64_t> digits(1, 999999999999999);
    TTally decimals;
    for (int i = 0; i < 300000; ++i) {
        Expect(static_cast<double>(digits(random)), std::pow(10.0, 1 + i % 15), decimals);
    }
    EXPECT_GT(decimals.RoundedOnceDiffers, 20);
    EXPECT_LT(decimals.Unsure, decimals.Sure / 100);

    TTally edges;
    for (const double v : {0.0, -0.0, 0x1p-1074, DBL_MAX, 1.0, 3.0, 0x1p-500, 0x1p500}) {
        for (const double w : {3.0, 0x1p-1074, DBL_MAX, 1e-300, 7e300}) {
            Expect(v, w, edges);
            Expect(w, v == 0 ? 1.0 : v, edges);
        }
    }
}

} // namespace
} // namespace curvana
