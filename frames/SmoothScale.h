// Smooth enlargement and reduction of the small decoration pieces (moulding
// pieces, shadow pieces) when a frame draws them at another width: a
// filtered resample, so that a piece drawn many times its size shows no
// pixel steps.
#pragma once

#include "canvas/Bitmap.h"

namespace quillon {

// out becomes a Bgrx32 copy of source resampled to width x height (both at
// least 1); source and out may be the same bitmap. A size over the program's
// picture limits throws PictureError before anything is allocated.
// With whiteIsClear, pure white is the see-through colour: see-through
// pixels take no part in the colours around them, a pixel is see-through
// where the see-through area covers most of it, and no other pixel comes
// out pure white.
void SmoothScale(const Bitmap& source, Bitmap& out, int width, int height, bool whiteIsClear);

// The length n scaled by to / from, rounded half away from zero (from > 0);
// lengths past the largest picture side come out just past it.
int ScaledLength(int n, int to, int from);

} // namespace quillon
