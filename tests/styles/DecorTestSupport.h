// Shared by the decorated-style tests: whether the canvas operations are
// available in this build, and a frame's photo put on the clipboard.
#pragma once

#include "framing/Bitmap.h"
#include "framing/Canvas.h"
#include "framing/Clipboard.h"

#include <gtest/gtest.h>

#include <stdexcept>

// True when the raster operations the styles draw with are implemented.
inline bool CanvasReady() {
    try {
        TBitmap b(4, 4, pf32bit);
        TCanvas& c = b.Canvas();
        c.FillRect(Rect(0, 0, 2, 2));
        const TPoint line[2] = {{0, 0}, {3, 0}};
        c.Polyline(line);
        c.LineTo(2, 2);
        c.FloodFill(3, 3, clBlack, fsBorder);
        TBitmap s(1, 1, pf32bit);
        c.StretchDraw(Rect(0, 0, 2, 2), s);
        c.Draw(0, 0, s);
        return true;
    } catch (const std::logic_error&) {
        return false;
    }
}

#define REQUIRE_CANVAS()                                                                           \
    do {                                                                                           \
        if (!CanvasReady()) GTEST_SKIP() << "the canvas operations are not built in yet";          \
    } while (0)

// A photo of one colour on the clipboard, for frames built from it.
inline void PutSolidPhoto(int width, int height, TColor colour) {
    TBitmap photo(width, height, pf32bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) photo.SetPixel(x, y, colour);
    Clipboard().SetBitmap(photo);
}
