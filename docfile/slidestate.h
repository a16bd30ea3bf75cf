#pragma once

#include "docfile/documentloader.h"
#include "expr/operatorlib.h"
#include "expr/varmemory.h"

#include <memory>
#include <vector>

namespace curvana {

// What a slide is read into and drawn from away from the slide window (export, check,
// benchmarks): the view, the graph list and the labels that documents are read into, and the
// names its expressions may use.
struct TSlideState {
    TSlideState();

    TCoordinate View;
    std::unique_ptr<TMemory> GraphList = std::make_unique<TMemory>();
    std::vector<TAddLabelData> Labels;
    TOperatorLib OperatorLib;
    TVarMemory Variables;
    TVarMemory Constants;

    TDocumentTargets Targets() { return {View, GraphList, Labels}; }
    void Redraw() { View.Redraw(GraphList.get(), OperatorLib, Variables, Constants); }
};

} // namespace curvana
