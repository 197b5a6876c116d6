// The EXIF orientation of a photo: how the camera was held, as the tag's
// values 1-8 name it, and the turn or mirror that makes the picture upright.
#pragma once

#include "canvas/Bitmap.h"

#include <cstdint>
#include <span>

namespace quillon {

// The Orientation tag (1-8) of the EXIF block in a JPEG, PNG, TIFF or WebP
// file's bytes; 1 when the file has none, names a value outside 1-8, or its
// metadata cannot be read (a damaged EXIF block never stops the picture).
int ExifOrientation(std::span<const std::uint8_t> fileBytes);

// Turns or mirrors bitmap so that a picture stored with the given
// orientation shows upright: 2 mirrors left-right, 3 turns 180 degrees,
// 4 mirrors top-bottom, 5 mirrors along the main diagonal (transpose), 6
// turns 90 degrees clockwise, 7 mirrors along the other diagonal, 8 turns
// 90 degrees anticlockwise. 1 and unknown values leave it as it is.
void ApplyOrientation(Bitmap& bitmap, int orientation);

} // namespace quillon
