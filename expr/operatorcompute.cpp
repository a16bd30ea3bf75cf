#include "expr/operatorcompute.h"

#include <chrono>

namespace curvana {

namespace operatorcompute {

namespace {

constexpr Extended PiExtended = 3.141592653589793238462643383279502884L;
constexpr Extended Tiny = 1E-16L;

std::uint32_t ClockCounter() {
    // Low 32 bits of a nanosecond clock: it changes between any two evaluations.
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

TRandomCounter RandomCounter = ClockCounter;

inline bool Power(double a, double b, double& out) {
    if (b == 0) {
        out = 1; // 0^0 too
        return true;
    }
    if (a == 0 && b > 0) {
        out = 0;
        return true;
    }
    if (std::trunc(b) == b && std::fabs(b) <= 2147483647.0) {
        return IntPower(a, static_cast<std::int64_t>(b), out);
    }
    // e^(b ln a): no logarithm of a negative base or of 0.
    if (!(a > 0)) {
        return false;
    }
    return Store(std::pow(a, b), out);
}

// Hyperbolic sine and cosine from exponentials in extended precision; false when they leave
// the extended range (|a| above about 11356).
inline bool HyperbolicParts(double a, Extended& sinh, Extended& cosh) {
    const Extended up = std::exp(static_cast<Extended>(a));
    const Extended down = std::exp(-static_cast<Extended>(a));
    if (std::isinf(up) || std::isinf(down)) {
        return false;
    }
    sinh = (up - down) / 2;
    cosh = (up + down) / 2;
    return true;
}

inline bool Tanh(double a, Extended& r) {
    if (std::fabs(static_cast<Extended>(a)) <= Tiny) {
        r = 0;
        return true;
    }
    Extended s = 0;
    Extended c = 0;
    if (!HyperbolicParts(a, s, c)) {
        return false;
    }
    r = s / c;
    return true;
}

// Where sinh, cosh and tanh come from the double library, at a sixth of the cost of two
// extended exponentials: up to 700 nothing overflows, so the limits stay those of the formula,
// and from 0.5 up the difference of the exponentials loses at most a bit of its 64 (below, the
// cancellation makes the formula's sinh and tanh less exact than the library's, so the formula
// stays). The library's results differ from the formula's in the last bit or two for about a
// quarter of the arguments, as sin or exp may.
inline bool DoubleHyperbolic(double a, bool cancels) {
    const double m = std::fabs(a);
    return m <= 700 && (!cancels || m >= 0.5);
}

} // namespace

bool ComputeOther(TOperatorCode code, double a, double b, double& out) {
    const Extended x = a;
    switch (code) {
    case TOperatorCode::Cot:
        return a != 0 && std::fabs(x) < Two63 && Store(1 / static_cast<Extended>(std::tan(a)), out);
    case TOperatorCode::ArcSin:
        return a >= -1 && a <= 1 && Store(std::atan2(x, std::sqrt(1 - x * x)), out);
    case TOperatorCode::ArcCos:
        return a >= -1 && a <= 1 && Store(std::atan2(std::sqrt(1 - x * x), x), out);
    case TOperatorCode::ArcTan:
        return Store(std::atan(a), out);
    case TOperatorCode::ArcCot: {
        // In (0, pi): arccot(-a) = pi - arccot(a).
        const Extended m = a >= 0 ? x : -x;
        const Extended c = std::fabs(m) <= Tiny ? PiExtended / 2 : std::atan(1 / m);
        return Store(a >= 0 ? c : PiExtended - c, out);
    }
    case TOperatorCode::Log10:
        return a > 0 && Store(std::log10(a), out);
    case TOperatorCode::Log2:
        return a > 0 && Store(std::log2(a), out);
    case TOperatorCode::Sign:
        out = a > 0 ? 1.0 : (a < 0 ? -1.0 : 0.0);
        return true;
    case TOperatorCode::Sinh:
    case TOperatorCode::Cosh: {
        const bool sine = code == TOperatorCode::Sinh;
        if (std::fabs(x) <= Tiny) {
            out = sine ? 0.0 : 1.0;
            return true;
        }
        if (DoubleHyperbolic(a, sine)) {
            return Store(sine ? std::sinh(a) : std::cosh(a), out);
        }
        Extended s = 0;
        Extended c = 0;
        return HyperbolicParts(a, s, c) && Store(sine ? s : c, out);
    }
    case TOperatorCode::Tanh: {
        if (std::fabs(x) > Tiny && DoubleHyperbolic(a, true)) {
            return Store(std::tanh(a), out);
        }
        Extended t = 0;
        return Tanh(a, t) && Store(t, out);
    }
    case TOperatorCode::Coth: {
        Extended t = 0;
        return Tanh(a, t) && t != 0 && Store(1 / t, out);
    }
    case TOperatorCode::ArcSinh: {
        // In extended precision the sum reaches 0 for large negative a: that fails.
        const Extended sum = x + std::sqrt(x * x + 1);
        return sum > 0 && Store(std::log(sum), out);
    }
    case TOperatorCode::ArcCosh:
        return a >= 1 && Store(std::log(x + (x + 1) * std::sqrt((x - 1) / (x + 1))), out);
    case TOperatorCode::ArcTanh:
        return a > -1 && a < 1 && Store(std::log((1 + x) / (1 - x)) / 2, out);
    case TOperatorCode::ArcCoth:
        return (a < -1 || a > 1) && Store(std::log((x + 1) / (x - 1)) / 2, out);
    case TOperatorCode::Random: {
        const double r = RoundHalfEven(a);
        if (!FitsInt64(r)) {
            return false;
        }
        const auto n = static_cast<std::uint32_t>(static_cast<std::int64_t>(r));
        const std::uint32_t seed = RandomCounter() * 134775813u + 1u;
        const auto high = static_cast<std::uint32_t>(
            (static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(seed)) >> 32);
        out = static_cast<double>(static_cast<std::int32_t>(high));
        return true;
    }
    case TOperatorCode::Power:
        return Power(a, b, out);
    default: // Compute handles the rest; Unknown fails
        return false;
    }
}

namespace {

struct TCodeName {
    const char* Name;
    TOperatorCode Code;
};

constexpr TCodeName CodeNames[] = {
    {"evaluate", TOperatorCode::Evaluate},
    {"sin", TOperatorCode::Sin},
    {"cos", TOperatorCode::Cos},
    {"neg", TOperatorCode::Neg},
    {"pos", TOperatorCode::Pos},
    {"tan", TOperatorCode::Tan},
    {"cot", TOperatorCode::Cot},
    {"arcsin", TOperatorCode::ArcSin},
    {"arccos", TOperatorCode::ArcCos},
    {"arctan", TOperatorCode::ArcTan},
    {"arccot", TOperatorCode::ArcCot},
    {"abs", TOperatorCode::Abs},
    {"sqrt", TOperatorCode::Sqrt},
    {"sqr", TOperatorCode::Sqr},
    {"ln", TOperatorCode::Ln},
    {"log10", TOperatorCode::Log10},
    {"log2", TOperatorCode::Log2},
    {"exp", TOperatorCode::Exp},
    {"int", TOperatorCode::Int},
    {"round", TOperatorCode::Round},
    {"frac", TOperatorCode::Frac},
    {"sign", TOperatorCode::Sign},
    {"sinh", TOperatorCode::Sinh},
    {"cosh", TOperatorCode::Cosh},
    {"tanh", TOperatorCode::Tanh},
    {"coth", TOperatorCode::Coth},
    {"arcsinh", TOperatorCode::ArcSinh},
    {"arccosh", TOperatorCode::ArcCosh},
    {"arctanh", TOperatorCode::ArcTanh},
    {"arccoth", TOperatorCode::ArcCoth},
    {"random", TOperatorCode::Random},
    {"^", TOperatorCode::Power},
    {"*", TOperatorCode::Multiply},
    {"/", TOperatorCode::Divide},
    {"+", TOperatorCode::Add},
    {"-", TOperatorCode::Subtract},
    {">=", TOperatorCode::GreaterEqual},
    {"<=", TOperatorCode::LessEqual},
    {"<>", TOperatorCode::NotEqual},
    {"=", TOperatorCode::Equal},
    {"<", TOperatorCode::Less},
    {">", TOperatorCode::Greater},
    {"not", TOperatorCode::Not},
    {"and", TOperatorCode::And},
    {"or", TOperatorCode::Or},
    {"xor", TOperatorCode::Xor},
};

} // namespace

} // namespace operatorcompute

using namespace operatorcompute;

TOperatorCode OperatorCodeOf(std::string_view name) {
    for (const TCodeName& c : CodeNames) {
        if (name == c.Name) {
            return c.Code;
        }
    }
    return TOperatorCode::Unknown;
}

bool ComputeOperator(TOperatorCode code, double a, double b, double& result) {
    double r = 0;
    // PowerByInteger carries its exponent in the compiled step, not in b.
    const bool ok = code != TOperatorCode::PowerByInteger && Compute(code, &a, &b, 0, r);
    result = ok ? r : 0.0;
    return ok;
}

void SetRandomCounter(TRandomCounter counter) {
    RandomCounter = counter != nullptr ? counter : ClockCounter;
}

} // namespace curvana
