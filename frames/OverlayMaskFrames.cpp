// Overlay and mask frames: both take their shape from a picture stretched over
// the whole output; the overlay is drawn with white transparent, the mask is
// applied pixel by pixel.
#include "frames/OverlayMaskFrames.h"

#include "canvas/Canvas.h"
#include "canvas/RowBands.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

    // The mask column under each output column of the area, in bytes.
    std::vector<int> sources(std::size_t(x1 - x0));
    for (int x = x0; x < x1; ++x)
        sources[std::size_t(x - x0)] = 4 * StretchSource(x, mask.Width(), W);

    // Each pixel by selects rather than branches, since a grainy mask mixes
    // white, grey and colour at random. A grey level's darkening by q takes
    // min(q, the pixel's lowest channel) off every channel, which is the
    // rule's two cases in one step; white darkens by 0. A grey darkening to
    // nothing gives the background and a colour is copied. The fourth byte
    // stays.
    const std::uint32_t background32 =
        std::uint32_t(bgB) | std::uint32_t(bgG) << 8 | std::uint32_t(bgR) << 16;
    // Bands of rows on the processor's cores; each notes whether it met a
    // grey other than white.
    constexpr int kMaxBands = 8;
    std::array<bool, kMaxBands> greySeen{};
    ForEachRowBand(y0, y1, 4 * std::size_t(x1 - x0), kMaxBands, [&](int band, int first, int end) {
        std::uint32_t seen = 0;
        for (int y = first; y < end; ++y) {
            std::uint8_t* o = out.ScanLine(y) + 4 * std::size_t(x0);
            const std::uint8_t* mrow = mask.ScanLine(StretchSource(y, mask.Height(), H));
            for (const int source : sources) {
                std::uint32_t m, p;
                std::memcpy(&m, mrow + source, 4);
                std::memcpy(&p, o, 4);
                const std::uint32_t mb = m & 0xFFu, mg = (m >> 8) & 0xFFu, mr = (m >> 16) & 0xFFu;
                const bool grey = (mb == mg) & (mg == mr);
                seen |= std::uint32_t(grey) & std::uint32_t(mb != 255);
                const int q = grey ? table[mb] : -1;
                const std::uint32_t fill = grey ? background32 : (m & 0xFFFFFFu);
                const std::uint32_t lowest =
                    std::min({p & 0xFFu, (p >> 8) & 0xFFu, (p >> 16) & 0xFFu});
                const std::uint32_t darkened =
                    p - std::min(std::uint32_t(std::max(q, 0)), lowest) * 0x010101u;
                const std::uint32_t replaced = (p & 0xFF000000u) | fill;
                p = q < 0 ? replaced : darkened;
                std::memcpy(o, &p, 4);
                o += 4;
            }
        }
        greySeen[std::size_t(band)] = seen != 0;
    });
    if (brightness == 0 && std::find(greySeen.begin(), greySeen.end(), true) != greySeen.end())
        brightness = 1;
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
