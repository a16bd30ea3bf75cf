#include "expr/expexplain.h"

#include "common/decimalseparator.h"
#include "common/errors.h"
#include "expr/expcal.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace curvana {

namespace {

struct TPlacedToken {
    std::size_t Offset;
    TExpFactor Factor;
};

class TRecorder : public TExpCalObserver {
public:
    std::vector<std::size_t> DroppedOffsets;
    std::vector<TPlacedToken> Tokens;

    void Dropped(std::size_t offset) override { DroppedOffsets.push_back(offset); }
    void Token(std::size_t offset, const TExpFactor& token) override {
        Tokens.push_back({offset, token});
    }
};

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsRunChar(char c) {
    return IsDigit(c) || c == '.' || c == DecimalSeparator();
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::size_t ColumnOf(std::string_view text, std::size_t offset) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        column += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 ? 1 : 0;
    }
    return column;
}

// The code point of the UTF-8 character at text[at] and its length; a stray byte is itself.
std::uint32_t CodePointAt(std::string_view text, std::size_t at, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[at]);
    length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (at + length > text.size()) {
        length = 1;
        return lead;
    }
    std::uint32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        c = (c << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3Fu);
    }
    return c;
}

std::string Lowered(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return out;
}

std::string Raised(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return out;
}

std::string NameList(const TVarMemory& list) {
    std::string names;
    for (int i = 0; i < list.Count(); ++i) {
        names += (names.empty() ? "" : ", ") + list.At(i)->Name;
    }
    return names;
}

// Hints for single characters that look like operators or numbers elsewhere.
std::optional<std::string> CharacterHint(std::uint32_t c) {
    switch (c) {
    case 0xB9:
        return "write ^1";
    case 0xB2:
        return "write ^2";
    case 0xB3:
        return "write ^3";
    case 0x2070:
        return "write ^0";
    case 0xD7:
    case 0xB7:
    case 0x22C5:
        return "write * to multiply";
    case 0xF7:
        return "write / to divide";
    case 0x2212:
    case 0x2013:
        return "write the minus as -";
    case 0x3C0:
        return "write PI";
    case 0x2264:
        return "write <=";
    case 0x2265:
        return "write >=";
    case 0x2260:
        return "write <>";
    case '[':
    case ']':
    case '{':
    case '}':
        return "only round brackets ( ) group";
    default:
        break;
    }
    if (c >= 0x2074 && c <= 0x2079) {
        return "write ^" + std::to_string(c - 0x2070);
    }
    return std::nullopt;
}

class TExplainer {
public:
    TExplainer(std::string_view text, const TOperatorLib& library, const TVarMemory& variables,
               const TVarMemory& constants)
        : Text(text), Library(library), Variables(variables), Constants(constants) {}

    std::vector<TExpNote> Run(const TRecorder& recorder, bool compiled) {
        Dropped = &recorder.DroppedOffsets;
        ExplainDropped(recorder.DroppedOffsets);
        ExplainNeighbours(recorder.Tokens);
        if (!compiled) {
            ExplainSigns(recorder.Tokens);
        }
        std::stable_sort(Notes.begin(), Notes.end(),
                         [](const TExpNote& a, const TExpNote& b) { return a.Column < b.Column; });
        return std::move(Notes);
    }

private:
    void Note(std::size_t offset, std::string message) {
        Notes.push_back({ColumnOf(Text, offset), std::move(message)});
    }

    // Dropped bytes grouped into pieces: runs of letters, runs of digits and separators, and
    // single characters otherwise.
    void ExplainDropped(const std::vector<std::size_t>& dropped) {
        std::size_t i = 0;
        while (i < dropped.size()) {
            const std::size_t begin = dropped[i];
            std::size_t end = begin;
            const auto extend = [&](auto belongs) {
                while (i < dropped.size() && dropped[i] == end && belongs(Text[end])) {
                    ++end;
                    ++i;
                }
            };
            if (IsAsciiLetter(Text[begin])) {
                extend(IsAsciiLetter);
                Note(begin, LeftOut(begin, end) + LetterHint(begin, end));
            } else if (IsRunChar(Text[begin])) {
                extend(IsRunChar);
                Note(begin, LeftOut(begin, end) + "a number holds one decimal separator at most");
            } else {
                std::size_t length = 1;
                const std::uint32_t c = CodePointAt(Text, begin, length);
                end = begin + length;
                while (i < dropped.size() && dropped[i] < end) {
                    ++i;
                }
                std::string hint = CharacterHint(c).value_or("it means nothing in an expression");
                if (c == ',' && DecimalSeparator() != ',') {
                    hint = std::string("the decimal separator is '") + DecimalSeparator() + "'";
                }
                Note(begin, LeftOut(begin, end) + hint);
            }
        }
    }

    std::string LeftOut(std::size_t begin, std::size_t end) const {
        return "\"" + std::string(Text.substr(begin, end - begin)) + "\" is left out: ";
    }

    std::string LetterHint(std::size_t begin, std::size_t end) const {
        const std::string_view piece = Text.substr(begin, end - begin);
        if (const std::optional<std::string> power = ExponentHint(begin, end)) {
            return *power;
        }
        // The whole word from here on: "Sqrt" drops "Sqr" and keeps the variable t.
        std::size_t wordEnd = end;
        while (wordEnd < Text.size() && IsAsciiLetter(Text[wordEnd])) {
            ++wordEnd;
        }
        const std::string word(Text.substr(begin, wordEnd - begin));
        const std::string lower = Lowered(word);
        if (const int entry = Library.LongestPrefixMatch(lower); entry >= 0 && lower != word) {
            return "names are lower case, write " + Library.OperatorAt(entry)->Symbol;
        }
        if (Variables.LongestPrefixMatch(lower) >= 0) {
            return "variables are " + NameList(Variables) + " (lower case)";
        }
        const std::string upper = Raised(piece);
        if (Constants.IndexOf(upper) >= 0) {
            return "the constant is written " + upper;
        }
        return "unknown name; the variables are " + NameList(Variables) + " and the constants " +
               NameList(Constants);
    }

    // "1e-3": an e between a number and an exponent.
    std::optional<std::string> ExponentHint(std::size_t begin, std::size_t end) const {
        if (end != begin + 1 || (Text[begin] != 'e' && Text[begin] != 'E') || begin == 0 ||
            !IsRunChar(Text[begin - 1])) {
            return std::nullopt;
        }
        std::size_t p = end;
        const bool negative = p < Text.size() && Text[p] == '-';
        p += p < Text.size() && (Text[p] == '-' || Text[p] == '+') ? 1 : 0;
        const std::size_t digits = p;
        while (p < Text.size() && IsDigit(Text[p])) {
            ++p;
        }
        if (p == digits) {
            return std::nullopt;
        }
        std::size_t mantissa = begin;
        while (mantissa > 0 && IsRunChar(Text[mantissa - 1])) {
            --mantissa;
        }
        const std::string exponent(Text.substr(digits, p - digits));
        return "numbers have no exponent notation, write " +
               std::string(Text.substr(mantissa, begin - mantissa)) + "*10^" +
               (negative ? "(-" + exponent + ")" : exponent);
    }

    bool DroppedBetween(std::size_t from, std::size_t to) const {
        const auto first = std::upper_bound(Dropped->begin(), Dropped->end(), from);
        return first != Dropped->end() && *first < to;
    }

    std::size_t NumberEnd(std::size_t offset) const {
        while (offset < Text.size() && IsRunChar(Text[offset])) {
            ++offset;
        }
        return offset;
    }

    std::string SourceOf(const TPlacedToken& token) const {
        if (token.Factor.Kind == fkNumber) {
            return std::string(Text.substr(token.Offset, NumberEnd(token.Offset) - token.Offset));
        }
        return token.Factor.Name;
    }

    // Two operands next to each other after the rewriting: no product was inserted.
    void ExplainNeighbours(const std::vector<TPlacedToken>& tokens) {
        for (std::size_t k = 1; k < tokens.size(); ++k) {
            const TPlacedToken& a = tokens[k - 1];
            const TPlacedToken& b = tokens[k];
            if (!a.Factor.IsOperand() || !b.Factor.IsOperand() ||
                a.Offset == TExpCalObserver::Inserted || b.Offset == TExpCalObserver::Inserted ||
                DroppedBetween(a.Offset, b.Offset)) {
                continue; // what was left out between them has its own note
            }
            const std::size_t aEnd = a.Factor.Kind == fkNumber ? NumberEnd(a.Offset) : 0;
            const bool blankBetween =
                aEnd > a.Offset && aEnd < b.Offset &&
                std::all_of(Text.begin() + static_cast<std::ptrdiff_t>(aEnd),
                            Text.begin() + static_cast<std::ptrdiff_t>(b.Offset), IsBlank);
            if (a.Factor.Kind == fkNumber && b.Factor.Kind == fkNumber && blankBetween) {
                const std::string written(Text.substr(a.Offset, NumberEnd(b.Offset) - a.Offset));
                Note(aEnd, "a blank inside the number \"" + written + "\": it reads as " +
                               SourceOf(a) + " and " + SourceOf(b) + " side by side, write " +
                               SourceOf(a) + SourceOf(b));
            } else {
                Note(b.Offset, "nothing joins " + SourceOf(a) + " and " + SourceOf(b) +
                                   ", so one of them is lost: write " + SourceOf(a) + "*" +
                                   SourceOf(b));
            }
        }
    }

    // A sign after an operator of its priority or above takes that operator's place in the
    // postfix order before its right operand has come.
    void ExplainSigns(const std::vector<TPlacedToken>& tokens) {
        const auto shown = [](const std::string& name) {
            return name == "neg" ? std::string("-") : name == "pos" ? std::string("+") : name;
        };
        for (std::size_t k = 1; k < tokens.size(); ++k) {
            const TExpFactor& previous = tokens[k - 1].Factor;
            const TExpFactor& sign = tokens[k].Factor;
            if (sign.Kind != fkOperator || (sign.Name != "neg" && sign.Name != "pos") ||
                previous.Kind != fkOperator ||
                Library.PriorityOf(previous.Name) < Library.PriorityOf(sign.Name)) {
                continue;
            }
            Note(tokens[k].Offset, "the sign " + shown(sign.Name) + " right after " +
                                       shown(previous.Name) +
                                       " stops the compilation: put the signed term in "
                                       "brackets, as in " +
                                       shown(previous.Name) + "(" + shown(sign.Name) + "1)");
        }
    }

    std::string_view Text;
    const TOperatorLib& Library;
    const TVarMemory& Variables;
    const TVarMemory& Constants;
    std::vector<TExpNote> Notes;
    const std::vector<std::size_t>* Dropped = nullptr;
};

} // namespace

std::vector<TExpNote> ExplainExpression(std::string_view expression,
                                        const TOperatorLib& operatorLib, TVarMemory& variables,
                                        const TVarMemory& constants) {
    TRecorder recorder;
    bool compiled = false;
    try {
        compiled = TExpCal(expression, operatorLib, variables, constants, &recorder).Compiled;
    } catch (const ECurvanaError&) {
        // A literal beyond the double range: explain what was scanned before it.
    }
    return TExplainer(expression, operatorLib, variables, constants).Run(recorder, compiled);
}

} // namespace curvana
