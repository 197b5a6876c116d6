// GIF files through giflib, from and to memory.
//
// Layout: a logical screen (size, optional global colour table, background
// index), then records: extensions (the graphic control extension gives the
// transparent index) and images, each with its position, size, optional
// local colour table, interlace flag and LZW data.
//
// Read: the first image only, with its local table or else the global one,
// interlaced or not, as PixelFormat::Indexed8 with that palette. An image that covers the
// whole logical screen is the picture; a smaller one is drawn at its place
// in a picture of the screen's size filled with the background colour, its
// transparent pixels leaving the background.
// Write: one image the size of the bitmap; indexed bitmaps keep their
// palette, deeper ones are reduced to at most 256 colours (Octree.h). The
// file is put together here, its LZW data by GifLzw; EncodeGifReference
// writes the same bytes through giflib, the plain way, to check against.
#include "formats/ByteWriting.h"
#include "formats/GifLzw.h"
#include "formats/Octree.h"
#include "formats/Readers.h"

#include <gif_lib.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <string_view>

namespace quillon {

namespace {

struct MemoryInput {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Pos;
    bool ShortRead; // giflib asked for bytes past the end
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int count) {
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const std::size_t n =
        std::min<std::size_t>(std::size_t(std::max(count, 0)), in->Size - in->Pos);
    if (n > 0) std::memcpy(buffer, in->Data + in->Pos, n);
    in->Pos += n;
    if (n < std::size_t(std::max(count, 0))) in->ShortRead = true;
    return int(n);
}

int WriteToMemory(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    try {
        out->insert(out->end(), bytes, bytes + count);
    } catch (...) { // no exception may cross into giflib
        return 0;
    }
    return count;
}

// giflib names a header it could not read as missing, whether the file
// ended or held something else there; a read past the end says which.
PictureErrorKind KindOf(int code, const MemoryInput& input) {
    if (input.ShortRead) return PictureErrorKind::Truncated;
    switch (code) {
    case D_GIF_ERR_READ_FAILED:
    case D_GIF_ERR_EOF_TOO_SOON:
        return PictureErrorKind::Truncated;
    case D_GIF_ERR_NOT_ENOUGH_MEM:
        return PictureErrorKind::TooLarge;
    default:
        return PictureErrorKind::Malformed;
    }
}

[[noreturn]] void ReadFailed(int code, const MemoryInput& input) {
    const char* why = GifErrorString(code);
    throw PictureError(std::string("GIF image is not valid") +
                           (why ? std::string(" (") + why + ")" : ""),
                       KindOf(code, input));
}

[[noreturn]] void ReadFailed(GifFileType* gif) {
    ReadFailed(gif->Error, *static_cast<const MemoryInput*>(gif->UserData));
}

struct DecoderClose {
    void operator()(GifFileType* gif) const {
        int err = 0;
        DGifCloseFile(gif, &err);
    }
};
using Decoder = std::unique_ptr<GifFileType, DecoderClose>;

std::vector<Color> ColorsOf(const ColorMapObject* map) {
    std::vector<Color> colors;
    if (!map) return colors;
    for (int i = 0; i < map->ColorCount; ++i)
        colors.push_back(RGB(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue));
    return colors;
}

// The largest palette index an indexed picture uses.
std::uint8_t HighestIndex(const Bitmap& picture) {
    std::uint8_t highest = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.ScanLine(y);
        for (int x = 0; x < picture.Width(); ++x) highest = std::max(highest, row[x]);
    }
    return highest;
}

// Reads the first image's pixels into image (PixelFormat::Indexed8, no palette yet).
void ReadImagePixels(GifFileType* gif, Bitmap& image) {
    const int w = image.Width(), h = image.Height();
    if (!gif->Image.Interlace) {
        for (int y = 0; y < h; ++y)
            if (DGifGetLine(gif, image.ScanLine(y), w) == GIF_ERROR) ReadFailed(gif);
        return;
    }
    static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < h; y += step[pass])
            if (DGifGetLine(gif, image.ScanLine(y), w) == GIF_ERROR) ReadFailed(gif);
}

} // namespace

void ReadGif(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    // LZW gives at most a few thousand pixels a byte: the bound a file's size
    // sets on the pixels it may ask for.
    const std::uint64_t maxPixelsPerByte = std::uint64_t(limits.GifPixelsPerByte);
    MemoryInput input{data.data(), data.size(), 0, false};
    int err = 0;
    Decoder gif(DGifOpen(&input, ReadFromMemory, &err));
    if (!gif) ReadFailed(err, input);
    const int screenW = gif->SWidth, screenH = gif->SHeight;
    limits.CheckSize(screenW, screenH);
    // The screen is allocated whole whatever the image covers. Up to the
    // free size any screen is taken (a small image on a large blank screen
    // is a valid file); beyond that the screen must keep to the file budget,
    // so that a few bytes cannot ask for a huge picture.
    const std::uint64_t screenPixels = std::uint64_t(screenW) * std::uint64_t(screenH);
    const std::uint64_t budgetPerByte =
        std::min(maxPixelsPerByte, std::uint64_t(limits.PixelsPerByte));
    if (screenPixels > std::uint64_t(limits.FreePixels) &&
        screenPixels > (std::uint64_t(data.size()) + 1) * budgetPerByte)
        throw PictureError("GIF image is not valid (the screen is too large for the file)",
                           PictureErrorKind::TooLarge);

    int transparent = NO_TRANSPARENT_COLOR;
    bool haveImage = false;
    while (!haveImage) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) ReadFailed(gif.get());
        if (type == TERMINATE_RECORD_TYPE) break;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) ReadFailed(gif.get());
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
                GraphicsControlBlock gcb;
                if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
                    transparent = gcb.TransparentColor;
            }
            while (block)
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) ReadFailed(gif.get());
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif.get()) == GIF_ERROR) ReadFailed(gif.get());
            haveImage = true;
        }
    }
    if (!haveImage)
        throw PictureError("GIF image is not valid (no image)", PictureErrorKind::Malformed);

    const GifImageDesc& desc = gif->Image;
    limits.CheckSize(desc.Width, desc.Height);
    // A file far too short for its image size is refused before the pixels
    // are allocated; so is one within that bound but over the budget.
    const std::uint64_t pixels = std::uint64_t(desc.Width) * std::uint64_t(desc.Height);
    if (pixels > (std::uint64_t(data.size() - input.Pos) + 1) * maxPixelsPerByte)
        throw PictureError("GIF image is not valid (data is truncated)",
                           PictureErrorKind::Truncated);
    limits.CheckBudget("GIF", desc.Width, desc.Height, data.size());

    Bitmap image(desc.Width, desc.Height, PixelFormat::Indexed8);
    ReadImagePixels(gif.get(), image);
    std::uint8_t highest = HighestIndex(image);

    const std::vector<Color> global = ColorsOf(gif->SColorMap);
    std::vector<Color> palette = desc.ColorMap ? ColorsOf(desc.ColorMap) : global;
    if (palette.empty())
        for (int i = 0; i < 256; ++i) palette.push_back(RGB(i, i, i));

    Bitmap picture;
    if (desc.Left == 0 && desc.Top == 0 && desc.Width >= screenW && desc.Height >= screenH) {
        picture.SwapPicture(image);
    } else {
        std::uint8_t background = 0;
        if (desc.ColorMap && gif->SBackGroundColor < int(global.size()))
            background = std::uint8_t(NearestPaletteIndex(palette, global[gif->SBackGroundColor]));
        else if (gif->SBackGroundColor < int(palette.size()))
            background = std::uint8_t(gif->SBackGroundColor);
        highest = std::max(highest, background);
        Bitmap screen(screenW, screenH, PixelFormat::Indexed8);
        if (!screen.Empty())
            std::memset(screen.Bits(), background, screen.Stride() * std::size_t(screenH));
        const int x0 = std::min(desc.Left, screenW), x1 = std::min(desc.Left + desc.Width, screenW);
        for (int y = desc.Top; y < std::min(desc.Top + desc.Height, screenH); ++y) {
            const std::uint8_t* s = image.ScanLine(y - desc.Top);
            std::uint8_t* d = screen.ScanLine(y);
            for (int x = x0; x < x1; ++x) {
                const std::uint8_t v = s[x - desc.Left];
                if (v != transparent) d[x] = v;
            }
        }
        picture.SwapPicture(screen);
    }
    // Indices past the colour table read as black.
    if (palette.size() <= highest) palette.resize(std::size_t(highest) + 1, kBlack);
    picture.Palette() = std::move(palette);
    out.SwapPicture(picture);
}

namespace {

struct EncoderClose {
    void operator()(GifFileType* gif) const {
        int err = 0;
        EGifCloseFile(gif, &err);
    }
};

[[noreturn]] void WriteFailed(int code) {
    const char* why = GifErrorString(code);
    throw PictureError(std::string("Cannot write GIF image") +
                       (why ? std::string(" (") + why + ")" : ""));
}

} // namespace

namespace {

// The colour table: the palette, extended with black to cover every index in
// use (below highestIndex + 1) and to a power of two, as the format requires.
std::vector<Color> ColorTable(std::vector<Color> palette, int highestIndex) {
    std::size_t count = 2;
    while (count < std::max(palette.size(), std::size_t(highestIndex) + 1) && count < 256)
        count *= 2;
    palette.resize(count, kBlack);
    return palette;
}

// What giflib writes for one image without extensions, up to its image data:
// the 87a header, the logical screen with its global colour table (8 bits of
// colour resolution, background 0, no aspect ratio), and the image descriptor
// without a local table. The image data and the trailer follow.
std::vector<std::uint8_t> GifHead(int w, int h, const std::vector<Color>& table) {
    const int colorBits = std::countr_zero(table.size());
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(w) * std::size_t(h) / 2 + 1024);
    for (char c : std::string_view("GIF87a")) bytes.push_back(std::uint8_t(c));
    PutLe16(bytes, w);
    PutLe16(bytes, h);
    bytes.push_back(std::uint8_t(0x80 | 0x70 | (colorBits - 1)));
    bytes.push_back(0);
    bytes.push_back(0);
    for (Color c : table) {
        bytes.push_back(GetRValue(c));
        bytes.push_back(GetGValue(c));
        bytes.push_back(GetBValue(c));
    }
    bytes.push_back(',');
    PutLe16(bytes, 0);
    PutLe16(bytes, 0);
    PutLe16(bytes, w);
    PutLe16(bytes, h);
    bytes.push_back(0);
    return bytes;
}

} // namespace

std::vector<std::uint8_t> EncodeGif(const Bitmap& bitmap) {
    if (bitmap.Empty()) return EncodeGifReference(bitmap);
    const int w = bitmap.Width(), h = bitmap.Height();
    if (bitmap.IsIndexed()) {
        const std::vector<Color> table = ColorTable(bitmap.Palette(), HighestIndex(bitmap));
        std::vector<std::uint8_t> bytes = GifHead(w, h, table);
        // Indexed rows are one byte a pixel, stored one after another.
        AppendGifImageData(
            std::span<const std::uint8_t>(bitmap.Bits(), std::size_t(w) * std::size_t(h)),
            std::countr_zero(table.size()), bytes);
        bytes.push_back(';');
        return bytes;
    }
    // A deeper picture is reduced to its octree palette.
    return EncodeGif(bitmap, OctreePalette(bitmap));
}

std::vector<std::uint8_t> EncodeGif(const Bitmap& bitmap, const std::vector<Color>& palette) {
    if (bitmap.Empty() || bitmap.IsIndexed()) return EncodeGif(bitmap);
    CheckPictureSize(bitmap.Width(), bitmap.Height());
    const int w = bitmap.Width(), h = bitmap.Height();
    // The rows are coded while the rows below them are still being mapped.
    // Every index is below the palette's size.
    const std::vector<Color> table = ColorTable(palette, int(palette.size()) - 1);
    std::vector<std::uint8_t> bytes = GifHead(w, h, table);
    const std::unique_ptr<std::uint8_t[]> indices(
        new std::uint8_t[std::size_t(w) * std::size_t(h)]);
    GifLzwEncoder coder(std::countr_zero(table.size()), bytes);
    MapRowsInOrder(bitmap, palette, indices.get(), [&](int first, int end) {
        coder.Add(std::span<const std::uint8_t>(indices.get() + std::size_t(first) * std::size_t(w),
                                                std::size_t(end - first) * std::size_t(w)));
    });
    coder.Finish();
    bytes.push_back(';');
    return bytes;
}

std::vector<std::uint8_t> EncodeGifReference(const Bitmap& bitmap) {
    Bitmap quantized;
    const Bitmap* source = &bitmap;
    if (!bitmap.IsIndexed()) {
        QuantizePictureReference(bitmap, quantized);
        source = &quantized;
    }
    const int w = source->Width(), h = source->Height();
    const std::vector<Color> palette = ColorTable(source->Palette(), HighestIndex(*source));
    const std::size_t count = palette.size();
    std::vector<GifColorType> colors(count);
    for (std::size_t i = 0; i < count; ++i)
        colors[i] = {GetRValue(palette[i]), GetGValue(palette[i]), GetBValue(palette[i])};
    ColorMapObject* map = GifMakeMapObject(int(count), colors.data());
    if (!map) throw std::bad_alloc();

    std::vector<std::uint8_t> bytes;
    int err = 0;
    GifFileType* raw = EGifOpen(&bytes, WriteToMemory, &err);
    if (!raw) {
        GifFreeMapObject(map);
        WriteFailed(err);
    }
    std::unique_ptr<GifFileType, EncoderClose> gif(raw);
    const int screenOk = EGifPutScreenDesc(gif.get(), w, h, 8, 0, map);
    GifFreeMapObject(map); // the encoder keeps its own copy
    if (screenOk == GIF_ERROR) WriteFailed(gif->Error);
    if (EGifPutImageDesc(gif.get(), 0, 0, w, h, false, nullptr) == GIF_ERROR)
        WriteFailed(gif->Error);
    std::vector<GifPixelType> line(std::size_t(std::max(w, 1)));
    for (int y = 0; y < h; ++y) {
        std::memcpy(line.data(), source->ScanLine(y), std::size_t(w));
        if (EGifPutLine(gif.get(), line.data(), w) == GIF_ERROR) WriteFailed(gif->Error);
    }
    // Closing writes the trailer; the handle is gone whatever the outcome.
    if (EGifCloseFile(gif.release(), &err) == GIF_ERROR) WriteFailed(err);
    return bytes;
}

} // namespace quillon
