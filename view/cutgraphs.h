#pragma once

#include "model/memory.h"

#include <string>
#include <vector>

namespace curvana {

// What the show, the export and the check say of a picture that a drawing limit cut
// (TCoordinate::CutGraphs): "not drawn in full (too much to draw for one picture): graph 3
// "Y(x)=sin(x)", graph 4 "..."". Graphs are numbered from 1 as in the document; the first three
// are named, the rest counted, and long captions shortened, so the text stays one short line.
std::string CutGraphsMessage(const TMemory& graphs, const std::vector<int>& cut);

// One graph as the message names it: graph 3 "Y(x)=sin(x)".
std::string GraphName(const TMemory& graphs, int index);

} // namespace curvana
