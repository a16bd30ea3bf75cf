// Runs the built program and checks what `curvana --eval` prints and returns.
#include "programrun.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using curvana::test::TRun;

// The program reads the separator from the locale variables; the test decides them.
TRun RunCurvana(const std::vector<std::string>& arguments, const std::string& environment = "") {
    return curvana::test::RunCurvana(arguments, {"LC_ALL", "LC_NUMERIC", "LANG"},
                                     {environment.empty() ? "LC_ALL=C" : environment});
}

struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::string out;
    std::string errStart;
};

TEST(EvalCommand, ValuesFailuresAndErrors) {
    const Case cases[] = {
        {{"--eval", "2x^2-3x+1", "x=1.5"}, 0, "1\n", ""},
        {{"--eval", "2x^2-3x+1"}, 0, "1\n", ""},
        {{"--eval", "x*y+t-a", "x=2", "y=3", "t=0.5", "a=1", "x=4"}, 0, "11.5\n", ""},
        {{"--eval", "PI"}, 0, "3.14159265358979\n", ""},
        {{"--eval", "1/3"}, 0, "0.333333333333333\n", ""},
        {{"--eval", "x", "x=-1e-7"}, 0, "-1E-7\n", ""},
        {{"--eval", "sqrt(x)", "x=-1"}, 1, "evaluation failed\n", ""},
        {{"--eval", "2*"}, 1, "evaluation failed\n", ""},
        {{"--eval", ""}, 1, "evaluation failed\n", ""},
        {{"--eval", "1" + std::string(400, '0')}, 2, "", "Floating point overflow\n"},
        {{"--eval", "x", "z=1"}, 2, "", "curvana --eval: wrong argument 'z=1'"},
        {{"--eval", "x", "x=abc"}, 2, "", "curvana --eval: wrong argument 'x=abc'"},
        {{"--eval", "x", "x=1,5"}, 2, "", "curvana --eval: wrong argument 'x=1,5'"},
        {{"--eval", "x", "x"}, 2, "", "curvana --eval: wrong argument 'x'"},
        {{"--eval", "x", "X=1"}, 2, "", "curvana --eval: wrong argument 'X=1'"},
        {{"--eval"}, 2, "", "curvana --eval: no expression given"},
    };
    for (const Case& c : cases) {
        const TRun run = RunCurvana(c.arguments);
        const std::string label = c.arguments.size() > 1 ? c.arguments[1] : c.arguments[0];
        EXPECT_EQ(run.ExitCode, c.exitCode) << label;
        EXPECT_EQ(run.Out, c.out) << label;
        EXPECT_EQ(run.Err.substr(0, c.errStart.size()), c.errStart) << label;
        if (c.errStart.empty()) {
            EXPECT_EQ(run.Err, "") << label;
        }
    }
    EXPECT_NE(
        RunCurvana({"--eval", "x", "x=abc"}).Err.find("'abc' is not a valid floating point value"),
        std::string::npos);
}

TEST(EvalCommand, ExplainShowsTokensAndInstructions) {
    const std::string expected = "tokens: 2 * x ^ 2 - 3 * x + 1\n"
                                 "compiled: yes\n"
                                 "instructions: 5\n"
                                 "TempVariable1 x 2 ^\n"
                                 "TempVariable2 2 TempVariable1 *\n"
                                 "TempVariable3 3 x *\n"
                                 "TempVariable4 TempVariable2 TempVariable3 -\n"
                                 "TempVariable5 TempVariable4 1 +\n"
                                 "15\n";
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{"--eval", "2x^2-3x+1", "--explain", "x=-2"},
                                               {"--eval", "--explain", "2x^2-3x+1", "x=-2"},
                                               {"--eval", "2x^2-3x+1", "x=-2", "--explain"}}) {
        const TRun run = RunCurvana(arguments);
        EXPECT_EQ(run.ExitCode, 0);
        EXPECT_EQ(run.Out, expected);
    }
    const TRun failed = RunCurvana({"--eval", "--x", "--explain"});
    EXPECT_EQ(failed.ExitCode, 1);
    EXPECT_EQ(failed.Out, "tokens: neg neg x\ncompiled: no\ninstructions: 0\nevaluation failed\n");
}

TEST(EvalCommand, HelpAndVersionStillWork) {
    const TRun help = RunCurvana({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_NE(help.Out.find("curvana --eval EXPR [NAME=VALUE ...] [--explain]"), std::string::npos);
    EXPECT_NE(help.Out.find("--version"), std::string::npos);
    const TRun version = RunCurvana({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out.rfind("Curvana Slide Show ", 0), 0u);
}

TEST(EvalCommand, RegionalSeparator) {
    const char* locale = "de_DE.UTF-8";
    if (std::setlocale(LC_NUMERIC, locale) == nullptr) {
        GTEST_SKIP() << locale << " is not installed";
    }
    std::setlocale(LC_NUMERIC, "C");
    // A "." is a decimal point besides the regional ","; results are written regionally.
    const struct {
        std::vector<std::string> Arguments;
        const char* Out;
    } cases[] = {
        {{"--eval", "x+0,25", "x=1,5"}, "1,75\n"},
        {{"--eval", "x+0.25", "x=1.5"}, "1,75\n"},
        {{"--eval", "2.5*2"}, "5\n"},
        {{"--eval", "4.9x^2", "x=2"}, "19,6\n"},
    };
    for (const auto& c : cases) {
        const TRun run = RunCurvana(c.Arguments, std::string("LC_ALL=") + locale);
        EXPECT_EQ(run.ExitCode, 0) << c.Arguments[1];
        EXPECT_EQ(run.Out, c.Out) << c.Arguments[1];
    }
}

} // namespace
