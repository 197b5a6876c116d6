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
// The picture becomes pf24bit; alpha (which the library hands over
// premultiplied) is composited over white. The library's error and warning
// messages are collected per file instead of printed, and the first error
// becomes part of the EPictureError.
#include "formats/ByteReader.h"
#include "formats/Readers.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The file's bytes as libtiff's client I/O sees them.
struct TTiffSource {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Pos;
};

struct TTiffMessages {
    char FirstError[300];
};

tmsize_t OnRead(thandle_t handle, void* buf, tmsize_t size) {
    auto* src = static_cast<TTiffSource*>(handle);
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
    auto* src = static_cast<TTiffSource*>(handle);
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
    return static_cast<TTiffSource*>(handle)->Size;
}

// The file is opened without mapping ("m"), so the library copies what it
// reads and never holds a pointer into the caller's bytes.
int OnMap(thandle_t, void**, toff_t*) {
    return 0;
}

void OnUnmap(thandle_t, void*, toff_t) {}

int OnError(TIFF*, void* user, const char* module, const char* fmt, va_list args) {
    auto* messages = static_cast<TTiffMessages*>(user);
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

class TTiffHandle {
public:
    TTiffHandle(TTiffSource& source, TTiffMessages& messages) {
        TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
        if (!options) throw EPictureError("Not enough memory to read the TIFF file");
        TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &messages);
        TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, nullptr);
        // No single buffer of the library may exceed the largest picture.
        TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(kMaxPicturePixels * 4));
        tif_ = TIFFClientOpenExt("memory", "rm", &source, OnRead, OnWrite, OnSeek, OnClose, OnSize,
                                 OnMap, OnUnmap, options);
        TIFFOpenOptionsFree(options);
    }
    ~TTiffHandle() {
        if (tif_) TIFFClose(tif_);
    }
    TTiffHandle(const TTiffHandle&) = delete;
    TTiffHandle& operator=(const TTiffHandle&) = delete;
    TIFF* Get() const { return tif_; }

private:
    TIFF* tif_ = nullptr;
};

[[noreturn]] void Fail(const TTiffMessages& messages, const char* fallback) {
    if (messages.FirstError[0])
        throw EPictureError(std::string("TIFF file is damaged (") + messages.FirstError + ")");
    throw EPictureError(std::string("TIFF file ") + fallback);
}

// The most pixels one byte of compressed data can stand for: a blank fax
// row of 1728 pixels takes one bit in CCITT group 4, so pictures and tiles
// larger than this many pixels per file byte cannot be real.
constexpr std::uint64_t kMaxPixelsPerByte = 16384;

bool HasSignature(std::span<const std::uint8_t> d) {
    if (d.size() < 8) return false;
    const bool intel = d[0] == 'I' && d[1] == 'I' && (d[2] == 42 || d[2] == 43) && d[3] == 0;
    const bool motorola = d[0] == 'M' && d[1] == 'M' && d[2] == 0 && (d[3] == 42 || d[3] == 43);
    return intel || motorola;
}

} // namespace

void ReadTiff(std::span<const std::uint8_t> data, const std::string&, TBitmap& out) {
    if (!HasSignature(data)) throw EPictureError("TIFF file has no TIFF signature");
    SilenceGlobalHandlers();

    TTiffSource source{data.data(), data.size(), 0};
    TTiffMessages messages{};
    TTiffHandle handle(source, messages);
    TIFF* tif = handle.Get();
    if (!tif) Fail(messages, "cannot be opened");

    std::uint32_t width = 0, height = 0;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height))
        throw EPictureError("TIFF file has no picture size");
    CheckPictureSize(width, height);
    std::uint64_t pixels = std::uint64_t(width) * height;
    if (TIFFIsTiled(tif)) {
        std::uint32_t tileWidth = 0, tileLength = 0;
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength);
        pixels = std::max(pixels, std::uint64_t(tileWidth) * tileLength);
    }
    if (pixels > std::uint64_t(data.size()) * kMaxPixelsPerByte)
        throw EPictureError("TIFF file is truncated");

    char why[1024] = "";
    if (!TIFFRGBAImageOK(tif, why))
        throw EPictureError(std::string("TIFF file has an unsupported layout (") + why + ")");

    std::vector<std::uint32_t> raster(std::size_t(width) * height);
    if (!TIFFReadRGBAImageOriented(tif, width, height, raster.data(), ORIENTATION_TOPLEFT, 1))
        Fail(messages, "cannot be decoded");

    TBitmap local(int(width), int(height), pf24bit);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t* src = raster.data() + std::size_t(y) * width;
        std::uint8_t* dst = local.ScanLine(int(y));
        for (std::uint32_t x = 0; x < width; ++x, dst += 3) {
            const std::uint32_t p = src[x];
            const unsigned white = 255 - TIFFGetA(p); // colours are premultiplied
            dst[0] = std::uint8_t(std::min(255u, TIFFGetB(p) + white));
            dst[1] = std::uint8_t(std::min(255u, TIFFGetG(p) + white));
            dst[2] = std::uint8_t(std::min(255u, TIFFGetR(p) + white));
        }
    }
    out.SwapPicture(local);
}
