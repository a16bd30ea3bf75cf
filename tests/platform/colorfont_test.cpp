#include "platform/qtcolor.h"
#include "platform/qtfont.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace curvana {
namespace {

TEST(QtColor, PlainAndSystemColours) {
    struct TCase {
        TColor Color;
        QColor Want;
    };
    const TCase cases[] = {
        {0x0000FF, QColor(255, 0, 0)},               // low byte is red
        {0xFF0000, QColor(0, 0, 255)},               // high byte of the three is blue
        {0x02123456, QColor(0x56, 0x34, 0x12)},      // other top bytes are ignored
        {clWindow, QColor(255, 255, 255)},           // 5 window
        {clWindowText, QColor(0, 0, 0)},             // 8 window text
        {SystemColor(15), QColor(0xF0, 0xF0, 0xF0)}, // button face
        {SystemColor(13), QColor(0x00, 0x78, 0xD7)}, // highlight
        {SystemColor(24), QColor(0xFF, 0xFF, 0xE1)}, // tooltip background
        {SystemColor(31), QColor(0, 0, 0)},          // past the table
        {SystemColor(255), QColor(0, 0, 0)},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ToQColor(c.Color), c.Want) << std::hex << c.Color;
    EXPECT_EQ(ResolveColor(clWindow), clWhite);
}

TEST(QtFont, DialogFacesMapToInstalledFamilies) {
    EXPECT_EQ(MappedFontFamily("MS Sans Serif"), "DejaVu Sans");
    EXPECT_EQ(MappedFontFamily("ms sans serif"), "DejaVu Sans");
    EXPECT_EQ(MappedFontFamily("Courier New"), "DejaVu Sans Mono");
    EXPECT_EQ(MappedFontFamily("DejaVu Serif"), "DejaVu Serif");
    // The default font really resolves to that face, so pictures do not depend on fontconfig.
    EXPECT_EQ(QFontInfo(ToQFont(TFont())).family(), "DejaVu Sans");
}

TEST(QtFont, HeightsAndStyles) {
    TFont font;
    font.Height = -20;
    EXPECT_EQ(ToQFont(font).pixelSize(), 20);
    // A positive height is the whole cell.
    font.Height = 30;
    EXPECT_NEAR(QFontMetrics(ToQFont(font)).height(), 30, 1);
    EXPECT_LT(ToQFont(font).pixelSize(), 30);
    font.Height = 0;
    EXPECT_EQ(ToQFont(font).pixelSize(), 11);
    font.Height = -2'000'000'000;
    EXPECT_EQ(ToQFont(font).pixelSize(), MaxFontPixelSize);
    font.Height = 2'000'000'000;
    EXPECT_LE(ToQFont(font).pixelSize(), MaxFontPixelSize);

    font.Height = -11;
    font.Style = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
    const QFont styled = ToQFont(font);
    EXPECT_TRUE(styled.bold());
    EXPECT_TRUE(styled.italic());
    EXPECT_TRUE(styled.underline());
    EXPECT_TRUE(styled.strikeOut());
    EXPECT_FALSE(ToQFont(TFont()).bold());
}

} // namespace
} // namespace curvana
