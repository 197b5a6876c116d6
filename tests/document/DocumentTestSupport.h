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

// True once the canvas draws: every canvas operation the document and the
// frame base use runs without the "not implemented" refusal.
inline bool CanvasReady() {
    try {
        TBitmap a(2, 2, pf32bit), b(2, 2);
        b.Canvas().StretchDraw(Rect(0, 0, 1, 1), a);
        b.Canvas().Draw(0, 0, a);
        b.Canvas().FillRect(Rect(0, 0, 1, 1));
        b.Canvas().CopyRect(Rect(0, 0, 1, 1), b.Canvas(), Rect(1, 1, 2, 2));
        const TPoint pts[2] = {{0, 0}, {1, 1}};
        b.Canvas().Polyline(pts);
        return true;
    } catch (const std::logic_error&) {
        return false;
    }
}

// True once the rescaler stretches (a 1 x 1 red picture onto 1 x 1).
inline bool RescalerReady() {
    TBitmap a(1, 1, pf32bit), b(1, 1, pf32bit);
    a.SetPixel(0, 0, clRed);
    TRescaler().Rescale(a, b, false);
    return b.Pixel(0, 0) == clRed;
}

// True once Windows bitmap files are written and read.
inline bool BmpFilesReady(const std::string& folder) {
    try {
        TBitmap a(1, 1, pf32bit), b;
        a.SetPixel(0, 0, clRed);
        const std::string f = folder + "/probe.bmp";
        SaveBmpFile(a, f);
        LoadBmpFile(f, b);
        return b.Pixel(0, 0) == clRed;
    } catch (const EPictureError&) {
        return false;
    }
}

#define REQUIRE_CANVAS()                                                                           \
    do {                                                                                           \
        if (!CanvasReady()) GTEST_SKIP() << "the canvas operations are not in yet";                \
    } while (0)

// A document opened from the clipboard holding picture, at zoomMode.
inline std::unique_ptr<TButtonBar> OpenDocument(const TBitmap& picture, int zoomMode = 0) {
    Clipboard().SetBitmap(picture);
    auto doc = std::make_unique<TButtonBar>(true);
    doc->LoadPicture("Clipboard", nullptr, zoomMode, true);
    return doc;
}

inline std::unique_ptr<TBitmap> PlainPicture(int w, int h, TColor c = clRed) {
    auto b = std::make_unique<TBitmap>(w, h, pf32bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, c);
    return b;
}
