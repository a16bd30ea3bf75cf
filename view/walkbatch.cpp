#include "view/walkbatch.h"

#include <algorithm>
#include <utility>

namespace curvana {

namespace {

constexpr std::size_t BlockValues = 256;

} // namespace

TWalkBatch::TWalkBatch(TEndWalk walk, TVarItem& variable, std::vector<TExpCal*> calculators)
    : FWalk(walk), FVariable(variable), FCalculators(std::move(calculators)),
      FResults(FCalculators.size()), FOk(FCalculators.size()) {
    const bool repeatable = std::all_of(FCalculators.begin(), FCalculators.end(),
                                        [](const TExpCal* c) { return c->Repeatable(); });
    FBlock = repeatable ? BlockValues : 1;
    FLastSet = FWalk.Value();
}

bool TWalkBatch::Next() {
    if (FStarted && ++FAt < FValues.size())
        return true;
    if (FEnded) {
        FVariable.Value = FLastSet;
        return false;
    }
    Fill();
    FAt = 0;
    if (FValues.empty()) {
        FVariable.Value = FLastSet;
        return false;
    }
    return true;
}

bool TWalkBatch::Stop() {
    FVariable.Value = Value();
    if (FAt + 1 < FValues.size())
        return true;
    if (FEnded)
        return false;
    TEndWalk rest = FWalk;
    return rest.Next() && rest.Within();
}

void TWalkBatch::Fill() {
    FValues.clear();
    while (FValues.size() < FBlock) {
        if (FStarted) {
            if (!FWalk.Next()) {
                FEnded = true;
                break;
            }
            FLastSet = FWalk.Value();
        }
        FStarted = true;
        if (!FWalk.Within()) {
            FEnded = true;
            break;
        }
        FValues.push_back(FWalk.Value());
    }
    if (FValues.empty())
        return;
    const TBatchVariable input[] = {{&FVariable, FValues.data()}};
    for (std::size_t c = 0; c < FCalculators.size(); ++c) {
        FResults[c].resize(FValues.size());
        FOk[c].resize(FValues.size());
        if (FBlock == 1) {
            // One value: every calculator in turn, as the loop evaluates them.
            FVariable.Value = FValues[0];
            FOk[c][0] = FCalculators[c]->Evaluate() ? 1 : 0;
            FResults[c][0] = FCalculators[c]->Value;
        } else {
            FCalculators[c]->EvaluateBatch(input, FValues.size(), FResults[c].data(),
                                           FOk[c].data());
        }
    }
}

} // namespace curvana
