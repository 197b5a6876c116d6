// Byte builder for reader fixtures, and the checks every reader test makes:
// a read that must fail with a given message and leave its bitmap alone.
#pragma once

#include "canvas/Bitmap.h"
#include "formats/Registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class TFixtureBytes {
public:
    std::vector<std::uint8_t> bytes;

    std::size_t Size() const { return bytes.size(); }
    TFixtureBytes& U8(unsigned v) {
        bytes.push_back(std::uint8_t(v));
        return *this;
    }
    TFixtureBytes& U16LE(unsigned v) { return U8(v & 0xFF).U8(v >> 8); }
    TFixtureBytes& U16BE(unsigned v) { return U8(v >> 8).U8(v & 0xFF); }
    TFixtureBytes& U32LE(std::uint32_t v) { return U16LE(v & 0xFFFF).U16LE(v >> 16); }
    TFixtureBytes& U32BE(std::uint32_t v) { return U16BE(v >> 16).U16BE(v & 0xFFFF); }
    TFixtureBytes& Text(const std::string& s) {
        for (char c : s) U8(static_cast<unsigned char>(c));
        return *this;
    }
    TFixtureBytes& Append(const std::vector<std::uint8_t>& v) {
        bytes.insert(bytes.end(), v.begin(), v.end());
        return *this;
    }
    TFixtureBytes& Zeros(std::size_t n) {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
    // Pads with zeros up to size (bytes at size or beyond are kept).
    TFixtureBytes& PadTo(std::size_t size) {
        if (bytes.size() < size) bytes.resize(size, 0);
        return *this;
    }
    void PokeU16BE(std::size_t at, unsigned v) {
        bytes.at(at) = std::uint8_t(v >> 8);
        bytes.at(at + 1) = std::uint8_t(v);
    }
    void PokeU16LE(std::size_t at, unsigned v) {
        bytes.at(at) = std::uint8_t(v);
        bytes.at(at + 1) = std::uint8_t(v >> 8);
    }
    void PokeU32BE(std::size_t at, std::uint32_t v) {
        PokeU16BE(at, v >> 16);
        PokeU16BE(at + 2, v & 0xFFFF);
    }
    void PokeU32LE(std::size_t at, std::uint32_t v) {
        PokeU16LE(at, v & 0xFFFF);
        PokeU16LE(at + 2, v >> 16);
    }
};

// Reads data with reader and expects PictureError whose message contains
// expected; the bitmap given to the reader must come back untouched.
inline ::testing::AssertionResult FailsWith(PictureReader reader,
                                            const std::vector<std::uint8_t>& data,
                                            const std::string& expected,
                                            const std::string& fileName = "fixture") {
    Bitmap out(2, 1, PixelFormat::Bgr24);
    out.SetPixel(0, 0, 0x123456);
    out.SetPixel(1, 0, 0x654321);
    try {
        reader(data, fileName, out, DecodeLimits());
    } catch (const PictureError& e) {
        const std::string message = e.what();
        if (message.find(expected) == std::string::npos)
            return ::testing::AssertionFailure()
                   << "message \"" << message << "\" lacks \"" << expected << "\"";
        if (out.Width() != 2 || out.Height() != 1 || out.format() != PixelFormat::Bgr24 ||
            out.Pixel(0, 0) != 0x123456 || out.Pixel(1, 0) != 0x654321)
            return ::testing::AssertionFailure() << "the failed read changed its bitmap";
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "read succeeded, expected \"" << expected << "\"";
}

// Every pixel of bitmap as colours, row by row, for comparing with a table.
inline std::vector<Color> AllPixels(const Bitmap& bitmap) {
    std::vector<Color> v;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) v.push_back(bitmap.Pixel(x, y));
    return v;
}

// With QUILLON_SEED_DIR set, fixtures worth fuzzing are also written to
// $QUILLON_SEED_DIR/<reader>/<name>, to refresh the fuzz seed corpora.
void WriteSeed(const std::string& reader, const std::string& name,
               const std::vector<std::uint8_t>& data);

// A file whose header gives it no pixels reads without an error as an empty
// bitmap (the shell reports such a file as corrupted).
inline ::testing::AssertionResult ReadsAsEmpty(PictureReader reader,
                                               const std::vector<std::uint8_t>& data) {
    Bitmap out(2, 1, PixelFormat::Bgr24);
    try {
        reader(data, "fixture", out, DecodeLimits());
    } catch (const PictureError& e) {
        return ::testing::AssertionFailure() << "refused: " << e.what();
    }
    if (!out.Empty()) return ::testing::AssertionFailure() << "the bitmap is not empty";
    return ::testing::AssertionSuccess();
}

} // namespace quillon
