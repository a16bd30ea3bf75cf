// A document read from a buffer into a fresh view and graph list, as the slide window reads a
// slide, then drawn once. The canvas only counts its calls and measures text like the recording
// canvas, so the run is the reader's and the view's own work.

#include "common/decimalseparator.h"
#include "common/errors.h"
#include "docfile/addlabeldata.h"
#include "docfile/documentloader.h"
#include "expr/operatorlib.h"
#include "expr/varmemory.h"
#include "view/canvas.h"
#include "view/coordinate.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace curvana;

namespace {

class TCountingCanvas : public TCanvas {
public:
    std::uint64_t Operations = 0;

    // A font height from a document can be any 32-bit value, so measure in 64 bits and clamp.
    std::int32_t TextWidth(const std::string& text) override {
        return Clamp(static_cast<std::int64_t>(text.size()) * (FontHeight() / 2));
    }
    std::int32_t TextHeight(const std::string&) override { return Clamp(FontHeight() + 2); }

protected:
    void DoMoveTo(TPoint) override { ++Operations; }
    void DoLineTo(TPoint, TPoint) override { ++Operations; }
    void DoRectangle(const TRect&) override { ++Operations; }
    void DoEllipse(const TRect&) override { ++Operations; }
    void DoPolygon(std::span<const TPoint>) override { ++Operations; }
    void DoFillRect(const TRect&) override { ++Operations; }
    void DoTextOut(TPoint, const std::string&) override { ++Operations; }
    void DoSetPixel(TPoint, TColor) override { ++Operations; }

private:
    std::int64_t FontHeight() const { return std::abs(static_cast<std::int64_t>(Font.Height)); }
    static std::int32_t Clamp(std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, INT32_MAX));
    }
};

} // namespace

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
    for (const char* name : {"x", "y", "t", "a"})
        variables.AddVariable(name, 0);
    TVarMemory constants;
    constants.AddVariable("PI", 3.141592653589793);
    try {
        view.Redraw(graphs.get(), library, variables, constants);
    } catch (const EOverflow&) {
        // The documented end of a redraw whose expression holds an overflowing number.
    }
    if (variables.Count() != 4)
        std::abort(); // the temporaries of an evaluation stayed behind
    return 0;
}
