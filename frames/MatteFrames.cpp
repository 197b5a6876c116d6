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
    sides_.top.reset();
    sides_.bottom.reset();
    Regrow();
}

void MatteBase::ChangeFrameWidth(int v) {
    SetFrameWidth(v);
    sides_.left.reset();
    sides_.right.reset();
    Regrow();
}

void MatteBase::ChangeSides(const Sides& sides) {
    const auto take = [this](std::optional<int>& side, const std::optional<int>& v) {
        if (v && *v >= 0 && *v <= ThicknessLimit()) side = v;
    };
    take(sides_.left, sides.left);
    take(sides_.top, sides.top);
    take(sides_.right, sides.right);
    take(sides_.bottom, sides.bottom);
    Regrow();
}

void MatteBase::Regrow() {
    const int L = LeftSide(), T = TopSide(), R = RightSide(), B = BottomSide();
    // The photo is drawn centred in the output, then moved by ImageLeft and
    // ImageTop: with equal sides both are 0.
    ImageLeft = L - (L + R) / 2;
    ImageTop = T - (T + B) / 2;
    SetOutputSize(PictureWidth + L + R, PictureHeight + T + B);
}

bool MatteBase::PaintMatte() {
    const int L = LeftSide(), T = TopSide(), R = RightSide(), B = BottomSide();
    FillFrameArea(L, T, R, B);
    const int bw = BorderWidth;
    if (bw == 0) return false;

    const int W = OutputWidth, H = OutputHeight;
    Canvas& c = Output->canvas();
    c.pen.color = BorderColor;
    c.brush.SetColor(BorderColor);
    c.pen.SetWidth(1);

    c.brush.SetStyle(BrushStyle::Clear);
    // Inner rings: ring 0 lies on the photo's top row and left column and
    // each further ring is one pixel further out.
    for (int i = 0; i < bw; ++i) {
        const Point ring[5] = {{L - i, T - i},
                               {W + i - R, T - i},
                               {W + i - R, H + i - B},
                               {L - i, H + i - B},
                               {L - i, T - i}};
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
        c.FloodFill(L / 2, T / 2, BorderColor, FillStyle::Border);
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
    const int L = LeftSide(), T = TopSide(), R = RightSide(), B = BottomSide(), hb = HalfBorder;
    Canvas& c = Output->canvas();
    c.pen.SetWidth(BorderWidth);
    c.MoveTo(0, 0);
    c.LineTo(L - hb, T - hb);
    c.MoveTo(W, 0);
    c.LineTo(W + hb - R, T - hb);
    c.MoveTo(W, H);
    c.LineTo(W + hb - R, H + hb - B);
    c.MoveTo(0, H);
    c.LineTo(L - hb, H + hb - B);
}

MatteFrame::MatteFrame(const Bitmap& photo, const FrameSettings& settings)
    : MatteBase(photo, settings) {
    Paint();
}

void MatteFrame::Paint() {
    PaintMatte();
}

} // namespace quillon
