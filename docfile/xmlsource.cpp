#include "docfile/xmlsource.h"

#include "docfile/documenterror.h"
#include "docfile/xmlstrict.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace curvana {

void TXMLSource::LoadFromFile(const std::string& path, unsigned options) {
    // Read straight into one string of the file's size: a string stream would hold the text
    // two or three times over while it grows and is copied out.
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string content;
    if (in) {
        const std::streamoff size = in.tellg();
        in.seekg(0);
        if (size > 0) {
            content.resize(static_cast<std::size_t>(size));
            in.read(content.data(), size);
            content.resize(static_cast<std::size_t>(in.gcount()));
        }
    }
    if (!in || in.bad()) {
        throw EDocumentError(EDocumentError::TKind::File, "Cannot open file \"" + path + "\"", "",
                             0);
    }
    LoadText(std::move(content), path, options);
}

void TXMLSource::LoadFromText(std::string text, unsigned options) {
    LoadText(std::move(text), "", options);
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

void TXMLSource::LoadText(std::string text, const std::string& origin, unsigned options) {
    Loaded = false;
    Document.reset();
    Origin = origin;
    Text = std::move(text);
    LineStarts.assign(1, 0);
    for (std::size_t i = 0; i < Text.size(); ++i) {
        // Line ends as the parser normalises them: LF, CR LF and a lone CR.
        if (Text[i] == '\n' || (Text[i] == '\r' && (i + 1 >= Text.size() || Text[i + 1] != '\n'))) {
            LineStarts.push_back(i + 1);
        }
    }
    const pugi::xml_parse_result result =
        Document.load_buffer(Text.data(), Text.size(), options, pugi::encoding_auto);
    // Offsets refer to the parser's UTF-8 buffer; for files in other encodings they would not
    // match our copy of the text, so no position is claimed for those.
    if (result.encoding != pugi::encoding_utf8) {
        LineStarts.clear();
    } else if (const std::optional<TXMLFault> fault = FindXMLFault(Text);
               fault && (result || static_cast<std::ptrdiff_t>(fault->Offset) < result.offset)) {
        // The parser is lenient where XML is not; what it let pass counts where it comes first.
        FailAt(static_cast<std::ptrdiff_t>(fault->Offset), fault->Reason);
    }
    if (!result) {
        FailAt(result.offset, result.description());
    }
    CheckSingleRoot();
    Loaded = true;
}

// The parser accepts fragments (several top-level elements) and drops text around the root; a
// document has one root and nothing but markup and blanks around it.
void TXMLSource::CheckSingleRoot() const {
    const auto fail = [this](const char* problem, std::ptrdiff_t offset) {
        FailAt(offset, problem);
    };
    bool seenRoot = false;
    for (pugi::xml_node child : Document.children()) {
        if (child.type() == pugi::node_element) {
            if (seenRoot) {
                fail("More than one root element", StartOffset(child));
            }
            seenRoot = true;
        } else if (child.type() == pugi::node_cdata) {
            fail("Text outside the root element", child.offset_debug());
        }
    }
    if (!seenRoot) {
        FailAt(-1, "No document element found");
    }
    if (!LineStarts.empty()) {
        std::size_t first = 0;
        if (Text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            first = 3;
        }
        first = Text.find_first_not_of(" \t\r\n", first);
        const std::size_t last = Text.find_last_not_of(" \t\r\n");
        if (first != std::string::npos && Text[first] != '<') {
            fail("Text outside the root element", static_cast<std::ptrdiff_t>(first));
        }
        if (last != std::string::npos && Text[last] != '>') {
            const std::size_t lastTag = Text.rfind('>', last);
            fail("Text outside the root element",
                 static_cast<std::ptrdiff_t>(lastTag == std::string::npos ? 0 : lastTag + 1));
        }
    }
}

// An element's offset is that of its name; its tag begins one character earlier.
std::ptrdiff_t TXMLSource::StartOffset(pugi::xml_node node) const {
    std::ptrdiff_t offset = node.offset_debug();
    if (node.type() == pugi::node_element && offset > 0 &&
        static_cast<std::size_t>(offset) <= Text.size() && Text[offset - 1] == '<') {
        --offset;
    }
    return offset;
}

pugi::xml_node TXMLSource::DocumentElement() const {
    return Document.document_element();
}

void TXMLSource::Position(std::ptrdiff_t offset, int& line, int& column) const {
    line = 0;
    column = 0;
    if (offset < 0 || LineStarts.empty() || static_cast<std::size_t>(offset) > Text.size()) {
        return;
    }
    const auto pos = static_cast<std::size_t>(offset);
    const auto after = std::upper_bound(LineStarts.begin(), LineStarts.end(), pos);
    const std::size_t lineStart = *std::prev(after);
    line = static_cast<int>(after - LineStarts.begin());
    // Columns count characters, not bytes: UTF-8 continuation bytes do not start one.
    column = 1;
    for (std::size_t i = lineStart; i < pos; ++i) {
        if ((static_cast<unsigned char>(Text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
}

int TXMLSource::LineOf(pugi::xml_node node) const {
    if (!Loaded || !node || node.root() != Document.root()) {
        return 0;
    }
    int line = 0;
    int column = 0;
    Position(StartOffset(node), line, column);
    return line;
}

int TXMLSource::ColumnOf(pugi::xml_node node) const {
    if (!Loaded || !node || node.root() != Document.root()) {
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
