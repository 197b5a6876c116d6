// Conversions between the engine's bitmaps and Qt images.
#pragma once

#include "canvas/Bitmap.h"

#include <QImage>

namespace quillon {

// The bitmap as an opaque RGB32 image (any pixel format).
QImage ToQImage(const Bitmap& bitmap);
// The part (x, y, width, height) of the bitmap, which must lie inside it.
QImage ToQImage(const Bitmap& bitmap, int x, int y, int width, int height);
// Replaces bitmap by image as a PixelFormat::Device bitmap whose fourth bytes are 0.
// Throws PictureError when the image is over the size limit.
void FromQImage(const QImage& image, Bitmap& bitmap);

} // namespace quillon
