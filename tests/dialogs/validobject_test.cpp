#include "dialogs/validobject.h"

#include "common/decimalseparator.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace curvana {
namespace {

TEST(StackInt, PopsInOrderOfPushAndMinusOneWhenEmpty) {
    TStackInt queue;
    EXPECT_EQ(queue.Pop(), -1);
    for (int value : {7, 3, 9})
        queue.Push(value);
    EXPECT_EQ(queue.Pop(), 7);
    queue.Push(4);
    EXPECT_EQ(queue.Pop(), 3);
    EXPECT_EQ(queue.Pop(), 9);
    EXPECT_EQ(queue.Pop(), 4);
    EXPECT_EQ(queue.Pop(), -1);
    EXPECT_EQ(queue.Count(), 0);
}

TEST(ValidObject, StartsWithNothingFailedAndItsFallbacks) {
    TValidObject valid;
    EXPECT_EQ(valid.ErrorCode, 0);
    EXPECT_TRUE(valid.CollectErrors);
    EXPECT_EQ(valid.FloatDefault, -9999999.999);
    EXPECT_EQ(valid.IntDefault, -9999999);
    EXPECT_EQ(valid.PopError(), 0);
    EXPECT_EQ(valid.FirstErrorText(), "");
}

TEST(ValidObject, MessageOfFindsTheFirstRegistrationOfACode) {
    TValidObject valid;
    valid.AddMessage(2, "two");
    valid.AddMessage(5, "five");
    valid.AddMessage(2, "second two");
    EXPECT_EQ(valid.MessageOf(2), "two");
    EXPECT_EQ(valid.MessageOf(5), "five");
    EXPECT_EQ(valid.MessageOf(3), "");
    EXPECT_EQ(valid.MessageCount(), 3);
}

enum class TCheck { NotEmpty, Float, Integer, GreaterThanZero, LessThanTwo };

struct TCheckCase {
    TCheck Check;
    std::string Text;
    bool Passes;
};

bool RunCheck(TValidObject& valid, TCheck check, int code) {
    switch (check) {
    case TCheck::NotEmpty:
        return valid.CheckNotEmpty(code);
    case TCheck::Float:
        return valid.CheckFloat(code);
    case TCheck::Integer:
        return valid.CheckInteger(code);
    case TCheck::GreaterThanZero:
        return valid.CheckGreaterThan(code, 0);
    case TCheck::LessThanTwo:
        return valid.CheckLessThan(code, 2);
    }
    return false;
}

TEST(ValidObject, ChecksPassAndFail) {
    TDecimalSeparatorScope separator('.');
    const std::vector<TCheckCase> cases = {
        {TCheck::NotEmpty, "1", true},
        {TCheck::NotEmpty, "", false},
        {TCheck::NotEmpty, " \t\r\n ", false},
        {TCheck::NotEmpty, "  x  ", true},
        // A multi-byte character is text, not a blank.
        {TCheck::NotEmpty, "\xe4\xb8\xad", true},
        {TCheck::Float, " -1.5e3 ", true},
        {TCheck::Float, "0", true},
        {TCheck::Float, "", false},
        {TCheck::Float, "abc", false},
        {TCheck::Float, "1,5", false},
        {TCheck::Float, "1e400", false},
        {TCheck::Float, "-9999999.999", false},
        {TCheck::Float, "-9999999.998", true},
        {TCheck::Integer, "-12", true},
        {TCheck::Integer, "12.5", false},
        {TCheck::Integer, "", false},
        {TCheck::Integer, "99999999999", false},
        {TCheck::Integer, "-9999999", false},
        {TCheck::Integer, "-9999998", true},
        {TCheck::GreaterThanZero, "0.001", true},
        {TCheck::GreaterThanZero, "0", false},
        {TCheck::GreaterThanZero, "-3", false},
        {TCheck::GreaterThanZero, "abc", false},
        {TCheck::LessThanTwo, "1.999", true},
        {TCheck::LessThanTwo, "2", false},
        // Text that is no number takes the fallback far below the limit.
        {TCheck::LessThanTwo, "abc", true},
    };
    for (const TCheckCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "check " << static_cast<int>(c.Check) << " text '" << c.Text << "'");
        TValidObject valid;
        valid.SetText(c.Text);
        EXPECT_EQ(RunCheck(valid, c.Check, 17), c.Passes);
        EXPECT_EQ(valid.ErrorCode, c.Passes ? 0 : 17);
        EXPECT_EQ(valid.PopError(), c.Passes ? 0 : 17);
    }
}

TEST(ValidObject, NumbersFollowTheRegionalSeparator) {
    TDecimalSeparatorScope separator(',');
    TValidObject valid;
    valid.SetText("1,5");
    EXPECT_TRUE(valid.CheckFloat(1));
    EXPECT_TRUE(valid.CheckLessThan(2, 2));
    valid.SetText("1.5");
    EXPECT_TRUE(valid.CheckFloat(3)) << "a point reads in every locale";
    valid.SetText("1,5.2");
    EXPECT_FALSE(valid.CheckFloat(3));
    EXPECT_EQ(valid.RealOf("0,25"), 0.25);
    EXPECT_EQ(valid.RealOf("x"), -9999999.999);
    EXPECT_EQ(valid.IntOf("x"), -9999999);
}

TEST(ValidObject, LessThanTextComparesValuesAndFailsOnEqual) {
    TDecimalSeparatorScope separator('.');
    const struct {
        const char* Text;
        const char* Other;
        bool Passes;
    } cases[] = {
        {"1", "2", true},      {"2", "2.0", false}, {"3", "2", false},
        {"-1e2", "-99", true}, {"1", "abc", false}, {"abc", "1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Text << " < " << c.Other);
        TValidObject valid;
        valid.SetText(c.Text);
        EXPECT_EQ(valid.CheckLessThanText(c.Other, 9), c.Passes);
        EXPECT_EQ(valid.ErrorCode, c.Passes ? 0 : 9);
    }
}

TEST(ValidObject, FirstErrorTextReportsTheFirstFailureWhileErrorCodeHoldsTheLast) {
    TDecimalSeparatorScope separator('.');
    TValidObject valid;
    valid.SetText("");
    valid.AddMessage(1, "empty");
    EXPECT_FALSE(valid.CheckNotEmpty(1));
    valid.AddMessage(2, "not a number");
    EXPECT_FALSE(valid.CheckFloat(2));
    valid.SetText("5");
    valid.AddMessage(3, "too big");
    EXPECT_TRUE(valid.CheckLessThan(3, 9));
    valid.AddMessage(4, "too small");
    EXPECT_FALSE(valid.CheckGreaterThan(4, 6));

    EXPECT_EQ(valid.ErrorCode, 4);
    EXPECT_EQ(valid.FirstErrorText(), "empty");
    EXPECT_EQ(valid.FirstErrorText(), "not a number");
    EXPECT_EQ(valid.PopError(), 4);
    EXPECT_EQ(valid.PopError(), 0);
    EXPECT_EQ(valid.FirstErrorText(), "");
}

TEST(ValidObject, WithoutCollectingNothingIsQueued) {
    TValidObject valid;
    valid.CollectErrors = false;
    valid.AddMessage(1, "empty");
    EXPECT_FALSE(valid.CheckNotEmpty(1));
    EXPECT_EQ(valid.ErrorCode, 1);
    EXPECT_EQ(valid.ErrorQueue.Count(), 0);
    EXPECT_EQ(valid.PopError(), 0);
    EXPECT_EQ(valid.FirstErrorText(), "");
}

} // namespace
} // namespace curvana
