#include "frames/OvalDiamond.h"

#include "canvas/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

TOvalFrame::TOvalFrame(TImageParent* window, const std::string& fileName, int top, int left,
                       int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                       bool expand, int borderWidth, TColor backgroundColor, int zoomMode,
                       bool fromClipboard)
    : TPhotoFrame(window, fileName, top, left, frameWidth, frameHeight, frameColor, borderColor,
                  expand, borderWidth, backgroundColor, zoomMode, fromClipboard) {
    PaintFrame();
}

std::vector<int> OvalRingSteps(int W, int bw) {
    std::vector<int> steps;
    for (int i = std::max(bw, 0) + 5; i < W / 3; i += 8) steps.push_back(i);
    return steps;
}

void TOvalFrame::PaintFrame() {
    TCanvas& c = Output->Canvas();
    const int W = OutputWidth, H = OutputHeight, fw = FrameWidth, fh = FrameHeight;
    const int bw = BorderWidth;
    c.Pen.SetWidth(2);
    c.Pen.Color = BorderColor;
    // Outlines only: bsClear also drops a pattern left by an earlier paint.
    c.Brush.SetStyle(bsClear);
    for (int i = 0; i < bw; ++i) c.Ellipse(fw - i, fh - i, W + i - fw, H + i - fh);
    c.Pen.SetWidth(10);
    c.Pen.Color = FrameColor;
    for (int i : OvalRingSteps(W, bw)) c.Ellipse(fw - i, fh - i, W + i - fw, H + i - fh);
    if (bw > 0 && !PatternName.empty()) {
        c.Brush.SetBitmap(PatternPicture.get());
        const TPoint seeds[] = {{0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}};
        for (const TPoint& p : seeds) c.FloodFill(p.x, p.y, BorderColor, fsBorder);
    }
    ShowOutput();
}

TDiamondFrame::TDiamondFrame(TImageParent* window, const std::string& fileName, int top, int left,
                             int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                             bool expand, int borderWidth, TColor backgroundColor, int zoomMode,
                             bool fromClipboard)
    : TPhotoFrame(window, fileName, top, left, frameWidth, frameHeight, frameColor, borderColor,
                  expand, borderWidth, backgroundColor, zoomMode, fromClipboard) {
    PaintFrame();
}

int DiamondCount(int W, int H) {
    const std::int64_t hw = W / 2, hh = H / 2;
    return int(std::sqrt(double(hw * hw + hh * hh)));
}

std::array<TPoint, 5> DiamondOutline(int W, int H, int fw, int fh, int i) {
    return {{{W / 2, fh - i},
             {W + i - fw, H / 2},
             {W / 2, H + i - fh},
             {fw - i, H / 2},
             {W / 2, fh - i}}};
}

void TDiamondFrame::PaintFrame() {
    TCanvas& c = Output->Canvas();
    const int W = OutputWidth, H = OutputHeight, fw = FrameWidth, fh = FrameHeight;
    const int bw = BorderWidth;
    c.Pen.SetWidth(1);
    c.Brush.SetColor(FrameColor);
    const int n = DiamondCount(W, H);
    for (int i = 0; i < n; ++i) {
        c.Pen.Color = i < bw ? BorderColor : FrameColor;
        c.Brush.SetStyle(bsClear);
        const auto outline = DiamondOutline(W, H, fw, fh, i);
        c.Polyline(outline);
    }
    // The pattern fill needs a border thicker than one pixel; the fourth seed
    // sits three quarters down the left edge rather than in the corner.
    if (bw > 1 && !PatternName.empty()) {
        c.Brush.SetBitmap(PatternPicture.get());
        const TPoint seeds[] = {{0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, 3 * H / 4}};
        for (const TPoint& p : seeds) c.FloodFill(p.x, p.y, BorderColor, fsBorder);
    }
    ShowOutput();
}
