#include "expr/operatorlib.h"

namespace curvana {

namespace {

struct TEntry {
    const char* Name;
    const char* Description;
    int Priority;
    int OperandCount;
};

// Priority levels, tightest first: functions 35, "^" 30, "*" "/" 25, the sign operators 22,
// "+" "-" 20, comparisons 15, "not" 10, "and" "or" "xor" 5.
constexpr TEntry Entries[] = {
    {"sin", "Sine of an angle", 35, 1},
    {"cos", "Cosine of an angle", 35, 1},
    {"neg", "Negative", 22, 1},
    {"pos", "Positive", 22, 1},
    {"tan", "Tangent of an angle", 35, 1},
    {"cot", "Cotangent of an angle", 35, 1},
    {"arcsin", "Inverse sine of a given number", 35, 1},
    {"arccos", "Inverse cosine of a given number", 35, 1},
    {"arctan", "Arctangent of a given number", 35, 1},
    {"arccot", "Inverse cotangent of a given number", 35, 1},
    {"abs", "Returns an absolute value", 35, 1},
    {"sqrt", "Returns the square root of X", 35, 1},
    {"sqr", "Returns the square of a number", 35, 1},
    {"ln", "Returns the natural log of a real expression", 35, 1},
    {"log10", "Calculates log base 10", 35, 1},
    {"log2", "Calculates log base 2", 35, 1},
    {"exp", "Returns the exponential of X", 35, 1},
    {"int", "Returns the integer part of a real number", 35, 1},
    {"round", "Returns the value of X rounded to the nearest whole number", 35, 1},
    {"frac", "Returns the fractional part of a real number", 35, 1},
    {"sign", "Indicates whether a numeric value is positive, negative, or zero", 35, 1},
    {"sinh", "Returns the hyperbolic sine of an angle", 35, 1},
    {"cosh", "Calculates the hyperbolic cosine of an angle", 35, 1},
    {"tanh", "Returns the hyperbolic tangent of X", 35, 1},
    {"coth", "Calculates the hyperbolic cotangent of an angle", 35, 1},
    {"arcsinh", "Calculates the inverse hyperbolic sine of a given number", 35, 1},
    {"arccosh", "Calculates the inverse hyperbolic cosine of a given number", 35, 1},
    {"arctanh", "Calculates the inverse hyperbolic tangent of a given number", 35, 1},
    {"arccoth", "Calculates the inverse hyperbolic cotangent of a given number", 35, 1},
    {"random", "random(x)=rnd*x, rnd is a random value, 0<=rnd<1", 35, 1},
    {"^", "Raising to power", 30, 2},
    {"*", "Multiplication", 25, 2},
    {"/", "Division", 25, 2},
    {"+", "Addition", 20, 2},
    {"-", "Subtration", 20, 2},
    {">=", ">=", 15, 2},
    {"<=", "<=", 15, 2},
    {"<>", "<>", 15, 2},
    {"=", "=", 15, 2},
    {"<", "<", 15, 2},
    {">", ">", 15, 2},
    {"not", "not", 10, 1},
    {"and", "and", 5, 2},
    {"or", "or", 5, 2},
    {"xor", "xor", 5, 2},
};

} // namespace

TOperatorLib::TOperatorLib() {
    Items.reserve(std::size(Entries));
    for (const TEntry& e : Entries) {
        Items.emplace_back(e.Name, e.Name, e.Description, e.Priority, e.OperandCount);
    }
}

const TOperatorObj* TOperatorLib::OperatorAt(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return &Items[static_cast<std::size_t>(index)];
}

int TOperatorLib::IndexOf(std::string_view name) const {
    for (std::size_t i = 0; i < Items.size(); ++i) {
        if (Items[i].Name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TOperatorLib::PriorityOf(std::string_view name) const {
    const int i = IndexOf(name);
    return i < 0 ? -1 : Items[static_cast<std::size_t>(i)].Priority;
}

int TOperatorLib::OperandCountOf(std::string_view name) const {
    const int i = IndexOf(name);
    return i < 0 ? 0 : Items[static_cast<std::size_t>(i)].OperandCount;
}

int TOperatorLib::LongestPrefixMatch(std::string_view text) const {
    int best = -1;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        const std::string& name = Items[i].Name;
        // Strictly longer only: on equal length the earlier entry stays.
        if (name.size() > bestLength && text.starts_with(name)) {
            best = static_cast<int>(i);
            bestLength = name.size();
        }
    }
    return best;
}

int TOperatorLib::ComparePriority(std::string_view a, std::string_view b) const {
    const int pa = PriorityOf(a);
    const int pb = PriorityOf(b);
    return pa > pb ? 1 : (pa == pb ? 0 : -1);
}

} // namespace curvana
