// Helpers of the photo-document tests: a document opened on a picture via
// the clipboard, and checks that the pieces the document builds on are in.
#pragma once

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Rescaler.h"
#include "document/Butbar.h"
#include "formats/Formats.h"
#include "frames/Clipboard.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace quillon {

// True once the canvas draws: every canvas operation the document and the
// frame base use runs without the "not implemented" refusal.
inline bool CanvasReady() {
    try {
        Bitmap a(2, 2, PixelFormat::Bgrx32), b(2, 2);
        b.canvas().StretchDraw(Rect(0, 0, 1, 1), a);
        b.canvas().Draw(0, 0, a);
        b.canvas().FillRect(Rect(0, 0, 1, 1));
        b.canvas().CopyRect(Rect(0, 0, 1, 1), b.canvas(), Rect(1, 1, 2, 2));
        const Point pts[2] = {{0, 0}, {1, 1}};
        b.canvas().Polyline(pts);
        return true;
    } catch (const std::logic_error&) {
        return false;
    }
}

// True once the rescaler stretches (a 1 x 1 red picture onto 1 x 1).
inline bool RescalerReady() {
    Bitmap a(1, 1, PixelFormat::Bgrx32), b(1, 1, PixelFormat::Bgrx32);
    a.SetPixel(0, 0, kRed);
    Rescaler().Rescale(a, b, false);
    return b.Pixel(0, 0) == kRed;
}

// True once Windows bitmap files are written and read.
inline bool BmpFilesReady(const std::string& folder) {
    try {
        Bitmap a(1, 1, PixelFormat::Bgrx32), b;
        a.SetPixel(0, 0, kRed);
        const std::string f = folder + "/probe.bmp";
        SaveBmpFile(a, f);
        LoadBmpFile(f, b);
        return b.Pixel(0, 0) == kRed;
    } catch (const PictureError&) {
        return false;
    }
}

#define REQUIRE_CANVAS()                                                                           \
    do {                                                                                           \
        if (!CanvasReady()) GTEST_SKIP() << "the canvas operations are not in yet";                \
    } while (0)

// A document opened from the clipboard holding picture, at zoomMode.
inline std::unique_ptr<TButtonBar> OpenDocument(const Bitmap& picture, int zoomMode = 0) {
    Clipboard().SetBitmap(picture);
    auto doc = std::make_unique<TButtonBar>(true);
    doc->LoadPicture("Clipboard", nullptr, zoomMode, true);
    return doc;
}

inline std::unique_ptr<Bitmap> PlainPicture(int w, int h, Color c = kRed) {
    auto b = std::make_unique<Bitmap>(w, h, PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, c);
    return b;
}

} // namespace quillon
