#include "formats/GifLzw.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace quillon {

namespace {
constexpr int kMaxCode = 4095; // the last code a 12-bit table holds
} // namespace

// The strings of the code table as (prefix code, next pixel) -> code, in an
// open-addressed hash at most a quarter full. A slot holds the string's key
// (20 bits) above its code (12 bits), so that a probe reads one word. No
// string has the key 0xFFFFF (its prefix would be code 4095, which is never
// given out), so all ones marks an empty slot.
class GifLzwEncoder::CodeTable {
public:
    CodeTable() : slots_(new std::uint32_t[kSlots]) { Clear(); }

    void Clear() { std::memset(slots_.get(), 0xFF, kSlots * sizeof(std::uint32_t)); }

    // The code of the string, or -1.
    int Find(std::uint32_t key) const {
        for (std::uint32_t slot = Slot(key);; slot = (slot + 1) & (kSlots - 1)) {
            const std::uint32_t s = slots_[slot];
            if ((s >> 12) == key) return int(s & 0xFFF);
            if (s == kEmpty) return -1;
        }
    }
    void Insert(std::uint32_t key, int code) {
        std::uint32_t slot = Slot(key);
        while (slots_[slot] != kEmpty) slot = (slot + 1) & (kSlots - 1);
        slots_[slot] = (key << 12) | std::uint32_t(code);
    }

private:
    static constexpr std::uint32_t kBits = 14;
    static constexpr std::uint32_t kSlots = 1u << kBits;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
    static std::uint32_t Slot(std::uint32_t key) { return (key * 2654435761u) >> (32 - kBits); }

    std::unique_ptr<std::uint32_t[]> slots_;
};

GifLzwEncoder::GifLzwEncoder(int colorBits, std::vector<std::uint8_t>& out)
    : bits_(std::max(colorBits, 2)), mask_(std::uint8_t((1u << bits_) - 1)), clearCode_(1 << bits_),
      endCode_(clearCode_ + 1), out_(out), table_(std::make_unique<CodeTable>()) {
    state_.next = endCode_ + 1;
    state_.width = bits_ + 1;
    state_.limit = 1 << state_.width;
    out_.push_back(std::uint8_t(bits_));
    Put(state_, clearCode_);
}

GifLzwEncoder::~GifLzwEncoder() = default;

inline void GifLzwEncoder::Put(State& s, int code) {
    s.bitBuffer |= std::uint64_t(code) << s.bitCount;
    s.bitCount += s.width;
    while (s.bitCount >= 8) {
        Byte(s, std::uint8_t(s.bitBuffer));
        s.bitBuffer >>= 8;
        s.bitCount -= 8;
    }
    // The width grows after a code is written once the next free code no
    // longer fits.
    if (s.next >= s.limit) s.limit = 1 << ++s.width;
}

inline void GifLzwEncoder::Byte(State& s, std::uint8_t b) {
    block_[std::size_t(s.blockSize++)] = b;
    if (s.blockSize == kBlock) {
        EndBlock(s.blockSize);
        s.blockSize = 0;
    }
}

void GifLzwEncoder::EndBlock(int size) {
    out_.push_back(std::uint8_t(size));
    out_.insert(out_.end(), block_, block_ + size);
}

void GifLzwEncoder::Add(std::span<const std::uint8_t> pixels) {
    if (pixels.empty()) return;
    // The coding state is worked on in a copy, which the compiler can keep
    // in registers: the bytes written could otherwise be the members.
    State s = state_;
    std::size_t i = 0;
    if (s.current < 0) s.current = pixels[i++] & mask_;
    const CodeTable& table = *table_;
    int current = s.current;
    for (; i < pixels.size(); ++i) {
        const int pixel = pixels[i] & mask_;
        const std::uint32_t key = (std::uint32_t(current) << 8) + std::uint32_t(pixel);
        const int found = table.Find(key);
        if (found >= 0) {
            current = found;
            continue;
        }
        Put(s, current);
        current = pixel;
        if (s.next >= kMaxCode) {
            // The table is full: start over rather than add.
            Put(s, clearCode_);
            s.next = endCode_ + 1;
            s.width = bits_ + 1;
            s.limit = 1 << s.width;
            table_->Clear();
        } else {
            table_->Insert(key, s.next++);
        }
    }
    s.current = current;
    state_ = s;
}

void GifLzwEncoder::Finish() {
    State s = state_;
    Put(s, s.current);
    Put(s, endCode_);
    // The bits left over, the last sub-block, then the empty one that ends
    // the data.
    while (s.bitCount > 0) {
        Byte(s, std::uint8_t(s.bitBuffer));
        s.bitBuffer >>= 8;
        s.bitCount -= 8;
    }
    if (s.blockSize > 0) EndBlock(s.blockSize);
    state_ = s;
    out_.push_back(0);
}

void AppendGifImageData(std::span<const std::uint8_t> pixels, int colorBits,
                        std::vector<std::uint8_t>& out) {
    GifLzwEncoder encoder(colorBits, out);
    encoder.Add(pixels);
    encoder.Finish();
}

} // namespace quillon
