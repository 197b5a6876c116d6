#include "formats/DecodeLimits.h"

#include <string>

namespace quillon {

void DecodeLimits::CheckSize(std::int64_t width, std::int64_t height) const {
    CheckPictureSize(width, height, MaxSide, MaxPixels);
}

void DecodeLimits::CheckBudget(std::string_view format, std::int64_t width, std::int64_t height,
                               std::uint64_t fileBytes) const {
    CheckSize(width, height);
    const std::int64_t pixels = width * height;
    if (pixels <= FreePixels) return;
    const std::uint64_t bytesNeeded =
        (std::uint64_t(pixels) + std::uint64_t(PixelsPerByte) - 1) / std::uint64_t(PixelsPerByte);
    if (fileBytes >= bytesNeeded) return;
    throw PictureError(std::string(format) + " picture of " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels is too large for a file of " +
                           std::to_string(fileBytes) + " bytes",
                       PictureErrorKind::TooLarge);
}

} // namespace quillon
