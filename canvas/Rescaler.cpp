#include "canvas/Rescaler.h"

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

bool TRescaler::Rescale(const TBitmap& source, TBitmap& dest, bool) {
    return DoRescale(source, dest);
}

// One stretch-draw over the whole destination: the canvas's nearest-neighbour
// stretch drops or repeats whole rows and columns and never blends colours.
// An empty source or destination leaves the destination as it is.
bool TRescaler::DoRescale(const TBitmap& source, TBitmap& dest) {
    if (source.Empty() || dest.Empty()) return true;
    dest.Canvas().StretchDraw(Rect(0, 0, dest.Width(), dest.Height()), source);
    return true;
}
