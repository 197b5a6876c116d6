// Wavefront RLA reader.
//
// Layout (big-endian): a 740-byte header (window and active window as left,
// right, bottom, top; frame; storage type; colour, matte and auxiliary
// channel counts; revision; text fields; bits per colour channel at byte
// 658), then a table of one 32-bit file offset per row, bottom row first.
// At each offset the row holds, for every channel (colour channels first,
// then matte, then auxiliary), a 16-bit length and that many bytes of
// run-length data: a signed count byte n >= 0 repeats the next byte n + 1
// times, n < 0 is followed by -n literal bytes.
//
// Handled: 1 colour channel (gray) or 3 (RGB; further colour channels are
// ignored), 8 bits per channel, or 16 bits stored high byte first of which
// the high byte is kept. Matte and auxiliary channels are ignored.
// Output: PixelFormat::Bgr24.
#include "formats/ByteReader.h"
#include "formats/Readers.h"

#include <algorithm>
#include <vector>

namespace quillon {

namespace {

constexpr std::size_t kHeaderSize = 740;

// Decodes one channel of one row: exactly out.size() bytes from src.
void DecodeChannel(const ByteReader& r, std::span<const std::uint8_t> src,
                   std::vector<std::uint8_t>& out) {
    std::size_t in = 0, pos = 0;
    const std::size_t size = out.size();
    while (pos < size) {
        if (in >= src.size()) r.Truncated();
        const int n = std::int8_t(src[in++]);
        if (n >= 0) {
            const std::size_t count = std::size_t(n) + 1;
            if (count > size - pos) r.Malformed("has a run past the end of a row");
            if (in >= src.size()) r.Truncated();
            std::fill_n(out.begin() + std::ptrdiff_t(pos), count, src[in++]);
            pos += count;
        } else {
            const std::size_t count = std::size_t(-n);
            if (count > size - pos) r.Malformed("has a run past the end of a row");
            if (count > src.size() - in) r.Truncated();
            std::copy_n(src.begin() + std::ptrdiff_t(in), count, out.begin() + std::ptrdiff_t(pos));
            in += count;
            pos += count;
        }
    }
}

} // namespace

void ReadRla(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    ByteReader r(data, "RLA");
    if (r.Size() < kHeaderSize) r.Truncated();
    r.Seek(8);
    const int left = r.I16BE(), right = r.I16BE(), bottom = r.I16BE(), top = r.I16BE();
    r.Seek(20);
    const int colorChannels = r.I16BE();
    r.Seek(658);
    int bits = r.I16BE();
    if (bits == 0) bits = 8; // early files leave the field empty
    if (colorChannels != 1 && colorChannels < 3)
        r.Unsupported("has an unsupported channel count (" + std::to_string(colorChannels) + ")");
    if (bits != 8 && bits != 16)
        r.Unsupported("has an unsupported channel size (" + std::to_string(bits) + " bits)");
    const std::int64_t width = std::int64_t(right) - left + 1;
    const std::int64_t height = std::int64_t(top) - bottom + 1;
    if (width <= 0 || height <= 0) {
        Bitmap empty; // no pixels: an empty picture, which the shell reports
        out.SwapPicture(empty);
        return;
    }
    limits.CheckBudget(r.FormatName(), width, height, data.size());

    r.Seek(kHeaderSize);
    r.Need(std::size_t(height) * 4);
    std::vector<std::uint32_t> offsets(static_cast<std::size_t>(height));
    for (auto& o : offsets) o = r.U32BE();

    const int used = colorChannels == 1 ? 1 : 3;
    const std::size_t sampleBytes = std::size_t(bits / 8);
    std::vector<std::vector<std::uint8_t>> rows(
        std::size_t(used), std::vector<std::uint8_t>(std::size_t(width) * sampleBytes));
    Bitmap local(int(width), int(height), PixelFormat::Bgr24);
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        r.Seek(offsets[i]);
        for (auto& row : rows) {
            const std::size_t length = r.U16BE();
            DecodeChannel(r, r.Bytes(length), row);
        }
        std::uint8_t* dst = local.ScanLine(int(height - 1 - std::int64_t(i)));
        for (std::size_t x = 0; x < std::size_t(width); ++x, dst += 3) {
            const std::size_t at = x * sampleBytes;
            if (used == 1) {
                dst[0] = dst[1] = dst[2] = rows[0][at];
            } else {
                dst[0] = rows[2][at];
                dst[1] = rows[1][at];
                dst[2] = rows[0][at];
            }
        }
    }
    out.SwapPicture(local);
}

} // namespace quillon
