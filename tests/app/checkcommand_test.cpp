#include "app/checkcommand.h"
#include "common/decimalseparator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace curvana {
namespace {

using TSeverity = TCheckFinding::TSeverity;

const std::string DataDir = std::string(CURVANA_SOURCE_DIR) + "/tests/data/check/";

struct Expected {
    TSeverity severity;
    int line;
    std::string messageStart;
};

void ExpectFindings(const std::string& path, const std::vector<Expected>& expected,
                    const TDrawLimits& limits = {}) {
    const std::vector<TCheckFinding> found = CheckFile(path, limits);
    ASSERT_EQ(found.size(), expected.size()) << path;
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].File, path);
        EXPECT_EQ(found[i].Severity, expected[i].severity) << path << " #" << i;
        EXPECT_EQ(found[i].Line, expected[i].line) << path << " #" << i << ": " << found[i].Message;
        EXPECT_EQ(found[i].Message.substr(0, expected[i].messageStart.size()),
                  expected[i].messageStart)
            << path << " #" << i;
    }
}

// A file of its own per test, removed afterwards.
struct TempFile {
    explicit TempFile(const std::string& content) {
        std::string name =
            (std::filesystem::temp_directory_path() / "curvana-check-XXXXXX").string();
        const int fd = ::mkstemp(name.data());
        EXPECT_GE(fd, 0);
        ::close(fd);
        Path = name;
        std::ofstream(Path, std::ios::binary) << content;
    }
    ~TempFile() { std::filesystem::remove(Path); }
    std::string Path;
};

class CheckCommand : public ::testing::Test {
protected:
    TDecimalSeparatorScope Dot{'.'};
};

TEST_F(CheckCommand, BrokenFixturesGiveTheirFindings) {
    const TSeverity E = TSeverity::Error;
    const TSeverity N = TSeverity::Note;
    const TSeverity I = TSeverity::Info;
    ExpectFindings(DataDir + "malformed.xml",
                   {{I, 0, "document"}, {E, 6, "Start-end tags mismatch"}});
    ExpectFindings(DataDir + "malformed.sld",
                   {{I, 0, "slide show"}, {E, 3, "Start-end tags mismatch"}});
    ExpectFindings(DataDir + "bad-value.xml",
                   {{I, 0, "document"},
                    {E, 12,
                     "'yes' is not a valid integer value (at "
                     "CurvanaDocument/Memory/FunctionObj[2]/ShowEnabled)"}});
    ExpectFindings(DataDir + "declaration.xml",
                   {{E, 1, "neither a document nor a slide show: the first line must begin"}});
    ExpectFindings(DataDir + "no-slides.sld",
                   {{I, 0, "slide show with 0 slides"},
                    {E, 1, "the slide show has no CurvanaDocument slide"}});
    ExpectFindings(DataDir + "view.xml",
                   {{I, 0, "document"},
                    {E, 3, "the visible x range XInterval 5..5 is empty"},
                    {N, 5, "GridHorStep is 0, so no horizontal grid lines are drawn"}});
    ExpectFindings(
        DataDir + "graphs.xml",
        {{I, 0, "document"},
         {E, 3, "graph 1 \"Y(x)=sin(x\": the expression \"sin(x\" does not compile"},
         {E, 7, "graph 2 \"Y(x)=x\" draws nothing: PlotParameter Steps is 0"},
         {E, 12, "graph 3 \"X(t)=cos(t) ; Y(t)=sin(t)\" draws nothing: its Interval 0..0 is empty"},
         {E, 18, "graph 4 \"kind 7\" draws nothing: FunctionObjType 7 is not a kind of graph"},
         {E, 23, "graph 5 \"Table: 1 Items\" has 1 point, and a table needs two to draw"},
         {E, 29,
          "graph 6 \"Y(x)=sqrt(-1-x^2)\" draws nothing: the expression \"sqrt(-1-x^2)\" "
          "has no value anywhere"},
         {E, 33, "graph 7 \"Y(x)=x+1000"},
         {E, 37,
          "graph 8 \"f(x,y)=x^2+y^2-1<0\" draws nothing: PlotParameter StepsOnX and "
          "StepsOnY are 0 and 50"},
         {N, 44, "graph 9 \"Y(x)=x^3\" is hidden (ShowEnabled 0)"}});
    // The errors of a show are given at their lines in the .sld, slide by slide; slide 2's
    // failure does not stop slide 3.
    ExpectFindings(
        DataDir + "broken-show.sld",
        {{I, 0, "slide show with 3 slides"},
         {E, 20,
          "slide 2: '1..5' is not a valid floating point value (at "
          "CurvanaDocument/Memory/FunctionObj/Interval/Max)"},
         {E, 27, "slide 3: graph 1 \"Table: 0 Items\" has 0 points"},
         {E, 30, "slide 3: graph 2 \"Y(x)=2(x\": the expression \"2(x\" does not compile"}});
}

TEST_F(CheckCommand, OverflowingLiteralIsReportedAsRaising) {
    const std::vector<TCheckFinding> found = CheckFile(DataDir + "graphs.xml");
    ASSERT_GE(found.size(), 8u);
    EXPECT_NE(found[7].Message.find("raises \"Floating point overflow\""), std::string::npos)
        << found[7].Message;
    EXPECT_LT(found[7].Message.size(), 200u) << "long expressions are cut in messages";
}

TEST_F(CheckCommand, ViewAndGraphListPersistFromSlideToSlide) {
    TempFile show("<CurvanaSlides>\n"
                  "<CurvanaDocument><Coordinate>\n"
                  "<XInterval><Min>0</Min><Max>5</Max></XInterval></Coordinate>\n"
                  "<Memory><FunctionObj><Exp>x</Exp><ShowEnabled>1</ShowEnabled></FunctionObj>"
                  "<FunctionObj><Exp>(</Exp></FunctionObj></Memory></CurvanaDocument>\n"
                  "<CurvanaDocument><Coordinate/></CurvanaDocument>\n"
                  "<CurvanaDocument><Memory>\n<FunctionObj><Exp>x</Exp>"
                  "<Interval><Min>6</Min><Max>8</Max></Interval><ShowEnabled>1</ShowEnabled>"
                  "</FunctionObj></Memory></CurvanaDocument>\n"
                  "</CurvanaSlides>\n");
    ExpectFindings(show.Path, {{TSeverity::Info, 0, "slide show with 3 slides"},
                               {TSeverity::Note, 4, "slide 1: graph 2 \"Y(x)=(\" is hidden"},
                               {TSeverity::Error, 4, "slide 1: graph 2 \"Y(x)=(\": the expression"},
                               // Slide 2 has no Memory: the graphs of slide 1 are not reported
                               // again. Slide 3 is seen with the x range 0..5 that slide 1 set.
                               {TSeverity::Note, 7,
                                "slide 3: graph 1 \"Y(x)=x\" lies outside the visible x range: its "
                                "Interval is 6..8"}});
}

// Only 1 switches a flag on, so any value but 0 and 1 is noted where it is written; a slide
// that does not write the flag again is not told about it twice.
TEST_F(CheckCommand, FlagsOtherThanZeroAndOneAreNoted) {
    TempFile show("<CurvanaSlides>\n"
                  "<CurvanaDocument><Coordinate>\n"
                  "<LegendEnabled>2</LegendEnabled>\n"
                  "<GridRadialEnabled>1</GridRadialEnabled>\n"
                  "<XArrow><Name>x</Name>\n<Enabled>3</Enabled></XArrow>\n"
                  "</Coordinate><Memory>\n"
                  "<FunctionObj><Exp>x</Exp><ShowEnabled>2</ShowEnabled></FunctionObj>\n"
                  "<TableObj><ShowEnabled>1</ShowEnabled><Smooth>2</Smooth><TableElemObjList>"
                  "<TableElemObj><x>1</x><y>2</y></TableElemObj><TableElemObj><x>2</x><y>1</y>"
                  "</TableElemObj></TableElemObjList></TableObj>\n"
                  "</Memory><AddLabels>\n"
                  "<AddLabel><Caption>a</Caption><Transparent>9</Transparent></AddLabel>\n"
                  "</AddLabels></CurvanaDocument>\n"
                  "<CurvanaDocument><Coordinate><GridHorEnabled>1</GridHorEnabled>"
                  "</Coordinate></CurvanaDocument>\n"
                  "</CurvanaSlides>\n");
    const TSeverity N = TSeverity::Note;
    ExpectFindings(show.Path,
                   {{TSeverity::Info, 0, "slide show with 2 slides"},
                    {N, 3, "slide 1: LegendEnabled is 2, which counts as off: only 1 switches"},
                    {N, 6, "slide 1: XArrow Enabled is 3, which counts as off"},
                    {N, 8, "slide 1: graph 1 \"Y(x)=x\": ShowEnabled is 2, which counts as off"},
                    {N, 9, "slide 1: graph 2 \"Table: 2 Items\": Smooth is 2"},
                    {N, 11, "slide 1: label \"a\": Transparent is 9"}});
}

TEST_F(CheckCommand, ImplicitCurvesAndRegionsAreCompiledAsTheyArePlotted) {
    TempFile doc("<CurvanaDocument><Memory>\n"
                 "<FunctionObj><Exp>x^2+y^2-1</Exp><AddExp> =0 </AddExp><ShowEnabled>1"
                 "</ShowEnabled><FunctionObjType>4</FunctionObjType></FunctionObj>\n"
                 "<FunctionObj><Exp>x^2+y^2-1</Exp><AddExp>&lt;0</AddExp><ShowEnabled>1"
                 "</ShowEnabled><FunctionObjType>4</FunctionObjType></FunctionObj>\n"
                 "<FunctionObj><Exp>x</Exp><AddExp>&lt;</AddExp><ShowEnabled>1"
                 "</ShowEnabled><FunctionObjType>4</FunctionObjType></FunctionObj>\n"
                 "<FunctionObj><Exp>ln(-1-x^2)</Exp><AddExp>=0</AddExp><ShowEnabled>1"
                 "</ShowEnabled><FunctionObjType>4</FunctionObjType></FunctionObj>\n"
                 "<FunctionObj><Exp>r</Exp><ShowEnabled>1</ShowEnabled><FunctionObjType>2"
                 "</FunctionObjType><Interval><Min>0</Min><Max>2</Max></Interval></FunctionObj>"
                 "\n</Memory></CurvanaDocument>\n");
    ExpectFindings(
        doc.Path,
        {{TSeverity::Info, 0, "document"},
         {TSeverity::Error, 4, "graph 3 \"f(x,y)=x<\": the expression \"(x)<\" does not compile"},
         {TSeverity::Error, 5, "graph 4 \"f(x,y)=ln(-1-x^2)=0\" draws nothing"},
         // r is no variable of the show: the polar curve has no value anywhere.
         {TSeverity::Error, 6, "graph 5 \"R(a)=r\" draws nothing"},
         {TSeverity::Note, 6, "graph 5 \"R(a)=r\": Exp \"r\" column 1: \"r\" is left out"}});
}

TEST_F(CheckCommand, GraphsThatLandOutsideTheSlidesViewAreNoted) {
    TempFile doc("<CurvanaDocument><Coordinate><YInterval><Min>-5</Min><Max>5</Max>"
                 "</YInterval></Coordinate><Memory>\n"
                 "<FunctionObj><Exp>x+100</Exp><ShowEnabled>1</ShowEnabled></FunctionObj>\n"
                 "<FunctionObj><Exp>x/2</Exp><ShowEnabled>1</ShowEnabled></FunctionObj>\n"
                 "<TableObj><ShowEnabled>1</ShowEnabled><TableElemObjList>"
                 "<TableElemObj><x>500</x><y>500</y></TableElemObj>"
                 "<TableElemObj><x>600</x><y>500</y></TableElemObj>"
                 "</TableElemObjList></TableObj>\n"
                 "<TableObj><ShowEnabled>1</ShowEnabled><TableElemObjList>"
                 "<TableElemObj><x>-500</x><y>0</y></TableElemObj>"
                 "<TableElemObj><x>500</x><y>0</y></TableElemObj>"
                 "</TableElemObjList></TableObj>\n"
                 "<FunctionObj><Exp>x^2+y^2+1</Exp><AddExp>=0</AddExp><ShowEnabled>1"
                 "</ShowEnabled><FunctionObjType>4</FunctionObjType></FunctionObj>\n"
                 "</Memory></CurvanaDocument>\n");
    ExpectFindings(doc.Path,
                   {{TSeverity::Info, 0, "document"},
                    {TSeverity::Note, 2,
                     "graph 1 \"Y(x)=x+100\" draws nothing in the view the slide sets (x "
                     "-10..10, y -5..5)"},
                    // A table is drawn without range checks: one crossing the view shows.
                    {TSeverity::Note, 4, "graph 3 \"Table: 2 Items\" draws nothing in the view"},
                    // A curve without real points has values but no pixel.
                    {TSeverity::Note, 6, "graph 5 \"f(x,y)=x^2+y^2+1=0\" draws nothing"}});
}

TEST_F(CheckCommand, LabelsOutsideTheSlidesViewAreNoted) {
    TempFile show("<CurvanaSlides>\n"
                  "<CurvanaDocument><AddLabels>\n"
                  "<AddLabel><Caption>inside</Caption><x>9</x><y>-9</y></AddLabel>\n"
                  "<AddLabel><Caption>right</Caption><x>10.5</x><y>0</y></AddLabel>\n"
                  "</AddLabels><AddLabels>\n"
                  "<AddLabel><Caption>low</Caption><x>0</x><y>-30</y></AddLabel>\n"
                  "</AddLabels></CurvanaDocument>\n"
                  "<CurvanaDocument><Coordinate><XInterval><Min>0</Min><Max>100</Max>"
                  "</XInterval></Coordinate><AddLabels>\n"
                  "<AddLabel><Caption>right</Caption><x>10.5</x><y>0</y></AddLabel>\n"
                  "</AddLabels></CurvanaDocument>\n"
                  "</CurvanaSlides>\n");
    // The view maps the margins' 30 pixels outside the ranges into the picture, so x 10.5 on
    // -10..10 (about 27 pixels beyond) still shows, y -30 does not.
    ExpectFindings(show.Path,
                   {{TSeverity::Info, 0, "slide show with 2 slides"},
                    {TSeverity::Note, 6,
                     "slide 1: label \"low\" at (0, -30) lies outside the view the slide sets"}});
}

TEST_F(CheckCommand, ExplainsExpressionsThatDrawOtherwiseThanWritten) {
    struct Case {
        int kind;
        const char* exp;
        const char* addExp;
        const char* note; // nullptr: no note at all
    };
    const Case cases[] = {
        {0, "Sin(x)", "",
         "graph 1 \"Y(x)=Sin(x)\": Exp \"Sin(x)\" column 1: \"Sin\" is left out: names are "
         "lower case, write sin"},
        {0, "sin(X)", "", "column 5: \"X\" is left out: variables are x, y, t, a (lower case)"},
        {0, "x\xC2\xB2", "", "column 2: \"\xC2\xB2\" is left out: write ^2"},
        {0, "1e-3*x", "",
         "column 2: \"e\" is left out: numbers have no exponent notation, write 1*10^(-3)"},
        {0, "1 000x", "", "column 2: a blank inside the number \"1 000\""},
        {0, "x 2+3", "", "column 3: nothing joins x and 2"},
        {0, "x*-1", "",
         "column 3: the sign - right after * stops the compilation: put the signed term in "
         "brackets"},
        {3, "cos(t)", "2^-t", "AddExp \"2^-t\" column 3: the sign - right after ^"},
        {4, "x^2+y^2-1", "= 0",
         "AddExp \"= 0\" is read as the region where the value is exactly 0, which fills "
         "nothing: write =0 to draw the curve"},
        {4, "x^2+y^2-1", " =0 ", nullptr},
        {0, "2x^2-3x+1", "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exp);
        TempFile doc("<CurvanaDocument><Memory><FunctionObj><Exp>" + std::string(c.exp) +
                     "</Exp><AddExp>" + c.addExp +
                     "</AddExp><Interval><Min>0</Min><Max>6</Max></Interval>"
                     "<ShowEnabled>1</ShowEnabled><FunctionObjType>" +
                     std::to_string(c.kind) +
                     "</FunctionObjType></FunctionObj></Memory></CurvanaDocument>\n");
        std::vector<std::string> notes;
        for (const TCheckFinding& f : CheckFile(doc.Path)) {
            // "draws nothing" may come before the hint that explains it.
            if (f.Severity == TSeverity::Note &&
                f.Message.find("draws nothing") == std::string::npos) {
                notes.push_back(f.Message);
            }
        }
        if (c.note == nullptr) {
            EXPECT_TRUE(notes.empty()) << notes.front();
            continue;
        }
        ASSERT_EQ(notes.size(), 1u) << notes.front() << "\n" << notes.back();
        EXPECT_NE(notes[0].find(c.note), std::string::npos) << notes[0];
    }
}

TEST_F(CheckCommand, EveryFindingStaysOnOneLine) {
    TempFile doc("<CurvanaDocument><AddLabels><AddLabel><Caption>two\nlines\t&#x7F;</Caption>"
                 "<x>0</x><y>-90</y></AddLabel></AddLabels></CurvanaDocument>\n");
    std::ostringstream out;
    std::ostringstream err;
    RunCheckCommand({doc.Path}, out, err);
    EXPECT_NE(out.str().find("label \"two\\nlines\\t\\x7F\" at (0, -90)"), std::string::npos)
        << out.str();
    std::istringstream lines(out.str());
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_EQ(line.rfind(doc.Path + ":", 0), 0u) << line;
    }
    EXPECT_EQ(count, 3);
}

TEST_F(CheckCommand, NotWellFormedFilesAreGivenWithLineAndColumn) {
    TempFile doc("<CurvanaDocument>\n<Memory><FunctionObj><Name>Tom & Jerry</Name>"
                 "</FunctionObj></Memory>\n</CurvanaDocument>\n");
    TempFile show("<CurvanaSlides>\n<CurvanaDocument><Memory a='1' a='2'/></CurvanaDocument>\n"
                  "</CurvanaSlides>\n");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCheckCommand({doc.Path, show.Path}, out, err), 1);
    EXPECT_NE(out.str().find(doc.Path + ":2:32: error: bare '&': write &amp; for an ampersand\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find(show.Path + ":2:32: error: duplicate attribute 'a'\n"),
              std::string::npos)
        << out.str();
}

TEST_F(CheckCommand, ExamplesPassWithoutErrors) {
    const std::filesystem::path examples = std::filesystem::path(CURVANA_SOURCE_DIR) / "examples";
    if (!std::filesystem::is_directory(examples)) {
        GTEST_SKIP() << "no examples folder";
    }
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".xml" && ext != ".sld") {
            continue;
        }
        ++checked;
        const std::vector<TCheckFinding> found = CheckFile(entry.path().string());
        ASSERT_FALSE(found.empty());
        EXPECT_EQ(found[0].Severity, TSeverity::Info) << entry.path();
        EXPECT_EQ(found[0].Message.rfind(ext == ".sld" ? "slide show" : "document", 0), 0u)
            << entry.path() << ": " << found[0].Message;
        for (const TCheckFinding& f : found) {
            EXPECT_NE(f.Severity, TSeverity::Error) << f.File << ":" << f.Line << ": " << f.Message;
        }
    }
    EXPECT_GT(checked, 0);
}

// Each slide is drawn whole as the show would draw it; a graph that a drawing limit cuts is an
// error on its line, one within the limits is not. The first curve has 101 samples, the second
// about 500 (the default steps).
TEST_F(CheckCommand, GraphsThatADrawingLimitCutsAreErrors) {
    TempFile show("<CurvanaSlides>\n"
                  "<CurvanaDocument><Memory>\n"
                  "<FunctionObj><Exp>x</Exp><ShowEnabled>1</ShowEnabled><PlotParameter>"
                  "<Steps>100</Steps></PlotParameter></FunctionObj>\n"
                  "<FunctionObj><Exp>sin(x)</Exp><ShowEnabled>1</ShowEnabled></FunctionObj>\n"
                  "</Memory></CurvanaDocument>\n"
                  "<CurvanaDocument><Coordinate/></CurvanaDocument>\n"
                  "</CurvanaSlides>\n");
    TDrawLimits limits;
    limits.WalkSamples = 300;
    const std::string cut = "graph 2 \"Y(x)=sin(x)\" is not drawn in full at 1920 x 1080: too "
                            "much to draw for one picture";
    // Slide 2 draws the graphs slide 1 left, and is cut alike; its graph list has no line there.
    ExpectFindings(show.Path,
                   {{TSeverity::Info, 0, "slide show with 2 slides"},
                    {TSeverity::Error, 4, "slide 1: " + cut},
                    {TSeverity::Error, 0, "slide 2: " + cut}},
                   limits);
    limits.WalkSamples = 600;
    ExpectFindings(show.Path, {{TSeverity::Info, 0, "slide show with 2 slides"}}, limits);
}

// The view's own cap of 100,000 ticks, labels or grid lines: a step that needs more is named, on
// the line of the setting (of the finer step, for axis marks), one just within it is not
// (-10..10 in steps of 0.0001 is 200,001 marks, of 0.00021 is 95,239).
TEST_F(CheckCommand, MarksThatTheMarkCapCutsAreErrors) {
    struct Case {
        std::string coordinate; // from line 3 on
        std::string cut;        // empty: nothing cut
        int line;
    };
    const Case cases[] = {
        {"<XAxesTicksStep>0.0001</XAxesTicksStep>", "the x-axis marks", 3},
        {"<XAxesTicksStep>0.00021</XAxesTicksStep>", "", 0},
        {"<YAxesLabelsStep>0.0001</YAxesLabelsStep>", "the y-axis marks", 3},
        {"<YAxesTicksStep>1</YAxesTicksStep>\n<YAxesLabelsStep>0.0001</YAxesLabelsStep>",
         "the y-axis marks", 4},
        {"<YAxesTicksStep>0.0001</YAxesTicksStep>\n<YAxesLabelsStep>1</YAxesLabelsStep>",
         "the y-axis marks", 3},
        {"<GridVerEnabled>1</GridVerEnabled>\n<GridVerStep>0.0001</GridVerStep>",
         "the vertical grid", 4},
        {"<GridVerEnabled>1</GridVerEnabled><GridVerStep>0.00021</GridVerStep>", "", 0},
        {"<GridRadialEnabled>1</GridRadialEnabled>\n\n<GridRadialStep>0.0001</GridRadialStep>",
         "the radial grid", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.coordinate);
        TempFile document("<CurvanaDocument>\n<Coordinate>\n" + c.coordinate +
                          "\n</Coordinate></CurvanaDocument>\n");
        std::vector<Expected> expected = {{TSeverity::Info, 0, "document"}};
        if (!c.cut.empty())
            expected.push_back(
                {TSeverity::Error, c.line,
                 "not drawn in full at 1920 x 1080: " + c.cut + " (more than 100000 of them"});
        ExpectFindings(document.Path, expected);
    }
}

// A text whose work does not fit in the budget is an error on its setting's line; where the
// slide writes no such setting, on the line of its Coordinate element. Titles of 5,000
// characters cost 1,356,750 units each: one fits in a budget of 2,000,000, two do not.
TEST_F(CheckCommand, TextsTheBudgetLeavesOutAreErrors) {
    const std::string title(5'000, 'T');
    TempFile show("<CurvanaSlides>\n"
                  "<CurvanaDocument><Coordinate>\n"
                  "<TitleTopEnabled>1</TitleTopEnabled>\n"
                  "<TitleTop>" +
                  title +
                  "</TitleTop>\n"
                  "</Coordinate></CurvanaDocument>\n"
                  "<CurvanaDocument>\n"
                  "<Coordinate><TitleBottomEnabled>1</TitleBottomEnabled>"
                  "<TitleBottom>" +
                  title +
                  "</TitleBottom></Coordinate>\n"
                  "</CurvanaDocument>\n"
                  "</CurvanaSlides>\n");
    TDrawLimits limits;
    limits.RedrawWork = 2'000'000;
    const std::string cut = "not drawn in full at 1920 x 1080: the bottom title (too much text";
    // Slide 2 keeps slide 1's top title: the bottom one no longer fits. With less, neither fits,
    // and slide 2 names the top title it keeps on its own Coordinate's line.
    ExpectFindings(show.Path,
                   {{TSeverity::Info, 0, "slide show with 2 slides"},
                    {TSeverity::Error, 7, "slide 2: " + cut}},
                   limits);
    limits.RedrawWork = 1'000'000;
    ExpectFindings(show.Path,
                   {{TSeverity::Info, 0, "slide show with 2 slides"},
                    {TSeverity::Error, 4,
                     "slide 1: not drawn in full at 1920 x 1080: the top title (too much text"},
                    {TSeverity::Error, 7,
                     "slide 2: not drawn in full at 1920 x 1080: the top title (too much text"},
                    {TSeverity::Error, 7, "slide 2: " + cut}},
                   limits);
}

TEST_F(CheckCommand, ExitCodesAndOutputFormat) {
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string outContains;
        std::string errContains;
    };
    const Case cases[] = {
        {{}, 2, "", "no file given"},
        {{"--strict", DataDir + "view.xml"}, 2, "", "unknown option --strict"},
        {{DataDir + "bad-value.xml"},
         1,
         DataDir + "bad-value.xml:12: error: 'yes' is not a valid integer value",
         ""},
        {{DataDir + "absent.xml"}, 1, DataDir + "absent.xml: error: no such file", ""},
        {{DataDir + "view.xml"}, 1, DataDir + "view.xml:5: note: GridHorStep is 0", ""},
        {{DataDir + "view.xml"}, 1, DataDir + "view.xml: 1 error(s), 1 note(s)\n", ""},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCheckCommand(c.arguments, out, err), c.exitCode) << out.str() << err.str();
        EXPECT_NE(out.str().find(c.outContains), std::string::npos) << out.str();
        EXPECT_NE(err.str().find(c.errContains), std::string::npos) << err.str();
    }

    TempFile clean("<CurvanaDocument><Memory><FunctionObj><Exp>x</Exp><ShowEnabled>1"
                   "</ShowEnabled></FunctionObj><FunctionObj><Exp>x</Exp></FunctionObj>"
                   "</Memory></CurvanaDocument>");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCheckCommand({clean.Path}, out, err), 0) << "notes alone do not fail";
    EXPECT_EQ(out.str(), clean.Path + ": document\n" + clean.Path +
                             ":1: note: graph 2 \"Y(x)=x\" is hidden (ShowEnabled 0); it is drawn "
                             "once switched on in the graph list\n" +
                             clean.Path + ": ok, 1 note(s)\n");

    std::ostringstream mixedOut;
    EXPECT_EQ(RunCheckCommand({clean.Path, DataDir + "malformed.xml"}, mixedOut, err), 1);
}

} // namespace
} // namespace curvana
