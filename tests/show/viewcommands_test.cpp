#include "show/viewcommands.h"

#include "common/errors.h"
#include "view/coordinate.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>

namespace curvana {
namespace {

struct TMoveCase {
    const char* Name;
    std::function<void(TCoordinate&)> Command;
    double XMin, XMax, YMin, YMax;
};

// X from -10 to 10 with ticks every 1, Y from 2 to 6 with ticks every 0.5.
void StartView(TCoordinate& view) {
    view.XInterval = {1, -10, 10};
    view.XAxesTicksStep = 1;
    view.YInterval = {1, 2, 6};
    view.YAxesTicksStep = 0.5;
}

class ViewCommandsTest : public ::testing::Test {
protected:
    ViewCommandsTest() { StartView(View); }
    TCoordinate View;
};

TEST(ViewCommands, MovesAndCentreChangeOnlyTheIntervals) {
    const TMoveCase cases[] = {
        {"Right", MoveRight, -9, 11, 2, 6},        {"Left", MoveLeft, -11, 9, 2, 6},
        {"Up", MoveUp, -10, 10, 2.5, 6.5},         {"Down", MoveDown, -10, 10, 1.5, 5.5},
        {"RightMore", MoveRightMore, 0, 20, 2, 6}, {"LeftMore", MoveLeftMore, -20, 0, 2, 6},
        {"UpMore", MoveUpMore, -10, 10, 4, 8},     {"DownMore", MoveDownMore, -10, 10, 0, 4},
        {"Center", ViewCenter, -10, 10, -2, 2},
    };
    for (const TMoveCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCoordinate view;
        StartView(view);
        c.Command(view);
        EXPECT_EQ(view.XInterval.Min, c.XMin);
        EXPECT_EQ(view.XInterval.Max, c.XMax);
        EXPECT_EQ(view.YInterval.Min, c.YMin);
        EXPECT_EQ(view.YInterval.Max, c.YMax);
        EXPECT_EQ(view.XAxesTicksStep, 1);
        EXPECT_EQ(view.YAxesTicksStep, 0.5);
    }
}

TEST_F(ViewCommandsTest, HalfWidthMovesUseTheAbsoluteWidthOfAReversedInterval) {
    View.XInterval = {1, 4, -2};
    MoveRightMore(View);
    EXPECT_EQ(View.XInterval.Min, 7);
    EXPECT_EQ(View.XInterval.Max, 1);
}

TEST_F(ViewCommandsTest, CentreLeavesAnIntervalOfWidthZero) {
    View.XInterval = {1, 3, 3};
    ViewCenter(View);
    EXPECT_EQ(View.XInterval.Min, 3);
    EXPECT_EQ(View.XInterval.Max, 3);
    EXPECT_EQ(View.YInterval.Min, -2);
    EXPECT_EQ(View.YInterval.Max, 2);
}

TEST_F(ViewCommandsTest, MoveStepIsReadAfterAZoom) {
    ExpandHor(View);
    MoveRight(View);
    EXPECT_EQ(View.XInterval.Min, -18);
    EXPECT_EQ(View.XInterval.Max, 22);
}

TEST_F(ViewCommandsTest, ZoomScalesAboutTheOriginWithTicksLabelsAndEnabledGrid) {
    View.XAxesLabelsStep = 2;
    View.GridVerEnabled = 1;
    View.GridVerStep = 0.5;
    View.GridHorEnabled = 0;
    View.GridHorStep = 3;
    View.YAxesLabelsStep = 1;

    ExpandHor(View);
    EXPECT_EQ(View.XInterval.Min, -20);
    EXPECT_EQ(View.XInterval.Max, 20);
    EXPECT_EQ(View.XAxesTicksStep, 2);
    EXPECT_EQ(View.XAxesLabelsStep, 4);
    EXPECT_EQ(View.GridVerStep, 1);

    ContractHor(View);
    EXPECT_EQ(View.XInterval.Min, -10);
    EXPECT_EQ(View.XInterval.Max, 10);
    EXPECT_EQ(View.XAxesTicksStep, 1);
    EXPECT_EQ(View.XAxesLabelsStep, 2);
    EXPECT_EQ(View.GridVerStep, 0.5);

    // The view from 2 to 6 zooms out to 4 to 12: about the origin, not its centre.
    ExpandVer(View);
    EXPECT_EQ(View.YInterval.Min, 4);
    EXPECT_EQ(View.YInterval.Max, 12);
    EXPECT_EQ(View.YAxesTicksStep, 1);
    EXPECT_EQ(View.YAxesLabelsStep, 2);
    EXPECT_EQ(View.GridHorStep, 3) << "a disabled grid keeps its step";
    ContractVer(View);
    ContractVer(View);
    EXPECT_EQ(View.YInterval.Min, 1);
    EXPECT_EQ(View.YInterval.Max, 3);
    EXPECT_EQ(View.GridHorStep, 3);
    EXPECT_EQ(View.GridVerStep, 0.5) << "the y zoom leaves the vertical grid";
}

TEST_F(ViewCommandsTest, RadialGridStepFollowsOnlyWhileEnabledAndAngularNever) {
    View.GridRadialStep = 2;
    View.GridAngularStep = 0.25;
    View.GridAngularEnabled = 1;
    ExpandRadialGrid(View);
    EXPECT_EQ(View.GridRadialStep, 2);
    View.GridRadialEnabled = 1;
    ContractRadialGrid(View);
    EXPECT_EQ(View.GridRadialStep, 1);
    ExpandRadialGrid(View);
    ExpandRadialGrid(View);
    EXPECT_EQ(View.GridRadialStep, 4);
    EXPECT_EQ(View.GridAngularStep, 0.25);
}

TEST_F(ViewCommandsTest, SumsAreFormedInExtendedPrecision) {
    // 2^53 + (1 + 2^-11) lies just above the midpoint 2^53 + 1 of two doubles: a double sum
    // rounds up to 2^53 + 2, while the extended sum rounds to 2^53 + 1 first and then, stored,
    // to the even 2^53.
    const double big = 9007199254740992.0;
    View.XInterval = {1, big, big + 4};
    View.XAxesTicksStep = 1 + 0x1p-11;
    MoveRight(View);
    EXPECT_EQ(View.XInterval.Min, big);
    EXPECT_EQ(View.XInterval.Max, big + 4);
    // Half of a width that overflows a double still fits: centring works on a huge view.
    View.XInterval = {1, -DBL_MAX, DBL_MAX};
    ViewCenter(View);
    EXPECT_EQ(View.XInterval.Min, -DBL_MAX);
    EXPECT_EQ(View.XInterval.Max, DBL_MAX);
}

TEST_F(ViewCommandsTest, OverflowThrowsAndLeavesEverySettingAsItWas) {
    View.XInterval = {1, -1, DBL_MAX};
    View.XAxesTicksStep = 1;
    View.XAxesLabelsStep = 1;
    View.GridVerEnabled = 1;
    View.GridVerStep = 1;
    EXPECT_THROW(ExpandHor(View), EOverflow);
    EXPECT_EQ(View.XInterval.Min, -1);
    EXPECT_EQ(View.XInterval.Max, DBL_MAX);
    EXPECT_EQ(View.XAxesTicksStep, 1);
    EXPECT_EQ(View.GridVerStep, 1);

    View.XInterval = {1, -DBL_MAX, 0};
    View.XAxesTicksStep = DBL_MAX;
    EXPECT_THROW(MoveLeft(View), EOverflow);
    EXPECT_EQ(View.XInterval.Min, -DBL_MAX);
    EXPECT_EQ(View.XInterval.Max, 0);
}

} // namespace
} // namespace curvana
