#include "dialogs/comboboxlinestyle.h"
#include "dialogs/comboboxlinewidth.h"
#include "model/graphstyle.h"

#include <QAbstractItemView>
#include <QImage>
#include <gtest/gtest.h>

#include <vector>

namespace curvana {
namespace {

bool IsDark(QRgb pixel) {
    return qGray(pixel) < 96;
}

// Lengths of the alternating dark and light runs along one row, starting with the first pixel's.
std::vector<int> Runs(const QImage& image, int y, int fromX, int toX) {
    std::vector<int> runs;
    bool dark = IsDark(image.pixel(fromX, y));
    int length = 0;
    for (int x = fromX; x < toX; ++x) {
        if (IsDark(image.pixel(x, y)) != dark) {
            runs.push_back(length);
            dark = !dark;
            length = 0;
        }
        ++length;
    }
    runs.push_back(length);
    return runs;
}

int DarkRowsInColumn(const QImage& image, int x) {
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        rows += IsDark(image.pixel(x, y)) ? 1 : 0;
    return rows;
}

TEST(LinePickers, FreshPickersOfferFiveItemsWithTheFirstSelected) {
    TComboboxLineWidth width;
    TComboboxLineStyle style;
    for (TOwnerDrawCombo* picker : std::vector<TOwnerDrawCombo*>{&width, &style}) {
        EXPECT_EQ(picker->count(), 5);
        EXPECT_EQ(picker->currentIndex(), 0);
        EXPECT_EQ(picker->size(), QSize(145, 22));
        EXPECT_FALSE(picker->isEditable());
        for (int i = 0; i < picker->count(); ++i)
            EXPECT_EQ(picker->itemText(i), QStringLiteral("null"));
    }
    EXPECT_EQ(width.CD_MaxLineWidth(), 5);
    EXPECT_EQ(style.CD_MaxLineStyle(), 5);
    EXPECT_EQ(style.CD_CurrentPenStyle(), psSolid);
}

struct TRangeCase {
    int Asked;
    int WidthCount;
    int StyleCount;
};

class LinePickerRanges : public ::testing::TestWithParam<TRangeCase> {};

TEST_P(LinePickerRanges, CountIsClampedItemsRebuiltAndFirstSelected) {
    const TRangeCase c = GetParam();
    TComboboxLineWidth width;
    TComboboxLineStyle style;
    // A selection away from the first item, which setting the count must reset.
    width.setCurrentIndex(2);
    style.setCurrentIndex(2);
    width.SetCD_MaxLineWidth(c.Asked);
    style.SetCD_MaxLineStyle(c.Asked);
    EXPECT_EQ(width.CD_MaxLineWidth(), c.WidthCount);
    EXPECT_EQ(width.count(), c.WidthCount);
    EXPECT_EQ(width.maxVisibleItems(), c.WidthCount);
    EXPECT_EQ(width.currentIndex(), 0);
    EXPECT_EQ(style.CD_MaxLineStyle(), c.StyleCount);
    EXPECT_EQ(style.count(), c.StyleCount);
    EXPECT_EQ(style.maxVisibleItems(), c.StyleCount);
    EXPECT_EQ(style.currentIndex(), 0);
    // The same values through the published properties.
    EXPECT_EQ(width.property("CD_MaxLineWidth").toInt(), c.WidthCount);
    EXPECT_EQ(style.property("CD_MaxLineStyle").toInt(), c.StyleCount);
}

INSTANTIATE_TEST_SUITE_P(Counts, LinePickerRanges,
                         ::testing::Values(TRangeCase{-7, 1, 1}, TRangeCase{0, 1, 1},
                                           TRangeCase{1, 1, 1}, TRangeCase{3, 3, 3},
                                           TRangeCase{5, 5, 5}, TRangeCase{9, 9, 5},
                                           TRangeCase{40, 40, 5}));

TEST(LineStylePicker, SelectionReadsAsPenStyle) {
    TComboboxLineStyle picker;
    const TEnum8 expected[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot};
    for (int index = 0; index < 5; ++index) {
        picker.setCurrentIndex(index);
        EXPECT_EQ(picker.CD_CurrentPenStyle(), expected[index]) << "item " << index;
    }
    picker.setCurrentIndex(-1);
    EXPECT_EQ(picker.CD_CurrentPenStyle(), psSolid);
}

TEST(LineStylePicker, PenStyleSelectsItsItemOrTheFirst) {
    const struct {
        int Style;
        int Index;
    } cases[] = {{psSolid, 0}, {psDash, 1},        {psDot, 2}, {psDashDot, 3}, {psDashDotDot, 4},
                 {psClear, 0}, {psInsideFrame, 0}, {7, 0},     {255, 0}};
    for (const auto& c : cases) {
        TComboboxLineStyle picker;
        picker.setCurrentIndex(2);
        picker.SetCD_CurrentPenStyle(static_cast<TEnum8>(c.Style));
        EXPECT_EQ(picker.currentIndex(), c.Index) << "style " << c.Style;
        EXPECT_EQ(picker.property("currentIndex").toInt(), c.Index);
    }
}

TEST(LineStylePicker, StyleBeyondTheOfferedItemsLeavesNoSelection) {
    TComboboxLineStyle picker;
    picker.SetCD_MaxLineStyle(2);
    picker.SetCD_CurrentPenStyle(psDashDot);
    EXPECT_EQ(picker.currentIndex(), -1);
    EXPECT_EQ(picker.CD_CurrentPenStyle(), psSolid);
}

// A picker's item rendered alone, as the list and the closed box show it.
class LineWidthItemDrawing : public ::testing::TestWithParam<int> {};

TEST_P(LineWidthItemDrawing, LineOfTheItemsWidthAfterTheNumber) {
    const int index = GetParam();
    TComboboxLineWidth picker;
    picker.SetCD_MaxLineWidth(9);
    const QImage item = picker.RenderItem(index, QSize(145, 16), false);
    // Middle row 8; the line spans x 15 to 2 * (145 div 2) = 144, the end pixel left out.
    EXPECT_EQ(DarkRowsInColumn(item, 80), index + 1);
    EXPECT_TRUE(IsDark(item.pixel(80, 8)));
    EXPECT_TRUE(IsDark(item.pixel(15 + index, 8)));
    // Wider pens have round ends; the exact ends are those of the thin line.
    if (index == 0) {
        EXPECT_FALSE(IsDark(item.pixel(144, 8)));
        EXPECT_FALSE(IsDark(item.pixel(14, 8)));
        EXPECT_TRUE(IsDark(item.pixel(143, 8)));
    }
    // The number, written from the left edge three pixels down: dark pixels left of the line
    // and none above row 3.
    int textPixels = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 9; ++x)
            if (IsDark(item.pixel(x, y)) && (index == 0 || x < 15 - (index + 1) / 2)) {
                ++textPixels;
                EXPECT_GE(y, 3);
            }
    EXPECT_GT(textPixels, 3);
}

INSTANTIATE_TEST_SUITE_P(Widths, LineWidthItemDrawing, ::testing::Values(0, 1, 2, 4, 8));

TEST(LineWidthItemDrawing, EndAndMiddleFollowTheRectangle) {
    TComboboxLineWidth picker;
    // Odd sizes: the middle is 15 div 2 = 7, the end 2 * (101 div 2) = 100, left out.
    const QImage item = picker.RenderItem(0, QSize(101, 15), false);
    EXPECT_TRUE(IsDark(item.pixel(99, 7)));
    EXPECT_FALSE(IsDark(item.pixel(100, 7)));
    EXPECT_FALSE(IsDark(item.pixel(50, 6)));
    EXPECT_FALSE(IsDark(item.pixel(50, 8)));
}

TEST(LinePickerItemDrawing, SelectedItemOnHighlightWithBlackLine) {
    TComboboxLineWidth picker;
    const QImage selected = picker.RenderItem(2, QSize(145, 16), true);
    const QImage plain = picker.RenderItem(2, QSize(145, 16), false);
    EXPECT_EQ(selected.pixel(100, 1), qRgb(0x00, 0x78, 0xD7));
    EXPECT_EQ(plain.pixel(100, 1), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(selected.pixel(80, 8), qRgb(0, 0, 0));
    // The number in the highlight text colour (white, smoothed) on the highlight.
    bool whiteText = false;
    for (int y = 3; y < 16; ++y)
        for (int x = 0; x < 9; ++x)
            whiteText = whiteText || qGray(selected.pixel(x, y)) > 220;
    EXPECT_TRUE(whiteText);
}

struct TStyleDrawCase {
    int Index;
    std::vector<int> LeadingRuns; // dark, light, dark, ... from x = 0
};

class LineStyleItemDrawing : public ::testing::TestWithParam<TStyleDrawCase> {};

TEST_P(LineStyleItemDrawing, ThinLineOfTheItemsStyleAcrossTheItem) {
    const TStyleDrawCase c = GetParam();
    TComboboxLineStyle picker;
    const QImage item = picker.RenderItem(c.Index, QSize(145, 16), false);
    const std::vector<int> runs = Runs(item, 8, 0, 145);
    ASSERT_TRUE(IsDark(item.pixel(0, 8)));
    ASSERT_GE(runs.size(), c.LeadingRuns.size());
    for (std::size_t i = 0; i < c.LeadingRuns.size(); ++i)
        EXPECT_EQ(runs[i], c.LeadingRuns[i]) << "run " << i;
    // One pixel wide, no text.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 145; ++x)
            if (y != 8) {
                ASSERT_FALSE(IsDark(item.pixel(x, y))) << x << "," << y;
            }
    // The line ends before x = 144.
    EXPECT_FALSE(IsDark(item.pixel(144, 8)));
}

INSTANTIATE_TEST_SUITE_P(Styles, LineStyleItemDrawing,
                         ::testing::Values(TStyleDrawCase{0, {144}},
                                           TStyleDrawCase{1, {18, 6, 18, 6}},
                                           TStyleDrawCase{2, {3, 3, 3, 3}},
                                           TStyleDrawCase{3, {9, 6, 3, 6, 9}},
                                           TStyleDrawCase{4, {9, 3, 3, 3, 3, 3, 9}}));

TEST(LinePickers, ListRowsAreSixteenPixelsHigh) {
    TComboboxLineWidth width;
    TComboboxLineStyle style;
    EXPECT_EQ(width.view()->sizeHintForRow(0), 16);
    EXPECT_EQ(style.view()->sizeHintForRow(4), 16);
}

TEST(LinePickers, ClosedBoxShowsTheSelectedItem) {
    TComboboxLineWidth picker;
    picker.setCurrentIndex(4);
    const QImage closed = picker.grab().toImage();
    // Somewhere in the box a column crosses the five pixel wide line.
    int widest = 0;
    for (int x = 20; x < 100; ++x)
        widest = std::max(widest, DarkRowsInColumn(closed, x));
    EXPECT_EQ(widest, 5);
    picker.setCurrentIndex(-1);
    const QImage empty = picker.grab().toImage();
    int darkest = 0;
    for (int x = 20; x < 100; ++x)
        darkest = std::max(darkest, DarkRowsInColumn(empty, x));
    EXPECT_LT(darkest, 5);
}

} // namespace
} // namespace curvana
