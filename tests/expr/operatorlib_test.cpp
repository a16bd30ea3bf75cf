#include "expr/operatorlib.h"

#include <gtest/gtest.h>

#include <string>

namespace curvana {
namespace {

TEST(OperatorLib, HoldsTheVocabularyInItsOrder) {
    const TOperatorLib lib;
    ASSERT_EQ(lib.Count(), 45);
    const char* names[] = {"sin",     "cos",    "neg",    "pos",  "tan",     "cot",     "arcsin",
                           "arccos",  "arctan", "arccot", "abs",  "sqrt",    "sqr",     "ln",
                           "log10",   "log2",   "exp",    "int",  "round",   "frac",    "sign",
                           "sinh",    "cosh",   "tanh",   "coth", "arcsinh", "arccosh", "arctanh",
                           "arccoth", "random", "^",      "*",    "/",       "+",       "-",
                           ">=",      "<=",     "<>",     "=",    "<",       ">",       "not",
                           "and",     "or",     "xor"};
    for (int i = 0; i < 45; ++i) {
        const TOperatorObj* op = lib.OperatorAt(i);
        ASSERT_NE(op, nullptr);
        EXPECT_EQ(op->Name, names[i]) << i;
        EXPECT_EQ(op->Symbol, op->Name) << i;
        const bool function = i < 30 && i != 2 && i != 3;
        if (function) {
            EXPECT_EQ(op->Priority, 35) << op->Name;
            EXPECT_EQ(op->OperandCount, 1) << op->Name;
        }
    }
    EXPECT_EQ(lib.OperatorAt(34)->Description, "Subtration");
    EXPECT_EQ(lib.OperatorAt(29)->Description, "random(x)=rnd*x, rnd is a random value, 0<=rnd<1");
    EXPECT_EQ(lib.OperatorAt(20)->Description,
              "Indicates whether a numeric value is positive, negative, or zero");
    EXPECT_EQ(lib.OperatorAt(45), nullptr);
    EXPECT_EQ(lib.OperatorAt(-1), nullptr);
}

TEST(OperatorLib, PrioritiesAndOperandCounts) {
    const TOperatorLib lib;
    const struct {
        const char* name;
        int priority;
        int operands;
    } cases[] = {
        {"sin", 35, 1}, {"random", 35, 1}, {"^", 30, 2},   {"*", 25, 2},        {"/", 25, 2},
        {"neg", 22, 1}, {"pos", 22, 1},    {"+", 20, 2},   {"-", 20, 2},        {"<>", 15, 2},
        {"=", 15, 2},   {"not", 10, 1},    {"and", 5, 2},  {"xor", 5, 2},       {"x", -1, 0},
        {"(", -1, 0},   {"", -1, 0},       {"Sin", -1, 0}, {"evaluate", -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lib.PriorityOf(c.name), c.priority) << c.name;
        EXPECT_EQ(lib.OperandCountOf(c.name), c.operands) << c.name;
    }
}

TEST(OperatorLib, ComparePriority) {
    const TOperatorLib lib;
    EXPECT_EQ(lib.ComparePriority("^", "^"), 0);
    EXPECT_EQ(lib.ComparePriority("neg", "*"), -1);
    EXPECT_EQ(lib.ComparePriority("neg", "+"), 1);
    EXPECT_EQ(lib.ComparePriority("sin", "^"), 1);
    EXPECT_EQ(lib.ComparePriority("and", "or"), 0);
    EXPECT_EQ(lib.ComparePriority("x", "y"), 0); // both missing: -1 each
    EXPECT_EQ(lib.ComparePriority("x", "or"), -1);
}

TEST(OperatorLib, LongestPrefixMatchPrefersLongerThenEarlier) {
    const TOperatorLib lib;
    const struct {
        const char* text;
        int index;
    } cases[] = {
        {"sinh(x)", 21}, {"sin(x)", 0},    {"Sin(x)", -1}, {"<>1", 37},     {"x+1", -1},
        {"sqrt(2)", 11}, {"sqr(2)", 12},   {"<=2", 36},    {"<2", 39},      {"arccosh", 26},
        {"arccos", 7},   {"log10(x)", 14}, {"log2", 15},   {"log", -1},     {"", -1},
        {"=>", 38},      {"notx", 41},     {"ln2", 13},    {"random2", 29}, {">=", 35},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lib.LongestPrefixMatch(c.text), c.index) << c.text;
    }
}

} // namespace
} // namespace curvana
