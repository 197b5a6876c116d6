// Shared by the decorated-style tests: one-colour photos and settings given
// in the order the tests read best.
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

inline FrameSettings StyleSettings(int frameWidth, int frameHeight, Color frameColor,
                                   Color borderColor, bool expand, int borderWidth,
                                   Color backgroundColor, const std::string& decoration = "") {
    FrameSettings s;
    s.frameWidth = frameWidth;
    s.frameHeight = frameHeight;
    s.frameColor = frameColor;
    s.borderColor = borderColor;
    s.expand = expand;
    s.borderWidth = borderWidth;
    s.backgroundColor = backgroundColor;
    s.decorationFile = decoration;
    return s;
}

} // namespace quillon
