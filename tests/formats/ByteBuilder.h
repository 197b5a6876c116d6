// The reader tests' toolkit: a byte builder that writes files field by field,
// so a test says what is wrong with the file it makes, and the checks every
// reader test makes: a read that must fail with a given kind and message and
// leave its bitmap alone, a read that gives an empty picture, and the writer
// of the fuzzing seed corpus.
#pragma once

#include "formats/Readers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace quillon {

class ByteBuilder {
public:
    ByteBuilder() = default;
    // Starts from a whole file, to damage or extend it.
    ByteBuilder(std::vector<std::uint8_t> bytes) : b_(std::move(bytes)) {}

    ByteBuilder& U8(int v) {
        b_.push_back(std::uint8_t(v));
        return *this;
    }
    ByteBuilder& U8s(std::initializer_list<int> vs) {
        for (int v : vs) U8(v);
        return *this;
    }
    ByteBuilder& Repeat(int v, std::size_t n) {
        b_.insert(b_.end(), n, std::uint8_t(v));
        return *this;
    }
    ByteBuilder& Zeros(std::size_t n) { return Repeat(0, n); }
    ByteBuilder& U16LE(unsigned v) { return U8(int(v & 0xFF)).U8(int((v >> 8) & 0xFF)); }
    ByteBuilder& U16BE(unsigned v) { return U8(int((v >> 8) & 0xFF)).U8(int(v & 0xFF)); }
    ByteBuilder& U32LE(std::uint32_t v) { return U16LE(v & 0xFFFF).U16LE(v >> 16); }
    ByteBuilder& U32BE(std::uint32_t v) { return U16BE(v >> 16).U16BE(v & 0xFFFF); }
    ByteBuilder& Text(const std::string& s) {
        for (char c : s) U8(static_cast<unsigned char>(c));
        return *this;
    }
    ByteBuilder& Append(std::span<const std::uint8_t> v) {
        b_.insert(b_.end(), v.begin(), v.end());
        return *this;
    }
    // Pads with zeros up to size (bytes at size or beyond are kept).
    ByteBuilder& PadTo(std::size_t size) {
        if (b_.size() < size) b_.resize(size, 0);
        return *this;
    }
    // Cuts the file to its first size bytes, or pads it with zeros.
    ByteBuilder& Resize(std::size_t size) {
        b_.resize(size, 0);
        return *this;
    }

    void PokeU16LE(std::size_t at, unsigned v) {
        b_.at(at) = std::uint8_t(v);
        b_.at(at + 1) = std::uint8_t(v >> 8);
    }
    void PokeU16BE(std::size_t at, unsigned v) {
        b_.at(at) = std::uint8_t(v >> 8);
        b_.at(at + 1) = std::uint8_t(v);
    }
    void PokeU32LE(std::size_t at, std::uint32_t v) {
        PokeU16LE(at, v & 0xFFFF);
        PokeU16LE(at + 2, v >> 16);
    }
    void PokeU32BE(std::size_t at, std::uint32_t v) {
        PokeU16BE(at, v >> 16);
        PokeU16BE(at + 2, v & 0xFFFF);
    }

    std::size_t Size() const { return b_.size(); }
    std::uint8_t& operator[](std::size_t i) { return b_.at(i); }
    std::uint8_t operator[](std::size_t i) const { return b_.at(i); }
    const std::vector<std::uint8_t>& Get() const { return b_; }
    operator const std::vector<std::uint8_t>&() const { return b_; }

private:
    std::vector<std::uint8_t> b_;
};

// Shows a kind by name in test failures.
const char* KindName(PictureErrorKind kind);
inline void PrintTo(PictureErrorKind kind, std::ostream* os) {
    *os << KindName(kind);
}

// Runs reader over data into out; returns the PictureError message, or ""
// when the read succeeded.
std::string ReadError(PictureReader reader, const std::vector<std::uint8_t>& data, Bitmap& out,
                      const std::string& fileName = "fixture.bin");
std::string ReadError(PictureReader reader, const std::vector<std::uint8_t>& data);

// Reads data with reader and expects a PictureError of the given kind whose
// message contains text (the whole message, or the part that matters); the
// bitmap given to the reader must come back untouched.
::testing::AssertionResult FailsWith(PictureReader reader, const std::vector<std::uint8_t>& data,
                                     PictureErrorKind kind, const std::string& text,
                                     const std::string& fileName = "fixture.bin",
                                     const DecodeLimits& limits = DecodeLimits());

// A file whose header gives it no pixels reads without an error as an empty
// bitmap (the shell reports such a file as corrupted).
::testing::AssertionResult ReadsAsEmpty(PictureReader reader,
                                        const std::vector<std::uint8_t>& data);

// Every pixel of bitmap as colours, row by row, for comparing with a table.
std::vector<Color> AllPixels(const Bitmap& bitmap);

// With UPDATE_CORPUS=1 in the environment, writes data as
// fuzz/corpus/<reader>/<name> (the seeds of the fuzz targets), or as
// tests/data/<reader>/regress/<name> (files that once cost a reader too much
// or broke it), which the replay test reads.
void SaveSeed(const std::string& reader, const std::string& name,
              const std::vector<std::uint8_t>& data);
void SaveRegress(const std::string& reader, const std::string& name,
                 const std::vector<std::uint8_t>& data);

} // namespace quillon
