#include "drawfixture.h"
#include "view/graphcaption.h"

namespace curvana {
namespace {

class LegendTest : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        view.LegendEnabled = 1;
        view.GraphList = &graphs;
    }
};

TEST(GraphCaption, ByKind) {
    struct Case {
        TEnum8 type;
        const char* exp;
        const char* addExp;
        const char* caption;
    };
    for (const Case& c : {Case{ftYofX, "sin(x)", "", "Y(x)=sin(x)"},
                          Case{ftXofY, "y^2", "", "X(y)=y^2"}, Case{ftPolar, "2*a", "", "R(a)=2*a"},
                          Case{ftParametric, "cos(t)", "sin(t)", "X(t)=cos(t) ; Y(t)=sin(t)"},
                          Case{ftRelation, "x^2+y^2-1", " =0 ", "f(x,y)=x^2+y^2-1 =0 "},
                          Case{ftRelation, "x", "<0", "f(x,y)=x<0"}, Case{5, "x", "", ""}}) {
        TFunctionObj f;
        f.FunctionObjType = c.type;
        f.Exp = c.exp;
        f.AddExp = c.addExp;
        EXPECT_EQ(GraphCaption(f), c.caption);
    }
    TTableObj t;
    for (int i = 0; i < 12; ++i)
        t.AddPoint(i, i);
    EXPECT_EQ(GraphCaption(t), "Table: 12 Items");
}

TEST_F(LegendTest, OneLineEntryAboveTheBottomEdge) {
    AddFunction(ftYofX, "sin(x)").GraphStyle.LineColor = clRed;
    AddTable({{0, 0}, {1, 1}}).ShowEnabled = 0;
    view.DrawLegend();
    ASSERT_EQ(Texts(), std::vector<std::string>{"Y(x)=sin(x)"});
    const TCanvasOp* text = TextOp("Y(x)=sin(x)");
    EXPECT_EQ(text->Points[0], (TPoint{336, 397}));
    EXPECT_EQ(text->Font.Color, clBlack);
    EXPECT_EQ(Lines(), (std::vector<std::pair<TPoint, TPoint>>{{{276, 404}, {326, 404}}}));
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::LineTo)[0]->Pen.Color, clRed);
    EXPECT_NE(canvas.Font.Color, clBlack); // the canvas state is back
}

TEST_F(LegendTest, Positions) {
    struct Case {
        TEnum8 position;
        std::int32_t sample, text;
    };
    AddFunction(ftYofX, "x");
    for (const Case& c :
         {Case{0, 20, 80}, Case{1, 276, 336}, Case{2, 444, 504}, Case{7, 276, 336}}) {
        SCOPED_TRACE(int(c.position));
        canvas.Clear();
        view.LegendPosition = c.position;
        view.DrawLegend();
        EXPECT_EQ(Lines()[0].first.X, c.sample);
        EXPECT_EQ(TextOp("Y(x)=x")->Points[0].X, c.text);
    }
}

TEST_F(LegendTest, EntriesStackUpwardInListOrder) {
    AddFunction(ftParametric, "cos(t)", "sin(t)");
    AddFunction(9, "unknown"); // no caption, no line
    TTableObj& table = AddTable({});
    for (int i = 0; i < 12; ++i)
        table.AddPoint(i, i);
    TFunctionObj& region = AddFunction(ftRelation, "x^2+y^2-1", "<0");
    region.GraphStyle.BrushStyle = bsSolid;
    region.GraphStyle.BrushColor = clBlue;
    AddFunction(ftRelation, "x^2+y^2-1", "=0");
    view.TitleBottomEnabled = 1; // 13 pixels high: the first line at 433 - 33 - 16
    view.DrawLegend();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"X(t)=cos(t) ; Y(t)=sin(t)", "Table: 12 Items",
                                                 "f(x,y)=x^2+y^2-1<0", "f(x,y)=x^2+y^2-1=0"}));
    const auto texts = canvas.OfKind(TCanvasOpKind::TextOut);
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(texts[i]->Points[0].Y, 384 - 16 * static_cast<std::int32_t>(i));
    // The region's entry is a filled box without outline, in the graph's brush.
    const auto boxes = canvas.OfKind(TCanvasOpKind::Rectangle);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->Points, (std::vector<TPoint>{{276, 353}, {326, 367}}));
    EXPECT_EQ(boxes[0]->Pen.Style, psClear);
    EXPECT_EQ(boxes[0]->Pen.Color, clWhite);
    EXPECT_EQ(boxes[0]->Brush, (TBrush{clBlue, bsSolid}));
    EXPECT_EQ(Count(TCanvasOpKind::LineTo), 3u); // samples of the three line entries
}

TEST_F(LegendTest, StopsNearTheTop) {
    view.Height = 250;
    for (int i = 0; i < 6; ++i)
        AddFunction(ftYofX, "x+" + std::to_string(i));
    view.DrawLegend();
    // 250 - 84 = 166 ends the legend after four lines.
    ASSERT_EQ(Texts().size(), 4u);
    EXPECT_EQ(canvas.OfKind(TCanvasOpKind::TextOut).back()->Points[0].Y, 166);
}

TEST_F(LegendTest, SampleAndColourSwitches) {
    AddFunction(ftYofX, "x").GraphStyle.LineColor = clRed;
    AddFunction(ftRelation, "x", ">0").GraphStyle.LineColor = clBlue;
    view.ShowSampleEnabled = 0;
    view.TextColorAsGraphEnabled = 1;
    view.DrawLegend();
    EXPECT_EQ(Count(TCanvasOpKind::LineTo) + Count(TCanvasOpKind::Rectangle), 0u);
    EXPECT_EQ(TextOp("Y(x)=x")->Font.Color, clRed);
    EXPECT_EQ(TextOp("f(x,y)=x>0")->Font.Color, clBlue);

    canvas.Clear();
    view.TextColorAsGraphEnabled = 2; // only 1 colours the text
    view.DrawLegend();
    EXPECT_EQ(TextOp("Y(x)=x")->Font.Color, clBlack);

    canvas.Clear();
    view.LegendEnabled = 0;
    view.DrawLegend();
    view.LegendEnabled = 1;
    view.GraphList = nullptr;
    view.DrawLegend();
    EXPECT_TRUE(canvas.Ops.empty());
}

// Legend text stands out from what it is written on: black text on a dark background turns
// white, and so does text on the box of a dark solid fill; a light background and light fills
// keep it black. A graph's own colour is kept on the background it chose, but not on a fill box
// of (nearly) its own colour.
TEST_F(LegendTest, TextStaysReadableOnTheBackgroundAndOnSolidFills) {
    constexpr TColor darkBlue = 0x800000;
    constexpr TColor paleYellow = 0xC0FFFF;
    TFunctionObj& curve = AddFunction(ftYofX, "x");
    curve.GraphStyle.LineColor = clRed;
    TFunctionObj& region = AddFunction(ftRelation, "x", ">0");
    region.GraphStyle.BrushStyle = bsSolid;
    struct Case {
        const char* name;
        TColor background, fill;
        TFlag graphColour;
        TColor curveText, regionText;
    };
    for (const Case& c : {
             Case{"white, light fill", clWhite, paleYellow, 0, clBlack, clBlack},
             Case{"white, dark fill", clWhite, darkBlue, 0, clBlack, clWhite},
             Case{"black, light fill", clBlack, paleYellow, 0, clWhite, clBlack},
             Case{"graph colours on black", clBlack, clRed, 1, clRed, clBlack},
             Case{"graph colour on its own dark fill", clWhite, darkBlue, 1, clRed, clWhite},
         }) {
        SCOPED_TRACE(c.name);
        canvas.Clear();
        view.BackgroundColor = c.background;
        view.TextColorAsGraphEnabled = c.graphColour;
        region.GraphStyle.BrushColor = c.fill;
        region.GraphStyle.LineColor = c.fill;
        view.DrawLegend();
        EXPECT_EQ(TextOp("Y(x)=x")->Font.Color, c.curveText);
        EXPECT_EQ(TextOp("f(x,y)=x>0")->Font.Color, c.regionText);
    }
}

} // namespace
} // namespace curvana
