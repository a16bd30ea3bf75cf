#include "platform/pixelruncompressor.h"

#include <algorithm>
#include <array>
#include <functional>
#include <queue>
#include <utility>

namespace curvana {

namespace {

// A code: its bits in the order they are written (the stream is filled from the bottom bit),
// and how many.
struct TCode {
    std::uint32_t Bits = 0;
    std::uint32_t Count = 0;
};

// Huffman codes are sent from their top bit.
std::uint32_t Reversed(std::uint32_t code, std::uint32_t count) {
    std::uint32_t result = 0;
    for (std::uint32_t i = 0; i < count; ++i)
        result |= ((code >> i) & 1U) << (count - 1 - i);
    return result;
}

constexpr std::uint32_t AdlerModulus = 65521;
constexpr std::size_t BlockRuns = 1 << 16;

// Literal/length symbols: bytes 0-255, end of block 256, match lengths 257-285.
constexpr std::size_t SymbolCount = 286;
constexpr std::uint32_t EndOfBlock = 256;
constexpr std::uint32_t LongestMatch = 258;
constexpr std::uint32_t LengthBase[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                        15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                        67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint32_t LengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                         2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

// The length symbol's offset from 257 for each match length 3 to 258.
constexpr std::array<std::uint8_t, LongestMatch + 1> LengthIndex = [] {
    std::array<std::uint8_t, LongestMatch + 1> index{};
    for (std::uint32_t length = 3; length <= LongestMatch; ++length) {
        std::uint8_t i = 28;
        while (LengthBase[i] > length)
            --i;
        index[length] = i;
    }
    return index;
}();

// Huffman code lengths of at most `limit` bits for the used symbols (zero for the others).
// Where the best code is longer, the counts are halved until it is not.
std::vector<std::uint8_t> CodeLengths(std::vector<std::uint32_t> counts, std::uint32_t limit) {
    const std::size_t n = counts.size();
    std::vector<std::uint8_t> lengths(n, 0);
    while (true) {
        // Nodes 0..n-1 are the symbols, the rest the joins; a node's length is its parent's + 1.
        using TItem = std::pair<std::uint64_t, std::size_t>;
        std::priority_queue<TItem, std::vector<TItem>, std::greater<>> queue;
        std::vector<std::size_t> parent(n, 0);
        for (std::size_t i = 0; i < n; ++i)
            if (counts[i] > 0)
                queue.push({counts[i], i});
        while (queue.size() > 1) {
            const TItem a = queue.top();
            queue.pop();
            const TItem b = queue.top();
            queue.pop();
            parent.push_back(0);
            parent[a.second] = parent[b.second] = parent.size() - 1;
            queue.push({a.first + b.first, parent.size() - 1});
        }
        // Joins come after their children, so one pass from the root down sets every depth.
        std::vector<std::uint32_t> depth(parent.size(), 0);
        for (std::size_t i = parent.size() - 1; i-- > 0;)
            if (i >= n || counts[i] > 0)
                depth[i] = depth[parent[i]] + 1;
        std::uint32_t longest = 0;
        for (std::size_t i = 0; i < n; ++i) {
            lengths[i] = static_cast<std::uint8_t>(counts[i] > 0 ? depth[i] : 0);
            longest = std::max<std::uint32_t>(longest, lengths[i]);
        }
        if (longest <= limit)
            return lengths;
        for (std::uint32_t& count : counts)
            if (count > 0)
                count = (count + 1) / 2;
    }
}

// The canonical codes of the lengths.
std::vector<TCode> CanonicalCodes(const std::vector<std::uint8_t>& lengths) {
    std::array<std::uint32_t, 16> perLength{};
    for (std::uint8_t length : lengths)
        ++perLength[length];
    perLength[0] = 0;
    std::array<std::uint32_t, 16> next{};
    for (std::size_t bits = 1; bits < 16; ++bits)
        next[bits] = (next[bits - 1] + perLength[bits - 1]) << 1;
    std::vector<TCode> codes(lengths.size());
    for (std::size_t i = 0; i < lengths.size(); ++i)
        if (lengths[i] > 0)
            codes[i] = {Reversed(next[lengths[i]]++, lengths[i]), lengths[i]};
    return codes;
}

// Two used symbols at least: a code of one symbol would be incomplete.
void KeepTwoSymbols(std::vector<std::uint32_t>& counts) {
    const auto used = [&counts] {
        return std::count_if(counts.begin(), counts.end(), [](std::uint32_t c) { return c > 0; });
    };
    for (std::size_t i = 0; i < counts.size() && used() < 2; ++i)
        counts[i] = std::max<std::uint32_t>(counts[i], 1);
}

// The code lengths of a block header, run-length coded: a length, or 16 (repeat the last
// 3-6 times), 17 (3-10 zeros), 18 (11-138 zeros) with extra bits.
struct TLengthItem {
    std::uint32_t Symbol;
    std::uint32_t Extra;
    std::uint32_t ExtraBits;
};

std::vector<TLengthItem> RunLengthCoded(const std::vector<std::uint8_t>& lengths) {
    std::vector<TLengthItem> items;
    for (std::size_t i = 0; i < lengths.size();) {
        std::size_t same = 1;
        while (i + same < lengths.size() && lengths[i + same] == lengths[i])
            ++same;
        if (lengths[i] == 0 && same >= 11) {
            same = std::min<std::size_t>(same, 138);
            items.push_back({18, static_cast<std::uint32_t>(same - 11), 7});
        } else if (lengths[i] == 0 && same >= 3) {
            items.push_back({17, static_cast<std::uint32_t>(same - 3), 3});
        } else if (lengths[i] != 0 && same >= 4) {
            same = std::min<std::size_t>(same, 7);
            items.push_back({lengths[i], 0, 0});
            items.push_back({16, static_cast<std::uint32_t>(same - 4), 2});
        } else {
            same = 1;
            items.push_back({lengths[i], 0, 0});
        }
        i += same;
    }
    return items;
}

} // namespace

TPixelRunCompressor::TPixelRunCompressor(std::vector<unsigned char>& out)
    : FOut(out), FCounts(SymbolCount, 0) {
    FOut.push_back(0x78); // deflate, 32 KB window
    FOut.push_back(0x01); // no dictionary, check bits
}

void TPixelRunCompressor::AddByte(std::uint8_t byte) {
    FRuns.push_back({byte, 0});
    ++FCounts[byte];
    FAdlerA = (FAdlerA + byte) % AdlerModulus;
    FAdlerB = (FAdlerB + FAdlerA) % AdlerModulus;
    if (FRuns.size() >= BlockRuns)
        WriteBlock(false);
}

void TPixelRunCompressor::AddRun(std::uint32_t rgb, std::uint32_t count) {
    if (count == 0)
        return;
    rgb &= 0xFFFFFF;
    FRuns.push_back({rgb, count});
    // The first pixel as three literals, the others as matches one pixel back, in pieces that
    // stay multiples of three so that none is shorter than a match.
    const std::uint64_t p0 = rgb >> 16;
    const std::uint64_t p1 = (rgb >> 8) & 0xFF;
    const std::uint64_t p2 = rgb & 0xFF;
    ++FCounts[p0];
    ++FCounts[p1];
    ++FCounts[p2];
    const std::uint64_t repeated = 3 * (std::uint64_t{count} - 1);
    FCounts[257 + LengthIndex[LongestMatch]] += static_cast<std::uint32_t>(repeated / LongestMatch);
    if (repeated % LongestMatch != 0)
        ++FCounts[257 + LengthIndex[repeated % LongestMatch]];
    // Each round adds s = p0 + p1 + p2 to a, and to b three times the a it started with plus
    // 3 p0 + 2 p1 + p2.
    const std::uint64_t n = count;
    const std::uint64_t s = p0 + p1 + p2;
    const std::uint64_t w = 3 * p0 + 2 * p1 + p2;
    FAdlerB = static_cast<std::uint32_t>(
        (FAdlerB + 3 * n * FAdlerA + 3 * s * (n * (n - 1) / 2 % AdlerModulus) + n * w) %
        AdlerModulus);
    FAdlerA = static_cast<std::uint32_t>((FAdlerA + n * s) % AdlerModulus);
    if (FRuns.size() >= BlockRuns)
        WriteBlock(false);
}

void TPixelRunCompressor::Finish() {
    WriteBlock(true);
    if (FBitCount > 0)
        FOut.push_back(static_cast<unsigned char>(FBits));
    FBits = 0;
    FBitCount = 0;
    const std::uint32_t adler = FAdlerB << 16 | FAdlerA;
    for (int shift = 24; shift >= 0; shift -= 8)
        FOut.push_back(static_cast<unsigned char>(adler >> shift));
}

void TPixelRunCompressor::WriteBlock(bool last) {
    // At most 32 bits at a time.
    const auto put = [this](TCode code) {
        FBits |= static_cast<std::uint64_t>(code.Bits) << FBitCount;
        FBitCount += code.Count;
        while (FBitCount >= 8) {
            FOut.push_back(static_cast<unsigned char>(FBits));
            FBits >>= 8;
            FBitCount -= 8;
        }
    };
    ++FCounts[EndOfBlock];
    KeepTwoSymbols(FCounts);
    const std::vector<std::uint8_t> lengths = CodeLengths(FCounts, 15);
    const std::vector<TCode> codes = CanonicalCodes(lengths);

    // The header: the code lengths of the literal/length symbols up to the last used one and
    // of distances 0-2, of which only 2 (distance 3) is used: the single one-bit code 0.
    std::size_t used = SymbolCount;
    while (used > 257 && lengths[used - 1] == 0)
        --used;
    std::vector<std::uint8_t> all(lengths.begin(), lengths.begin() + static_cast<long>(used));
    all.insert(all.end(), {0, 0, 1});
    const std::vector<TLengthItem> items = RunLengthCoded(all);
    std::vector<std::uint32_t> itemCounts(19, 0);
    for (const TLengthItem& item : items)
        ++itemCounts[item.Symbol];
    KeepTwoSymbols(itemCounts);
    const std::vector<std::uint8_t> itemLengths = CodeLengths(itemCounts, 7);
    const std::vector<TCode> itemCodes = CanonicalCodes(itemLengths);
    constexpr std::uint8_t Order[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                        11, 4,  12, 3, 13, 2, 14, 1, 15};
    std::uint32_t sent = 19;
    while (sent > 4 && itemLengths[Order[sent - 1]] == 0)
        --sent;
    put({(last ? 1U : 0U) | 2U << 1, 3}); // dynamic codes
    put({static_cast<std::uint32_t>(used - 257), 5});
    put({3 - 1, 5});
    put({sent - 4, 4});
    for (std::uint32_t i = 0; i < sent; ++i)
        put({itemLengths[Order[i]], 3});
    for (const TLengthItem& item : items) {
        put(itemCodes[item.Symbol]);
        put({item.Extra, item.ExtraBits});
    }

    // A match: its length symbol, the length's extra bits and the distance code.
    std::array<TCode, LongestMatch + 1> matches{};
    for (std::uint32_t length = 3; length <= LongestMatch; ++length) {
        const std::uint32_t i = LengthIndex[length];
        const TCode symbol = codes[257 + i];
        matches[length] = {symbol.Bits | (length - LengthBase[i]) << symbol.Count,
                           symbol.Count + LengthExtra[i] + 1};
    }
    for (const TRun& run : FRuns) {
        if (run.Count == 0) {
            put(codes[run.Value]);
            continue;
        }
        put(codes[run.Value >> 16]);
        put(codes[(run.Value >> 8) & 0xFF]);
        put(codes[run.Value & 0xFF]);
        for (std::uint64_t left = 3 * (std::uint64_t{run.Count} - 1); left > 0;) {
            const auto length =
                static_cast<std::uint32_t>(std::min<std::uint64_t>(left, LongestMatch));
            put(matches[length]);
            left -= length;
        }
    }
    put(codes[EndOfBlock]);
    FRuns.clear();
    std::fill(FCounts.begin(), FCounts.end(), 0);
}

} // namespace curvana
