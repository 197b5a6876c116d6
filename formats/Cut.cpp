// Dr. Halo CUT reader.
//
// Layout (little-endian): width, height and a reserved word, then one record
// per row: a 16-bit byte count and that many bytes of run-length data whose
// count byte says: 0 = end of row, high bit set = repeat the next byte
// (count & 0x7F) times, clear = that many literal bytes follow. Pixels are
// palette indices.
//
// The colours live in a separate Dr. Halo palette file beside the picture,
// same name with extension .pal in any letter case: a 40-byte header ("AH",
// version, size, file type 0x0A, subtype, board, mode, highest index, the
// largest red, green and blue values, "Dr. Halo"), then 16-bit red, green,
// blue triples packed in 512-byte blocks that no triple crosses. Without a
// readable palette the indices are shown as a gray ramp from black (index 0)
// to white (the largest index in the picture). Output: PixelFormat::Indexed8.
#include "formats/ByteReader.h"
#include "formats/PixelTools.h"
#include "formats/Readers.h"

#include "formats/DataPaths.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace quillon {

namespace {

constexpr std::size_t kPalHeaderSize = 40;
constexpr std::size_t kPalBlockSize = 512;

// The palette of a Dr. Halo palette file's bytes, or nothing when they are
// not one.
std::optional<std::vector<Color>> ParseHaloPalette(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kPalHeaderSize || bytes[0] != 'A' || bytes[1] != 'H' || bytes[6] != 0x0A)
        return std::nullopt;
    const auto word = [&](std::size_t at) { return unsigned(bytes[at] | (bytes[at + 1] << 8)); };
    const unsigned count = std::min(word(0x0C) + 1u, 256u);
    const unsigned maxR = word(0x0E), maxG = word(0x10), maxB = word(0x12);
    const auto scale = [](unsigned v, unsigned max) {
        return max ? ScaleTo8(v, max) : Clamp8(int(v));
    };
    std::vector<Color> palette;
    std::size_t at = kPalHeaderSize;
    while (palette.size() < count) {
        if (at % kPalBlockSize + 6 > kPalBlockSize) at += kPalBlockSize - at % kPalBlockSize;
        if (at + 6 > bytes.size()) break;
        palette.push_back(
            RGB(scale(word(at), maxR), scale(word(at + 2), maxG), scale(word(at + 4), maxB)));
        at += 6;
    }
    if (palette.empty()) return std::nullopt;
    return palette;
}

// The palette file beside fileName, read when it exists and is no larger
// than maxBytes.
std::optional<std::vector<Color>> LoadCompanionPalette(const std::string& fileName,
                                                       std::uint64_t maxBytes) {
    if (fileName.empty()) return std::nullopt;
    namespace fs = std::filesystem;
    const std::string palName =
        FindFileNoCase(fs::path(fileName).replace_extension(".pal").string());
    std::error_code ec;
    if (!fs::is_regular_file(palName, ec)) return std::nullopt;
    const auto size = fs::file_size(palName, ec);
    if (ec || size > maxBytes) return std::nullopt;
    std::ifstream in(palName, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    return ParseHaloPalette(bytes);
}

} // namespace

void ReadCut(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits) {
    ByteReader r(data, "Dr. Halo");
    const int width = r.U16LE();
    const int height = r.U16LE();
    r.Skip(2);
    if (width == 0 || height == 0) {
        Bitmap empty; // no pixels: an empty picture, which the shell reports
        out.SwapPicture(empty);
        return;
    }
    limits.CheckBudget(r.FormatName(), width, height, data.size());
    // Every row takes at least its two-byte count.
    if (r.Remaining() / 2 < std::size_t(height)) r.Truncated();

    Bitmap local(width, height, PixelFormat::Indexed8);
    const std::size_t w = std::size_t(width);
    int maxIndex = 0;
    for (int y = 0; y < height; ++y) {
        auto row = r.Bytes(r.U16LE());
        std::uint8_t* dst = local.ScanLine(y);
        std::size_t in = 0, x = 0;
        while (in < row.size()) {
            const unsigned code = row[in++];
            const std::size_t count = code & 0x7F;
            if (count == 0) break;
            if (count > w - x) r.Malformed("has a run past the end of a row");
            if (code & 0x80) {
                if (in >= row.size()) r.Truncated();
                std::fill_n(dst + x, count, row[in++]);
            } else {
                if (count > row.size() - in) r.Truncated();
                std::copy_n(row.begin() + std::ptrdiff_t(in), count, dst + x);
                in += count;
            }
            x += count;
        }
        maxIndex = std::max(maxIndex, int(*std::max_element(dst, dst + w)));
    }

    auto palette = LoadCompanionPalette(fileName, limits.MaxCompanionFileBytes);
    if (palette) {
        if (std::size_t(maxIndex) >= palette->size())
            r.Malformed("has a palette index (" + std::to_string(maxIndex) +
                        ") beyond its palette file");
        local.Palette() = std::move(*palette);
    } else {
        auto& gray = local.Palette();
        gray.resize(std::size_t(maxIndex) + 1);
        for (int i = 0; i <= maxIndex; ++i) {
            const std::uint8_t v = ScaleTo8(unsigned(i), unsigned(std::max(maxIndex, 1)));
            gray[std::size_t(i)] = RGB(v, v, v);
        }
    }
    out.SwapPicture(local);
}

} // namespace quillon
