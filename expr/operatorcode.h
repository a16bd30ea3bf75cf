#pragma once

#include <cstdint>
#include <string_view>

namespace curvana {

// What the evaluator computes for an instruction's operator name, decided once at compile time
// so that an evaluation compares no names.
enum class TOperatorCode : std::uint8_t {
    Evaluate,
    Sin,
    Cos,
    Neg,
    Pos,
    Tan,
    Cot,
    ArcSin,
    ArcCos,
    ArcTan,
    ArcCot,
    Abs,
    Sqrt,
    Sqr,
    Ln,
    Log10,
    Log2,
    Exp,
    Int,
    Round,
    Frac,
    Sign,
    Sinh,
    Cosh,
    Tanh,
    Coth,
    ArcSinh,
    ArcCosh,
    ArcTanh,
    ArcCoth,
    Random,
    Power,
    Multiply,
    Divide,
    Add,
    Subtract,
    GreaterEqual,
    LessEqual,
    NotEqual,
    Equal,
    Less,
    Greater,
    Not,
    And,
    Or,
    Xor,
    Unknown,        // a name no rule computes: the instruction fails
    PowerByInteger, // "^" whose exponent is a fixed whole number, chosen when compiling
};

TOperatorCode OperatorCodeOf(std::string_view name);

// Computes one operator in the evaluator's rules; false when the operation fails (a domain
// error or a floating-point fault, including a result that does not fit a double).
bool ComputeOperator(TOperatorCode code, double a, double b, double& result);

// The counter that "random" reseeds from before every use. Tests replace it to check the
// generator; nullptr restores the high-resolution clock.
using TRandomCounter = std::uint32_t (*)();
void SetRandomCounter(TRandomCounter counter);

} // namespace curvana
