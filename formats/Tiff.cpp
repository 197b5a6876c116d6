// TIFF reader, through libtiff reading from memory.
//
// Layout: a byte-order mark ("II" or "MM"), the number 42 (43 for BigTIFF)
// and the offset of the first image file directory, a list of tags giving
// the size, samples, photometric interpretation, compression and where the
// strips or tiles of pixel data lie. Only the first directory (page) is read.
// Handled through libtiff's RGBA interface: strips and tiles; no
// compression, PackBits, LZW, Deflate, JPEG, CCITT fax and the others the
// library was built with; bilevel, gray, palette, RGB, CMYK and YCbCr
// pictures of 1 to 16 bits per sample, with or without alpha.
//
// Sixteen-bit CMYK, which that interface leaves out, and 16-bit RGB and
// gray, which it would truncate to 8 bits, are decoded here from their
// strips or tiles, rounding to 8 bits. Rows come as stored: the Orientation
// tag is applied by LoadPictureFile. The picture becomes PixelFormat::Bgr24; alpha (which the
// library hands over premultiplied) is composited over white. The library's error and warning
// messages are collected per file instead of printed, and the first error
// becomes part of the PictureError.
#include "formats/ByteReader.h"
#include "formats/Readers.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace quillon {

namespace {

// The file's bytes as libtiff's client I/O sees them.
struct TiffSource {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Pos;
};

struct TiffMessages {
    char FirstError[300];
};

tmsize_t OnRead(thandle_t handle, void* buf, tmsize_t size) {
    auto* src = static_cast<TiffSource*>(handle);
    if (size <= 0) return 0;
    const std::size_t n = std::min(std::size_t(size), src->Size - src->Pos);
    std::memcpy(buf, src->Data + src->Pos, n);
    src->Pos += n;
    return tmsize_t(n);
}

tmsize_t OnWrite(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t OnSeek(thandle_t handle, toff_t offset, int whence) {
    auto* src = static_cast<TiffSource*>(handle);
    const std::uint64_t base = whence == SEEK_CUR ? src->Pos : whence == SEEK_END ? src->Size : 0;
    const std::uint64_t target = base + offset;
    // Beyond the end is refused: every read there would come back short.
    if (target < base || target > src->Size) return toff_t(-1);
    src->Pos = std::size_t(target);
    return target;
}

int OnClose(thandle_t) {
    return 0;
}

toff_t OnSize(thandle_t handle) {
    return static_cast<TiffSource*>(handle)->Size;
}

// The file is opened without mapping ("m"), so the library copies what it
// reads and never holds a pointer into the caller's bytes.
int OnMap(thandle_t, void**, toff_t*) {
    return 0;
}

void OnUnmap(thandle_t, void*, toff_t) {}

int OnError(TIFF*, void* user, const char* module, const char* fmt, va_list args) {
    auto* messages = static_cast<TiffMessages*>(user);
    if (messages->FirstError[0] == '\0') {
        char text[250];
        std::vsnprintf(text, sizeof text, fmt, args);
        if (module && *module)
            std::snprintf(messages->FirstError, sizeof messages->FirstError, "%s: %s", module,
                          text);
        else
            std::snprintf(messages->FirstError, sizeof messages->FirstError, "%s", text);
    }
    return 1;
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// Messages the library raises outside any open file would otherwise go to
// standard error; the program shows its errors itself.
void SilenceGlobalHandlers() {
    static const bool silenced = [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        return true;
    }();
    (void)silenced;
}

class TiffHandle {
public:
    TiffHandle(TiffSource& source, TiffMessages& messages, const DecodeLimits& limits) {
        TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
        if (!options)
            throw PictureError("Not enough memory to read the TIFF file",
                               PictureErrorKind::TooLarge);
        TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &messages);
        TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, nullptr);
        // No single buffer of the library may exceed the largest picture.
        TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(limits.MaxPixels * 4));
        tif_ = TIFFClientOpenExt("memory", "rm", &source, OnRead, OnWrite, OnSeek, OnClose, OnSize,
                                 OnMap, OnUnmap, options);
        TIFFOpenOptionsFree(options);
    }
    ~TiffHandle() {
        if (tif_) TIFFClose(tif_);
    }
    TiffHandle(const TiffHandle&) = delete;
    TiffHandle& operator=(const TiffHandle&) = delete;
    TIFF* Get() const { return tif_; }

private:
    TIFF* tif_ = nullptr;
};

// libtiff says why only in words: data that ends too soon and refusals over
// a limit are told apart by them.
PictureErrorKind KindOf(const char* message) {
    for (const char* shortData : {"Read error", "Seek error", "Not enough data", "Premature"})
        if (std::strstr(message, shortData)) return PictureErrorKind::Truncated;
    for (const char* overLimit : {"limit", "Memory", "memory"})
        if (std::strstr(message, overLimit)) return PictureErrorKind::TooLarge;
    return PictureErrorKind::Malformed;
}

[[noreturn]] void Fail(const TiffMessages& messages, const char* fallback) {
    if (messages.FirstError[0])
        throw PictureError(std::string("TIFF file is damaged (") + messages.FirstError + ")",
                           KindOf(messages.FirstError));
    throw PictureError(std::string("TIFF file ") + fallback, PictureErrorKind::Malformed);
}

[[noreturn]] void Unsupported(const std::string& why) {
    throw PictureError("TIFF file has an unsupported layout (" + why + ")",
                       PictureErrorKind::Unsupported);
}

// The bytes of the strips (or tiles) that lie within a file of fileSize
// bytes, as the directory places them.
std::uint64_t StoredBytesPresent(TIFF* tif, std::uint64_t fileSize) {
    std::uint64_t present = 0;
    const std::uint32_t count = TIFFNumberOfStrips(tif);
    for (std::uint32_t i = 0; i < count; ++i) {
        int err = 0;
        const std::uint64_t offset = TIFFGetStrileOffsetWithErr(tif, i, &err);
        const std::uint64_t bytes = TIFFGetStrileByteCountWithErr(tif, i, &err);
        if (err || offset >= fileSize) continue;
        present += std::min(bytes, fileSize - offset);
    }
    return present;
}

bool HasSignature(std::span<const std::uint8_t> d) {
    if (d.size() < 8) return false;
    const bool intel = d[0] == 'I' && d[1] == 'I' && (d[2] == 42 || d[2] == 43) && d[3] == 0;
    const bool motorola = d[0] == 'M' && d[1] == 'M' && d[2] == 0 && (d[3] == 42 || d[3] == 43);
    return intel || motorola;
}

std::uint8_t To8(std::uint16_t v) {
    return std::uint8_t((unsigned(v) * 255u + 32767u) / 65535u);
}

// Converts count interleaved CMYK pixels of 16-bit samples (samples per
// pixel apart, in the machine's order) to blue, green, red.
void CmykRow(const std::uint8_t* src, int samples, std::uint32_t count, std::uint8_t* dst) {
    for (std::uint32_t x = 0; x < count; ++x, src += 2 * samples, dst += 3) {
        std::uint16_t cmyk[4];
        std::memcpy(cmyk, src, sizeof cmyk);
        const unsigned k = 255u - To8(cmyk[3]);
        dst[0] = std::uint8_t((255u - To8(cmyk[2])) * k / 255u);
        dst[1] = std::uint8_t((255u - To8(cmyk[1])) * k / 255u);
        dst[2] = std::uint8_t((255u - To8(cmyk[0])) * k / 255u);
    }
}

// Three 16-bit samples a pixel: red, green, blue.
void RgbRow(const std::uint8_t* src, int samples, std::uint32_t count, std::uint8_t* dst) {
    for (std::uint32_t x = 0; x < count; ++x, src += 2 * samples, dst += 3) {
        std::uint16_t rgb[3];
        std::memcpy(rgb, src, sizeof rgb);
        dst[0] = To8(rgb[2]);
        dst[1] = To8(rgb[1]);
        dst[2] = To8(rgb[0]);
    }
}

void GrayRow(const std::uint8_t* src, int samples, std::uint32_t count, std::uint8_t* dst) {
    for (std::uint32_t x = 0; x < count; ++x, src += 2 * samples, dst += 3) {
        std::uint16_t v;
        std::memcpy(&v, src, sizeof v);
        dst[0] = dst[1] = dst[2] = To8(v);
    }
}

void WhiteIsZeroRow(const std::uint8_t* src, int samples, std::uint32_t count, std::uint8_t* dst) {
    for (std::uint32_t x = 0; x < count; ++x, src += 2 * samples, dst += 3) {
        std::uint16_t v;
        std::memcpy(&v, src, sizeof v);
        dst[0] = dst[1] = dst[2] = std::uint8_t(255 - To8(v));
    }
}

using Row16 = void (*)(const std::uint8_t* src, int samples, std::uint32_t count,
                       std::uint8_t* dst);

// The row converter for the 16-bit layouts read here rather than through
// the library's RGBA interface: CMYK, which that interface leaves out, and
// plain RGB and gray, which it reduces to 8 bits by dropping the low byte
// (here rounded, as the PNG reader does). Null for every other layout.
Row16 SixteenBitRow(TIFF* tif) {
    std::uint16_t photometric = 0, bits = 0, samples = 0, inkset = INKSET_CMYK, extra = 0;
    std::uint16_t* extraKinds = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inkset);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extra, &extraKinds);
    if (bits != 16) return nullptr;
    if (photometric == PHOTOMETRIC_SEPARATED && samples >= 4 && inkset == INKSET_CMYK)
        return CmykRow;
    if (extra != 0) return nullptr; // alpha: the RGBA interface composites it
    if (photometric == PHOTOMETRIC_RGB && samples == 3) return RgbRow;
    if (photometric == PHOTOMETRIC_MINISBLACK && samples == 1) return GrayRow;
    if (photometric == PHOTOMETRIC_MINISWHITE && samples == 1) return WhiteIsZeroRow;
    return nullptr;
}

void Read16(TIFF* tif, const TiffMessages& messages, Bitmap& bmp, Row16 convert) {
    std::uint16_t samples = 0, planar = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    if (planar != PLANARCONFIG_CONTIG && samples > 1)
        Unsupported("16-bit samples in separate planes");
    const std::uint32_t width = std::uint32_t(bmp.Width()), height = std::uint32_t(bmp.Height());
    const std::size_t pixelBytes = std::size_t(samples) * 2;

    if (TIFFIsTiled(tif)) {
        std::uint32_t tw = 0, th = 0;
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tw);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &th);
        const tmsize_t tileSize = TIFFTileSize(tif);
        if (tw == 0 || th == 0 || tileSize <= 0 ||
            std::uint64_t(tw) * th * pixelBytes > std::uint64_t(tileSize))
            Fail(messages, "has invalid tiles");
        std::vector<std::uint8_t> tile(static_cast<std::size_t>(tileSize));
        for (std::uint32_t ty = 0; ty < height; ty += th)
            for (std::uint32_t tx = 0; tx < width; tx += tw) {
                if (TIFFReadTile(tif, tile.data(), tx, ty, 0, 0) < 0)
                    Fail(messages, "cannot be decoded");
                const std::uint32_t rows = std::min(th, height - ty),
                                    cols = std::min(tw, width - tx);
                for (std::uint32_t r = 0; r < rows; ++r)
                    convert(tile.data() + std::size_t(r) * tw * pixelBytes, samples, cols,
                            bmp.ScanLine(int(ty + r)) + std::size_t(tx) * 3);
            }
        return;
    }

    std::uint32_t rowsPerStrip = height;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp<std::uint32_t>(rowsPerStrip, 1, height);
    const tmsize_t stripSize = TIFFStripSize(tif);
    if (stripSize <= 0 ||
        std::uint64_t(rowsPerStrip) * width * pixelBytes > std::uint64_t(stripSize))
        Fail(messages, "has invalid strips");
    std::vector<std::uint8_t> strip(static_cast<std::size_t>(stripSize));
    for (std::uint32_t y = 0, s = 0; y < height; y += rowsPerStrip, ++s) {
        if (TIFFReadEncodedStrip(tif, s, strip.data(), stripSize) < 0)
            Fail(messages, "cannot be decoded");
        const std::uint32_t rows = std::min(rowsPerStrip, height - y);
        for (std::uint32_t r = 0; r < rows; ++r)
            convert(strip.data() + std::size_t(r) * width * pixelBytes, samples, width,
                    bmp.ScanLine(int(y + r)));
    }
}

// Every other layout goes through the library's RGBA interface, which
// hands over premultiplied colours with alpha.
void ReadThroughRgba(TIFF* tif, const TiffMessages& messages, Bitmap& bmp) {
    char why[1024] = "";
    TIFFRGBAImage image;
    if (!TIFFRGBAImageOK(tif, why) || !TIFFRGBAImageBegin(&image, tif, 1, why)) Unsupported(why);
    const std::uint32_t width = std::uint32_t(bmp.Width()), height = std::uint32_t(bmp.Height());
    std::vector<std::uint32_t> raster(std::size_t(width) * height);
    // Rows as stored: the Orientation tag is applied, turns included, by
    // LoadPictureFile with the other EXIF orientations (the library would
    // only mirror, and doing both would mirror twice).
    image.req_orientation = image.orientation;
    const int ok = TIFFRGBAImageGet(&image, raster.data(), width, height);
    TIFFRGBAImageEnd(&image);
    if (!ok) Fail(messages, "cannot be decoded");

    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t* src = raster.data() + std::size_t(y) * width;
        std::uint8_t* dst = bmp.ScanLine(int(y));
        for (std::uint32_t x = 0; x < width; ++x, dst += 3) {
            const std::uint32_t p = src[x];
            const unsigned white = 255 - TIFFGetA(p);
            dst[0] = std::uint8_t(std::min(255u, TIFFGetB(p) + white));
            dst[1] = std::uint8_t(std::min(255u, TIFFGetG(p) + white));
            dst[2] = std::uint8_t(std::min(255u, TIFFGetR(p) + white));
        }
    }
}

} // namespace

void ReadTiff(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
              const DecodeLimits& limits) {
    if (!HasSignature(data))
        throw PictureError("TIFF file has no TIFF signature", PictureErrorKind::Malformed);
    SilenceGlobalHandlers();

    TiffSource source{data.data(), data.size(), 0};
    TiffMessages messages{};
    TiffHandle handle(source, messages, limits);
    TIFF* tif = handle.Get();
    if (!tif) Fail(messages, "cannot be opened");

    std::uint32_t width = 0, height = 0;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height))
        throw PictureError("TIFF file has no picture size", PictureErrorKind::Malformed);
    limits.CheckSize(width, height);
    std::uint64_t pixels = std::uint64_t(width) * height;
    if (TIFFIsTiled(tif)) {
        std::uint32_t tileWidth = 0, tileLength = 0;
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength);
        const std::uint64_t tilePixels = std::uint64_t(tileWidth) * tileLength;
        if (tilePixels > std::uint64_t(limits.MaxPixels))
            throw PictureError("TIFF file has an unsupported layout (tiles too large)",
                               PictureErrorKind::TooLarge);
        pixels = std::max(pixels, tilePixels);
    }
    // The most pixels one byte of compressed data can stand for: a blank fax
    // row of 1728 pixels takes one bit in CCITT group 4, so pictures and tiles
    // larger than this many pixels per file byte cannot be real.
    // The bound holds for the file, and for the bytes of its strips or tiles
    // that lie within it, so a directory whose strips are missing is refused
    // before the picture is allocated.
    const std::uint64_t perByte = std::uint64_t(limits.TiffPixelsPerByte);
    if (pixels > std::uint64_t(data.size()) * perByte ||
        pixels > StoredBytesPresent(tif, data.size()) * perByte)
        throw PictureError("TIFF file is truncated", PictureErrorKind::Truncated);
    limits.CheckBudget("TIFF", width, height, data.size());

    Bitmap local(int(width), int(height), PixelFormat::Bgr24);
    if (const Row16 convert = SixteenBitRow(tif))
        Read16(tif, messages, local, convert);
    else
        ReadThroughRgba(tif, messages, local);
    out.SwapPicture(local);
}

} // namespace quillon
