// The bubble style: chains of filled ellipses centred on the photo's four
// edges, so that half of each bubble lies over the photo. The side chains are
// drawn after the top and bottom chains and cover them at the corners.
#pragma once

#include "frames/FrameStyle.h"

#include <string>
#include <vector>

namespace quillon {

class BubbleFrame final : public FrameStyle {
public:
    BubbleFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
    void ChangeBorderWidth(int v) override { SetBorderWidth(v); }
};

// The bounding rectangles of the bubbles on a W x H output, in drawing order
// (top, bottom, left, right chain), for bubbles a wide and b high (values
// below 1 count as 1). Rectangles of the bottom and right chains are given
// with their coordinates as drawn (left > right or top > bottom).
std::vector<Rect> BubbleRects(int W, int H, int a, int b);

} // namespace quillon
