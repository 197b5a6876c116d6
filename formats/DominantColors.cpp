#include "formats/DominantColors.h"

#include "formats/Octree.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// The quantizer keeps more leaves than are asked for, so that the common
// colours are not already blended with their neighbours.
constexpr int kLeaves = 64;

int DistanceSquared(Color a, Color b) {
    const int dr = int(GetRValue(a)) - int(GetRValue(b));
    const int dg = int(GetGValue(a)) - int(GetGValue(b));
    const int db = int(GetBValue(a)) - int(GetBValue(b));
    return dr * dr + dg * dg + db * db;
}

} // namespace

std::vector<Color> DominantColors(const Bitmap& picture, int count) {
    if (count < 1 || picture.Empty()) return {};
    const double pixels = double(picture.Width()) * double(picture.Height());
    // Every step-th pixel of every step-th row keeps large photos quick.
    const int step = std::max(1, int(std::ceil(std::sqrt(pixels / kDominantSampleLimit))));
    OctreeQuantizer quantizer(kLeaves);
    for (int y = step / 2; y < picture.Height(); y += step)
        for (int x = step / 2; x < picture.Width(); x += step) {
            const Color c = picture.Pixel(x, y);
            quantizer.AddColor(std::uint8_t(GetRValue(c)), std::uint8_t(GetGValue(c)),
                               std::uint8_t(GetBValue(c)));
        }
    std::vector<OctreeQuantizer::WeightedColor> leaves = quantizer.WeightedPalette();
    std::stable_sort(leaves.begin(), leaves.end(),
                     [](const auto& a, const auto& b) { return a.pixels > b.pixels; });
    const int minDistance = 3 * kDominantMinDistance * kDominantMinDistance;
    std::vector<Color> chosen;
    std::vector<Color> nearTwins;
    for (const auto& leaf : leaves) {
        if (int(chosen.size()) == count) break;
        const bool distinct = std::all_of(chosen.begin(), chosen.end(), [&](Color c) {
            return DistanceSquared(c, leaf.color) >= minDistance;
        });
        (distinct ? chosen : nearTwins).push_back(leaf.color);
    }
    for (Color c : nearTwins) {
        if (int(chosen.size()) == count) break;
        chosen.push_back(c);
    }
    return chosen;
}

} // namespace quillon
