#include "docfile/plaintablelists.h"

#include "common/decimalseparator.h"
#include "common/numtext.h"

#include <algorithm>
#include <string_view>

namespace curvana {

namespace {

constexpr std::string_view ListOpen = "<TableElemObjList>";
constexpr std::string_view ListClose = "</TableElemObjList>";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// What a plain number's text may hold. A carriage return is not among them: the parser would
// change it, and the number must read here as the tree would give it.
bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E' ||
           c == ' ' || c == '\t' || c == '\n';
}

class TCursor {
public:
    TCursor(std::string_view text, std::size_t at) : Text(text), At(at) {}

    std::size_t Offset() const { return At; }

    void SkipBlanks() {
        while (At < Text.size() && IsBlank(Text[At])) {
            ++At;
        }
    }

    bool Take(std::string_view s) {
        if (Text.compare(At, s.size(), s) != 0) {
            return false;
        }
        At += s.size();
        return true;
    }

    // OPEN number CLOSE
    bool Number(std::string_view open, std::string_view close, double& value) {
        if (!Take(open)) {
            return false;
        }
        const std::size_t start = At;
        while (At < Text.size() && IsNumberChar(Text[At])) {
            ++At;
        }
        const std::string_view number = Text.substr(start, At - start);
        return Take(close) && TryStrToFloat(number, value);
    }

private:
    std::string_view Text;
    std::size_t At;
};

// The points of a plain list whose content starts at the offset, and the offset of its closing
// tag; npos when the content is not plain.
std::size_t ReadPlainList(std::string_view text, std::size_t content,
                          std::vector<TPlainTableLists::TPoint>& points) {
    points.clear();
    TCursor at(text, content);
    for (;;) {
        at.SkipBlanks();
        const std::size_t close = at.Offset();
        if (at.Take(ListClose)) {
            return close;
        }
        TPlainTableLists::TPoint point{};
        if (!at.Take("<TableElemObj>")) {
            return std::string_view::npos;
        }
        at.SkipBlanks();
        if (!at.Number("<x>", "</x>", point.x)) {
            return std::string_view::npos;
        }
        at.SkipBlanks();
        if (!at.Number("<y>", "</y>", point.y)) {
            return std::string_view::npos;
        }
        at.SkipBlanks();
        if (!at.Take("</TableElemObj>")) {
            return std::string_view::npos;
        }
        points.push_back(point);
    }
}

// Just past the next `end` from the offset; the end of the text when there is none.
std::size_t After(std::string_view text, std::string_view end, std::size_t from) {
    const std::size_t found = text.find(end, from);
    return found == std::string_view::npos ? text.size() : found + end.size();
}

// Just past the ">" of a tag; a ">" inside a quoted attribute value does not end it.
std::size_t AfterTag(std::string_view text, std::size_t at) {
    char quote = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return at + 1;
        }
    }
    return at;
}

bool StartsWith(std::string_view text, std::size_t at, std::string_view s) {
    return text.compare(at, s.size(), s) == 0;
}

} // namespace

bool TPlainTableLists::Take(std::string& buffer) {
    Lists.clear();
    const char separator = DecimalSeparator();
    // The tree converts when it reads; a list converted now must read the same whatever the
    // separator then. It does: "." reads in every notation, and a plain number cannot contain
    // any other separator, unless the separator is one of the number's other characters.
    if (separator != '.' && (IsNumberChar(separator) || IsBlank(separator))) {
        return false;
    }
    // Walks the markup as the parser does, so that a list is only ever taken where the parser
    // sees an element: comments, character data and instructions are skipped whole, quoted
    // attribute values too.
    const std::string_view text = buffer;
    std::vector<TPoint> points;
    std::size_t at = 0;
    while ((at = text.find('<', at)) != std::string_view::npos) {
        if (StartsWith(text, at, "<!--")) {
            at = After(text, "-->", at + 4);
        } else if (StartsWith(text, at, "<![CDATA[")) {
            at = After(text, "]]>", at + 9);
        } else if (StartsWith(text, at, "<?")) {
            at = After(text, "?>", at + 2);
        } else if (StartsWith(text, at, "<!")) {
            break; // a document type: what its subset holds is the parser's to read
        } else if (StartsWith(text, at, "</")) {
            at = After(text, ">", at + 2);
        } else if (StartsWith(text, at, ListOpen)) {
            const std::size_t content = at + ListOpen.size();
            const std::size_t close = ReadPlainList(text, content, points);
            if (close == std::string_view::npos || points.empty()) {
                at = content;
                continue;
            }
            std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(content),
                      buffer.begin() + static_cast<std::ptrdiff_t>(close), ' ');
            Lists.emplace_back(static_cast<std::ptrdiff_t>(at + 1), std::move(points));
            points = {};
            at = close + ListClose.size();
        } else {
            at = AfterTag(text, at + 1);
        }
    }
    return !Lists.empty();
}

const std::vector<TPlainTableLists::TPoint>*
TPlainTableLists::Find(std::ptrdiff_t nameOffset) const {
    const auto found = std::lower_bound(
        Lists.begin(), Lists.end(), nameOffset,
        [](const auto& list, std::ptrdiff_t offset) { return list.first < offset; });
    return found != Lists.end() && found->first == nameOffset ? &found->second : nullptr;
}

} // namespace curvana
