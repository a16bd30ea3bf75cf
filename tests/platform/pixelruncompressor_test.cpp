// The compressed stream must inflate, checksum included, to exactly the bytes and runs given.
#include "platform/pixelruncompressor.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <random>
#include <string>

namespace curvana {
namespace {

struct TPiece {
    std::uint32_t Rgb;
    std::uint32_t Count; // zero: the single byte Rgb
};

std::vector<unsigned char> Expanded(const std::vector<TPiece>& pieces) {
    std::vector<unsigned char> bytes;
    for (const TPiece& piece : pieces) {
        if (piece.Count == 0)
            bytes.push_back(static_cast<unsigned char>(piece.Rgb));
        for (std::uint32_t i = 0; i < piece.Count; ++i)
            bytes.insert(bytes.end(), {static_cast<unsigned char>(piece.Rgb >> 16),
                                       static_cast<unsigned char>(piece.Rgb >> 8),
                                       static_cast<unsigned char>(piece.Rgb)});
    }
    return bytes;
}

TEST(PixelRunCompressor, InflatesToWhatWasGiven) {
    std::mt19937 random(7);
    const auto next = [&random](std::uint32_t below) {
        return static_cast<std::uint32_t>(random() % below);
    };
    std::vector<TPiece> manyBlocks;
    for (int i = 0; i < 200000; ++i)
        manyBlocks.push_back(i % 3 == 0 ? TPiece{next(256), 0}
                                        : TPiece{next(1 << 24), 1 + next(40)});
    std::vector<TPiece> everyLength;
    for (std::uint32_t n = 1; n <= 400; ++n)
        everyLength.push_back({n * 0x010203U, n});
    const struct {
        const char* Name;
        std::vector<TPiece> Pieces;
    } cases[] = {
        {"nothing", {}},
        {"one byte", {{2, 0}}},
        {"one pixel", {{0x123456, 1}}},
        {"bytes only", {{0, 0}, {255, 0}, {143, 0}, {144, 0}, {0, 0}}},
        // Far more than one match holds, and not a whole number of them.
        {"long run", {{2, 0}, {0, 100000}, {0xFFFFFF, 86}, {0x010101, 87}}},
        {"every run length", everyLength},
        {"several blocks", manyBlocks},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> out = {'x'};
        TPixelRunCompressor compressor(out);
        for (const TPiece& piece : c.Pieces) {
            if (piece.Count == 0)
                compressor.AddByte(static_cast<std::uint8_t>(piece.Rgb));
            else
                compressor.AddRun(piece.Rgb, piece.Count);
        }
        compressor.Finish();
        ASSERT_EQ(out[0], 'x') << c.Name; // appended, not overwritten
        const std::vector<unsigned char> expected = Expanded(c.Pieces);
        std::vector<unsigned char> inflated(expected.size() + 1);
        uLongf size = inflated.size();
        ASSERT_EQ(uncompress(inflated.data(), &size, out.data() + 1, out.size() - 1), Z_OK)
            << c.Name;
        inflated.resize(size);
        EXPECT_EQ(inflated, expected) << c.Name;
    }
}

TEST(PixelRunCompressor, RepeatedPixelsCostLittle) {
    std::vector<unsigned char> out;
    TPixelRunCompressor compressor(out);
    for (int row = 0; row < 1000; ++row) {
        compressor.AddByte(2);
        compressor.AddRun(0, 1920);
    }
    compressor.Finish();
    // 5.8 MB of rows unchanged from the row above.
    EXPECT_LT(out.size(), 20000u);
}

} // namespace
} // namespace curvana
