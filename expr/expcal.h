#pragma once

#include "expr/expfactorlist.h"
#include "expr/operatorcode.h"
#include "expr/operatorlib.h"
#include "expr/varmemory.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace curvana {

// A variable that takes one value per sample of a batch evaluation.
struct TBatchVariable {
    TVarItem* Item;
    const double* Values;
};

// Told what a compilation made of the expression text, for tools that explain expressions to
// their authors: every character the scan drops, then every token after the rewriting, in
// order, with the byte offset where its text begins (Inserted for the "*" and "0" that the
// rewriting adds). Compiling with an observer gives the same calculator as without.
class TExpCalObserver {
public:
    static constexpr std::size_t Inserted = static_cast<std::size_t>(-1);
    virtual ~TExpCalObserver() = default;
    virtual void Dropped(std::size_t offset) = 0;
    virtual void Token(std::size_t offset, const TExpFactor& token) = 0;
};

// The expression calculator: compiles one expression text at construction into three-address
// instructions whose intermediate results are named "TempVariable1" .. "TempVariablen", then
// evaluates them as often as asked with the current values of the variable list.
//
// The three lists must outlive the calculator. The variable list is read (and, while an
// evaluation runs, extended by the temporaries) at every evaluation; constants are copied when
// compiling. Evaluations must not interleave: every calculator numbers its temporaries from 1.
class TExpCal {
public:
    // Throws EOverflow ("Floating point overflow") for a number literal beyond the double range;
    // every other input compiles, possibly with Compiled false.
    TExpCal(std::string_view expression, const TOperatorLib& operatorLib, TVarMemory& variables,
            const TVarMemory& constants, TExpCalObserver* observer = nullptr);
    TExpCal(const TExpCal&) = delete;
    TExpCal& operator=(const TExpCal&) = delete;

    // Runs the instructions; true on success. Value holds the result, or 0 on failure. A
    // calculator that did not compile, or compiled to no instructions, always fails.
    bool Evaluate();

    // The same result as Evaluate, computed step by step through the names in the variable list.
    // Evaluate uses it when a caller variable is named like one of the temporaries.
    bool EvaluateByNames();

    // Evaluates count samples with the results of as many Evaluate calls in order: before
    // sample i every listed variable takes its Values[i]; values[i] and ok[i] receive Value
    // and the success. Afterwards the variables, Value and the instructions are as the last
    // sample leaves them. Computed instruction by instruction over blocks of samples, except
    // for expressions that draw random numbers, which run one sample at a time.
    void EvaluateBatch(std::span<const TBatchVariable> variables, std::size_t count, double* values,
                       std::uint8_t* ok);

    // Many small batches of the same variables, planned once. PrepareLanes names the variables
    // and the most samples one batch holds; false when the expression cannot run in lanes.
    // RunLanes then evaluates count samples read from the variables' Values arrays as they are
    // at the call (the arrays stay where they were), with the results of as many Evaluate calls
    // but leaving the variables, Value and the instructions alone. It returns false, computing
    // nothing, when the variable list changed since PrepareLanes or a larger EvaluateBatch moved
    // the calculator's own lanes: evaluate one at a time then.
    bool PrepareLanes(std::span<const TBatchVariable> variables, std::size_t lanes);
    bool RunLanes(std::size_t count, double* values, std::uint8_t* ok);

    // False when the same variable values may give another result (the expression draws
    // random numbers), so evaluations may not be reordered or repeated.
    bool Repeatable() const;

    bool Compiled = false; // no structural error was found
    double Value = 0;      // the result of the last evaluation

    const std::string& Expression() const { return ExpressionText; }
    const TOperatorLib& OperatorLib() const { return *Library; }
    TVarMemory& Variables() const { return *VariableList; }
    const TVarMemory& Constants() const { return *ConstantList; }
    // The tokens after scanning and rewriting.
    const TExpFactorList& Tokens() const { return TokenList; }
    // Empty after construction: the work lists are freed once the instructions exist.
    const TExpFactorList& OperatorStack() const { return OperatorStackList; }
    const TExpFactorList& Postfix() const { return PostfixList; }
    // Four factors per instruction: result, operand 1, operand 2, operator.
    const TExpFactorList& Instructions() const { return InstructionList; }
    int InstructionCount() const { return InstructionList.Count() / 4; }
    // Instructions that call the mathematics library (trigonometric, hyperbolic, logarithmic and
    // exponential functions, powers other than by a fixed whole number, random numbers), counted
    // by their cost in calls of the ordinary kind: they take longer than arithmetic. The
    // hyperbolic functions and their inverses count LongCallCost: on part of their range they
    // take two exponentials or a logarithm in extended precision.
    int LibraryCallCost() const { return LibraryCallCosts; }
    static constexpr int LongCallCost = 12;

private:
    struct TWorkToken;
    struct TStep {
        TOperatorCode Code;
        std::int32_t Exponent; // for PowerByInteger
        const double* A;
        const double* B;
        double* Result;
        std::int32_t ATemporary = -1; // the instruction whose result A reads, else -1
        std::int32_t BTemporary = -1;
        bool AFixed = false; // A reads a number or a constant
        bool BFixed = false;
        // Its operands never change and it succeeded once when the list was resolved, so its
        // result stays in place and the evaluation skips it. Never for "random".
        bool Folded = false;
    };
    // An operand slot that names a variable; resolved to an address when the list changes.
    struct TVariableSlot {
        std::size_t Step;
        bool Second;
        int Temporary; // 0-based instruction whose result it names, or -1 for a caller name
    };

    void Scan(std::vector<TWorkToken>& tokens, TExpCalObserver* observer) const;
    void RewriteTokens(std::vector<TWorkToken>& tokens) const;
    void ToPostfix(std::vector<TWorkToken>& tokens, std::vector<TWorkToken>& postfix) const;
    void BuildInstructions(std::vector<TWorkToken>& postfix);
    void Prepare();
    void Resolve();
    void Fold();
    bool Run();
    // Where a batch reads an operand: the caller's samples, the lanes of an earlier step, or
    // one fixed value for all lanes.
    struct TLaneSource {
        enum TKind : std::uint8_t { Sample, Lane, Fixed };
        const double* Values;
        TKind Kind;
    };
    struct TBatchPlan {
        std::size_t Block = 0;
        std::vector<TLaneSource> Operands; // two per program step, then the result
    };
    // Resolves the instructions against the list as it is now; false when they cannot run over
    // lanes (not compiled, random numbers, names in the way of the temporaries).
    bool ResolveForLanes();
    TBatchPlan PlanBatch(std::span<const TBatchVariable> variables);
    void RunBatch(const TBatchPlan& plan, std::size_t first, std::size_t count, double* values,
                  std::uint8_t* ok);

    const TOperatorLib* Library;
    TVarMemory* VariableList;
    const TVarMemory* ConstantList;
    std::string ExpressionText;
    TExpFactorList TokenList;
    TExpFactorList OperatorStackList;
    TExpFactorList PostfixList;
    TExpFactorList InstructionList;

    // The instructions with every operand as an address, so that an evaluation looks up no
    // names and allocates nothing.
    std::vector<TStep> Steps;
    std::vector<TStep> Program;     // the steps that are not folded; room for all is kept
    std::vector<double> BatchLanes; // one block of lanes per program step
    // Of PrepareLanes: valid while the list's stamp is LanesStamp and the lanes stay in place.
    TBatchPlan LanesPlan;
    std::uint64_t LanesStamp = 0;
    const double* LanesData = nullptr;
    bool LanesPrepared = false;
    std::vector<TVariableSlot> VariableSlots;
    std::uint64_t ResolvedStamp = 0;
    std::uint64_t FastStamp = 0; // ResolvedStamp when nothing stands in the way of Run
    bool Resolved = false;
    bool ByNames = false; // a caller variable is named like a temporary
    int LibraryCallCosts = 0;
    bool ZeroResults = false; // some slot reads a temporary before its instruction writes it
};

} // namespace curvana
