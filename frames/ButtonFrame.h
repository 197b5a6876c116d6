// The 3D button style: a bevel applied to the photo's own edge pixels, the top
// and left bands lightened and the bottom and right bands darkened, with
// mitred corners, like a button lit from the top left.
//
// The bevel works on the photo's own pixels, so every paint first draws the
// photo afresh; painting twice gives the same picture as painting once.
#pragma once

#include "frames/FrameStyle.h"

#include <string>

namespace quillon {

class ButtonFrame final : public FrameStyle {
public:
    ButtonFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
    // The shadow depth is one value for both bands.
    void ChangeFrameHeight(int v) override;
    void ChangeFrameWidth(int v) override;
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
