#include "model/functionobj.h"
#include "model/graphstyle.h"
#include "model/interval.h"
#include "model/memory.h"
#include "model/plotparameter.h"
#include "model/tableobj.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace curvana {
namespace {

// A function graph with every field away from its default.
void FillFunction(TFunctionObj& f) {
    f.Name = "parabola";
    f.Exp = "x^2";
    f.AddExp = "<0";
    f.ShowEnabled = 1;
    f.Description = "a curve";
    f.GraphStyle = {3, psDash, 0x0000FF, bsCross, 0x00FF00};
    f.Interval = {1, -2, 5};
    f.AddInterval = {0, -7, 8};
    f.PlotParameter = {1000, 20, 30, 40};
    f.FunctionObjType = ftRelation;
}

std::vector<std::pair<double, double>> PointsOf(const TTableObj& t) {
    std::vector<std::pair<double, double>> result;
    for (int i = 0; i < t.Count(); ++i)
        result.emplace_back(t.Point(i).x, t.Point(i).y);
    return result;
}

TEST(ModelDefaults, ValueClasses) {
    const TGraphStyle style;
    EXPECT_EQ(style.LineWidth, 1);
    EXPECT_EQ(style.LineStyle, psSolid);
    EXPECT_EQ(style.LineColor, clBlack);
    EXPECT_EQ(style.BrushStyle, bsBDiagonal); // a hatch, not solid or clear
    EXPECT_EQ(style.BrushColor, clBlack);

    const TInterval plain;
    EXPECT_EQ(plain.Min, 0);
    EXPECT_EQ(plain.Max, 0);
    EXPECT_EQ(plain.Enabled, 0);
    const TInterval given(1, -10, 10);
    EXPECT_EQ(given.Enabled, 1);
    EXPECT_EQ(given.Min, -10);
    EXPECT_EQ(given.Max, 10);

    const TPlotParameter parameter;
    EXPECT_EQ(parameter.Steps, 500);
    EXPECT_EQ(parameter.StepsOnX, 50);
    EXPECT_EQ(parameter.StepsOnY, 50);
    EXPECT_EQ(parameter.MaxGap, 300);
}

TEST(ModelDefaults, Graphs) {
    const TFunctionObj f;
    EXPECT_EQ(f.Name, "UnknownFunctionObj");
    EXPECT_EQ(f.Exp, "");
    EXPECT_EQ(f.AddExp, "");
    EXPECT_EQ(f.ShowEnabled, 0);
    EXPECT_EQ(f.Description, "Unknown Description");
    EXPECT_EQ(f.GraphStyle, TGraphStyle());
    EXPECT_EQ(f.Interval, TInterval());
    EXPECT_EQ(f.AddInterval, TInterval());
    EXPECT_EQ(f.PlotParameter, TPlotParameter());
    EXPECT_EQ(f.FunctionObjType, ftYofX);

    const TTableObj t;
    EXPECT_EQ(t.Name, "UnknownTableObj");
    EXPECT_EQ(t.ShowEnabled, 0);
    EXPECT_EQ(t.Description, "Unknown Description");
    EXPECT_EQ(t.GraphStyle, TGraphStyle());
    EXPECT_EQ(t.Interval, TInterval());
    EXPECT_EQ(t.PlotParameter, TPlotParameter());
    EXPECT_EQ(t.Smooth, 0);
    EXPECT_EQ(t.SortingType, 0);
    EXPECT_EQ(t.Count(), 0);
}

TEST(ModelAssign, ValueClassesCopyEveryField) {
    TInterval interval;
    interval.Assign(TInterval(1, 2, 3));
    EXPECT_EQ(interval, TInterval(1, 2, 3)); // Enabled too, not only the ends

    TGraphStyle style;
    const TGraphStyle source{4, psDashDotDot, 0x123456, bsClear, 0x654321};
    style.Assign(source);
    EXPECT_EQ(style, source);

    TPlotParameter parameter;
    parameter.Assign({1, 2, 3, 4});
    EXPECT_EQ(parameter, (TPlotParameter{1, 2, 3, 4}));
}

TEST(ModelAssign, FunctionKeepsItsSubObjectsAndCopiesEverything) {
    TFunctionObj source;
    FillFunction(source);
    TFunctionObj target;
    const TGraphStyle* style = &target.GraphStyle;
    const TInterval* interval = &target.Interval;
    const TInterval* addInterval = &target.AddInterval;
    const TPlotParameter* parameter = &target.PlotParameter;

    target.Assign(source);

    EXPECT_EQ(&target.GraphStyle, style);
    EXPECT_EQ(&target.Interval, interval);
    EXPECT_EQ(&target.AddInterval, addInterval);
    EXPECT_EQ(&target.PlotParameter, parameter);
    TFunctionObj expected;
    FillFunction(expected);
    EXPECT_EQ(target.Name, expected.Name);
    EXPECT_EQ(target.Exp, expected.Exp);
    EXPECT_EQ(target.AddExp, expected.AddExp);
    EXPECT_EQ(target.ShowEnabled, expected.ShowEnabled);
    EXPECT_EQ(target.Description, expected.Description);
    EXPECT_EQ(target.GraphStyle, expected.GraphStyle);
    EXPECT_EQ(target.Interval, expected.Interval);
    EXPECT_EQ(target.AddInterval, expected.AddInterval);
    EXPECT_EQ(target.PlotParameter, expected.PlotParameter);
    EXPECT_EQ(target.FunctionObjType, expected.FunctionObjType);

    // Independent afterwards.
    source.GraphStyle.LineWidth = 9;
    source.Interval.Max = 99;
    EXPECT_EQ(target.GraphStyle.LineWidth, 3);
    EXPECT_EQ(target.Interval.Max, 5);
}

TEST(ModelAssign, TableReplacesPointsAndSharesNone) {
    TTableObj source;
    source.Name = "measured";
    source.ShowEnabled = 1;
    source.Description = "d";
    source.GraphStyle.LineColor = 0xFF;
    source.Interval = {1, 0, 4};
    source.PlotParameter.Steps = 7;
    source.Smooth = 1;
    source.SortingType = 3;
    source.AddPoint(1, 10);
    source.AddPoint(2, 20);
    source.AddPoint(3, 30);

    TTableObj target;
    target.AddPoint(-1, -1);
    target.AddPoint(-2, -2);
    target.AddPoint(-3, -3);
    target.AddPoint(-4, -4);
    target.Assign(source);

    EXPECT_EQ(PointsOf(target), PointsOf(source));
    for (int i = 0; i < target.Count(); ++i)
        EXPECT_NE(&target.Point(i), &source.Point(i));
    EXPECT_EQ(target.Name, "measured");
    EXPECT_EQ(target.ShowEnabled, 1);
    EXPECT_EQ(target.Description, "d");
    EXPECT_EQ(target.GraphStyle.LineColor, 0xFF);
    EXPECT_EQ(target.Interval, TInterval(1, 0, 4));
    EXPECT_EQ(target.PlotParameter.Steps, 7);
    EXPECT_EQ(target.Smooth, 1);
    EXPECT_EQ(target.SortingType, 3);

    source.Point(0).x = 100;
    EXPECT_EQ(target.Point(0).x, 1);
}

TEST(ModelAssign, SelfAssignmentKeepsTheData) {
    // Removing the own points first must not lose them when source and target are one table.
    TTableObj table;
    table.AddPoint(1, 2);
    table.AddPoint(3, 4);
    table.Assign(table);
    EXPECT_EQ(PointsOf(table), (std::vector<std::pair<double, double>>{{1, 2}, {3, 4}}));

    TFunctionObj f;
    FillFunction(f);
    f.Assign(f);
    EXPECT_EQ(f.Exp, "x^2");
}

TEST(Memory, StoresCopiesInOrderAndTellsTheirKind) {
    TFunctionObj f;
    FillFunction(f);
    TTableObj t;
    t.AddPoint(5, 6);
    TMemory memory;
    TFunctionObj& stored = memory.AddFunctionCopy(f);
    memory.AddTableCopy(t);
    memory.AddFunctionCopy(TFunctionObj());

    EXPECT_NE(&stored, &f);
    f.Exp = "changed";
    f.GraphStyle.LineWidth = 8;
    t.AddPoint(7, 8);
    ASSERT_EQ(memory.Count(), 3);
    EXPECT_EQ(memory.Function(0)->Exp, "x^2");
    EXPECT_EQ(memory.Function(0)->GraphStyle.LineWidth, 3);
    EXPECT_EQ(memory.Table(1)->Count(), 1);

    struct Case {
        int index;
        int kind;
        bool isFunction;
        bool isTable;
    };
    for (const Case c : {Case{-1, gkNone, false, false}, Case{0, gkFunction, true, false},
                         Case{1, gkTable, false, true}, Case{2, gkFunction, true, false},
                         Case{3, gkNone, false, false}, Case{1000, gkNone, false, false}}) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(memory.GraphKind(c.index), c.kind);
        EXPECT_EQ(memory.Function(c.index) != nullptr, c.isFunction);
        EXPECT_EQ(memory.Table(c.index) != nullptr, c.isTable);
    }
}

TEST(Memory, ShowEnabledByIndex) {
    TMemory memory;
    memory.AddFunctionCopy(TFunctionObj()); // hidden by default
    TTableObj visible;
    visible.ShowEnabled = 1;
    memory.AddTableCopy(visible);

    EXPECT_EQ(memory.GetShowEnabled(0), 0);
    EXPECT_EQ(memory.GetShowEnabled(1), 1);
    memory.SetShowEnabled(0, 1);
    memory.SetShowEnabled(1, 0);
    EXPECT_EQ(memory.Function(0)->ShowEnabled, 1);
    EXPECT_EQ(memory.Table(1)->ShowEnabled, 0);

    for (int index : {-1, 2}) {
        SCOPED_TRACE(index);
        memory.SetShowEnabled(index, 1);
        EXPECT_EQ(memory.GetShowEnabled(index), 0);
    }
    EXPECT_EQ(memory.GetShowEnabled(0), 1);
    EXPECT_EQ(memory.GetShowEnabled(1), 0);
}

TEST(Memory, FlagsStayEightBitValues) {
    // A flag written as 2 must reach every consumer as 2, not as a normalised true.
    TFunctionObj f;
    f.ShowEnabled = 2;
    f.Interval.Enabled = 2;
    TTableObj t;
    t.ShowEnabled = 2;
    t.Smooth = 2;
    TMemory memory;
    memory.AddFunctionCopy(f);
    memory.AddTableCopy(t);
    EXPECT_EQ(memory.GetShowEnabled(0), 2);
    EXPECT_EQ(memory.GetShowEnabled(1), 2);
    EXPECT_EQ(memory.Function(0)->Interval.Enabled, 2);
    EXPECT_EQ(memory.Table(1)->Smooth, 2);
    memory.SetShowEnabled(0, 255);
    EXPECT_EQ(memory.GetShowEnabled(0), 255);
}

} // namespace
} // namespace curvana
