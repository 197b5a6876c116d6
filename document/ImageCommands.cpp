#include "document/ImageCommands.h"

#include "canvas/Bitmap.h"
#include "frames/GrayscaleFrame.h"

#include <cstdint>

namespace quillon {

void GrayScale(Bitmap& picture) {
    // The same grey as the grayscale frame's, over the whole picture.
    picture.SetPixelFormat(PixelFormat::Bgrx32);
    GreyInnerArea(picture, 0, 0);
}

void Negative(Bitmap& picture) {
    picture.SetPixelFormat(PixelFormat::Bgrx32);
    const int w = picture.Width();
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* p = picture.ScanLine(y);
        for (int x = 0; x < w; ++x, p += 4) {
            p[0] = std::uint8_t(~p[0]);
            p[1] = std::uint8_t(~p[1]);
            p[2] = std::uint8_t(~p[2]);
        }
    }
}

} // namespace quillon
