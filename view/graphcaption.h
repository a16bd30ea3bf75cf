#pragma once

#include "model/functionobj.h"
#include "model/memory.h"
#include "model/tableobj.h"

#include <string>

namespace curvana {

// A relation whose AddExp, trimmed, is exactly "=0" is drawn as the curve f(x, y) = 0; any
// other AddExp completes a condition whose region is filled.
bool IsImplicitCurve(const TFunctionObj& F);

// The line that names a graph in the legend (and in menus that list graphs):
// "Y(x)=sin(x)", "X(y)=...", "R(a)=...", "X(t)=... ; Y(t)=...", "f(x,y)=x^2+y^2-1<0",
// "Table: 12 Items". Empty for a FunctionObjType outside 0..4, which no plot draws.
std::string GraphCaption(const TFunctionObj& F);
std::string GraphCaption(const TTableObj& T);

// Whether the graph takes a line in the legend, and room for it in the margin: it is shown and
// has a caption (a function of an unknown kind has none, and no plot draws it).
bool TakesLegendLine(const TMemory& graphs, int index);

} // namespace curvana
