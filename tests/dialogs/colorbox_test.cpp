#include "dialogs/colorbox.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace curvana {
namespace {

TEST(ColorBox, StandardColoursWithNamesAfterTheCustomItem) {
    TColorBox box;
    ASSERT_EQ(box.count(), 17);
    EXPECT_EQ(box.itemText(0), QStringLiteral("Custom..."));
    const struct {
        const char* Name;
        TColor Color;
    } expected[] = {
        {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
        {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
        {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
        {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF}};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(box.itemText(i + 1).toStdString(), expected[i].Name);
        EXPECT_EQ(box.ItemColor(i + 1), expected[i].Color) << expected[i].Name;
        box.SetSelected(expected[i].Color);
        EXPECT_EQ(box.currentIndex(), i + 1) << expected[i].Name;
        EXPECT_EQ(box.Selected(), expected[i].Color);
    }
}

TEST(ColorBox, OtherColoursBecomeTheCustomItemAndStayExact) {
    TColorBox box;
    const TColor values[] = {0x123456, 0x010101, SystemColor(5)};
    for (TColor value : values) {
        box.SetSelected(value);
        EXPECT_EQ(box.currentIndex(), TColorBox::CustomIndex);
        EXPECT_EQ(box.Selected(), value);
    }
    // A standard colour afterwards selects its own item; the custom item keeps its colour.
    box.SetSelected(0x0000FF);
    EXPECT_EQ(box.itemText(box.currentIndex()), QStringLiteral("Red"));
    EXPECT_EQ(box.ItemColor(TColorBox::CustomIndex), SystemColor(5));
}

class ColorBoxCustom : public ::testing::Test {
protected:
    ColorBoxCustom() {
        Box.SetColorChooser([this](QWidget*, TColor initial) {
            Asked.push_back(initial);
            return Answer;
        });
        Box.SetSelected(0x008000);
    }
    // The presenter moves to the custom item with the keyboard.
    void PickCustom() { QTest::keyClick(&Box, Qt::Key_Home); }

    TColorBox Box;
    std::optional<TColor> Answer;
    std::vector<TColor> Asked;
};

TEST_F(ColorBoxCustom, ChosenColourIsSelectedAndReported) {
    QSignalSpy changes(&Box, &TColorBox::SelectedChanged);
    Answer = 0x3366CC;
    PickCustom();
    ASSERT_EQ(Asked.size(), 1u);
    EXPECT_EQ(Asked[0], clBlack) << "the custom item's colour is where the question starts";
    EXPECT_EQ(Box.currentIndex(), TColorBox::CustomIndex);
    EXPECT_EQ(Box.Selected(), 0x3366CC);
    ASSERT_FALSE(changes.isEmpty());
    EXPECT_EQ(changes.last().at(0).value<TColor>(), 0x3366CC);

    // Asked again, the question starts from the colour chosen last.
    Box.SetSelected(0x008000);
    PickCustom();
    ASSERT_EQ(Asked.size(), 2u);
    EXPECT_EQ(Asked[1], 0x3366CC);
}

TEST_F(ColorBoxCustom, CancelledQuestionKeepsTheColourSelectedBefore) {
    Answer.reset();
    PickCustom();
    EXPECT_EQ(Asked.size(), 1u);
    EXPECT_EQ(Box.Selected(), 0x008000);
    EXPECT_EQ(Box.itemText(Box.currentIndex()), QStringLiteral("Green"));
}

} // namespace
} // namespace curvana
