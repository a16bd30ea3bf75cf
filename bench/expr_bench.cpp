// Nanoseconds per evaluation of the expressions that plotting uses, three ways: our engine
// (TExpCal::Evaluate), muparser (the same expressions in its syntax) and plain C++ functions.
// x walks over [-5, 5) in steps of 0.01 as a plot does; y stays 3. Also the compile time of
// expressions of 7,000 and 100,000 tokens.
#include "common/decimalseparator.h"
#include "expr/expcal.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

using namespace curvana;

double NativeX(double x, double) {
    return x;
}
double NativeQuadratic(double x, double) {
    return 2 * x * x - 3 * x + 1;
}
double NativeSinCos(double x, double) {
    return std::sin(x) + std::cos(x);
}
double NativeBell(double x, double) {
    return std::sqrt(std::fabs(x)) * std::exp(-x * x / 4);
}
double NativeWitch(double x, double) {
    return 1 / (1 + x * x);
}
double NativeTan(double x, double) {
    return std::tan(x);
}
double NativeLn(double x, double) {
    return std::log(x);
}
double NativeDisc(double x, double y) {
    return (x * x + y * y - 25) < 0 ? 1 : 0;
}
double NativeCubic(double x, double) {
    return x * x * x - 3 * x;
}
double NativeRoundFrac(double x, double) {
    return std::nearbyint(x) * (x - std::trunc(x));
}

double NativeQuartic(double x, double) {
    return x * x * x * x - 3 * x * x * x + 2 * x * x - x + 5;
}
double NativeRational(double x, double) {
    return (x * x * x - 2 * x + 1) / (x * x + 1);
}
double NativeTrigMix(double x, double) {
    const double s = std::sin(x);
    return std::sin(2 * x) * std::cos(x / 3) + s * s;
}
double NativeExpLn(double x, double) {
    return std::exp(x / 5) * std::log(x * x + 1);
}
double NativeSqrt(double x, double) {
    return std::sqrt(x * x + 1);
}
double NativeAbs(double x, double) {
    return std::fabs(x - 1) + std::fabs(x + 1);
}
double NativeNestedPowers(double x, double) {
    const double q = x / 4;
    const double inner = q * q + 1;
    return inner * inner * inner;
}
double NativeLong(double x, double y) {
    return std::sin(x) * std::cos(2 * x) + x * x / (1 + std::fabs(x)) - std::exp(-x * x) +
           std::sqrt(x * x + 4) * std::log(x * x + 1) + y * x / 7;
}
double NativeGauss(double x, double) {
    const double d = x - 1;
    return std::exp(-d * d / 2) / std::sqrt(2 * std::numbers::pi);
}
double NativeHyperbolic(double x, double) {
    return std::tanh(2 * x) + std::cosh(x / 2) / 4;
}
double NativeIntegerPowers(double x, double) {
    const double x2 = x * x;
    const double x4 = x2 * x2;
    return x4 * x2 / 100 - x4 * x;
}

double MuFrac(double v) {
    return v - std::trunc(v);
}

struct TCase {
    const char* Ours;
    const char* MuParser; // explicit "*", rint for round, frac defined below
    double (*Native)(double, double);
};

const TCase Cases[] = {
    {"x", "x", NativeX},
    {"2x^2-3x+1", "2*x^2-3*x+1", NativeQuadratic},
    {"sin(x)+cos(x)", "sin(x)+cos(x)", NativeSinCos},
    {"sqrt(abs(x))*exp(-x^2/4)", "sqrt(abs(x))*exp(-(x^2)/4)", NativeBell},
    {"1/(1+x^2)", "1/(1+x^2)", NativeWitch},
    {"tan(x)", "tan(x)", NativeTan},
    {"ln(x)", "ln(x)", NativeLn},
    {"(x^2+y^2-25)<0", "(x^2+y^2-25)<0", NativeDisc},
    {"x^3-3x", "x^3-3*x", NativeCubic},
    {"round(x)*frac(x)", "rint(x)*frac(x)", NativeRoundFrac},
    {"x^4-3x^3+2x^2-x+5", "x^4-3*x^3+2*x^2-x+5", NativeQuartic},
    {"(x^3-2x+1)/(x^2+1)", "(x^3-2*x+1)/(x^2+1)", NativeRational},
    {"sin(2x)cos(x/3)+sin(x)^2", "sin(2*x)*cos(x/3)+sin(x)^2", NativeTrigMix},
    {"exp(x/5)*ln(x^2+1)", "exp(x/5)*ln(x^2+1)", NativeExpLn},
    {"sqrt(x^2+1)", "sqrt(x^2+1)", NativeSqrt},
    {"abs(x-1)+abs(x+1)", "abs(x-1)+abs(x+1)", NativeAbs},
    {"((x/4)^2+1)^3", "((x/4)^2+1)^3", NativeNestedPowers},
    {"sin(x)cos(2x)+x^2/(1+abs(x))-exp(-x^2)+sqrt(x^2+4)ln(x^2+1)+y*x/7",
     "sin(x)*cos(2*x)+x^2/(1+abs(x))-exp(-(x^2))+sqrt(x^2+4)*ln(x^2+1)+y*x/7", NativeLong},
    {"exp(-(x-1)^2/2)/sqrt(2PI)", "exp(-((x-1)^2)/2)/sqrt(2*_pi)", NativeGauss},
    {"tanh(2x)+cosh(x/2)/4", "tanh(2*x)+cosh(x/2)/4", NativeHyperbolic},
    {"x^6/100-x^5", "x^6/100-x^5", NativeIntegerPowers},
};

constexpr double WalkStart = -5;
constexpr double WalkEnd = 5;
constexpr double WalkStep = 0.01;
constexpr double Y = 3;

struct TEngine {
    TOperatorLib Library;
    TVarMemory Variables;
    TVarMemory Constants;
    TEngine() {
        AddPlotVariables(Variables);
        Variables.SetValue("y", Y);
        AddPlotConstants(Constants);
    }
};

void MakeMuParser(mu::Parser& parser, const char* expression, double* x, double* y) {
    parser.DefineVar("x", x);
    parser.DefineVar("y", y);
    parser.DefineFun("frac", MuFrac);
    parser.SetExpr(expression);
}

void BM_Ours(benchmark::State& state) {
    const TCase& c = Cases[state.range(0)];
    TEngine e;
    TExpCal cal(c.Ours, e.Library, e.Variables, e.Constants);
    TVarItem* x = e.Variables.At(e.Variables.IndexOf("x"));
    double sum = 0;
    double v = WalkStart;
    for (auto _ : state) {
        x->Value = v;
        if (cal.Evaluate()) {
            sum += cal.Value;
        }
        v += WalkStep;
        if (v >= WalkEnd) {
            v = WalkStart;
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetLabel(c.Ours);
}

// Samples per batch, as a plotter hands them over; the time per iteration is for the whole block.
constexpr std::size_t BatchSize = 256;

void BM_OursBatch(benchmark::State& state) {
    const TCase& c = Cases[state.range(0)];
    TEngine e;
    TExpCal cal(c.Ours, e.Library, e.Variables, e.Constants);
    const TBatchVariable x{e.Variables.At(e.Variables.IndexOf("x")), nullptr};
    const auto walk = static_cast<std::size_t>((WalkEnd - WalkStart) / WalkStep);
    std::vector<double> xs(walk + BatchSize);
    double v = WalkStart;
    for (double& sample : xs) {
        sample = v;
        v = v + WalkStep >= WalkEnd ? WalkStart : v + WalkStep;
    }
    std::vector<double> values(BatchSize);
    std::vector<std::uint8_t> ok(BatchSize);
    double sum = 0;
    std::size_t first = 0;
    for (auto _ : state) {
        const TBatchVariable input[] = {{x.Item, xs.data() + first}};
        cal.EvaluateBatch(input, BatchSize, values.data(), ok.data());
        for (std::size_t i = 0; i < BatchSize; ++i) {
            sum += ok[i] != 0 ? values[i] : 0;
        }
        first = (first + BatchSize) % walk;
    }
    benchmark::DoNotOptimize(sum);
    state.SetLabel(c.Ours);
}

void BM_MuParser(benchmark::State& state) {
    const TCase& c = Cases[state.range(0)];
    double x = WalkStart;
    double y = Y;
    mu::Parser parser;
    MakeMuParser(parser, c.MuParser, &x, &y);
    double sum = 0;
    for (auto _ : state) {
        const double r = parser.Eval();
        if (std::isfinite(r)) {
            sum += r;
        }
        x += WalkStep;
        if (x >= WalkEnd) {
            x = WalkStart;
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetLabel(c.MuParser);
}

void BM_Native(benchmark::State& state) {
    const TCase& c = Cases[state.range(0)];
    // Called through a pointer, as a plotter would call a compiled function.
    double (*volatile function)(double, double) = c.Native;
    double sum = 0;
    double x = WalkStart;
    for (auto _ : state) {
        const double r = function(x, Y);
        if (std::isfinite(r)) {
            sum += r;
        }
        x += WalkStep;
        if (x >= WalkEnd) {
            x = WalkStart;
        }
    }
    benchmark::DoNotOptimize(sum);
}

// About `tokens` tokens: "sin(x)*2+" is 7 of them.
std::string ManyTokens(std::int64_t tokens) {
    std::string text;
    for (std::int64_t i = 0; i < tokens / 7; ++i) {
        text += "sin(x)*2+";
    }
    return text + "x";
}

void BM_OursCompile(benchmark::State& state) {
    const std::string text = ManyTokens(state.range(0));
    TEngine e;
    int tokens = 0;
    for (auto _ : state) {
        TExpCal cal(text, e.Library, e.Variables, e.Constants);
        tokens = cal.Tokens().Count();
        benchmark::DoNotOptimize(cal.Compiled);
    }
    state.counters["tokens"] = tokens;
}

// muparser refuses texts beyond 10,000 characters ("Expression too long"), so the comparison
// is made at 7,000 tokens.
void BM_MuParserCompile(benchmark::State& state) {
    const std::string text = ManyTokens(state.range(0));
    double x = 0.5;
    double y = Y;
    for (auto _ : state) {
        mu::Parser parser;
        MakeMuParser(parser, text.c_str(), &x, &y);
        try {
            benchmark::DoNotOptimize(parser.Eval()); // muparser parses on the first evaluation
        } catch (const mu::Parser::exception_type& error) {
            state.SkipWithError(error.GetMsg().c_str());
            break;
        }
    }
}

// The three ways must compute the same function, or the comparison means nothing.
bool CheckAgreement() {
    bool ok = true;
    for (const TCase& c : Cases) {
        TEngine e;
        TExpCal cal(c.Ours, e.Library, e.Variables, e.Constants);
        double x = 0;
        double y = Y;
        mu::Parser parser;
        MakeMuParser(parser, c.MuParser, &x, &y);
        for (double v = WalkStart + 0.0025; v < WalkEnd; v += 0.37) {
            e.Variables.SetValue("x", v);
            x = v;
            const double native = c.Native(v, Y);
            const double mu = parser.Eval();
            const bool ours = cal.Evaluate();
            const auto close = [](double a, double b) {
                return std::fabs(a - b) <= 1e-12 * std::fmax(1, std::fabs(b));
            };
            if (ours != std::isfinite(native) || (ours && !close(cal.Value, native)) ||
                std::isfinite(mu) != std::isfinite(native) ||
                (std::isfinite(mu) && !close(mu, native))) {
                std::fprintf(
                    stderr,
                    "disagreement for %s at x = %g: ours %d %.17g, muparser %.17g, native %.17g\n",
                    c.Ours, v, ours, cal.Value, mu, native);
                ok = false;
            }
        }
    }
    return ok;
}

} // namespace

BENCHMARK(BM_Ours)->DenseRange(0, std::size(Cases) - 1);
BENCHMARK(BM_OursBatch)->DenseRange(0, std::size(Cases) - 1);
BENCHMARK(BM_MuParser)->DenseRange(0, std::size(Cases) - 1);
BENCHMARK(BM_Native)->DenseRange(0, std::size(Cases) - 1);
BENCHMARK(BM_OursCompile)->Arg(7000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MuParserCompile)->Arg(7000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    curvana::SetDecimalSeparator('.');
    if (!CheckAgreement()) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
