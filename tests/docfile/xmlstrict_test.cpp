#include "docfile/documenterror.h"
#include "docfile/xmlsource.h"
#include "docfile/xmlstrict.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace curvana {
namespace {

struct TMalformed {
    const char* text;
    int line;
    int column;
    const char* reason;
};

// Each is well-formed except for the one fault; the parser alone would accept every one.
const TMalformed MalformedCases[] = {
    {"<CurvanaDocument>\n<Exp>x & y</Exp>\n</CurvanaDocument>", 2, 8,
     "bare '&': write &amp; for an ampersand"},
    {"<CurvanaDocument>\n  <TitleTop>Tom &amp Jerry</TitleTop>\n</CurvanaDocument>", 2, 17,
     "bare '&': write &amp; for an ampersand"},
    {"<CurvanaDocument>\n<Name>&nbsp;</Name></CurvanaDocument>", 2, 7,
     "undefined entity '&nbsp;' (only &amp; &lt; &gt; &quot; &apos; are defined)"},
    {"<CurvanaDocument><Name>&#xZZ;</Name></CurvanaDocument>", 1, 24,
     "bad character reference '&#xZZ;'"},
    {"<CurvanaDocument><Name>&#0;</Name></CurvanaDocument>", 1, 24,
     "character reference '&#0;' names no XML character"},
    {"<CurvanaDocument><Name>&#xD800;</Name></CurvanaDocument>", 1, 24,
     "character reference '&#xD800;' names no XML character"},
    {"<CurvanaDocument><Name>&#1114112;</Name></CurvanaDocument>", 1, 24,
     "character reference '&#1114112;' names no XML character"},
    // Columns count characters: the two-byte letter before the bad byte counts once.
    {"<CurvanaDocument>\n<Name>\xC3\xA9\xFF</Name></CurvanaDocument>", 2, 8,
     "invalid UTF-8 (byte 0xFF)"},
    {"<CurvanaDocument><Name>\xC0\x80</Name></CurvanaDocument>", 1, 24,
     "invalid UTF-8 (byte 0xC0)"},
    {"<CurvanaDocument><Name>\xED\xA0\x80</Name></CurvanaDocument>", 1, 24,
     "invalid UTF-8 (byte 0xED)"},
    {"<CurvanaDocument><Name>x\x01</Name></CurvanaDocument>", 1, 25,
     "character U+0001 is not allowed in XML"},
    {"<CurvanaDocument>\n<Memory a=\"1\" b='2' a=\"3\"/>\n</CurvanaDocument>", 2, 21,
     "duplicate attribute 'a'"},
    {"<CurvanaDocument><Memory x=\"&bogus;\"/></CurvanaDocument>", 1, 29,
     "undefined entity '&bogus;' (only &amp; &lt; &gt; &quot; &apos; are defined)"},
    // Entities of a document type are not expanded, so using one is refused.
    {"<!DOCTYPE d [<!ENTITY big 'xxxxxxxx'>]>\n<d><e>&big;</e></d>", 2, 7,
     "undefined entity '&big;' (only &amp; &lt; &gt; &quot; &apos; are defined)"},
};

TEST(StrictXML, RefusesTextsTheParserWouldPassWithLineAndColumn) {
    for (const TMalformed& c : MalformedCases) {
        SCOPED_TRACE(c.text);
        TXMLSource source;
        try {
            source.LoadFromText(c.text);
            ADD_FAILURE() << "accepted";
            continue;
        } catch (const EDocumentError& e) {
            EXPECT_EQ(e.Kind, EDocumentError::TKind::Syntax);
            EXPECT_EQ(e.Line, c.line);
            EXPECT_EQ(e.Column, c.column);
            EXPECT_EQ(e.Reason, c.reason);
            EXPECT_EQ(std::string(e.what()), "line " + std::to_string(c.line) + ", column " +
                                                 std::to_string(c.column) + ": " + c.reason);
        }
        EXPECT_FALSE(source.Active());
    }
}

TEST(StrictXML, AFileIsNamedInTheMessage) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "curvana-strict-test.xml";
    std::ofstream(path, std::ios::binary) << "<CurvanaDocument>\n <Exp>1 & 2</Exp>\n"
                                             "</CurvanaDocument>\n";
    TXMLSource source;
    try {
        source.LoadFromFile(path.string());
        ADD_FAILURE() << "accepted";
    } catch (const EDocumentError& e) {
        EXPECT_EQ(std::string(e.what()),
                  path.string() + ":2:9: bare '&': write &amp; for an ampersand");
    }
    std::filesystem::remove(path);
}

// Plain ASCII is passed over several bytes at a time; a fault is found at its own byte wherever
// it stands in such a run, and characters beyond ASCII pass wherever they stand.
TEST(StrictXML, FaultsAreFoundAtEveryPlaceInARunOfText) {
    for (std::size_t before = 0; before < 20; ++before) {
        for (std::size_t after = 0; after < 10; ++after) {
            const std::string lead(before, 'a');
            const std::string tail(after, 'b');
            for (const char* fault : {"\x01", "\xFF", "\x7F\x1F"}) {
                const std::optional<TXMLFault> found = FindXMLFault(lead + fault + tail);
                ASSERT_TRUE(found) << before << " " << after;
                EXPECT_EQ(found->Offset, before + (fault[0] == '\x7F' ? 1 : 0))
                    << before << " " << after;
            }
            EXPECT_FALSE(FindXMLFault(lead + "\xC3\xA9\t\r\n" + tail)) << before << " " << after;
        }
    }
}

// Text between tags is passed over several bytes at a time too: a reference or a tag is found at
// its own byte wherever it stands in the run, and the tags after it are still read.
TEST(StrictXML, MarkupIsFoundAtEveryPlaceInARunOfText) {
    const struct {
        const char* inserted;
        std::size_t offset; // of the fault within the inserted text
        const char* reason;
    } cases[] = {
        {"&bad", 0, "bare '&': write &amp; for an ampersand"},
        {"&amp;&nbsp;", 5,
         "undefined entity '&nbsp;' (only &amp; &lt; &gt; &quot; &apos; are "
         "defined)"},
        {"<e a='1' a='2'/>", 9, "duplicate attribute 'a'"},
        {"</e><e a='&x;'>", 10,
         "undefined entity '&x;' (only &amp; &lt; &gt; &quot; &apos; are "
         "defined)"},
        {"<!-- & --><?p & ?><![CDATA[&]]>&#0;", 31,
         "character reference '&#0;' names no XML character"},
    };
    for (std::size_t before = 0; before < 20; ++before) {
        for (std::size_t after = 0; after < 10; ++after) {
            const std::string lead = "<d>" + std::string(before, '1');
            const std::string tail = std::string(after, '2') + "</d>";
            for (const auto& c : cases) {
                const std::optional<TXMLFault> found = FindXMLFault(lead + c.inserted + tail);
                ASSERT_TRUE(found) << c.inserted << " " << before << " " << after;
                EXPECT_EQ(found->Offset, lead.size() + c.offset)
                    << c.inserted << " " << before << " " << after;
                EXPECT_EQ(found->Reason, c.reason);
            }
            EXPECT_FALSE(FindXMLFault(lead + "<e a='1' b='&amp;'>&lt;</e>" + tail))
                << before << " " << after;
        }
    }
}

TEST(StrictXML, AcceptsWhatXMLAllows) {
    const char* const texts[] = {
        "<d a='&amp;&lt;&gt;&quot;&apos;' b=\"&#65;&#x42;\">&amp;&#x1F600;&#9;</d>",
        "<d><![CDATA[a & b &nbsp; <e>]]></d>",
        "<d><!-- a & b &nbsp; --><?pi & ?></d>",
        "\xEF\xBB\xBF<d>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\t\r\n</d>",
        "<d a = \"1\" b='>' c=\"1\"/>",
        "<!DOCTYPE d [<!ENTITY e '&amp; >'>]><d/>",
    };
    for (const char* text : texts) {
        EXPECT_EQ(FindXMLFault(text), std::nullopt) << text;
        TXMLSource source;
        EXPECT_NO_THROW(source.LoadFromText(text)) << text;
    }
}

TEST(StrictXML, TheEarlierOfTheParsersErrorAndAStrictFaultIsReported) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"<d><e>&x;</e></f>", "undefined entity '&x;' (only &amp; &lt; &gt; &quot; &apos; are "
                              "defined)"},
        {"<d></f><e>&x;</e>", "Start-end tags mismatch"},
    };
    for (const auto& c : cases) {
        TXMLSource source;
        try {
            source.LoadFromText(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EDocumentError& e) {
            EXPECT_EQ(e.Reason, c.reason) << c.text;
        }
    }
}

} // namespace
} // namespace curvana
