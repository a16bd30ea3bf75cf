#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace curvana {

// A parsed XML file together with its text, so that nodes and parse errors can be given a line
// and column. Parsing keeps to the predefined entities and character references: DTD entities
// are never expanded, so no document can make the reader build huge texts.
class TXMLSource {
public:
    // Throws EDocumentError (File) when the file cannot be read and (Syntax) when it is not
    // well-formed XML: "PATH:LINE:COLUMN: reason" for a file, "line L, column C: reason" for a
    // text. Beyond what the parser checks, bare "&", references to undefined entities, bad
    // character references, bytes that are not UTF-8, control characters and repeated
    // attributes are refused (see xmlstrict.h).
    void LoadFromFile(const std::string& path, unsigned options = ParseOptions);
    void LoadFromText(std::string text, unsigned options = ParseOptions);

    bool Active() const { return Loaded; }
    pugi::xml_node DocumentElement() const;

    // 1-based line and column of a node of this document; 0 when the node belongs elsewhere.
    int LineOf(pugi::xml_node node) const;
    int ColumnOf(pugi::xml_node node) const;
    void Position(std::ptrdiff_t offset, int& line, int& column) const;

    // What the parser accepts and the reader relies on: element children, text and CDATA;
    // whitespace-only text is kept only where it is an element's whole content (a text value
    // of blanks), comments and processing instructions are dropped.
    static constexpr unsigned ParseOptions =
        pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol | pugi::parse_ws_pcdata_single;
    // The same, with the text that comes first in an element kept as the element's value
    // instead of a node of its own, for readers that only read: a table point then takes three
    // nodes instead of five.
    static constexpr unsigned ReadOnlyParseOptions = ParseOptions | pugi::parse_embed_pcdata;

private:
    void LoadText(std::string text, const std::string& origin, unsigned options);
    [[noreturn]] void FailAt(std::ptrdiff_t offset, const std::string& reason) const;
    void CheckSingleRoot() const;
    std::ptrdiff_t StartOffset(pugi::xml_node node) const;

    pugi::xml_document Document;
    std::string Origin; // the path in messages; empty for texts
    std::string Text;
    std::vector<std::size_t> LineStarts;
    bool Loaded = false;
};

// "CurvanaDocument/Memory/FunctionObj[2]/Exp": names from the root down; an index (from 1)
// only where the parent has several children of that name.
std::string ElementPath(pugi::xml_node node);

} // namespace curvana
