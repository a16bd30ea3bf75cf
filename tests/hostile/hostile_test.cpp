// Every file of tests/data/hostile/ and a few big ones made here is handed to
// `curvana --export` in a process of its own. Each must either be drawn (exit 0, a picture per
// slide) or be refused with its message (exit 1), within a generous time limit that only
// catches hangs, and never end by a signal. The time each file took is printed for
// tests/data/hostile/time-corpus.sh.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path DataDir = fs::path(CURVANA_SOURCE_DIR) / "tests/data/hostile";

struct TOutcome {
    bool TimedOut = false;
    bool Signalled = false;
    int Signal = 0;
    int ExitCode = -1;
    double Seconds = 0;
    std::string Err;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The hang limit; CURVANA_HOSTILE_LIMIT (seconds) raises it for measuring the slow cases.
long LimitSeconds() {
    const char* text = std::getenv("CURVANA_HOSTILE_LIMIT");
    const long seconds = text != nullptr ? std::atol(text) : 0;
    return seconds > 0 ? seconds : CURVANA_HOSTILE_LIMIT_SECONDS;
}

// Runs curvana with the arguments, stdout and stderr into files of folder, and kills it once the
// limit has passed.
TOutcome RunCurvana(const std::vector<std::string>& arguments, const fs::path& folder) {
    const fs::path outPath = folder / "stdout.txt";
    const fs::path errPath = folder / "stderr.txt";
    std::vector<std::string> argv{CURVANA_EXE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::fflush(nullptr); // the child must not write out the parent's buffered lines again
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen(outPath.c_str(), "w", stdout);
        std::freopen(errPath.c_str(), "w", stderr);
        std::vector<char*> args;
        for (std::string& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    TOutcome outcome;
    if (pid < 0) {
        ADD_FAILURE() << "fork failed";
        return outcome;
    }
    const auto limit = std::chrono::seconds(LimitSeconds());
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (std::chrono::steady_clock::now() - start > limit) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            outcome.TimedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    outcome.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!outcome.TimedOut) {
        outcome.Signalled = WIFSIGNALED(status);
        outcome.Signal = outcome.Signalled ? WTERMSIG(status) : 0;
        outcome.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    outcome.Err = ReadAll(errPath);
    return outcome;
}

// What a file must give: drawn (with this many pictures), or refused with a message that
// contains the text.
struct TExpected {
    int ExitCode;
    std::string Message; // refusals; for drawings the one line allowed on stderr, if any
    int Pictures = 1;    // drawings only
};

TExpected Drawn(int pictures = 1) {
    return {0, "", pictures};
}

// What a drawing that a limit of its picture cut says, after the file's name (and slide).
const std::string NotDrawnInFull = ": not drawn in full (too much to draw for one picture): ";
const std::string BudgetSpent = NotDrawnInFull + "graph ";

// Drawn, only in part: the work budget of the picture ran out.
TExpected DrawnInPart() {
    return {0, BudgetSpent, 1};
}
// Drawn, only in part: a grid or the axis marks reached the cap of marks a walk may make, or a
// text (labels, titles, the legend) did not fit in the work budget.
TExpected MarksCut(const std::string& what) {
    return {0, NotDrawnInFull + what, 1};
}
TExpected Refused(std::string message) {
    return {1, std::move(message), 0};
}

const std::string NotAFile = "neither a document nor a slide show";

// The committed corpus, made by make-corpus.py.
const std::map<std::string, TExpected>& CommittedCases() {
    static const std::map<std::string, TExpected> cases = {
        {"attributes-everywhere.xml", Drawn()},
        {"byte-order-mark.xml", Refused(NotAFile)},
        {"cdata-and-comments.xml", Drawn()},
        {"declaration-first.xml", Refused(NotAFile)},
        {"empty.xml", Refused(NotAFile)},
        {"empty.sld", Refused(NotAFile)},
        {"entity-bomb-after-root.xml", Refused(NotAFile)},
        {"entity-bomb.xml", Refused("Error parsing document type declaration")},
        {"entity-bomb-in-show.sld", Refused("Error parsing document type declaration")},
        {"external-entity.xml", Refused("Error parsing document type declaration")},
        {"fonts-extremes.xml", Drawn()},
        // "0 = 0" holds everywhere: the curve alone would fill the picture pixel by pixel.
        {"graph-expressions-broken.xml", Drawn()},
        {"graph-kinds-unknown.xml", Drawn()},
        {"graph-style-extremes.xml", Drawn()},
        {"invalid-utf8-name.xml", Refused(":1:22: invalid UTF-8 (byte 0xFF)")},
        {"invalid-utf8.xml", Refused(":1:45: invalid UTF-8 (byte 0xFF)")},
        {"leaf-holds-elements.xml", Refused("Element does not contain a single text node")},
        {"nul-bytes.xml", Refused("Start-end tags mismatch")},
        {"plot-steps-2147483647.xml", DrawnInPart()},
        {"plot-stepsxy-2147483647.xml", DrawnInPart()},
        {"numbers-odd.xml", Refused("'$10' is not a valid floating point value")},
        {"only-root-tag.xml", Refused("Start-end tags mismatch")},
        {"random-bytes-after-tag.xml", Refused("invalid UTF-8")},
        {"random-bytes-after-tag.sld", Refused("invalid UTF-8")},
        {"random-bytes.xml", Refused(NotAFile)},
        // Grid circles a step apart out to 1e308.
        {"range-1e308-boxed.xml", MarksCut("the radial grid")},
        {"range-1e308.xml", MarksCut("the radial grid")},
        {"range-beyond-double.xml", Refused("Floating point overflow")},
        {"range-min-equals-max.xml", Drawn()},
        {"range-nan-text.xml", Refused("'NaN' is not a valid floating point value")},
        {"range-near-1e308.xml", Drawn()},
        {"range-reversed.xml", Drawn()},
        // Rays 1e-300 of a half turn apart.
        {"range-tiny-1e-300.xml", MarksCut("the angular grid")},
        {"show-attributes.sld", Refused(NotAFile)},
        {"show-bad-slide-in-middle.sld",
         {1, "slide 2: 'abc' is not a valid floating point value", 2}},
        {"show-mixed.sld", {0, BudgetSpent, 5}},
        {"show-no-slides.sld", Refused("the slide show holds no slides")},
        {"show-root-only.sld", Refused("Start-end tags mismatch")},
        {"show-wrong-root.sld", Refused(NotAFile)},
        {"table-nan-point.xml", Refused("'NaN' is not a valid floating point value")},
        {"tables-odd.xml", Drawn()},
        {"truncated.sld", Refused("Start-end tags mismatch")},
        {"truncated.xml", Refused("Start-end tags mismatch")},
        {"unknown-elements.xml", Drawn()},
        {"utf16.xml", Refused(NotAFile)},
    };
    return cases;
}

TExpected ExpectedFor(const std::string& name) {
    const auto& cases = CommittedCases();
    if (const auto it = cases.find(name); it != cases.end())
        return it->second;
    // Families of files that behave alike.
    if (name.starts_with("plot-"))
        return Drawn();
    if (name.starts_with("view-steps-nan"))
        return Refused("'NaN' is not a valid floating point value");
    if (name.starts_with("view-steps-inf"))
        return Refused("'INF' is not a valid floating point value");
    // Circles and rays from the origin a step of 1e-300 apart.
    if (name.starts_with("view-steps-tiny"))
        return MarksCut("the radial grid, the angular grid");
    if (name.starts_with("view-steps-"))
        return Drawn();
    ADD_FAILURE() << name << " has no expected outcome: add it to hostile_test.cpp";
    return Drawn();
}

class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "curvana-hostile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        Folder = name;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(Folder, ignored);
    }

    // Renders one file into a fresh output folder and checks the outcome.
    void Check(const fs::path& file, const TExpected& expected,
               const std::vector<std::string>& options = {}) {
        SCOPED_TRACE(file.filename().string());
        const fs::path out = Folder / "out";
        fs::remove_all(out);
        std::vector<std::string> arguments{"--export", out.string()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back(file.string());
        const TOutcome outcome = RunCurvana(arguments, Folder);
        std::printf("[hostile] %-36s %8.2f s  exit %d\n", file.filename().c_str(), outcome.Seconds,
                    outcome.ExitCode);
        ASSERT_FALSE(outcome.TimedOut) << "still running after " << LimitSeconds() << " s";
        ASSERT_FALSE(outcome.Signalled) << "ended by signal " << outcome.Signal << "\n"
                                        << outcome.Err.substr(0, 4000);
        EXPECT_EQ(outcome.ExitCode, expected.ExitCode) << outcome.Err.substr(0, 2000);
        if (expected.ExitCode != 0) {
            EXPECT_NE(outcome.Err.find(expected.Message), std::string::npos)
                << "message: " << outcome.Err.substr(0, 2000);
        } else if (expected.Message.empty()) {
            EXPECT_EQ(outcome.Err, "");
        } else {
            // One line that names the file (and slide) and what was cut.
            EXPECT_EQ(outcome.Err.rfind(file.string() + ": ", 0), 0u) << outcome.Err;
            EXPECT_NE(outcome.Err.find(expected.Message), std::string::npos) << outcome.Err;
            EXPECT_EQ(std::count(outcome.Err.begin(), outcome.Err.end(), '\n'), 1) << outcome.Err;
        }
        int pictures = 0;
        if (fs::exists(out))
            for (const auto& entry : fs::directory_iterator(out))
                pictures += entry.path().extension() == ".png" && fs::file_size(entry.path()) > 0;
        EXPECT_EQ(pictures, expected.Pictures);
    }

    // Writes a generated file into the test's folder.
    fs::path Make(const std::string& name, const std::function<void(std::ostream&)>& write) {
        const fs::path path = Folder / name;
        std::ofstream file(path, std::ios::binary);
        write(file);
        return path;
    }

    fs::path Folder;
};

TEST_F(HostileFiles, CommittedCorpus) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(DataDir)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".xml" || ext == ".sld")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_GT(files.size(), 60u) << "run make-corpus.py";
    for (const fs::path& file : files)
        Check(file, ExpectedFor(file.filename().string()));
}

// The big cases are made here so the repository stays small.

// A million measured points along the x range, smoothed: the reader and the table plotter.
TEST_F(HostileFiles, MillionTablePoints) {
    Check(Make("table-1m.xml",
               [](std::ostream& o) {
                   o << "<CurvanaDocument><Memory><TableObj><ShowEnabled>1</ShowEnabled>"
                        "<Smooth>1</Smooth><TableElemObjList>";
                   for (int i = 0; i < 1'000'000; ++i)
                       o << "<TableElemObj><x>" << i / 50'000.0 - 10 << "</x><y>"
                         << (i * 7919LL % 2000) / 1000.0 - 1 << "</y></TableElemObj>";
                   o << "</TableElemObjList></TableObj></Memory></CurvanaDocument>";
               }),
          Drawn());
}

// A million table segments across the whole picture: within the drawing a picture may take, so
// drawn whole.
TEST_F(HostileFiles, MillionTablePointsAcrossThePicture) {
    Check(Make("table-1m-zigzag.xml",
               [](std::ostream& o) {
                   o << "<CurvanaDocument><Memory><TableObj><ShowEnabled>1</ShowEnabled>"
                        "<Smooth>1</Smooth><TableElemObjList>";
                   for (int i = 0; i < 1'000'000; ++i)
                       o << "<TableElemObj><x>" << (i % 2000) / 100.0 - 10 << "</x><y>"
                         << (i * 7919LL % 2000) / 100.0 - 10 << "</y></TableElemObj>";
                   o << "</TableElemObjList></TableObj></Memory></CurvanaDocument>";
               }),
          Drawn());
}

// 100,000 short lines, most of their samples off the view, with their legend: more than a
// picture may take, so the last graphs are cut and named.
TEST_F(HostileFiles, HundredThousandGraphs) {
    Check(Make("graphs-100k.xml",
               [](std::ostream& o) {
                   o << "<CurvanaDocument><Coordinate><LegendEnabled>1</LegendEnabled>"
                        "</Coordinate><Memory>";
                   for (int i = 0; i < 100'000; ++i)
                       o << "<FunctionObj><Exp>x+" << i % 20 << "</Exp><ShowEnabled>1"
                         << "</ShowEnabled></FunctionObj>";
                   o << "</Memory></CurvanaDocument>";
               }),
          DrawnInPart());
}

// Samples that all lie off the view draw nothing, yet each costs its clipping: cut at the budget
// like a curve in view.
TEST_F(HostileFiles, MaximalStepsOffTheView) {
    Check(Make("plot-steps-off-view.xml",
               [](std::ostream& o) {
                   o << "<CurvanaDocument><Memory><FunctionObj><Exp>x+100</Exp><ShowEnabled>1"
                        "</ShowEnabled><PlotParameter><Steps>2147483647</Steps></PlotParameter>"
                        "</FunctionObj></Memory></CurvanaDocument>";
               }),
          DrawnInPart());
}

// Texts beyond the budget are left out and named: a megabyte x-axis unit on 20,000 labels, and
// sixty legend lines of megabyte captions (graphs with no steps, which draw nothing).
TEST_F(HostileFiles, MegabyteTexts) {
    const std::string megabyte(1u << 20, 'm');
    Check(Make("labels-unit-1mb.xml",
               [&](std::ostream& o) {
                   o << "<CurvanaDocument><Coordinate><XAxesLabelsStep>0.001</XAxesLabelsStep>"
                        "<XAxesLabelsString>"
                     << megabyte << "</XAxesLabelsString></Coordinate></CurvanaDocument>";
               }),
          MarksCut("the x-axis labels"));
    Check(Make("legend-captions-1mb.xml",
               [&](std::ostream& o) {
                   o << "<CurvanaDocument><Coordinate><LegendEnabled>1</LegendEnabled>"
                        "</Coordinate><Memory>";
                   for (int i = 0; i < 60; ++i)
                       o << "<FunctionObj><Exp>x+" << megabyte << "</Exp><ShowEnabled>1"
                         << "</ShowEnabled><PlotParameter><Steps>0</Steps></PlotParameter>"
                            "</FunctionObj>";
                   o << "</Memory></CurvanaDocument>";
               }),
          MarksCut("the legend"));
}

TEST_F(HostileFiles, MegabyteExpressions) {
    const auto document = [](const std::string& exp, int type, const std::string& addExp) {
        return [=](std::ostream& o) {
            o << "<CurvanaDocument><Memory><FunctionObj><Exp>" << exp << "</Exp><AddExp>" << addExp
              << "</AddExp><ShowEnabled>1</ShowEnabled><FunctionObjType>" << type
              << "</FunctionObjType></FunctionObj></Memory></CurvanaDocument>";
        };
    };
    std::string sum;
    while (sum.size() < (1u << 20))
        sum += "x*0.5+";
    sum += "1";
    const std::string nested = std::string(1u << 19, '(') + "x" + std::string(1u << 19, ')');
    Check(Make("exp-sum-1mb.xml", document(sum, 0, "")), Drawn());
    Check(Make("exp-nested-1mb.xml", document(nested, 0, "")), Drawn());
}

// A region of a megabyte expression, about 350,000 instructions at each of the 2,601 grid
// points: drawn in part.
TEST_F(HostileFiles, MegabyteRegion) {
    std::string sum;
    while (sum.size() < (1u << 20))
        sum += "x*0.5+";
    Check(Make("exp-region-1mb.xml",
               [&](std::ostream& o) {
                   o << "<CurvanaDocument><Memory><FunctionObj><Exp>" << sum << "1</Exp><AddExp>"
                     << "&gt;0</AddExp><ShowEnabled>1</ShowEnabled><FunctionObjType>4"
                     << "</FunctionObjType></FunctionObj></Memory></CurvanaDocument>";
               }),
          DrawnInPart());
}

TEST_F(HostileFiles, MillionNestedElements) {
    for (const char* where : {"", "<Memory><FunctionObj>", "<Coordinate>"}) {
        const std::string close = std::string(where) == "" ? ""
                                  : std::string(where) == "<Coordinate>"
                                      ? "</Coordinate>"
                                      : "</FunctionObj></Memory>";
        Check(Make("nested-1m.xml",
                   [&](std::ostream& o) {
                       o << "<CurvanaDocument>" << where;
                       for (int i = 0; i < 1'000'000; ++i)
                           o << "<a>";
                       for (int i = 0; i < 1'000'000; ++i)
                           o << "</a>";
                       o << close << "</CurvanaDocument>";
                   }),
              Drawn());
    }
    // The same depth inside a slide of a show: copied level by level when split.
    Check(Make("nested-1m.sld",
               [](std::ostream& o) {
                   o << "<CurvanaSlides><CurvanaDocument>";
                   for (int i = 0; i < 1'000'000; ++i)
                       o << "<Memory>";
                   for (int i = 0; i < 1'000'000; ++i)
                       o << "</Memory>";
                   o << "</CurvanaDocument></CurvanaSlides>";
               }),
          Drawn());
}

// 10,000 pictures of 1920 x 1080 would take minutes of PNG encoding alone; the show is drawn
// small here (tests/data/hostile/time-corpus.sh measures a slide at full size).
TEST_F(HostileFiles, TenThousandSlides) {
    Check(Make("show-10k.sld",
               [](std::ostream& o) {
                   o << "<CurvanaSlides>";
                   for (int i = 0; i < 10'000; ++i)
                       o << "<CurvanaDocument><Memory><FunctionObj><Exp>x^" << i % 5
                         << "</Exp><ShowEnabled>1</ShowEnabled></FunctionObj></Memory>"
                            "</CurvanaDocument>";
                   o << "</CurvanaSlides>";
               }),
          Drawn(10'000), {"--size", "32x18"});
}

} // namespace
