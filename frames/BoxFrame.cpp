#include "frames/BoxFrame.h"

#include "canvas/Canvas.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quillon {

namespace {
// A grey is the running float truncated toward zero, of which the low 8 bits
// are kept.
inline std::uint8_t GreyOf(float c) {
    return std::uint8_t(static_cast<std::int64_t>(c) & 0xFF);
}

inline void PutGrey(Bitmap& b, int x, int y, std::uint8_t g) {
    if (x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) return;
    std::uint8_t* p = b.ScanLine(y) + 4 * std::size_t(x);
    p[0] = p[1] = p[2] = g;
}
} // namespace

BoxFrame::BoxFrame(const Bitmap& photo, const FrameSettings& settings)
    : FrameStyle(photo, settings) {
    Paint();
}

void BoxFrame::ChangeFrameHeight(int v) {
    // One depth serves both sides.
    SetFrameHeight(v);
    SetFrameWidth(v);
    SetOutputSize(PictureWidth + 2 * v, PictureHeight + 2 * v);
}

void BoxFrame::ChangeStretch(bool b) {
    ClearOutput();
    StretchPicture = b;
}

void BoxFrame::Paint() {
    if (StretchPicture)
        PaintGradientFaces();
    else
        PaintFlatFaces();
}

void BoxFrame::PaintFlatFaces() {
    Output->SetPixelFormat(PixelFormat::Device);
    Canvas& c = Output->canvas();
    const int W = OutputWidth, H = OutputHeight, fw = FrameWidth, fh = FrameHeight;
    const int hb = HalfBorder, hw = fw / 2, hh = fh / 2;
    c.pen.color = BorderColor;
    c.pen.SetWidth(BorderWidth);
    SetFrameBrush();
    const Point top[] = {
        {fw, fh}, {fw + hw, hh + hb}, {W - hb - hw, hh + hb}, {W - fw, fh}, {fw, fh}};
    c.Polygon(top);
    const Point side[] = {{W - fw, fh},
                          {W - hb - hw, hh + hb},
                          {W - hb - hw, H - (fh + hh)},
                          {W - fw, H - fh - 1},
                          {W - fw, fh}};
    c.Polygon(side);
}

void BoxFrame::PaintGradientFaces() {
    Output->SetPixelFormat(PixelFormat::Bgrx32);
    if (Output->format() != PixelFormat::Bgrx32) return;
    // The pen and brush are set as for the flat faces although nothing below
    // draws with them: a later flat paint or a caller sees the same state.
    Output->canvas().pen.color = FrameColor;
    SetFrameBrush();
    PaintBoxGradient(*Output, FrameWidth, FrameHeight);
}

// The four passes run in this order on purpose: the top face (last) covers
// the first pixel of each upper-slant row and paints row fh black over the
// photo's top row, which is part of the box's look.
void PaintBoxGradient(Bitmap& b, int fw, int fh) {
    if (b.format() != PixelFormat::Bgrx32 || fh <= 0) return;
    const int W = b.Width(), H = b.Height(), hw = fw / 2, hh = fh / 2;
    const float step = static_cast<float>(255.0 / (fh * 0.5));

    // Side face, straight part: every row has the same greys, so one row of
    // them is worked out and copied down.
    {
        std::vector<std::uint8_t> greys;
        float c = 0;
        for (int x = W - fw; x < W - hw; ++x) {
            greys.push_back(GreyOf(c));
            c = c + step;
        }
        for (int y = std::max(fh, 0); y < std::min(H - fh - hh, H); ++y)
            for (std::size_t i = 0; i < greys.size(); ++i) PutGrey(b, W - fw + int(i), y, greys[i]);
    }

    // Side face, lower slant: each row one pixel shorter.
    {
        float s = 0;
        for (int y = H - fh - hh; y < H - fh; ++y) {
            float c = 0;
            for (int x = W - fw; float(x) < float(W - hw) - s; ++x) {
                PutGrey(b, x, y, GreyOf(c));
                c = c + step;
            }
            s = s + 1;
        }
    }

    // Side face, upper slant: each row starts one pixel further right; the
    // first pixel of a row is written with 0.
    {
        float s = 0;
        for (int y = fh; y > hh; --y) {
            float c = 0;
            int k = 1;
            for (int x = int(float(W - fw) + s); x < W - hw; ++x, ++k) {
                PutGrey(b, x, y, GreyOf(c));
                c = static_cast<float>(double(s) * double(step) + double(k) * double(step));
                if (c > 255) c = 255;
            }
            s = s + 1;
        }
    }

    // Top face: one grey per row, lighter upward, each row shifted right.
    {
        float c = 0, s = 0;
        for (int y = fh; y > hh; --y) {
            const std::uint8_t g = GreyOf(c);
            for (int x = int(float(fw) + s); float(x) <= float(W - fw) + s; ++x)
                PutGrey(b, x, y, g);
            c = c + step;
            s = s + 1;
        }
    }
}

} // namespace quillon
