#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

// A quotient of doubles in double arithmetic, for when that gives exactly what the quotient in
// extended precision, rounded once more to double, gives.
//
// The two roundings differ from the one rounding of double arithmetic only when the exact
// quotient lies within half an extended unit of the midpoint between two doubles (the extended
// rounding lands on the midpoint, whose tie then goes to the even neighbour). Divide computes
// the exact remainder beside the quotient and answers false ("unsure") when the quotient is
// within 2^-8 of a half unit from a midpoint, is a power of two, or an operand or the quotient
// lies outside 2^-500 .. 2^500 (then the remainder is exact and nothing overflows); the caller
// then computes in extended precision. About one quotient in 250 takes that way.

namespace curvana::doublearithmetic {

constexpr std::uint64_t SignMask = 0x7fffffffffffffffu;
constexpr std::uint64_t ExponentMask = 0x7ff0000000000000u;
constexpr std::uint64_t MantissaMask = 0x000fffffffffffffu;
// Exponent fields of 2^-500 and the width up to 2^500.
constexpr std::uint64_t ComfortableLow = std::uint64_t{1023 - 500} << 52;
constexpr std::uint64_t ComfortableWidth = std::uint64_t{1000} << 52;

inline bool Comfortable(double v) {
    return (std::bit_cast<std::uint64_t>(v) & ExponentMask) - ComfortableLow < ComfortableWidth;
}

// Half a unit in the last place of a comfortable double that is not a power of two (0 for a
// power of two, so that any non-zero error counts as near a midpoint).
inline double HalfUnit(double s) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(s) & SignMask;
    if ((bits & MantissaMask) == 0) {
        return 0;
    }
    return std::bit_cast<double>(bits & ExponentMask) * 0x1p-53;
}

// The exact error of the product a * b = p (comfortable operands and product).
inline double ProductError(double a, double b, double p) {
#ifdef __FMA__
    return std::fma(a, b, -p);
#else
    const auto split = [](double v, double& high, double& low) {
        const double c = 134217729.0 * v; // 2^27 + 1
        high = c - (c - v);
        low = v - high;
    };
    double ah = 0;
    double al = 0;
    double bh = 0;
    double bl = 0;
    split(a, ah, al);
    split(b, bh, bl);
    return ((ah * bh - p) + ah * bl + al * bh) + al * bl;
#endif
}

// b must not be 0.
inline bool Divide(double a, double b, double& out) {
    const double q = a / b;
    if (!Comfortable(a) || !Comfortable(b) || !Comfortable(q)) {
        return false;
    }
    // The remainder a - q * b is a double and computed exactly; the exact quotient is
    // q + remainder / b.
    const double ph = q * b;
    const double r = (a - ph) - ProductError(q, b, ph);
    if (r == 0 || std::fabs(r) < HalfUnit(q) * std::fabs(b) * (1 - 0x1p-8)) {
        out = q;
        return true;
    }
    return false;
}

} // namespace curvana::doublearithmetic
