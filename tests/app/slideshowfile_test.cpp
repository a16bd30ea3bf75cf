#include "app/slideshowfile.h"
#include "app/tempslidefolder.h"
#include "docfile/xmlsource.h"
#include "tests/app/slidetestfiles.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace curvana {
namespace {

using testing::ReadFile;
using testing::TTempDir;
using testing::WriteFile;

struct KindCase {
    const char* what;
    std::string content;
    TFileKind kind;
};

TEST(ReadFileKind, TellsTheKindByTheStartOfTheFirstLine) {
    const std::string bom = "\xEF\xBB\xBF";
    const KindCase cases[] = {
        {"document on one line", "<CurvanaDocument><Memory/></CurvanaDocument>",
         TFileKind::Document},
        {"document", "<CurvanaDocument>\n<Memory/>\n</CurvanaDocument>\n", TFileKind::Document},
        {"tag alone, no line end", "<CurvanaDocument>", TFileKind::Document},
        {"slide show", "<CurvanaSlides>\r\n<CurvanaDocument/>\r\n</CurvanaSlides>",
         TFileKind::SlideShow},
        {"slide show with text after the tag", "<CurvanaSlides>anything\n", TFileKind::SlideShow},
        {"byte-order mark first", bom + "<CurvanaDocument>\n", TFileKind::Neither},
        {"blank first", " <CurvanaDocument>\n", TFileKind::Neither},
        {"tab first", "\t<CurvanaSlides>\n", TFileKind::Neither},
        {"empty line first", "\n<CurvanaDocument>\n", TFileKind::Neither},
        {"XML declaration first", "<?xml version=\"1.0\"?>\n<CurvanaDocument>\n",
         TFileKind::Neither},
        {"XML declaration on the same line",
         "<?xml version=\"1.0\"?><CurvanaSlides></CurvanaSlides>", TFileKind::Neither},
        {"other letter case", "<curvanadocument>\n", TFileKind::Neither},
        {"line ends inside the tag (LF)", "<CurvanaDoc\nument>", TFileKind::Neither},
        {"line ends inside the tag (CR)", "<CurvanaSli\rdes>", TFileKind::Neither},
        {"line ends inside the tag (Ctrl-Z)", "<CurvanaDocument\x1a>", TFileKind::Neither},
        {"file ends inside the tag", "<CurvanaSlides", TFileKind::Neither},
        {"root with attribute", "<CurvanaDocument version=\"1\">", TFileKind::Neither},
        {"empty file", "", TFileKind::Neither},
    };
    TTempDir dir;
    int n = 0;
    for (const KindCase& c : cases) {
        const std::string path = dir / ("file" + std::to_string(++n) + ".sld");
        WriteFile(path, c.content);
        const TFileKindResult result = ReadFileKind(path);
        EXPECT_EQ(result.Kind, c.kind) << c.what;
        EXPECT_EQ(result.Problem, TFileProblem::None) << c.what;
        EXPECT_EQ(result.Reason, "") << c.what;
    }
}

TEST(ReadFileKind, ExtensionPlaysNoPart) {
    TTempDir dir;
    WriteFile(dir / "show.xml", "<CurvanaSlides>\n</CurvanaSlides>\n");
    WriteFile(dir / "doc.sld", "<CurvanaDocument>\n</CurvanaDocument>\n");
    EXPECT_EQ(ReadFileKind(dir / "show.xml").Kind, TFileKind::SlideShow);
    EXPECT_EQ(ReadFileKind(dir / "doc.sld").Kind, TFileKind::Document);
}

TEST(ReadFileKind, MissingFoldersAndPipesAreNeitherWithAReason) {
    TTempDir dir;
    const TFileKindResult missing = ReadFileKind(dir / "nothing.sld");
    EXPECT_EQ(missing.Kind, TFileKind::Neither);
    EXPECT_EQ(missing.Problem, TFileProblem::Missing);
    EXPECT_NE(missing.Reason, "");

    const TFileKindResult underFile = ReadFileKind(dir / "nothing.sld/more");
    EXPECT_EQ(underFile.Problem, TFileProblem::Missing);

    // An empty location box.
    EXPECT_EQ(ReadFileKind("").Problem, TFileProblem::Missing);

    const TFileKindResult folder = ReadFileKind(dir.Path.string());
    EXPECT_EQ(folder.Kind, TFileKind::Neither);
    EXPECT_EQ(folder.Problem, TFileProblem::Missing);

    // Opening a pipe for reading would wait for a writer forever.
    const std::string fifo = dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const TFileKindResult pipe = ReadFileKind(fifo);
    EXPECT_EQ(pipe.Kind, TFileKind::Neither);
    EXPECT_EQ(pipe.Problem, TFileProblem::Unreadable);
    EXPECT_NE(pipe.Reason, "");
}

// A readable picture of an XML file: elements as Name(...), attributes as [k=v], text as 'text',
// character data as {text}.
void DumpNode(const pugi::xml_node& node, std::string& out) {
    switch (node.type()) {
    case pugi::node_element:
        out += node.name();
        for (const pugi::xml_attribute& a : node.attributes())
            out += std::string("[") + a.name() + "=" + a.value() + "]";
        out += "(";
        for (const pugi::xml_node& child : node.children())
            DumpNode(child, out);
        out += ")";
        break;
    case pugi::node_pcdata:
        out += std::string("'") + node.value() + "'";
        break;
    case pugi::node_cdata:
        out += std::string("{") + node.value() + "}";
        break;
    default:
        out += "?";
    }
}

std::string DumpFile(const std::string& path) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(path.c_str(), TXMLSource::ParseOptions);
    if (!parsed)
        return std::string("parse error: ") + parsed.description();
    std::string out;
    for (const pugi::xml_node& child : doc.children())
        DumpNode(child, out);
    return out;
}

class SplitSlideShowTest : public ::testing::Test {
protected:
    std::vector<std::string> Split(const std::string& content) {
        WriteFile(Dir / "show.sld", content);
        return SplitSlideShow(Dir / "show.sld", Folder.Path());
    }
    std::string Slide(std::size_t n) const { return Folder.Path() + "/" + TempSlideFileName(n); }
    std::vector<std::string> FolderFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Folder.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TTempDir Dir;
    TTempSlideFolder Folder{Dir.Path.string()};
};

TEST_F(SplitSlideShowTest, WritesEachSlideInOrderAndSkipsEverythingElse) {
    const std::vector<std::string> slides = Split(
        "<CurvanaSlides>\n"
        "  <!-- first -->\n"
        "  <CurvanaDocument><Coordinate><TitleTop>One</TitleTop></Coordinate></CurvanaDocument>\n"
        "  <Foreign><CurvanaDocument><Memory/></CurvanaDocument></Foreign>\n"
        "  <?target data?>\n"
        "  loose text\n"
        "  <curvanadocument><Memory/></curvanadocument>\n"
        "  <CurvanaDocument><Coordinate><TitleTop>Two</TitleTop></Coordinate></CurvanaDocument>\n"
        "  <CurvanaDocument><Coordinate><TitleTop>Three</TitleTop></Coordinate></CurvanaDocument>\n"
        "</CurvanaSlides>\n");
    ASSERT_EQ(slides.size(), 3u);
    const char* titles[] = {"One", "Two", "Three"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(slides[i], Slide(i + 1));
        EXPECT_EQ(DumpFile(slides[i]),
                  std::string("CurvanaDocument(Coordinate(TitleTop('") + titles[i] + "')))");
        // Each slide file is itself a document file that the launcher would recognise.
        EXPECT_EQ(ReadFileKind(slides[i]).Kind, TFileKind::Document);
    }
    EXPECT_EQ(FolderFiles(),
              (std::vector<std::string>{"~TempSlide1.xml", "~TempSlide2.xml", "~TempSlide3.xml"}));
}

TEST_F(SplitSlideShowTest, CopiesNamesOrderNestingAndTextsButNoAttributes) {
    const std::vector<std::string> slides = Split(
        "<CurvanaSlides version=\"2\">"
        "<CurvanaDocument id=\"s1\">\n"
        "  <Memory kind=\"list\">\n"
        "    <FunctionObj><Name a=\"1\" b=\"2\">Parabola</Name><Exp>x^2-1</Exp>"
        "<AddExp/><Description></Description><ShowEnabled>1</ShowEnabled></FunctionObj>\n"
        "    <TableObj><TableElemObjList><TableElemObj><x>1.5</x><y>-2</y></TableElemObj>"
        "</TableElemObjList></TableObj>\n"
        "  </Memory>\n"
        "  <Coordinate><TitleTopFont><Style><fsBold/><fsItalic x=\"y\"></fsItalic></Style>"
        "</TitleTopFont><XAxesLabelsString> </XAxesLabelsString>"
        "<TitleTop>a &lt; b &amp; c &gt; d &#x41;</TitleTop><TitleBottom><![CDATA[<raw> & ]]]]>"
        "<![CDATA[>]]></TitleBottom><ns:Tag>q</ns:Tag></Coordinate>\n"
        "</CurvanaDocument></CurvanaSlides>");
    ASSERT_EQ(slides.size(), 1u);
    EXPECT_EQ(DumpFile(slides[0]),
              "CurvanaDocument("
              "Memory(FunctionObj(Name('Parabola')Exp('x^2-1')AddExp()Description()"
              "ShowEnabled('1'))TableObj(TableElemObjList(TableElemObj(x('1.5')y('-2')))))"
              "Coordinate(TitleTopFont(Style(fsBold()fsItalic()))XAxesLabelsString(' ')"
              "TitleTop('a < b & c > d A')TitleBottom({<raw> & ]]}{>})ns:Tag('q')))");
    const std::string text = ReadFile(slides[0]);
    EXPECT_EQ(text.find('='), std::string::npos) << text;
    EXPECT_TRUE(text.starts_with("<CurvanaDocument>\n")) << text;
}

TEST_F(SplitSlideShowTest, RootNameIsNotExaminedAndNoSlidesGiveAnEmptyList) {
    EXPECT_EQ(Split("<Other><CurvanaDocument/></Other>").size(), 1u);
    EXPECT_EQ(DumpFile(Slide(1)), "CurvanaDocument()");
    std::filesystem::remove(Slide(1));

    EXPECT_TRUE(Split("<CurvanaSlides><Slide/><!-- none --></CurvanaSlides>").empty());
    EXPECT_TRUE(FolderFiles().empty());
}

TEST_F(SplitSlideShowTest, OverwritesAnOlderFileOfTheSameName) {
    WriteFile(Slide(1), std::string(10000, 'x'));
    Split("<CurvanaSlides><CurvanaDocument><Memory/></CurvanaDocument></CurvanaSlides>");
    EXPECT_EQ(DumpFile(Slide(1)), "CurvanaDocument(Memory())");
}

TEST_F(SplitSlideShowTest, LoadFailuresThrow) {
    const char* bad[] = {
        "<CurvanaSlides><CurvanaDocument></CurvanaSlides>",
        "<CurvanaSlides>",
        "<CurvanaSlides/><CurvanaSlides/>",
        "",
    };
    for (const char* content : bad) {
        EXPECT_THROW(Split(content), ESlideShowError) << content;
        EXPECT_TRUE(FolderFiles().empty()) << content;
    }
    EXPECT_THROW(SplitSlideShow(Dir / "missing.sld", Folder.Path()), ESlideShowError);
}

TEST_F(SplitSlideShowTest, WriteFailuresThrow) {
    WriteFile(Dir / "show.sld", "<CurvanaSlides><CurvanaDocument/></CurvanaSlides>");
    EXPECT_THROW(SplitSlideShow(Dir / "show.sld", Dir / "no-such-folder"), ESlideShowError);
}

TEST(SplitSlideShow, AFailureAfterSomeSlidesLeavesNothingOnceTheFolderIsReleased) {
    TTempDir dir;
    WriteFile(dir / "show.sld", "<CurvanaSlides><CurvanaDocument/><CurvanaDocument/>"
                                "<CurvanaDocument/></CurvanaSlides>");
    {
        TTempSlideFolder folder(dir.Path.string());
        // The second slide cannot be written: a folder stands in its place.
        std::filesystem::create_directory(folder.Path() + "/" + TempSlideFileName(2));
        try {
            SplitSlideShow(dir / "show.sld", folder.Path());
            ADD_FAILURE() << "no error";
        } catch (const ESlideShowError& error) {
            EXPECT_NE(std::string(error.what()).find("~TempSlide2.xml"), std::string::npos)
                << error.what();
        }
        EXPECT_TRUE(std::filesystem::exists(folder.Path() + "/" + TempSlideFileName(1)));
    }
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"show.sld"});
}

TEST(SplitSlideShowToTempFolder, OwnsTheSlidesAndLeavesNothingBehind) {
    TTempDir dir;
    const std::string good = dir / "good.sld";
    WriteFile(good, "<CurvanaSlides><CurvanaDocument/><CurvanaDocument/></CurvanaSlides>");
    const std::string bad = dir / "bad.sld";
    WriteFile(bad, "<CurvanaSlides><CurvanaDocument>");
    const std::string root = dir / "root";
    std::filesystem::create_directory(root);
    {
        const TSlideShowSplit split = SplitSlideShowToTempFolder(good, root);
        ASSERT_EQ(split.Slides.size(), 2u);
        EXPECT_EQ(split.Slides[1], split.Folder.Path() + "/~TempSlide2.xml");
        EXPECT_EQ(std::filesystem::path(split.Folder.Path()).parent_path(), root);
        EXPECT_TRUE(std::filesystem::exists(split.Slides[0]));
    }
    EXPECT_TRUE(std::filesystem::is_empty(root));
    EXPECT_THROW(SplitSlideShowToTempFolder(bad, root), ESlideShowError);
    EXPECT_TRUE(std::filesystem::is_empty(root));
}

// A million nested elements: neither the parser, the copy, the writer nor the destruction of
// the documents may recurse per level.
TEST_F(SplitSlideShowTest, SurvivesAMillionNestedElements) {
    constexpr std::size_t depth = 1000000;
    std::string show = "<CurvanaSlides><CurvanaDocument>";
    show.reserve(depth * 8 + 100);
    for (std::size_t i = 0; i < depth; ++i)
        show += "<a>";
    show += "bottom";
    for (std::size_t i = 0; i < depth; ++i)
        show += "</a>";
    show += "</CurvanaDocument><CurvanaDocument><Memory/></CurvanaDocument></CurvanaSlides>";
    const std::vector<std::string> slides = Split(show);
    ASSERT_EQ(slides.size(), 2u);

    pugi::xml_document copy;
    ASSERT_TRUE(copy.load_file(slides[0].c_str(), TXMLSource::ParseOptions));
    std::size_t levels = 0;
    pugi::xml_node node = copy.document_element();
    while (node.first_child().type() == pugi::node_element) {
        node = node.first_child();
        ASSERT_STREQ(node.name(), "a");
        ASSERT_EQ(node.first_child().next_sibling(), pugi::xml_node());
        ++levels;
    }
    EXPECT_EQ(levels, depth);
    EXPECT_STREQ(node.child_value(), "bottom");
    EXPECT_EQ(DumpFile(slides[1]), "CurvanaDocument(Memory())");
}

TEST_F(SplitSlideShowTest, EntitiesOfADocumentTypeAreNeverExpanded) {
    std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n";
    for (int i = 1; i <= 9; ++i) {
        bomb += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k)
            bomb += i == 1 ? "&lol;" : "&lol" + std::to_string(i - 1) + ";";
        bomb += "\">\n";
    }
    bomb += "]>\n<CurvanaSlides><CurvanaDocument><Coordinate><TitleTop>&lol9;</TitleTop>"
            "</Coordinate></CurvanaDocument></CurvanaSlides>\n";
    WriteFile(Dir / "bomb.sld", bomb);
    // The launcher would not even take it for a slide show...
    EXPECT_EQ(ReadFileKind(Dir / "bomb.sld").Kind, TFileKind::Neither);
    // ...and splitting it anyway refuses the reference to an entity that is never expanded.
    try {
        SplitSlideShow(Dir / "bomb.sld", Folder.Path());
        ADD_FAILURE() << "split";
    } catch (const ESlideShowError& e) {
        EXPECT_NE(std::string(e.what()).find(":14:55: undefined entity '&lol9;'"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(std::filesystem::is_empty(Folder.Path()));
}

TEST(Examples, DemoSlideShowSplitsIntoItsSlides) {
    const std::string examples = std::string(CURVANA_SOURCE_DIR) + "/examples";
    ASSERT_EQ(ReadFileKind(examples + "/demo.sld").Kind, TFileKind::SlideShow);
    TTempDir dir;
    TTempSlideFolder folder(dir.Path.string());
    const std::vector<std::string> slides = SplitSlideShow(examples + "/demo.sld", folder.Path());
    EXPECT_EQ(slides.size(), 8u);
    for (const std::string& slide : slides) {
        EXPECT_EQ(ReadFileKind(slide).Kind, TFileKind::Document) << slide;
        TXMLSource source;
        EXPECT_NO_THROW(source.LoadFromFile(slide)) << slide;
    }
}

TEST(Examples, EveryDocumentIsRecognisedAndWellFormed) {
    const std::filesystem::path examples = std::filesystem::path(CURVANA_SOURCE_DIR) / "examples";
    int documents = 0;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        if (entry.path().extension() != ".xml")
            continue;
        ++documents;
        EXPECT_EQ(ReadFileKind(entry.path().string()).Kind, TFileKind::Document) << entry.path();
        TXMLSource source;
        EXPECT_NO_THROW(source.LoadFromFile(entry.path().string())) << entry.path();
    }
    EXPECT_GE(documents, 5);
}

} // namespace
} // namespace curvana
