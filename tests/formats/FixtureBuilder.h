// Helpers for the reader tests: a byte builder that writes fixtures field by
// field, a call that runs a reader and returns its error text, and the writer
// of the fuzzing seed corpus.
#pragma once

#include "formats/Readers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace quillon {

class TBytes {
public:
    TBytes& U8(int v) {
        b_.push_back(std::uint8_t(v));
        return *this;
    }
    TBytes& U8s(std::initializer_list<int> vs) {
        for (int v : vs) U8(v);
        return *this;
    }
    TBytes& Repeat(int v, std::size_t n) {
        b_.insert(b_.end(), n, std::uint8_t(v));
        return *this;
    }
    TBytes& U16LE(unsigned v) { return U8(int(v & 0xFF)).U8(int((v >> 8) & 0xFF)); }
    TBytes& U16BE(unsigned v) { return U8(int((v >> 8) & 0xFF)).U8(int(v & 0xFF)); }
    TBytes& U32LE(std::uint32_t v) { return U16LE(v & 0xFFFF).U16LE(v >> 16); }
    TBytes& U32BE(std::uint32_t v) { return U16BE(v >> 16).U16BE(v & 0xFFFF); }
    TBytes& Text(const std::string& s) {
        b_.insert(b_.end(), s.begin(), s.end());
        return *this;
    }
    TBytes& Append(const std::vector<std::uint8_t>& v) {
        b_.insert(b_.end(), v.begin(), v.end());
        return *this;
    }
    std::size_t Size() const { return b_.size(); }
    std::uint8_t& operator[](std::size_t i) { return b_[i]; }
    const std::vector<std::uint8_t>& Get() const { return b_; }
    operator const std::vector<std::uint8_t>&() const { return b_; }

private:
    std::vector<std::uint8_t> b_;
};

// Runs reader over data into out; returns the PictureError message, or ""
// when the read succeeded.
std::string ReadError(PictureReader reader, const std::vector<std::uint8_t>& data, Bitmap& out,
                      const std::string& fileName = "test.bin");
std::string ReadError(PictureReader reader, const std::vector<std::uint8_t>& data);

// With UPDATE_CORPUS=1 in the environment, writes data as
// fuzz/corpus/<reader>/<name> (the seeds of the fuzz targets).
void SaveSeed(const std::string& reader, const std::string& name,
              const std::vector<std::uint8_t>& data);

// A bitmap whose picture and pixels say "a failed read left me alone".
std::unique_ptr<Bitmap> Sentinel();
bool IsSentinel(const Bitmap& bitmap);

// A read must fail with exactly this message and leave out unchanged.
#define EXPECT_READ_ERROR(reader, data, message)                                                   \
    do {                                                                                           \
        auto sentinel_ = Sentinel();                                                               \
        EXPECT_EQ(ReadError((reader), (data), *sentinel_), message);                               \
        EXPECT_TRUE(IsSentinel(*sentinel_));                                                       \
    } while (0)

} // namespace quillon
