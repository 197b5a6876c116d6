// Rescaler: changes the pixel size of a bitmap by a plain nearest-neighbour
// stretch; no colours are blended.
#pragma once

namespace quillon {

class Bitmap;

class Rescaler {
public:
    // Stretches source over the whole of dest (already sized by the caller).
    // The smoothing flag is accepted for the callers' sake; the stretch is
    // always nearest-neighbour. Returns true.
    bool Rescale(const Bitmap& source, Bitmap& dest, bool smoothing);
    bool DoRescale(const Bitmap& source, Bitmap& dest);
};

} // namespace quillon
