#include "expr/varmemory.h"

#include <gtest/gtest.h>

namespace curvana {
namespace {

TEST(VarMemory, AddVariableNeverDuplicates) {
    TVarMemory list;
    EXPECT_EQ(list.AddVariable("x", 1), 0);
    EXPECT_EQ(list.AddVariable("y", 2), 1);
    EXPECT_EQ(list.AddVariable("x", 5), -1);
    EXPECT_EQ(list.ValueOf("x"), 1); // the existing item is left alone
    EXPECT_EQ(list.AddVariable("", 3), 2);
    EXPECT_EQ(list.At(2)->Name, "UnKnown");
    EXPECT_EQ(list.AddVariable("X", 4), 3); // case-sensitive
    EXPECT_EQ(list.Count(), 4);
}

TEST(VarMemory, SetValueReplacesOrAppends) {
    TVarMemory list;
    list.AddVariable("x", 1);
    list.SetValue("x", 7);
    list.SetValue("z", 9);
    list.SetValue("", 4);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(0)->Value, 7);
    EXPECT_EQ(list.At(1)->Name, "z");
    EXPECT_EQ(list.At(1)->Value, 9);
    EXPECT_EQ(list.ValueOf("UnKnown"), 4);
}

TEST(VarMemory, LookupsAndRemoval) {
    TVarMemory list;
    list.AddVariable("x", 1.5);
    list.AddVariable("y", -2);
    EXPECT_TRUE(list.HasVariable("y"));
    EXPECT_FALSE(list.HasVariable("Y"));
    EXPECT_EQ(list.ValueOf("missing"), 0);
    EXPECT_TRUE(list.RemoveVariable("x"));
    EXPECT_FALSE(list.RemoveVariable("x"));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.At(0)->Name, "y");
    EXPECT_EQ(list.At(1), nullptr);
    EXPECT_EQ(list.At(-1), nullptr);
}

TEST(VarMemory, LongestPrefixMatchOverNames) {
    TVarMemory list;
    list.AddVariable("t", 0);
    list.AddVariable("tt", 0);
    list.AddVariable("ab", 0);
    list.AddVariable("ac", 0); // same length as "ab": the earlier wins where both could match
    EXPECT_EQ(list.LongestPrefixMatch("ttx"), 1);
    EXPECT_EQ(list.LongestPrefixMatch("t+1"), 0);
    EXPECT_EQ(list.LongestPrefixMatch("ac"), 3);
    EXPECT_EQ(list.LongestPrefixMatch("a"), -1);
    EXPECT_EQ(list.LongestPrefixMatch(""), -1);
}

TEST(VarMemory, StampChangesWithNamesOnly) {
    TVarMemory list;
    TVarMemory other;
    EXPECT_NE(list.Stamp(), other.Stamp());
    auto stamp = list.Stamp();
    list.AddVariable("x", 0);
    EXPECT_NE(list.Stamp(), stamp);
    stamp = list.Stamp();
    list.SetValue("x", 3);
    list.AddVariable("x", 1); // exists: no change
    EXPECT_EQ(list.Stamp(), stamp);
    list.SetValue("y", 1);
    EXPECT_NE(list.Stamp(), stamp);
    stamp = list.Stamp();
    list.RemoveVariable("y");
    EXPECT_NE(list.Stamp(), stamp);
}

} // namespace
} // namespace curvana
