// The matte (TContinuousFrame) and the mitred frame (TStandardFrame).
//
// Both paint a band of FrameColor round the photo, then (with a border width
// of at least 1) an inner and an outer border of BorderColor, bw rings each,
// and tile the chosen pattern into the band between the borders with a
// border flood fill. The mitred frame adds four lines of the border width
// from the outer corners toward the photo's corners.
#include "frames/StandardFrames.h"

#include "canvas/Canvas.h"

namespace quillon {

namespace {

// The band, the border rings and the pattern. Returns false when the border
// width is 0: the band is repainted but nothing else is drawn and the caller
// must not refresh the display.
bool PaintMatte(TPhotoFrame& f) {
    f.FillFrameArea();
    const int bw = f.BorderWidth;
    if (bw == 0) return false;

    const int W = f.OutputWidth, H = f.OutputHeight;
    const int fw = f.FrameWidth, fh = f.FrameHeight;
    Canvas& c = f.Output->canvas();
    c.pen.color = f.BorderColor;
    c.brush.SetColor(f.BorderColor);
    c.pen.SetWidth(1);

    c.brush.SetStyle(BrushStyle::Clear);
    // Inner rings: ring 0 lies on the photo's top row and left column and
    // each further ring is one pixel further out.
    for (int i = 0; i < bw; ++i) {
        const Point ring[5] = {{fw - i, fh - i},
                               {W + i - fw, fh - i},
                               {W + i - fw, H + i - fh},
                               {fw - i, H + i - fh},
                               {fw - i, fh - i}};
        c.Polyline(ring);
    }
    // Outer rings: from the edge of the output inward.
    for (int j = 0; j < bw; ++j) {
        const Point ring[5] = {
            {j, j}, {W - j - 1, j}, {W - j - 1, H - j - 1}, {j, H - j - 1}, {j, j}};
        c.Polyline(ring);
    }

    if (!f.PatternName.empty()) {
        c.pen.SetWidth(f.PatternPicture->Width());
        c.brush.SetStyle(BrushStyle::Solid);
        c.brush.SetBitmap(f.PatternPicture.get());
        // The band is one ring, so a fill seeded in its top-left part covers
        // all of it up to the border colour.
        c.FloodFill(fw / 2, fh / 2, f.BorderColor, FillStyle::Border);
        c.pen.SetWidth(bw);
    }
    return true;
}

} // namespace

TStandardFrame::TStandardFrame(TImageParent* window, const std::string& fileName, int top, int left,
                               int frameWidth, int frameHeight, Color frameColor, Color borderColor,
                               bool expand, int borderWidth, Color backgroundColor, int zoomMode,
                               bool fromClipboard)
    : TPhotoFrame(window, fileName, top, left, frameWidth, frameHeight, frameColor, borderColor,
                  expand, borderWidth, backgroundColor, zoomMode, fromClipboard) {
    PaintFrame();
}

void TStandardFrame::PaintFrame() {
    if (!PaintMatte(*this)) return;

    // Mitre lines, drawn after the fill so that the pattern reaches all four
    // bars before the lines divide them.
    const int W = OutputWidth, H = OutputHeight;
    const int fw = FrameWidth, fh = FrameHeight, hb = HalfBorder;
    Canvas& c = Output->canvas();
    c.pen.SetWidth(BorderWidth);
    c.MoveTo(0, 0);
    c.LineTo(fw - hb, fh - hb);
    c.MoveTo(W, 0);
    c.LineTo(W + hb - fw, fh - hb);
    c.MoveTo(W, H);
    c.LineTo(W + hb - fw, H + hb - fh);
    c.MoveTo(0, H);
    c.LineTo(fw - hb, H + hb - fh);
    ShowOutput();
}

TContinuousFrame::TContinuousFrame(TImageParent* window, const std::string& fileName, int top,
                                   int left, int frameWidth, int frameHeight, Color frameColor,
                                   Color borderColor, bool expand, int borderWidth,
                                   Color backgroundColor, int zoomMode, bool fromClipboard)
    : TPhotoFrame(window, fileName, top, left, frameWidth, frameHeight, frameColor, borderColor,
                  expand, borderWidth, backgroundColor, zoomMode, fromClipboard) {
    PaintFrame();
}

void TContinuousFrame::PaintFrame() {
    if (!PaintMatte(*this)) return;
    ShowOutput();
}

} // namespace quillon
