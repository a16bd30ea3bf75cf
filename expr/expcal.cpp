#include "expr/expcal.h"

#include "common/decimalseparator.h"
#include "common/numtext.h"

#include <algorithm>
#include <cmath>

namespace curvana {

// A token of the work lists: a factor plus its library entry, so that priorities and operand
// counts are not looked up by name again.
struct TExpCal::TWorkToken {
    TExpFactor Factor;
    int Entry; // index in the operator library for operators, else -1
    std::size_t Offset = TExpCalObserver::Inserted; // where its text begins in the expression
};

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsRunChar(char c, char separator) {
    return (c >= '0' && c <= '9') || c == '.' || c == separator;
}

// The first position in a number run [begin, end) from which the rest converts: digits with at
// most one decimal mark, "." or the regional separator. end when none does.
std::size_t FirstConvertible(std::string_view s, std::size_t begin, std::size_t end,
                             char separator) {
    std::size_t first = begin;
    int marksSeen = 0;
    for (std::size_t i = end; i > begin; --i) {
        const char c = s[i - 1];
        if ((c == separator || c == '.') && ++marksSeen == 2) {
            first = std::max(first, i);
            break;
        }
    }
    return first;
}

// k for the name "TempVariable<k>" (decimal, no leading zero, k >= 1), else 0.
std::size_t TemporaryNumber(std::string_view name) {
    constexpr std::string_view prefix = "TempVariable";
    if (!name.starts_with(prefix)) {
        return 0;
    }
    const std::string_view digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 18 || digits[0] == '0') {
        return 0;
    }
    std::size_t k = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return 0;
        }
        k = k * 10 + static_cast<std::size_t>(c - '0');
    }
    return k;
}

std::string TemporaryName(std::size_t k) {
    return "TempVariable" + std::to_string(k);
}

const double Zero = 0.0;

} // namespace

TExpCal::TExpCal(std::string_view expression, const TOperatorLib& operatorLib,
                 TVarMemory& variables, const TVarMemory& constants, TExpCalObserver* observer)
    : Library(&operatorLib), VariableList(&variables), ConstantList(&constants),
      ExpressionText(expression) {
    std::vector<TWorkToken> tokens;
    Scan(tokens, observer);
    RewriteTokens(tokens);
    if (observer != nullptr) {
        for (const TWorkToken& t : tokens) {
            observer->Token(t.Offset, t.Factor);
        }
    }
    TokenList.Reserve(tokens.size());
    for (const TWorkToken& t : tokens) {
        TokenList.AddCopy(t.Factor);
    }
    std::vector<TWorkToken> postfix;
    ToPostfix(tokens, postfix);
    BuildInstructions(postfix);
    Prepare();
}

void TExpCal::Scan(std::vector<TWorkToken>& tokens, TExpCalObserver* observer) const {
    const std::string_view text = ExpressionText;
    const char separator = DecimalSeparator();
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) {
        --end;
    }
    std::size_t p = 0;
    // The number run last looked at: a failed conversion drops one character and looks at the
    // rest of the same run, so its extent and convertible tail are found once, not per character.
    std::size_t runBegin = 0;
    std::size_t runEnd = 0;
    std::size_t runFirst = 0;
    while (true) {
        while (p < end && IsBlank(text[p])) {
            ++p;
        }
        if (p >= end) {
            break;
        }
        const std::string_view rest = text.substr(p, end - p);
        const char c = rest[0];
        if (c == '(' || c == ')') {
            tokens.push_back({TExpFactor(fkBracket, std::string(1, c), 0), -1, p});
            ++p;
            continue;
        }
        if (const int i = Library->LongestPrefixMatch(rest); i >= 0) {
            const std::string& symbol = Library->OperatorAt(i)->Symbol;
            tokens.push_back({TExpFactor(fkOperator, symbol, 0), i, p});
            p += symbol.size();
            continue;
        }
        if (const int i = VariableList->LongestPrefixMatch(rest); i >= 0) {
            const TVarItem* item = VariableList->At(i);
            tokens.push_back({TExpFactor(fkVariable, item->Name, item->Value), -1, p});
            p += item->Name.size();
            continue;
        }
        if (const int i = ConstantList->LongestPrefixMatch(rest); i >= 0) {
            const TVarItem* item = ConstantList->At(i);
            tokens.push_back({TExpFactor(fkConstant, item->Name, item->Value), -1, p});
            p += item->Name.size();
            continue;
        }
        if (IsRunChar(c, separator)) {
            if (p < runBegin || p >= runEnd) {
                runBegin = p;
                runEnd = p;
                while (runEnd < end && IsRunChar(text[runEnd], separator)) {
                    ++runEnd;
                }
                runFirst = FirstConvertible(text, runBegin, runEnd, separator);
            }
            long double value = 0;
            if (p >= runFirst &&
                TextToExtended(text.substr(p, runEnd - p), value) == TTextToReal::Ok) {
                const double stored = StoreDouble(value); // a literal beyond the double range
                tokens.push_back({TExpFactor(fkNumber, FloatToStr(stored), stored), -1, p});
                p = runEnd;
                continue;
            }
        }
        if (observer != nullptr) {
            observer->Dropped(p);
        }
        ++p; // nothing matches: the character vanishes
    }
}

void TExpCal::RewriteTokens(std::vector<TWorkToken>& tokens) const {
    // Signs: a "-" or "+" at the start, after "(" or after an operator is a sign operator.
    const std::pair<const char*, const char*> signs[] = {{"-", "neg"}, {"+", "pos"}};
    for (const auto& [sign, name] : signs) {
        const int entry = Library->IndexOf(name);
        for (std::size_t k = 0; k < tokens.size(); ++k) {
            TExpFactor& f = tokens[k].Factor;
            if (f.Kind != fkOperator || f.Name != sign) {
                continue;
            }
            const TExpFactor* previous = k == 0 ? nullptr : &tokens[k - 1].Factor;
            if (previous == nullptr || previous->IsBracket('(') || previous->Kind == fkOperator) {
                f.Name = name;
                f.Value = 0;
                tokens[k].Entry = entry;
            }
        }
    }

    // Empty brackets hold 0. Built as a new list: inserting in place would be quadratic.
    std::vector<TWorkToken> out;
    out.reserve(tokens.size());
    // out.back() is the previous token: the tokens are moved as they are copied over.
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        if (!out.empty() && out.back().Factor.IsBracket('(') && tokens[k].Factor.IsBracket(')')) {
            out.push_back({TExpFactor(fkNumber, "0", 0), -1});
        }
        out.push_back(std::move(tokens[k]));
    }
    tokens.swap(out);

    // Implicit multiplication between the pairs that the table marks; one "*" per gap.
    const int times = Library->IndexOf("*");
    auto isOneOperandOperator = [this](const TWorkToken& t) {
        return t.Factor.Kind == fkOperator && Library->OperatorAt(t.Entry) != nullptr &&
               Library->OperatorAt(t.Entry)->OperandCount == 1;
    };
    auto multiplies = [&](const TWorkToken& previous, const TWorkToken& next) {
        const TExpFactor& p = previous.Factor;
        const TExpFactor& n = next.Factor;
        const bool nextOpens = n.IsBracket('(') || isOneOperandOperator(next);
        switch (p.Kind) {
        case fkVariable:
        case fkConstant:
            return n.Kind == fkVariable || nextOpens;
        case fkNumber:
            return n.Kind == fkVariable || n.Kind == fkConstant || nextOpens;
        case fkBracket:
            return p.IsBracket(')') && (n.IsOperand() || nextOpens);
        default:
            return false;
        }
    };
    out.clear();
    out.reserve(tokens.size() + tokens.size() / 2);
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        if (!out.empty() && multiplies(out.back(), tokens[k])) {
            out.push_back({TExpFactor(fkOperator, "*", 0), times});
        }
        out.push_back(std::move(tokens[k]));
    }
    tokens.swap(out);
}

void TExpCal::ToPostfix(std::vector<TWorkToken>& tokens, std::vector<TWorkToken>& postfix) const {
    std::vector<TWorkToken> stack;
    auto priority = [this](const TWorkToken& t) {
        const TOperatorObj* entry = Library->OperatorAt(t.Entry);
        return entry == nullptr ? -1 : entry->Priority;
    };
    postfix.reserve(tokens.size());
    for (TWorkToken& t : tokens) {
        if (t.Factor.IsOperand()) {
            postfix.push_back(std::move(t));
        } else if (t.Factor.IsBracket('(')) {
            stack.push_back(std::move(t));
        } else if (t.Factor.IsBracket(')')) {
            while (!stack.empty() && !stack.back().Factor.IsBracket('(')) {
                postfix.push_back(std::move(stack.back()));
                stack.pop_back();
            }
            if (!stack.empty()) {
                stack.pop_back(); // a ")" without partner only flushes the stack
            }
        } else if (t.Factor.Kind == fkOperator) {
            // Pops on equal priority: every operator is left-associative.
            const int p = priority(t);
            while (!stack.empty() && !stack.back().Factor.IsBracket('(') &&
                   p <= priority(stack.back())) {
                postfix.push_back(std::move(stack.back()));
                stack.pop_back();
            }
            stack.push_back(std::move(t));
        }
    }
    // Brackets left without partner go along and block their neighbours in the reduction.
    while (!stack.empty()) {
        postfix.push_back(std::move(stack.back()));
        stack.pop_back();
    }
    tokens.clear();
}

void TExpCal::BuildInstructions(std::vector<TWorkToken>& postfix) {
    Compiled = true;
    std::size_t n = 0;
    auto emit = [&](const TExpFactor& a, const TExpFactor& b, const std::string& op) {
        ++n;
        InstructionList.Add(TExpFactor(fkVariable, TemporaryName(n), 0));
        InstructionList.AddCopy(a);
        InstructionList.AddCopy(b);
        InstructionList.Add(TExpFactor(fkOperator, op, 0));
    };
    if (postfix.size() == 1) {
        if (postfix[0].Factor.IsOperand()) {
            emit(postfix[0].Factor, postfix[0].Factor, "evaluate");
        } else {
            Compiled = false;
        }
        return;
    }
    // Reducing the leftmost operator again and again, in one pass: everything left of the
    // leftmost operator is already reduced, so it is kept on a stack. Brackets left over from
    // the postfix conversion are neither operands nor operators: they stay where they are and an
    // operator that meets one instead of an operand fails.
    std::vector<TExpFactor> reduced;
    std::size_t next = 0;
    while (reduced.size() + (postfix.size() - next) > 1) {
        while (next < postfix.size() && postfix[next].Factor.Kind != fkOperator) {
            reduced.push_back(std::move(postfix[next].Factor));
            ++next;
        }
        if (next == postfix.size()) {
            break; // no operator left: leftover operands do not matter
        }
        const TWorkToken& op = postfix[next];
        const TOperatorObj* entry = Library->OperatorAt(op.Entry);
        const int operands = entry == nullptr ? 0 : entry->OperandCount;
        const std::size_t have = reduced.size();
        if (operands == 2 && have >= 2 && reduced[have - 2].IsOperand() &&
            reduced[have - 1].IsOperand()) {
            emit(reduced[have - 2], reduced[have - 1], op.Factor.Name);
            reduced.pop_back();
            reduced.back() = TExpFactor(fkVariable, TemporaryName(n), 0);
        } else if (operands == 1 && have >= 1 && reduced[have - 1].IsOperand()) {
            emit(reduced[have - 1], reduced[have - 1], op.Factor.Name);
            reduced.back() = TExpFactor(fkVariable, TemporaryName(n), 0);
        } else {
            Compiled = false;
            break;
        }
        ++next;
    }
    postfix.clear();
}

namespace {

int CallCost(TOperatorCode code) {
    switch (code) {
    case TOperatorCode::Sinh:
    case TOperatorCode::Cosh:
    case TOperatorCode::Tanh:
    case TOperatorCode::Coth:
    case TOperatorCode::ArcSinh:
    case TOperatorCode::ArcCosh:
    case TOperatorCode::ArcTanh:
    case TOperatorCode::ArcCoth:
        return TExpCal::LongCallCost;
    case TOperatorCode::Sin:
    case TOperatorCode::Cos:
    case TOperatorCode::Tan:
    case TOperatorCode::Cot:
    case TOperatorCode::ArcSin:
    case TOperatorCode::ArcCos:
    case TOperatorCode::ArcTan:
    case TOperatorCode::ArcCot:
    case TOperatorCode::Ln:
    case TOperatorCode::Log10:
    case TOperatorCode::Log2:
    case TOperatorCode::Exp:
    case TOperatorCode::Random:
    case TOperatorCode::Power:
        return 1;
    default:
        return 0;
    }
}

} // namespace

void TExpCal::Prepare() {
    const std::size_t count = static_cast<std::size_t>(InstructionCount());
    Steps.reserve(count);
    Program.reserve(count); // rebuilt at every resolution, which must not allocate
    for (std::size_t j = 0; j < count; ++j) {
        const int base = static_cast<int>(4 * j);
        TStep step{OperatorCodeOf(InstructionList.At(base + 3)->Name), 0, &Zero, &Zero,
                   &InstructionList.At(base)->Value};
        // A fixed whole exponent (x^2, x^3) skips the tests of the general power.
        if (const TExpFactor& b = *InstructionList.At(base + 2);
            step.Code == TOperatorCode::Power && (b.Kind == fkNumber || b.Kind == fkConstant) &&
            b.Value != 0 && std::trunc(b.Value) == b.Value && std::fabs(b.Value) <= 2147483647.0) {
            step.Code = TOperatorCode::PowerByInteger;
            step.Exponent = static_cast<std::int32_t>(b.Value);
        }
        for (const bool second : {false, true}) {
            TExpFactor* slot = InstructionList.At(base + (second ? 2 : 1));
            const double* address = &Zero;
            if (slot->Kind == fkNumber || slot->Kind == fkConstant) {
                address = &slot->Value;
                (second ? step.BFixed : step.AFixed) = true;
            } else if (slot->Kind == fkVariable) {
                const std::size_t k = TemporaryNumber(slot->Name);
                const int temporary = k >= 1 && k <= count ? static_cast<int>(k - 1) : -1;
                (second ? step.BTemporary : step.ATemporary) = temporary;
                // A temporary read before its instruction ran holds the 0 it was added with.
                if (temporary >= static_cast<int>(j)) {
                    ZeroResults = true;
                }
                VariableSlots.push_back({j, second, temporary});
            }
            (second ? step.B : step.A) = address;
        }
        LibraryCallCosts += CallCost(step.Code);
        Steps.push_back(step);
    }
}

bool TExpCal::Repeatable() const {
    return std::none_of(Steps.begin(), Steps.end(),
                        [](const TStep& step) { return step.Code == TOperatorCode::Random; });
}

void TExpCal::Resolve() {
    Resolved = true;
    ResolvedStamp = VariableList->Stamp();
    const std::size_t count = Steps.size();
    ByNames = false;
    for (int i = 0; i < VariableList->Count(); ++i) {
        const std::size_t k = TemporaryNumber(VariableList->At(i)->Name);
        if (k >= 1 && k <= count) {
            ByNames = true; // the caller's item takes the temporary's writes
            return;
        }
    }
    for (const TVariableSlot& slot : VariableSlots) {
        const double* address = &Zero;
        if (slot.Temporary >= 0) {
            address = &InstructionList.At(4 * slot.Temporary)->Value;
        } else {
            const int base = static_cast<int>(4 * slot.Step);
            const std::string& name = InstructionList.At(base + (slot.Second ? 2 : 1))->Name;
            if (TVarItem* item = VariableList->At(VariableList->IndexOf(name))) {
                address = &item->Value;
            }
        }
        (slot.Second ? Steps[slot.Step].B : Steps[slot.Step].A) = address;
    }
    Fold();
}

} // namespace curvana
