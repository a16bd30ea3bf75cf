// Whole slides drawn by the view on a real picture, checked at pixels the geometry fixes.

#include "platform/qtcolor.h"
#include "platform/rastercanvas.h"
#include "view/coordinate.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace curvana {
namespace {

constexpr TColor Red = 0x0000FF;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Green = 0x008000;
constexpr TColor Grey = 0x808080;

// A default view on a 673 x 433 picture with the lists a slide window keeps. Without titles
// or legend the plot area is x 30..643, y 30..403 and the world origin is pixel (336, 216).
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetScreenPixelsPerInch(96);
        view.Canvas = &canvas;
        view.Width = 673;
        view.Height = 433;
        AddPlotVariables(variables);
        AddPlotConstants(constants);
    }

    TFunctionObj& AddFunction(TEnum8 type, const std::string& exp, const std::string& addExp,
                              TColor color) {
        TFunctionObj f;
        f.FunctionObjType = type;
        f.Exp = exp;
        f.AddExp = addExp;
        f.ShowEnabled = 1;
        f.GraphStyle.LineColor = color;
        return graphs.AddFunctionCopy(f);
    }

    void Redraw() { view.Redraw(&graphs, library, variables, constants); }

    bool Is(int x, int y, TColor color) const {
        return canvas.Image().pixel(x, y) == ToQColor(color).rgb();
    }

    // The pixels of one row (or column) from..to-1 as text: '#' for the colour, '.' otherwise.
    std::string Row(int y, int from, int to, TColor color) const {
        std::string text;
        for (int x = from; x < to; ++x)
            text += Is(x, y, color) ? '#' : '.';
        return text;
    }
    std::string Column(int x, int from, int to, TColor color) const {
        std::string text;
        for (int y = from; y < to; ++y)
            text += Is(x, y, color) ? '#' : '.';
        return text;
    }

    TRasterCanvas canvas{673, 433};
    TCoordinate view;
    TMemory graphs;
    TOperatorLib library;
    TVarMemory variables;
    TVarMemory constants;
};

// Lengths of the runs of '#' in a row text.
std::vector<int> Runs(const std::string& text) {
    std::vector<int> runs;
    int run = 0;
    for (char c : text + '.') {
        if (c == '#') {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    return runs;
}

int LongestRun(const std::string& text) {
    const std::vector<int> runs = Runs(text);
    return runs.empty() ? 0 : *std::max_element(runs.begin(), runs.end());
}

TEST_F(RenderTest, DefaultAxesCrossAtTheOriginPixel) {
    view.Redraw(nullptr, library, variables, constants);
    // The x axis fills its row across the plot area, the y axis its column (the line to the
    // top end leaves out its last pixel, row 30).
    EXPECT_EQ(Row(216, 30, 643, clBlack), std::string(613, '#'));
    EXPECT_EQ(Column(336, 31, 404, clBlack), std::string(373, '#'));
    // Left of the x axis and below the y axis (their arrows point the other way) it is bare.
    EXPECT_EQ(Row(216, 0, 26, clBlack), std::string(26, '.'));
    EXPECT_EQ(Column(336, 404, 433, clBlack), std::string(29, '.'));
    // Rows beside the axis only carry ticks: one short mark every 30.65 pixels.
    const std::string beside = Row(214, 30, 643, clBlack);
    EXPECT_EQ(Runs(beside), std::vector<int>(21, 1)) << beside;
    EXPECT_TRUE(Is(30, 214, clBlack));
    EXPECT_TRUE(Is(642, 214, clBlack)); // the repeated sum ends just below x = 10
}

TEST_F(RenderTest, GridLinesAreGreyDottedAtTheMappedPixel) {
    view.GridHorEnabled = 1;
    view.GridVerEnabled = 1;
    view.Redraw(nullptr, library, variables, constants);
    // y = 5: 403 - 15 * 18.65 = 123.25; x = -3: 30 + 7 * 30.65 = 244.55. Lines run from the
    // minimum's end (pixel 30 of the row, 403 of the column), dotted three on, three off.
    struct TCase {
        bool Horizontal;
        int At;       // row or column of the line
        int From, To; // a stretch clear of axes, ticks and labels
        int Start;    // where the dot pattern starts
    };
    const TCase cases[] = {
        {true, 123, 30, 320, 30},
        {false, 244, 31, 205, 403},
    };
    for (const TCase& c : cases) {
        std::string line, before, after;
        std::string expected;
        for (int i = c.From; i < c.To; ++i) {
            const int x = c.Horizontal ? i : c.At;
            const int y = c.Horizontal ? c.At : i;
            line += Is(x, y, Grey) ? '#' : (Is(x, y, clWhite) ? '.' : '?');
            expected += std::abs(i - c.Start) % 6 < 3 ? '#' : '.';
            before += Is(c.Horizontal ? x : x - 1, c.Horizontal ? y - 1 : y, clWhite) ? '.' : '?';
            after += Is(c.Horizontal ? x : x + 1, c.Horizontal ? y + 1 : y, clWhite) ? '.' : '?';
        }
        EXPECT_EQ(line, expected) << (c.Horizontal ? "row " : "column ") << c.At;
        // The neighbours of the line are bare: it lies exactly on the mapped pixel.
        EXPECT_EQ(before, std::string(before.size(), '.')) << c.At;
        EXPECT_EQ(after, std::string(after.size(), '.')) << c.At;
    }
}

TEST_F(RenderTest, SolidRegionHidesGridAndAxisHatchLetsThemThrough) {
    struct TCase {
        TEnum8 Brush;
        bool Hidden;
    };
    for (const TCase c : {TCase{bsSolid, true}, TCase{bsBDiagonal, false}}) {
        graphs.Clear();
        view.GridHorEnabled = 1;
        TFunctionObj& disc = AddFunction(ftRelation, "x^2+y^2-25", "<0", Red);
        disc.GraphStyle.BrushStyle = c.Brush;
        disc.GraphStyle.BrushColor = Red;
        Redraw();
        // Inside the disc of radius 5 (153 pixels across, 93 up): the axis row 216, the grid
        // row of y = 2 (403 - 12 * 18.65 = 179.2) and the axis column 336.
        const std::string axisRow = Row(216, 260, 412, clBlack);
        const std::string gridRow = Row(179, 260, 412, Grey);
        const std::string axisColumn = Column(336, 160, 270, clBlack);
        const std::string filled = Row(216, 260, 412, Red) + Row(179, 260, 412, Red);
        std::string bare;
        for (int x = 260; x < 412; ++x)
            for (int y : {179, 185, 216})
                bare += Is(x, y, clWhite) ? '#' : '.';
        if (c.Hidden) {
            EXPECT_EQ(axisRow.find('#'), std::string::npos) << axisRow;
            EXPECT_EQ(gridRow.find('#'), std::string::npos) << gridRow;
            EXPECT_EQ(axisColumn.find('#'), std::string::npos) << axisColumn;
            EXPECT_EQ(filled.find('.'), std::string::npos) << filled;
        } else {
            // Between the hatch lines (one every 8 pixels) the axis and the grid show.
            EXPECT_GT(std::count(axisRow.begin(), axisRow.end(), '#'), 100) << axisRow;
            EXPECT_GT(std::count(axisColumn.begin(), axisColumn.end(), '#'), 70) << axisColumn;
            EXPECT_GT(std::count(gridRow.begin(), gridRow.end(), '#'), 40) << gridRow;
            EXPECT_GT(std::count(filled.begin(), filled.end(), '#'), 30) << filled;
            EXPECT_GT(std::count(bare.begin(), bare.end(), '#'), 100);
        }
    }
}

TEST_F(RenderTest, LegendSampleLineInTheGraphColour) {
    struct TCase {
        TEnum8 Position;
        int Lx;
    };
    for (const TCase c : {TCase{0, 80}, TCase{1, 336}, TCase{2, 504}}) {
        graphs.Clear();
        view.LegendEnabled = 1;
        view.LegendPosition = c.Position;
        AddFunction(ftYofX, "sin(x)", "", Blue).GraphStyle.LineWidth = 1;
        Redraw();
        // One graph: the text at Height - 36, its sample 7 pixels lower, lx - 60 .. lx - 10
        // with the end pixel left out.
        const int row = 433 - 29;
        EXPECT_EQ(Row(row, c.Lx - 62, c.Lx - 8, Blue), ".." + std::string(50, '#') + "..")
            << "position " << int(c.Position);
        EXPECT_EQ(Row(row - 1, c.Lx - 60, c.Lx - 10, Blue), std::string(50, '.'));
        EXPECT_EQ(Row(row + 1, c.Lx - 60, c.Lx - 10, Blue), std::string(50, '.'));
        // The legend text (black by default) starts at lx, in the rows of its line.
        int ink = 0;
        for (int y = 433 - 36; y < 433 - 20; ++y)
            for (int x = c.Lx; x < c.Lx + 60; ++x)
                ink += Is(x, y, clWhite) ? 0 : 1;
        EXPECT_GT(ink, 20) << "position " << int(c.Position);
    }
}

TEST_F(RenderTest, ImplicitCircleIsOnePixelWideWhateverThePen) {
    for (int width : {1, 3}) {
        graphs.Clear();
        AddFunction(ftRelation, "x^2+y^2-25", "=0", Red).GraphStyle.LineWidth = width;
        Redraw();
        // Rows where the circle is steep cross it in two short runs, far apart: x = +-5 at
        // y = 0 (row 216, pixels 182 and 489) and x = +-4.58 at y = 2 (row 179).
        for (int row : {216, 179, 253}) {
            const std::string text = Row(row, 0, 673, Red);
            const std::vector<int> runs = Runs(text);
            ASSERT_EQ(runs.size(), 2u) << "width " << width << " row " << row << "\n" << text;
            for (int run : runs)
                EXPECT_LE(run, 2) << "width " << width << " row " << row;
        }
        // At the top and bottom it is flat, so a column through it crosses it once, thinly.
        const std::string top = Column(336, 0, 433, Red);
        EXPECT_EQ(Runs(top), (std::vector<int>{1, 1})) << top;
        // Every pixel of the curve touches another: no gaps, no stray dots.
        const QImage& image = canvas.Image();
        const QRgb red = ToQColor(Red).rgb();
        int lonely = 0;
        int count = 0;
        for (int y = 1; y < 432; ++y)
            for (int x = 1; x < 672; ++x) {
                if (image.pixel(x, y) != red)
                    continue;
                ++count;
                int neighbours = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        neighbours += (dx != 0 || dy != 0) && image.pixel(x + dx, y + dy) == red;
                lonely += neighbours == 0;
            }
        // About the circumference in pixels: an ellipse of semi-axes 153 and 93.
        EXPECT_GT(count, 700);
        EXPECT_LT(count, 1000);
        EXPECT_EQ(lonely, 0);
    }
}

TEST_F(RenderTest, TangentBreaksAtItsPoles) {
    struct TCase {
        double YRange;
        std::int32_t MaxGap;
    };
    // Beside the default view, one so tall that the samples on both sides of each pole are
    // inside it, where only the jump rule (jumps of MaxGap steps, here 20 % of the view) can
    // break the curve.
    for (const TCase c : {TCase{10, 300}, TCase{100, 100}}) {
        graphs.Clear();
        view.YInterval.Min = -c.YRange;
        view.YInterval.Max = c.YRange;
        AddFunction(ftYofX, "tan(x)", "", Blue).PlotParameter.MaxGap = c.MaxGap;
        Redraw();
        for (int k = -3; k <= 2; ++k) {
            const double pole = (k + 0.5) * std::numbers::pi;
            const int column = view.WorldToScreen(pole, 0).X;
            for (int x = column - 2; x <= column + 2; ++x) {
                const std::string text = Column(x, 30, 404, Blue);
                EXPECT_LT(LongestRun(text), 373 / 4)
                    << "range " << c.YRange << " pole " << pole << " column " << x;
            }
            // The branches do come close to the pole on both sides.
            int near = 0;
            for (int x = column - 12; x <= column + 12; ++x) {
                const std::string text = Column(x, 30, 404, Blue);
                near += static_cast<int>(std::count(text.begin(), text.end(), '#'));
            }
            EXPECT_GT(near, 10) << "range " << c.YRange << " pole " << pole;
        }
    }
}

TEST_F(RenderTest, SideTitlesTurnTowardThePlotArea) {
    // "TTTT": the bars of the T stand at the top of the text line, so they show which way the
    // line is turned. The left title reads top to bottom (tops to the right, toward the plot),
    // the right title bottom to top (tops to the left, toward the plot).
    struct TCase {
        bool Left;
    };
    for (const TCase c : {TCase{true}, TCase{false}}) {
        view.TitleLeftEnabled = c.Left ? 1 : 0;
        view.TitleRightEnabled = c.Left ? 0 : 1;
        TFont font;
        font.Name = "DejaVu Sans";
        font.SetSize(16);
        font.Color = Green;
        (c.Left ? view.TitleLeftFont : view.TitleRightFont) = font;
        (c.Left ? view.TitleLeft : view.TitleRight) = "TTTTTTTT";
        view.Redraw(nullptr, library, variables, constants);
        view.ComputeMargins();

        // Title ink: green-tinted pixels (the text is smoothed against white).
        const QImage& image = canvas.Image();
        int left = 673, right = -1, top = 433, bottom = -1;
        std::vector<int> perColumn(673, 0);
        for (int y = 0; y < 433; ++y)
            for (int x = 0; x < 673; ++x) {
                const QColor p(image.pixel(x, y));
                if (p.green() - p.red() < 40)
                    continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                ++perColumn[static_cast<std::size_t>(x)];
            }
        ASSERT_GE(right, 0) << (c.Left ? "left" : "right") << " title not drawn";
        const int width = right - left + 1;
        const int height = bottom - top + 1;
        EXPECT_GT(height, 3 * width) << "ink " << width << " x " << height;
        if (c.Left)
            EXPECT_LT(right, view.MarginLeft);
        else
            EXPECT_GE(left, 673 - view.MarginRight);
        // Centred on the middle row.
        EXPECT_NEAR((top + bottom) / 2.0, 433 / 2.0, 4);
        // The column with the most ink holds the bars.
        const int bars = static_cast<int>(std::max_element(perColumn.begin(), perColumn.end()) -
                                          perColumn.begin());
        if (c.Left)
            EXPECT_GT(bars, (left + right) / 2) << "bars at " << bars;
        else
            EXPECT_LT(bars, (left + right) / 2) << "bars at " << bars;
    }
}

TEST_F(RenderTest, RedrawTwiceGivesTheSamePicture) {
    view.GridHorEnabled = 1;
    view.LegendEnabled = 1;
    AddFunction(ftYofX, "tan(x)", "", Blue);
    AddFunction(ftRelation, "x^2+y^2-25", "<0", Red);
    AddFunction(ftRelation, "x^2/36+y^2/9-1", "=0", Green);
    Redraw();
    const QImage first = canvas.Image().copy();
    Redraw();
    EXPECT_TRUE(first == canvas.Image());
}

// A solid region covers its true area inside the plot area, up to the last column and row of the
// grid, and nothing beyond the frame. Only pixels within a cell of the boundary may go either way.
TEST_F(RenderTest, RegionFillsItsTrueAreaWithinThePlotArea) {
    struct TCase {
        const char* Exp;
        const char* AddExp;
        bool (*Holds)(double x, double y);
        int Steps;
        int Threads;
    };
    const TCase cases[] = {
        {"x^2+y^2-16", "<0", [](double x, double y) { return x * x + y * y < 16; }, 50, 1},
        {"x-5", ">0", [](double x, double) { return x > 5; }, 50, 1},
        {"y-5", ">0", [](double, double y) { return y > 5; }, 50, 1},
        {"x+y", "<0", [](double x, double y) { return x + y < 0; }, 50, 1},
        {"1", ">0", [](double, double) { return true; }, 50, 1},
        {"x*y", ">0", [](double x, double y) { return x * y > 0; }, 120, 2},
    };
    for (const TCase& c : cases) {
        graphs.Clear();
        view.Threads = c.Threads;
        TFunctionObj& region = AddFunction(ftRelation, c.Exp, c.AddExp, Red);
        region.GraphStyle.BrushStyle = bsSolid;
        region.GraphStyle.BrushColor = Red;
        region.PlotParameter.StepsOnX = region.PlotParameter.StepsOnY = c.Steps;
        Redraw();
        // The plot area: the pixels the ends of the view's ranges map to, and those between.
        const TPoint low = view.WorldToScreen(view.XInterval.Min, view.YInterval.Min);
        const TPoint high = view.WorldToScreen(view.XInterval.Max, view.YInterval.Max);
        const int left = low.X;
        const int top = high.Y;
        const int right = high.X;
        const int bottom = low.Y;
        const double kx = (right - left) / (view.XInterval.Max - view.XInterval.Min);
        const double ky = (bottom - top) / (view.YInterval.Max - view.YInterval.Min);
        const double cw = (view.XInterval.Max - view.XInterval.Min) / c.Steps;
        const double ch = (view.YInterval.Max - view.YInterval.Min) / c.Steps;
        int wrong = 0;
        int outside = 0;
        for (int py = 0; py < view.Height; ++py)
            for (int px = 0; px < view.Width; ++px) {
                const bool filled = Is(px, py, Red);
                if (px < left || px > right || py < top || py > bottom) {
                    outside += filled;
                    continue;
                }
                if (px == left || px == right || py == top || py == bottom)
                    continue; // the frame itself may go either way
                const double x = view.XInterval.Min + (px + 0.5 - left) / kx;
                const double y = view.YInterval.Min + (bottom - py - 0.5) / ky;
                int inside = 0;
                for (const double dx : {-cw, 0.0, cw})
                    for (const double dy : {-ch, 0.0, ch})
                        inside += c.Holds(x + dx, y + dy);
                if ((inside == 9 && !filled) || (inside == 0 && filled))
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0) << c.Exp << c.AddExp;
        EXPECT_EQ(outside, 0) << c.Exp << c.AddExp;
        // Next to the frame at the right and at the top the picture is the region's.
        EXPECT_EQ(Is(right - 1, bottom - static_cast<int>((2 - view.YInterval.Min) * ky), Red),
                  c.Holds(9.99, 2))
            << c.Exp;
        EXPECT_EQ(Is(left + static_cast<int>((2 - view.XInterval.Min) * kx), top + 1, Red),
                  c.Holds(2, 9.99))
            << c.Exp;
    }
}

// A picture after a slide whose last graph is a region is the same as on a fresh canvas: the
// clear pen that region leaves behind must not keep the old picture's last column and row.
TEST_F(RenderTest, BackgroundClearCoversEveryPixelAfterARegion) {
    view.BackgroundColor = Blue;
    TFunctionObj& region = AddFunction(ftRelation, "x^2+y^2-16", "<0", Red);
    region.GraphStyle.BrushStyle = bsSolid;
    Redraw();
    graphs.Clear();
    view.BackgroundColor = clWhite;
    AddFunction(ftYofX, "sin(x)", "", Green);
    Redraw();
    const QImage afterRegion = canvas.Image().copy();

    TRasterCanvas fresh{673, 433};
    view.Canvas = &fresh;
    Redraw();
    EXPECT_TRUE(afterRegion == fresh.Image());
    EXPECT_TRUE(Is(672, 432, clWhite));
    EXPECT_TRUE(Is(672, 0, clWhite));
    EXPECT_TRUE(Is(0, 432, clWhite));
}

} // namespace
} // namespace curvana
