#include "formats/GifLzw.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace quillon {

namespace {
constexpr int kMaxCode = 4095; // the last code a 12-bit table holds
} // namespace

// The strings of the code table as (prefix code, next pixel) -> code, in an
// open-addressed hash at most a quarter full.
class GifLzwEncoder::CodeTable {
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

GifLzwEncoder::GifLzwEncoder(int colorBits, std::vector<std::uint8_t>& out)
    : bits_(std::max(colorBits, 2)), mask_(std::uint8_t((1u << bits_) - 1)), clearCode_(1 << bits_),
      endCode_(clearCode_ + 1), next_(endCode_ + 1), width_(bits_ + 1), limit_(1 << width_),
      out_(out), table_(std::make_unique<CodeTable>()) {
    out_.push_back(std::uint8_t(bits_));
    Put(clearCode_);
}

GifLzwEncoder::~GifLzwEncoder() = default;

void GifLzwEncoder::Put(int code) {
    bitBuffer_ |= std::uint64_t(code) << bitCount_;
    bitCount_ += width_;
    while (bitCount_ >= 8) {
        Byte(std::uint8_t(bitBuffer_));
        bitBuffer_ >>= 8;
        bitCount_ -= 8;
    }
    // The width grows after a code is written once the next free code no
    // longer fits.
    if (next_ >= limit_) limit_ = 1 << ++width_;
}

void GifLzwEncoder::Byte(std::uint8_t b) {
    if (lengthAt_ == kNone || out_[lengthAt_] == 255) {
        lengthAt_ = out_.size();
        out_.push_back(0);
    }
    out_.push_back(b);
    ++out_[lengthAt_];
}

void GifLzwEncoder::Add(std::span<const std::uint8_t> pixels) {
    if (pixels.empty()) return;
    std::size_t i = 0;
    if (current_ < 0) current_ = pixels[i++] & mask_;
    CodeTable& table = *table_;
    int current = current_;
    for (; i < pixels.size(); ++i) {
        const int pixel = pixels[i] & mask_;
        const std::uint32_t key = (std::uint32_t(current) << 8) + std::uint32_t(pixel);
        const int found = table.Find(key);
        if (found >= 0) {
            current = found;
            continue;
        }
        Put(current);
        current = pixel;
        if (next_ >= kMaxCode) {
            // The table is full: start over rather than add.
            Put(clearCode_);
            next_ = endCode_ + 1;
            width_ = bits_ + 1;
            limit_ = 1 << width_;
            table.Clear();
        } else {
            table.Insert(key, next_++);
        }
    }
    current_ = current;
}

void GifLzwEncoder::Finish() {
    Put(current_);
    Put(endCode_);
    // The bits left over, then the empty block that ends the data.
    while (bitCount_ > 0) {
        Byte(std::uint8_t(bitBuffer_));
        bitBuffer_ >>= 8;
        bitCount_ -= 8;
    }
    out_.push_back(0);
}

void AppendGifImageData(std::span<const std::uint8_t> pixels, int colorBits,
                        std::vector<std::uint8_t>& out) {
    GifLzwEncoder encoder(colorBits, out);
    encoder.Add(pixels);
    encoder.Finish();
}

} // namespace quillon
