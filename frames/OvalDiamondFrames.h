// The oval and diamond styles: the photo shown through a shaped opening.
//
// The oval opening is the ellipse inscribed in the output less the gaps; a
// border of concentric 2-pixel ellipses edges it and overlapping 10-pixel
// rings paint the outside with the background colour (FrameColor). The diamond
// opening touches the middles of the sides of the same inset rectangle; its
// border and outside are ever larger one-pixel diamonds. With a pattern and a
// border, the outside is then flood-filled with the pattern up to the border.
#pragma once

#include "frames/FrameStyle.h"

#include <array>
#include <string>
#include <vector>

namespace quillon {

class OvalFrame final : public FrameStyle {
public:
    OvalFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
    void ChangeBorderWidth(int v) override { SetBorderWidth(v); }
};

class DiamondFrame final : public FrameStyle {
public:
    DiamondFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
    void ChangeBorderWidth(int v) override { SetBorderWidth(v); }
};

// The counters i of the oval's thick outside rings for a border of width bw on
// an output W wide: from max(bw, 0) + 5 in steps of 8 while i < W / 3.
std::vector<int> OvalRingSteps(int W, int bw);
// How many diamonds the diamond style draws on a W x H output:
// trunc(sqrt((W/2)^2 + (H/2)^2)).
int DiamondCount(int W, int H);
// The closed outline of diamond i (0 = the opening's own edge).
std::array<Point, 5> DiamondOutline(int W, int H, int fw, int fh, int i);

} // namespace quillon
