#pragma once

#include "common/types.h"
#include "expr/expcal.h"
#include "expr/operatorlib.h"
#include "expr/varmemory.h"
#include "model/functionobj.h"
#include "model/graphstyle.h"
#include "model/interval.h"
#include "model/memory.h"
#include "model/plotparameter.h"
#include "model/tableobj.h"
#include "view/axesarrow.h"
#include "view/brush.h"
#include "view/canvas.h"
#include "view/font.h"
#include "view/geometry.h"
#include "view/implicittracer.h"
#include "view/lastpixels.h"
#include "view/pen.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace curvana {

// Axes styles.
constexpr TEnum8 asCrossed = 0;
constexpr TEnum8 asBoxed = 1;

// A point in world coordinates.
struct TWorldPoint {
    double X = 0;
    double Y = 0;
};

// Bounds that keep an absurd document (a step far too small for its range, millions of steps)
// from freezing the window. A slide that takes up to about two seconds to draw on one core stays
// within all of them; a graph that reaches one is cut short, and the view tells which
// (TCoordinate::CutGraphs).
struct TDrawLimits {
    // Work of one whole redraw, all graphs together, in the units of TCoordinate::Work. Once it
    // is spent, the graphs stop drawing (the coordinate system is always drawn).
    std::uint64_t RedrawWork = 3'000'000'000;
    // The caps below keep walks finite and memory bounded. Each lies beyond what the work budget
    // lets one graph reach, so the budget ends a drawing first.
    // Samples of one curve walk (a y(x), x(y), parametric or polar curve): each costs at least
    // one evaluation.
    std::int64_t WalkSamples = 1'000'000'000;
    // Ticks or labels of one axis walk; lines, circles or rays of one grid.
    std::int64_t Marks = 100'000;
    // Grid points of one region plot: each costs at least one evaluation.
    std::int64_t RegionPoints = 1'000'000'000;
    // Levels of cell subdivision of one implicit curve (a pixel is reached after ~30).
    int ImplicitDepth = 60;
    // Cells of one implicit curve: final cells (each sets up to four pixels) and cell tests.
    // Every split that makes four cells costs five evaluations.
    std::int64_t ImplicitCells = 1'000'000'000;
    std::int64_t ImplicitTests = 1'000'000'000;
};

// The coordinate view: every setting of a document's coordinate system, the margins around the
// plot area and the world-to-pixel mapping. It is not a widget: the caller sets its size and
// the canvas it draws on (not owned), and hands it the graph list (not owned).
//
// Flags hold the value written; only 1 switches a feature on (IsOn, common/flags.h).
class TCoordinate {
public:
    // Where and how large the view draws.
    TCanvas* Canvas = nullptr;
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    // Storage of SaveCanvasState / RestoreCanvasState: one set, a save overwrites the last.
    TPen SavedPen;
    TBrush SavedBrush;
    TFont SavedFont;

    std::int32_t MarginTop = 30;
    std::int32_t MarginLeft = 30;
    std::int32_t MarginRight = 30;
    std::int32_t MarginBottom = 30;
    TInterval XInterval{1, -10, 10};
    TInterval YInterval{1, -10, 10};
    // Kept for the reader and the dialog; plotting uses each graph's own parameters.
    TPlotParameter PlotParameter;
    TEnum8 AxesStyle = asCrossed;
    TFlag EqualScaleEnabled = 0;
    TColor BackgroundColor = clWhite;
    // 0: x grows to the right; any other value: to the left.
    TEnum8 XAxesDirection = 0;
    // 1: y grows upward; any other value: downward.
    TEnum8 YAxesDirection = 1;
    TGraphStyle XAxesGraphStyle;
    TGraphStyle YAxesGraphStyle;
    TAxesArrow XArrow{1, "X"};
    TAxesArrow YArrow{1, "Y"};
    double XAxesTicksStep = 1;
    std::int32_t XAxesTicksLength = 2;
    double YAxesTicksStep = 1;
    std::int32_t YAxesTicksLength = 2;
    double XAxesLabelsStep = 1;
    std::string XAxesLabelsString;
    double YAxesLabelsStep = 1;
    std::string YAxesLabelsString;
    // 1: x labels below the axis; 0: above.
    TEnum8 XAxesLabelSide = 1;
    // Nonzero: y labels right of the axis; 0: left.
    TEnum8 YAxesLabelSide = 1;
    TFlag TitleTopEnabled = 0;
    std::string TitleTop;
    TFont TitleTopFont;
    TFlag TitleBottomEnabled = 0;
    std::string TitleBottom;
    TFont TitleBottomFont;
    TFlag TitleLeftEnabled = 0;
    std::string TitleLeft;
    TFont TitleLeftFont;
    TFlag TitleRightEnabled = 0;
    std::string TitleRight;
    TFont TitleRightFont;
    TFlag LegendEnabled = 0;
    TFlag ShowSampleEnabled = 1;
    TFlag TextColorAsGraphEnabled = 0;
    // Left end of the legend texts: 0 at x = 80, 1 at half the width, 2 at three quarters.
    TEnum8 LegendPosition = 1;
    // The graph list last handed to the view; never freed by it.
    TMemory* GraphList = nullptr;
    TFlag GridRadialEnabled = 0;
    double GridRadialStep = 1;
    TGraphStyle GridRadialGraphStyle;
    TFlag GridAngularEnabled = 0;
    // In units of pi.
    double GridAngularStep = 0.25;
    TGraphStyle GridAngularGraphStyle;
    TFlag GridHorEnabled = 0;
    double GridHorStep = 1;
    TGraphStyle GridHorGraphStyle;
    TFlag GridVerEnabled = 0;
    double GridVerStep = 1;
    TGraphStyle GridVerGraphStyle;

    TDrawLimits DrawLimits;
    // Threads that may share the work of one graph: 0 for one per processor core, 1 for the
    // caller's thread alone; at most MaxPlotThreads. The picture is the same either way.
    int Threads = 0;
    // Expression evaluations made since the last Redraw began (for measurements).
    std::uint64_t Evaluations = 0;
    // Graphs since the last Redraw began whose evaluations were shared among threads.
    std::uint64_t SharedPlots = 0;
    // Work done since the last Redraw began, in units of about a nanosecond of one core of a
    // current machine, the costs measured by bench/drawwork_bench.cpp: an evaluation costs
    // EvaluationBase, plus per instruction of its expression InstructionWork (LibraryCallWork for
    // a call of the mathematics library, times its TExpCal::LibraryCallCost; UncachedWork more per
    // instruction beyond LargeExpression of them, which no longer fit the processor's caches, when
    // evaluated one sample at a time: a batch shares the wait among its samples); a line drawn for
    // a graph or the coordinate system PointWork when it stays on one pixel, else LineWork plus
    // WorkPerPixel per pixel of its length (counted no further than the picture reaches); a move
    // MoveWork; a curve's segment clipped at the view's edges ClipWork; a pixel of an implicit
    // curve PixelWork; a curve's sample that draws nothing (failed, parted) IdleSampleWork; a
    // region cell RectangleWork plus a share of its area (FillWork); a text TextWork plus
    // TextCharWork per byte, half as much again for a title (measured to be placed). Ordinary
    // calls of the library cost little more than arithmetic in the batches most plots evaluate.
    std::uint64_t Work = 0;
    static constexpr std::uint64_t EvaluationBase = 5;
    static constexpr std::uint64_t InstructionWork = 2;
    static constexpr std::uint64_t LibraryCallWork = 10;
    static constexpr std::uint64_t LargeExpression = 4096;
    static constexpr std::uint64_t UncachedWork = 10;
    static constexpr std::uint64_t PointWork = 30;
    static constexpr std::uint64_t LineWork = 90;
    static constexpr std::uint64_t RectangleWork = 70;
    static constexpr std::uint64_t WorkPerPixel = 2;
    static constexpr std::uint64_t PixelWork = 100;
    static constexpr std::uint64_t MoveWork = 10;
    static constexpr std::uint64_t ClipWork = 40;
    static constexpr std::uint64_t IdleSampleWork = 8;
    static constexpr std::uint64_t TextWork = 4500;
    static constexpr std::uint64_t TextCharWork = 180;
    // Work of filling `pixels` pixels with a brush of the style (a clear brush fills nothing).
    static std::uint64_t FillWork(std::uint64_t pixels, TEnum8 brushStyle);
    // True once the work of this redraw has reached DrawLimits.RedrawWork; the graph plots end
    // early then. A graph plotted on its own (PlotFunction, PlotTable outside Redraw) has the
    // budget to itself.
    bool WorkSpent() const { return Work >= DrawLimits.RedrawWork; }
    // Whether the last graph plotted was cut short by a limit of DrawLimits.
    bool PlotCut = false;
    // The graphs of the last Redraw (indexes into its graph list) that a limit cut short or left
    // out; empty when the picture is whole.
    std::vector<int> CutGraphs;
    // The parts of the coordinate system that DrawLimits.Marks cut short in the last Redraw, in
    // plain words (view/cutparts.h), each once; empty when whole.
    std::vector<std::string> CutMarks;
    // The texts of the last Redraw left out because their work did not fit in what was left of
    // the budget ("the legend", "the x-axis labels", "the top title"), each once. Texts come
    // before the graphs, so only absurdly long or many texts reach it.
    std::vector<std::string> CutTexts;
    // Whether the last Redraw drew everything.
    bool Whole() const { return CutGraphs.empty() && CutMarks.empty() && CutTexts.empty(); }

    TCoordinate();
    TCoordinate(const TCoordinate&) = delete;
    TCoordinate& operator=(const TCoordinate&) = delete;

    // Copy the canvas's pen, brush and font into the saved objects and back. Without a canvas
    // they do nothing.
    void SaveCanvasState();
    void RestoreCanvasState();

    // Sets the four margins from the titles, the legend lines, the axes style and equal scale.
    // Measuring an enabled title needs a canvas (std::logic_error without one).
    void ComputeMargins();

    // World point to pixel. Recomputes the margins first (unless frozen, see TMarginFreeze).
    // Truncates toward zero. Results are always defined:
    // - coordinates saturate at +-PixelLimit, and a NaN coordinate maps to -PixelLimit;
    // - Min = Max on a plot area of some size: Min maps to the area's start edge (left, or
    //   right when x grows to the left; bottom, or top when y grows downward), smaller and
    //   larger values saturate on their sides;
    // - a scale that is no number (Min = Max with no plot width or height, bounds that are not
    //   numbers) maps every point of that axis to the start edge.
    TPoint WorldToScreen(double X, double Y);

    // The canvas's move-to, line-to and one pixel in the pen colour at WorldToScreen(X, Y);
    // nothing is clipped to the picture. They need a canvas (std::logic_error without one).
    // A line with an end beyond PixelLimit is cut where it leaves the +-PixelLimit square
    // (with a move-to to the saturated end after it), so saturation never bends its direction;
    // the next LineToWorld starts from the exact far end again.
    void MoveToWorld(double X, double Y);
    void LineToWorld(double X, double Y);
    void PlotWorldPixel(double X, double Y);
    void DrawWorldLine(double X1, double Y1, double X2, double Y2);

    // Largest pixel coordinate the mapping yields, far outside any picture but with room for
    // the small offsets drawing code adds to mapped points.
    static constexpr std::int32_t PixelLimit = 100'000'000;

    // Within one redraw the margins cannot change, so a redraw may freeze them: while at least
    // one TMarginFreeze is alive, WorldToScreen uses the margins and scales computed when the
    // first one was made instead of measuring titles on every call. It still saves the canvas
    // state as ComputeMargins would, so drawing ends in the same canvas state either way.
    // Settings, size and graph list must not change while frozen.
    class TMarginFreeze {
    public:
        explicit TMarginFreeze(TCoordinate& view);
        ~TMarginFreeze();
        TMarginFreeze(const TMarginFreeze&) = delete;
        TMarginFreeze& operator=(const TMarginFreeze&) = delete;

    private:
        TCoordinate& FView;
    };

    bool MarginsFrozen() const { return FFreezeCount > 0; }

    // The whole picture, back to front: background, grids, titles, legend, axes, then the
    // graphs in list order. The graph list is kept (not owned) for the margins and the legend.
    // An expression whose number literal overflows ends the redraw with EOverflow.
    void Redraw(TMemory* graphList, const TOperatorLib& operatorLib, TVarMemory& variables,
                const TVarMemory& constants);
    void ClearBackground();
    void DrawCoordinateSystem();
    void PlotGraphList(TMemory* graphList, const TOperatorLib& operatorLib, TVarMemory& variables,
                       const TVarMemory& constants);

    // Axes, ticks, labels, arrows and titles (axes.cpp).
    void DrawCrossedAxes();
    void DrawBoxedAxes();
    void DrawXAxisCrossed();
    void DrawYAxisCrossed();
    void DrawXAxisBoxed();
    void DrawYAxisBoxed();
    void DrawTitles();

    // Grids (grids.cpp).
    void DrawRectangularGrids();
    void DrawHorizontalGrid();
    void DrawVerticalGrid();
    void DrawRadialGrid();
    void DrawAngularGrid();

    // The legend for GraphList (legend.cpp).
    void DrawLegend();

    // Curves (curveplot.cpp). PlotFunction dispatches by FunctionObjType, relations included.
    // It takes the graph non-const because a region plot clears the graph's line for good.
    void PlotFunction(TFunctionObj& F, const TOperatorLib& operatorLib, TVarMemory& variables,
                      const TVarMemory& constants);
    void PlotYofX(const TFunctionObj& F, const TOperatorLib& operatorLib, TVarMemory& variables,
                  const TVarMemory& constants);
    void PlotXofY(const TFunctionObj& F, const TOperatorLib& operatorLib, TVarMemory& variables,
                  const TVarMemory& constants);
    // y(x), or with ofY x(y): one expression sampled along one axis.
    void PlotExplicit(const TFunctionObj& F, const TOperatorLib& operatorLib, TVarMemory& variables,
                      const TVarMemory& constants, bool ofY);
    void PlotParametric(const TFunctionObj& F, const TOperatorLib& operatorLib,
                        TVarMemory& variables, const TVarMemory& constants);
    void PlotPolar(const TFunctionObj& F, const TOperatorLib& operatorLib, TVarMemory& variables,
                   const TVarMemory& constants);

    // Relations in x and y (implicitplot.cpp).
    void PlotImplicit(TFunctionObj& F, const TOperatorLib& operatorLib, TVarMemory& variables,
                      const TVarMemory& constants);
    void PlotInequality(TFunctionObj& F, const TOperatorLib& operatorLib, TVarMemory& variables,
                        const TVarMemory& constants);
    void PlotImplicitCurve(const TFunctionObj& F, const TOperatorLib& operatorLib,
                           TVarMemory& variables, const TVarMemory& constants);
    // One step of the curve's subdivision on the cell (L, T, R, B), T the larger y, down to
    // cells smaller than S in both directions.
    void RefineImplicitCell(TExpCal& calculator, TVarMemory& variables, double L, double T,
                            double R, double B, long double S);
    bool CellMayHoldCurve(TExpCal& calculator, TVarMemory& variables, double L, double T, double R,
                          double B);

    // Tables (tableplot.cpp).
    void PlotTable(const TTableObj& T);
    void DrawSmoothSegment(TWorldPoint P0, TWorldPoint P1, TWorldPoint P2);

private:
    struct TMapping {
        std::int32_t Left = 0;
        std::int32_t Top = 0;
        std::int32_t Right = 0;
        std::int32_t Bottom = 0;
        double Kx = 0;
        double Ky = 0;
    };

    TCanvas& RequireCanvas();
    // Records in CutMarks, once, that the Marks cap cut `what` (when `cut`).
    void NoteMarksCut(bool cut, const char* what);
    // Counts the work of writing the text (and of measuring it first, when `measured`) and
    // answers true when it fits in what is left of the budget; otherwise counts nothing, records
    // `part` in CutTexts and answers false: the text is left out.
    bool TakeTextWork(const std::string& text, const char* part, bool measured = false);
    std::int32_t TitleMargin(TFlag enabled, const std::string& title, const TFont& font);
    // A mapped point before truncation and saturation (a NaN coordinate already replaced).
    struct TExactPoint {
        long double X = 0;
        long double Y = 0;
    };

    TMapping CurrentMapping() const;
    TExactPoint Map(const TMapping& mapping, double X, double Y) const;
    // One axis of Map each: a pixel's column depends on x alone, its row on y alone.
    long double MapX(const TMapping& mapping, double X) const;
    long double MapY(const TMapping& mapping, double Y) const;
    // The margins step of every mapping (recompute, or only save when frozen), then the map.
    TExactPoint MapExact(double X, double Y);
    // Remembers where the last world move or line ended, exactly and as placed on the canvas.
    void NotePen(const TExactPoint& exact, TPoint placed);

    // One evaluation of a plot, counted.
    bool Evaluate(TExpCal& calculator);
    // Counts a line drawn from one pixel to another (or one pixel, from == to).
    void AddLineWork(TPoint from, TPoint to);
    // Counts a rectangle filled (its corners in any order) with the canvas's brush.
    void AddFillWork(const TRect& rect);

    // Counts an evaluation made elsewhere (by a helper thread) as Evaluate would.
    void CountEvaluation(std::uint64_t work);
    // Work of one evaluation of the calculator's expression, one sample at a time or among a
    // batch of samples (TExpCal::EvaluateBatch), where large expressions cost far less.
    static std::uint64_t EvaluationWork(const TExpCal& calculator, bool batched);

    // The implicit curve's subdivision (implicitplot.cpp), on this thread or shared among
    // several; either way the same evaluations, the same pixels in the same order, the same
    // work. Sharing is tried only inside a redraw and gives way to this thread when a limit
    // would be reached.
    TImplicitTracer::TSettings ImplicitSettings(const TExpCal& calculator, long double S) const;
    void TraceImplicit(TExpCal& calculator, TVarMemory& variables,
                       const TImplicitTracer::TSettings& settings, double L, double T, double R,
                       double B);
    bool TraceImplicitShared(TExpCal& calculator, TVarMemory& variables,
                             const TImplicitTracer::TSettings& settings, double L, double T,
                             double R, double B);
    struct TPicturePlotter;
    struct TPixelListPlotter;
    // The pixel of a world point under the frozen margins, touching nothing (for other threads).
    TPoint FrozenPixel(double X, double Y) const;
    // FrozenPixel for the corners of an implicit curve's cells, which share most of their
    // coordinates with the corners plotted just before: each axis keeps its last two pixels.
    struct TFrozenPixelCache {
        explicit TFrozenPixelCache(const TCoordinate& view) : View(view) {}
        TPoint At(double X, double Y);
        const TCoordinate& View;
        TLastPixels Columns;
        TLastPixels Rows;
    };
    // Pixels of the picture the implicit curve being drawn has set, row by row: neighbouring
    // cells share corners, and a curve that holds everywhere would set each pixel four times.
    std::vector<bool> FImplicitPixels;
    void SetImplicitPixel(TPoint p);

    // Inside Redraw: the graphs share one work budget.
    bool FRedrawing = false;
    int FFreezeCount = 0;
    TMapping FFrozen;
    bool FPenKnown = false;
    TExactPoint FPenExact;
    TPoint FPenPixel;
};

} // namespace curvana
