#pragma once

#include <cstdint>
#include <vector>

namespace curvana {

// Writes a zlib stream of single bytes and runs of a repeated three-byte pixel, for PNG rows.
// The only matches are repeats of the pixel just written (distance 3): the filtered rows of a
// slide are mostly unchanged from the row above or carry a line of one colour, so this comes
// close to a general compressor's fastest level at a fraction of its time, and the checksum
// of a run is computed at once. Each block of some 64K runs gets Huffman codes made for it,
// which keeps the memory small and the codes fitted to their part of the picture.
class TPixelRunCompressor {
public:
    // Appends the stream to out.
    explicit TPixelRunCompressor(std::vector<unsigned char>& out);

    void AddByte(std::uint8_t byte);
    // count times the bytes of rgb: red (bits 16-23), green, blue; higher bits are ignored.
    void AddRun(std::uint32_t rgb, std::uint32_t count);
    // Writes what is left, the end of the stream and its checksum.
    void Finish();

private:
    // A run of Count pixels, or with a count of zero the single byte Value.
    struct TRun {
        std::uint32_t Value;
        std::uint32_t Count;
    };

    void WriteBlock(bool last);

    std::vector<unsigned char>& FOut;
    std::uint64_t FBits = 0;
    std::uint32_t FBitCount = 0;
    std::uint32_t FAdlerA = 1;
    std::uint32_t FAdlerB = 0;
    std::vector<TRun> FRuns;
    // How often each literal/length symbol is used by the runs.
    std::vector<std::uint32_t> FCounts;
};

} // namespace curvana
