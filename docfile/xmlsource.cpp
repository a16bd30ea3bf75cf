#include "docfile/xmlsource.h"

#include "docfile/documenterror.h"
#include "docfile/xmlstrict.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace curvana {

namespace {

// Straight into one string of the file's size: a string stream would hold the text two or three
// times over while it grows and is copied out.
bool ReadWholeFile(const std::string& path, std::string& content) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    content.clear();
    if (in) {
        const std::streamoff size = in.tellg();
        in.seekg(0);
        if (size > 0) {
            content.reserve(static_cast<std::size_t>(size) + 1); // room for the parser's end
            content.resize(static_cast<std::size_t>(size));
            in.read(content.data(), size);
            content.resize(static_cast<std::size_t>(in.gcount()));
        }
    }
    return static_cast<bool>(in);
}

// Where text stands before or after the root, which the parser drops: the first character
// that is not a blank must open markup and the last must close it.
std::optional<std::ptrdiff_t> TextOutsideRoot(const std::string& text) {
    std::size_t first = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    first = text.find_first_not_of(" \t\r\n", first);
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    if (first != std::string::npos && text[first] != '<') {
        return static_cast<std::ptrdiff_t>(first);
    }
    if (last != std::string::npos && text[last] != '>') {
        const std::size_t lastTag = text.rfind('>', last);
        return static_cast<std::ptrdiff_t>(lastTag == std::string::npos ? 0 : lastTag + 1);
    }
    return std::nullopt;
}

} // namespace

void TXMLSource::LoadFromFile(const std::string& path, unsigned options,
                              const TTextFilter& filter) {
    std::string content;
    if (!ReadWholeFile(path, content)) {
        throw EDocumentError(EDocumentError::TKind::File, "Cannot open file \"" + path + "\"", "",
                             0);
    }
    Load(std::move(content), std::nullopt, path, options, filter);
}

void TXMLSource::LoadFromText(std::string text, unsigned options, const TTextFilter& filter) {
    std::string asWritten = text;
    Load(std::move(text), std::move(asWritten), "", options, filter);
}

void TXMLSource::FailAt(std::ptrdiff_t offset, const std::string& reason) const {
    int line = 0;
    int column = 0;
    Position(offset, line, column);
    std::string message;
    if (line > 0) {
        message = Origin.empty()
                      ? "line " + std::to_string(line) + ", column " + std::to_string(column) + ": "
                      : Origin + ":" + std::to_string(line) + ":" + std::to_string(column) + ": ";
    } else if (!Origin.empty()) {
        message = Origin + ": ";
    }
    EDocumentError error(EDocumentError::TKind::Syntax, message + reason, "", line, column);
    error.Reason = reason;
    throw error;
}

void TXMLSource::Load(std::string text, std::optional<std::string> asWritten,
                      const std::string& origin, unsigned options, const TTextFilter& filter) {
    Loaded = false;
    FilteredTree = false;
    Document.reset();
    Origin = origin;
    Buffer = std::move(text);
    WrittenText = std::move(asWritten);
    WrittenTextRead = WrittenText.has_value();
    LineStarts.clear();
    // What needs the text as written is done before the filter and the parser cut into it.
    const std::optional<TXMLFault> fault = FindXMLFault(Buffer);
    const std::optional<std::ptrdiff_t> textOutsideRoot = TextOutsideRoot(Buffer);
    if (!fault && filter) {
        FilteredTree = filter(Buffer);
    }
    pugi::xml_parse_result result = ParseBuffer(options);
    if (FilteredTree && (!result || result.encoding != pugi::encoding_utf8)) {
        // The filter reads UTF-8 markup; anything else is parsed again as written, so that its
        // tree and its errors are those of the plain parse.
        result = ParseAsWritten(options);
    }
    // Offsets refer to the parser's UTF-8 buffer; for files in other encodings they would not
    // match the text as written, so no position is claimed for those.
    HasPositions = result.encoding == pugi::encoding_utf8;
    if (HasPositions && fault &&
        (result || static_cast<std::ptrdiff_t>(fault->Offset) < result.offset)) {
        // The parser is lenient where XML is not; what it let pass counts where it comes first.
        FailAt(static_cast<std::ptrdiff_t>(fault->Offset), fault->Reason);
    }
    if (!result) {
        FailAt(result.offset, result.description());
    }
    CheckSingleRoot(textOutsideRoot);
    Loaded = true;
}

pugi::xml_parse_result TXMLSource::ParseAsWritten(unsigned options) {
    FilteredTree = false;
    Document.reset();
    const std::string* written = AsWritten();
    if (written == nullptr) {
        throw EDocumentError(EDocumentError::TKind::File, "Cannot open file \"" + Origin + "\"", "",
                             0);
    }
    Buffer = *written;
    return ParseBuffer(options);
}

pugi::xml_parse_result TXMLSource::ParseBuffer(unsigned options) {
    // The parser ends its own copy of a text with a 0 and reads that too (an error at the end of
    // the text is placed after its last character); parsing in place does the same.
    Buffer.push_back('\0');
    return Document.load_buffer_inplace(Buffer.data(), Buffer.size(), options, pugi::encoding_auto);
}

const std::string* TXMLSource::AsWritten() const {
    if (!WrittenTextRead) {
        WrittenTextRead = true;
        std::string content;
        // A file that changed since it was parsed would give wrong positions: none then.
        if (ReadWholeFile(Origin, content) && content.size() + 1 == Buffer.size()) {
            WrittenText = std::move(content);
        }
    }
    return WrittenText ? &*WrittenText : nullptr;
}

// The parser accepts fragments (several top-level elements) and drops text around the root; a
// document has one root and nothing but markup and blanks around it.
void TXMLSource::CheckSingleRoot(std::optional<std::ptrdiff_t> textOutsideRoot) const {
    bool seenRoot = false;
    for (pugi::xml_node child : Document.children()) {
        if (child.type() == pugi::node_element) {
            if (seenRoot) {
                FailAt(StartOffset(child), "More than one root element");
            }
            seenRoot = true;
        } else if (child.type() == pugi::node_cdata) {
            FailAt(child.offset_debug(), "Text outside the root element");
        }
    }
    if (!seenRoot) {
        FailAt(-1, "No document element found");
    }
    if (HasPositions && textOutsideRoot) {
        FailAt(*textOutsideRoot, "Text outside the root element");
    }
}

// An element's offset is that of its name; its tag begins one character earlier.
std::ptrdiff_t TXMLSource::StartOffset(pugi::xml_node node) const {
    std::ptrdiff_t offset = node.offset_debug();
    const std::string* text = HasPositions ? AsWritten() : nullptr;
    if (node.type() == pugi::node_element && offset > 0 && text != nullptr &&
        static_cast<std::size_t>(offset) <= text->size() && (*text)[offset - 1] == '<') {
        --offset;
    }
    return offset;
}

pugi::xml_node TXMLSource::DocumentElement() const {
    return Document.document_element();
}

bool TXMLSource::Holds(pugi::xml_node node) const {
    return Loaded && node && node.root() == Document.root();
}

bool TXMLSource::LineAt(std::ptrdiff_t offset, int& line, std::size_t& lineStart) const {
    line = 0;
    lineStart = 0;
    const std::string* text = HasPositions ? AsWritten() : nullptr;
    if (offset < 0 || text == nullptr || static_cast<std::size_t>(offset) > text->size()) {
        return false;
    }
    if (LineStarts.empty()) {
        LineStarts.push_back(0);
        for (std::size_t i = 0; i < text->size(); ++i) {
            // Line ends as the parser normalises them: LF, CR LF and a lone CR.
            const char c = (*text)[i];
            if (c == '\n' || (c == '\r' && (i + 1 >= text->size() || (*text)[i + 1] != '\n'))) {
                LineStarts.push_back(i + 1);
            }
        }
    }
    const auto after =
        std::upper_bound(LineStarts.begin(), LineStarts.end(), static_cast<std::size_t>(offset));
    lineStart = *std::prev(after);
    line = static_cast<int>(after - LineStarts.begin());
    return true;
}

void TXMLSource::Position(std::ptrdiff_t offset, int& line, int& column) const {
    column = 0;
    std::size_t lineStart = 0;
    if (!LineAt(offset, line, lineStart)) {
        return;
    }
    // Columns count characters, not bytes: UTF-8 continuation bytes do not start one.
    const std::string& text = *AsWritten();
    column = 1;
    for (auto i = lineStart; i < static_cast<std::size_t>(offset); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
}

int TXMLSource::LineOf(pugi::xml_node node) const {
    if (!Holds(node)) {
        return 0;
    }
    // The column is not counted: on a long line that would take as long as the line is.
    int line = 0;
    std::size_t lineStart = 0;
    LineAt(StartOffset(node), line, lineStart);
    return line;
}

int TXMLSource::ColumnOf(pugi::xml_node node) const {
    if (!Holds(node)) {
        return 0;
    }
    int line = 0;
    int column = 0;
    Position(StartOffset(node), line, column);
    return column;
}

std::string ElementPath(pugi::xml_node node) {
    std::vector<std::string> parts;
    for (pugi::xml_node n = node; n && n.type() == pugi::node_element; n = n.parent()) {
        std::string part = n.name();
        int index = 0;
        int count = 0;
        for (pugi::xml_node sibling = n.parent().child(n.name()); sibling;
             sibling = sibling.next_sibling(n.name())) {
            ++count;
            if (sibling == n) {
                index = count;
            }
        }
        if (count > 1) {
            part += '[';
            part += std::to_string(index);
            part += ']';
        }
        parts.push_back(std::move(part));
    }
    std::string path;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        if (!path.empty()) {
            path += '/';
        }
        path += *it;
    }
    return path;
}

} // namespace curvana
