#include "tests/formats/FixtureBuilder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quillon {

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

void SaveSeed(const std::string& reader, const std::string& name,
              const std::vector<std::uint8_t>& data) {
    const char* update = std::getenv("UPDATE_CORPUS");
    if (!update || std::string(update) != "1") return;
    const auto dir =
        std::filesystem::path(QUILLON_TEST_SOURCE_DIR).parent_path() / "fuzz" / "corpus" / reader;
    std::filesystem::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

std::unique_ptr<Bitmap> Sentinel() {
    auto b = std::make_unique<Bitmap>(3, 2, PixelFormat::Bgrx32);
    b->SetPixel(1, 1, RGB(12, 34, 56));
    return b;
}

bool IsSentinel(const Bitmap& b) {
    if (b.Width() != 3 || b.Height() != 2 || b.format() != PixelFormat::Bgrx32) return false;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            if (b.Pixel(x, y) != (x == 1 && y == 1 ? RGB(12, 34, 56) : kBlack)) return false;
    return true;
}

} // namespace quillon
