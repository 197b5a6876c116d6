#include "formats/Orientation.h"

#include <exiv2/exiv2.hpp>

#include <cstring>
#include <mutex>

namespace quillon {

int ExifOrientation(std::span<const std::uint8_t> fileBytes) {
    // exiv2 writes its warnings to stderr by default; a photo's odd maker
    // notes are not the user's business.
    static std::once_flag quiet;
    std::call_once(quiet, [] { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); });
    if (fileBytes.empty()) return 1;
    try {
        auto image = Exiv2::ImageFactory::open(fileBytes.data(), long(fileBytes.size()));
        if (image.get() == nullptr) return 1;
        image->readMetadata();
        const Exiv2::ExifData& exif = image->exifData();
        const auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (it == exif.end() || it->count() < 1) return 1;
        const long value = it->toLong(0);
        return value >= 1 && value <= 8 ? int(value) : 1;
    } catch (...) {
        // exiv2 throws its own errors (and std ones) on damaged metadata.
        return 1;
    }
}

void ApplyOrientation(Bitmap& bitmap, int orientation) {
    if (orientation < 2 || orientation > 8 || bitmap.Empty()) return;
    const int w = bitmap.Width(), h = bitmap.Height();
    const bool swapSides = orientation >= 5;
    const int ow = swapSides ? h : w, oh = swapSides ? w : h;
    Bitmap turned(ow, oh, bitmap.format());
    turned.Palette() = bitmap.Palette();
    const int bpp = bitmap.BytesPerPixel();
    // For each pixel of the upright picture, the stored pixel it shows.
    for (int y = 0; y < oh; ++y) {
        std::uint8_t* d = turned.ScanLine(y);
        for (int x = 0; x < ow; ++x, d += bpp) {
            int sx = x, sy = y;
            switch (orientation) {
            case 2:
                sx = w - 1 - x;
                break;
            case 3:
                sx = w - 1 - x;
                sy = h - 1 - y;
                break;
            case 4:
                sy = h - 1 - y;
                break;
            case 5:
                sx = y;
                sy = x;
                break;
            case 6:
                sx = y;
                sy = h - 1 - x;
                break;
            case 7:
                sx = w - 1 - y;
                sy = h - 1 - x;
                break;
            case 8:
                sx = w - 1 - y;
                sy = x;
                break;
            }
            std::memcpy(d, bitmap.ScanLine(sy) + std::size_t(sx) * std::size_t(bpp),
                        std::size_t(bpp));
        }
    }
    bitmap.SwapPicture(turned);
}

} // namespace quillon
