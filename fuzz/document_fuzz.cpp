// A document read from a buffer into a fresh view and graph list, as the slide window reads a
// slide, then drawn once. The canvas only counts its calls and measures text like the recording
// canvas, so the run is the reader's and the view's own work.

#include "common/decimalseparator.h"
#include "common/errors.h"
#include "docfile/addlabeldata.h"
#include "docfile/documentloader.h"
#include "expr/operatorlib.h"
#include "expr/varmemory.h"
#include "view/coordinate.h"
#include "view/countingcanvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace curvana;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TDecimalSeparatorScope separator('.');
    TCountingCanvas canvas;
    TCoordinate view;
    view.Canvas = &canvas;
    view.Width = 240;
    view.Height = 135;
    std::unique_ptr<TMemory> graphs = std::make_unique<TMemory>();
    view.GraphList = graphs.get();
    std::vector<TAddLabelData> labels;

    try {
        LoadDocumentText(std::string(reinterpret_cast<const char*>(data), size),
                         {view, graphs, labels});
    } catch (const ECurvanaError&) {
        // A document error ends the load; what was read before it stays applied and is drawn.
    }

    TOperatorLib library;
    TVarMemory variables;
    AddPlotVariables(variables);
    TVarMemory constants;
    AddPlotConstants(constants);
    try {
        view.Redraw(graphs.get(), library, variables, constants);
    } catch (const EOverflow&) {
        // The documented end of a redraw whose expression holds an overflowing number.
    }
    if (variables.Count() != 4)
        std::abort(); // the temporaries of an evaluation stayed behind
    return 0;
}
