#include "tests/formats/ByteBuilder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quillon {

const char* KindName(PictureErrorKind kind) {
    switch (kind) {
    case PictureErrorKind::Truncated:
        return "Truncated";
    case PictureErrorKind::Malformed:
        return "Malformed";
    case PictureErrorKind::Unsupported:
        return "Unsupported";
    case PictureErrorKind::TooLarge:
        return "TooLarge";
    case PictureErrorKind::Io:
        return "Io";
    }
    return "(unknown kind)";
}

std::string ReadError(PictureReader reader, const std::vector<std::uint8_t>& data, Bitmap& out,
                      const std::string& fileName) {
    try {
        reader(data, fileName, out, DecodeLimits());
    } catch (const PictureError& e) {
        return e.what();
    }
    return "";
}

std::string ReadError(PictureReader reader, const std::vector<std::uint8_t>& data) {
    Bitmap out;
    return ReadError(reader, data, out);
}

::testing::AssertionResult FailsWith(PictureReader reader, const std::vector<std::uint8_t>& data,
                                     PictureErrorKind kind, const std::string& text,
                                     const std::string& fileName, const DecodeLimits& limits) {
    Bitmap out(2, 1, PixelFormat::Bgr24);
    out.SetPixel(0, 0, 0x123456);
    out.SetPixel(1, 0, 0x654321);
    try {
        reader(data, fileName, out, limits);
    } catch (const PictureError& e) {
        const std::string message = e.what();
        if (message.find(text) == std::string::npos)
            return ::testing::AssertionFailure()
                   << "message \"" << message << "\" lacks \"" << text << "\"";
        if (e.Kind() != kind)
            return ::testing::AssertionFailure()
                   << "\"" << message << "\" is of kind " << KindName(e.Kind()) << ", not "
                   << KindName(kind);
        if (out.Width() != 2 || out.Height() != 1 || out.format() != PixelFormat::Bgr24 ||
            out.Pixel(0, 0) != 0x123456 || out.Pixel(1, 0) != 0x654321)
            return ::testing::AssertionFailure() << "the failed read changed its bitmap";
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "read succeeded, expected \"" << text << "\"";
}

::testing::AssertionResult ReadsAsEmpty(PictureReader reader,
                                        const std::vector<std::uint8_t>& data) {
    Bitmap out(2, 1, PixelFormat::Bgr24);
    try {
        reader(data, "fixture.bin", out, DecodeLimits());
    } catch (const PictureError& e) {
        return ::testing::AssertionFailure() << "refused: " << e.what();
    }
    if (!out.Empty()) return ::testing::AssertionFailure() << "the bitmap is not empty";
    return ::testing::AssertionSuccess();
}

std::vector<Color> AllPixels(const Bitmap& bitmap) {
    std::vector<Color> v;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) v.push_back(bitmap.Pixel(x, y));
    return v;
}

namespace {

void SaveUnder(const std::filesystem::path& dir, const std::string& name,
               const std::vector<std::uint8_t>& data) {
    const char* update = std::getenv("UPDATE_CORPUS");
    if (!update || std::string(update) != "1") return;
    std::filesystem::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

const std::filesystem::path kSourceRoot =
    std::filesystem::path(QUILLON_TEST_SOURCE_DIR).parent_path();

} // namespace

void SaveSeed(const std::string& reader, const std::string& name,
              const std::vector<std::uint8_t>& data) {
    SaveUnder(kSourceRoot / "fuzz" / "corpus" / reader, name, data);
}

void SaveRegress(const std::string& reader, const std::string& name,
                 const std::vector<std::uint8_t>& data) {
    SaveUnder(kSourceRoot / "tests" / "data" / reader / "regress", name, data);
}

} // namespace quillon
