#pragma once

#include <cstdint>
#include <string>

namespace curvana {

enum TFactorKind : std::uint8_t {
    fkNumber = 0,       // a number literal, or the "0" put into empty brackets
    fkConstant = 1,     // a constant; its value is bound when the expression is compiled
    fkVariable = 2,     // a variable read at every evaluation, also every intermediate result
    fkOperator = 3,     // an operator library entry, including "neg", "pos" and inserted "*"
    fkBracket = 4,      // "(" or ")"
    fkUnclassified = 5, // the scanner's work token; never stored
};

// One token, one postfix element or one instruction slot.
struct TExpFactor {
    TExpFactor(TFactorKind kind, std::string name, double value)
        : Kind(kind), Name(std::move(name)), Value(value) {}

    bool IsOperand() const { return Kind <= fkVariable; }
    bool IsBracket(char bracket) const {
        return Kind == fkBracket && Name.size() == 1 && Name[0] == bracket;
    }

    TFactorKind Kind;
    std::string Name;
    double Value;
};

} // namespace curvana
