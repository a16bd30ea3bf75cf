#include "engine.h"

#include "common/decimalseparator.h"
#include "common/errors.h"

#include <gtest/gtest.h>

#include <string>

namespace curvana {
namespace {

using testing::InstructionText;
using testing::TEngine;
using testing::TokenText;

TEST(ExpCalCompile, WorkedExample) {
    TEngine e;
    const TExpCal cal("2x^2-3x+1", e.Library, e.Variables, e.Constants);
    EXPECT_TRUE(cal.Compiled);
    EXPECT_EQ(TokenText(cal), "2 * x ^ 2 - 3 * x + 1");
    EXPECT_EQ(InstructionText(cal), "TempVariable1 x 2 ^; "
                                    "TempVariable2 2 TempVariable1 *; "
                                    "TempVariable3 3 x *; "
                                    "TempVariable4 TempVariable2 TempVariable3 -; "
                                    "TempVariable5 TempVariable4 1 +");
    const TExpFactorList& list = cal.Instructions();
    ASSERT_EQ(cal.InstructionCount(), 5);
    // Kinds of the slots: result variable, operands as scanned, operator.
    EXPECT_EQ(list.At(0)->Kind, fkVariable);
    EXPECT_EQ(list.At(1)->Kind, fkVariable);
    EXPECT_EQ(list.At(2)->Kind, fkNumber);
    EXPECT_EQ(list.At(2)->Value, 2);
    EXPECT_EQ(list.At(3)->Kind, fkOperator);
    EXPECT_EQ(list.At(6)->Kind, fkVariable); // TempVariable1 as operand
    EXPECT_TRUE(cal.OperatorStack().Count() == 0);
}

struct CompileCase {
    const char* expression;
    bool compiled;
    const char* tokens;
    const char* instructions;
};

TEST(ExpCalCompile, ScanRewriteAndReduce) {
    const CompileCase cases[] = {
        // Names are case-sensitive; what matches nothing vanishes one character at a time.
        {"X+1", true, "pos 1", "TempVariable1 1 1 pos"},
        {"SIN(x)", true, "( x )", "TempVariable1 x x evaluate"},
        {"z+1", true, "pos 1", "TempVariable1 1 1 pos"},
        {"2*z", false, "2 *", ""},
        {"pi", true, "", ""},
        {"PI", true, "PI", "TempVariable1 PI PI evaluate"},
        {"asin(x)", true, "a * sin ( x )",
         "TempVariable1 x x sin; TempVariable2 a TempVariable1 *"},
        // Longest operator name first.
        {"sinh(x)", true, "sinh ( x )", "TempVariable1 x x sinh"},
        {"x<=1", true, "x <= 1", "TempVariable1 x 1 <="},
        // Empty brackets and implicit multiplication.
        {"sin()", true, "sin ( 0 )", "TempVariable1 0 0 sin"},
        {"2()", true, "2 * ( 0 )", "TempVariable1 2 0 *"},
        {"2PI", true, "2 * PI", "TempVariable1 2 PI *"},
        {"PIx", true, "PI * x", "TempVariable1 PI x *"},
        {"xy", true, "x * y", "TempVariable1 x y *"},
        {"(x+1)2", true, "( x + 1 ) * 2", "TempVariable1 x 1 +; TempVariable2 TempVariable1 2 *"},
        {"2sin(x)", true, "2 * sin ( x )",
         "TempVariable1 x x sin; TempVariable2 2 TempVariable1 *"},
        {"x(x)", true, "x * ( x )", "TempVariable1 x x *"},
        {")(", false, ") * (", ""},
        {"x2", true, "x 2", ""},
        {"xPI", true, "x PI", ""},
        {"PI2", true, "PI 2", ""},
        {"1 000", true, "1 0", ""},
        {"x 2+3", true, "x 2 + 3", "TempVariable1 2 3 +"},
        // Signs bind looser than "^", "*" and "/".
        {"-x^2", true, "neg x ^ 2",
         "TempVariable1 x 2 ^; TempVariable2 TempVariable1 TempVariable1 neg"},
        {"--x", false, "neg neg x", ""},
        {"+-x", false, "pos neg x", ""},
        {"-(-x)", true, "neg ( neg x )",
         "TempVariable1 x x neg; TempVariable2 TempVariable1 TempVariable1 neg"},
        {"x+-1", true, "x + neg 1", "TempVariable1 1 1 neg; TempVariable2 x TempVariable1 +"},
        {"x*-1", false, "x * neg 1", ""},
        {"2^-3", false, "2 ^ neg 3", ""},
        {"2^(-3)", true, "2 ^ ( neg 3 )", "TempVariable1 3 3 neg; TempVariable2 2 TempVariable1 ^"},
        {"sin x^2", true, "sin x ^ 2", "TempVariable1 x x sin; TempVariable2 TempVariable1 2 ^"},
        {"2^3^2", true, "2 ^ 3 ^ 2", "TempVariable1 2 3 ^; TempVariable2 TempVariable1 2 ^"},
        // Unmatched brackets: a leftover "(" blocks its neighbour, a leftover ")" flushes.
        {"(2+3", true, "( 2 + 3", "TempVariable1 2 3 +"},
        {"2+3)", true, "2 + 3 )", "TempVariable1 2 3 +"},
        {"2*(3", false, "2 * ( 3", ""},
        {"sin(x", false, "sin ( x", ""},
        {"(x", true, "( x", ""},
        // Degenerate texts.
        {"", true, "", ""},
        {" \t\n ", true, "", ""},
        {"+", false, "pos", ""},
        {"(", false, "(", ""},
        {"not", false, "not", ""},
        {"2 3", true, "2 3", ""},
        // A number run that does not convert loses its first character and is tried again.
        {"1.2.3", true, "2.3", "TempVariable1 2.3 2.3 evaluate"},
        {".", true, "0", "TempVariable1 0 0 evaluate"},
        {"..5", true, "0.5", "TempVariable1 0.5 0.5 evaluate"},
        {"007.50", true, "7.5", "TempVariable1 7.5 7.5 evaluate"},
    };
    for (const CompileCase& c : cases) {
        TDecimalSeparatorScope scope('.');
        TEngine e;
        const TExpCal cal(c.expression, e.Library, e.Variables, e.Constants);
        EXPECT_EQ(cal.Compiled, c.compiled) << c.expression;
        EXPECT_EQ(TokenText(cal), c.tokens) << c.expression;
        if (c.compiled) {
            EXPECT_EQ(InstructionText(cal), c.instructions) << c.expression;
        }
    }
}

TEST(ExpCalCompile, NumbersFollowTheRegionalSeparator) {
    const struct {
        char separator;
        const char* expression;
        const char* tokens;
    } cases[] = {
        {',', "2.5", "2,5"}, // "." reads in every locale; numbers are written regionally
        {',', "2,5", "2,5"}, // the regional notation reads, written back the same way
        {',', "4.9x^2", "4,9 * x ^ 2"},
        {',', "1,2,3", "2,3"},
        {',', "1.2,3", "2,3"}, // at most one mark of either kind
        {',', "x+0,25", "x + 0,25"},
        {',', "3.", "3"},
        {'.', "2,5", "2 5"}, // a foreign separator is dropped
        {'.', "2.5", "2.5"},
    };
    for (const auto& c : cases) {
        TDecimalSeparatorScope scope(c.separator);
        TEngine e;
        const TExpCal cal(c.expression, e.Library, e.Variables, e.Constants);
        EXPECT_EQ(TokenText(cal), c.tokens) << c.expression << " with " << c.separator;
    }
    TDecimalSeparatorScope scope(',');
    TEngine e;
    for (const char* text : {"2.5*2", "2,5*2"}) {
        TExpCal cal(text, e.Library, e.Variables, e.Constants);
        ASSERT_TRUE(cal.Evaluate()) << text;
        EXPECT_EQ(cal.Value, 5) << text;
    }
}

TEST(ExpCalCompile, ConstantsAreBoundAtCompileTime) {
    TEngine e;
    TExpCal before("2PI", e.Library, e.Variables, e.Constants);
    e.Constants.SetValue("PI", 1);
    TExpCal after("2PI", e.Library, e.Variables, e.Constants);
    ASSERT_TRUE(before.Evaluate());
    EXPECT_EQ(before.Value, 2 * 3.141592653589793);
    ASSERT_TRUE(after.Evaluate());
    EXPECT_EQ(after.Value, 2);
}

TEST(ExpCalCompile, LiteralBeyondTheDoubleRangeRaisesOverflow) {
    TEngine e;
    const std::string big = "1" + std::string(400, '0');
    try {
        TExpCal cal(big, e.Library, e.Variables, e.Constants);
        FAIL() << "no error for " << big.size() << " digits";
    } catch (const EOverflow& error) {
        EXPECT_STREQ(error.what(), "Floating point overflow");
    }
    EXPECT_THROW(TExpCal("x+" + big, e.Library, e.Variables, e.Constants), EOverflow);
    // At the edge of the range and below it nothing is raised.
    TExpCal edge("1" + std::string(308, '0'), e.Library, e.Variables, e.Constants);
    ASSERT_TRUE(edge.Evaluate());
    EXPECT_EQ(edge.Value, 1e308);
    TExpCal tiny("0." + std::string(400, '0') + "1", e.Library, e.Variables, e.Constants);
    ASSERT_TRUE(tiny.Evaluate());
    EXPECT_EQ(tiny.Value, 0);
}

// The drawing's work budget weighs an evaluation by its library calls: the hyperbolic functions
// and their inverses, which may take two exponentials in extended precision, weigh more than a
// sine; arithmetic and whole powers weigh nothing.
TEST(ExpCalCompile, LibraryCallsAreCountedByTheirCost) {
    TEngine e;
    const int longCall = TExpCal::LongCallCost;
    static_assert(TExpCal::LongCallCost > 1, "a long call weighs more than an ordinary one");
    const struct {
        const char* Text;
        int Cost;
    } cases[] = {
        {"x*y+1", 0},
        {"x^2", 0},
        {"sin(x)+ln(x)", 2},
        {"x^0.5", 1},
        {"sinh(x)", longCall},
        {"tanh(2x)+cosh(x/2)/4", 2 * longCall},
        {"artanh(x)+exp(x)", longCall + 1},
    };
    for (const auto& c : cases) {
        TExpCal cal(c.Text, e.Library, e.Variables, e.Constants);
        EXPECT_EQ(cal.LibraryCallCost(), c.Cost) << c.Text;
    }
}

} // namespace
} // namespace curvana
