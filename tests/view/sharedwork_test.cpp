// Implicit curves and regions share their evaluations among threads inside a redraw. Whatever
// the number of threads, a redraw must draw the same operations in the same order, count the
// same evaluations and work, and leave the same canvas state and variables behind.

#include "drawfixture.h"

#include "expr/operatorcode.h"

#include <functional>

namespace curvana {
namespace {

// Everything a redraw leaves behind that threads could change.
struct TRedrawResult {
    std::vector<TCanvasOp> Ops;
    std::uint64_t Evaluations = 0;
    std::uint64_t Work = 0;
    std::uint64_t SharedPlots = 0;
    TPen SavedPen, Pen;
    TBrush SavedBrush, Brush;
    TFont SavedFont, Font;
    std::vector<double> Variables;
};

bool SameOp(const TCanvasOp& a, const TCanvasOp& b) {
    return a.Kind == b.Kind && a.Points == b.Points && a.Text == b.Text && a.Color == b.Color &&
           a.Pen == b.Pen && a.Brush == b.Brush && a.Font == b.Font;
}

// The first operation that differs, or -1.
std::ptrdiff_t FirstDifference(const std::vector<TCanvasOp>& a, const std::vector<TCanvasOp>& b) {
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (!SameOp(a[i], b[i]))
            return static_cast<std::ptrdiff_t>(i);
    return a.size() == b.size() ? -1 : static_cast<std::ptrdiff_t>(std::min(a.size(), b.size()));
}

// A generator that gives the same numbers in every redraw (RedrawWith restarts it).
std::uint32_t RandomCalls = 0;
std::uint32_t CountingRandom() {
    return ++RandomCalls;
}

class SharedWorkTest : public DrawTest {
protected:
    void TearDown() override { SetRandomCounter(nullptr); }

    TRedrawResult RedrawWith(int threads) {
        canvas.Clear();
        canvas.Pen = TPen{};
        canvas.Brush = TBrush{};
        canvas.Font = TFont{};
        for (const char* name : {"x", "y", "t", "a"})
            variables.SetValue(name, 0.25);
        view.Threads = threads;
        RandomCalls = 0;
        Redraw();
        TRedrawResult r;
        r.Ops = canvas.Ops;
        r.Evaluations = view.Evaluations;
        r.Work = view.Work;
        r.SharedPlots = view.SharedPlots;
        r.SavedPen = view.SavedPen;
        r.SavedBrush = view.SavedBrush;
        r.SavedFont = view.SavedFont;
        r.Pen = canvas.Pen;
        r.Brush = canvas.Brush;
        r.Font = canvas.Font;
        for (int i = 0; i < variables.Count(); ++i)
            r.Variables.push_back(variables.At(i)->Value);
        return r;
    }

    TFunctionObj& AddRegion(const std::string& exp, const std::string& condition, int steps,
                            TEnum8 brush) {
        TFunctionObj& f = AddFunction(ftRelation, exp, condition);
        f.PlotParameter.StepsOnX = f.PlotParameter.StepsOnY = steps;
        f.GraphStyle.BrushStyle = brush;
        return f;
    }
};

TEST_F(SharedWorkTest, ThreadsDrawTheSameAsOneThread) {
    struct TCase {
        const char* Name;
        std::function<void()> Set;
        bool Shared; // whether the threads are expected to take part
    };
    const TCase cases[] = {
        {"circle", [this] { AddFunction(ftRelation, "x^2+y^2-25", "=0"); }, true},
        {"lemniscate with a double point",
         [this] { AddFunction(ftRelation, "(x^2+y^2)^2-8(x^2-y^2)", "=0"); }, true},
        {"a domain that fails for negative bases",
         [this] {
             view.XInterval = view.YInterval = {1, -1, 8};
             AddFunction(ftRelation, "x^y-y^x", "=0");
         },
         true},
        // Dense curves: most of the work lies in the tested cells the threads refine.
        {"off-centre circles and rings",
         [this] {
             AddFunction(ftRelation, "(x-3)^2+(y-2)^2-4", "=0");
             AddFunction(ftRelation, "(x^2+y^2-1)*((x-6)^2+(y-6)^2-1)", "=0");
             AddFunction(ftRelation, "sin(x^2+y^2)", "=0");
         },
         true},
        // Rings closer than a pixel: many cells whose corners share a sign are kept by a probe.
        {"rings finer than the pixels",
         [this] {
             view.XInterval = view.YInterval = {1, -40, 40};
             AddFunction(ftRelation, "sin(x^2+y^2)", "=0");
         },
         true},
        {"solid and hatched regions",
         [this] {
             AddRegion("x^2+y^2-9", "<0", 240, bsSolid);
             AddRegion("x+y-4", ">0", 120, bsFDiagonal);
         },
         true},
        // The graphs after a relation read y as the relation left it.
        {"a curve and a region, then graphs of the leftover y",
         [this] {
             AddFunction(ftRelation, "x^2/36+y^2/9-1", "=0");
             AddFunction(ftYofX, "y");
             AddRegion("sin(x*y)", ">0.5", 150, bsCross);
             AddFunction(ftYofX, "y+x");
         },
         true},
        {"a region narrowed by its intervals",
         [this] {
             TFunctionObj& f = AddRegion("x*y", ">1", 200, bsSolid);
             f.Interval = {1, -3, 7};
             f.AddInterval = {1, -2, 2};
         },
         true},
        // Limits cut the one-thread trace: the threads must give way to it.
        {"noise past the cell limit",
         [this] {
             view.DrawLimits.ImplicitCells = 3000;
             AddFunction(ftRelation, "sin(97*x)*sin(89*y)", "=0");
         },
         false},
        {"noise past the test limit",
         [this] {
             view.DrawLimits.ImplicitTests = 5000;
             AddFunction(ftRelation, "sin(97*x)*sin(89*y)", "=0");
         },
         false},
        {"a region past the point limit",
         [this] {
             view.DrawLimits.RegionPoints = 20000;
             AddRegion("sin(x)+cos(y)", ">0", 300, bsSolid);
         },
         true},
        {"a redraw past its work budget in a region",
         [this] {
             view.DrawLimits.RedrawWork = 400000;
             AddRegion("x^2-y", ">0", 400, bsSolid);
             AddFunction(ftRelation, "x^2+y^2-25", "=0");
         },
         true},
        {"a redraw past its work budget in a curve",
         [this] {
             view.DrawLimits.RedrawWork = 300000;
             AddFunction(ftRelation, "sin(3*x)-cos(2*y)", "=0");
             AddFunction(ftYofX, "y");
         },
         false},
        // Random numbers depend on the order of evaluation: one thread only.
        {"random numbers",
         [this] {
             SetRandomCounter(CountingRandom);
             AddRegion("x^2+y^2-25+random(9)", "<0", 100, bsSolid);
             AddFunction(ftRelation, "x^2+y^2-16-random(3)", "=0");
         },
         false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        graphs.Clear();
        view.XInterval = view.YInterval = {1, -10, 10};
        view.DrawLimits = TDrawLimits{};
        c.Set();
        // Colours of their own, so that a canvas state left by the wrong graph shows.
        for (int i = 0; i < graphs.Count(); ++i) {
            graphs.Function(i)->GraphStyle.LineColor = 0x203040 + 0x10 * static_cast<TColor>(i);
            graphs.Function(i)->GraphStyle.BrushColor = 0x405060 + 0x10 * static_cast<TColor>(i);
        }
        const TRedrawResult one = RedrawWith(1);
        ASSERT_FALSE(one.Ops.empty());
        EXPECT_EQ(one.SharedPlots, 0u);
        for (const int threads : {2, 3, 4}) {
            SCOPED_TRACE(testing::Message() << threads << " threads");
            const TRedrawResult many = RedrawWith(threads);
            EXPECT_EQ(many.SharedPlots > 0, c.Shared);
            EXPECT_EQ(FirstDifference(one.Ops, many.Ops), -1)
                << one.Ops.size() << " operations against " << many.Ops.size();
            EXPECT_EQ(many.Evaluations, one.Evaluations);
            EXPECT_EQ(many.Work, one.Work);
            EXPECT_EQ(many.SavedPen, one.SavedPen);
            EXPECT_EQ(many.SavedBrush, one.SavedBrush);
            EXPECT_EQ(many.SavedFont, one.SavedFont);
            EXPECT_EQ(many.Pen, one.Pen);
            EXPECT_EQ(many.Brush, one.Brush);
            EXPECT_EQ(many.Font, one.Font);
            EXPECT_EQ(many.Variables, one.Variables);
        }
    }
}

// Outside a redraw the margins are measured at every mapping, so an implicit curve plotted on
// its own stays on the caller's thread.
TEST_F(SharedWorkTest, ACurvePlottedOnItsOwnStaysOnOneThread) {
    view.Threads = 4;
    Plot(AddFunction(ftRelation, "x^2+y^2-25", "=0"));
    EXPECT_GT(Count(TCanvasOpKind::SetPixel), 100u);
    EXPECT_EQ(view.SharedPlots, 0u);
}

// Inside a redraw every mapping saves the canvas state, and a graph's last restore brings back
// what the last mapping saved: the region's own brush, not the one before it.
TEST_F(SharedWorkTest, ARegionLeavesTheStateItsMappingsSaved) {
    TFunctionObj& region = AddRegion("x^2+y^2-9", "<0", 100, bsCross);
    region.GraphStyle.BrushColor = clRed;
    for (const int threads : {1, 2}) {
        const TRedrawResult r = RedrawWith(threads);
        EXPECT_EQ(r.SavedBrush, (TBrush{clRed, bsCross})) << threads;
        EXPECT_EQ(r.Brush, (TBrush{clRed, bsCross})) << threads;
    }
}

} // namespace
} // namespace curvana
