// Pixel access of TCanvas. The drawing operations live in CanvasShapes.cpp
// (lines and shapes), CanvasBlit.cpp (Draw, StretchDraw, CopyRect) and
// FloodFill.cpp.
#include "canvas/Canvas.h"

#include "canvas/Bitmap.h"

TColor TCanvas::Pixel(int x, int y) const {
    return bitmap_.Pixel(x, y);
}

void TCanvas::SetPixel(int x, int y, TColor c) {
    if (bitmap_.IsIndexed()) bitmap_.SetPixelFormat(pfDevice);
    bitmap_.SetPixel(x, y, c & 0xFFFFFF);
}
