#pragma once

#include "view/coordinate.h"
#include "view/segmentclip.h"

namespace curvana {

// Joins the consecutive samples of one curve walk into lines cut at the edges of the view.
//
// A sample is joined to the one before when it evaluated to finite numbers and did not jump from
// the previous point by the gap limit or more in x or y (the first sample is never parted).
// Two consecutive samples inside the view are joined by a line when both are joined to their
// predecessors; a sample inside that is parted breaks the curve on both of its sides, as a
// failed one does. Where a joined sample lies outside the view, or follows one that evaluated
// outside, the part of their segment inside the view is drawn: a curve runs on to the edge of
// the plot area and comes back from it, but never across a failure or a jump such as the pole
// of tan.
class TCurveTracer {
public:
    // gapX, gapY: the gap limits, the graph's MaxGap times the step of each visible range.
    TCurveTracer(TCoordinate& view, long double gapX, long double gapY);

    // evaluated: whether the sample gave a point (x, y). previous: the point the gap test
    // compares with, which is not always the previous sample's own point.
    void Sample(bool evaluated, double x, double y, TWorldPoint previous);

private:
    bool InView(TWorldPoint p) const;
    // The point at t along a..b, kept on the view's edges against rounding.
    TWorldPoint Along(TWorldPoint a, TWorldPoint b, long double t) const;
    // Draws the part of last..point inside the view; one of the two lies outside it.
    void DrawCut(TWorldPoint point, bool pointInside);

    TCoordinate& FView;
    long double FGapX;
    long double FGapY;
    TClipBox FBox;
    // False for an empty range or bounds that are no numbers: then nothing is in the view.
    bool FBoxValid;
    bool FHasPrevious = false;
    // The last sample was inside and joined: the pen is at it.
    bool FLastInside = false;
    // A line may start at the last sample: it was inside and joined, or evaluated outside.
    bool FLastAnchor = false;
    TWorldPoint FLast;
};

} // namespace curvana
