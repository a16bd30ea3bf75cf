#include "expr/expcal.h"

#include "expr/operatorcompute.h"

#include <algorithm>
#include <array>
#include <utility>

namespace curvana {

namespace {

using operatorcompute::Compute;

// Samples per block: enough to pay for one dispatch per instruction many times over, few
// enough that the lanes of all instructions stay in the cache.
constexpr std::size_t BlockLanes = 256;
constexpr std::size_t LaneBudget = 1 << 16;
constexpr std::size_t MinimumBlockLanes = 16;

// An operand over the lanes: lane i reads Values[i * Stride] (stride 0 for a fixed value).
struct TLaneOperand {
    const double* Values;
    std::size_t Stride;
};

// One instruction over n lanes; a lane that failed before is left alone, a lane that fails now
// gets 0 and its flag cleared.
template <TOperatorCode Code>
void RunLanes(std::int32_t exponent, TLaneOperand a, TLaneOperand b, double* out, std::uint8_t* ok,
              std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (ok[i] != 0) {
            double r = 0;
            if (Compute(Code, a.Values + i * a.Stride, b.Values + i * b.Stride, exponent, r)) {
                out[i] = r;
            } else {
                out[i] = 0;
                ok[i] = 0;
            }
        }
    }
}

using TLanesFunction = void (*)(std::int32_t, TLaneOperand, TLaneOperand, double*, std::uint8_t*,
                                std::size_t);

template <std::size_t... Codes> constexpr auto MakeLanesTable(std::index_sequence<Codes...>) {
    return std::array<TLanesFunction, sizeof...(Codes)>{
        &RunLanes<static_cast<TOperatorCode>(Codes)>...};
}

// One loop per operator, so that the operator is chosen once per block, not once per sample.
constexpr auto LanesTable = MakeLanesTable(
    std::make_index_sequence<static_cast<std::size_t>(TOperatorCode::PowerByInteger) + 1>());

} // namespace

void TExpCal::EvaluateBatch(std::span<const TBatchVariable> variables, std::size_t count,
                            double* values, std::uint8_t* ok) {
    if (count == 0) {
        return;
    }
    auto setSample = [&](std::size_t i) {
        for (const TBatchVariable& v : variables) {
            v.Item->Value = v.Values[i];
        }
    };
    const bool lanes = count > 1 && ResolveForLanes();
    if (lanes) {
        // All samples but the last in blocks; the last one as Evaluate, which leaves the
        // variables, the instructions and Value as they are after it.
        TBatchPlan plan = PlanBatch(variables);
        for (std::size_t first = 0; first + 1 < count; first += plan.Block) {
            RunBatch(plan, first, std::min(plan.Block, count - 1 - first), values, ok);
        }
    }
    for (std::size_t i = lanes ? count - 1 : 0; i < count; ++i) {
        setSample(i);
        ok[i] = Evaluate() ? 1 : 0;
        values[i] = Value;
    }
}

bool TExpCal::ResolveForLanes() {
    if (!Compiled || Steps.empty() || !Repeatable()) {
        return false;
    }
    if (!Resolved || ResolvedStamp != VariableList->Stamp()) {
        Resolve();
    }
    return !ByNames && !ZeroResults;
}

bool TExpCal::PrepareLanes(std::span<const TBatchVariable> variables, std::size_t lanes) {
    LanesPrepared = false;
    if (lanes == 0 || !ResolveForLanes()) {
        return false;
    }
    LanesPlan = PlanBatch(variables);
    if (LanesPlan.Block < lanes) {
        return false;
    }
    LanesStamp = ResolvedStamp;
    LanesData = BatchLanes.data();
    LanesPrepared = true;
    return true;
}

bool TExpCal::RunLanes(std::size_t count, double* values, std::uint8_t* ok) {
    if (!LanesPrepared || LanesStamp != VariableList->Stamp() || LanesData != BatchLanes.data() ||
        count > LanesPlan.Block) {
        return false;
    }
    RunBatch(LanesPlan, 0, count, values, ok);
    return true;
}

TExpCal::TBatchPlan TExpCal::PlanBatch(std::span<const TBatchVariable> variables) {
    TBatchPlan plan;
    plan.Block = std::clamp(LaneBudget / std::max<std::size_t>(Program.size(), 1),
                            MinimumBlockLanes, BlockLanes);
    if (BatchLanes.size() < Program.size() * plan.Block) {
        BatchLanes.resize(Program.size() * plan.Block);
    }
    // The program step of each instruction, or -1 for a folded one.
    std::vector<std::int32_t> programStep(Steps.size(), -1);
    for (std::size_t p = 0, j = 0; j < Steps.size(); ++j) {
        if (!Steps[j].Folded) {
            programStep[j] = static_cast<std::int32_t>(p++);
        }
    }
    auto source = [&](const double* address, std::int32_t temporary) -> TLaneSource {
        for (std::size_t k = 0; k < variables.size(); ++k) {
            if (address == &variables[k].Item->Value) {
                return {variables[k].Values, TLaneSource::Sample};
            }
        }
        if (temporary >= 0 && programStep[static_cast<std::size_t>(temporary)] >= 0) {
            return {BatchLanes.data() +
                        static_cast<std::size_t>(programStep[static_cast<std::size_t>(temporary)]) *
                            plan.Block,
                    TLaneSource::Lane};
        }
        return {address, TLaneSource::Fixed};
    };
    plan.Operands.reserve(2 * Program.size() + 1);
    for (const TStep& step : Program) {
        plan.Operands.push_back(source(step.A, step.ATemporary));
        plan.Operands.push_back(source(step.B, step.BTemporary));
    }
    plan.Operands.push_back(
        source(Steps.back().Result, static_cast<std::int32_t>(Steps.size()) - 1));
    return plan;
}

void TExpCal::RunBatch(const TBatchPlan& plan, std::size_t first, std::size_t count, double* values,
                       std::uint8_t* ok) {
    auto lanes = [&](const TLaneSource& s) -> TLaneOperand {
        switch (s.Kind) {
        case TLaneSource::Sample:
            return {s.Values + first, 1};
        case TLaneSource::Lane:
            return {s.Values, 1};
        default:
            return {s.Values, 0};
        }
    };
    std::uint8_t* laneOk = ok + first;
    std::fill(laneOk, laneOk + count, std::uint8_t{1});
    for (std::size_t p = 0; p < Program.size(); ++p) {
        const TStep& step = Program[p];
        LanesTable[static_cast<std::size_t>(step.Code)](
            step.Exponent, lanes(plan.Operands[2 * p]), lanes(plan.Operands[2 * p + 1]),
            BatchLanes.data() + p * plan.Block, laneOk, count);
    }
    const TLaneOperand result = lanes(plan.Operands.back());
    for (std::size_t i = 0; i < count; ++i) {
        values[first + i] = laneOk[i] != 0 ? result.Values[i * result.Stride] : 0.0;
    }
}

} // namespace curvana
