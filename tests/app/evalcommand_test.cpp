// Runs the built program and checks what `curvana --eval` prints and returns.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct TRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the program with the arguments and, if given, one more environment entry.
TRun RunCurvana(const std::vector<std::string>& arguments, const std::string& environment = "") {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string tag = std::to_string(::getpid());
    const std::string outPath = (dir / ("curvana-eval-out-" + tag)).string();
    const std::string errPath = (dir / ("curvana-eval-err-" + tag)).string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<std::string> args{CURVANA_BINARY};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        // The program reads the separator from these; the test decides them.
        if (!entry.starts_with("LC_ALL=") && !entry.starts_with("LC_NUMERIC=") &&
            !entry.starts_with("LANG=")) {
            env.push_back(entry);
        }
    }
    env.push_back(environment.empty() ? "LC_ALL=C" : environment);
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    TRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, CURVANA_BINARY, &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.Out = ReadFile(outPath);
    run.Err = ReadFile(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
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
