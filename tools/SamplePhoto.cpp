// The sample photo: a synthetic 1200 x 900 landscape at sunset (sky
// gradient with soft clouds, a low sun, two ranges of hills, a lake that
// mirrors the sky, conifers on the shore and a grassy foreground), drawn
// with a little grain so it behaves like a photograph under the frames, and
// written through the program's own JPEG writer.
#include "tools/MakeData.h"

#include "formats/Formats.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quillon {

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 900;
constexpr double kHorizon = 560; // the far shore of the lake

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}

// Value noise on an integer lattice, smoothly interpolated; fixed, so the
// picture is the same on every run.
double Lattice(int x, int y) {
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

double Noise(double x, double y) {
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    const double fx = x - ix, fy = y - iy;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double a = Lattice(ix, iy), b = Lattice(ix + 1, iy);
    const double c = Lattice(ix, iy + 1), d = Lattice(ix + 1, iy + 1);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double Fbm(double x, double y) {
    double sum = 0, amp = 0.5;
    for (int i = 0; i < 5; ++i) {
        sum += amp * Noise(x, y);
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum;
}

const Rgb kSun = {255, 236, 190};
constexpr double kSunX = 860, kSunY = 350, kSunR = 42;

// The sky at (x, y), clouds and the sun's glow included.
Rgb Sky(double x, double y) {
    const double t = std::clamp(y / kHorizon, 0.0, 1.0);
    Rgb c = t < 0.6 ? Mix({38, 70, 140}, {120, 150, 200}, t / 0.6)
                    : Mix({120, 150, 200}, {250, 190, 140}, (t - 0.6) / 0.4);
    const double dx = x - kSunX, dy = y - kSunY;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double glow = std::exp(-d / 160.0) * 0.8 + std::exp(-d / 40.0) * 0.6;
    c = Mix(c, {255, 220, 170}, glow);
    const double cloud = std::clamp((Fbm(x / 220.0, y / 60.0) - 0.52) * 3.0, 0.0, 1.0);
    c = Mix(c, Mix({255, 235, 225}, {210, 150, 150}, t), cloud * (1 - t * 0.5) * 0.75);
    if (d < kSunR) c = Mix(c, kSun, std::min(1.0, (kSunR - d) / 2.0));
    return c;
}

double FarRidge(double x) {
    return 440 + 38 * std::sin(x * 0.0061 + 1.0) + 18 * std::sin(x * 0.019 + 0.3);
}

double NearRidge(double x) {
    return 505 + 45 * std::sin(x * 0.0042 + 2.4) + 14 * std::sin(x * 0.025 + 1.2);
}

// The colour of the land and sky above the lake's far shore.
Rgb Landscape(double x, double y) {
    if (y >= NearRidge(x)) {
        const double shade = 0.75 + 0.25 * Fbm(x / 60.0, y / 30.0);
        return Scale(Mix({70, 100, 80}, {45, 70, 55}, (y - NearRidge(x)) / 60.0), shade);
    }
    if (y >= FarRidge(x)) {
        const double haze = 0.6 + 0.1 * Fbm(x / 90.0, y / 40.0);
        return Mix({85, 105, 150}, Sky(x, y), haze - 0.2);
    }
    return Sky(x, y);
}

double ShoreLine(double x) {
    return 715 + 18 * std::sin(x * 0.008 + 0.7) + 8 * std::sin(x * 0.031);
}

// Conifers along the near shore: (centre x, height).
constexpr double kTrees[][2] = {{60, 230},   {115, 180},  {160, 260},  {215, 170}, {250, 140},
                                {1010, 150}, {1060, 210}, {1110, 250}, {1165, 190}};

bool InTree(double x, double y, double& depth) {
    for (const auto& t : kTrees) {
        const double base = ShoreLine(t[0]) + 6, top = base - t[1];
        if (y < top || y > base) continue;
        const double along = (y - top) / t[1];
        // Tiers of branches: the width saws in and out going down.
        const double tier = std::fmod(along * 7.0, 1.0);
        const double half = t[1] * 0.22 * along * (0.75 + 0.25 * tier);
        if (std::abs(x - t[0]) < half || (along > 0.93 && std::abs(x - t[0]) < 4)) {
            depth = along;
            return true;
        }
    }
    return false;
}

} // namespace

void WriteSamplePhoto(const std::string& dataDir) {
    Bitmap photo(kWidth, kHeight, PixelFormat::Bgr24);
    for (int py = 0; py < kHeight; ++py) {
        std::uint8_t* row = photo.ScanLine(py);
        for (int px = 0; px < kWidth; ++px) {
            const double x = px, y = py;
            Rgb c;
            double treeDepth = 0;
            const double shore = ShoreLine(x);
            if (InTree(x, y, treeDepth)) {
                const double n = Fbm(x / 6.0, y / 6.0);
                c = Scale(Mix({30, 62, 38}, {18, 40, 26}, treeDepth), 0.7 + 0.6 * n);
            } else if (y < kHorizon) {
                c = Landscape(x, y);
            } else if (y < shore) {
                // The lake mirrors what stands above the far shore, darker
                // and bluer, broken into ripples that widen toward us.
                const double depth = (y - kHorizon) / (shore - kHorizon);
                const double ripple = Fbm(x / (40.0 + 200 * depth), y / 3.0) - 0.5;
                const double my = kHorizon - (y - kHorizon) * 1.6 + ripple * 30 * depth;
                c = Mix(Landscape(x + ripple * 20, std::max(0.0, my)), {30, 60, 95},
                        0.3 + 0.3 * depth);
                // The sun's path on the water.
                const double width = 30 + 90 * depth;
                const double beam = std::exp(-std::pow((x - kSunX) / width, 2));
                const double glint = std::clamp((Noise(x / 7.0, y / 1.5) - 0.45) * 4, 0.0, 1.0);
                c = Mix(c, kSun, beam * glint * 0.8);
            } else {
                // Meadow: green with blades of grass as short vertical streaks.
                const double t = (y - shore) / (kHeight - shore);
                const double blades = Noise(x / 1.7, y / 14.0);
                const double patches = Fbm(x / 120.0, y / 50.0);
                c = Mix({110, 140, 60}, {55, 95, 35}, t * 0.7 + patches * 0.5);
                c = Scale(c, 0.75 + 0.45 * blades);
                if (y - shore < 4) c = Mix(c, {90, 80, 60}, 0.6); // the water's edge
            }
            // A little film grain.
            const double grain = (Lattice(px * 7 + 3, py * 13 + 5) - 0.5) * 8;
            row[3 * px] = std::uint8_t(std::clamp(c.b + grain, 0.0, 255.0));
            row[3 * px + 1] = std::uint8_t(std::clamp(c.g + grain, 0.0, 255.0));
            row[3 * px + 2] = std::uint8_t(std::clamp(c.r + grain, 0.0, 255.0));
        }
    }
    SavePictureFile(photo, dataDir + "/sample.jpg");
}

} // namespace quillon
