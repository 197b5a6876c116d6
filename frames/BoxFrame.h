// The box style: the photo becomes the front of a box seen from above and
// from the right, with a top face above it and a side face down its right
// edge, both receding by half the box depth. The faces are flat polygons (box
// colour or pattern, outlined in the picture border colour) or, with the
// gradient check box (StretchPicture) set, grey shading written pixel by pixel.
//
// Only the faces are written; the rest of Output keeps what it holds.
#pragma once

#include "frames/FrameStyle.h"

#include <string>

namespace quillon {

class BoxFrame final : public FrameStyle {
public:
    BoxFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
    void ChangeFrameHeight(int v) override;
    // Switching between the two looks starts from a clear output.
    void ChangeStretch(bool b) override;

private:
    void PaintFlatFaces();
    void PaintGradientFaces();
};

// Writes the gradient faces of a box of depth (fw, fh) into a PixelFormat::Bgrx32 bitmap
// of size W x H: greys that are darkest where the faces meet the photo. Writes
// that would fall outside the bitmap are dropped.
void PaintBoxGradient(Bitmap& bitmap, int fw, int fh);

} // namespace quillon
