// Shared by the decorated-style tests: a frame's photo put on the clipboard.
#pragma once

#include "canvas/Bitmap.h"
#include "frames/Clipboard.h"

#include <gtest/gtest.h>

namespace quillon {
// A photo of one colour on the clipboard, for frames built from it.
inline void PutSolidPhoto(int width, int height, Color colour) {
    Bitmap photo(width, height, PixelFormat::Bgrx32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) photo.SetPixel(x, y, colour);
    Clipboard().SetBitmap(photo);
}

} // namespace quillon
