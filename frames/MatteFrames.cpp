// The matte (MatteFrame) and the mitred frame (CornerFrame).
//
// Both paint a band of FrameColor round the photo, then (with a border width
// of at least 1) an inner and an outer border of BorderColor, bw rings each,
// and tile the chosen pattern into the band between the borders with a
// border flood fill. The mitred frame adds four lines of the border width
// from the outer corners toward the photo's corners.
#include "frames/MatteFrames.h"

#include "canvas/Canvas.h"

namespace quillon {

void MatteBase::ChangeFrameHeight(int v) {
    SetFrameHeight(v);
    SetOutputSize(PictureWidth + 2 * FrameWidth, PictureHeight + 2 * v);
}

void MatteBase::ChangeFrameWidth(int v) {
    SetFrameWidth(v);
    SetOutputSize(PictureWidth + 2 * v, PictureHeight + 2 * FrameHeight);
}

bool MatteBase::PaintMatte() {
    FillFrameArea();
    const int bw = BorderWidth;
    if (bw == 0) return false;

    const int W = OutputWidth, H = OutputHeight;
    const int fw = FrameWidth, fh = FrameHeight;
    Canvas& c = Output->canvas();
    c.pen.color = BorderColor;
    c.brush.SetColor(BorderColor);
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

    if (!PatternName.empty()) {
        c.pen.SetWidth(PatternPicture->Width());
        c.brush.SetStyle(BrushStyle::Solid);
        c.brush.SetBitmap(PatternPicture.get());
        // The band is one ring, so a fill seeded in its top-left part covers
        // all of it up to the border colour.
        c.FloodFill(fw / 2, fh / 2, BorderColor, FillStyle::Border);
        c.pen.SetWidth(bw);
    }
    return true;
}

CornerFrame::CornerFrame(const Bitmap& photo, const FrameSettings& settings)
    : MatteBase(photo, settings) {
    Paint();
}

void CornerFrame::Paint() {
    if (!PaintMatte()) return;

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
}

MatteFrame::MatteFrame(const Bitmap& photo, const FrameSettings& settings)
    : MatteBase(photo, settings) {
    Paint();
}

void MatteFrame::Paint() {
    if (!PaintMatte()) return;
}

} // namespace quillon
