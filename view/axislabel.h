#pragma once

namespace curvana {

// The number an axis label shows for a value of a walk from `first` by repeated addition of
// `step`: the sum rounded to the precision the walk is written in, so that the rounding noise
// of the sums (0.30000000000000004, -1.4E-16 for 0) never reaches the text. The precision is
// six digits below the step's leading digit, or finer where `first` or `step` is written with
// more digits (down to nine below). A sum within half that precision of 0 gives 0. Values the
// rounding cannot represent (no number, beyond the range where it means anything) come back
// unchanged.
double AxisLabelValue(double sum, double first, double step);

} // namespace curvana
