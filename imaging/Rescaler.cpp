// Placeholder until the rescaler is written.
#include "imaging/Rescaler.h"

bool TRescaler::Rescale(const TBitmap& source, TBitmap& dest, bool) {
    return DoRescale(source, dest);
}
bool TRescaler::DoRescale(const TBitmap&, TBitmap&) {
    return true;
}
