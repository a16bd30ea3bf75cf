#include "app/evalcommand.h"

#include "common/errors.h"
#include "common/numtext.h"
#include "expr/expcal.h"

#include <optional>
#include <ostream>
#include <string_view>

namespace curvana {

namespace {

constexpr const char* VariableNames[] = {"x", "y", "t", "a"};

bool IsVariableName(std::string_view name) {
    for (const char* v : VariableNames) {
        if (name == v) {
            return true;
        }
    }
    return false;
}

void WriteExplanation(const TExpCal& cal, std::ostream& out) {
    out << "tokens:";
    for (const TExpFactor& f : cal.Tokens()) {
        out << ' ' << f.Name;
    }
    out << '\n' << "compiled: " << (cal.Compiled ? "yes" : "no") << '\n';
    out << "instructions: " << cal.InstructionCount() << '\n';
    const TExpFactorList& list = cal.Instructions();
    for (int i = 0; i + 3 < list.Count(); i += 4) {
        out << list.At(i)->Name << ' ' << list.At(i + 1)->Name << ' ' << list.At(i + 2)->Name << ' '
            << list.At(i + 3)->Name << '\n';
    }
}

} // namespace

const char* EvalCommandHelp() {
    return "--eval EXPR [NAME=VALUE ...] [--explain]\n"
           "  Evaluates EXPR once and prints its value. NAME is one of the variables x, y, t, a\n"
           "  (0 unless given); PI is the constant pi. Numbers use the regional decimal\n"
           "  separator. --explain also prints the tokens and the instructions (result,\n"
           "  operand 1, operand 2, operator). Exit code 0 with a value, 1 when the evaluation\n"
           "  fails, 2 for an expression that raises an error or a wrong argument.\n";
}

int RunEvalCommand(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
    bool explain = false;
    std::optional<std::string> expression;
    TOperatorLib library;
    TVarMemory variables;
    TVarMemory constants;
    for (const char* name : VariableNames) {
        variables.AddVariable(name, 0);
    }
    AddPlotConstants(constants);

    for (const std::string& argument : arguments) {
        if (argument == "--explain") {
            explain = true;
            continue;
        }
        if (!expression) {
            expression = argument;
            continue;
        }
        const std::size_t equals = argument.find('=');
        if (equals == std::string::npos) {
            err << "curvana --eval: wrong argument '" << argument << "': expected NAME=VALUE\n";
            return 2;
        }
        const std::string name = argument.substr(0, equals);
        if (!IsVariableName(name)) {
            err << "curvana --eval: wrong argument '" << argument
                << "': the name must be x, y, t or a\n";
            return 2;
        }
        try {
            variables.SetValue(name, StrToFloat(std::string_view(argument).substr(equals + 1)));
        } catch (const ECurvanaError& error) {
            err << "curvana --eval: wrong argument '" << argument << "': " << error.what() << '\n';
            return 2;
        }
    }
    if (!expression) {
        err << "curvana --eval: no expression given\nUsage: curvana " << EvalCommandHelp();
        return 2;
    }

    std::optional<TExpCal> cal;
    try {
        cal.emplace(*expression, library, variables, constants);
    } catch (const ECurvanaError& error) {
        err << error.what() << '\n';
        return 2;
    }
    if (explain) {
        WriteExplanation(*cal, out);
    }
    if (!cal->Evaluate()) {
        out << "evaluation failed\n";
        return 1;
    }
    out << FloatToStr(cal->Value) << '\n';
    return 0;
}

} // namespace curvana
