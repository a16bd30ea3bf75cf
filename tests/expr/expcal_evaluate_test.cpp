#include "engine.h"

#include "common/decimalseparator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace curvana {
namespace {

using testing::TEngine;

constexpr double Pi = 3.141592653589793;
constexpr double Two63 = 9223372036854775808.0;

struct EvalCase {
    const char* expression;
    double x;
    bool ok;
    double value; // checked only when ok
    double y = 0;
};

void Check(const EvalCase* begin, const EvalCase* end) {
    TDecimalSeparatorScope scope('.');
    for (const EvalCase* c = begin; c != end; ++c) {
        TEngine e;
        e.Variables.SetValue("x", c->x);
        e.Variables.SetValue("y", c->y);
        TExpCal cal(c->expression, e.Library, e.Variables, e.Constants);
        const bool ok = cal.Evaluate();
        EXPECT_EQ(ok, c->ok) << c->expression << " at x = " << c->x;
        if (ok && c->ok) {
            EXPECT_DOUBLE_EQ(cal.Value, c->value) << c->expression << " at x = " << c->x;
        } else if (!ok) {
            EXPECT_EQ(cal.Value, 0) << c->expression;
        }
        EXPECT_EQ(e.VariableNames(), (std::vector<std::string>{"x", "y", "t", "a"}))
            << c->expression;
        EXPECT_EQ(e.Variables.ValueOf("x"), c->x) << c->expression;
    }
}

TEST(ExpCalEvaluate, MainPaths) {
    const EvalCase cases[] = {
        {"x", 3, true, 3},
        {"2x^2-3x+1", 1.5, true, 1},
        {"2x^2-3x+1", -2, true, 15},
        {"", 0, false, 0},
        {"2 3", 0, false, 0},
        {"*", 0, false, 0},
        {"x 2+3", 7, true, 5},
        {"X+1", 5, true, 1},
        {"z+1", 5, true, 1},
        {"SIN(x)", 5, true, 5},
        {"sin()", 0, true, 0},
        {"2()", 0, true, 0},
        {"(2+3", 0, true, 5},
        {"2+3)", 0, true, 5},
        {"-(-x)", 4, true, 4},
        {"asin(x)", 2, true, 0}, // a is 0
        {"-x^2", 3, true, -9},
        {"sin x^2", 1, true, std::sin(1.0) * std::sin(1.0)},
        {"x+-1", 1, true, 0},
        {"2^(-3)", 0, true, 0.125},
        {"2^3^2", 0, true, 64},
        {"xy", 3, true, 12, 4},
        {"(x+1)(x-1)", 3, true, 8},
        {"2PI", 0, true, 2 * Pi},
        {"10-4-3", 0, true, 3},
        {"12/3/2", 0, true, 2},
        {"1+2*3^2", 0, true, 19},
        {"x>1 and x<3", 2, true, 1},
        {"x>1 and x<3", 3, true, 0},
        {"not x>1", 0, true, 1}, // "not" binds looser than the comparison
        {"1 or 0 xor 1", 0, true, 0},
        {"1 000", 0, false, 0},
    };
    Check(std::begin(cases), std::end(cases));
}

TEST(ExpCalEvaluate, Functions) {
    const EvalCase cases[] = {
        {"sin(x)", 1, true, std::sin(1.0)},
        {"cos(x)", 1, true, std::cos(1.0)},
        {"sin(x)", Two63, true, 0},
        {"cos(x)", -Two63, true, 0},
        {"cos(x)", 1e18, true, std::cos(1e18)},
        {"tan(x)", 1, true, std::tan(1.0)},
        {"cot(x)", 1, true, 1 / std::tan(1.0)},
        {"arcsin(x)", 1, true, Pi / 2},
        {"arcsin(x)", -0.5, true, std::asin(-0.5)},
        {"arccos(x)", -1, true, Pi},
        {"arccos(x)", 0.5, true, std::acos(0.5)},
        {"arctan(x)", 1, true, Pi / 4},
        {"arccot(x)", 0, true, Pi / 2},
        {"arccot(x)", 1e-17, true, Pi / 2},
        {"arccot(x)", -1, true, 3 * Pi / 4},
        {"arccot(x)", 1, true, Pi / 4},
        {"arccot(x)", -1e300, true, Pi},
        {"abs(x)", -2.5, true, 2.5},
        {"sqrt(x)", 0, true, 0},
        {"sqrt(x)", 2, true, std::sqrt(2.0)},
        {"sqr(x)", -3, true, 9},
        {"ln(x)", std::exp(2.0), true, 2},
        {"log10(x)", 1000, true, 3},
        {"log2(x)", 0.125, true, -3},
        {"exp(x)", 1, true, std::exp(1.0)},
        {"exp(x)", -1000, true, 0}, // underflow is no fault
        {"exp(x)", 709, true, std::exp(709.0)},
        {"int(x)", -1.75, true, -1},
        {"int(x)", 1.75, true, 1},
        {"round(x)", 2.5, true, 2},
        {"round(x)", 3.5, true, 4},
        {"round(x)", -2.5, true, -2},
        {"round(x)", -3.5, true, -4},
        {"round(x)", 2.4999999999999996, true, 2},
        {"round(x)", 9.2e18, true, 9.2e18},
        {"frac(x)", -1.25, true, -0.25},
        {"frac(x)", 3.75, true, 0.75},
        {"sign(x)", -7, true, -1},
        {"sign(x)", 0.001, true, 1},
        {"sign(x)", -0.0, true, 0},
        {"sinh(x)", 1e-17, true, 0},
        {"sinh(x)", 1, true, std::sinh(1.0)},
        {"sinh(x)", 710, true, std::sinh(710.0)},
        {"cosh(x)", 1e-17, true, 1},
        {"cosh(x)", -2, true, std::cosh(2.0)},
        {"tanh(x)", 0.5, true, std::tanh(0.5)},
        {"tanh(x)", 1e-16, true, 0},
        {"tanh(x)", 11356, true, 1},
        {"tanh(x)", -11356, true, -1},
        {"coth(x)", 0.5, true, 1 / std::tanh(0.5)},
        {"arcsinh(x)", 1, true, std::asinh(1.0)},
        // In extended precision the sum -1e9 + sqrt(1e18 + 1) is 9 units of 2^-34, not 0.
        {"arcsinh(x)", -1e9, true, std::log(std::ldexp(9.0, -34))},
        {"arcsinh(x)", 1e300, true, std::asinh(1e300)},
        {"arccosh(x)", 1, true, 0},
        {"arccosh(x)", 2, true, std::acosh(2.0)},
        {"arctanh(x)", 0.5, true, std::atanh(0.5)},
        {"arccoth(x)", 2, true, std::atanh(0.5)},
        {"arccoth(x)", -2, true, -std::atanh(0.5)},
        {"neg(x)", 2, true, -2},
        {"pos(x)", 2, true, 2},
    };
    Check(std::begin(cases), std::end(cases));
}

TEST(ExpCalEvaluate, EveryFailureRow) {
    const EvalCase cases[] = {
        {"tan(x)", Two63, false, 0},
        {"tan(x)", -Two63, false, 0},
        {"cot(x)", 0, false, 0},
        {"cot(x)", Two63, false, 0},
        {"arcsin(x)", 1.0000000000000002, false, 0},
        {"arcsin(x)", -1.5, false, 0},
        {"arccos(x)", 2, false, 0},
        {"arccos(x)", -1.0000000000000002, false, 0},
        {"sqrt(x)", -1, false, 0},
        {"sqr(x)", 1e200, false, 0},
        {"ln(x)", 0, false, 0},
        {"ln(x)", -1, false, 0},
        {"log10(x)", 0, false, 0},
        {"log2(x)", -4, false, 0},
        {"exp(x)", 710, false, 0},
        {"round(x)", Two63, false, 0},
        {"round(x)", -1e19, false, 0},
        {"sinh(x)", 711, false, 0},
        {"cosh(x)", -711, false, 0},
        {"tanh(x)", 11357, false, 0},
        {"tanh(x)", -11357, false, 0},
        {"coth(x)", 0, false, 0},
        {"coth(x)", 1e-17, false, 0},
        {"coth(x)", 11357, false, 0},
        {"arcsinh(x)", -1e10, false, 0},
        {"arccosh(x)", 0.999, false, 0},
        {"arctanh(x)", 1, false, 0},
        {"arctanh(x)", -1, false, 0},
        {"arctanh(x)", 2, false, 0},
        {"arccoth(x)", 1, false, 0},
        {"arccoth(x)", -1, false, 0},
        {"arccoth(x)", 0.5, false, 0},
        {"random(x)", 1e19, false, 0},
        {"x*y", 1e200, false, 0, 1e200},
        {"x+y", 1e308, false, 0, 1e308},
        {"x-y", -1e308, false, 0, 1e308},
        {"1/x", 0, false, 0},
        {"1/x", 1e-320, false, 0}, // the quotient overflows the double range
        {"x/y", 1e308, false, 0, 0.1},
    };
    Check(std::begin(cases), std::end(cases));
}

TEST(ExpCalEvaluate, Power) {
    const EvalCase cases[] = {
        {"x^y", 0, true, 1, 0}, // 0^0
        {"x^y", -5, true, 1, 0},
        {"x^y", 0, true, 0, 2.5},
        {"x^y", 0, false, 0, -1}, // reciprocal of 0
        {"x^y", 0, false, 0, -0.5},
        {"x^y", -8, true, -512, 3},
        {"x^y", -8, false, 0, 1.0 / 3}, // negative base, fractional exponent
        {"x^y", -2, true, 0.0625, -4},
        {"x^y", 2, true, std::sqrt(2.0), 0.5},
        {"x^y", 10, true, 1e-5, -5},
        {"x^y", 10, false, 0, 400},   // beyond the double range
        {"x^y", 2, false, 0, -20000}, // 2^20000 leaves the extended range before 1/...
        {"x^y", 2, true, std::ldexp(1.0, -1074), -1074},
        {"x^y", 0.5, true, 0, 2000}, // underflow is no fault
        {"x^y", 0.5, false, 0, -20000},
        {"x^y", 1, true, 1, 1e10}, // not a 32-bit exponent: e^(b ln a)
        {"x^y", -1, false, 0, 1e10},
        {"x^y", 2, false, 0, 3e9},
        {"x^y", 1.5, true, std::pow(1.5, 100.0), 100},
        {"x^y", 3, true, 1.0 / 2187, -7},
        // Fixed exponents written in the expression.
        {"x^2", -3, true, 9},
        {"x^2", 0, true, 0},
        {"x^2", 1e200, false, 0},
        {"x^3", -2, true, -8},
        {"x^0", 0, true, 1},
        {"x^0.5", -4, false, 0},
        {"x^2147483647", -1, true, -1},
        {"x^2147483648", 1, true, 1},
        {"x^2147483648", -1, false, 0}, // beyond 32 bits the exponent goes through ln a
    };
    Check(std::begin(cases), std::end(cases));
}

TEST(ExpCalEvaluate, ComparisonsAndLogic) {
    const EvalCase cases[] = {
        {"2>1", 0, true, 1},
        {"2<1", 0, true, 0},
        {"1=1.0000000000000002", 0, true, 0}, // exact comparison of the doubles
        {"x=y", 0.1, true, 1, 0.1},
        {"x<>y", 0.1, true, 0, 0.1},
        {"x>=y", 2, true, 1, 2},
        {"x<=y", 3, true, 0, 2},
        {"not 0", 0, true, 1},
        {"not x", 0.5, true, 0},
        {"2 xor 0", 0, true, 1},
        {"2 xor 3", 0, true, 0},
        {"0 and 1", 0, true, 0},
        {"x and y", -1, true, 1, 3},
        {"0 or x", 0.25, true, 1},
        {"0 or 0", 0, true, 0},
        {"(x^2+y^2-25)<0", 3, true, 1, 3.9},
        {"(x^2+y^2-25)<0", 3, true, 0, 4},
    };
    Check(std::begin(cases), std::end(cases));
}

TEST(ExpCalEvaluate, FailureInThirdInstructionLeavesZero) {
    TEngine e;
    e.Variables.SetValue("x", 0);
    TExpCal cal("(x+1)*2/x", e.Library, e.Variables, e.Constants);
    ASSERT_EQ(cal.InstructionCount(), 3);
    e.Variables.SetValue("x", 1);
    ASSERT_TRUE(cal.Evaluate());
    EXPECT_EQ(cal.Value, 4);
    e.Variables.SetValue("x", 0);
    EXPECT_FALSE(cal.Evaluate());
    EXPECT_EQ(cal.Value, 0);
    EXPECT_EQ(cal.Instructions().At(4)->Value, 2); // the second instruction did run
    EXPECT_EQ(cal.Instructions().At(8)->Value, 0); // the failed one holds 0
}

TEST(ExpCalEvaluate, NotCompiledAlwaysFailsAndLeavesTheListAlone) {
    TEngine e;
    TExpCal cal("2*", e.Library, e.Variables, e.Constants);
    EXPECT_FALSE(cal.Compiled);
    const auto stamp = e.Variables.Stamp();
    EXPECT_FALSE(cal.Evaluate());
    EXPECT_EQ(cal.Value, 0);
    EXPECT_EQ(e.Variables.Stamp(), stamp);
}

TEST(ExpCalEvaluate, VariablesAreReadAtEveryEvaluation) {
    TEngine e;
    TExpCal cal("x+2y", e.Library, e.Variables, e.Constants);
    e.Variables.SetValue("y", 10);
    for (double x = -3; x <= 3; x += 1) {
        e.Variables.SetValue("x", x);
        ASSERT_TRUE(cal.Evaluate());
        EXPECT_EQ(cal.Value, x + 20);
    }
    // A removed name reads 0; added again, it is found at its new place.
    e.Variables.RemoveVariable("x");
    ASSERT_TRUE(cal.Evaluate());
    EXPECT_EQ(cal.Value, 20);
    e.Variables.SetValue("x", 5);
    ASSERT_TRUE(cal.Evaluate());
    EXPECT_EQ(cal.Value, 25);
    e.Variables.RemoveVariable("y");
    e.Variables.AddVariable("q", 1);
    e.Variables.AddVariable("y", -1);
    ASSERT_TRUE(cal.Evaluate());
    EXPECT_EQ(cal.Value, 3);
    EXPECT_EQ(e.VariableNames(), (std::vector<std::string>{"t", "a", "x", "q", "y"}));
}

TEST(ExpCalEvaluate, CallerVariableNamedLikeATemporaryIsOverwrittenAndRemoved) {
    TEngine e;
    e.Variables.SetValue("x", 3);
    TExpCal cal("x+1+x", e.Library, e.Variables, e.Constants); // TempVariable1, TempVariable2
    e.Variables.AddVariable("TempVariable2", 7);
    e.Variables.AddVariable("TempVariable3", 8); // beyond n: untouched
    ASSERT_TRUE(cal.Evaluate());
    EXPECT_EQ(cal.Value, 7);
    EXPECT_EQ(e.VariableNames(), (std::vector<std::string>{"x", "y", "t", "a", "TempVariable3"}));
    EXPECT_EQ(e.Variables.ValueOf("TempVariable3"), 8);
    ASSERT_TRUE(cal.Evaluate()); // and on the next round there is nothing in the way
    EXPECT_EQ(cal.Value, 7);
}

TEST(ExpCalEvaluate, ScannedTemporaryNameReadsTheRunningTemporary) {
    // A caller variable "TempVariable1" scanned as an operand: while it exists, the calculator's
    // first result goes into it; once it is gone, the name means the temporary, 0 until written.
    TEngine e;
    e.Variables.SetValue("x", 1);
    e.Variables.AddVariable("TempVariable1", 5);
    TExpCal cal("TempVariable1*2+x", e.Library, e.Variables, e.Constants);
    ASSERT_EQ(cal.InstructionCount(), 2);
    ASSERT_TRUE(cal.Evaluate());
    EXPECT_EQ(cal.Value, 11);
    EXPECT_FALSE(e.Variables.HasVariable("TempVariable1"));
    ASSERT_TRUE(cal.Evaluate());
    EXPECT_EQ(cal.Value, 1);
    ASSERT_TRUE(cal.EvaluateByNames());
    EXPECT_EQ(cal.Value, 1);
}

TEST(ExpCalEvaluate, ListHoldsTheSameNamesAfterEveryEvaluation) {
    const char* expressions[] = {"2x^2-3x+1", "1/x", "ln(x)", "sqrt(x)+1", "x", "", "2 3", "2*"};
    for (const char* text : expressions) {
        for (const double x : {-1.0, 0.0, 2.0}) {
            TEngine e;
            e.Variables.SetValue("x", x);
            e.Variables.SetValue("t", 9);
            TExpCal cal(text, e.Library, e.Variables, e.Constants);
            cal.Evaluate();
            EXPECT_EQ(e.VariableNames(), (std::vector<std::string>{"x", "y", "t", "a"})) << text;
            EXPECT_EQ(e.Variables.ValueOf("x"), x) << text;
            EXPECT_EQ(e.Variables.ValueOf("t"), 9) << text;
        }
    }
}

std::uint32_t FixedCounter12345() {
    return 12345;
}
std::uint32_t FixedCounter16() {
    return 16;
}

TEST(ExpCalEvaluate, RandomReseedsFromTheCounter) {
    TEngine e;
    TExpCal cal("random(x)", e.Library, e.Variables, e.Constants);
    const struct {
        TRandomCounter counter;
        double x;
        double expected;
    } fixed[] = {
        // seed = counter * 134775813 + 1 mod 2^32; result = high 32 bits of n * seed, signed.
        {FixedCounter12345, 10, 3},
        {FixedCounter12345, 1000000, 385350},
        {FixedCounter12345, 999999.6, 385350}, // n is round(x)
        {FixedCounter12345, 0, 0},
        {FixedCounter16, -1, -2138554288},
        {FixedCounter16, 4294967295.0, -2138554288},
    };
    for (const auto& c : fixed) {
        SetRandomCounter(c.counter);
        e.Variables.SetValue("x", c.x);
        ASSERT_TRUE(cal.Evaluate()) << c.x;
        EXPECT_EQ(cal.Value, c.expected) << c.x;
    }
    SetRandomCounter(nullptr);
    std::set<double> seen;
    e.Variables.SetValue("x", 10);
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(cal.Evaluate());
        ASSERT_EQ(cal.Value, std::trunc(cal.Value));
        ASSERT_GE(cal.Value, 0);
        ASSERT_LE(cal.Value, 9);
        seen.insert(cal.Value);
    }
    EXPECT_GT(seen.size(), 1u);
}

// Only an expression that draws random numbers may give another value for the same variables.
TEST(ExpCalEvaluate, RepeatableUnlessItDrawsRandomNumbers) {
    const struct {
        const char* Text;
        bool Repeatable;
    } cases[] = {
        {"x^2+y^2-25", true}, {"sin(x)*cos(y)>0.5", true},
        {"random(5)", false}, {"2*random(x)+1", false},
        {"x+(", true},        {"", true},
    };
    for (const auto& c : cases) {
        TEngine e;
        const TExpCal cal(c.Text, e.Library, e.Variables, e.Constants);
        EXPECT_EQ(cal.Repeatable(), c.Repeatable) << c.Text;
    }
}

} // namespace
} // namespace curvana
