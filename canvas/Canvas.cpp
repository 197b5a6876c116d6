// Pixel access of Canvas. The drawing operations live in CanvasShapes.cpp
// (lines and shapes), CanvasBlit.cpp (Draw, StretchDraw, CopyRect) and
// FloodFill.cpp.
#include "canvas/Canvas.h"

#include "canvas/Bitmap.h"

namespace quillon {

Color Canvas::Pixel(int x, int y) const {
    return bitmap_.Pixel(x, y);
}

void Canvas::SetPixel(int x, int y, Color c) {
    if (bitmap_.IsIndexed()) bitmap_.SetPixelFormat(PixelFormat::Device);
    bitmap_.SetPixel(x, y, c & 0xFFFFFF);
}

} // namespace quillon
