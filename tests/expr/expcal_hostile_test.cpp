#include "engine.h"

#include "common/decimalseparator.h"
#include "common/errors.h"
#include "common/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace curvana {
namespace {

using testing::TEngine;
using testing::TokenText;

TEST(ExpCalLarge, HundredThousandTokens) {
    TEngine e;
    e.Variables.SetValue("x", 0.5);
    std::string sum = "x";
    for (int i = 0; i < 49999; ++i) {
        sum += "+x";
    }
    TExpCal cal(sum, e.Library, e.Variables, e.Constants);
    EXPECT_TRUE(cal.Compiled);
    EXPECT_EQ(cal.Tokens().Count(), 99999);
    EXPECT_EQ(cal.InstructionCount(), 49999);
    ASSERT_TRUE(cal.Evaluate());
    EXPECT_EQ(cal.Value, 25000);
    EXPECT_EQ(e.Variables.Count(), 4);
}

TEST(ExpCalLarge, DeepNestingNeedsNoRecursion) {
    TEngine e;
    e.Variables.SetValue("x", 0.25);
    const int depth = 200000;
    TExpCal brackets(std::string(depth, '(') + "x" + std::string(depth, ')'), e.Library,
                     e.Variables, e.Constants);
    ASSERT_TRUE(brackets.Evaluate());
    EXPECT_EQ(brackets.Value, 0.25);

    std::string nested;
    for (int i = 0; i < depth; ++i) {
        nested += "abs(-";
    }
    nested += "x" + std::string(depth, ')');
    TExpCal functions(nested, e.Library, e.Variables, e.Constants);
    EXPECT_EQ(functions.InstructionCount(), 2 * depth);
    ASSERT_TRUE(functions.Evaluate());
    EXPECT_EQ(functions.Value, 0.25);
}

TEST(ExpCalHostile, MegabyteInputsNeitherCrashNorHang) {
    TDecimalSeparatorScope scope('.');
    const std::size_t size = 1 << 20;
    std::string repeatedNumbers;
    while (repeatedNumbers.size() < size) {
        repeatedNumbers += "1.1.";
    }
    repeatedNumbers += "25";
    std::string mixed;
    for (std::size_t i = 0; mixed.size() < size; ++i) {
        mixed += "sin(-x^(2))*/,;\x01\xff\xc3(";
    }
    const std::string inputs[] = {
        std::string(size, '('), std::string(size, ')'),  std::string(size, '-'),
        std::string(size, '.'), std::string(size, '\0'), std::string(size, '\xff'),
        std::string(size, 'x'), repeatedNumbers,         mixed,
    };
    for (const std::string& text : inputs) {
        TEngine e;
        TExpCal cal(text, e.Library, e.Variables, e.Constants);
        cal.Evaluate();
        EXPECT_EQ(e.Variables.Count(), 4);
    }
    TEngine e;
    TExpCal numbers(repeatedNumbers, e.Library, e.Variables, e.Constants);
    EXPECT_EQ(TokenText(numbers), "1.25"); // only the last run converts
    TExpCal dots(std::string(size, '.'), e.Library, e.Variables, e.Constants);
    EXPECT_EQ(TokenText(dots), "0");
    TExpCal xs(std::string(size, 'x'), e.Library, e.Variables, e.Constants);
    EXPECT_EQ(xs.InstructionCount(), static_cast<int>(size - 1)); // x*x*x...
}

TEST(ExpCalHostile, RandomBytesRaiseAtMostTheOverflowError) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 300; ++round) {
        std::string text(1 + random() % 400, ' ');
        for (char& c : text) {
            c = static_cast<char>(random() % 256);
        }
        TEngine e;
        try {
            TExpCal cal(text, e.Library, e.Variables, e.Constants);
            cal.Evaluate();
        } catch (const EOverflow&) {
        }
        ASSERT_EQ(e.Variables.Count(), 4);
    }
}

// The scanner's rules applied literally: convert the whole run, and drop one character when it
// does not convert.
std::vector<std::string> NaiveScan(std::string_view s, const TEngine& e) {
    std::vector<std::string> names;
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    auto trim = [&] {
        while (!s.empty() && blank(s.front())) {
            s.remove_prefix(1);
        }
        while (!s.empty() && blank(s.back())) {
            s.remove_suffix(1);
        }
    };
    trim();
    const std::string runChars = std::string(".0123456789") + DecimalSeparator();
    while (!s.empty()) {
        int i = -1;
        if (s[0] == '(' || s[0] == ')') {
            names.emplace_back(1, s[0]);
            s.remove_prefix(1);
        } else if ((i = e.Library.LongestPrefixMatch(s)) >= 0) {
            names.push_back(e.Library.OperatorAt(i)->Symbol);
            s.remove_prefix(names.back().size());
        } else if ((i = e.Variables.LongestPrefixMatch(s)) >= 0) {
            names.push_back(e.Variables.At(i)->Name);
            s.remove_prefix(names.back().size());
        } else if ((i = e.Constants.LongestPrefixMatch(s)) >= 0) {
            names.push_back(e.Constants.At(i)->Name);
            s.remove_prefix(names.back().size());
        } else {
            const std::size_t n = std::min(s.find_first_not_of(runChars), s.size());
            const double value = n == 0 ? 0 : StrToFloatDef(s.substr(0, n), -9999999.99);
            if (n > 0 && value != -9999999.99) {
                names.push_back(FloatToStr(value));
                s.remove_prefix(n);
            } else {
                s.remove_prefix(1);
            }
        }
        trim();
    }
    return names;
}

TEST(ExpCalHostile, ScannerMatchesTheLiteralRules) {
    std::mt19937 random(7);
    const std::string alphabet = "0123456789..,,  x7PI";
    for (const char separator : {'.', ','}) {
        TDecimalSeparatorScope scope(separator);
        for (int round = 0; round < 3000; ++round) {
            std::string text(random() % 16, ' ');
            for (char& c : text) {
                c = alphabet[random() % alphabet.size()];
            }
            TEngine e;
            e.Variables.AddVariable("7", 0); // a name made of digits must still be found
            TExpCal cal(text, e.Library, e.Variables, e.Constants);
            std::vector<std::string> scanned;
            for (const TExpFactor& f : cal.Tokens()) {
                if (f.Name != "*") { // inserted by the implicit multiplication
                    scanned.push_back(f.Name);
                }
            }
            ASSERT_EQ(scanned, NaiveScan(text, e)) << "'" << text << "' with " << separator;
        }
    }
}

TEST(ExpCalHostile, FastEvaluationAgreesWithTheNamedSteps) {
    // Random token soups, evaluated the fast way and step by step through the names, must agree
    // in success, value, the instructions' results and the variable list.
    const char* pieces[] = {"x",
                            "y",
                            "t",
                            "a",
                            "PI",
                            "2",
                            "0.5",
                            "0",
                            "(",
                            ")",
                            "+",
                            "-",
                            "*",
                            "/",
                            "^",
                            "sin",
                            "ln",
                            "sqrt",
                            "round",
                            "random",
                            "<",
                            "=",
                            "not",
                            "and",
                            "xor",
                            "TempVariable1",
                            "TempVariable2",
                            "tanh",
                            "arccot"};
    std::mt19937 random(11);
    auto counter = [] { return std::uint32_t{77}; };
    SetRandomCounter(counter);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) {
            text += pieces[random() % std::size(pieces)];
            text += random() % 3 == 0 ? " " : "";
        }
        TEngine fast;
        TEngine named;
        for (TEngine* e : {&fast, &named}) {
            if (round % 4 == 0) {
                e->Variables.AddVariable("TempVariable1", 3);
            }
        }
        TExpCal a(text, fast.Library, fast.Variables, fast.Constants);
        TExpCal b(text, named.Library, named.Variables, named.Constants);
        for (const double x : {-1.5, 0.0, 2.0}) {
            fast.Variables.SetValue("x", x);
            named.Variables.SetValue("x", x);
            fast.Variables.SetValue("y", x / 2);
            named.Variables.SetValue("y", x / 2);
            const bool okA = a.Evaluate();
            const bool okB = b.EvaluateByNames();
            ASSERT_EQ(okA, okB) << text << " at " << x;
            ASSERT_EQ(std::memcmp(&a.Value, &b.Value, sizeof(double)), 0) << text << " at " << x;
            ASSERT_EQ(fast.VariableNames(), named.VariableNames()) << text;
            for (int i = 0; i < a.Instructions().Count(); i += 4) {
                if (!okA) {
                    break; // instructions after a failure keep older results
                }
                ASSERT_EQ(a.Instructions().At(i)->Value, b.Instructions().At(i)->Value) << text;
            }
        }
    }
    SetRandomCounter(nullptr);
}

} // namespace
} // namespace curvana
