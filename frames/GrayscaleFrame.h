// The grayscale style: the inner area of the photo faded to grey, leaving a
// band of the photo's own colour along its edges.
//
// PaintFrame changes the pixels it finds in Output; the document redraws the
// photo before each paint, so widening the bands afterwards brings colour back.
#pragma once

#include "frames/FrameStyle.h"

#include <string>

namespace quillon {

class GrayscaleFrame final : public FrameStyle {
public:
    GrayscaleFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
    void ChangeBorderWidth(int v) override { SetBorderWidth(v); }
};

// Greys the pixels of a PixelFormat::Bgrx32 bitmap with bandWidth <= x < width - bandWidth
// and bandHeight <= y < height - bandHeight: blue, green and red all become
// (blue + green + red) / 3, remainder dropped; the fourth byte is kept.
void GreyInnerArea(Bitmap& bitmap, int bandWidth, int bandHeight);
// The same, one pixel at a time through the bitmap's pixel accessors; the
// plain version the fast one is checked against.
void GreyInnerAreaReference(Bitmap& bitmap, int bandWidth, int bandHeight);

} // namespace quillon
