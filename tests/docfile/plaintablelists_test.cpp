#include "common/decimalseparator.h"
#include "docfile/cvxml.h"
#include "docfile/documenterror.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

namespace curvana {
namespace {

std::string Describe(const EDocumentError& e) {
    return "error " + std::to_string(static_cast<int>(e.Kind)) + " '" + e.what() + "' at " +
           e.ElementPath + " " + std::to_string(e.Line) + ":" + std::to_string(e.Column);
}

// Every graph of every Memory element, table points in hexadecimal (exact, -0 included), or the
// error that stops the reading.
std::string Outcome(const TCVXML& reader) {
    std::string out;
    try {
        for (pugi::xml_node memory = reader.DocumentElement().child("Memory"); memory;
             memory = memory.next_sibling("Memory")) {
            const std::unique_ptr<TMemory> list = reader.ReadMemory(memory);
            for (int i = 0; i < list->Count(); ++i) {
                const TTableObj* table = list->Table(i);
                if (table == nullptr) {
                    out += "function " + list->Function(i)->Name + "\n";
                    continue;
                }
                out += "table " + table->Name + ":";
                for (int p = 0; p < table->Count(); ++p) {
                    char point[80];
                    std::snprintf(point, sizeof point, " %a,%a", table->Point(p).x,
                                  table->Point(p).y);
                    out += point;
                }
                out += "\n";
            }
        }
    } catch (const EDocumentError& e) {
        out += Describe(e);
    }
    return out;
}

struct TBothWays {
    std::string FromText;
    std::string FromTree;
    bool Taken; // some list was read from the text
};

TBothWays ReadBothWays(const std::function<void(TCVXML&)>& load) {
    TBothWays result;
    const auto read = [&](TCVXML& reader) {
        try {
            load(reader);
        } catch (const EDocumentError& e) {
            return Describe(e);
        }
        return Outcome(reader);
    };
    TCVXML fromText(TCVXML::TTableLists::FromText);
    TCVXML fromTree(TCVXML::TTableLists::FromTree);
    result.FromText = read(fromText);
    result.FromTree = read(fromTree);
    result.Taken = fromText.XMLSource().Filtered();
    EXPECT_FALSE(fromTree.XMLSource().Filtered());
    return result;
}

std::string Point(const std::string& x, const std::string& y) {
    return "<TableElemObj><x>" + x + "</x><y>" + y + "</y></TableElemObj>";
}

std::string List(const std::string& content) {
    return "<TableElemObjList>" + content + "</TableElemObjList>";
}

std::string Document(const std::string& tableContent, const std::string& afterTable = "") {
    return "<CurvanaDocument>\n<Memory>\n<TableObj><Name>t</Name>\n" + tableContent +
           "\n</TableObj>" + afterTable + "\n</Memory>\n</CurvanaDocument>\n";
}

const std::string Plain = List("\n  " + Point("-5.000000", "0") + "\n  " + Point("1", "2") + "\n");

struct TListCase {
    const char* name;
    std::string document;
    bool taken;
    const char* shows; // part of the outcome, so that a case cannot pass by reading nothing
};

// Lists in the plain form are read from the text; every other form is the tree's. Either way a
// document reads exactly as the tree reads it: the same points, bit for bit, the same error at
// the same place, in either decimal notation.
TEST(PlainTableLists, ReadExactlyAsTheTree) {
    const TListCase cases[] = {
        {"as written",
         Document(List("\n  " + Point("-5.000000", "0") + "\n  " + Point("1.5E-3", "-0") + "\n  " +
                       Point("+2", "12345678901234567") + "\n")),
         true, "table t: -0x1.4p+2,0x0p+0 0x1.89374bc6a7efap-10,-0x0p+0 0x1p+1,"},
        {"blanks between tags and around numbers",
         Document(List("\r\n\t<TableElemObj>\n <x> 1.5\n</x>\t<y>\t-2 </y>\r\n</TableElemObj>")),
         true, "table t: 0x1.8p+0,-0x1p+1"},
        {"a comment in the list", Document(List(Point("1", "2") + "<!-- c -->" + Point("3", "4"))),
         false, "0x1p+0,0x1p+1 0x1.8p+1,0x1p+2"},
        {"a comment in a point",
         Document(List("<TableElemObj><x>1</x><!-- c --><y>2</y></TableElemObj>")), false,
         "0x1p+0,0x1p+1"},
        {"a character reference in a number", Document(List(Point("&#49;", "2"))), false,
         "0x1p+0,0x1p+1"},
        {"character data in a number", Document(List(Point("<![CDATA[1]]>", "2"))), false,
         "0x1p+0,0x1p+1"},
        {"a carriage return in a number", Document(List(Point("1\r", "2"))), false,
         "0x1p+0,0x1p+1"},
        {"a bad number", Document(List(Point("1", "2") + "\n" + Point("1..2", "3"))), false,
         "'1..2' is not a valid floating point value' at "
         "CurvanaDocument/Memory/TableObj/TableElemObjList/TableElemObj[2]/x 5:15"},
        {"an empty number", Document(List(Point("", "2"))), false, "error 2 "},
        {"a number beyond the double range", Document(List(Point("1e400", "2"))), false,
         "error 3 "},
        {"a missing y", Document(List(Point("1", "2") + "<TableElemObj><x>3</x></TableElemObj>")),
         false, "0x1p+0,0x1p+1 0x1.8p+1,0x1p+1"},
        {"y before x", Document(List("<TableElemObj><y>7</y><x>8</x></TableElemObj>")), false,
         "table t: 0x0p+0,0x0p+0"},
        {"an extra child",
         Document(List("<TableElemObj><x>1</x><y>2</y><z>bad</z></TableElemObj>")), false,
         "0x1p+0,0x1p+1"},
        {"an attribute on a point",
         Document(List("<TableElemObj n=\"1\"><x>1</x><y>2</y></TableElemObj>")), false,
         "0x1p+0,0x1p+1"},
        {"an attribute on the list",
         Document("<TableElemObjList n=\"1\">" + Point("1", "2") + "</TableElemObjList>"), false,
         "0x1p+0,0x1p+1"},
        {"names in another case",
         Document(List("<TableElemObj><X>1</X><y>2</y></TableElemObj>"
                       "<tableelemobj><x>3</x><y>4</y></tableelemobj>")),
         false, "table t: 0x0p+0,0x1p+1\n"},
        {"a point without content", Document(List(Point("1", "2") + "<TableElemObj/>")), false,
         "0x1p+0,0x1p+1 0x1p+0,0x1p+1"},
        {"an empty list", Document(List("") + "<TableElemObjList/>" + List("  ")), false,
         "table t:\n"},
        {"two tables",
         "<CurvanaDocument><Memory>\n<TableObj><Name>a</Name>" + Plain +
             "</TableObj>\n<FunctionObj><Name>f</Name></FunctionObj>\n<TableObj><Name>b</Name>" +
             List(Point("7", "8")) + "</TableObj></Memory></CurvanaDocument>",
         true, "table a: -0x1.4p+2,0x0p+0 0x1p+0,0x1p+1\nfunction f\ntable b: 0x1.cp+2,0x1p+3"},
        {"two lists in one table", Document(Plain + "\n" + List(Point("7", "8"))), true,
         "0x1p+0,0x1p+1 0x1.cp+2,0x1p+3"},
        {"a plain list beside one that is not",
         Document(Plain + List(Point("7", "8") + "<!-- c -->")), true,
         "0x1p+0,0x1p+1 0x1.cp+2,0x1p+3"},
        {"a list as character data", Document("<Name><![CDATA[" + Plain + "]]></Name>"), false,
         "table <TableElemObjList>\n  <TableElemObj>"},
        {"a list in a comment", Document("<!-- " + Plain + " -->"), false, "table t:\n"},
        {"a list in an attribute value",
         Document("<Description n='" + List(Point("1", "2")) + "'/>"), false, ""},
        {"a list where no list is read",
         Document(Plain + "<Other>" + List(Point("7", "8")) + "</Other>"), true,
         "table t: -0x1.4p+2,0x0p+0 0x1p+0,0x1p+1\n"},
        {"a plain list inside one that is not",
         Document(List(List(Point("7", "8")) + Point("1", "2"))), true, "table t: 0x1p+0,0x1p+1\n"},
        {"a document type", "<!DOCTYPE CurvanaDocument>\n" + Document(Plain), false,
         "0x1p+0,0x1p+1"},
        {"a byte order mark", "\xEF\xBB\xBF" + Document(Plain), true, "0x1p+0,0x1p+1"},
        {"an error after a plain list",
         Document(Plain, "\r\n<FunctionObj>\r\n\t<ShowEnabled>on</ShowEnabled></FunctionObj>"),
         true,
         "'on' is not a valid integer value' at "
         "CurvanaDocument/Memory/FunctionObj/ShowEnabled 10:2"},
        {"malformed markup after a plain list", Document(Plain, "<Open>"), false,
         "error 0 'line 9, column 3: Start-end tags mismatch'"},
        {"a fault after a plain list", Document(Plain, "<Name>a & b</Name>"), false,
         "error 0 'line 8, column 20: bare '&'"},
        {"another encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + Document(Plain),
         false, "table t: -0x1.4p+2,0x0p+0 0x1p+0,0x1p+1\n"},
    };
    for (const char separator : {'.', ','}) {
        TDecimalSeparatorScope scope(separator);
        for (const TListCase& c : cases) {
            const TBothWays read =
                ReadBothWays([&c](TCVXML& reader) { reader.LoadFromText(c.document); });
            EXPECT_EQ(read.FromText, read.FromTree) << c.name << " (" << separator << ")";
            EXPECT_EQ(read.Taken, c.taken) << c.name << " (" << separator << ")";
            EXPECT_NE(read.FromTree.find(c.shows), std::string::npos)
                << c.name << ": " << read.FromTree;
        }
    }
}

// A separator that a plain number can contain would make the load-time conversion differ from
// the tree's; no list is taken then, and the tree reads as it always did.
TEST(PlainTableLists, ASeparatorInsideNumbersLeavesEveryListToTheTree) {
    TDecimalSeparatorScope scope('e');
    const TBothWays read =
        ReadBothWays([](TCVXML& reader) { reader.LoadFromText(Document(Plain)); });
    EXPECT_FALSE(read.Taken);
    EXPECT_EQ(read.FromText, read.FromTree);
}

class PlainTableListFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = std::filesystem::temp_directory_path() /
                 ("curvana-plainlists-" + std::to_string(getpid()));
        std::filesystem::create_directories(Folder);
        Path = (Folder / "doc.xml").string();
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }
    void Write(const std::string& text) const { std::ofstream(Path, std::ios::binary) << text; }

    std::filesystem::path Folder;
    std::string Path;
};

// A file is parsed where it lies and read again for positions; a name with an entity and a
// two-byte character before the failing element, on its line, must not move the column.
TEST_F(PlainTableListFiles, ErrorsKeepTheirLinesAndColumns) {
    const std::string lead =
        "<CurvanaDocument>\r\n<Memory>\r\n<TableObj><Name>caf\xC3\xA9 &amp; t</Name>" + Plain +
        "</TableObj>\r\n";
    const struct {
        std::string document;
        const char* shows;
    } cases[] = {
        {lead + "<FunctionObj><Name>\xC3\xA9&amp;</Name><ShowEnabled>on</ShowEnabled>"
                "</FunctionObj>\r\n</Memory>\r\n</CurvanaDocument>\r\n",
         "CurvanaDocument/Memory/FunctionObj/ShowEnabled 7:33"},
        {lead + "<Name>\xC3\xA9&amp;</Name><Bad a='1' a='2'/></Memory></CurvanaDocument>",
         "doc.xml:7:31: duplicate attribute 'a'"},
        {lead + "<Name>\xC3\xA9&amp;</Name><Bad></Memory></CurvanaDocument>",
         "doc.xml:7:27: Start-end tags mismatch"},
    };
    for (const auto& c : cases) {
        Write(c.document);
        const TBothWays read = ReadBothWays([this](TCVXML& reader) { reader.LoadFromFile(Path); });
        EXPECT_EQ(read.FromText, read.FromTree);
        EXPECT_NE(read.FromTree.find(c.shows), std::string::npos) << read.FromTree;
    }
}

// Positions come from the file as written, read again when an error needs them: a file changed
// in between gives no position rather than a wrong one.
TEST_F(PlainTableListFiles, AFileChangedSinceLoadingGivesNoPosition) {
    Write(Document(Plain, "<FunctionObj><ShowEnabled>on</ShowEnabled></FunctionObj>"));
    TCVXML reader;
    reader.LoadFromFile(Path);
    Write("<CurvanaDocument/>");
    try {
        reader.ReadMemory(reader.DocumentElement().child("Memory"));
        FAIL() << "no error";
    } catch (const EDocumentError& e) {
        EXPECT_STREQ(e.what(), "'on' is not a valid integer value");
        EXPECT_EQ(e.Line, 0);
        EXPECT_EQ(e.Column, 0);
    }
}

} // namespace
} // namespace curvana
