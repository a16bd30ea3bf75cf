#include "common/errors.h"
#include "drawfixture.h"

#include <functional>
#include <limits>
#include <map>
#include <tuple>

namespace curvana {
namespace {

using RedrawTest = DrawTest;

// The layers of a picture, back to front.
enum TLayer {
    lyBackground,
    lyHorizontal,
    lyVertical,
    lyRadial,
    lyAngular,
    lyTitle,
    lyLegend,
    lyXAxis,
    lyYAxis,
    lyFirstGraph,
    lySecondGraph,
    lyTable
};

TEST_F(RedrawTest, LayersBackToFront) {
    const std::map<TColor, TLayer> byPen = {{1, lyHorizontal},  {2, lyVertical}, {4, lyAngular},
                                            {5, lyXAxis},       {6, lyYAxis},    {7, lyFirstGraph},
                                            {8, lySecondGraph}, {9, lyTable}};
    view.GridHorEnabled = view.GridVerEnabled = view.GridRadialEnabled = view.GridAngularEnabled =
        1;
    view.GridHorGraphStyle.LineColor = 1;
    view.GridVerGraphStyle.LineColor = 2;
    view.GridRadialGraphStyle.LineColor = 3;
    view.GridAngularGraphStyle.LineColor = 4;
    view.XAxesGraphStyle.LineColor = 5;
    view.YAxesGraphStyle.LineColor = 6;
    view.TitleTopEnabled = 1;
    view.TitleTop = "Title";
    view.LegendEnabled = 1;
    view.ShowSampleEnabled = 0;
    view.BackgroundColor = 0x123456;
    AddFunction(ftYofX, "x").GraphStyle.LineColor = 7;
    AddFunction(ftYofX, "-x").GraphStyle.LineColor = 8;
    AddTable({{-5, 5}, {5, -5}}).GraphStyle.LineColor = 9;
    Redraw();

    std::vector<TLayer> layers;
    for (const TCanvasOp& op : canvas.Ops) {
        switch (op.Kind) {
        case TCanvasOpKind::Rectangle:
            layers.push_back(lyBackground);
            break;
        case TCanvasOpKind::Ellipse:
            layers.push_back(lyRadial);
            break;
        case TCanvasOpKind::LineTo:
            layers.push_back(byPen.at(op.Pen.Color));
            break;
        case TCanvasOpKind::TextOut:
            if (op.Text == "Title")
                layers.push_back(lyTitle);
            else if (op.Text.starts_with("Y(x)") || op.Text.starts_with("Table"))
                layers.push_back(lyLegend);
            break;
        default:
            break;
        }
    }
    ASSERT_FALSE(layers.empty());
    EXPECT_EQ(layers.front(), lyBackground);
    EXPECT_TRUE(std::is_sorted(layers.begin(), layers.end()));
    for (int layer = lyBackground; layer <= lyTable; ++layer)
        EXPECT_NE(std::find(layers.begin(), layers.end(), layer), layers.end()) << layer;

    // The background covers the whole control in its colour.
    const TCanvasOp& background = canvas.Ops.front();
    EXPECT_EQ(background.Points, (std::vector<TPoint>{{0, 0}, {673, 433}}));
    EXPECT_EQ(background.Brush, (TBrush{0x123456, bsSolid}));
    EXPECT_EQ(background.Pen.Color, 0x123456);
}

TEST_F(RedrawTest, WithoutAGraphList) {
    view.LegendEnabled = 1;
    AddFunction(ftYofX, "x");
    view.Redraw(nullptr, library, variables, constants);
    EXPECT_EQ(view.GraphList, nullptr);
    EXPECT_EQ(view.MarginBottom, 30);
    for (const std::string& text : Texts())
        EXPECT_EQ(text.find("Y(x)"), std::string::npos);
    // Axes only: two lines, 42 ticks, two arrow shafts.
    EXPECT_EQ(Count(TCanvasOpKind::LineTo), 46u);

    // All graphs hidden: no graph and no legend line, though the list is kept.
    canvas.Clear();
    graphs.SetShowEnabled(0, 0);
    Redraw();
    EXPECT_EQ(view.GraphList, &graphs);
    EXPECT_EQ(Count(TCanvasOpKind::LineTo), 46u);
}

// The same operations with the same paint. The width of a clear pen paints nothing (the first
// region plot leaves its graph's line clear with width 0, which the legend then shows).
bool SameOps(const std::vector<TCanvasOp>& a, const std::vector<TCanvasOp>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const bool samePen =
            a[i].Pen == b[i].Pen || (a[i].Pen.Style == psClear && b[i].Pen.Style == psClear &&
                                     a[i].Pen.Color == b[i].Pen.Color);
        if (a[i].Kind != b[i].Kind || a[i].Points != b[i].Points || a[i].Text != b[i].Text ||
            !samePen || !(a[i].Brush == b[i].Brush) || !(a[i].Font == b[i].Font))
            return false;
    }
    return true;
}

TEST_F(RedrawTest, TwiceGivesTheSamePicture) {
    view.LegendEnabled = 1;
    view.GridHorEnabled = 1;
    AddFunction(ftYofX, "sin(x)");
    AddFunction(ftRelation, "x*y-1", "<0");
    AddFunction(ftRelation, "x^2-y", "=0");
    Redraw();
    const std::vector<TCanvasOp> first = canvas.Ops;
    canvas.Clear();
    Redraw();
    EXPECT_TRUE(SameOps(first, canvas.Ops));
    EXPECT_GT(view.Evaluations, 501u);
}

// A region leaves a clear pen behind; the next picture must still be cleared to its last
// column and row, which only an outlined rectangle reaches.
TEST_F(RedrawTest, ClearingIgnoresThePenLeftBehind) {
    view.BackgroundColor = clBlue;
    AddFunction(ftRelation, "x*y-1", "<0");
    Redraw();
    ASSERT_EQ(canvas.Pen.Style, psClear);
    canvas.Clear();
    Redraw();
    const TCanvasOp& clear = canvas.Ops.front();
    EXPECT_EQ(clear.Kind, TCanvasOpKind::Rectangle);
    EXPECT_EQ(clear.Points, (std::vector<TPoint>{{0, 0}, {673, 433}}));
    EXPECT_EQ(clear.Pen, (TPen{clBlue, 1, psSolid}));
}

// Margins are measured once per redraw, not at every mapped point.
TEST_F(RedrawTest, MarginsAreMeasuredOnce) {
    class TCountingCanvas : public TRecordingCanvas {
    public:
        int Measured = 0;
        std::int32_t TextHeight(const std::string& text) override {
            ++Measured;
            return TRecordingCanvas::TextHeight(text);
        }
    } counting;
    view.Canvas = &counting;
    view.TitleLeftEnabled = 1;
    view.TitleLeft = "Left";
    AddFunction(ftYofX, "x");
    Redraw();
    EXPECT_LE(counting.Measured, 3); // the freeze, and the title's own drawing
    EXPECT_FALSE(view.MarginsFrozen());
    EXPECT_GT(counting.Count(TCanvasOpKind::LineTo), 500u);
}

TEST_F(RedrawTest, LiteralOverflowEndsTheRedraw) {
    AddFunction(ftYofX, "x");
    AddFunction(ftYofX, "x+1" + std::string(400, '0'));
    AddFunction(ftYofX, "-x").GraphStyle.LineColor = clRed;
    const TFont font = canvas.Font;
    EXPECT_THROW(Redraw(), EOverflow);
    EXPECT_FALSE(view.MarginsFrozen());
    EXPECT_EQ(canvas.Font, font);
    for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::LineTo))
        EXPECT_NE(op->Pen.Color, clRed); // the graph after it was not drawn
}

// Axis walks with steps that cannot advance end; absurdly fine ones are bounded.
TEST_F(RedrawTest, DegenerateAxisStepsEnd) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (TEnum8 style : {asCrossed, asBoxed}) {
        for (double step : {0.0, -1.0, nan, inf, 1e-300}) {
            SCOPED_TRACE(testing::Message() << int(style) << " " << step);
            canvas.Clear();
            view.AxesStyle = style;
            view.XAxesTicksStep = view.YAxesTicksStep = step;
            view.XAxesLabelsStep = view.YAxesLabelsStep = step;
            Redraw();
            // At most the tick and label at the minimum of each axis.
            EXPECT_LE(Texts().size(), 4u + 2u);
            EXPECT_LE(Count(TCanvasOpKind::LineTo), 4u + 2u + 2u);
        }
    }
    view.DrawLimits.Marks = 30;
    canvas.Clear();
    view.AxesStyle = asCrossed;
    view.XAxesTicksStep = view.YAxesTicksStep = 1e-9;
    view.XAxesLabelsStep = view.YAxesLabelsStep = 1e-9;
    Redraw();
    EXPECT_EQ(Texts().size(), 4u * 30u / 2u + 2u); // labels of both axes and the arrow names
}

} // namespace
} // namespace curvana

namespace curvana {
namespace {

// The cap on ticks, labels and grid lines (30 here) names what it cuts; a walk that ends at the
// cap with nothing left before the range's end, or within it, is whole. Over -10..10: ticks every
// 0.65 are 31, every 0.68 exactly 30; grid lines strictly inside every 0.64 are 31, every 0.66 30.
TEST_F(RedrawTest, MarksTheCapCutsAreNamed) {
    struct Case {
        const char* name;
        std::function<void(TCoordinate&)> set;
        std::vector<std::string> cut;
    };
    const Case cases[] = {
        {"x ticks", [](TCoordinate& v) { v.XAxesTicksStep = 0.65; }, {"the x-axis marks"}},
        {"x ticks at the cap", [](TCoordinate& v) { v.XAxesTicksStep = 0.68; }, {}},
        {"y labels", [](TCoordinate& v) { v.YAxesLabelsStep = 0.65; }, {"the y-axis marks"}},
        {"boxed x ticks",
         [](TCoordinate& v) {
             v.AxesStyle = asBoxed;
             v.XAxesTicksStep = 0.65;
         },
         {"the x-axis marks"}},
        {"boxed y ticks",
         [](TCoordinate& v) {
             v.AxesStyle = asBoxed;
             v.YAxesTicksStep = 0.65;
         },
         {"the y-axis marks"}},
        {"boxed at the cap",
         [](TCoordinate& v) {
             v.AxesStyle = asBoxed;
             v.XAxesTicksStep = v.YAxesTicksStep = 0.68;
         },
         {}},
        {"horizontal grid",
         [](TCoordinate& v) {
             v.GridHorEnabled = 1;
             v.GridHorStep = 0.64;
         },
         {"the horizontal grid"}},
        {"vertical grid at the cap",
         [](TCoordinate& v) {
             v.GridVerEnabled = 1;
             v.GridVerStep = 0.66;
         },
         {}},
        {"vertical grid and x ticks, once each",
         [](TCoordinate& v) {
             v.GridVerEnabled = 1;
             v.GridVerStep = 0.64;
             v.XAxesTicksStep = v.XAxesLabelsStep = 0.1;
         },
         {"the vertical grid", "the x-axis marks"}},
        {"radial grid",
         [](TCoordinate& v) {
             v.GridRadialEnabled = 1;
             v.GridRadialStep = 0.1;
         },
         {"the radial grid"}},
        {"radial grid within",
         [](TCoordinate& v) {
             v.GridRadialEnabled = 1;
             v.GridRadialStep = 1;
         },
         {}},
        {"angular grid",
         [](TCoordinate& v) {
             v.GridAngularEnabled = 1;
             v.GridAngularStep = 0.01;
         },
         {"the angular grid"}},
        {"angular grid within",
         [](TCoordinate& v) {
             v.GridAngularEnabled = 1;
             v.GridAngularStep = 0.25;
         },
         {}},
    };
    view.DrawLimits.Marks = 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view.AxesStyle = asCrossed;
        view.XAxesTicksStep = view.YAxesTicksStep = view.XAxesLabelsStep = view.YAxesLabelsStep = 1;
        view.GridHorEnabled = view.GridVerEnabled = view.GridRadialEnabled =
            view.GridAngularEnabled = 0;
        c.set(view);
        Redraw();
        EXPECT_EQ(view.CutMarks, c.cut);
        EXPECT_TRUE(view.CutGraphs.empty());
    }
}

// Views no dialog would produce, with every kind of graph and every part of the picture on:
// each redraw ends, and its work stays bounded.
TEST_F(RedrawTest, HostileViewsEnd) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    view.GridHorEnabled = view.GridVerEnabled = view.GridRadialEnabled = view.GridAngularEnabled =
        1;
    view.LegendEnabled = 1;
    view.TitleTopEnabled = view.TitleLeftEnabled = 1;
    view.TitleTop = view.TitleLeft = "title";
    view.DrawLimits.Marks = 1000;
    view.DrawLimits.ImplicitCells = 20000;
    AddFunction(ftYofX, "x");
    AddFunction(ftXofY, "y");
    AddFunction(ftPolar, "a").Interval = {1, 0, 2};
    AddFunction(ftParametric, "t", "t").Interval = {1, -5, 5};
    AddFunction(ftRelation, "x^2+y^2-25", "=0");
    AddFunction(ftRelation, "x*y", ">0");
    AddTable({{-inf, nan}, {1, 1}, {1e300, -1e300}}, 1);
    const TInterval ranges[] = {{1, -10, 10},        {1, 5, 5},   {1, 10, -10},
                                {1, -1e308, 1e308},  {1, nan, 1}, {1, -inf, inf},
                                {1, 1e17, 1e17 + 16}};
    for (std::int32_t size : {0, 1, 61, 673}) {
        for (const TInterval& range : ranges) {
            SCOPED_TRACE(testing::Message() << size << " " << range.Min << ".." << range.Max);
            canvas.Clear();
            view.Width = view.Height = size;
            view.XInterval = range;
            view.YInterval = range;
            Redraw();
            EXPECT_LT(canvas.Ops.size(), 200000u);
        }
    }
}

// One redraw has a work budget across all graphs: a graph that spends it stops where it is, and
// the graphs after it are not drawn; the coordinate system always is.
TEST_F(RedrawTest, WorkBudgetEndsTheGraphsOfARedraw) {
    struct TCase {
        const char* Name;
        std::function<void()> AddGraph;
    };
    const auto table = [this] {
        TTableObj& t = AddTable({}, 1);
        for (int i = 0; i < 400; ++i)
            t.AddPoint(i / 20.0 - 10, (i * 37 % 19) - 9);
    };
    const TCase cases[] = {
        {"y(x)", [this] { AddFunction(ftYofX, "sin(x)").PlotParameter.Steps = 4000; }},
        {"x(y)", [this] { AddFunction(ftXofY, "cos(y)").PlotParameter.Steps = 4000; }},
        {"parametric",
         [this] {
             TFunctionObj& f = AddFunction(ftParametric, "5cos(t)", "5sin(t)");
             f.Interval = {1, 0, 6.28};
             f.PlotParameter.Steps = 4000;
         }},
        {"polar",
         [this] {
             TFunctionObj& f = AddFunction(ftPolar, "3");
             f.Interval = {1, 0, 2};
             f.PlotParameter.Steps = 4000;
         }},
        {"region",
         [this] {
             TFunctionObj& f = AddFunction(ftRelation, "x", "<0");
             f.PlotParameter.StepsOnX = f.PlotParameter.StepsOnY = 100;
         }},
        {"implicit curve", [this] { AddFunction(ftRelation, "x^2+y^2-25", "=0"); }},
        {"table", table},
    };
    // What a graph leaves on the canvas: lines, pixels and cells.
    const auto marks = [this] {
        return Count(TCanvasOpKind::LineTo) + Count(TCanvasOpKind::SetPixel) +
               Count(TCanvasOpKind::Rectangle);
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        graphs.Clear();
        c.AddGraph();
        // The last graph: a horizontal line at y = 5 in its own colour.
        AddFunction(ftYofX, "5").GraphStyle.LineColor = clRed;
        const auto redLines = [this] {
            std::size_t n = 0;
            for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::LineTo))
                n += op->Pen.Color == clRed;
            return n;
        };

        canvas.Clear();
        view.DrawLimits.RedrawWork = TDrawLimits{}.RedrawWork;
        Redraw();
        ASSERT_FALSE(view.WorkSpent());
        EXPECT_TRUE(view.CutGraphs.empty());
        const std::vector<TCanvasOp> full = canvas.Ops;
        const std::uint64_t fullWork = view.Work;
        const std::size_t fullMarks = marks();
        const std::size_t redFull = redLines();
        ASSERT_GT(redFull, 0u);
        // The coordinate system alone, then with the first graph.
        graphs.SetShowEnabled(0, 0);
        graphs.SetShowEnabled(1, 0);
        canvas.Clear();
        Redraw();
        const std::size_t axesMarks = marks();
        const std::uint64_t axesWork = view.Work;
        graphs.SetShowEnabled(0, 1);
        Redraw();
        const std::uint64_t firstWork = view.Work - axesWork;
        graphs.SetShowEnabled(1, 1);

        // Just under the budget: the same picture as without a limit, nothing reported.
        view.DrawLimits.RedrawWork = fullWork + 1;
        canvas.Clear();
        Redraw();
        EXPECT_EQ(canvas.Ops, full);
        EXPECT_TRUE(view.CutGraphs.empty());
        // Just over: the last graph loses its end, and only it is named.
        view.DrawLimits.RedrawWork = fullWork - (fullWork - axesWork - firstWork) / 2;
        canvas.Clear();
        Redraw();
        EXPECT_EQ(view.CutGraphs, std::vector<int>{1});
        EXPECT_GT(redLines(), 0u);
        EXPECT_LT(redLines(), redFull);
        // A budget that the first graph spends half way: the first is cut, the second left out.
        view.DrawLimits.RedrawWork = axesWork + firstWork / 2;
        canvas.Clear();
        Redraw();
        EXPECT_TRUE(view.WorkSpent());
        EXPECT_GT(marks(), axesMarks);
        EXPECT_LT(marks(), fullMarks);
        EXPECT_EQ(redLines(), 0u);
        EXPECT_EQ(view.CutGraphs, (std::vector<int>{0, 1}));
        // Spent by the coordinate system: no graph at all. A hidden graph is not missed.
        view.DrawLimits.RedrawWork = 1;
        graphs.SetShowEnabled(0, 0);
        canvas.Clear();
        Redraw();
        EXPECT_EQ(marks(), axesMarks);
        EXPECT_EQ(view.CutGraphs, std::vector<int>{1});
        graphs.SetShowEnabled(0, 1);
        // Drawn whole again, the list is empty again.
        view.DrawLimits.RedrawWork = TDrawLimits{}.RedrawWork;
        Redraw();
        EXPECT_TRUE(view.CutGraphs.empty());
    }
}

// Texts count in the budget like any other work. One whose work does not fit in what is left is
// left out and named, never written past the budget: long texts in a budget of 1,000,000 units
// (10,000 characters cost 1,804,500) beside short ones that fit.
TEST_F(RedrawTest, TextsTheBudgetCannotHoldAreLeftOutAndNamed) {
    const std::string longText(10'000, 'w');
    struct TCase {
        const char* Name;
        std::function<void()> Set;
        std::vector<std::string> Cut;
        std::vector<std::string> Written;
        std::vector<std::string> LeftOut;
    };
    const TCase cases[] = {
        {"short texts",
         [this] {
             view.TitleBottomEnabled = view.TitleLeftEnabled = view.TitleRightEnabled =
                 view.LegendEnabled = 1;
         },
         {},
         {"top", "bottom", "left", "right", "Y(x)=x", "Y(x)=-x", "5", "X", "Y"},
         {}},
        {"long top title", [&] { view.TitleTop = longText; }, {"the top title"}, {"5", "X"}, {}},
        // 4,000 characters cost 724,500 units written once; measured and written, half again.
        {"title measured and written",
         [&] { view.TitleTop = longText.substr(0, 4000); },
         {"the top title"},
         {"5", "X"},
         {}},
        {"long legend line ends the legend",
         [&] {
             view.LegendEnabled = 1;
             // Between the two lines: a graph that draws nothing, with a long caption.
             graphs.Function(1)->Exp = "x+" + longText;
             graphs.Function(1)->PlotParameter.Steps = 0;
             AddFunction(ftYofX, "-x");
         },
         {"the legend"},
         {"top", "Y(x)=x", "5", "Y"},
         {"Y(x)=-x"}},
        {"long x-axis unit",
         [&] { view.XAxesLabelsString = longText; },
         {"the x-axis labels"},
         {"5", "-5", "X"},
         {}},
        {"long arrow names",
         [&] { view.XArrow.Name = view.YArrow.Name = longText; },
         {"the x-axis name", "the y-axis name"},
         {"5"},
         {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        graphs.Clear();
        AddFunction(ftYofX, "x");
        AddFunction(ftYofX, "-x");
        view.XAxesLabelsStep = view.YAxesLabelsStep = 5;
        view.XAxesLabelsString.clear();
        view.XArrow.Name = "X";
        view.YArrow.Name = "Y";
        view.LegendEnabled = view.TitleBottomEnabled = view.TitleLeftEnabled =
            view.TitleRightEnabled = 0;
        view.TitleTopEnabled = 1;
        view.TitleTop = "top";
        view.TitleBottom = "bottom";
        view.TitleLeft = "left";
        view.TitleRight = "right";
        c.Set();
        view.DrawLimits.RedrawWork = 1'000'000;
        canvas.Clear();
        Redraw();
        EXPECT_EQ(view.CutTexts, c.Cut);
        EXPECT_TRUE(view.CutGraphs.empty());
        EXPECT_EQ(view.Whole(), c.Cut.empty());
        EXPECT_LE(view.Work, view.DrawLimits.RedrawWork);
        const std::vector<std::string> written = Texts();
        for (const std::string& text : written)
            EXPECT_LT(text.size(), 4000u) << "a text written past the budget";
        for (const std::string& text : c.Written)
            EXPECT_NE(std::find(written.begin(), written.end(), text), written.end()) << text;
        for (const std::string& text : c.LeftOut)
            EXPECT_EQ(std::find(written.begin(), written.end(), text), written.end()) << text;
    }
}

// Outside a redraw (a check plots one graph at a time) every graph has the budget to itself, so
// that one heavy graph does not leave the next ones blank.
TEST_F(RedrawTest, GraphsPlottedOnTheirOwnHaveTheirOwnBudget) {
    TFunctionObj& heavy = AddFunction(ftYofX, "sin(x)");
    heavy.PlotParameter.Steps = 4000;
    TFunctionObj& light = AddFunction(ftYofX, "x");
    TTableObj& table = AddTable({{-1, -1}, {1, 1}, {2, 0}});
    Plot(light);
    const std::size_t lightLines = Count(TCanvasOpKind::LineTo);
    ASSERT_GT(lightLines, 100u);
    view.DrawLimits.RedrawWork = view.Work + view.Work / 2;
    for (int round = 0; round < 2; ++round) {
        canvas.Clear();
        Plot(heavy);
        EXPECT_TRUE(view.WorkSpent());
        canvas.Clear();
        Plot(light);
        EXPECT_EQ(Count(TCanvasOpKind::LineTo), lightLines);
        canvas.Clear();
        view.PlotTable(table);
        EXPECT_EQ(Count(TCanvasOpKind::LineTo), 3u);
    }
}

// Only 1 switches a flag on: a flag written as 2 draws exactly what 0 draws, for every flag a
// picture reads.
TEST_F(RedrawTest, FlagsOtherThanOneAreOff) {
    using TSet = std::function<void(TCoordinate&, TMemory&, TFlag)>;
    const struct {
        const char* Name;
        TSet Set;
    } cases[] = {
        {"XArrow", [](TCoordinate& v, TMemory&, TFlag f) { v.XArrow.Enabled = f; }},
        {"YArrow", [](TCoordinate& v, TMemory&, TFlag f) { v.YArrow.Enabled = f; }},
        {"EqualScale", [](TCoordinate& v, TMemory&, TFlag f) { v.EqualScaleEnabled = f; }},
        {"TitleTop", [](TCoordinate& v, TMemory&, TFlag f) { v.TitleTopEnabled = f; }},
        {"TitleBottom", [](TCoordinate& v, TMemory&, TFlag f) { v.TitleBottomEnabled = f; }},
        {"Legend", [](TCoordinate& v, TMemory&, TFlag f) { v.LegendEnabled = f; }},
        {"ShowSample", [](TCoordinate& v, TMemory&, TFlag f) { v.ShowSampleEnabled = f; }},
        {"TextColorAsGraph",
         [](TCoordinate& v, TMemory&, TFlag f) { v.TextColorAsGraphEnabled = f; }},
        {"GridHor", [](TCoordinate& v, TMemory&, TFlag f) { v.GridHorEnabled = f; }},
        {"GridRadial", [](TCoordinate& v, TMemory&, TFlag f) { v.GridRadialEnabled = f; }},
        {"GridAngular", [](TCoordinate& v, TMemory&, TFlag f) { v.GridAngularEnabled = f; }},
        {"function ShowEnabled", [](TCoordinate&, TMemory& g, TFlag f) { g.SetShowEnabled(0, f); }},
        {"table ShowEnabled", [](TCoordinate&, TMemory& g, TFlag f) { g.SetShowEnabled(1, f); }},
        {"table Smooth", [](TCoordinate&, TMemory& g, TFlag f) { g.Table(1)->Smooth = f; }},
    };
    view.TitleTop = view.TitleBottom = "Title";
    view.LegendEnabled = 1;
    AddFunction(ftYofX, "x/2").GraphStyle.LineColor = clRed;
    AddTable({{-5, 5}, {0, -2}, {5, 5}});

    // What a picture shows: every operation's kind, points, text and colours.
    const auto picture = [this](const TSet& set, TFlag value) {
        set(view, graphs, value);
        canvas.Clear();
        Redraw();
        std::vector<std::tuple<TCanvasOpKind, std::vector<TPoint>, std::string, TColor, TColor>>
            ops;
        for (const TCanvasOp& op : canvas.Ops)
            ops.emplace_back(op.Kind, op.Points, op.Text, op.Pen.Color, op.Font.Color);
        return ops;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto on = picture(c.Set, 1);
        const auto off = picture(c.Set, 0);
        EXPECT_NE(on, off);
        EXPECT_EQ(picture(c.Set, 2), off);
        c.Set(view, graphs, 1);
    }
}

} // namespace
} // namespace curvana
