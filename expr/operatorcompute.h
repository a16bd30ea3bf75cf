#pragma once

// What one instruction computes, shared by the one-at-a-time and the batch evaluation. Only
// the evaluator's sources include this.

// Loading an operand once for all operators would route it through an SSE register and the
// stack before it reaches the extended registers.
#pragma GCC optimize("no-code-hoisting")

#include "expr/operatorcode.h"

#include <cmath>
#include <cstdint>

namespace curvana::operatorcompute {

using Extended = long double;

constexpr Extended Two63 = 9223372036854775808.0L;

// The smallest magnitude that rounds to infinity when stored as a double: the largest double
// plus half its last unit. Checking before the store keeps the value in extended registers.
constexpr Extended StoreLimit = 0x1.fffffffffffff8p+1023L;

// The result is stored as a double; a value beyond its range, or not a number, is a fault.
inline bool Store(Extended r, double& out) {
    if (!(std::fabs(r) < StoreLimit)) {
        return false;
    }
    out = static_cast<double>(r);
    return true;
}

// Nearest integer, ties to the even one, whatever the rounding mode is.
inline double RoundHalfEven(double a) {
    const double down = std::floor(a);
    const double fraction = a - down; // exact
    if (fraction > 0.5) {
        return down + 1.0;
    }
    if (fraction < 0.5) {
        return down;
    }
    return std::floor(down * 0.5) * 2.0 == down ? down : down + 1.0;
}

inline bool FitsInt64(double r) {
    return r >= -Two63 && r < Two63;
}

// a raised to an integer by repeated squaring, in extended precision. An intermediate beyond
// the extended range ends as infinity and fails when stored; the reciprocal of 0 fails.
inline bool IntPower(double a, std::int64_t exponent, double& out) {
    std::uint64_t e =
        exponent < 0 ? static_cast<std::uint64_t>(-exponent) : static_cast<std::uint64_t>(exponent);
    Extended base = a;
    Extended r = 1;
    while (true) {
        if (e & 1u) {
            r *= base;
        }
        e >>= 1;
        if (e == 0) {
            break;
        }
        base *= base;
    }
    if (exponent < 0) {
        if (r == 0 || std::isinf(r)) {
            return false;
        }
        r = 1 / r;
    }
    return Store(r, out);
}

// The operators that Compute leaves to a call: those plots use less often.
[[gnu::noinline]] bool ComputeOther(TOperatorCode code, double a, double b, double& out);

// One dispatch per instruction. Operands are read where they are used, so that the arithmetic
// loads them straight into extended registers. The elementary functions of one double argument
// (sin, cos, tan, exp, ln, ...) come from the double library: its results are the correctly
// rounded ones in practice, where the extended versions cost five to fifteen times as much; the
// limits of the table (2^63, the double range) are tested as defined.
[[gnu::always_inline]] inline bool Compute(TOperatorCode code, const double* a, const double* b,
                                           std::int32_t exponent, double& out) {
    switch (code) {
    case TOperatorCode::Evaluate:
    case TOperatorCode::Pos: {
        const double v = *a;
        out = v;
        return std::isfinite(v);
    }
    case TOperatorCode::Neg: {
        const double v = -*a;
        out = v;
        return std::isfinite(v);
    }
    case TOperatorCode::Add:
        return Store(static_cast<Extended>(*a) + *b, out);
    case TOperatorCode::Subtract:
        return Store(static_cast<Extended>(*a) - *b, out);
    case TOperatorCode::Multiply:
        return Store(static_cast<Extended>(*a) * *b, out);
    case TOperatorCode::Divide:
        return *b != 0 && Store(static_cast<Extended>(*a) / *b, out);
    case TOperatorCode::Sqr:
        return Store(static_cast<Extended>(*a) * *a, out);
    case TOperatorCode::PowerByInteger: {
        const double v = *a;
        if (v == 0) {
            out = 0;
            return exponent > 0; // a negative exponent takes the reciprocal of 0
        }
        if (exponent == 2) {
            return Store(static_cast<Extended>(v) * v, out);
        }
        if (exponent == 3) {
            const Extended square = static_cast<Extended>(v) * v;
            return Store(v * square, out);
        }
        return IntPower(v, exponent, out);
    }
    case TOperatorCode::Sin: {
        const double v = *a;
        return Store(std::fabs(v) >= Two63 ? 0.0 : std::sin(v), out);
    }
    case TOperatorCode::Cos: {
        const double v = *a;
        return Store(std::fabs(v) >= Two63 ? 0.0 : std::cos(v), out);
    }
    case TOperatorCode::Tan: {
        const double v = *a;
        return std::fabs(v) < Two63 && Store(std::tan(v), out);
    }
    case TOperatorCode::Abs:
        out = std::fabs(*a);
        return std::isfinite(out);
    case TOperatorCode::Sqrt: {
        const double v = *a;
        return v >= 0 && Store(std::sqrt(v), out);
    }
    case TOperatorCode::Ln: {
        const double v = *a;
        return v > 0 && Store(std::log(v), out);
    }
    case TOperatorCode::Exp:
        return Store(std::exp(*a), out);
    case TOperatorCode::Int:
        return Store(std::trunc(*a), out);
    case TOperatorCode::Round: {
        const double r = RoundHalfEven(*a);
        return FitsInt64(r) && Store(r, out);
    }
    case TOperatorCode::Frac: {
        const double v = *a;
        return Store(v - std::trunc(v), out);
    }
    case TOperatorCode::GreaterEqual:
        out = *a >= *b ? 1.0 : 0.0;
        return true;
    case TOperatorCode::LessEqual:
        out = *a <= *b ? 1.0 : 0.0;
        return true;
    case TOperatorCode::NotEqual:
        out = *a != *b ? 1.0 : 0.0;
        return true;
    case TOperatorCode::Equal:
        out = *a == *b ? 1.0 : 0.0;
        return true;
    case TOperatorCode::Less:
        out = *a < *b ? 1.0 : 0.0;
        return true;
    case TOperatorCode::Greater:
        out = *a > *b ? 1.0 : 0.0;
        return true;
    case TOperatorCode::Not:
        out = *a == 0 ? 1.0 : 0.0;
        return true;
    case TOperatorCode::And:
        out = *a != 0 && *b != 0 ? 1.0 : 0.0;
        return true;
    case TOperatorCode::Or:
        out = *a != 0 || *b != 0 ? 1.0 : 0.0;
        return true;
    case TOperatorCode::Xor:
        out = (*a != 0) != (*b != 0) ? 1.0 : 0.0;
        return true;
    default:
        return ComputeOther(code, *a, *b, out);
    }
}

} // namespace curvana::operatorcompute
