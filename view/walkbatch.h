#pragma once

#include "expr/expcal.h"
#include "view/walk.h"

#include <cstdint>
#include <vector>

namespace curvana {

// The samples of a curve's walk, evaluated ahead a block at a time. The values are those of the
// walk, its end sample included, as the plot loop takes them; each calculator gives at every
// value the result and the success of evaluating it there one sample at a time. Calculators
// that draw random numbers are evaluated one sample at a time, in order (all of them at one
// value before the next value), so nothing is drawn that the loop would not draw.
class TWalkBatch {
public:
    TWalkBatch(TEndWalk walk, TVarItem& variable, std::vector<TExpCal*> calculators);

    // Moves to the next value; false at the end of the walk, which leaves the variable as the
    // plot loop leaves it (at the last value it set).
    bool Next();
    double Value() const { return FValues[FAt]; }
    bool Ok(std::size_t calculator) const { return FOk[calculator][FAt] != 0; }
    double Result(std::size_t calculator) const { return FResults[calculator][FAt]; }
    // Ends the walk early after the current value, which the variable is set back to; true when
    // the walk had values left.
    bool Stop();
    // Whether the walk ended at its cap with values left before its end.
    bool Cut() const { return FWalk.Cut(); }
    // Whether the values are evaluated in batches (else one sample at a time).
    bool Batched() const { return FBlock > 1; }

private:
    void Fill();

    TEndWalk FWalk;
    TVarItem& FVariable;
    std::vector<TExpCal*> FCalculators;
    std::size_t FBlock;
    bool FStarted = false;
    bool FEnded = false;
    double FLastSet = 0; // the last value the plot loop would have set
    std::vector<double> FValues;
    std::vector<std::vector<double>> FResults;
    std::vector<std::vector<std::uint8_t>> FOk;
    std::size_t FAt = 0;
};

} // namespace curvana
