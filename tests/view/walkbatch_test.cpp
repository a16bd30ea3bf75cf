// A walk evaluated ahead in blocks must hand the plot exactly what its own loop would compute,
// and leave the free variable where that loop leaves it.
#include "view/walkbatch.h"

#include "expr/operatorlib.h"
#include "expr/varmemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace curvana {
namespace {

struct TSample {
    double Value;
    std::vector<std::uint8_t> Ok;
    std::vector<double> Results;
    bool operator==(const TSample& o) const {
        return std::memcmp(&Value, &o.Value, sizeof Value) == 0 && Ok == o.Ok &&
               std::memcmp(Results.data(), o.Results.data(), Results.size() * sizeof(double)) == 0;
    }
};

struct TRun {
    std::vector<TSample> Samples;
    double VariableAfter;
};

struct TLists {
    TOperatorLib Library;
    TVarMemory Variables;
    TVarMemory Constants;
    TLists() {
        AddPlotVariables(Variables);
        AddPlotConstants(Constants);
    }
};

struct TCase {
    std::vector<const char*> Expressions;
    double First;
    double Step;
    std::int64_t Cap;
    double End;
    std::size_t StopAfter; // as when the work budget runs out; 0 for never
};

// The plot loop: evaluate while within, then step, set the variable, test again.
TRun Loop(const TCase& c) {
    TLists l;
    std::vector<std::unique_ptr<TExpCal>> calculators;
    for (const char* e : c.Expressions)
        calculators.push_back(std::make_unique<TExpCal>(e, l.Library, l.Variables, l.Constants));
    TVarItem* t = l.Variables.At(l.Variables.IndexOf("t"));
    TRun run;
    t->Value = c.First;
    for (TEndWalk w(c.First, c.Step, c.End, c.Cap); w.Within();) {
        TSample s{w.Value(), {}, {}};
        for (auto& calculator : calculators) {
            s.Ok.push_back(calculator->Evaluate() ? 1 : 0);
            s.Results.push_back(calculator->Value);
        }
        run.Samples.push_back(s);
        if (!w.Next() || run.Samples.size() == c.StopAfter)
            break;
        t->Value = w.Value();
    }
    run.VariableAfter = t->Value;
    return run;
}

TRun Batched(const TCase& c) {
    TLists l;
    std::vector<std::unique_ptr<TExpCal>> calculators;
    std::vector<TExpCal*> pointers;
    for (const char* e : c.Expressions) {
        calculators.push_back(std::make_unique<TExpCal>(e, l.Library, l.Variables, l.Constants));
        pointers.push_back(calculators.back().get());
    }
    TVarItem* t = l.Variables.At(l.Variables.IndexOf("t"));
    TRun run;
    t->Value = c.First;
    TWalkBatch walk(TEndWalk(c.First, c.Step, c.End, c.Cap), *t, pointers);
    while (walk.Next()) {
        TSample s{walk.Value(), {}, {}};
        for (std::size_t k = 0; k < pointers.size(); ++k) {
            s.Ok.push_back(walk.Ok(k) ? 1 : 0);
            s.Results.push_back(walk.Result(k));
        }
        run.Samples.push_back(s);
        if (run.Samples.size() == c.StopAfter) {
            walk.Stop();
            break;
        }
    }
    run.VariableAfter = t->Value;
    return run;
}

std::uint32_t Tick = 0;

TEST(WalkBatch, SameSamplesAndVariableAsThePlotLoop) {
    SetRandomCounter([] { return Tick += 0x9E3779B9u; });
    const TCase cases[] = {
        {{"1/t", "ln(t)*sin(3t)"}, -5, 0.013, 100000, 3, 0}, // a last sample at the end
        {{"t*3"}, 0, 1, 100000, 255.5, 0},                   // the end sample opens a block
        {{"t*3"}, 0, 1, 100000, 255, 0},                     // the sums meet the end
        {{"t^2-1"}, -1, 0.25, 7, 100, 0},                    // the cap ends it
        {{"sqrt(t)"}, -2, 0.001, 100000, 2, 1000},           // stopped early
        {{"tan(t)"}, 4, 0.1, 100, 3, 0},                     // nothing within
        {{"random(100)+t", "t*2"}, 0, 0.5, 100000, 300, 0},  // random: one at a time
        {{"random(100)+t"}, 0, 0.5, 100000, 300, 77},
        {{"t"}, 0, 1e-320, 100000, 1, 0}, // a step too small to move
    };
    for (const TCase& c : cases) {
        Tick = 0;
        const TRun expected = Loop(c);
        Tick = 0;
        const TRun got = Batched(c);
        ASSERT_EQ(got.Samples.size(), expected.Samples.size()) << c.Expressions[0];
        for (std::size_t i = 0; i < got.Samples.size(); ++i)
            ASSERT_TRUE(got.Samples[i] == expected.Samples[i]) << c.Expressions[0] << " #" << i;
        EXPECT_EQ(got.VariableAfter, expected.VariableAfter) << c.Expressions[0];
    }
    SetRandomCounter(nullptr);
}

} // namespace
} // namespace curvana
