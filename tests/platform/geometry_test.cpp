#include "platform/clipping.h"
#include "platform/linepixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>

namespace curvana {
namespace {

std::set<std::pair<int, int>> PixelSet(const std::vector<TLinePixel>& pixels) {
    std::set<std::pair<int, int>> set;
    for (const TLinePixel& p : pixels)
        set.insert({p.X, p.Y});
    return set;
}

TEST(LinePixels, OnePixelPerStepStartIncludedEndExcluded) {
    // Every direction, including the diagonals and both axes.
    for (int dx = -7; dx <= 7; ++dx) {
        for (int dy = -7; dy <= 7; ++dy) {
            if (dx == 0 && dy == 0)
                continue;
            SCOPED_TRACE(testing::Message() << "dx " << dx << " dy " << dy);
            const auto pixels = LinePixels({10, 10}, {10 + dx, 10 + dy}, 21, 21);
            const auto set = PixelSet(pixels);
            EXPECT_EQ(pixels.size(),
                      static_cast<std::size_t>(std::max(std::abs(dx), std::abs(dy))));
            EXPECT_EQ(set.size(), pixels.size());
            EXPECT_TRUE(set.count({10, 10}));
            EXPECT_FALSE(set.count({10 + dx, 10 + dy}));
            // Neighbouring pixels touch: no gaps in the line.
            for (std::size_t i = 1; i < pixels.size(); ++i) {
                EXPECT_LE(std::abs(pixels[i].X - pixels[i - 1].X), 1);
                EXPECT_LE(std::abs(pixels[i].Y - pixels[i - 1].Y), 1);
            }
        }
    }
}

TEST(LinePixels, ReverseDirectionCoversTheSamePixelsWithoutTies) {
    // With an odd step count no pixel lies exactly half-way, so both directions agree on the
    // pixels between the ends.
    const std::pair<TPoint, TPoint> lines[] = {
        {{2, 3}, {9, 5}}, {{1, 1}, {4, 8}}, {{12, 2}, {3, 7}}, {{0, 10}, {15, 0}}};
    for (const auto& [a, b] : lines) {
        auto forward = PixelSet(LinePixels(a, b, 20, 20));
        auto backward = PixelSet(LinePixels(b, a, 20, 20));
        forward.insert({b.X, b.Y});
        backward.insert({a.X, a.Y});
        EXPECT_EQ(forward, backward) << a.X << "," << a.Y << " " << b.X << "," << b.Y;
    }
}

TEST(LinePixels, HorizontalAndVerticalExactPixels) {
    const std::vector<TLinePixel> right = LinePixels({1, 2}, {5, 2}, 8, 8);
    const std::vector<TLinePixel> wantRight = {{1, 2, 0}, {2, 2, 1}, {3, 2, 2}, {4, 2, 3}};
    EXPECT_EQ(right, wantRight);
    const std::vector<TLinePixel> up = LinePixels({3, 6}, {3, 3}, 8, 8);
    const std::vector<TLinePixel> wantUp = {{3, 6, 0}, {3, 5, 1}, {3, 4, 2}};
    EXPECT_EQ(up, wantUp);
}

TEST(LinePixels, FarEndsOnlyTheVisiblePartAndSteps) {
    // Ends near the 32-bit limits: the work and the result stay within the picture.
    const auto row = LinePixels({-2'000'000'000, 5}, {2'000'000'000, 5}, 10, 10);
    ASSERT_EQ(row.size(), 10u);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(row[static_cast<std::size_t>(x)].X, x);
        EXPECT_EQ(row[static_cast<std::size_t>(x)].Y, 5);
        EXPECT_EQ(row[static_cast<std::size_t>(x)].Step, 2'000'000'000LL + x);
    }
    // A diagonal from far away ends one pixel before its end point, as a short one would.
    EXPECT_EQ(PixelSet(LinePixels({-100'000'000, -100'000'000}, {10, 10}, 20, 20)),
              PixelSet(LinePixels({-5, -5}, {10, 10}, 20, 20)));
    // A slope kept exactly over a long way: 1 down per 1000 across.
    const auto slope = LinePixels({-1'000'000, -1000}, {1'000'000, 1000}, 5, 5);
    ASSERT_EQ(slope.size(), 5u);
    for (const TLinePixel& p : slope)
        EXPECT_EQ(p.Y, 0);
    EXPECT_TRUE(LinePixels({-50, -50}, {-10, 100}, 20, 20).empty());
    EXPECT_TRUE(LinePixels({4, 4}, {4, 4}, 20, 20).empty());
    EXPECT_TRUE(LinePixels({0, 0}, {4, 4}, 0, 20).empty());
}

TEST(ClipSegment, KeepsInsideCutsCrossingDropsOutside) {
    const TRectF rect{0, 0, 10, 10};
    const auto inside = ClipSegment({1, 2}, {8, 9}, rect);
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->From, (TPointF{1, 2}));
    EXPECT_EQ(inside->To, (TPointF{8, 9}));
    EXPECT_EQ(inside->StartOffset, 0);

    const auto crossing = ClipSegment({-1e8, 5}, {1e8, 5}, rect);
    ASSERT_TRUE(crossing);
    EXPECT_DOUBLE_EQ(crossing->From.X, 0);
    EXPECT_DOUBLE_EQ(crossing->To.X, 10);
    EXPECT_DOUBLE_EQ(crossing->StartOffset, 1e8);

    // The direction is kept: the cut diagonal still runs through (5, 5).
    const auto diagonal = ClipSegment({-1e8, -1e8 + 1}, {1e8, 1e8 + 1}, rect);
    ASSERT_TRUE(diagonal);
    EXPECT_NEAR(diagonal->From.Y - diagonal->From.X, 1, 1e-6);
    EXPECT_NEAR(diagonal->To.Y - diagonal->To.X, 1, 1e-6);

    EXPECT_FALSE(ClipSegment({-5, -5}, {-1, 20}, rect));
    EXPECT_FALSE(ClipSegment({20, 0}, {30, 10}, rect));
    EXPECT_FALSE(ClipSegment({std::nan(""), 0}, {5, 5}, rect));
}

double Area(const std::vector<TPointF>& polygon) {
    double twice = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const TPointF& a = polygon[i];
        const TPointF& b = polygon[(i + 1) % polygon.size()];
        twice += a.X * b.Y - b.X * a.Y;
    }
    return std::abs(twice) / 2;
}

TEST(ClipPolygon, CutsToTheRectangle) {
    const TRectF rect{0, 0, 10, 10};
    const std::vector<TPointF> inside = {{1, 1}, {9, 1}, {5, 8}};
    EXPECT_EQ(ClipPolygon(inside, rect), inside);

    // A huge square around the rectangle leaves the rectangle.
    const auto covering = ClipPolygon({{-1e8, -1e8}, {1e8, -1e8}, {1e8, 1e8}, {-1e8, 1e8}}, rect);
    EXPECT_DOUBLE_EQ(Area(covering), 100);
    for (const TPointF& p : covering)
        EXPECT_TRUE(rect.Contains(p));

    // Half of a triangle sticking out to the left.
    EXPECT_DOUBLE_EQ(Area(ClipPolygon({{-4, 0}, {4, 0}, {0, 8}}, rect)), 16);
    EXPECT_LT(ClipPolygon({{-9, -9}, {-5, -9}, {-5, -5}}, rect).size(), 3u);
}

TEST(EllipsePoints, OnTheCurveAndBounded) {
    const auto small = EllipsePoints(0, 0, 20, 10);
    EXPECT_GE(small.size(), 16u);
    for (const TPointF& p : small)
        EXPECT_NEAR(std::pow((p.X - 10) / 10, 2) + std::pow((p.Y - 5) / 5, 2), 1, 1e-9);
    // The view's largest circles stay affordable.
    const auto huge = EllipsePoints(-1e8, -1e8, 1e8, 1e8);
    EXPECT_LE(huge.size(), static_cast<std::size_t>(MaxEllipsePoints));
    EXPECT_GT(huge.size(), 10000u);
}

} // namespace
} // namespace curvana
