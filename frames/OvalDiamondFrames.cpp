#include "frames/OvalDiamondFrames.h"

#include "canvas/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quillon {

OvalFrame::OvalFrame(const Bitmap& photo, const FrameSettings& settings)
    : FrameStyle(photo, settings) {
    Paint();
}

std::vector<int> OvalRingSteps(int W, int bw) {
    std::vector<int> steps;
    for (int i = std::max(bw, 0) + 5; i < W / 3; i += 8) steps.push_back(i);
    return steps;
}

void OvalFrame::Paint() {
    Canvas& c = Output->canvas();
    const int W = OutputWidth, H = OutputHeight, fw = FrameWidth, fh = FrameHeight;
    const int bw = BorderWidth;
    c.pen.SetWidth(2);
    c.pen.color = BorderColor;
    // Outlines only: BrushStyle::Clear also drops a pattern left by an earlier paint.
    c.brush.SetStyle(BrushStyle::Clear);
    for (int i = 0; i < bw; ++i) c.Ellipse(fw - i, fh - i, W + i - fw, H + i - fh);
    c.pen.SetWidth(10);
    c.pen.color = FrameColor;
    for (int i : OvalRingSteps(W, bw)) c.Ellipse(fw - i, fh - i, W + i - fw, H + i - fh);
    if (bw > 0 && !PatternName.empty()) {
        c.brush.SetBitmap(PatternPicture.get());
        const Point seeds[] = {{0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}};
        for (const Point& p : seeds) c.FloodFill(p.x, p.y, BorderColor, FillStyle::Border);
    }
}

DiamondFrame::DiamondFrame(const Bitmap& photo, const FrameSettings& settings)
    : FrameStyle(photo, settings) {
    Paint();
}

int DiamondCount(int W, int H) {
    const std::int64_t hw = W / 2, hh = H / 2;
    return int(std::sqrt(double(hw * hw + hh * hh)));
}

std::array<Point, 5> DiamondOutline(int W, int H, int fw, int fh, int i) {
    return {{{W / 2, fh - i},
             {W + i - fw, H / 2},
             {W / 2, H + i - fh},
             {fw - i, H / 2},
             {W / 2, fh - i}}};
}

void DiamondFrame::Paint() {
    Canvas& c = Output->canvas();
    const int W = OutputWidth, H = OutputHeight, fw = FrameWidth, fh = FrameHeight;
    const int bw = BorderWidth;
    c.pen.SetWidth(1);
    c.brush.SetColor(FrameColor);
    const int n = DiamondCount(W, H);
    for (int i = 0; i < n; ++i) {
        c.pen.color = i < bw ? BorderColor : FrameColor;
        c.brush.SetStyle(BrushStyle::Clear);
        const auto outline = DiamondOutline(W, H, fw, fh, i);
        c.Polyline(outline);
    }
    // The pattern fill needs a border thicker than one pixel; the fourth seed
    // sits three quarters down the left edge rather than in the corner.
    if (bw > 1 && !PatternName.empty()) {
        c.brush.SetBitmap(PatternPicture.get());
        const Point seeds[] = {{0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, 3 * H / 4}};
        for (const Point& p : seeds) c.FloodFill(p.x, p.y, BorderColor, FillStyle::Border);
    }
}

} // namespace quillon
