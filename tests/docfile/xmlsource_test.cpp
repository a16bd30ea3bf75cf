#include "docfile/documenterror.h"
#include "docfile/xmlsource.h"

#include <gtest/gtest.h>

#include <string>

namespace curvana {
namespace {

EDocumentError SyntaxErrorOf(const std::string& text) {
    TXMLSource source;
    try {
        source.LoadFromText(text);
    } catch (const EDocumentError& e) {
        return e;
    }
    ADD_FAILURE() << "no error for: " << text;
    return EDocumentError(EDocumentError::TKind::File, "", "", 0);
}

TEST(XMLSource, MalformedTextGivesTheParserMessageWithLineAndColumn) {
    struct Case {
        const char* text;
        int line;
        int column;
    };
    const Case cases[] = {
        // The parser stops at the name of the mismatched end tag </A>.
        {"<CurvanaDocument>\n <Memory>\n  </A>\n</CurvanaDocument>", 3, 5},
        {"<CurvanaDocument>\r\n<Memory>\r\n<x>1</Memory>", 3, 7},
        // Columns count characters: the two-byte letter counts once.
        {"<CurvanaDocument><T>\xC3\xA9</U></CurvanaDocument>", 1, 24},
        {"<CurvanaDocument>", 1, 17},
    };
    for (const Case& c : cases) {
        const EDocumentError e = SyntaxErrorOf(c.text);
        EXPECT_EQ(e.Kind, EDocumentError::TKind::Syntax) << c.text;
        EXPECT_EQ(e.Line, c.line) << c.text;
        EXPECT_EQ(e.Column, c.column) << c.text;
        const std::string where =
            "line " + std::to_string(c.line) + ", column " + std::to_string(c.column) + ": ";
        EXPECT_NE(std::string(e.what()).find(where), std::string::npos) << e.what();
        EXPECT_TRUE(e.ElementPath.empty());
    }
}

TEST(XMLSource, RejectsWhatIsNotOneRootedDocument) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"", "line 1, column 1: No document element found"},
        {"  \n ", "line 2, column 2: No document element found"},
        {"<CurvanaDocument/>\n<CurvanaDocument/>", "line 2, column 1: More than one root element"},
        {"<CurvanaDocument/>tail", "line 1, column 19: Text outside the root element"},
        {"lead\n<CurvanaDocument/>", "line 1, column 1: Text outside the root element"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(SyntaxErrorOf(c.text).what()), c.message) << c.text;
    }
}

TEST(XMLSource, ReadsPredefinedEntitiesAndCharacterReferences) {
    TXMLSource source;
    source.LoadFromText("<!DOCTYPE d [<!ENTITY big 'xxxxxxxx'>]>\n"
                        "<d><e>&amp;&#65;&#xe9;</e></d>");
    EXPECT_STREQ(source.DocumentElement().child("e").text().get(), "&A\xC3\xA9");
}

TEST(XMLSource, GivesLinesOfNodesAndPathsWithIndexesOnlyForRepeatedNames) {
    TXMLSource source;
    source.LoadFromText("<CurvanaDocument>\n"
                        "  <Memory>\n"
                        "    <FunctionObj><Exp>x</Exp></FunctionObj>\n"
                        "    <FunctionObj>\n"
                        "      <Exp>y</Exp>\n"
                        "    </FunctionObj>\n"
                        "  </Memory>\n"
                        "</CurvanaDocument>\n");
    const pugi::xml_node memory = source.DocumentElement().child("Memory");
    const pugi::xml_node second = memory.child("FunctionObj").next_sibling("FunctionObj");
    EXPECT_EQ(source.LineOf(memory), 2);
    EXPECT_EQ(source.ColumnOf(memory), 3);
    EXPECT_EQ(source.LineOf(second.child("Exp")), 5);
    EXPECT_EQ(ElementPath(second.child("Exp")), "CurvanaDocument/Memory/FunctionObj[2]/Exp");
    EXPECT_EQ(ElementPath(memory), "CurvanaDocument/Memory");

    TXMLSource other;
    other.LoadFromText("<a/>");
    EXPECT_EQ(other.LineOf(memory), 0) << "a node of another document has no line here";
}

TEST(XMLSource, MissingFileIsAFileError) {
    TXMLSource source;
    try {
        source.LoadFromFile("/nonexistent/dir/doc.xml");
        FAIL() << "no error";
    } catch (const EDocumentError& e) {
        EXPECT_EQ(e.Kind, EDocumentError::TKind::File);
    }
    EXPECT_FALSE(source.Active());
}

} // namespace
} // namespace curvana
