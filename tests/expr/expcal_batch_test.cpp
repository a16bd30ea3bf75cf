// Batch evaluation, constant folding and the one-at-a-time evaluation must give the same values
// and the same failures, bit for bit.
#include "engine.h"

#include "common/decimalseparator.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <vector>

namespace curvana {
namespace {

using testing::TEngine;

// The expressions of the evaluation benchmark, and expressions that fail on parts of the walk
// (domain errors, overflow, division by zero, the extended range of tanh).
const char* const Expressions[] = {
    "x",
    "2x^2-3x+1",
    "sin(x)+cos(x)",
    "sqrt(abs(x))*exp(-x^2/4)",
    "1/(1+x^2)",
    "tan(x)",
    "ln(x)",
    "(x^2+y^2-25)<0",
    "x^3-3x",
    "round(x)*frac(x)",
    "x^4-3x^3+2x^2-x+5",
    "(x^3-2x+1)/(x^2+1)",
    "sin(2x)cos(x/3)+sin(x)^2",
    "exp(x/5)*ln(x^2+1)",
    "sqrt(x^2+1)",
    "abs(x-1)+abs(x+1)",
    "((x/4)^2+1)^3",
    "sin(x)cos(2x)+x^2/(1+abs(x))-exp(-x^2)+sqrt(x^2+4)ln(x^2+1)+y*x/7",
    "exp(-(x-1)^2/2)/sqrt(2PI)",
    "tanh(2x)+cosh(x/2)/4",
    "x^6/100-x^5",
    "1/x",
    "sqrt(x)+2*3",
    "x^(-2)",
    "exp(x*300)",
    "2^(x*400)-1",
    "1/(x-x)",
    "arctanh(x/6)",
    "x^(1/3)",
    "tanh(x*5000)+sinh(x*200)",
    "coth(x)*cosh(x*150)",
    "ln(0)+x",
    "sqr(x*1E200)",
    "(2+3)*x/(4-2^2)",
    "x/1E-310",
};

// A plot's walk and the values where the operators change their behaviour.
std::vector<double> Samples() {
    std::vector<double> xs;
    for (double x = -5; x < 5; x += 0.01) {
        xs.push_back(x);
    }
    for (const double x : {0.0, -0.0, 1e-320, -1e-320, 1.0, -1.0, 2.5, 6.0, -6.0, 5e307, -1e308,
                           2.27, 2.28, 0.5, 0.125, 710.0, 711.0}) {
        xs.push_back(x);
    }
    return xs;
}

std::uint64_t Bits(double v) {
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

TEST(ExpCalBatch, SameValuesAndFailuresAsOneAtATimeInBatchesOfOddSizes) {
    TDecimalSeparatorScope scope('.');
    const std::vector<double> xs = Samples();
    std::vector<double> ys(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i) {
        ys[i] = 4.5 - xs[i] / 3;
    }
    for (const char* text : Expressions) {
        TEngine single;
        TEngine named;
        TExpCal one(text, single.Library, single.Variables, single.Constants);
        TExpCal byNames(text, named.Library, named.Variables, named.Constants);
        std::vector<double> expected(xs.size());
        std::vector<std::uint8_t> expectedOk(xs.size());
        int failures = 0;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            single.Variables.SetValue("x", xs[i]);
            single.Variables.SetValue("y", ys[i]);
            named.Variables.SetValue("x", xs[i]);
            named.Variables.SetValue("y", ys[i]);
            expectedOk[i] = one.Evaluate() ? 1 : 0;
            expected[i] = one.Value;
            ASSERT_EQ(byNames.EvaluateByNames(), expectedOk[i] != 0) << text << " at " << xs[i];
            ASSERT_EQ(Bits(byNames.Value), Bits(expected[i])) << text << " at " << xs[i];
            failures += expectedOk[i] == 0 ? 1 : 0;
        }
        for (const std::size_t size : {std::size_t{1}, std::size_t{3}, std::size_t{7},
                                       std::size_t{255}, std::size_t{257}, xs.size()}) {
            TEngine e;
            TExpCal batch(text, e.Library, e.Variables, e.Constants);
            TVarItem* x = e.Variables.At(e.Variables.IndexOf("x"));
            TVarItem* y = e.Variables.At(e.Variables.IndexOf("y"));
            std::vector<double> values(xs.size(), -1);
            std::vector<std::uint8_t> ok(xs.size(), 7);
            for (std::size_t first = 0; first < xs.size(); first += size) {
                const std::size_t n = std::min(size, xs.size() - first);
                const TBatchVariable inputs[] = {{x, xs.data() + first}, {y, ys.data() + first}};
                batch.EvaluateBatch(inputs, n, values.data() + first, ok.data() + first);
                // Left as after the last sample of the batch.
                ASSERT_EQ(x->Value, xs[first + n - 1]);
                ASSERT_EQ(Bits(batch.Value), Bits(expected[first + n - 1])) << text;
                ASSERT_EQ(e.VariableNames(), (std::vector<std::string>{"x", "y", "t", "a"}));
            }
            for (std::size_t i = 0; i < xs.size(); ++i) {
                ASSERT_EQ(ok[i], expectedOk[i]) << text << " at " << xs[i] << " size " << size;
                ASSERT_EQ(Bits(values[i]), Bits(expected[i]))
                    << text << " at " << xs[i] << " size " << size;
            }
        }
        if (std::string(text).find("1/(x-x)") != std::string::npos ||
            std::string(text).find("ln(0)") != std::string::npos) {
            EXPECT_EQ(failures, static_cast<int>(xs.size())) << text;
        }
    }
}

// Small batches run over lanes planned once, refilled before every run, as the implicit curve's
// tracer evaluates a split's midpoints and a cell's probes.
TEST(ExpCalBatch, PreparedLanesGiveTheOneAtATimeValuesAndTouchNothingElse) {
    TDecimalSeparatorScope scope('.');
    const std::vector<double> xs = Samples();
    constexpr std::size_t Lanes = 6;
    for (const char* text : Expressions) {
        TEngine single;
        TExpCal one(text, single.Library, single.Variables, single.Constants);
        TEngine e;
        TExpCal cal(text, e.Library, e.Variables, e.Constants);
        TVarItem* x = e.Variables.At(e.Variables.IndexOf("x"));
        TVarItem* y = e.Variables.At(e.Variables.IndexOf("y"));
        double laneX[Lanes] = {};
        double laneY[Lanes] = {};
        const TBatchVariable inputs[] = {{x, laneX}, {y, laneY}};
        ASSERT_EQ(cal.PrepareLanes(inputs, Lanes), cal.Compiled) << text;
        if (!cal.Compiled)
            continue;
        x->Value = 123;
        y->Value = 456;
        cal.Value = 789;
        for (std::size_t first = 0; first < xs.size(); first += Lanes) {
            // Batches of every size from one to the most prepared.
            const std::size_t n = std::min(1 + first / Lanes % Lanes, xs.size() - first);
            for (std::size_t i = 0; i < n; ++i) {
                laneX[i] = xs[first + i];
                laneY[i] = 4.5 - xs[first + i] / 3;
            }
            double values[Lanes];
            std::uint8_t ok[Lanes];
            ASSERT_TRUE(cal.RunLanes(n, values, ok)) << text;
            for (std::size_t i = 0; i < n; ++i) {
                single.Variables.SetValue("x", laneX[i]);
                single.Variables.SetValue("y", laneY[i]);
                const bool expectedOk = one.Evaluate();
                ASSERT_EQ(ok[i] != 0, expectedOk) << text << " at " << laneX[i];
                ASSERT_EQ(Bits(values[i]), Bits(one.Value)) << text << " at " << laneX[i];
            }
        }
        EXPECT_EQ(x->Value, 123);
        EXPECT_EQ(y->Value, 456);
        EXPECT_EQ(cal.Value, 789);
    }
}

TEST(ExpCalBatch, LanesRefuseWhatTheyCannotRun) {
    TEngine e;
    TVarItem* x = e.Variables.At(e.Variables.IndexOf("x"));
    double laneX[4] = {1, 2, 3, 4};
    const TBatchVariable inputs[] = {{x, laneX}};
    double values[4];
    std::uint8_t ok[4];

    TExpCal random("random(x)", e.Library, e.Variables, e.Constants);
    EXPECT_FALSE(random.PrepareLanes(inputs, 4)); // its numbers come one at a time, in order
    EXPECT_FALSE(random.RunLanes(1, values, ok));

    TExpCal broken("x+", e.Library, e.Variables, e.Constants);
    EXPECT_FALSE(broken.PrepareLanes(inputs, 4));

    TExpCal square("x*x", e.Library, e.Variables, e.Constants);
    ASSERT_TRUE(square.PrepareLanes(inputs, 4));
    EXPECT_FALSE(square.RunLanes(1000, values, ok)); // more than the plan's lanes
    ASSERT_TRUE(square.RunLanes(4, values, ok));
    EXPECT_EQ(values[3], 16);
    // A new variable may move the items the plan reads: it is not used any more.
    e.Variables.SetValue("z", 1);
    EXPECT_FALSE(square.RunLanes(4, values, ok));
    ASSERT_TRUE(square.PrepareLanes(inputs, 4));
    EXPECT_TRUE(square.RunLanes(4, values, ok));
}

TEST(ExpCalBatch, RandomStaysOneAtATimeInOrder) {
    static std::uint32_t tick = 0;
    auto counter = [] { return ++tick; };
    SetRandomCounter(counter);
    const std::vector<double> xs = {1000, 2000, 3000, 4000, 5000, 6000, 7000};
    TEngine e;
    TExpCal cal("random(x)+x*0", e.Library, e.Variables, e.Constants);
    EXPECT_FALSE(cal.Repeatable());
    tick = 0;
    std::vector<double> expected;
    for (const double x : xs) {
        e.Variables.SetValue("x", x);
        ASSERT_TRUE(cal.Evaluate());
        expected.push_back(cal.Value);
    }
    tick = 0;
    std::vector<double> values(xs.size());
    std::vector<std::uint8_t> ok(xs.size());
    const TBatchVariable input[] = {{e.Variables.At(e.Variables.IndexOf("x")), xs.data()}};
    cal.EvaluateBatch(input, xs.size(), values.data(), ok.data());
    EXPECT_EQ(values, expected);
    EXPECT_EQ(tick, xs.size());
    SetRandomCounter(nullptr);
}

TEST(ExpCalBatch, FoldingKeepsInstructionsAndNeverFoldsRandomOrFailures) {
    TDecimalSeparatorScope scope('.');
    static std::uint32_t tick = 0;
    SetRandomCounter([] { return tick += 0x9E3779B9u; });
    struct TCase {
        const char* Text;
        int Instructions;
        bool Ok;
    };
    const TCase cases[] = {
        {"2*3+4", 2, true},        // all folded: the result is in place without a step
        {"sqrt(2PI)*x", 3, true},  // a constant prefix and a variable step
        {"ln(0)+x", 2, false},     // a failing constant step fails every evaluation
        {"1/0*0+x", 3, false},     // as does one whose failure is hidden by a later step
        {"random(1000)", 1, true}, // never folded: a new number each time
        {"2^1000*2^30", 3, false}, // folded steps, then an overflowing one
    };
    for (const TCase& c : cases) {
        TEngine e;
        e.Variables.SetValue("x", 1.5);
        TExpCal cal(c.Text, e.Library, e.Variables, e.Constants);
        EXPECT_EQ(cal.InstructionCount(), c.Instructions) << c.Text;
        std::vector<double> values;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(cal.Evaluate(), c.Ok) << c.Text;
            values.push_back(cal.Value);
        }
        TExpCal named(c.Text, e.Library, e.Variables, e.Constants);
        if (std::string_view(c.Text).starts_with("random")) {
            EXPECT_NE(values[0], values[1]);
            EXPECT_NE(values[1], values[2]);
        } else {
            EXPECT_EQ(named.EvaluateByNames(), c.Ok) << c.Text;
            EXPECT_EQ(values[3], named.Value) << c.Text;
        }
    }
    SetRandomCounter(nullptr);
}

} // namespace
} // namespace curvana
