#include "common/decimalseparator.h"
#include "engine.h"
#include "expr/expexplain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace curvana {
namespace {

using testing::TEngine;

struct TExplainCase {
    const char* expression;
    std::vector<std::string> notes; // "column: message" in text order
};

std::vector<std::string> Explained(TEngine& engine, const char* expression) {
    std::vector<std::string> notes;
    for (const TExpNote& note :
         ExplainExpression(expression, engine.Library, engine.Variables, engine.Constants)) {
        notes.push_back(std::to_string(note.Column) + ": " + note.Message);
    }
    return notes;
}

TEST(ExplainExpression, TellsWhatTheScanLeavesOutAndWhatStaysUnjoined) {
    TDecimalSeparatorScope dot('.');
    const TExplainCase cases[] = {
        {"Sin(x)", {"1: \"Sin\" is left out: names are lower case, write sin"}},
        {"2*SQRT(x)", {"3: \"SQRT\" is left out: names are lower case, write sqrt"}},
        // "Sqrt" loses only "Sqr": the t that follows is the variable t.
        {"Sqrt(x)", {"1: \"Sqr\" is left out: names are lower case, write sqrt"}},
        {"sin(X)", {"5: \"X\" is left out: variables are x, y, t, a (lower case)"}},
        {"2pi", {"2: \"pi\" is left out: the constant is written PI"}},
        {"z+1",
         {"1: \"z\" is left out: unknown name; the variables are x, y, t, a and the constants PI"}},
        // Columns count characters, not bytes.
        {"x\xC2\xB2+1", {"2: \"\xC2\xB2\" is left out: write ^2"}},
        {"\xC3\xA9+x\xE2\x81\xB5",
         {"1: \"\xC3\xA9\" is left out: it means nothing in an expression",
          "4: \"\xE2\x81\xB5\" is left out: write ^5"}},
        {"2\xC3\x97x", {"2: \"\xC3\x97\" is left out: write * to multiply"}},
        {"1e-3*x", {"2: \"e\" is left out: numbers have no exponent notation, write 1*10^(-3)"}},
        {"2.5E4", {"4: \"E\" is left out: numbers have no exponent notation, write 2.5*10^4"}},
        {"1.2.3", {"1: \"1.\" is left out: a number holds one decimal separator at most"}},
        {"[x+1]",
         {"1: \"[\" is left out: only round brackets ( ) group",
          "5: \"]\" is left out: only round brackets ( ) group"}},
        {"2,5x", {"2: \",\" is left out: the decimal separator is '.'"}},
        {"1 000x",
         {"2: a blank inside the number \"1 000\": it reads as 1 and 000 side by side, write "
          "1000"}},
        {"x 2+3", {"3: nothing joins x and 2, so one of them is lost: write x*2"}},
        {"x2", {"2: nothing joins x and 2, so one of them is lost: write x*2"}},
        {"x*-1",
         {"3: the sign - right after * stops the compilation: put the signed term in brackets, "
          "as in *(-1)"}},
        {"2^-x",
         {"3: the sign - right after ^ stops the compilation: put the signed term in brackets, "
          "as in ^(-1)"}},
        {"--x",
         {"2: the sign - right after - stops the compilation: put the signed term in brackets, "
          "as in -(-1)"}},
        // What the calculator reads as written gives no note.
        {"x+-1", {}},
        {"2^(-x)", {}},
        {"2x^2-3x+1", {}},
        {"asin(x)", {}},
        {"  sin ( x ) ", {}},
        {"(x+1)(x-1)", {}},
        {"", {}},
    };
    TEngine engine;
    for (const TExplainCase& c : cases) {
        EXPECT_EQ(Explained(engine, c.expression), c.notes) << c.expression;
    }
}

TEST(ExplainExpression, AnObserverLeavesTheCalculatorAsItCompiles) {
    struct TCounter : TExpCalObserver {
        int Calls = 0;
        void Dropped(std::size_t) override { ++Calls; }
        void Token(std::size_t, const TExpFactor&) override { ++Calls; }
    };
    TDecimalSeparatorScope dot('.');
    TEngine engine;
    for (const char* expression : {"Sin(x)", "x*-1", "1 000x", "2x^2-3x+1", "sin()", "(2+3"}) {
        TCounter counter;
        TExpCal observed(expression, engine.Library, engine.Variables, engine.Constants, &counter);
        TExpCal plain(expression, engine.Library, engine.Variables, engine.Constants);
        EXPECT_GT(counter.Calls, 0) << expression;
        EXPECT_EQ(observed.Compiled, plain.Compiled) << expression;
        EXPECT_EQ(testing::TokenText(observed), testing::TokenText(plain)) << expression;
        EXPECT_EQ(testing::InstructionText(observed), testing::InstructionText(plain))
            << expression;
    }
}

TEST(ExplainExpression, BothDecimalSeparatorsReadInACommaLocale) {
    TDecimalSeparatorScope comma(',');
    TEngine engine;
    EXPECT_EQ(Explained(engine, "2.5+2,5"), std::vector<std::string>{});
    EXPECT_EQ(Explained(engine, "2,5,1"),
              std::vector<std::string>{
                  "1: \"2,\" is left out: a number holds one decimal separator at most"});
}

TEST(ExplainExpression, AnOverflowingLiteralStillExplainsWhatCameBefore) {
    TDecimalSeparatorScope dot('.');
    TEngine engine;
    const std::string expression = "Sin(x)+1" + std::string(400, '0');
    const std::vector<TExpNote> notes =
        ExplainExpression(expression, engine.Library, engine.Variables, engine.Constants);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Column, 1u);
}

} // namespace
} // namespace curvana
