#pragma once

#include <pugixml.hpp>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace curvana {

// A parsed XML file together with its text, so that nodes and parse errors can be given a line
// and column. Parsing keeps to the predefined entities and character references: DTD entities
// are never expanded, so no document can make the reader build huge texts.
//
// The text is parsed where it lies (the parser cuts names and values into it), so a file is held
// once. Positions are counted on the text as written: a text keeps a copy of itself, a file is
// read again the first time a position is asked for (only errors and reports ask).
class TXMLSource {
public:
    // Takes over parts of a text before it is parsed: it may overwrite the content of elements
    // with blanks (never changing the length, so offsets stay) and answers whether it did. It is
    // given only texts without a fault (see xmlstrict.h).
    using TTextFilter = std::function<bool(std::string& text)>;

    // Throws EDocumentError (File) when the file cannot be read and (Syntax) when it is not
    // well-formed XML: "PATH:LINE:COLUMN: reason" for a file, "line L, column C: reason" for a
    // text. Beyond what the parser checks, bare "&", references to undefined entities, bad
    // character references, bytes that are not UTF-8, control characters and repeated
    // attributes are refused (see xmlstrict.h). A filtered text that does not parse as UTF-8
    // is parsed again as written, so messages and trees never depend on the filter.
    void LoadFromFile(const std::string& path, unsigned options = ParseOptions,
                      const TTextFilter& filter = {});
    void LoadFromText(std::string text, unsigned options = ParseOptions,
                      const TTextFilter& filter = {});

    bool Active() const { return Loaded; }
    // Whether the tree was parsed from the text as the filter left it.
    bool Filtered() const { return FilteredTree; }
    pugi::xml_node DocumentElement() const;
    // Whether the node belongs to this document.
    bool Holds(pugi::xml_node node) const;

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
    void Load(std::string text, std::optional<std::string> asWritten, const std::string& origin,
              unsigned options, const TTextFilter& filter);
    pugi::xml_parse_result ParseAsWritten(unsigned options);
    pugi::xml_parse_result ParseBuffer(unsigned options);
    [[noreturn]] void FailAt(std::ptrdiff_t offset, const std::string& reason) const;
    void CheckSingleRoot(std::optional<std::ptrdiff_t> textOutsideRoot) const;
    std::ptrdiff_t StartOffset(pugi::xml_node node) const;
    // The 1-based line of an offset into the text as written and where that line starts; false
    // (line 0) for an offset outside it or a text without positions.
    bool LineAt(std::ptrdiff_t offset, int& line, std::size_t& lineStart) const;
    // The text as written; nullptr when a file cannot be read again as it was.
    const std::string* AsWritten() const;

    std::string Origin;        // the path in messages; empty for texts
    std::string Buffer;        // the text and a 0, cut into by the parser; the tree points into it
    bool HasPositions = false; // offsets refer to the text as written (it was UTF-8)
    bool Loaded = false;
    bool FilteredTree = false;
    mutable std::optional<std::string> WrittenText;
    mutable bool WrittenTextRead = false;
    mutable std::vector<std::size_t> LineStarts; // of WrittenText, made when first needed
    pugi::xml_document Document; // after Buffer: destroyed before the text it points into
};

// "CurvanaDocument/Memory/FunctionObj[2]/Exp": names from the root down; an index (from 1)
// only where the parent has several children of that name.
std::string ElementPath(pugi::xml_node node);

} // namespace curvana
