#pragma once

#include "model/memory.h"
#include "view/coordinate.h"

#include <string>
#include <vector>

namespace curvana {

// What the show and the export say of a picture that a drawing limit cut (the view's CutMarks,
// CutTexts and CutGraphs of its last redraw of `graphs`): "not drawn in full (too much to draw
// for one picture): the x-axis marks, the legend, graph 3 "Y(x)=sin(x)", graph 4 "..."". The cut
// parts of the coordinate system come first, all named; graphs are numbered from 1 as in the
// document, the first three named, the rest counted, and long captions shortened, so the text
// stays one short line.
std::string CutGraphsMessage(const TMemory& graphs, const TCoordinate& view);

// One graph as the message names it: graph 3 "Y(x)=sin(x)".
std::string GraphName(const TMemory& graphs, int index);

} // namespace curvana
