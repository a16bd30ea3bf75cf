#include "expr/expcal.h"

// Loading an operand once for all operators would route it through an SSE register and the
// stack before it reaches the extended registers.
#pragma GCC optimize("no-code-hoisting")

#include <chrono>
#include <cmath>

namespace curvana {

namespace {

using Extended = long double;

constexpr Extended Two63 = 9223372036854775808.0L;
constexpr Extended PiExtended = 3.141592653589793238462643383279502884L;
constexpr Extended Tiny = 1E-16L;

std::uint32_t ClockCounter() {
    // Low 32 bits of a nanosecond clock: it changes between any two evaluations.
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

TRandomCounter RandomCounter = ClockCounter;

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

// The operators that Compute leaves to a call: those plots use less often.
[[gnu::noinline]] bool ComputeOther(TOperatorCode code, double a, double b, double& out) {
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
        Extended s = 0;
        Extended c = 0;
        return HyperbolicParts(a, s, c) && Store(sine ? s : c, out);
    }
    case TOperatorCode::Tanh: {
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

bool TExpCal::Evaluate() {
    // The usual case costs one test: compiled, resolved against the list as it is now, and no
    // caller name in the way of the temporaries.
    if (Compiled && FastStamp == VariableList->Stamp()) {
        return Run();
    }
    if (!Compiled || Steps.empty()) {
        Value = 0;
        return false;
    }
    if (!Resolved || ResolvedStamp != VariableList->Stamp()) {
        Resolve();
    }
    if (ByNames) {
        return EvaluateByNames();
    }
    if (ZeroResults) {
        for (const TStep& step : Steps) {
            *step.Result = 0;
        }
    } else {
        FastStamp = ResolvedStamp;
    }
    return Run();
}

bool TExpCal::Run() {
    for (const TStep& step : Steps) {
        if (!Compute(step.Code, step.A, step.B, step.Exponent, *step.Result)) {
            *step.Result = 0;
            Value = 0;
            return false;
        }
    }
    Value = *Steps.back().Result;
    return true;
}

bool TExpCal::EvaluateByNames() {
    const int count = InstructionCount();
    if (!Compiled || count == 0) {
        Value = 0;
        return false;
    }
    auto slot = [this](int instruction, int index) -> TExpFactor& {
        return *InstructionList.At(4 * instruction + index);
    };
    for (int k = 0; k < count; ++k) {
        VariableList->AddVariable(slot(k, 0).Name, 0);
    }
    auto valueOf = [this](const TExpFactor& f) {
        if (f.Kind == fkNumber || f.Kind == fkConstant) {
            return f.Value;
        }
        return f.Kind == fkVariable ? VariableList->ValueOf(f.Name) : 0.0;
    };
    bool ok = true;
    for (int k = 0; k < count && ok; ++k) {
        double r = 0;
        ok = ComputeOperator(OperatorCodeOf(slot(k, 3).Name), valueOf(slot(k, 1)),
                             valueOf(slot(k, 2)), r);
        slot(k, 0).Value = r;
        VariableList->SetValue(slot(k, 0).Name, r);
    }
    for (int k = 0; k < count; ++k) {
        VariableList->RemoveVariable(slot(k, 0).Name);
    }
    Value = ok ? slot(count - 1, 0).Value : 0;
    return ok;
}

} // namespace curvana
