#pragma once

#include <string>

namespace curvana {

// One entry of the expression vocabulary: a function name or an operator sign.
struct TOperatorObj {
    TOperatorObj(std::string name, std::string symbol, std::string description, int priority,
                 int operandCount)
        : Name(std::move(name)), Symbol(std::move(symbol)), Description(std::move(description)),
          Priority(priority), OperandCount(operandCount) {}

    std::string Name;        // matched against expression text, looked up by the evaluator
    std::string Symbol;      // the text a scanned token of this entry carries
    std::string Description; // informational only
    int Priority;            // higher binds tighter
    int OperandCount;        // 1 or 2
};

} // namespace curvana
