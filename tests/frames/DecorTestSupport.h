// Shared by the decorated-style tests: one-colour photos.
#pragma once

#include "canvas/Bitmap.h"
#include "frames/FrameStyle.h"

#include <memory>
#include <string>

namespace quillon {

// A photo of one colour.
inline std::unique_ptr<Bitmap> SolidPhoto(int width, int height, Color colour) {
    auto photo = std::make_unique<Bitmap>(width, height, PixelFormat::Bgrx32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) photo->SetPixel(x, y, colour);
    return photo;
}

} // namespace quillon
