// A bounds-checked cursor over a file's bytes. Every read checks what
// remains; a short read throws PictureError (PictureErrorKind::Truncated)
// naming the format, never returns garbage.
#pragma once

#include "canvas/Types.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quillon {

class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> data, std::string formatName)
        : data_(data), format_(std::move(formatName)) {}

    std::size_t Size() const { return data_.size(); }
    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }

    void Seek(std::size_t pos) {
        if (pos > data_.size()) Truncated();
        pos_ = pos;
    }
    void Skip(std::size_t n) {
        Need(n);
        pos_ += n;
    }
    void Need(std::size_t n) const {
        if (n > Remaining()) Truncated();
    }

    std::uint8_t U8() {
        Need(1);
        return data_[pos_++];
    }
    std::uint16_t U16LE() {
        Need(2);
        std::uint16_t v = std::uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    std::uint16_t U16BE() {
        Need(2);
        std::uint16_t v = std::uint16_t((data_[pos_] << 8) | data_[pos_ + 1]);
        pos_ += 2;
        return v;
    }
    std::uint32_t U32LE() {
        Need(4);
        std::uint32_t v = std::uint32_t(data_[pos_]) | (std::uint32_t(data_[pos_ + 1]) << 8) |
                          (std::uint32_t(data_[pos_ + 2]) << 16) |
                          (std::uint32_t(data_[pos_ + 3]) << 24);
        pos_ += 4;
        return v;
    }
    std::uint32_t U32BE() {
        Need(4);
        std::uint32_t v = (std::uint32_t(data_[pos_]) << 24) |
                          (std::uint32_t(data_[pos_ + 1]) << 16) |
                          (std::uint32_t(data_[pos_ + 2]) << 8) | std::uint32_t(data_[pos_ + 3]);
        pos_ += 4;
        return v;
    }
    std::int16_t I16LE() { return std::int16_t(U16LE()); }
    std::int16_t I16BE() { return std::int16_t(U16BE()); }
    std::int32_t I32LE() { return std::int32_t(U32LE()); }
    std::int32_t I32BE() { return std::int32_t(U32BE()); }

    // n bytes at the cursor, which moves past them.
    std::span<const std::uint8_t> Bytes(std::size_t n) {
        Need(n);
        auto s = data_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    // The bytes from the cursor to the end (the cursor does not move).
    std::span<const std::uint8_t> Rest() const { return data_.subspan(pos_); }

    // Throws the reader's error: "<format> file <what>", for example
    // "TGA file is truncated".
    [[noreturn]] void Fail(PictureErrorKind kind, const std::string& what) const {
        throw PictureError(format_ + " file " + what, kind);
    }
    [[noreturn]] void Truncated() const { Fail(PictureErrorKind::Truncated, "is truncated"); }
    [[noreturn]] void Malformed(const std::string& what) const {
        Fail(PictureErrorKind::Malformed, what);
    }
    [[noreturn]] void Unsupported(const std::string& what) const {
        Fail(PictureErrorKind::Unsupported, what);
    }

    const std::string& FormatName() const { return format_; }

private:
    std::span<const std::uint8_t> data_;
    std::string format_;
    std::size_t pos_ = 0;
};

} // namespace quillon
