// Overlay and mask frames: both take their shape from a picture stretched over
// the whole output; the overlay is drawn with white transparent, the mask is
// applied pixel by pixel.
#include "frames/OverlayMaskFrames.h"

#include "canvas/Canvas.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace quillon {

OverlayFrame::OverlayFrame(const Bitmap& photo, const FrameSettings& settings)
    : DecorationLayer(photo, settings, kDefaultOverlay) {
    SetPattern(settings.decorationFile);
    Paint();
}

void OverlayFrame::Paint() {
    Output->SetPixelFormat(PixelFormat::Bgrx32);
    PatternPicture->SetPixelFormat(PixelFormat::Bgrx32);
    PatternPicture->Transparent = true;
    PatternPicture->TransparentColor = kWhite;
    if (!PatternPicture->Empty())
        Output->canvas().StretchDraw(Rect(0, 0, OutputWidth, OutputHeight), *PatternPicture);
}

MaskFrame::MaskFrame(const Bitmap& photo, const FrameSettings& settings)
    : DecorationLayer(photo, settings, kDefaultMask) {
    SetBrightness(1);
    SetPattern(settings.decorationFile);
    Paint();
}

void MaskFrame::Paint() {
    Output->SetPixelFormat(PixelFormat::Bgrx32);
    PatternPicture->SetPixelFormat(PixelFormat::Bgrx32);
    const int W = OutputWidth, H = OutputHeight;
    // Without a mask picture there is nothing to stretch; the photo is kept
    // rather than judged against an undefined mask.
    if (!PatternPicture->Empty() && W > 0 && H > 0 && Output->Width() == W &&
        Output->Height() == H) {
        // The mask is sampled as if stretched over the whole output, without
        // building the stretched copy.
        ApplyMask(*Output, *PatternPicture,
                  Rect(FrameWidth, FrameHeight, W - FrameWidth, H - FrameHeight), Brightness,
                  FrameColor);
    }
}

void MaskFrame::SetBrightness(int value) {
    if (value >= 0 && value <= 255) Brightness = value;
}

namespace {

// The effect of one grey level for a given brightness: 0 = keep the pixel,
// -1 = background colour, q > 0 = darken by q.
using GreyTable = std::array<int, 256>;

GreyTable MakeGreyTable(int brightness) {
    GreyTable t{};
    for (int v = 0; v < 256; ++v) {
        const int d = 255 - v;
        if (d == 0)
            t[v] = 0;
        else
            t[v] = d / brightness == 0 ? -1 : d / brightness;
    }
    return t;
}

inline void Darken(std::uint8_t* px, int q) {
    const int b = px[0], g = px[1], r = px[2];
    if (b - q > 0 && g - q > 0 && r - q > 0) {
        px[0] = std::uint8_t(b - q);
        px[1] = std::uint8_t(g - q);
        px[2] = std::uint8_t(r - q);
    } else {
        const int m = std::min({r, g, b});
        px[0] = std::uint8_t(b - m);
        px[1] = std::uint8_t(g - m);
        px[2] = std::uint8_t(r - m);
    }
}

} // namespace

int StretchSource(int d, int sourceSize, int destSize) {
    // The source pixel under the centre of destination pixel d.
    return int((2 * std::int64_t(d) + 1) * sourceSize / (2 * std::int64_t(destSize)));
}

void ApplyMask(Bitmap& out, const Bitmap& mask, const Rect& area, int& brightness,
               Color background) {
    const int W = out.Width(), H = out.Height();
    const int x0 = std::max(area.Left, 0), y0 = std::max(area.Top, 0);
    const int x1 = std::min(area.Right, W), y1 = std::min(area.Bottom, H);
    if (x0 >= x1 || y0 >= y1 || mask.Empty()) return;
    const std::uint8_t bgB = GetBValue(background), bgG = GetGValue(background),
                       bgR = GetRValue(background);
    const GreyTable table = MakeGreyTable(brightness == 0 ? 1 : brightness);

    // Runs of output columns that read the same mask column: an enlarged
    // mask is judged once per run, and a white run is skipped whole.
    struct Run {
        int start, length, source;
    };
    std::vector<Run> runs;
    for (int x = x0; x < x1; ++x) {
        const int source = 4 * StretchSource(x, mask.Width(), W);
        if (!runs.empty() && runs.back().source == source)
            ++runs.back().length;
        else
            runs.push_back({x, 1, source});
    }

    for (int y = y0; y < y1; ++y) {
        std::uint8_t* row = out.ScanLine(y);
        const std::uint8_t* mrow = mask.ScanLine(StretchSource(y, mask.Height(), H));
        for (const Run& run : runs) {
            const std::uint8_t* m = mrow + run.source;
            const std::uint8_t mb = m[0], mg = m[1], mr = m[2];
            std::uint8_t* o = row + 4 * run.start;
            std::uint8_t* const end = o + 4 * run.length;
            if (mb == mg && mg == mr) {
                if (mb == 255) continue;
                if (brightness == 0) brightness = 1;
                const int q = table[mb];
                if (q < 0) {
                    for (; o != end; o += 4) {
                        o[0] = bgB;
                        o[1] = bgG;
                        o[2] = bgR;
                    }
                } else {
                    for (; o != end; o += 4) Darken(o, q);
                }
            } else {
                for (; o != end; o += 4) {
                    o[0] = mb;
                    o[1] = mg;
                    o[2] = mr;
                }
            }
        }
    }
}

void ApplyMaskReference(Bitmap& out, const Bitmap& mask, const Rect& area, int& brightness,
                        Color background) {
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            if (x < 0 || y < 0 || x >= out.Width() || y >= out.Height() || x >= mask.Width() ||
                y >= mask.Height())
                continue;
            const Color p = out.Pixel(x, y), mc = mask.Pixel(x, y);
            int dB = 255 - GetBValue(mc), dG = 255 - GetGValue(mc), dR = 255 - GetRValue(mc);
            if (dB == 0 && dG == 0 && dR == 0) continue;
            if (dB == dG && dG == dR) {
                if (brightness == 0) brightness = 1;
                dB /= brightness;
                dG /= brightness;
                dR /= brightness;
                const int B = GetBValue(p), G = GetGValue(p), R = GetRValue(p);
                if (dB == 0 && dG == 0 && dR == 0)
                    out.SetPixel(x, y, background);
                else if (B - dB > 0 && G - dG > 0 && R - dR > 0)
                    out.SetPixel(x, y, RGB(R - dR, G - dG, B - dB));
                else {
                    const int m = std::min({R, G, B});
                    out.SetPixel(x, y, RGB(R - m, G - m, B - m));
                }
            } else {
                out.SetPixel(x, y, mc);
            }
        }
    }
}

} // namespace quillon
