// Paint Shop Pro image reader: the first raster layer, laid on a white
// canvas of the image's size.
//
// Layout (little-endian): a 32-byte signature "Paint Shop Pro Image File\n\x1a"
// padded with zeros, the major and minor version, then blocks. A block is
// "~BK\0", a 16-bit id and its length (file major version 3: an initial and
// a total length; later versions: the total length only), then its data.
// From major version 4 on, the fixed fields at the start of a block's data
// sit in a chunk that starts with its own 32-bit size, so newer fields are
// skipped. Blocks used:
//   0 general attributes: width, height, resolution, metric, compression
//     (0 none, 1 RLE, 2 LZ77 = a zlib stream), bit depth (1, 4, 8, 24),
//     planes, colour count, grayscale flag, ...
//   2 palette: entry count, then blue, green, red, reserved per entry;
//   3 layer bank, holding one 4 layer block per layer, bottom layer first:
//     name, type, the layer's rectangle on the canvas, the saved rectangle
//     within it, ..., bitmap and channel counts, then 5 channel blocks:
//     compressed and uncompressed lengths, bitmap kind (0 picture,
//     1 transparency mask) and channel (0 indices or gray, 1 red, 2 green,
//     3 blue), then the data. RLE: a count byte n > 128 repeats the next byte
//     n - 128 times, otherwise n literal bytes follow.
// Rows of 1- and 4-bit channels are packed, high bits first; a channel's row
// length is its uncompressed length divided by its row count (so padded rows
// read as well as tight ones). Versions 5 to 8 of the program write major
// versions 3 to 6; later majors are tried the same way. Output: PixelFormat::Bgr24.
#include "formats/ByteReader.h"
#include "formats/PixelTools.h"
#include "formats/Readers.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace quillon {

namespace {

constexpr char kSignature[] = "Paint Shop Pro Image File\n\x1a";
constexpr std::size_t kSignatureSize = 32;

enum PspBlock : int {
    kImageBlock = 0,
    kColorBlock = 2,
    kLayerBankBlock = 3,
    kLayerBlock = 4,
    kChannelBlock = 5
};

struct PspImage {
    int width = 0, height = 0;
    int compression = 0;
    int depth = 0;
    bool gray = false;
    bool haveAttributes = false;
    std::vector<Color> palette;
};

struct PspRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Block {
    int id = 0;
    std::size_t start = 0, end = 0; // data extent in the file
};

class PspReader {
public:
    PspReader(std::span<const std::uint8_t> data, const DecodeLimits& limits)
        : data_(data), limits_(limits), r_(data, "Paint Shop Pro") {}

    void Read(Bitmap& out);

private:
    std::span<const std::uint8_t> data_;
    const DecodeLimits& limits_;
    ByteReader r_;
    int major_ = 0;
    PspImage image_;
    bool done_ = false;

    std::optional<Block> NextBlock(std::size_t limit);
    // For major versions from 4 on: reads a chunk's size at the cursor and
    // returns where the chunk ends.
    std::size_t ChunkEnd(std::size_t blockEnd);
    void ReadAttributes(const Block& b);
    void ReadPalette(const Block& b);
    void ReadLayerBank(const Block& b, Bitmap& canvas);
    bool ReadLayer(const Block& b, Bitmap& canvas);
    std::vector<std::uint8_t> Decompress(std::span<const std::uint8_t> src, std::size_t size);
    void Paint(Bitmap& canvas, std::int64_t left, std::int64_t top, int w, int h,
               const std::array<std::vector<std::uint8_t>, 4>& channels, const bool (&have)[4],
               const std::vector<std::uint8_t>& mask, std::size_t maskStride);
};

std::optional<Block> PspReader::NextBlock(std::size_t limit) {
    if (r_.Position() >= limit) return std::nullopt;
    if (limit - r_.Position() < 10) r_.Truncated();
    auto magic = r_.Bytes(4);
    if (std::memcmp(magic.data(), "~BK\0", 4) != 0) r_.Malformed("has a damaged block header");
    Block b;
    b.id = r_.U16LE();
    if (major_ <= 3) r_.Skip(4); // initial length
    const std::uint32_t length = r_.U32LE();
    b.start = r_.Position();
    if (length > limit - b.start) r_.Truncated();
    b.end = b.start + length;
    return b;
}

std::size_t PspReader::ChunkEnd(std::size_t blockEnd) {
    const std::size_t start = r_.Position();
    const std::uint32_t size = r_.U32LE();
    if (size < 4 || size > blockEnd - start) r_.Malformed("has a damaged block");
    return start + size;
}

void PspReader::ReadAttributes(const Block& b) {
    r_.Seek(b.start);
    if (major_ >= 4) ChunkEnd(b.end);
    const std::int32_t width = r_.I32LE(), height = r_.I32LE();
    r_.Skip(8 + 1); // resolution, metric
    image_.compression = r_.U16LE();
    image_.depth = r_.U16LE();
    r_.Skip(2 + 4); // planes, colour count
    image_.gray = r_.U8() != 0;
    if (image_.compression > 2)
        r_.Unsupported("uses an unsupported compression (" + std::to_string(image_.compression) +
                       ")");
    if (image_.depth != 1 && image_.depth != 4 && image_.depth != 8 && image_.depth != 24)
        r_.Unsupported("has an unsupported bit depth (" + std::to_string(image_.depth) + ")");
    // The canvas is allocated whole, however small its layers: the budget
    // holds for it, checked before any layer is read.
    if (width > 0 && height > 0) limits_.CheckBudget(r_.FormatName(), width, height, r_.Size());
    image_.width = std::max(width, 0);
    image_.height = std::max(height, 0);
    image_.haveAttributes = true;
}

void PspReader::ReadPalette(const Block& b) {
    r_.Seek(b.start);
    std::size_t entriesAt = 0;
    std::uint32_t count = 0;
    if (major_ >= 4) {
        const std::size_t end = ChunkEnd(b.end);
        count = r_.U32LE();
        entriesAt = end;
    } else {
        count = r_.U32LE();
        entriesAt = r_.Position();
    }
    if (count > 256) r_.Malformed("has a palette of " + std::to_string(count) + " colours");
    r_.Seek(entriesAt);
    if (entriesAt > b.end || count * 4 > b.end - entriesAt) r_.Truncated();
    image_.palette.resize(count);
    for (auto& c : image_.palette) {
        auto q = r_.Bytes(4);
        c = RGB(q[2], q[1], q[0]);
    }
}

std::vector<std::uint8_t> PspReader::Decompress(std::span<const std::uint8_t> src,
                                                std::size_t size) {
    // Nothing is allocated for data the channel cannot hold: RLE gives at
    // most 127 bytes for two, deflate at most DeflateRatio for one.
    const std::uint64_t most =
        image_.compression == 0 ? src.size()
        : image_.compression == 1
            ? std::uint64_t(src.size()) * 64
            : std::uint64_t(src.size()) * std::uint64_t(limits_.DeflateRatio) + 64;
    if (size > most) r_.Truncated();
    std::vector<std::uint8_t> outBytes(size);
    switch (image_.compression) {
    case 0:
        if (src.size() < size) r_.Truncated();
        std::copy_n(src.begin(), size, outBytes.begin());
        break;
    case 1: {
        std::size_t in = 0, pos = 0;
        while (pos < size) {
            if (in >= src.size()) r_.Truncated();
            const unsigned n = src[in++];
            if (n > 128) {
                const std::size_t count = n - 128;
                if (count > size - pos) r_.Malformed("has an RLE run past the end of its data");
                if (in >= src.size()) r_.Truncated();
                std::fill_n(outBytes.begin() + std::ptrdiff_t(pos), count, src[in++]);
                pos += count;
            } else {
                if (n > size - pos) r_.Malformed("has an RLE run past the end of its data");
                if (n > src.size() - in) r_.Truncated();
                std::copy_n(src.begin() + std::ptrdiff_t(in), n,
                            outBytes.begin() + std::ptrdiff_t(pos));
                in += n;
                pos += n;
            }
        }
        break;
    }
    case 2: {
        z_stream z{};
        if (inflateInit(&z) != Z_OK)
            r_.Fail(PictureErrorKind::TooLarge, "could not be decompressed");
        z.next_in = const_cast<Bytef*>(src.data());
        z.avail_in = uInt(std::min<std::size_t>(src.size(), 0xFFFFFFFFu));
        z.next_out = outBytes.data();
        z.avail_out = uInt(size);
        const int rc = inflate(&z, Z_FINISH);
        const std::size_t produced = size - z.avail_out;
        inflateEnd(&z);
        if (rc != Z_STREAM_END && rc != Z_BUF_ERROR && rc != Z_OK)
            r_.Malformed("has damaged compressed data");
        if (produced < size) r_.Truncated();
        break;
    }
    }
    return outBytes;
}

void PspReader::Paint(Bitmap& canvas, std::int64_t left, std::int64_t top, int w, int h,
                      const std::array<std::vector<std::uint8_t>, 4>& channels,
                      const bool (&have)[4], const std::vector<std::uint8_t>& mask,
                      std::size_t maskStride) {
    const int depth = image_.depth;
    // Channels are checked one by one, so each keeps its own row length.
    std::array<std::size_t, 4> stride{};
    for (std::size_t c = 0; c < 4; ++c)
        if (have[c]) stride[c] = channels[c].size() / std::size_t(h);
    auto& palette = image_.palette;
    if (depth <= 8 && palette.empty()) {
        // Grayscale pictures may come without a palette: a ramp of 2^depth levels.
        const unsigned levels = 1u << depth;
        for (unsigned i = 0; i < levels; ++i) {
            const std::uint8_t v = ScaleTo8(i, levels - 1);
            palette.push_back(RGB(v, v, v));
        }
    }
    // Only the part of the layer that falls on the canvas is painted.
    const int y0 = int(std::clamp<std::int64_t>(-top, 0, h));
    const int y1 = int(std::clamp<std::int64_t>(canvas.Height() - top, 0, h));
    const int x0 = int(std::clamp<std::int64_t>(-left, 0, w));
    const int x1 = int(std::clamp<std::int64_t>(canvas.Width() - left, 0, w));
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* d = canvas.ScanLine(int(top + y)) + std::size_t(left + x0) * 3;
        const auto row = [&](std::size_t c) {
            return channels[c].data() + std::size_t(y) * stride[c];
        };
        const std::uint8_t* alphaRow =
            mask.empty() ? nullptr : mask.data() + std::size_t(y) * maskStride;
        for (int x = x0; x < x1; ++x, d += 3) {
            std::uint8_t red, green, blue;
            if (depth == 24) {
                red = row(1)[x];
                green = row(2)[x];
                blue = row(3)[x];
            } else {
                const std::uint8_t* s = row(0);
                unsigned index;
                if (depth == 8)
                    index = s[x];
                else if (depth == 4)
                    index = (s[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
                else
                    index = (s[x >> 3] >> (7 - (x & 7))) & 1;
                if (index >= palette.size())
                    r_.Malformed("has a palette index (" + std::to_string(index) +
                                 ") out of range");
                const Color c = palette[index];
                red = GetRValue(c);
                green = GetGValue(c);
                blue = GetBValue(c);
            }
            const unsigned alpha = alphaRow ? alphaRow[x] : 255u;
            d[0] = OverWhite(blue, alpha);
            d[1] = OverWhite(green, alpha);
            d[2] = OverWhite(red, alpha);
        }
    }
}

bool PspReader::ReadLayer(const Block& b, Bitmap& canvas) {
    r_.Seek(b.start);
    PspRect image, saved;
    int type = 0;
    const auto readRect = [&](PspRect& rc) {
        rc.left = r_.I32LE();
        rc.top = r_.I32LE();
        rc.right = r_.I32LE();
        rc.bottom = r_.I32LE();
    };
    std::size_t after = 0;
    if (major_ >= 4) {
        const std::size_t infoEnd = ChunkEnd(b.end);
        r_.Skip(r_.U16LE()); // name
        type = r_.U8();
        readRect(image);
        readRect(saved);
        r_.Seek(infoEnd);
        const std::size_t bitmapEnd = ChunkEnd(b.end);
        after = bitmapEnd;
    } else {
        r_.Skip(256); // name
        type = r_.U8();
        readRect(image);
        readRect(saved);
        // opacity, blend, visible, protect, link, mask rects, mask flags,
        // blend range count, five blend ranges, bitmap and channel counts
        r_.Skip(5 + 32 + 3 + 2 + 40 + 4);
        after = r_.Position();
    }
    const bool raster = major_ >= 4 ? (type == 1 || type == 2) : (type == 0 || type == 1);
    if (!raster) return false;

    const std::int64_t w = std::int64_t(saved.right) - saved.left;
    const std::int64_t h = std::int64_t(saved.bottom) - saved.top;
    if (w <= 0 || h <= 0) return false; // an empty layer shows nothing
    limits_.CheckBudget(r_.FormatName(), w, h, r_.Size());
    const std::size_t tight =
        image_.depth == 24 ? std::size_t(w) : (std::size_t(w) * std::size_t(image_.depth) + 7) / 8;

    std::array<std::vector<std::uint8_t>, 4> channels;
    bool have[4] = {false, false, false, false};
    std::vector<std::uint8_t> mask;
    std::size_t maskStride = 0;

    r_.Seek(after);
    while (auto c = NextBlock(b.end)) {
        if (c->id == kChannelBlock) {
            std::uint32_t packed, unpacked;
            int bitmapKind, channel;
            std::size_t dataAt;
            if (major_ >= 4) {
                const std::size_t end = ChunkEnd(c->end);
                packed = r_.U32LE();
                unpacked = r_.U32LE();
                bitmapKind = r_.U16LE();
                channel = r_.U16LE();
                dataAt = end;
            } else {
                packed = r_.U32LE();
                unpacked = r_.U32LE();
                bitmapKind = r_.U16LE();
                channel = r_.U16LE();
                dataAt = r_.Position();
            }
            if (dataAt > c->end || packed > c->end - dataAt) r_.Truncated();
            const auto src = data_.subspan(dataAt, packed);
            const std::size_t rowBytes = bitmapKind == 1 ? std::size_t(w) : tight;
            // The uncompressed size must be whole rows of at least the tight width.
            if (unpacked % std::size_t(h) != 0 || unpacked / std::size_t(h) < rowBytes ||
                unpacked / std::size_t(h) > rowBytes + 4)
                r_.Malformed("has a channel of the wrong size");
            if (bitmapKind == 0 && channel >= 0 && channel <= 3) {
                channels[std::size_t(channel)] = Decompress(src, unpacked);
                have[channel] = true;
            } else if (bitmapKind == 1) {
                mask = Decompress(src, unpacked);
                maskStride = unpacked / std::size_t(h);
            }
        }
        r_.Seek(c->end);
    }
    const bool complete = image_.depth == 24 ? have[1] && have[2] && have[3] : have[0];
    if (!complete) r_.Malformed("has a layer without its colour channels");
    // The canvas is made only now, once the layer has proved readable, so a
    // damaged file with a large canvas fails without allocating it.
    canvas.SetPixelFormat(PixelFormat::Bgr24);
    canvas.SetSize(image_.width, image_.height);
    std::memset(canvas.Bits(), 0xFF, canvas.Stride() * std::size_t(canvas.Height()));
    Paint(canvas, std::int64_t(image.left) + saved.left, std::int64_t(image.top) + saved.top,
          int(w), int(h), channels, have, mask, maskStride);
    return true;
}

void PspReader::ReadLayerBank(const Block& b, Bitmap& canvas) {
    r_.Seek(b.start);
    while (auto layer = NextBlock(b.end)) {
        if (layer->id == kLayerBlock && ReadLayer(*layer, canvas)) {
            done_ = true;
            return;
        }
        r_.Seek(layer->end);
    }
}

void PspReader::Read(Bitmap& out) {
    if (r_.Size() < kSignatureSize + 4 ||
        std::memcmp(r_.Bytes(kSignatureSize).data(), kSignature, sizeof kSignature - 1) != 0)
        r_.Malformed("is not a Paint Shop Pro image");
    major_ = r_.U16LE();
    r_.Skip(2);
    if (major_ < 3) r_.Unsupported("has an unsupported version (" + std::to_string(major_) + ")");

    Bitmap canvas;
    while (!done_) {
        auto b = NextBlock(r_.Size());
        if (!b) break;
        switch (b->id) {
        case kImageBlock:
            ReadAttributes(*b);
            if (image_.width == 0 || image_.height == 0) {
                Bitmap empty; // no pixels: an empty picture, which the shell reports
                out.SwapPicture(empty);
                return;
            }
            break;
        case kColorBlock:
            ReadPalette(*b);
            break;
        case kLayerBankBlock:
            if (!image_.haveAttributes) r_.Malformed("has layers before its image attributes");
            ReadLayerBank(*b, canvas);
            break;
        default:
            break;
        }
        r_.Seek(b->end);
    }
    if (!image_.haveAttributes) r_.Malformed("has no image attributes");
    if (!done_) r_.Unsupported("has no raster layer");
    out.SwapPicture(canvas);
}

} // namespace

void ReadPsp(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    PspReader(data, limits).Read(out);
}

} // namespace quillon
