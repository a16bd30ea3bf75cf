#pragma once

#include "view/coordinate.h"
#include "view/recordingcanvas.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace curvana {

constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;

// A default view of 673 x 433 pixels on a recording canvas, with the lists a slide window
// keeps: variables x, y, t, a and the constant PI. Plot area x 30..643, y 30..403; the world
// origin maps to (336, 216).
class DrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetScreenPixelsPerInch(96);
        view.Canvas = &canvas;
        view.Width = 673;
        view.Height = 433;
        AddPlotVariables(variables);
        AddPlotConstants(constants);
    }

    TFunctionObj& AddFunction(TEnum8 type, const std::string& exp, const std::string& addExp = "") {
        TFunctionObj f;
        f.FunctionObjType = type;
        f.Exp = exp;
        f.AddExp = addExp;
        f.ShowEnabled = 1;
        return graphs.AddFunctionCopy(f);
    }

    TTableObj& AddTable(std::initializer_list<TWorldPoint> points, TFlag smooth = 0) {
        TTableObj t;
        t.ShowEnabled = 1;
        t.Smooth = smooth;
        for (const TWorldPoint& p : points)
            t.AddPoint(p.X, p.Y);
        return graphs.AddTableCopy(t);
    }

    void Plot(TFunctionObj& f) { view.PlotFunction(f, library, variables, constants); }
    void Redraw() { view.Redraw(&graphs, library, variables, constants); }

    std::size_t Count(TCanvasOpKind kind) const { return canvas.Count(kind); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::TextOut))
            texts.push_back(op->Text);
        return texts;
    }

    const TCanvasOp* TextOp(const std::string& text) const {
        for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::TextOut))
            if (op->Text == text)
                return op;
        return nullptr;
    }

    // Start and end of every drawn line, in order.
    std::vector<std::pair<TPoint, TPoint>> Lines() const {
        std::vector<std::pair<TPoint, TPoint>> lines;
        for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::LineTo))
            lines.emplace_back(op->Points[0], op->Points[1]);
        return lines;
    }

    TRecordingCanvas canvas;
    TCoordinate view;
    TMemory graphs;
    TOperatorLib library;
    TVarMemory variables;
    TVarMemory constants;
};

} // namespace curvana
