#include "formats/GifLzw.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace quillon {

namespace {

constexpr int kMaxCode = 4095; // the last code a 12-bit table holds

// Codes packed low bit first into bytes, the bytes into sub-blocks.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Put(int code, int bits) {
        bits_ |= std::uint64_t(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            Byte(std::uint8_t(bits_));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    // Writes the bits left over and the empty block that ends the data.
    void Finish() {
        while (count_ > 0) {
            Byte(std::uint8_t(bits_));
            bits_ >>= 8;
            count_ -= 8;
        }
        out_.push_back(0);
    }

private:
    void Byte(std::uint8_t b) {
        if (lengthAt_ == kNone || out_[lengthAt_] == 255) {
            lengthAt_ = out_.size();
            out_.push_back(0);
        }
        out_.push_back(b);
        ++out_[lengthAt_];
    }

    static constexpr std::size_t kNone = ~std::size_t(0);
    std::vector<std::uint8_t>& out_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
    std::size_t lengthAt_ = kNone;
};

// The strings of the code table as (prefix code, next pixel) -> code, in an
// open-addressed hash at most a quarter full.
class CodeTable {
public:
    CodeTable() : keys_(new std::uint32_t[kSlots]), codes_(new std::uint16_t[kSlots]) { Clear(); }

    void Clear() { std::memset(keys_.get(), 0, kSlots * sizeof(std::uint32_t)); }

    // The code of the string, or -1.
    int Find(std::uint32_t key) const {
        for (std::uint32_t slot = Slot(key);; slot = (slot + 1) & (kSlots - 1)) {
            const std::uint32_t k = keys_[slot];
            if (k == key + 1) return codes_[slot];
            if (k == 0) return -1;
        }
    }
    void Insert(std::uint32_t key, int code) {
        std::uint32_t slot = Slot(key);
        while (keys_[slot] != 0) slot = (slot + 1) & (kSlots - 1);
        keys_[slot] = key + 1;
        codes_[slot] = std::uint16_t(code);
    }

private:
    static constexpr std::uint32_t kBits = 14;
    static constexpr std::uint32_t kSlots = 1u << kBits;
    static std::uint32_t Slot(std::uint32_t key) { return (key * 2654435761u) >> (32 - kBits); }

    std::unique_ptr<std::uint32_t[]> keys_; // key + 1; 0 for an empty slot
    std::unique_ptr<std::uint16_t[]> codes_;
};

} // namespace

void AppendGifImageData(std::span<const std::uint8_t> pixels, int colorBits,
                        std::vector<std::uint8_t>& out) {
    const int bits = std::max(colorBits, 2);
    const std::uint8_t mask = std::uint8_t((1u << bits) - 1);
    out.push_back(std::uint8_t(bits));
    const int clearCode = 1 << bits, endCode = clearCode + 1;
    int next = endCode + 1; // the code the next new string gets
    int width = bits + 1;   // bits a code takes now
    int limit = 1 << width; // the first code that needs a wider one
    CodeWriter writer(out);
    CodeTable table;
    // The width grows after a code is written once the next free code no
    // longer fits.
    auto put = [&](int code) {
        writer.Put(code, width);
        if (next >= limit) limit = 1 << ++width;
    };

    put(clearCode);
    int current = pixels[0] & mask;
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const int pixel = pixels[i] & mask;
        const std::uint32_t key = (std::uint32_t(current) << 8) + std::uint32_t(pixel);
        const int found = table.Find(key);
        if (found >= 0) {
            current = found;
            continue;
        }
        put(current);
        current = pixel;
        if (next >= kMaxCode) {
            // The table is full: start over rather than add.
            put(clearCode);
            next = endCode + 1;
            width = bits + 1;
            limit = 1 << width;
            table.Clear();
        } else {
            table.Insert(key, next++);
        }
    }
    put(current);
    put(endCode);
    writer.Finish();
}

} // namespace quillon
