// Helpers of the photo-document tests: a document opened on a picture, and
// plain pictures.
#pragma once

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Rescaler.h"
#include "document/PhotoDocument.h"
#include "formats/Formats.h"
#include "frames/FrameStyle.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace quillon {

// A document holding picture as a pasted photo, shown at zoomMode.
inline std::unique_ptr<PhotoDocument> OpenDocument(const Bitmap& picture, int zoomMode = 0) {
    auto doc = std::make_unique<PhotoDocument>();
    doc->OpenPicture(ScreenCopy(picture), "Clipboard", Zoom(zoomMode));
    return doc;
}

inline std::unique_ptr<Bitmap> PlainPicture(int w, int h, Color c = kRed) {
    auto b = std::make_unique<Bitmap>(w, h, PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, c);
    return b;
}

} // namespace quillon
