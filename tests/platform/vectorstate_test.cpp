#include "platform/rastercanvas.h"
#include "platform/vectorstate.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#endif

namespace curvana {
namespace {

// Whether the upper halves of the AVX registers are in use on this thread, where the processor
// can tell (XGETBV with ECX = 1, bit 2 of the in-use state).
std::optional<bool> UpperVectorStateInUse() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0 || (c & bit_OSXSAVE) == 0 || (c & bit_AVX) == 0)
        return std::nullopt;
    if (__get_cpuid_count(0xD, 1, &a, &b, &c, &d) == 0 || (a & (1u << 2)) == 0)
        return std::nullopt;
    unsigned low = 0, high = 0;
    asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return (low & (1u << 2)) != 0;
#else
    return std::nullopt;
#endif
}

// Fills that Qt does with AVX where it can; false when this machine or Qt leaves no trace, so
// that a test below could not fail.
bool QtLeavesUpperStateInUse() {
    QImage image(256, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::optional<bool> inUse = UpperVectorStateInUse();
    ClearUpperVectorState();
    return inUse.value_or(false);
}

// Every drawing path of the canvas that goes through Qt leaves the registers clear, so the
// view's arithmetic after it runs at full speed.
TEST(PainterCanvasVectorState, DrawingLeavesUpperStateClear) {
    if (!QtLeavesUpperStateInUse())
        GTEST_SKIP() << "Qt's fills leave no upper vector state in use on this machine";
    struct TCase {
        const char* Name;
        double Ratio;
        std::function<void(TRasterCanvas&)> Draw;
    };
    const TCase cases[] = {
        {"new picture", 1, [](TRasterCanvas& c) { c.SetSize(300, 200, 2); }},
        {"wide lines, drawn when the picture is read", 1,
         [](TRasterCanvas& c) {
             c.Pen.Width = 3;
             c.MoveTo(10, 10);
             c.LineTo(200, 150);
             c.LineTo(20, 190);
             (void)c.Image();
         }},
        {"wide line at ratio 2, then a rectangle", 2,
         [](TRasterCanvas& c) {
             c.Pen.Width = 2;
             c.MoveTo(10, 10);
             c.LineTo(200, 150);
             c.Rectangle(5, 5, 50, 50);
         }},
        {"ellipse", 1, [](TRasterCanvas& c) { c.Ellipse(10, 10, 150, 120); }},
        {"hatched polygon at ratio 1.5", 1.5,
         [](TRasterCanvas& c) {
             c.Brush.Style = bsCross;
             const TPoint points[] = {{5, 5}, {180, 20}, {90, 150}};
             c.Polygon(points);
         }},
        {"text", 1, [](TRasterCanvas& c) { c.TextOut(20, 20, "Curvana 123"); }},
        {"text width", 1, [](TRasterCanvas& c) { (void)c.TextWidth("Curvana 123"); }},
        {"pixel at ratio 1.5", 1.5, [](TRasterCanvas& c) { c.SetPixel(3, 4, 0x0000FF); }},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TRasterCanvas canvas(300, 200, test.Ratio);
        test.Draw(canvas);
        EXPECT_EQ(UpperVectorStateInUse(), false);
    }
}

} // namespace
} // namespace curvana
