// Implicit curves checked against the mathematics: wherever f changes sign between the corners
// of a pixel of the plot area, the curve passes through that pixel, and a pixel must be drawn
// there or next to it; every pixel drawn must lie next to such a pixel.

#include "drawfixture.h"

#include <cmath>
#include <functional>
#include <set>
#include <utility>

namespace curvana {
namespace {

using TPixel = std::pair<int, int>;

class ImplicitCoverageTest : public DrawTest {
protected:
    // Pixels of the default view's plot area whose corners do not all share one sign of f.
    std::set<TPixel> SignChangePixels(const std::function<double(double, double)>& f) const {
        // Plot area 30..643 x 30..403 for the default ranges -10..10.
        constexpr int left = 30, right = 643, top = 30, bottom = 403;
        const double kx = (right - left) / 20.0;
        const double ky = (bottom - top) / 20.0;
        const auto value = [&](int px, int py) {
            return f(-10 + (px - left) / kx, -10 + (bottom - py) / ky);
        };
        std::set<TPixel> pixels;
        for (int py = top; py < bottom; ++py) {
            for (int px = left; px < right; ++px) {
                const double v[4] = {value(px, py), value(px + 1, py), value(px, py + 1),
                                     value(px + 1, py + 1)};
                bool positive = false;
                bool negative = false;
                for (double c : v) {
                    positive = positive || c > 0;
                    negative = negative || c < 0;
                }
                if (positive && negative)
                    pixels.insert({px, py});
            }
        }
        return pixels;
    }

    std::set<TPixel> Drawn() const {
        std::set<TPixel> pixels;
        for (const TCanvasOp* op : canvas.OfKind(TCanvasOpKind::SetPixel))
            pixels.insert({op->Points[0].X, op->Points[0].Y});
        return pixels;
    }
};

// Whether some pixel of the set lies within `distance` (in both directions) of p.
bool Near(const std::set<TPixel>& pixels, TPixel p, int distance) {
    for (int dy = -distance; dy <= distance; ++dy)
        for (int dx = -distance; dx <= distance; ++dx)
            if (pixels.count({p.first + dx, p.second + dy}))
                return true;
    return false;
}

TEST_F(ImplicitCoverageTest, EveryPieceOfTheCurveIsDrawn) {
    struct Case {
        const char* exp;
        std::function<double(double, double)> f;
    };
    const auto sq = [](double v) { return v * v; };
    const Case cases[] = {
        {"(x-3)^2+(y-2)^2-4", [&](double x, double y) { return sq(x - 3) + sq(y - 2) - 4; }},
        {"(x^2+y^2-4)(x^2+y^2-9)",
         [&](double x, double y) { return (sq(x) + sq(y) - 4) * (sq(x) + sq(y) - 9); }},
        {"(x^2+y^2-1)((x-6)^2+(y-6)^2-1)",
         [&](double x, double y) { return (sq(x) + sq(y) - 1) * (sq(x - 6) + sq(y - 6) - 1); }},
        {"x^2-y^2-1", [&](double x, double y) { return sq(x) - sq(y) - 1; }},
        {"(x^2+y^2)^2-8(x^2-y^2)",
         [&](double x, double y) { return sq(sq(x) + sq(y)) - 8 * (sq(x) - sq(y)); }},
        // About 5 x 3 pixels across, off every grid line of the subdivision.
        {"(x-2.37)^2+(y+1.21)^2-0.15^2",
         [&](double x, double y) { return sq(x - 2.37) + sq(y + 1.21) - sq(0.15); }},
        {"sin(x)-cos(y)", [](double x, double y) { return std::sin(x) - std::cos(y); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exp);
        canvas.Clear();
        Plot(AddFunction(ftRelation, c.exp, "=0"));
        const std::set<TPixel> must = SignChangePixels(c.f);
        const std::set<TPixel> drawn = Drawn();
        ASSERT_GT(must.size(), 20u);
        std::size_t missed = 0;
        for (const TPixel& p : must)
            missed += !Near(drawn, p, 1);
        EXPECT_EQ(missed, 0u) << "of " << must.size();
        std::size_t strays = 0;
        for (const TPixel& p : drawn)
            strays += !Near(must, p, 2);
        EXPECT_EQ(strays, 0u) << "of " << drawn.size();
    }
}

} // namespace
} // namespace curvana
