// The 3D button style: a bevel applied to the photo's own edge pixels, the top
// and left bands lightened and the bottom and right bands darkened, with
// mitred corners, like a button lit from the top left.
//
// PaintFrame changes the pixels it finds; painting twice without a fresh
// photo underneath applies the bevel twice.
#pragma once

#include "frames/Framer.h"

#include <string>

namespace quillon {

class T3DFrame : public TPhotoFrame {
public:
    T3DFrame(TImageParent* window, const std::string& fileName, int top, int left, int frameWidth,
             int frameHeight, Color frameColor, Color borderColor, bool expand, int borderWidth,
             Color backgroundColor, int zoomMode, bool fromClipboard);
    void PaintFrame();
};

// Applies the bevel to a PixelFormat::Bgrx32 bitmap: top band (bandHeight rows) +60, left
// band (bandWidth columns) +75, bottom band -70, right band -80, each colour
// byte clamped to 0..255, the bands applied in that order. Only the pixels of
// the bitmap are touched, however deep the bands.
void ApplyBevel(Bitmap& bitmap, int bandWidth, int bandHeight);
// The same, testing each pixel's band conditions one by one; the plain
// version the row-span one is checked against.
void ApplyBevelReference(Bitmap& bitmap, int bandWidth, int bandHeight);

} // namespace quillon
