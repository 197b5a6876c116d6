// The oval and diamond styles: the photo shown through a shaped opening.
//
// The oval opening is the ellipse inscribed in the output less the gaps; a
// border of concentric 2-pixel ellipses edges it and overlapping 10-pixel
// rings paint the outside with the background colour (FrameColor). The diamond
// opening touches the middles of the sides of the same inset rectangle; its
// border and outside are ever larger one-pixel diamonds. With a pattern and a
// border, the outside is then flood-filled with the pattern up to the border.
#pragma once

#include "frames/Framer.h"

#include <array>
#include <string>
#include <vector>

namespace quillon {

class TOvalFrame : public TPhotoFrame {
public:
    TOvalFrame(TImageParent* window, const std::string& fileName, int top, int left, int frameWidth,
               int frameHeight, Color frameColor, Color borderColor, bool expand, int borderWidth,
               Color backgroundColor, int zoomMode, bool fromClipboard);
    void PaintFrame();
};

class TDiamondFrame : public TPhotoFrame {
public:
    TDiamondFrame(TImageParent* window, const std::string& fileName, int top, int left,
                  int frameWidth, int frameHeight, Color frameColor, Color borderColor, bool expand,
                  int borderWidth, Color backgroundColor, int zoomMode, bool fromClipboard);
    void PaintFrame();
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
