// PNG reader, through libpng.
//
// Layout: an 8-byte signature, then chunks (length, type, data, CRC): IHDR
// (size, bit depth, colour type, interlace), PLTE, tRNS, IDAT (the deflated
// rows, each with a filter byte), IEND. Handled: gray of 1, 2, 4, 8 and 16
// bits, palette of 1 to 8 bits, RGB of 8 and 16 bits, gray+alpha, RGBA,
// Adam7 interlacing, and tRNS transparency. The gamma and colour-space
// chunks are ignored: samples are taken as stored.
//
// libpng expands every picture to 8-bit RGBA (16-bit samples scaled with
// rounding); the alpha is composited over white into a PixelFormat::Bgr24 bitmap,
// row by row (an interlaced picture is held whole as RGBA first). Text chunks
// are skipped unread; other ancillary chunks are few and small, or refused.
//
// libpng reports errors by longjmp. Each setjmp lives in a small function
// that holds no C++ object with a destructor; the error text is copied into
// a plain buffer and thrown as PictureError after the function returns.
#include "formats/ByteReader.h"
#include "formats/PixelTools.h"
#include "formats/Readers.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace quillon {

namespace {

// Everything the libpng callbacks touch: plain data only.
struct PngSource {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Pos;
    bool Truncated;
    char Message[200];
};

void OnError(png_structp png, png_const_charp message) {
    auto* src = static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(src->Message, sizeof src->Message, "%s", message ? message : "error");
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep dest, png_size_t length) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > src->Size - src->Pos) {
        src->Truncated = true;
        png_error(png, "truncated");
    }
    std::memcpy(dest, src->Data + src->Pos, length);
    src->Pos += length;
}

struct PngInfo {
    png_uint_32 Width, Height;
    std::size_t StoredRowBytes; // a row as the file stores it, before the transforms
    std::size_t RowBytes;       // a row after them: 8-bit RGBA
    bool Interlaced;
};

// Reads the chunks up to the first IDAT and sets the transforms that turn
// every picture into 8-bit RGBA. Returns false on a libpng error.
bool ReadHeader(png_structp png, png_infop info, PngInfo* result) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    result->StoredRowBytes = png_get_rowbytes(png, info);
    result->Interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    const int colourType = png_get_color_type(png, info);
    png_set_expand(png); // palette to RGB, low-depth gray to 8 bits, tRNS to alpha
    png_set_scale_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER); // no effect where alpha exists
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    result->Width = png_get_image_width(png, info);
    result->Height = png_get_image_height(png, info);
    result->RowBytes = png_get_rowbytes(png, info);
    return true;
}

// Lays one row of 8-bit RGBA over white into blue, green, red.
void RgbaOverWhite(const std::uint8_t* src, std::uint8_t* dst, png_uint_32 width) {
    for (png_uint_32 x = 0; x < width; ++x, src += 4, dst += 3) {
        const int a = src[3];
        if (a == 255) {
            dst[0] = src[2], dst[1] = src[1], dst[2] = src[0];
        } else {
            const int white = 255 * (255 - a) + 127;
            dst[0] = std::uint8_t((src[2] * a + white) / 255);
            dst[1] = std::uint8_t((src[1] * a + white) / 255);
            dst[2] = std::uint8_t((src[0] * a + white) / 255);
        }
    }
}

// An interlaced picture: every pass revisits the rows, so they are all
// held as RGBA until the last pass.
bool ReadInterlacedRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    return true;
}

// A plain picture row by row through one RGBA row, straight into the
// picture's rows (stride bytes apart).
bool ReadPlainRows(png_structp png, const PngInfo* header, png_bytep rgbaRow, std::uint8_t* bits,
                   std::size_t stride) {
    if (setjmp(png_jmpbuf(png))) return false;
    for (png_uint_32 y = 0; y < header->Height; ++y) {
        png_read_row(png, rgbaRow, nullptr);
        RgbaOverWhite(rgbaRow, bits + std::size_t(y) * stride, header->Width);
    }
    return true;
}

// Owns the libpng structures for one read.
class PngReadGuard {
public:
    PngReadGuard(PngSource& source, const DecodeLimits& limits) {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnError, OnWarning);
        if (png_) info_ = png_create_info_struct(png_);
        if (!png_ || !info_)
            throw PictureError("Not enough memory to read the PNG file",
                               PictureErrorKind::TooLarge);
        png_set_read_fn(png_, &source, OnRead);
        png_set_user_limits(png_, png_uint_32(limits.MaxSide), png_uint_32(limits.MaxSide));
        // Ancillary chunks are kept in memory until the read ends: few of
        // them, none large, and no text at all (the program shows none, and
        // compressed text could cost seconds and megabytes a chunk).
        png_set_chunk_cache_max(png_, limits.MaxPngAncillaryChunks);
        static const png_byte kText[] = "tEXt\0zTXt\0iTXt";
        png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, kText, 3);
        png_set_chunk_malloc_max(png_, limits.MaxPngChunkBytes);
    }
    ~PngReadGuard() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    PngReadGuard(const PngReadGuard&) = delete;
    PngReadGuard& operator=(const PngReadGuard&) = delete;

    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// libpng says why only in words: its refusals over a limit (ours, given as
// user limits, or its own on memory) are told apart by them.
PictureErrorKind KindOf(const char* message) {
    for (const char* overLimit : {"limit", "too large", "memory", "Memory"})
        if (std::strstr(message, overLimit)) return PictureErrorKind::TooLarge;
    return PictureErrorKind::Malformed;
}

[[noreturn]] void Fail(const PngSource& source) {
    if (source.Truncated) throw PictureError("PNG file is truncated", PictureErrorKind::Truncated);
    throw PictureError(std::string("PNG file is damaged (") + source.Message + ")",
                       KindOf(source.Message));
}

// The data bytes of the run of IDAT chunks whose first one starts its data
// at idatData, as far as the file holds them.
std::uint64_t IdatBytesPresent(std::span<const std::uint8_t> data, std::size_t idatData) {
    if (idatData < 8) return 0;
    std::uint64_t present = 0;
    for (std::size_t at = idatData - 8; at + 8 <= data.size();) {
        if (std::memcmp(data.data() + at + 4, "IDAT", 4) != 0) break;
        const std::uint32_t length = (std::uint32_t(data[at]) << 24) |
                                     (std::uint32_t(data[at + 1]) << 16) |
                                     (std::uint32_t(data[at + 2]) << 8) | data[at + 3];
        const std::size_t start = at + 8;
        present += std::min<std::uint64_t>(length, data.size() - start);
        if (length > data.size() - start) break;
        at = start + length + 4; // past the CRC
    }
    return present;
}

} // namespace

void ReadPng(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data.size() < 8 || !std::equal(kSignature, kSignature + 8, data.begin()))
        throw PictureError("PNG file has no PNG signature", PictureErrorKind::Malformed);

    PngSource source{data.data(), data.size(), 0, false, {}};
    PngReadGuard guard(source, limits);
    PngInfo header{};
    if (!ReadHeader(guard.Png(), guard.Info(), &header)) Fail(source);

    // The rows come out of the file's IDAT chunks, whose deflate data cannot
    // hold more than DeflateRatio times its size: a file cut short is refused
    // before the picture is allocated. Each plain row is stored with its
    // filter byte; half the plain size is a safe lower bound for interlaced
    // pictures.
    const std::uint64_t stored = header.Interlaced
                                     ? std::uint64_t(header.StoredRowBytes) * header.Height / 2
                                     : std::uint64_t(header.StoredRowBytes + 1) * header.Height;
    if (stored > IdatBytesPresent(data, source.Pos) * std::uint64_t(limits.DeflateRatio) + 1024)
        throw PictureError("PNG file is truncated", PictureErrorKind::Truncated);
    limits.CheckBudget("PNG", header.Width, header.Height, data.size());
    if (header.RowBytes != std::size_t(header.Width) * 4)
        throw PictureError("PNG file has an unsupported layout", PictureErrorKind::Unsupported);

    Bitmap local(int(header.Width), int(header.Height), PixelFormat::Bgr24);
    if (header.Interlaced) {
        std::vector<std::uint8_t> rgba(header.RowBytes * header.Height);
        std::vector<png_bytep> rows(header.Height);
        for (png_uint_32 y = 0; y < header.Height; ++y) rows[y] = rgba.data() + y * header.RowBytes;
        if (!ReadInterlacedRows(guard.Png(), rows.data())) Fail(source);
        for (png_uint_32 y = 0; y < header.Height; ++y)
            RgbaOverWhite(rows[y], local.ScanLine(int(y)), header.Width);
    } else {
        std::vector<std::uint8_t> rgbaRow(header.RowBytes);
        if (!ReadPlainRows(guard.Png(), &header, rgbaRow.data(), local.Bits(), local.Stride()))
            Fail(source);
    }
    out.SwapPicture(local);
}

} // namespace quillon

namespace quillon {

// Written through libpng's simplified API, which reports errors in its
// control structure rather than by longjmp: 8-bit RGB, no alpha, the
// library's default compression. Lossless, so a saved picture reads back
// pixel for pixel.
std::vector<std::uint8_t> EncodePng(const Bitmap& bitmap) {
    Bitmap copy;
    const Bitmap* source = &AsBgr24(bitmap, copy);
    if (source->Width() <= 0 || source->Height() <= 0)
        throw PictureError("Cannot write an empty picture as PNG", PictureErrorKind::Io);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(source->Width());
    image.height = png_uint_32(source->Height());
    image.format = PNG_FORMAT_BGR;
    const png_int_32 stride = png_int_32(source->Stride());
    png_alloc_size_t size = 0;
    // The first call measures, the second writes.
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, source->Bits(), stride, nullptr)) {
        const std::string message = image.message;
        png_image_free(&image);
        throw PictureError("Cannot write PNG: " + message, PictureErrorKind::Io);
    }
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, source->Bits(), stride,
                                   nullptr)) {
        const std::string message = image.message;
        png_image_free(&image);
        throw PictureError("Cannot write PNG: " + message, PictureErrorKind::Io);
    }
    bytes.resize(size);
    return bytes;
}

} // namespace quillon
