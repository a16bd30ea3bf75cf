#include "view/font.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace curvana {
namespace {

// Fonts take the screen resolution when made; every test starts and ends at 96.
class FontTest : public ::testing::Test {
protected:
    void SetUp() override { SetScreenPixelsPerInch(96); }
    void TearDown() override { SetScreenPixelsPerInch(96); }
};

TEST(MulDivRound, RoundsHalvesAwayFromZeroAndSaturates) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();
    struct Case {
        std::int32_t a, b, c, expected;
    };
    for (const Case k :
         {Case{12, 96, 72, 16}, Case{8, 96, 72, 11}, Case{-11, 72, 96, -8}, Case{3, 12, 72, 1},
          Case{-3, 12, 72, -1}, Case{3, -12, 72, -1}, Case{-3, -12, 72, 1}, Case{9, 4, 8, 5},
          Case{9, 4, -8, -5}, Case{7, 1, 3, 2}, Case{-7, 1, 3, -2}, Case{5, 5, 0, 0},
          Case{max, max, 1, max}, Case{min, max, 1, min}}) {
        SCOPED_TRACE(testing::Message() << k.a << "*" << k.b << "/" << k.c);
        EXPECT_EQ(MulDivRound(k.a, k.b, k.c), k.expected);
    }
}

TEST_F(FontTest, Defaults) {
    const TFont font;
    EXPECT_EQ(font.Name, "MS Sans Serif");
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Height, -11); // 8 * 96 / 72 = 10.67
    EXPECT_EQ(font.PixelsPerInch, 96);
    EXPECT_EQ(font.Color, clWindowText);
    EXPECT_EQ(font.Charset, 1);
    EXPECT_EQ(font.Pitch, fpDefault);
    EXPECT_TRUE(font.Style.Empty());
    EXPECT_EQ(font.Escapement, 0);
}

TEST_F(FontTest, NewFontsTakeTheScreenResolution) {
    SetScreenPixelsPerInch(120);
    const TFont font;
    EXPECT_EQ(font.PixelsPerInch, 120);
    EXPECT_EQ(font.Height, -13); // 8 * 120 / 72 = 13.33
    EXPECT_EQ(font.Size(), 8);
}

TEST_F(FontTest, SizeHeightAndResolutionActInOrder) {
    TFont font;
    font.Height = 40;
    font.PixelsPerInch = 96;
    font.SetSize(12);
    EXPECT_EQ(font.Height, -16); // whatever Height stood before
    font.Height = -20;           // a Height after the Size wins
    EXPECT_EQ(font.Height, -20);
    EXPECT_EQ(font.Size(), 15);

    // Changing the resolution leaves the height alone, so the size follows.
    font.PixelsPerInch = 144;
    EXPECT_EQ(font.Height, -20);
    EXPECT_EQ(font.Size(), 10);
    font.SetSize(12);
    EXPECT_EQ(font.Height, -24);
}

TEST_F(FontTest, SizeRoundsHalvesAwayFromZero) {
    struct Case {
        std::int32_t ppi, size, height;
    };
    for (const Case c :
         {Case{100, 9, -13}, Case{60, 3, -3}, Case{60, -3, 3}, Case{100, 0, 0}, Case{96, 1, -1}}) {
        SCOPED_TRACE(testing::Message() << c.size << "pt at " << c.ppi);
        TFont font;
        font.PixelsPerInch = c.ppi;
        font.SetSize(c.size);
        EXPECT_EQ(font.Height, c.height);
    }
    // And back from the height: -14 at 96 is 10.5 points.
    TFont font;
    font.Height = -14;
    EXPECT_EQ(font.Size(), 11);
    font.Height = 14;
    EXPECT_EQ(font.Size(), -11);
}

TEST_F(FontTest, DegenerateResolutionIsDefined) {
    TFont font;
    font.PixelsPerInch = 0;
    EXPECT_EQ(font.Size(), 0);
    font.SetSize(12);
    EXPECT_EQ(font.Height, 0);
    font.PixelsPerInch = std::numeric_limits<std::int32_t>::max();
    font.SetSize(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(font.Height, -std::numeric_limits<std::int32_t>::max());
}

TEST_F(FontTest, AssignAtTheSameResolutionCopiesTheHeight) {
    TFont source;
    source.Name = "DejaVu Sans";
    source.Height = -14; // 10.5 points: through the size it would become -15
    source.Color = 0x0000FF;
    source.Charset = 134;
    source.Pitch = fpFixed;
    source.Style = {fsBold, fsUnderline};
    source.Escapement = 900;
    TFont target;
    target.Assign(source);
    EXPECT_EQ(target, source);
}

TEST_F(FontTest, AssignAcrossResolutionsKeepsThePointSize) {
    TFont source;
    source.PixelsPerInch = 96;
    source.SetSize(12);
    source.Name = "DejaVu Serif";
    source.Style = {fsItalic};
    SetScreenPixelsPerInch(120);
    TFont target;
    target.Assign(source);
    EXPECT_EQ(target.PixelsPerInch, 120);
    EXPECT_EQ(target.Height, -20);
    EXPECT_EQ(target.Size(), 12);
    EXPECT_EQ(target.Name, "DejaVu Serif");
    EXPECT_EQ(target.Style, TFontStyles{fsItalic});

    // A plain copy is an exact twin, resolution included.
    const TFont twin = source;
    EXPECT_EQ(twin.PixelsPerInch, 96);
    EXPECT_EQ(twin.Height, -16);
}

TEST(FontStyles, SetOperations) {
    TFontStyles styles;
    EXPECT_TRUE(styles.Empty());
    styles.Include(fsBold);
    styles.Include(fsStrikeOut);
    EXPECT_TRUE(styles.Contains(fsBold));
    EXPECT_FALSE(styles.Contains(fsItalic));
    EXPECT_TRUE(styles.Contains(fsStrikeOut));
    styles.Exclude(fsBold);
    EXPECT_EQ(styles, TFontStyles{fsStrikeOut});
    styles.Clear();
    EXPECT_TRUE(styles.Empty());
}

} // namespace
} // namespace curvana
