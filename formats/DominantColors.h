// The few colours a picture is mostly made of, for offering colour choices
// that match a photo (a mat in the photo's own tones). Built on the GIF
// writer's octree quantizer.
#pragma once

#include "canvas/Bitmap.h"

#include <vector>

namespace quillon {

// Up to count colours of picture, the most common first: the picture's
// pixels (a regular sample of at most about kDominantSampleLimit of them on
// large pictures) are reduced by the octree quantizer, and its leaves are
// taken by pixel count, skipping a colour too close to one already taken
// (within kDominantMinDistance on each channel's root-mean-square) until
// count are found or only such near-twins remain, which then fill the rest.
// An empty picture gives none; so does a count below 1.
std::vector<Color> DominantColors(const Bitmap& picture, int count);

inline constexpr int kDominantSampleLimit = 120000;
inline constexpr int kDominantMinDistance = 24;

} // namespace quillon
