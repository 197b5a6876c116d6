#include "tools/Procedural.h"

#include "canvas/Bitmap.h"
#include "formats/Formats.h"
#include "formats/Octree.h"
#include "tools/Rle8Bmp.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace proc {

Rgb Hex(std::uint32_t c) {
    return {float((c >> 16) & 0xFF), float((c >> 8) & 0xFF), float(c & 0xFF)};
}

Picture::Picture(int width, int height, Rgb fill)
    : w_(width), h_(height), px_(std::size_t(width) * height, fill),
      clear_(std::size_t(width) * height, 0) {}

void Picture::ClearAll() {
    std::fill(clear_.begin(), clear_.end(), 1);
    std::fill(px_.begin(), px_.end(), Rgb{255, 255, 255});
}

void Picture::Blend(int x, int y, Rgb colour, float a) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || a <= 0) return;
    a = std::min(a, 1.0f);
    Rgb& p = At(x, y);
    if (IsClear(x, y)) {
        // Edges over a see-through area are not blended with the white that
        // stands for "transparent": a pixel is either artwork or clear.
        if (a > 0.5f) {
            p = colour;
            SetClear(x, y, false);
        }
        return;
    }
    p = Mix(p, colour, a);
}

void Picture::ToBitmap(Bitmap& out, bool keepWhite) const {
    out.SetPixelFormat(PixelFormat::Bgr24);
    out.SetSize(w_, h_);
    for (int y = 0; y < h_; ++y) {
        std::uint8_t* row = out.ScanLine(y);
        for (int x = 0; x < w_; ++x) {
            const Rgb& p = At(x, y);
            int r = int(std::lround(std::clamp(p.r, 0.0f, 255.0f)));
            int g = int(std::lround(std::clamp(p.g, 0.0f, 255.0f)));
            int b = int(std::lround(std::clamp(p.b, 0.0f, 255.0f)));
            if (IsClear(x, y)) {
                r = g = b = 255;
            } else if (!keepWhite && r == 255 && g == 255 && b == 255) {
                r = g = b = 253;
            }
            row[3 * x] = std::uint8_t(b);
            row[3 * x + 1] = std::uint8_t(g);
            row[3 * x + 2] = std::uint8_t(r);
        }
    }
}

void Save(const Picture& picture, const std::string& fileName, bool keepWhite) {
    Bitmap b;
    picture.ToBitmap(b, keepWhite);
    SavePictureFile(b, fileName);
}

void SaveKeyed(const Picture& picture, const std::string& fileName) {
    Bitmap art;
    picture.ToBitmap(art, false);
    const int w = art.Width(), h = art.Height();
    OctreeQuantizer octree(255);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (picture.IsClear(x, y)) continue;
            const std::uint8_t* p = art.ScanLine(y) + 3 * x;
            octree.AddColor(p[2], p[1], p[0]);
        }
    std::vector<Color> palette = octree.Palette();
    PaletteMapper mapper(palette.empty() ? std::vector<Color>{kBlack} : palette);
    const std::uint8_t clear = std::uint8_t(palette.size());
    palette.push_back(kWhite);

    Bitmap indexed(w, h, PixelFormat::Indexed8);
    indexed.Palette() = palette;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = art.ScanLine(y);
        std::uint8_t* d = indexed.ScanLine(y);
        for (int x = 0; x < w; ++x, s += 3)
            d[x] = picture.IsClear(x, y) ? clear : mapper.Index(s[2], s[1], s[0]);
    }
    WriteFileReplacing(fileName, EncodeRle8Bmp(indexed));
}

float Clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

float Smoothstep(float e0, float e1, float x) {
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

float Hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h =
        seed * 0x9E3779B9u ^ std::uint32_t(x) * 0x85EBCA6Bu ^ std::uint32_t(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return float(h >> 8) / float(1u << 24);
}

namespace {
int Wrap(int v, int period) {
    const int m = v % period;
    return m < 0 ? m + period : m;
}
float Fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}
} // namespace

float Noise(float x, float y, int periodX, int periodY, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const float tx = Fade(x - fx), ty = Fade(y - fy);
    const int x0 = Wrap(ix, periodX), x1 = Wrap(ix + 1, periodX);
    const int y0 = Wrap(iy, periodY), y1 = Wrap(iy + 1, periodY);
    const float a = Hash(x0, y0, seed), b = Hash(x1, y0, seed);
    const float c = Hash(x0, y1, seed), d = Hash(x1, y1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float x, float y, int periodX, int periodY, int octaves, std::uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * Noise(x, y, periodX, periodY, seed + 101u * i);
        norm += amp;
        amp *= 0.5f;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

float Cells(float x, float y, int periodX, int periodY, std::uint32_t seed) {
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    float best = 9;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int cx = ix + dx, cy = iy + dy;
            const int wx = Wrap(cx, periodX), wy = Wrap(cy, periodY);
            const float px = cx + 0.15f + 0.7f * Hash(wx, wy, seed);
            const float py = cy + 0.15f + 0.7f * Hash(wx, wy, seed + 7);
            best = std::min(best, std::hypot(px - x, py - y));
        }
    return best;
}

Light Shade(float dx, float dy, float shininess) {
    // Surface normal of a height field and a light from the upper left, a
    // little in front of the picture.
    float nx = -dx, ny = -dy, nz = 1;
    const float nl = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= nl;
    ny /= nl;
    nz /= nl;
    const float lx = -0.5f, ly = -0.6f, lz = 0.62f;
    const float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    const float ndl = (nx * lx + ny * ly + nz * lz) / ll;
    // Half vector between the light and a viewer straight in front.
    float hx = lx / ll, hy = ly / ll, hz = lz / ll + 1;
    const float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    const float ndh = std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl);
    return {0.35f + 0.85f * std::max(0.0f, ndl), std::pow(ndh, shininess)};
}

} // namespace proc

} // namespace quillon
