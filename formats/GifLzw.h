// The LZW coding of a GIF image's pixels, written the way giflib writes it,
// byte for byte: a clear code first; codes one bit wider as soon as the next
// free code needs it; when the table is full (code 4095), a clear code
// instead of a new entry; the last code, the end code, and the bits left
// over; all in sub-blocks of at most 255 bytes ended by an empty one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace quillon {

// The same coding fed a piece at a time: the pieces, one after another, are
// coded as the one run of pixels they make, so that a picture can be coded
// while its later rows are still being made.
class GifLzwEncoder {
public:
    // Appends the minimum code size byte and the first clear code to out,
    // which must outlive the encoder.
    GifLzwEncoder(int colorBits, std::vector<std::uint8_t>& out);
    ~GifLzwEncoder();
    GifLzwEncoder(const GifLzwEncoder&) = delete;
    GifLzwEncoder& operator=(const GifLzwEncoder&) = delete;

    void Add(std::span<const std::uint8_t> pixels);
    // Appends the last codes and the end of the data; at least one pixel
    // must have been added.
    void Finish();

private:
    class CodeTable;
    // What changes as the pixels are coded.
    struct State {
        int next = 0;     // the code the next new string gets
        int width = 0;    // bits a code takes now
        int limit = 0;    // the first code that needs a wider one
        int current = -1; // the code of the string read so far; -1 before the first pixel
        std::uint64_t bitBuffer = 0; // codes packed low bit first, not yet in bytes
        int bitCount = 0;
        int blockSize = 0; // bytes in block_
    };
    void Put(State& s, int code);
    void Byte(State& s, std::uint8_t b);
    // Appends a sub-block of the first size bytes of block_: its length,
    // then its bytes.
    void EndBlock(int size);

    static constexpr int kBlock = 255; // the longest sub-block
    const int bits_;
    const std::uint8_t mask_;
    const int clearCode_, endCode_;
    std::vector<std::uint8_t>& out_;
    std::unique_ptr<CodeTable> table_;
    State state_;
    std::uint8_t block_[kBlock];
};

// Appends the image data of pixels (palette indices, each below
// 2^colorBits) for a colour table of 2^colorBits entries (1..8): the
// minimum code size byte, the sub-blocks and the empty block ending them.
// pixels must not be empty.
void AppendGifImageData(std::span<const std::uint8_t> pixels, int colorBits,
                        std::vector<std::uint8_t>& out);

} // namespace quillon
