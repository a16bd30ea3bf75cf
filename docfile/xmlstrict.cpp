#include "docfile/xmlstrict.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unordered_set>

namespace curvana {

namespace {

bool IsXMLChar(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

std::string CodePointName(std::uint32_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

// Decodes the UTF-8 sequence at text[at]; 0 bytes when it is not one (overlong forms, surrogates
// and values beyond U+10FFFF included).
std::size_t DecodeUTF8(std::string_view text, std::size_t at, std::uint32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (byte(at + i) & 0x3Fu);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return 0;
    }
    return length;
}

std::optional<TXMLFault> FindCharacterFault(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        // Printable ASCII, nearly all of a document, needs no decoding: eight bytes at a time
        // while no byte has its high bit set or lies below 0x20.
        constexpr std::uint64_t ones = 0x0101010101010101u;
        while (at + 8 <= text.size()) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + at, sizeof word);
            if (((word | (word - 0x20 * ones)) & 0x80 * ones) != 0) {
                break;
            }
            at += 8;
        }
        if (at == text.size()) {
            break;
        }
        if (const auto b = static_cast<unsigned char>(text[at]); b >= 0x20 && b < 0x80) {
            ++at;
            continue;
        }
        std::uint32_t c = 0;
        const std::size_t length = DecodeUTF8(text, at, c);
        if (length == 0) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "0x%02X", static_cast<unsigned char>(text[at]));
            return TXMLFault{at, std::string("invalid UTF-8 (byte ") + buffer + ")"};
        }
        if (!IsXMLChar(c)) {
            return TXMLFault{at, "character " + CodePointName(c) + " is not allowed in XML"};
        }
        at += length;
    }
    return std::nullopt;
}

constexpr bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// A table, as names are most of what the markup scan walks byte by byte.
constexpr std::array<bool, 256> NameChars = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        table[c] = IsNameStart(ch) || (ch >= '0' && ch <= '9') || ch == '-' || ch == '.';
    }
    return table;
}();

bool IsNameChar(char c) {
    return NameChars[static_cast<unsigned char>(c)];
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The first "<" or "&" at or after from, or the end: eight bytes at a time, as a document's
// text between tags (numbers, mostly) holds neither.
std::size_t FindMarkOrReference(std::string_view text, std::size_t from) {
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x80 * ones;
    std::size_t at = from;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        const std::uint64_t lt = word ^ ('<' * ones);
        const std::uint64_t amp = word ^ ('&' * ones);
        // A byte of lt or amp is zero where the text has that character.
        if ((((lt - ones) & ~lt) | ((amp - ones) & ~amp)) & highs) {
            break;
        }
    }
    while (at < text.size() && text[at] != '<' && text[at] != '&') {
        ++at;
    }
    return at;
}

// A reference as written, cut short for the message.
std::string Shown(std::string_view reference) {
    constexpr std::size_t limit = 40;
    return reference.size() <= limit ? std::string(reference)
                                     : std::string(reference.substr(0, limit)) + "...";
}

// Walks the markup for what the parser passes over: references in text and attribute values and
// attribute names repeated in a tag. Comments, character data, instructions and declarations are
// skipped whole.
class TMarkupScan {
public:
    explicit TMarkupScan(std::string_view text) : Text(text) {}

    std::optional<TXMLFault> Run() {
        while (At < Text.size() && !Fault) {
            const char c = Text[At];
            if (c == '&') {
                Reference();
            } else if (c == '<') {
                Markup();
            } else {
                // Text holds nothing to check but references.
                At = FindMarkOrReference(Text, At + 1);
            }
        }
        return Fault;
    }

private:
    bool Ahead(std::string_view s) const { return Text.substr(At, s.size()) == s; }

    void SkipPast(std::string_view end) {
        const std::size_t found = Text.find(end, At);
        At = found == std::string_view::npos ? Text.size() : found + end.size();
    }

    // Tags are short, so "<" dispatches on the character after it and a tag's ">" is looked
    // for byte by byte rather than through a library search.
    void Markup() {
        const char next = At + 1 < Text.size() ? Text[At + 1] : '\0';
        if (next == '!') {
            if (Ahead("<!--")) {
                SkipPast("-->");
            } else if (Ahead("<![CDATA[")) {
                SkipPast("]]>");
            } else {
                Declaration();
            }
        } else if (next == '?') {
            SkipPast("?>");
        } else if (next == '/') {
            SkipPastTagEnd();
        } else {
            StartTag();
        }
    }

    void SkipPastTagEnd() {
        while (At < Text.size() && Text[At] != '>') {
            ++At;
        }
        At = std::min(At + 1, Text.size());
    }

    // <!DOCTYPE ...> with its internal subset: quotes and brackets may hold a ">".
    void Declaration() {
        int depth = 0;
        char quote = 0;
        for (At += 2; At < Text.size(); ++At) {
            const char c = Text[At];
            if (quote != 0) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '[') {
                ++depth;
            } else if (c == ']') {
                --depth;
            } else if (c == '>' && depth <= 0) {
                ++At;
                return;
            }
        }
    }

    void StartTag() {
        ++At;
        while (At < Text.size() && IsNameChar(Text[At])) {
            ++At;
        }
        // Made at the first attribute: most tags have none.
        std::optional<std::unordered_set<std::string_view>> names;
        while (At < Text.size() && !Fault) {
            while (At < Text.size() && IsSpace(Text[At])) {
                ++At;
            }
            if (At >= Text.size() || Text[At] == '>' || Text[At] == '/' || !IsNameStart(Text[At])) {
                break; // the end of the tag, or markup the parser refuses on its own
            }
            const std::size_t nameStart = At;
            while (At < Text.size() && IsNameChar(Text[At])) {
                ++At;
            }
            const std::string_view name = Text.substr(nameStart, At - nameStart);
            if (!names) {
                names.emplace();
            }
            if (!names->insert(name).second) {
                Fault = TXMLFault{nameStart, "duplicate attribute '" + std::string(name) + "'"};
                return;
            }
            while (At < Text.size() && IsSpace(Text[At])) {
                ++At;
            }
            if (At >= Text.size() || Text[At] != '=') {
                break;
            }
            ++At;
            while (At < Text.size() && IsSpace(Text[At])) {
                ++At;
            }
            if (At >= Text.size() || (Text[At] != '"' && Text[At] != '\'')) {
                break;
            }
            const char quote = Text[At++];
            while (At < Text.size() && Text[At] != quote && !Fault) {
                if (Text[At] == '&') {
                    Reference();
                } else {
                    ++At;
                }
            }
            ++At;
        }
        SkipPastTagEnd();
    }

    void Reference() {
        const std::size_t start = At;
        std::size_t p = At + 1;
        if (p < Text.size() && Text[p] == '#') {
            CharacterReference(start, p + 1);
            return;
        }
        const std::size_t nameStart = p;
        if (p < Text.size() && IsNameStart(Text[p])) {
            while (p < Text.size() && IsNameChar(Text[p])) {
                ++p;
            }
        }
        if (p == nameStart || p >= Text.size() || Text[p] != ';') {
            Fault = TXMLFault{start, "bare '&': write &amp; for an ampersand"};
            return;
        }
        const std::string_view name = Text.substr(nameStart, p - nameStart);
        static constexpr std::array<std::string_view, 5> predefined = {"amp", "lt", "gt", "quot",
                                                                       "apos"};
        if (std::find(predefined.begin(), predefined.end(), name) == predefined.end()) {
            Fault =
                TXMLFault{start, "undefined entity '" + Shown(Text.substr(start, p + 1 - start)) +
                                     "' (only &amp; &lt; &gt; &quot; &apos; are defined)"};
            return;
        }
        At = p + 1;
    }

    void CharacterReference(std::size_t start, std::size_t p) {
        const bool hex = p < Text.size() && Text[p] == 'x';
        p += hex ? 1 : 0;
        const std::size_t digitsStart = p;
        std::uint64_t value = 0;
        for (; p < Text.size(); ++p) {
            const char c = Text[p];
            int digit = -1;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (hex && c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (hex && c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            }
            if (digit < 0) {
                break;
            }
            value = std::min<std::uint64_t>(value * (hex ? 16 : 10) + static_cast<unsigned>(digit),
                                            0x110000);
        }
        // The reference up to its ";" where one follows closely, else up to the first stray
        // character.
        std::size_t end = Text.find(';', start);
        end = end != std::string_view::npos && end - start <= 16 ? end + 1
                                                                 : std::min(Text.size(), p + 1);
        const std::string shown = Shown(Text.substr(start, end - start));
        if (p == digitsStart || p >= Text.size() || Text[p] != ';') {
            Fault = TXMLFault{start, "bad character reference '" + shown + "'"};
        } else if (!IsXMLChar(static_cast<std::uint32_t>(value))) {
            Fault = TXMLFault{start, "character reference '" + shown + "' names no XML character"};
        } else {
            At = p + 1;
        }
    }

    std::string_view Text;
    std::size_t At = 0;
    std::optional<TXMLFault> Fault;
};

} // namespace

std::optional<TXMLFault> FindXMLFault(std::string_view text) {
    std::optional<TXMLFault> character = FindCharacterFault(text);
    // Markup before a broken character is read as it stands; after it nothing is looked at.
    std::optional<TXMLFault> markup =
        TMarkupScan(character ? text.substr(0, character->Offset) : text).Run();
    return markup ? markup : character;
}

} // namespace curvana
