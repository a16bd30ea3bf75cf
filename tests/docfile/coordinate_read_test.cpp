#include "common/decimalseparator.h"
#include "docfile/cvxml.h"
#include "docfile/documenterror.h"
#include "view/coordinate.h"
#include "view/font.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace curvana {
namespace {

std::string Text(const TInterval& i) {
    std::ostringstream out;
    out.precision(17);
    out << i.Min << ' ' << i.Max << ' ' << int(i.Enabled);
    return out.str();
}

std::string Text(const TGraphStyle& s) {
    std::ostringstream out;
    out << s.LineWidth << ' ' << int(s.LineStyle) << ' ' << s.LineColor << ' ' << int(s.BrushStyle)
        << ' ' << s.BrushColor;
    return out.str();
}

std::string Text(const TPlotParameter& p) {
    std::ostringstream out;
    out << p.Steps << ' ' << p.StepsOnX << ' ' << p.StepsOnY << ' ' << p.MaxGap;
    return out.str();
}

std::string Text(const TFont& f) {
    std::ostringstream out;
    out << int(f.Charset) << ' ' << f.Color << ' ' << f.Height << ' ' << f.Name << ' '
        << int(f.Pitch) << ' ' << f.PixelsPerInch << ' ' << f.Style.Contains(fsBold)
        << f.Style.Contains(fsItalic) << f.Style.Contains(fsUnderline)
        << f.Style.Contains(fsStrikeOut);
    return out.str();
}

std::string Text(const TAxesArrow& a) {
    return std::to_string(a.Enabled) + ' ' + a.Name;
}
std::string Text(double d) {
    std::ostringstream out;
    out.precision(17);
    out << d;
    return out.str();
}
std::string Text(std::uint8_t v) {
    return std::to_string(v);
}
std::string Text(std::int32_t v) {
    return std::to_string(v);
}
std::string Text(const std::string& s) {
    return s;
}

// Every setting a document can write, by element name.
std::map<std::string, std::string> Settings(const TCoordinate& v) {
    return {
        {"XInterval", Text(v.XInterval)},
        {"YInterval", Text(v.YInterval)},
        {"PlotParameter", Text(v.PlotParameter)},
        {"AxesStyle", Text(v.AxesStyle)},
        {"BackgroundColor", Text(v.BackgroundColor)},
        {"EqualScaleEnabled", Text(v.EqualScaleEnabled)},
        {"XAxesDirection", Text(v.XAxesDirection)},
        {"YAxesDirection", Text(v.YAxesDirection)},
        {"XAxesGraphStyle", Text(v.XAxesGraphStyle)},
        {"YAxesGraphStyle", Text(v.YAxesGraphStyle)},
        {"XArrow", Text(v.XArrow)},
        {"YArrow", Text(v.YArrow)},
        {"XAxesTicksStep", Text(v.XAxesTicksStep)},
        {"XAxesTicksLength", Text(v.XAxesTicksLength)},
        {"YAxesTicksStep", Text(v.YAxesTicksStep)},
        {"YAxesTicksLength", Text(v.YAxesTicksLength)},
        {"XAxesLabelsStep", Text(v.XAxesLabelsStep)},
        {"XAxesLabelsString", Text(v.XAxesLabelsString)},
        {"YAxesLabelsStep", Text(v.YAxesLabelsStep)},
        {"YAxesLabelsString", Text(v.YAxesLabelsString)},
        {"XAxesLabelSide", Text(v.XAxesLabelSide)},
        {"YAxesLabelSide", Text(v.YAxesLabelSide)},
        {"TitleTopEnabled", Text(v.TitleTopEnabled)},
        {"TitleTop", Text(v.TitleTop)},
        {"TitleTopFont", Text(v.TitleTopFont)},
        {"TitleBottomEnabled", Text(v.TitleBottomEnabled)},
        {"TitleBottom", Text(v.TitleBottom)},
        {"TitleBottomFont", Text(v.TitleBottomFont)},
        {"TitleLeftEnabled", Text(v.TitleLeftEnabled)},
        {"TitleLeft", Text(v.TitleLeft)},
        {"TitleLeftFont", Text(v.TitleLeftFont)},
        {"TitleRightEnabled", Text(v.TitleRightEnabled)},
        {"TitleRight", Text(v.TitleRight)},
        {"TitleRightFont", Text(v.TitleRightFont)},
        {"LegendEnabled", Text(v.LegendEnabled)},
        {"ShowSampleEnabled", Text(v.ShowSampleEnabled)},
        {"TextColorAsGraphEnabled", Text(v.TextColorAsGraphEnabled)},
        {"LegendPosition", Text(v.LegendPosition)},
        {"GridHorEnabled", Text(v.GridHorEnabled)},
        {"GridHorStep", Text(v.GridHorStep)},
        {"GridHorGraphStyle", Text(v.GridHorGraphStyle)},
        {"GridVerEnabled", Text(v.GridVerEnabled)},
        {"GridVerStep", Text(v.GridVerStep)},
        {"GridVerGraphStyle", Text(v.GridVerGraphStyle)},
        {"GridRadialEnabled", Text(v.GridRadialEnabled)},
        {"GridRadialStep", Text(v.GridRadialStep)},
        {"GridRadialGraphStyle", Text(v.GridRadialGraphStyle)},
        {"GridAngularEnabled", Text(v.GridAngularEnabled)},
        {"GridAngularStep", Text(v.GridAngularStep)},
        {"GridAngularGraphStyle", Text(v.GridAngularGraphStyle)},
    };
}

// A view as an earlier slide may have left it: every setting away from its default.
void SetFromAnEarlierSlide(TCoordinate& v) {
    v.XInterval = TInterval(0, -1, 1);
    v.YInterval = TInterval(0, -2, 2);
    v.PlotParameter.Steps = 7;
    v.AxesStyle = 1;
    v.BackgroundColor = 0x123456;
    v.XArrow = TAxesArrow(0, "u");
    v.YArrow = TAxesArrow(0, "v");
    v.XAxesTicksStep = 0.5;
    v.XAxesLabelsString = "cm";
    v.TitleTopEnabled = 1;
    v.TitleTop = "Top";
    v.TitleTopFont.Name = "Earlier";
    v.LegendEnabled = 1;
    v.GridHorEnabled = 1;
    v.GridHorStep = 3;
    v.GridAngularGraphStyle.LineColor = 0xFF;
}

struct CoordinateCase {
    const char* children;
    std::map<std::string, std::string> changes;
};

TEST(ReadCoordinate, WritesOnlyTheSettingsItsChildrenName) {
    TDecimalSeparatorScope dot('.');
    TCoordinate fresh;
    const TGraphStyle gridStyle = fresh.GridHorGraphStyle;
    TGraphStyle red;
    red.LineColor = 255;
    TFont title;
    title.SetSize(12);
    title.Style.Include(fsBold);
    const CoordinateCase cases[] = {
        {"<BackgroundColor>255</BackgroundColor>", {{"BackgroundColor", "255"}}},
        {"<XInterval><Min>-5</Min><Max>5</Max></XInterval>", {{"XInterval", "-5 5 0"}}},
        {"<YInterval><Min>0.5</Min><Max>1e3</Max><Enabled>1</Enabled></YInterval>",
         {{"YInterval", "0.5 1000 1"}}},
        {"<PlotParameter><StepsOnY>9</StepsOnY></PlotParameter>",
         {{"PlotParameter", "500 50 9 300"}}},
        {"<AxesStyle>0</AxesStyle><EqualScaleEnabled>1</EqualScaleEnabled>"
         "<XAxesDirection>2</XAxesDirection><YAxesDirection>0</YAxesDirection>",
         {{"AxesStyle", "0"},
          {"EqualScaleEnabled", "1"},
          {"XAxesDirection", "2"},
          {"YAxesDirection", "0"}}},
        {"<XAxesGraphStyle><LineColor>255</LineColor></XAxesGraphStyle>"
         "<YAxesGraphStyle><LineColor>255</LineColor></YAxesGraphStyle>",
         {{"XAxesGraphStyle", Text(red)}, {"YAxesGraphStyle", Text(red)}}},
        // Arrows are written field by field: an absent child keeps the field.
        {"<XArrow><Name>x</Name></XArrow>", {{"XArrow", "0 x"}}},
        {"<YArrow><Enabled>1</Enabled></YArrow>", {{"YArrow", "1 v"}}},
        {"<XArrow/>", {}},
        {"<XAxesTicksStep>2</XAxesTicksStep><XAxesTicksLength>4</XAxesTicksLength>"
         "<YAxesTicksStep>3</YAxesTicksStep><YAxesTicksLength>5</YAxesTicksLength>",
         {{"XAxesTicksStep", "2"},
          {"XAxesTicksLength", "4"},
          {"YAxesTicksStep", "3"},
          {"YAxesTicksLength", "5"}}},
        {"<XAxesLabelsStep>2</XAxesLabelsStep><XAxesLabelsString>pi</XAxesLabelsString>"
         "<YAxesLabelsStep>4</YAxesLabelsStep><YAxesLabelsString/>"
         "<XAxesLabelSide>0</XAxesLabelSide><YAxesLabelSide>0</YAxesLabelSide>",
         {{"XAxesLabelsStep", "2"},
          {"XAxesLabelsString", "pi"},
          {"YAxesLabelsStep", "4"},
          {"YAxesLabelsString", ""},
          {"XAxesLabelSide", "0"},
          {"YAxesLabelSide", "0"}}},
        {"<TitleTopEnabled>0</TitleTopEnabled><TitleTop>T</TitleTop>"
         "<TitleTopFont><Size>12</Size><Style><fsBold/></Style></TitleTopFont>",
         {{"TitleTopEnabled", "0"}, {"TitleTop", "T"}, {"TitleTopFont", Text(title)}}},
        {"<TitleBottomEnabled>1</TitleBottomEnabled><TitleBottom>B</TitleBottom>"
         "<TitleBottomFont><Size>12</Size><Style><fsBold/></Style></TitleBottomFont>"
         "<TitleLeftEnabled>1</TitleLeftEnabled><TitleLeft>L</TitleLeft>"
         "<TitleLeftFont><Size>12</Size><Style><fsBold/></Style></TitleLeftFont>"
         "<TitleRightEnabled>1</TitleRightEnabled><TitleRight>R</TitleRight>"
         "<TitleRightFont><Size>12</Size><Style><fsBold/></Style></TitleRightFont>",
         {{"TitleBottomEnabled", "1"},
          {"TitleBottom", "B"},
          {"TitleBottomFont", Text(title)},
          {"TitleLeftEnabled", "1"},
          {"TitleLeft", "L"},
          {"TitleLeftFont", Text(title)},
          {"TitleRightEnabled", "1"},
          {"TitleRight", "R"},
          {"TitleRightFont", Text(title)}}},
        {"<LegendEnabled>0</LegendEnabled><ShowSampleEnabled>0</ShowSampleEnabled>"
         "<TextColorAsGraphEnabled>1</TextColorAsGraphEnabled><LegendPosition>2</LegendPosition>",
         {{"LegendEnabled", "0"},
          {"ShowSampleEnabled", "0"},
          {"TextColorAsGraphEnabled", "1"},
          {"LegendPosition", "2"}}},
        {"<GridHorEnabled>0</GridHorEnabled><GridHorStep>0.5</GridHorStep>"
         "<GridHorGraphStyle><LineColor>255</LineColor></GridHorGraphStyle>"
         "<GridVerEnabled>1</GridVerEnabled><GridVerStep>2</GridVerStep>"
         "<GridVerGraphStyle><LineColor>255</LineColor></GridVerGraphStyle>"
         "<GridRadialEnabled>1</GridRadialEnabled><GridRadialStep>3</GridRadialStep>"
         "<GridRadialGraphStyle><LineColor>255</LineColor></GridRadialGraphStyle>"
         "<GridAngularEnabled>1</GridAngularEnabled><GridAngularStep>0.5</GridAngularStep>"
         "<GridAngularGraphStyle><LineColor>255</LineColor></GridAngularGraphStyle>",
         // A grid style element replaces the constructor's dotted grey as a whole.
         {{"GridHorEnabled", "0"},
          {"GridHorStep", "0.5"},
          {"GridHorGraphStyle", Text(red)},
          {"GridVerEnabled", "1"},
          {"GridVerStep", "2"},
          {"GridVerGraphStyle", Text(red)},
          {"GridRadialEnabled", "1"},
          {"GridRadialStep", "3"},
          {"GridRadialGraphStyle", Text(red)},
          {"GridAngularEnabled", "1"},
          {"GridAngularStep", "0.5"},
          {"GridAngularGraphStyle", Text(red)}}},
        // Later occurrences win; unknown and differently cased names change nothing.
        {"<BackgroundColor>1</BackgroundColor><backgroundcolor>5</backgroundcolor>"
         "<Unknown><BackgroundColor>3</BackgroundColor></Unknown>"
         "<BackgroundColor>2</BackgroundColor>",
         {{"BackgroundColor", "2"}}},
        {"", {}},
    };
    EXPECT_NE(Text(gridStyle), Text(red));
    for (const CoordinateCase& c : cases) {
        TCoordinate view;
        SetFromAnEarlierSlide(view);
        std::map<std::string, std::string> expected = Settings(view);
        for (const auto& [name, value] : c.changes) {
            ASSERT_EQ(expected.count(name), 1u) << name;
            expected[name] = value;
        }
        TCVXML reader;
        reader.LoadFromText(std::string("<Coordinate>") + c.children + "</Coordinate>");
        reader.ReadCoordinate(reader.DocumentElement(), view);
        EXPECT_EQ(Settings(view), expected) << c.children;
    }
}

TEST(ReadCoordinate, AFailureKeepsWhatWasWrittenBeforeIt) {
    TCoordinate view;
    TCVXML reader;
    reader.LoadFromText("<Coordinate><BackgroundColor>255</BackgroundColor>\n"
                        "<GridHorStep>wide</GridHorStep><AxesStyle>1</AxesStyle></Coordinate>");
    try {
        reader.ReadCoordinate(reader.DocumentElement(), view);
        FAIL() << "no error";
    } catch (const EDocumentError& e) {
        EXPECT_STREQ(e.what(), "'wide' is not a valid floating point value");
        EXPECT_EQ(e.ElementPath, "Coordinate/GridHorStep");
        EXPECT_EQ(e.Line, 2);
    }
    EXPECT_EQ(view.BackgroundColor, 255);
    EXPECT_EQ(view.GridHorStep, 1);
    EXPECT_EQ(view.AxesStyle, 0);
}

TEST(ReadFont, AppliesHeightSizeAndResolutionInDocumentOrder) {
    SetScreenPixelsPerInch(96);
    struct Case {
        const char* children;
        std::int32_t height;
        std::int32_t pixelsPerInch;
    };
    const Case cases[] = {
        {"", -11, 96},
        {"<Height>-30</Height><PixelsPerInch>96</PixelsPerInch><Size>12</Size>", -16, 96},
        {"<PixelsPerInch>96</PixelsPerInch><Size>12</Size><Height>-20</Height>", -20, 96},
        {"<PixelsPerInch>120</PixelsPerInch><Size>9</Size>", -15, 120},
        // 10 points at 100 dpi is 13.89 pixels; halves go away from zero.
        {"<PixelsPerInch>100</PixelsPerInch><Size>10</Size>", -14, 100},
        {"<PixelsPerInch>144</PixelsPerInch><Size>-1</Size>", 2, 144},
        {"<Size>12</Size><PixelsPerInch>120</PixelsPerInch>", -16, 120},
        {"<Height>13</Height>", 13, 96},
    };
    for (const Case& c : cases) {
        TCVXML reader;
        reader.LoadFromText(std::string("<Font>") + c.children + "</Font>");
        const TFont font = reader.ReadFont(reader.DocumentElement());
        EXPECT_EQ(font.Height, c.height) << c.children;
        EXPECT_EQ(font.PixelsPerInch, c.pixelsPerInch) << c.children;
    }
}

TEST(ReadFont, ReadsFieldsAndStyleFlags) {
    SetScreenPixelsPerInch(96);
    TCVXML reader;
    reader.LoadFromText("<Font><Charset>134</Charset><Color>255</Color><Name>DejaVu Sans</Name>"
                        "<Pitch>2</Pitch><Style><fsItalic/><fsStrikeOut>ignored</fsStrikeOut>"
                        "</Style></Font>");
    const TFont font = reader.ReadFont(reader.DocumentElement());
    EXPECT_EQ(font.Charset, 134);
    EXPECT_EQ(font.Color, 255);
    EXPECT_EQ(font.Name, "DejaVu Sans");
    EXPECT_EQ(font.Pitch, 2);
    EXPECT_EQ(font.Style, (TFontStyles{fsItalic, fsStrikeOut}));

    TCVXML defaults;
    defaults.LoadFromText("<Font/>");
    EXPECT_EQ(defaults.ReadFont(defaults.DocumentElement()), TFont());
    EXPECT_EQ(TFont().Charset, 1);
    EXPECT_EQ(TFont().Color, clWindowText);

    const std::pair<const char*, TFontStyles> styles[] = {
        {"<Style><fsBold/><fsUnderline/></Style>", {fsBold, fsUnderline}},
        {"<Style/>", {}},
        {"<Style><fsBold/></Style><Style><fsItalic/></Style>", {fsItalic}},
        {"<Style><Bold/><fsbold/></Style>", {}},
    };
    for (const auto& [children, expected] : styles) {
        TCVXML r;
        r.LoadFromText(std::string("<Font>") + children + "</Font>");
        EXPECT_EQ(r.ReadFont(r.DocumentElement()).Style, expected) << children;
    }
}

TEST(ReadFont, AViewFontKeepsItsResolutionAndTakesThePointSize) {
    SetScreenPixelsPerInch(96);
    TCoordinate view;
    TCVXML reader;
    reader.LoadFromText("<Coordinate><TitleTopFont><PixelsPerInch>120</PixelsPerInch>"
                        "<Size>12</Size></TitleTopFont></Coordinate>");
    reader.ReadCoordinate(reader.DocumentElement(), view);
    EXPECT_EQ(view.TitleTopFont.PixelsPerInch, 96);
    EXPECT_EQ(view.TitleTopFont.Height, -16);
}

TEST(ReadAddLabel, ReadsEveryFieldAndKeepsDefaultsForAbsentOnes) {
    TDecimalSeparatorScope dot('.');
    SetScreenPixelsPerInch(96);
    TCVXML reader;
    reader.LoadFromText("<d><AddLabel/><AddLabel><Caption>Peak</Caption><Color>65535</Color>"
                        "<Transparent>1</Transparent><Font><Size>14</Size></Font>"
                        "<x>-2.5</x><y>4</y><Hint>no</Hint></AddLabel></d>");
    const TAddLabelData bare = reader.ReadAddLabel(reader.DocumentElement().child("AddLabel"));
    EXPECT_EQ(bare.Caption, "");
    EXPECT_EQ(bare.Color, clWindow);
    EXPECT_EQ(bare.Transparent, 0);
    EXPECT_EQ(bare.Font, TFont());
    EXPECT_EQ(bare.x, 0);
    EXPECT_EQ(bare.y, 0);

    const TAddLabelData full =
        reader.ReadAddLabel(reader.DocumentElement().child("AddLabel").next_sibling());
    EXPECT_EQ(full.Caption, "Peak");
    EXPECT_EQ(full.Color, 65535);
    EXPECT_EQ(full.Transparent, 1);
    EXPECT_EQ(full.Font.Size(), 14);
    EXPECT_EQ(full.x, -2.5);
    EXPECT_EQ(full.y, 4);
}

} // namespace
} // namespace curvana
