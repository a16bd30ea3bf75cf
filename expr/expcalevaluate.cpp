#include "expr/expcal.h"

#include "expr/operatorcompute.h"

namespace curvana {

using operatorcompute::Compute;

namespace {

bool ReadsSecondOperand(TOperatorCode code) {
    switch (code) {
    case TOperatorCode::Power:
    case TOperatorCode::Multiply:
    case TOperatorCode::Divide:
    case TOperatorCode::Add:
    case TOperatorCode::Subtract:
    case TOperatorCode::GreaterEqual:
    case TOperatorCode::LessEqual:
    case TOperatorCode::NotEqual:
    case TOperatorCode::Equal:
    case TOperatorCode::Less:
    case TOperatorCode::Greater:
    case TOperatorCode::And:
    case TOperatorCode::Or:
    case TOperatorCode::Xor:
        return true;
    default:
        return false;
    }
}

} // namespace

void TExpCal::Fold() {
    Program.clear();
    for (std::size_t j = 0; j < Steps.size(); ++j) {
        TStep& step = Steps[j];
        // Only earlier results can be fixed: with a later one (ZeroResults) nothing folds.
        auto fixed = [&](bool number, std::int32_t temporary) {
            return number || (temporary >= 0 && static_cast<std::size_t>(temporary) < j &&
                              Steps[static_cast<std::size_t>(temporary)].Folded);
        };
        double r = 0;
        step.Folded = !ZeroResults && step.Code != TOperatorCode::Random &&
                      fixed(step.AFixed, step.ATemporary) &&
                      (!ReadsSecondOperand(step.Code) || fixed(step.BFixed, step.BTemporary)) &&
                      Compute(step.Code, step.A, step.B, step.Exponent, r);
        if (step.Folded) {
            *step.Result = r;
        } else {
            Program.push_back(step);
        }
    }
}

bool TExpCal::Evaluate() {
    // The usual case costs one test: compiled, resolved against the list as it is now, and no
    // caller name in the way of the temporaries.
    if (Compiled && FastStamp == VariableList->Stamp()) {
        return Run();
    }
    if (!Compiled || Steps.empty()) {
        Value = 0;
        return false;
    }
    if (!Resolved || ResolvedStamp != VariableList->Stamp()) {
        Resolve();
    }
    if (ByNames) {
        return EvaluateByNames();
    }
    if (ZeroResults) {
        for (const TStep& step : Program) {
            *step.Result = 0;
        }
    } else {
        FastStamp = ResolvedStamp;
    }
    return Run();
}

bool TExpCal::Run() {
    for (const TStep& step : Program) {
        if (!Compute(step.Code, step.A, step.B, step.Exponent, *step.Result)) {
            *step.Result = 0;
            Value = 0;
            return false;
        }
    }
    Value = *Steps.back().Result;
    return true;
}

bool TExpCal::EvaluateByNames() {
    const int count = InstructionCount();
    if (!Compiled || count == 0) {
        Value = 0;
        return false;
    }
    auto slot = [this](int instruction, int index) -> TExpFactor& {
        return *InstructionList.At(4 * instruction + index);
    };
    for (int k = 0; k < count; ++k) {
        VariableList->AddVariable(slot(k, 0).Name, 0);
    }
    auto valueOf = [this](const TExpFactor& f) {
        if (f.Kind == fkNumber || f.Kind == fkConstant) {
            return f.Value;
        }
        return f.Kind == fkVariable ? VariableList->ValueOf(f.Name) : 0.0;
    };
    bool ok = true;
    for (int k = 0; k < count && ok; ++k) {
        double r = 0;
        ok = ComputeOperator(OperatorCodeOf(slot(k, 3).Name), valueOf(slot(k, 1)),
                             valueOf(slot(k, 2)), r);
        slot(k, 0).Value = r;
        VariableList->SetValue(slot(k, 0).Name, r);
    }
    for (int k = 0; k < count; ++k) {
        VariableList->RemoveVariable(slot(k, 0).Name);
    }
    Value = ok ? slot(count - 1, 0).Value : 0;
    return ok;
}

} // namespace curvana
