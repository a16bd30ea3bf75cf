#include "pixels.h"
#include "platform/rastercanvas.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <string>

namespace curvana {
namespace {

using test::CountColor;
using test::PixelRows;

constexpr TColor Red = 0x0000FF;
constexpr TColor Green = 0x00FF00;

TEST(RasterCanvas, NewPictureIsWhiteAndResizes) {
    TRasterCanvas canvas(5, 3);
    EXPECT_EQ(canvas.Image().size(), QSize(5, 3));
    EXPECT_EQ(canvas.Image().format(), QImage::Format_RGB32);
    EXPECT_EQ(CountColor(canvas.Image(), clWhite), 15);
    canvas.Pen.Color = Red;
    canvas.SetSize(7, 2);
    EXPECT_EQ(canvas.Image().size(), QSize(7, 2));
    EXPECT_EQ(canvas.Pen.Color, Red);
    // An empty picture draws nothing and measures text all the same.
    canvas.SetSize(0, -4);
    EXPECT_TRUE(canvas.Image().isNull());
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 10);
    canvas.Rectangle(0, 0, 4, 4);
    canvas.TextOut(0, 0, "x");
    EXPECT_GT(canvas.TextWidth("x"), 0);
}

TEST(RasterCanvas, ACopyKeepsThePictureOfItsMoment) {
    TRasterCanvas canvas(4, 4);
    canvas.SetPixel(0, 0, Red);
    const QImage before = canvas.Image();
    canvas.SetPixel(1, 1, Red);
    EXPECT_EQ(CountColor(before, Red), 1);
    EXPECT_EQ(CountColor(canvas.Image(), Red), 2);
}

TEST(PainterCanvasLines, EndPixelLeftOutInEveryDirection) {
    struct TCase {
        TPoint From, To;
        std::string Row; // the row or column of the line, 8 pixels
    };
    const TCase cases[] = {
        {{1, 3}, {6, 3}, ".#####.."},
        {{6, 3}, {1, 3}, "..#####."},
        {{3, 0}, {3, 5}, "#####..."},
        {{3, 7}, {3, 2}, "...#####"},
    };
    for (const TCase& c : cases) {
        TRasterCanvas canvas(8, 8);
        canvas.MoveTo(c.From.X, c.From.Y);
        canvas.LineTo(c.To.X, c.To.Y);
        const bool horizontal = c.From.Y == c.To.Y;
        std::string line = horizontal ? PixelRows(canvas.Image(), 0, 3, 8, 1) : "";
        if (!horizontal)
            for (char ch : PixelRows(canvas.Image(), 3, 0, 1, 8))
                if (ch != '\n')
                    line += ch;
        EXPECT_EQ(line, horizontal ? c.Row + "\n" : c.Row);
        EXPECT_EQ(CountColor(canvas.Image(), clBlack), 5);
        EXPECT_EQ(canvas.PenPos(), c.To);
    }
}

TEST(PainterCanvasLines, PolylineTurnsWithoutGapsAndWidthZeroIsThin) {
    for (int width : {0, 1, -3}) {
        TRasterCanvas canvas(7, 6);
        canvas.Pen.Width = width;
        canvas.MoveTo(1, 1);
        canvas.LineTo(5, 1);
        canvas.LineTo(5, 4);
        canvas.LineTo(1, 4);
        EXPECT_EQ(PixelRows(canvas.Image(), 0, 0, 7, 6), ".......\n"
                                                         ".#####.\n"
                                                         ".....#.\n"
                                                         ".....#.\n"
                                                         "..####.\n"
                                                         ".......\n")
            << "width " << width;
    }
}

TEST(PainterCanvasLines, PenStyles) {
    struct TCase {
        TEnum8 Style;
        TBrush Brush;
        std::string Row;
    };
    const TBrush clear{Red, bsClear};
    const TBrush solid{Red, bsSolid};
    const TCase cases[] = {
        {psSolid, clear, "########################"},
        {psDash, clear, "##################......"},
        {psDot, clear, "###...###...###...###..."},
        {psDashDot, clear, "#########......###......"},
        {psDashDotDot, clear, "#########...###...###..."},
        // Under a solid brush the gaps take the brush colour.
        {psDot, solid, "###ooo###ooo###ooo###ooo"},
        {psClear, clear, "........................"},
        {psInsideFrame, clear, "########################"},
        {9, clear, "########################"},
    };
    for (const TCase& c : cases) {
        TRasterCanvas canvas(24, 1);
        canvas.Pen.Style = c.Style;
        canvas.Brush = c.Brush;
        canvas.MoveTo(0, 0);
        canvas.LineTo(24, 0);
        EXPECT_EQ(PixelRows(canvas.Image(), 0, 0, 24, 1, clBlack, Red), c.Row + "\n")
            << "style " << int(c.Style);
    }
}

TEST(PainterCanvasLines, DashesRunOnAcrossLineToUntilMoveTo) {
    // A line made of short pieces is dashed like one long line.
    TRasterCanvas pieces(24, 2);
    pieces.Pen.Style = psDot;
    pieces.MoveTo(0, 0);
    for (int x = 2; x <= 24; x += 2)
        pieces.LineTo(x, 0);
    EXPECT_EQ(PixelRows(pieces.Image(), 0, 0, 24, 1), "###...###...###...###...\n");
    // MoveTo starts the pattern afresh.
    pieces.MoveTo(0, 1);
    pieces.LineTo(4, 1);
    pieces.MoveTo(4, 1);
    pieces.LineTo(10, 1);
    EXPECT_EQ(PixelRows(pieces.Image(), 0, 1, 24, 1), "###.###.................\n");
}

TEST(PainterCanvasLines, WideStyledPensDrawSolid) {
    TRasterCanvas canvas(40, 9);
    canvas.Pen.Width = 3;
    canvas.Pen.Style = psDot;
    canvas.MoveTo(5, 4);
    canvas.LineTo(35, 4);
    EXPECT_EQ(PixelRows(canvas.Image(), 5, 3, 30, 3), std::string(30, '#') + "\n" +
                                                          std::string(30, '#') + "\n" +
                                                          std::string(30, '#') + "\n");
    EXPECT_EQ(PixelRows(canvas.Image(), 5, 0, 30, 1), std::string(30, '.') + "\n");
}

TEST(PainterCanvasLines, FarAwayEndsAreCutNotWrapped) {
    struct TCase {
        TPoint From, To;
        int Width;
    };
    const TCase cases[] = {
        {{-100'000'000, 5}, {100'000'000, 5}, 1},
        {{INT_MIN, 5}, {INT_MAX, 5}, 1},
        {{-100'000'000, 5}, {100'000'000, 5}, 3},
        {{INT_MIN, 5}, {INT_MAX, 5}, 3},
    };
    for (const TCase& c : cases) {
        TRasterCanvas canvas(12, 11);
        canvas.Pen.Width = c.Width;
        canvas.MoveTo(c.From.X, c.From.Y);
        canvas.LineTo(c.To.X, c.To.Y);
        const std::string full = std::string(12, '#') + "\n";
        EXPECT_EQ(PixelRows(canvas.Image(), 0, 5, 12, 1), full) << c.From.X << " w" << c.Width;
        EXPECT_EQ(CountColor(canvas.Image(), clBlack), 12 * c.Width);
    }
    // A long diagonal crosses the picture where a short one on the same line does.
    TRasterCanvas far(20, 20);
    far.MoveTo(-99'999'990, -99'999'990);
    far.LineTo(100'000'010, 100'000'010);
    TRasterCanvas near(20, 20);
    near.MoveTo(-5, -5);
    near.LineTo(25, 25);
    EXPECT_EQ(far.Image(), near.Image());
    EXPECT_EQ(CountColor(far.Image(), clBlack), 20);
    // Wide pens go through the painter's line drawing: the cut must keep the direction too.
    far.SetSize(20, 20);
    near.SetSize(20, 20);
    far.Pen.Width = near.Pen.Width = 3;
    far.MoveTo(-99'999'990, -99'999'990);
    far.LineTo(100'000'010, 100'000'010);
    near.MoveTo(-30, -30);
    near.LineTo(50, 50);
    EXPECT_EQ(far.Image(), near.Image());
}

TEST(PainterCanvasShapes, RectangleRightAndBottomExclusive) {
    TRasterCanvas canvas(8, 7);
    canvas.Brush = {Red, bsSolid};
    canvas.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(PixelRows(canvas.Image(), 0, 0, 8, 7, clBlack, Red), "........\n"
                                                                   ".#####..\n"
                                                                   ".#ooo#..\n"
                                                                   ".#ooo#..\n"
                                                                   ".#####..\n"
                                                                   "........\n"
                                                                   "........\n");
    // Corners given the other way round draw the same.
    TRasterCanvas swapped(8, 7);
    swapped.Brush = {Red, bsSolid};
    swapped.Rectangle(6, 5, 1, 1);
    EXPECT_EQ(swapped.Image(), canvas.Image());
}

TEST(PainterCanvasShapes, ClearPenRectangleAndFillRect) {
    TRasterCanvas canvas(8, 7);
    canvas.Brush = {Red, bsSolid};
    canvas.Pen.Style = psClear;
    canvas.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(PixelRows(canvas.Image(), 0, 0, 8, 6, clBlack, Red), "........\n"
                                                                   ".oooo...\n"
                                                                   ".oooo...\n"
                                                                   ".oooo...\n"
                                                                   "........\n"
                                                                   "........\n");
    TRasterCanvas fill(8, 7);
    fill.Brush = {Red, bsSolid};
    fill.FillRect({1, 1, 6, 5});
    EXPECT_EQ(PixelRows(fill.Image(), 0, 0, 8, 6, clBlack, Red), "........\n"
                                                                 ".ooooo..\n"
                                                                 ".ooooo..\n"
                                                                 ".ooooo..\n"
                                                                 ".ooooo..\n"
                                                                 "........\n");
    // An inverted rectangle fills nothing.
    fill.FillRect({6, 1, 1, 5});
    EXPECT_EQ(CountColor(fill.Image(), Red), 20);
}

TEST(PainterCanvasShapes, InsideFramePenStaysInTheBox) {
    auto draw = [](TEnum8 style) {
        auto canvas = std::make_unique<TRasterCanvas>(16, 16);
        canvas->Pen.Width = 3;
        canvas->Pen.Style = style;
        canvas->Brush.Style = bsClear;
        canvas->Rectangle(3, 3, 13, 13);
        return canvas;
    };
    const auto inside = draw(psInsideFrame);
    const auto centred = draw(psSolid);
    // Inside frame: the three outermost rings of the box, nothing outside it.
    EXPECT_EQ(PixelRows(inside->Image(), 0, 8, 16, 1), "...###....###...\n");
    EXPECT_EQ(CountColor(inside->Image(), clBlack), 10 * 10 - 4 * 4);
    EXPECT_EQ(PixelRows(inside->Image(), 0, 3, 16, 1), "...##########...\n");
    // A plain wide pen is centred on the outermost pixels and reaches outside.
    EXPECT_EQ(PixelRows(centred->Image(), 0, 8, 16, 1), "..###......###..\n");
    EXPECT_EQ(PixelRows(centred->Image(), 0, 2, 16, 1), "..############..\n");
    EXPECT_EQ(CountColor(centred->Image(), clBlack), 12 * 12 - 6 * 6);
}

TEST(PainterCanvasShapes, HatchPatternsFallAndRiseAsNamed) {
    // Each ink pixel of an 8 x 8 area, tested against the rule of its pattern; the ground stays
    // as it was (green), because hatches are transparent.
    struct TCase {
        TEnum8 Style;
        std::function<bool(int x, int y, int phase)> Ink;
        int InkCount;
    };
    const TCase cases[] = {
        {bsHorizontal, [](int, int y, int p) { return y == p; }, 8},
        {bsVertical, [](int x, int, int p) { return x == p; }, 8},
        // Forward diagonal falls to the right: "\" (x - y constant).
        {bsFDiagonal, [](int x, int y, int p) { return (x - y + 8) % 8 == p; }, 8},
        // Backward diagonal rises to the right: "/" (x + y constant).
        {bsBDiagonal, [](int x, int y, int p) { return (x + y) % 8 == p; }, 8},
        {bsCross, [](int x, int y, int p) { return x == p % 8 || y == p / 8; }, 15},
        {bsDiagCross,
         [](int x, int y, int p) { return (x - y + 8) % 8 == p % 8 || (x + y) % 8 == p / 8; }, 16},
    };
    for (const TCase& c : cases) {
        TRasterCanvas canvas(8, 8);
        canvas.Brush = {Green, bsSolid};
        canvas.FillRect({0, 0, 8, 8});
        canvas.Brush = {Red, c.Style};
        canvas.FillRect({0, 0, 8, 8});
        const QImage& image = canvas.Image();
        EXPECT_EQ(CountColor(image, Red), c.InkCount) << "style " << int(c.Style);
        EXPECT_EQ(CountColor(image, Red) + CountColor(image, Green), 64);
        // Find the phase that fits the first ink pixels, then every pixel must follow it.
        bool matched = false;
        for (int phase = 0; phase < 64 && !matched; ++phase) {
            bool all = true;
            for (int y = 0; y < 8 && all; ++y)
                for (int x = 0; x < 8 && all; ++x)
                    all = (image.pixel(x, y) == ToQColor(Red).rgb()) == c.Ink(x, y, phase);
            matched = all;
        }
        EXPECT_TRUE(matched) << "style " << int(c.Style) << "\n"
                             << PixelRows(image, 0, 0, 8, 8, Red, Green);
    }
    // Clear and unknown brush styles fill nothing.
    for (TEnum8 style : {bsClear, TEnum8{8}}) {
        TRasterCanvas canvas(8, 8);
        canvas.Brush = {Red, style};
        canvas.FillRect({0, 0, 8, 8});
        canvas.Rectangle(0, 0, 8, 8);
        EXPECT_EQ(CountColor(canvas.Image(), Red), 0);
    }
}

TEST(PainterCanvasShapes, EllipseInItsBox) {
    TRasterCanvas canvas(16, 12);
    canvas.Brush = {Red, bsSolid};
    canvas.Ellipse(2, 2, 14, 11);
    int left = 99, right = -1, top = 99, bottom = -1;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            if (canvas.Image().pixel(x, y) != qRgb(255, 255, 255)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    // Within the box, the right and bottom edges left out (the curve may round off the last
    // pixel row or column where it only touches it).
    EXPECT_EQ(left, 2);
    EXPECT_EQ(top, 2);
    EXPECT_GE(right, 12);
    EXPECT_LE(right, 13);
    EXPECT_GE(bottom, 9);
    EXPECT_LE(bottom, 10);
    EXPECT_GT(CountColor(canvas.Image(), Red), 40);
    EXPECT_EQ(canvas.Image().pixel(2, 2), qRgb(255, 255, 255)); // corners stay free
}

TEST(PainterCanvasShapes, HugeEllipseAndPolygonAreCut) {
    // Circles whose right edge runs down column 9, at radii on both sides of the painter's own
    // limits: over 20 rows they are straight, so every radius gives the same picture.
    const auto circle = [](std::int32_t radius) {
        auto canvas = std::make_unique<TRasterCanvas>(20, 20);
        canvas->Brush = {Red, bsSolid};
        canvas->Ellipse(10 - 2 * radius, 10 - radius, 11, 11 + radius);
        return canvas;
    };
    const auto reference = circle(10'000);
    for (int y = 0; y < 20; ++y)
        EXPECT_EQ(PixelRows(reference->Image(), 0, y, 20, 1, clBlack, Red),
                  y == 10 ? "oooooooooo#.........\n" : "ooooooooo#..........\n")
            << "row " << y; // the extreme point itself reaches the last column of the box
    for (std::int32_t radius : {50'000, 100'000, 1'000'000, 100'000'000})
        EXPECT_EQ(circle(radius)->Image(), reference->Image()) << "radius " << radius;
    // A triangle far larger than the picture covers it.
    TRasterCanvas polygon(10, 10);
    polygon.Brush = {Red, bsSolid};
    const TPoint huge[] = {
        {-100'000'000, -100'000'000}, {100'000'000, -100'000'000}, {0, 100'000'000}};
    polygon.Polygon(huge);
    EXPECT_EQ(CountColor(polygon.Image(), Red), 100);
}

TEST(PainterCanvasShapes, PolygonFilledAndOutlined) {
    TRasterCanvas canvas(10, 10);
    canvas.Brush = {Red, bsSolid};
    const TPoint square[] = {{1, 1}, {7, 1}, {7, 6}, {1, 6}};
    canvas.Polygon(square);
    EXPECT_EQ(PixelRows(canvas.Image(), 0, 0, 9, 8, clBlack, Red), ".........\n"
                                                                   ".#######.\n"
                                                                   ".#ooooo#.\n"
                                                                   ".#ooooo#.\n"
                                                                   ".#ooooo#.\n"
                                                                   ".#ooooo#.\n"
                                                                   ".#######.\n"
                                                                   ".........\n");
    EXPECT_EQ(canvas.PenPos(), (TPoint{0, 0}));
}

struct TInkBox {
    int Left = INT_MAX, Top = INT_MAX, Right = -1, Bottom = -1;
    bool Empty() const { return Right < 0; }
};

// The box of the pixels of one colour, or of all but white.
TInkBox InkBox(const QImage& image, TColor only = -1) {
    TInkBox box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (only >= 0 ? image.pixel(x, y) == ToQColor(only).rgb()
                          : image.pixel(x, y) != qRgb(255, 255, 255)) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x);
                box.Bottom = std::max(box.Bottom, y);
            }
    return box;
}

TEST(PainterCanvasText, BackgroundOnlyUnderASolidBrush) {
    TRasterCanvas opaque(80, 30);
    opaque.Brush = {Red, bsSolid};
    opaque.TextOut(10, 5, "Wg");
    const int width = opaque.TextWidth("Wg");
    const int height = opaque.TextHeight("Wg");
    // The box is exactly the text cell with its top-left corner on the point.
    const TInkBox box = InkBox(opaque.Image(), Red);
    EXPECT_EQ(box.Left, 10);
    EXPECT_EQ(box.Top, 5);
    EXPECT_EQ(box.Right, 10 + width - 1);
    EXPECT_EQ(box.Bottom, 5 + height - 1);
    EXPECT_EQ(opaque.Image().pixel(10, 5), ToQColor(Red).rgb());
    EXPECT_GT(CountColor(opaque.Image(), clBlack), 0);
    EXPECT_EQ(opaque.PenPos(), (TPoint{10 + width, 5}));

    for (TEnum8 style : {bsClear, bsBDiagonal}) {
        TRasterCanvas transparent(80, 30);
        transparent.Brush = {Red, style};
        transparent.TextOut(10, 5, "Wg");
        EXPECT_EQ(CountColor(transparent.Image(), Red), 0);
        EXPECT_GT(CountColor(transparent.Image(), clBlack), 0);
        const TInkBox ink = InkBox(transparent.Image());
        EXPECT_GE(ink.Left, 10);
        EXPECT_GE(ink.Top, 5);
        EXPECT_LE(ink.Bottom, 5 + height - 1);
    }
}

TEST(PainterCanvasText, FontColourAndMeasures) {
    TRasterCanvas canvas(120, 60);
    canvas.Font.Color = Green;
    canvas.Font.Height = -30;
    canvas.TextOut(2, 2, "Hello");
    EXPECT_GT(CountColor(canvas.Image(), Green), 0);
    EXPECT_EQ(CountColor(canvas.Image(), clBlack), 0);
    const int small = canvas.TextWidth("Hello");
    EXPECT_GT(canvas.TextWidth("Hello, world"), small);
    canvas.Font.Height = -60;
    EXPECT_GT(canvas.TextWidth("Hello"), small * 3 / 2);
    EXPECT_GE(canvas.TextHeight("x"), 60);
    EXPECT_EQ(canvas.TextWidth(""), 0);
}

TEST(PainterCanvasText, EscapementTurnsTheCell) {
    struct TCase {
        std::int32_t Escapement;
        // Where the ink lies relative to the point (50, 50).
        bool Wide, LeftOfPoint, AbovePoint;
    };
    const TCase cases[] = {
        {0, true, false, false},
        {-900, false, true, false}, // runs top to bottom, the cell hangs to the left
        {900, false, false, true},  // runs bottom to top, the cell lies to the right
    };
    for (const TCase& c : cases) {
        TRasterCanvas canvas(100, 100);
        canvas.Brush = {Red, bsSolid};
        canvas.Font.Height = -14;
        canvas.Font.Escapement = c.Escapement;
        canvas.TextOut(50, 50, "Title");
        // The background box is the text cell.
        const TInkBox box = InkBox(canvas.Image(), Red);
        ASSERT_FALSE(box.Empty());
        const int w = box.Right - box.Left + 1;
        const int h = box.Bottom - box.Top + 1;
        SCOPED_TRACE(testing::Message() << "escapement " << c.Escapement << " box " << box.Left
                                        << "," << box.Top << " " << w << "x" << h);
        EXPECT_EQ(w > h, c.Wide);
        EXPECT_EQ(w, c.Wide ? canvas.TextWidth("Title") : canvas.TextHeight("Title"));
        EXPECT_EQ(box.Right < 50, c.LeftOfPoint);
        EXPECT_EQ(box.Bottom < 50, c.AbovePoint);
    }
}

TEST(PainterCanvasPixels, SetPixelAndSystemColours) {
    TRasterCanvas canvas(4, 4);
    canvas.SetPixel(1, 2, Red);
    canvas.SetPixel(2, 2, clWindowText);
    canvas.SetPixel(-1, 2, Red);
    canvas.SetPixel(4, 0, Red);
    canvas.SetPixel(INT_MAX, INT_MIN, Red);
    EXPECT_EQ(PixelRows(canvas.Image(), 0, 0, 4, 4, clBlack, Red), "....\n"
                                                                   "....\n"
                                                                   ".o#.\n"
                                                                   "....\n");
    // System colours on pen and brush.
    TRasterCanvas system(6, 6);
    system.Brush = {SystemColor(15), bsSolid};
    system.Pen.Color = clWindowText;
    system.Rectangle(0, 0, 6, 6);
    EXPECT_EQ(system.Image().pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(system.Image().pixel(3, 3), qRgb(0xF0, 0xF0, 0xF0));
}

// Thin lines and solid fills written straight into the image must set exactly the pixels the
// painter sets. Every drawing below runs twice, once each way, and the pictures are compared.
using TDrawing = std::function<void(TPainterCanvas&)>;

void DrawLines(TPainterCanvas& canvas) {
    const int w = canvas.PictureWidth();
    const int h = canvas.PictureHeight();
    // Lines of every slope and direction, some reaching far outside the picture.
    const TPoint ends[][2] = {
        {{0, 0}, {w, h}},
        {{w - 1, 0}, {0, h - 1}},
        {{5, 3}, {6, h + 40}},
        {{-30, 7}, {w + 30, 9}},
        {{w / 2, -50}, {w / 2, 70}},
        {{3, 3}, {4, 4}},
        {{10, 20}, {10, 21}},
        {{-1000, -999}, {2000, 2001}},
        {{INT_MIN, 11}, {INT_MAX, 13}},
        {{w + 5, h + 5}, {w + 9, h - 30}},
        {{7, 40}, {50, 1}},
        {{50, 1}, {7, 40}},
        {{1, 2}, {13, 8}},
        {{13, 8}, {1, 2}},
        {{0, h - 1}, {w - 1, h - 1}},
    };
    const TEnum8 styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot, psInsideFrame, 7};
    const TBrush brushes[] = {{Green, bsClear}, {Green, bsSolid}, {Green, bsCross}};
    int i = 0;
    for (const TEnum8 style : styles) {
        for (const TBrush& brush : brushes) {
            canvas.Pen = TPen{};
            canvas.Pen.Style = style;
            canvas.Pen.Color = (i % 2 == 0) ? clBlack : Red;
            canvas.Brush = brush;
            for (const auto& line : ends) {
                // Polylines, so that dashes carry on from one piece to the next.
                canvas.MoveTo(line[0].X + i % 3, line[0].Y);
                canvas.LineTo(line[1].X, line[1].Y + i % 5);
                canvas.LineTo(line[1].X / 2 + 3, line[0].Y / 2 + 1);
            }
            ++i;
        }
    }
}

// Boxes with and without a pen, partly outside, one of them wide and high enough to show
// where a hatch's pattern is anchored. Each brush on a picture of its own, so that no brush
// hides what another drew.
TDrawing BoxesFilledWith(TBrush fill) {
    return [fill](TPainterCanvas& canvas) {
        const int w = canvas.PictureWidth();
        const int h = canvas.PictureHeight();
        const TRect boxes[] = {{3, 19, 50, 45},
                               {2, 2, 20, 15},
                               {-10, -10, 8, 9},
                               {w - 5, h - 6, w + 30, h + 30},
                               {30, 5, 31, 40},
                               {12, 12, 14, 14},
                               {INT_MIN, 30, INT_MAX, 33},
                               {40, 40, 35, 30}};
        const TEnum8 pens[] = {psSolid, psClear, psDot};
        for (const TEnum8 pen : pens) {
            canvas.Pen = TPen{};
            canvas.Pen.Style = pen;
            canvas.Brush = fill;
            for (const TRect& box : boxes) {
                canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
                canvas.FillRect({box.Left + 1, box.Top + 2, box.Right - 3, box.Bottom});
            }
        }
    };
}

QImage DrawnOn(QImage image, const TDrawing& drawing, bool direct,
               const std::function<void(QPainter&)>& setUp = {}) {
    image.fill(Qt::white);
    QPainter painter(&image);
    if (setUp)
        setUp(painter);
    const QSizeF logical = image.deviceIndependentSize();
    TPainterCanvas canvas(painter, static_cast<int>(logical.width()),
                          static_cast<int>(logical.height()));
    canvas.DirectPixels = direct;
    drawing(canvas);
    painter.end();
    return image;
}

TEST(PainterCanvasDirectPixels, SameAsThePainterOnEveryImageKind) {
    struct TCase {
        const char* Name;
        QImage::Format Format;
        std::function<void(QPainter&)> SetUp;
        double Ratio = 1;
    };
    const TCase cases[] = {
        {"rgb32", QImage::Format_RGB32, {}},
        {"argb32", QImage::Format_ARGB32, {}},
        {"premultiplied", QImage::Format_ARGB32_Premultiplied, {}},
        // Images the direct writes cannot serve must fall back to the painter.
        {"rgb888", QImage::Format_RGB888, {}},
        {"moved", QImage::Format_RGB32, [](QPainter& p) { p.translate(3, 2); }},
        {"clipped", QImage::Format_RGB32,
         [](QPainter& p) { p.setClipRect(QRect(10, 10, 30, 25)); }},
        {"half opaque", QImage::Format_RGB32, [](QPainter& p) { p.setOpacity(0.5); }},
        // Device pixels of a HiDPI picture.
        {"ratio 2", QImage::Format_RGB32, {}, 2},
        {"ratio 1.5", QImage::Format_ARGB32_Premultiplied, {}, 1.5},
        {"ratio 2, clipped", QImage::Format_RGB32,
         [](QPainter& p) { p.setClipRect(QRect(10, 10, 30, 25)); }, 2},
    };
    // White is set byte-wise, a whole picture's width at once: bands of it over red.
    const TDrawing whiteOverRed = [](TPainterCanvas& canvas) {
        const int w = canvas.PictureWidth();
        const int h = canvas.PictureHeight();
        canvas.Brush = {Red, bsSolid};
        canvas.FillRect({0, 0, w, h});
        canvas.Brush = {clWhite, bsSolid};
        canvas.FillRect({-5, 3, w + 5, 9});
        canvas.FillRect({0, 12, w, 13});
        canvas.FillRect({4, 20, 30, 31});
        canvas.Rectangle(10, 35, w - 2, h - 1);
    };
    std::vector<std::pair<std::string, TDrawing>> drawings = {{"lines", DrawLines},
                                                              {"white over red", whiteOverRed}};
    const TBrush fills[] = {{Red, bsSolid},       {Green, bsHorizontal},     {Red, bsVertical},
                            {Green, bsFDiagonal}, {Red, bsBDiagonal},        {Green, bsCross},
                            {Red, bsDiagCross},   {SystemColor(15), bsSolid}};
    for (const TBrush& fill : fills)
        drawings.emplace_back("boxes of brush " + std::to_string(fill.Style),
                              BoxesFilledWith(fill));
    for (const TCase& c : cases) {
        for (const auto& [name, drawing] : drawings) {
            QImage image(static_cast<int>(std::floor(61 * c.Ratio + 0.5)),
                         static_cast<int>(std::floor(47 * c.Ratio + 0.5)), c.Format);
            image.setDevicePixelRatio(c.Ratio);
            const QImage slow = DrawnOn(image, drawing, false, c.SetUp);
            const QImage fast = DrawnOn(image, drawing, true, c.SetUp);
            EXPECT_EQ(fast, slow) << c.Name << ", " << name;
            // The drawing did draw, also inside the clip.
            EXPECT_LT(CountColor(slow, clWhite), image.width() * image.height() - 100)
                << c.Name << ", " << name;
        }
    }
}

TEST(PainterCanvasDirectPixels, PictureSmallerThanTheImageAndCopiesKeepTheirMoment) {
    // Lines stay in the picture the canvas was told, fills reach into its border: both ways alike.
    const QImage image(40, 30, QImage::Format_RGB32);
    const TDrawing diagonal = [](TPainterCanvas& canvas) {
        canvas.MoveTo(-5, -5);
        canvas.LineTo(60, 60);
        canvas.Brush = {Red, bsSolid};
        canvas.FillRect({-5, 25, 60, 60});
    };
    const auto small = [&](bool direct) {
        QImage copy = image;
        copy.fill(Qt::white);
        QPainter painter(&copy);
        TPainterCanvas canvas(painter, 20, 15);
        canvas.DirectPixels = direct;
        diagonal(canvas);
        painter.end();
        return copy;
    };
    EXPECT_EQ(small(true), small(false));
    EXPECT_EQ(CountColor(small(true), clBlack), 15);

    // A copy taken while the picture is painted on keeps the pixels of its moment.
    TRasterCanvas canvas(10, 10);
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 0);
    const QImage before = canvas.Image();
    canvas.MoveTo(0, 5);
    canvas.LineTo(10, 5);
    canvas.Brush = {Red, bsSolid};
    canvas.FillRect({0, 8, 10, 10});
    EXPECT_EQ(CountColor(before, clBlack), 10);
    EXPECT_EQ(CountColor(before, Red), 0);
    EXPECT_EQ(CountColor(canvas.Image(), clBlack), 20);
    EXPECT_EQ(CountColor(canvas.Image(), Red), 20);
}

// Wide lines wait in the picture's canvas and go to the painter together; an external painter
// gets them one by one. Curves of short pieces in every direction, pens of several widths and
// colours, each in a column of its own, with thin lines, pixels and fills drawn between wide
// lines of the same pen: the same pixels, in the same order, at whole and fractional ratios.
TEST(PainterCanvasWideLines, DrawnTogetherAsOneByOne) {
    const TDrawing curves = [](TPainterCanvas& canvas) {
        const TPen pens[] = {{Red, 2, psSolid},
                             {Green, 3, psDash},
                             {clBlack, 4, psSolid},
                             {Red, 7, psSolid},
                             {Green, 2, psSolid}};
        int left = 5;
        for (const TPen& pen : pens) {
            canvas.Pen = pen;
            canvas.Brush = {left % 2 == 0 ? clWhite : Green, left % 2 == 0 ? bsSolid : bsClear};
            // A spiral, then a zigzag that leaves the picture at the top and comes back.
            canvas.MoveTo(left + 18, 25);
            for (int i = 1; i < 60; ++i) {
                const double angle = i * 0.31 + left;
                const double radius = 1 + i * 0.25;
                canvas.LineTo(static_cast<int>(left + 18 + radius * std::cos(angle)),
                              static_cast<int>(25 + radius * std::sin(angle)));
            }
            for (int i = 0; i < 8; ++i)
                canvas.LineTo(left + i * 5, i % 2 == 0 ? -9 : 70);
            // Thin dashes that go on from where the wide lines ended.
            canvas.Pen.Width = 1;
            canvas.Pen.Style = psDashDot;
            canvas.LineTo(left + 2, 104);
            // A thin line and a pixel over it, then a fill between two wide lines of the pen.
            canvas.MoveTo(left, 50);
            canvas.LineTo(left + 36, 56);
            canvas.SetPixel(left + 18, 25, clBlack);
            canvas.Pen = pen;
            canvas.MoveTo(left, 80);
            canvas.LineTo(left + 36, 90);
            canvas.Brush = {Green, bsSolid};
            canvas.FillRect({left + 10, 75, left + 16, 100});
            canvas.MoveTo(left, 95);
            canvas.LineTo(left + 36, 82);
            left += 38;
        }
        // Over every column.
        canvas.Pen = {Red, 3, psSolid};
        canvas.MoveTo(0, 60);
        canvas.LineTo(200, 66);
    };
    for (const double ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        TRasterCanvas batched(200, 110, ratio);
        curves(batched);
        QImage image(batched.Image().size(), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        const QImage oneByOne = DrawnOn(image, curves, true);
        EXPECT_EQ(batched.Image(), oneByOne);
        EXPECT_GT(CountColor(oneByOne, Red), 500 * ratio * ratio);
        EXPECT_GT(CountColor(oneByOne, Green), 500 * ratio * ratio);
    }
}

TEST(PainterCanvas, PaintsOnVectorDevices) {
    // The same canvas drives a PDF writer; pages come out with vector content.
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(96);
        writer.setPageSize(QPageSize(QSizeF(200 * 0.75, 100 * 0.75), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        TPainterCanvas canvas(painter, 200, 100);
        canvas.Brush = {Red, bsFDiagonal};
        canvas.Rectangle(10, 10, 190, 90);
        canvas.Pen.Style = psDash;
        canvas.MoveTo(-100'000'000, 50);
        canvas.LineTo(100'000'000, 50);
        canvas.TextOut(20, 20, "Vector");
        EXPECT_GT(canvas.TextWidth("Vector"), 0);
    }
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_GT(pdf.size(), 500);
}

} // namespace
} // namespace curvana
