#include "canvas/Rescaler.h"

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

namespace quillon {

bool Rescaler::Rescale(const Bitmap& source, Bitmap& dest, bool) {
    return DoRescale(source, dest);
}

// One stretch-draw over the whole destination: the canvas's nearest-neighbour
// stretch drops or repeats whole rows and columns and never blends colours.
// An empty source or destination leaves the destination as it is.
bool Rescaler::DoRescale(const Bitmap& source, Bitmap& dest) {
    if (source.Empty() || dest.Empty()) return true;
    dest.canvas().StretchDraw(Rect(0, 0, dest.Width(), dest.Height()), source);
    return true;
}

} // namespace quillon
