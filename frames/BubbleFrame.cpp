#include "frames/BubbleFrame.h"

#include "canvas/Canvas.h"

namespace quillon {

BubbleFrame::BubbleFrame(const Bitmap& photo, const FrameSettings& settings)
    : FrameStyle(photo, settings) {
    Paint();
}

std::vector<Rect> BubbleRects(int W, int H, int a, int b) {
    if (a < 1) a = 1;
    if (b < 1) b = 1;
    std::vector<Rect> rects;
    for (int x = -a; x < W; x += a) rects.push_back({x, -(b / 2), x + a, b / 2});
    for (int x = -a; x < W; x += a) rects.push_back({x, H + b / 2, x + a, H - b / 2});
    for (int y = -(b / 2); y < H; y += b) rects.push_back({-(a / 2), y - b / 2, a / 2, y + b / 2});
    for (int y = -(b / 2); y < H; y += b)
        rects.push_back({W + a / 2, y - b / 2, W - a / 2, y + b / 2});
    return rects;
}

void BubbleFrame::Paint() {
    Canvas& c = Output->canvas();
    // The pattern only fills bubbles that have a visible outline.
    SetFrameBrush();
    c.pen.color = BorderColor;
    c.pen.SetWidth(BorderWidth);
    for (const Rect& r : BubbleRects(OutputWidth, OutputHeight, FrameWidth, FrameHeight))
        c.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
}

} // namespace quillon
