#include "frames/BubbleFrame.h"

#include "canvas/Canvas.h"

TBubbleFrame::TBubbleFrame(TImageParent* window, const std::string& fileName, int top, int left,
                           int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                           bool expand, int borderWidth, TColor backgroundColor, int zoomMode,
                           bool fromClipboard)
    : TPhotoFrame(window, fileName, top, left, frameWidth, frameHeight, frameColor, borderColor,
                  expand, borderWidth, backgroundColor, zoomMode, fromClipboard) {
    PaintFrame();
}

std::vector<TRect> BubbleRects(int W, int H, int a, int b) {
    if (a < 1) a = 1;
    if (b < 1) b = 1;
    std::vector<TRect> rects;
    for (int x = -a; x < W; x += a) rects.push_back({x, -(b / 2), x + a, b / 2});
    for (int x = -a; x < W; x += a) rects.push_back({x, H + b / 2, x + a, H - b / 2});
    for (int y = -(b / 2); y < H; y += b) rects.push_back({-(a / 2), y - b / 2, a / 2, y + b / 2});
    for (int y = -(b / 2); y < H; y += b)
        rects.push_back({W + a / 2, y - b / 2, W - a / 2, y + b / 2});
    return rects;
}

void TBubbleFrame::PaintFrame() {
    TCanvas& c = Output->Canvas();
    // The pattern only fills bubbles that have a visible outline.
    SetFrameBrush();
    c.Pen.Color = BorderColor;
    c.Pen.SetWidth(BorderWidth);
    for (const TRect& r : BubbleRects(OutputWidth, OutputHeight, FrameWidth, FrameHeight))
        c.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
    ShowOutput();
}
