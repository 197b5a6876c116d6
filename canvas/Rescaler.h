// TRescaler: changes the pixel size of a bitmap by a plain nearest-neighbour
// stretch; no colours are blended.
#pragma once

class TBitmap;

class TRescaler {
public:
    // Stretches source over the whole of dest (already sized by the caller).
    // The smoothing flag is accepted for the callers' sake; the stretch is
    // always nearest-neighbour. Returns true.
    bool Rescale(const TBitmap& source, TBitmap& dest, bool smoothing);
    bool DoRescale(const TBitmap& source, TBitmap& dest);
};
