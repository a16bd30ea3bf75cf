#include "common/decimalseparator.h"
#include "docfile/cvxml.h"
#include "docfile/documenterror.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace curvana {
namespace {

// A reader that has loaded the given text; Root() is its document element.
struct Loaded {
    explicit Loaded(std::string text) { Reader.LoadFromText(std::move(text)); }
    pugi::xml_node Root() const { return Reader.DocumentElement(); }
    TCVXML Reader;
};

using Points = std::vector<std::pair<double, double>>;

Points PointsOf(const TTableObj& table) {
    Points points;
    for (int i = 0; i < table.Count(); ++i) {
        points.emplace_back(table.Point(i).x, table.Point(i).y);
    }
    return points;
}

TEST(ReadLeaf, TextIsTheJoinedTextAndCharacterData) {
    const std::pair<const char*, const char*> cases[] = {
        {"<Exp>x^2</Exp>", "x^2"},
        {"<Exp></Exp>", ""},
        {"<Exp/>", ""},
        {"<Exp>  </Exp>", "  "},
        {"<Exp> sin(x) </Exp>", " sin(x) "},
        {"<Exp><![CDATA[x<1]]></Exp>", "x<1"},
        {"<Exp>\n  <![CDATA[x<1]]>\n</Exp>", "x<1"},
        {"<Exp>x<![CDATA[<]]>1</Exp>", "x<1"},
        {"<Exp>x<!-- a note -->+1</Exp>", "x+1"},
        {"<Exp><!-- nothing --></Exp>", ""},
        {"<Exp>a&lt;b&amp;&#x41;</Exp>", "a<b&A"},
        {"<Exp>\xC3\xA9t\xC3\xA9</Exp>", "\xC3\xA9t\xC3\xA9"},
    };
    for (const auto& [xml, text] : cases) {
        Loaded doc(xml);
        EXPECT_EQ(doc.Reader.ReadText(doc.Root()), text) << xml;
    }
}

TEST(ReadLeaf, NumbersFollowTheIntegerAndRealGrammars) {
    Loaded doc("<d><a>  -12</a><b>$FF</b><c>0x10</c><e>2</e><f>256</f><g>-1</g>"
               "<r> 1.5e2 </r><s>-.25</s></d>");
    const pugi::xml_node d = doc.Root();
    EXPECT_EQ(doc.Reader.ReadInteger(d.child("a")), -12);
    EXPECT_EQ(doc.Reader.ReadInteger(d.child("b")), 255);
    EXPECT_EQ(doc.Reader.ReadInteger(d.child("c")), 16);
    // Flags keep the low 8 bits: 2 stays 2, 256 becomes 0, -1 becomes 255.
    EXPECT_EQ(doc.Reader.ReadByte(d.child("e")), 2);
    EXPECT_EQ(doc.Reader.ReadByte(d.child("f")), 0);
    EXPECT_EQ(doc.Reader.ReadByte(d.child("g")), 255);
    EXPECT_EQ(doc.Reader.ReadReal(d.child("r")), 150);
    EXPECT_EQ(doc.Reader.ReadReal(d.child("s")), -0.25);
}

// "." reads in every locale, so documents written anywhere open everywhere; the regional
// separator reads besides it.
TEST(ReadLeaf, RealsReadWithAPointOrTheRegionalSeparator) {
    Loaded doc("<d><a>1,5</a><b>1.5</b><c>0.25</c><e>1.5,2</e></d>");
    {
        TDecimalSeparatorScope comma(',');
        EXPECT_EQ(doc.Reader.ReadReal(doc.Root().child("a")), 1.5);
        EXPECT_EQ(doc.Reader.ReadReal(doc.Root().child("b")), 1.5);
        EXPECT_EQ(doc.Reader.ReadReal(doc.Root().child("c")), 0.25);
        EXPECT_THROW(doc.Reader.ReadReal(doc.Root().child("e")), EDocumentError);
    }
    TDecimalSeparatorScope dot('.');
    EXPECT_EQ(doc.Reader.ReadReal(doc.Root().child("b")), 1.5);
    EXPECT_THROW(doc.Reader.ReadReal(doc.Root().child("a")), EDocumentError);
}

struct ErrorCase {
    const char* name;
    std::string xml;
    std::function<void(const TCVXML&, pugi::xml_node)> read;
    EDocumentError::TKind kind;
    std::string message;
    std::string path;
    int line;
};

TEST(ReadErrors, CarryTheSystemTextThePathAndTheLine) {
    TDecimalSeparatorScope dot('.');
    const auto memory = [](const TCVXML& r, pugi::xml_node n) { r.ReadMemory(n); };
    const auto function = [](const TCVXML& r, pugi::xml_node n) { r.ReadFunctionObj(n); };
    const ErrorCase cases[] = {
        {"word for a flag", "<FunctionObj>\n<ShowEnabled>yes</ShowEnabled></FunctionObj>", function,
         EDocumentError::TKind::Conversion, "'yes' is not a valid integer value",
         "FunctionObj/ShowEnabled", 2},
        {"empty integer", "<FunctionObj><FunctionObjType/></FunctionObj>", function,
         EDocumentError::TKind::Conversion, "'' is not a valid integer value",
         "FunctionObj/FunctionObjType", 1},
        {"integer beyond 32 bits", "<GraphStyle><LineColor>4294967296</LineColor></GraphStyle>",
         [](const TCVXML& r, pugi::xml_node n) { r.ReadGraphStyle(n); },
         EDocumentError::TKind::Conversion, "'4294967296' is not a valid integer value",
         "GraphStyle/LineColor", 1},
        {"real with a word", "<Interval><Min>-1</Min>\n\n<Max>ten</Max></Interval>",
         [](const TCVXML& r, pugi::xml_node n) { r.ReadInterval(n); },
         EDocumentError::TKind::Conversion, "'ten' is not a valid floating point value",
         "Interval/Max", 3},
        {"empty real", "<Interval><Min></Min></Interval>",
         [](const TCVXML& r, pugi::xml_node n) { r.ReadInterval(n); },
         EDocumentError::TKind::Conversion, "'' is not a valid floating point value",
         "Interval/Min", 1},
        {"real beyond double", "<Interval><Max>1e400</Max></Interval>",
         [](const TCVXML& r, pugi::xml_node n) { r.ReadInterval(n); },
         EDocumentError::TKind::Overflow, "Floating point overflow", "Interval/Max", 1},
        {"negative real beyond double", "<Interval><Min>-2e308</Min></Interval>",
         [](const TCVXML& r, pugi::xml_node n) { r.ReadInterval(n); },
         EDocumentError::TKind::Overflow, "Floating point overflow", "Interval/Min", 1},
        {"leaf holding an element", "<FunctionObj><Exp><b>x</b></Exp></FunctionObj>", function,
         EDocumentError::TKind::NotText, "Element does not contain a single text node",
         "FunctionObj/Exp", 1},
        {"number leaf holding an element", "<PlotParameter><Steps>5<i/></Steps></PlotParameter>",
         [](const TCVXML& r, pugi::xml_node n) { r.ReadPlotParameter(n); },
         EDocumentError::TKind::NotText, "Element does not contain a single text node",
         "PlotParameter/Steps", 1},
        {"deep in a second graph",
         "<Memory>\n<FunctionObj/>\n<FunctionObj>\n<GraphStyle>\n<LineWidth>2.5</LineWidth>"
         "</GraphStyle></FunctionObj></Memory>",
         memory, EDocumentError::TKind::Conversion, "'2.5' is not a valid integer value",
         "Memory/FunctionObj[2]/GraphStyle/LineWidth", 5},
        {"table point",
         "<Memory><TableObj><TableElemObjList>\n<TableElemObj><x>1</x></TableElemObj>"
         "\n<TableElemObj><x>1</x><y>1..2</y></TableElemObj>"
         "</TableElemObjList></TableObj></Memory>",
         memory, EDocumentError::TKind::Conversion, "'1..2' is not a valid floating point value",
         "Memory/TableObj/TableElemObjList/TableElemObj[2]/y", 3},
    };
    for (const ErrorCase& c : cases) {
        Loaded doc(c.xml);
        try {
            c.read(doc.Reader, doc.Root());
            ADD_FAILURE() << c.name << ": no error";
        } catch (const EDocumentError& e) {
            EXPECT_EQ(e.Kind, c.kind) << c.name;
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
            EXPECT_EQ(e.ElementPath, c.path) << c.name;
            EXPECT_EQ(e.Line, c.line) << c.name;
        }
    }
}

TEST(ReadCompound, AbsentChildrenTakeTheDefaultsNotEarlierValues) {
    TDecimalSeparatorScope dot('.');
    Loaded doc("<FunctionObj>"
               "<GraphStyle><LineWidth>3</LineWidth><LineColor>255</LineColor>"
               "<BrushStyle>0</BrushStyle></GraphStyle>"
               "<GraphStyle><LineWidth>4</LineWidth></GraphStyle>"
               "<Interval><Min>1</Min><Max>2</Max><Enabled>1</Enabled></Interval>"
               "<Interval><Min>-3</Min><Max>3</Max></Interval>"
               "<PlotParameter><Steps>10</Steps><MaxGap>7</MaxGap></PlotParameter>"
               "<PlotParameter><StepsOnX>20</StepsOnX></PlotParameter>"
               "</FunctionObj>");
    const auto f = doc.Reader.ReadFunctionObj(doc.Root());
    TGraphStyle style;
    style.LineWidth = 4;
    EXPECT_EQ(f->GraphStyle, style) << "the second GraphStyle replaces the first as a whole";
    EXPECT_EQ(f->Interval, TInterval(0, -3, 3));
    TPlotParameter plot;
    plot.StepsOnX = 20;
    EXPECT_EQ(f->PlotParameter, plot);
}

TEST(ReadCompound, ReadsEveryFieldAndIgnoresForeignChildren) {
    TDecimalSeparatorScope dot('.');
    Loaded doc("<d>"
               "<GraphStyle><LineWidth>2</LineWidth><LineStyle>3</LineStyle>"
               "<LineColor>-16777211</LineColor><BrushStyle>7</BrushStyle>"
               "<BrushColor>65280</BrushColor><linewidth>9</linewidth><Extra><LineWidth>8"
               "</LineWidth></Extra></GraphStyle>"
               "<PlotParameter><Steps>1</Steps><StepsOnX>2</StepsOnX><StepsOnY>3</StepsOnY>"
               "<MaxGap>4</MaxGap><!-- note --><Unknown>x</Unknown></PlotParameter>"
               "</d>");
    const TGraphStyle style = doc.Reader.ReadGraphStyle(doc.Root().child("GraphStyle"));
    EXPECT_EQ(style.LineWidth, 2);
    EXPECT_EQ(style.LineStyle, 3);
    EXPECT_EQ(style.LineColor, static_cast<TColor>(0xFF000005));
    EXPECT_EQ(style.BrushStyle, 7);
    EXPECT_EQ(style.BrushColor, 0x00FF00);
    const TPlotParameter plot = doc.Reader.ReadPlotParameter(doc.Root().child("PlotParameter"));
    EXPECT_EQ(plot.Steps, 1);
    EXPECT_EQ(plot.StepsOnX, 2);
    EXPECT_EQ(plot.StepsOnY, 3);
    EXPECT_EQ(plot.MaxGap, 4);
}

TEST(ReadFunctionObj, AbsentChildrenKeepTheDefaultsOfANewGraph) {
    Loaded doc("<FunctionObj><Exp>x</Exp></FunctionObj>");
    const auto f = doc.Reader.ReadFunctionObj(doc.Root());
    EXPECT_EQ(f->Name, "UnknownFunctionObj");
    EXPECT_EQ(f->Exp, "x");
    EXPECT_EQ(f->AddExp, "");
    EXPECT_EQ(f->ShowEnabled, 0) << "a graph without ShowEnabled is hidden";
    EXPECT_EQ(f->Description, "Unknown Description");
    EXPECT_EQ(f->GraphStyle, TGraphStyle());
    EXPECT_EQ(f->Interval, TInterval());
    EXPECT_EQ(f->AddInterval, TInterval());
    EXPECT_EQ(f->PlotParameter, TPlotParameter());
    EXPECT_EQ(f->FunctionObjType, 0);
}

TEST(ReadFunctionObj, ReadsEveryChildAndTheLastOccurrenceWins) {
    TDecimalSeparatorScope dot('.');
    Loaded doc("<FunctionObj><Name>circle</Name><Exp>x^2+y^2-1</Exp><AddExp>=0</AddExp>"
               "<ShowEnabled>1</ShowEnabled><Description>unit</Description>"
               "<AddInterval><Min>-2</Min><Max>2</Max><Enabled>1</Enabled></AddInterval>"
               "<FunctionObjType>4</FunctionObjType><Exp>x^2+y^2-4</Exp>"
               "<ShowEnabled>2</ShowEnabled></FunctionObj>");
    const auto f = doc.Reader.ReadFunctionObj(doc.Root());
    EXPECT_EQ(f->Name, "circle");
    EXPECT_EQ(f->Exp, "x^2+y^2-4");
    EXPECT_EQ(f->AddExp, "=0");
    EXPECT_EQ(f->ShowEnabled, 2);
    EXPECT_EQ(f->Description, "unit");
    EXPECT_EQ(f->AddInterval, TInterval(1, -2, 2));
    EXPECT_EQ(f->FunctionObjType, 4);
}

TEST(ReadTableElemObjList, AppliesThePointRule) {
    TDecimalSeparatorScope dot('.');
    struct Case {
        const char* name;
        const char* list;
        Points points;
    };
    const Case cases[] = {
        {"three points in order",
         "<TableElemObj><x>1</x><y>2</y></TableElemObj>"
         "<TableElemObj><x>3</x><y>4</y></TableElemObj>"
         "<TableElemObj><x>5</x><y>6</y></TableElemObj>",
         {{1, 2}, {3, 4}, {5, 6}}},
        {"other names between points are skipped",
         "<TableElemObj><x>1</x><y>2</y></TableElemObj><Note>x</Note><!-- c -->"
         "<TableElemObj><x>3</x><y>4</y></TableElemObj>text"
         "<TableElemObj><x>5</x><y>6</y></TableElemObj>",
         {{1, 2}, {3, 4}, {5, 6}}},
        {"y before x takes the previous point, 0 for the first",
         "<TableElemObj><y>7</y><x>8</x></TableElemObj>"
         "<TableElemObj><x>1</x><y>2</y></TableElemObj>"
         "<TableElemObj><y>7</y><x>8</x></TableElemObj>",
         {{0, 0}, {1, 2}, {1, 2}}},
        {"a point without y keeps the previous y",
         "<TableElemObj><x>1</x><y>2</y></TableElemObj>"
         "<TableElemObj><x>3</x></TableElemObj>",
         {{1, 2}, {3, 2}}},
        {"an empty point repeats the previous one",
         "<TableElemObj><x>1</x><y>2</y></TableElemObj><TableElemObj/>",
         {{1, 2}, {1, 2}}},
        {"a foreign first child hides x, y still read as the second",
         "<TableElemObj><x>1</x><y>2</y></TableElemObj>"
         "<TableElemObj><z>9</z><y>5</y></TableElemObj>",
         {{1, 2}, {1, 5}}},
        {"further children are ignored, blanks and comments do not count",
         "<TableElemObj>\n  <!-- first -->\n  <x>1</x>\n  <y>2</y>\n  <x>9</x>\n"
         "</TableElemObj>",
         {{1, 2}}},
    };
    for (const Case& c : cases) {
        Loaded doc(std::string("<TableElemObjList>") + c.list + "</TableElemObjList>");
        TTableObj table;
        EXPECT_TRUE(doc.Reader.ReadTableElemObjList(doc.Root(), table)) << c.name;
        EXPECT_EQ(PointsOf(table), c.points) << c.name;
    }
}

TEST(ReadTableElemObjList, WithoutPointsAppendsNothingAndAnswersFalse) {
    Loaded doc("<TableElemObjList><Point><x>1</x><y>2</y></Point></TableElemObjList>");
    TTableObj table;
    table.AddPoint(9, 9);
    EXPECT_FALSE(doc.Reader.ReadTableElemObjList(doc.Root(), table));
    EXPECT_EQ(PointsOf(table), (Points{{9, 9}}));
}

TEST(ReadTableObj, ReadsFieldsAndAppendsEveryPointList) {
    TDecimalSeparatorScope dot('.');
    Loaded doc("<TableObj><Name>t</Name><ShowEnabled>1</ShowEnabled><Smooth>1</Smooth>"
               "<SortingType>3</SortingType><Description>d</Description>"
               "<GraphStyle><LineColor>255</LineColor></GraphStyle>"
               "<Interval><Max>4</Max></Interval><PlotParameter><Steps>9</Steps></PlotParameter>"
               "<TableElemObjList><TableElemObj><x>2</x><y>1</y></TableElemObj>"
               "</TableElemObjList>"
               "<TableElemObjList><TableElemObj><x>1</x></TableElemObj>"
               "</TableElemObjList></TableObj>");
    const auto t = doc.Reader.ReadTableObj(doc.Root());
    EXPECT_EQ(t->Name, "t");
    EXPECT_EQ(t->ShowEnabled, 1);
    EXPECT_EQ(t->Smooth, 1);
    EXPECT_EQ(t->SortingType, 3);
    EXPECT_EQ(t->Description, "d");
    EXPECT_EQ(t->GraphStyle.LineColor, 255);
    EXPECT_EQ(t->Interval, TInterval(0, 0, 4));
    EXPECT_EQ(t->PlotParameter.Steps, 9);
    // The second list starts again from 0 for a missing y; points are never sorted.
    EXPECT_EQ(PointsOf(*t), (Points{{2, 1}, {1, 0}}));

    Loaded bare("<TableObj/>");
    const auto empty = bare.Reader.ReadTableObj(bare.Root());
    EXPECT_EQ(empty->Name, "UnknownTableObj");
    EXPECT_EQ(empty->Description, "Unknown Description");
    EXPECT_EQ(empty->Count(), 0);
    EXPECT_EQ(empty->ShowEnabled, 0);
}

TEST(ReadMemory, KeepsDocumentOrderOfMixedGraphs) {
    TDecimalSeparatorScope dot('.');
    Loaded doc("<Memory><FunctionObj><Exp>a</Exp></FunctionObj><Junk/>"
               "<TableObj><TableElemObjList><TableElemObj><x>1</x><y>1</y></TableElemObj>"
               "</TableElemObjList></TableObj><FunctionObj><Exp>b</Exp></FunctionObj>"
               "<functionobj><Exp>c</Exp></functionobj></Memory>");
    const auto memory = doc.Reader.ReadMemory(doc.Root());
    ASSERT_EQ(memory->Count(), 3);
    EXPECT_EQ(memory->Function(0)->Exp, "a");
    EXPECT_EQ(memory->Table(1)->Count(), 1);
    EXPECT_EQ(memory->Function(2)->Exp, "b");
}

} // namespace
} // namespace curvana
