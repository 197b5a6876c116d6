// The box style: the photo becomes the front of a box seen from above and
// from the right, with a top face above it and a side face down its right
// edge, both receding by half the box depth. The faces are flat polygons (box
// colour or pattern, outlined in the picture border colour) or, with the
// gradient check box (StretchPicture) set, grey shading written pixel by pixel.
//
// Only the faces are written; the rest of Output keeps what it holds.
#pragma once

#include "frames/Framer.h"

#include <string>

namespace quillon {

class TBoxFrame : public TPhotoFrame {
public:
    TBoxFrame(TImageParent* window, const std::string& fileName, int top, int left, int frameWidth,
              int frameHeight, Color frameColor, Color borderColor, bool expand, int borderWidth,
              Color backgroundColor, int zoomMode, bool fromClipboard);
    void PaintFrame();

private:
    void PaintFlatFaces();
    void PaintGradientFaces();
};

// Writes the gradient faces of a box of depth (fw, fh) into a PixelFormat::Bgrx32 bitmap
// of size W x H: greys that are darkest where the faces meet the photo. Writes
// that would fall outside the bitmap are dropped.
void PaintBoxGradient(Bitmap& bitmap, int fw, int fh);

} // namespace quillon
