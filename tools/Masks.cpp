// Masks: grey pictures stretched over the photo. White keeps the photo,
// darker greys fade it; every pixel is an exact grey so that no mask pixel
// counts as a colour.
//
// Each mask is designed on a 400 x 300 grid (the coordinates and sizes below
// are in its units) and evaluated at the centre of every pixel of a
// 4000 x 3000 picture; the grain of the grainy masks is a few pixels of the
// large picture. The masks are written as JPEG, whose grey stays grey.
#include "tools/MakeData.h"
#include "tools/Procedural.h"

#include "canvas/Bitmap.h"
#include "formats/Formats.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace quillon {

using namespace proc;

namespace {

constexpr int kW = 400, kH = 300;
constexpr float kScale = float(kMaskWidth) / kW;
static_assert(kMaskHeight * kW == kMaskWidth * kH, "the design's proportions");
constexpr float kPi = 3.14159265f;
// Grain cells per design unit: grain about two pixels of the large picture.
constexpr float kGrain = kScale / 2;

// level(x, y) in 0..1 (1 = white) at each pixel centre, in design units.
std::unique_ptr<Bitmap> Mask(const std::function<float(float, float)>& level) {
    auto b = std::make_unique<Bitmap>(kMaskWidth, kMaskHeight, PixelFormat::Bgr24);
    for (int y = 0; y < kMaskHeight; ++y) {
        std::uint8_t* row = b->ScanLine(y);
        const float fy = (y + 0.5f) / kScale;
        for (int x = 0; x < kMaskWidth; ++x) {
            const auto v = std::uint8_t(std::lround(Clamp01(level((x + 0.5f) / kScale, fy)) * 255));
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
        }
    }
    return b;
}

// A grain value in 0..1 for the grain cell holding (x, y).
float Grain(float x, float y, std::uint32_t seed) {
    return Hash(int(x * kGrain), int(y * kGrain), seed);
}

// A function of one design coordinate, evaluated once per pixel along a
// side of the large picture and looked up at the pixel centres: the masks'
// torn and brushed edges vary along one direction only.
class Profile {
public:
    Profile(int pixels, const std::function<float(float)>& f) : values_(std::size_t(pixels)) {
        for (int i = 0; i < pixels; ++i) values_[std::size_t(i)] = f((i + 0.5f) / kScale);
    }
    float operator()(float at) const {
        const int i = std::clamp(int(at * kScale), 0, int(values_.size()) - 1);
        return values_[std::size_t(i)];
    }

private:
    std::vector<float> values_;
};

// Distance inward from the nearest edge, in design units.
float EdgeDistance(float x, float y) {
    return std::min({x, kW - x, y, kH - y});
}

float GrainyEdge(float x, float y) {
    const float d = EdgeDistance(x, y);
    const float grain = Grain(x, y, 301);
    const float wobble = Fbm(x / 40, y / 40, 1 << 16, 1 << 16, 3, 302);
    const float ramp = Smoothstep(10, 62, d + 14 * (wobble - 0.5f));
    // The grain decides each pixel near the edge, more of them white inward.
    return grain < ramp ? 1.0f : ramp * 0.55f * grain;
}

float SoftOval(float x, float y) {
    const float u = (x - kW / 2.0f) / (kW * 0.43f), v = (y - kH / 2.0f) / (kH * 0.43f);
    const float r = std::sqrt(u * u + v * v);
    return 1 - Smoothstep(0.78f, 1.12f, r);
}

float TornPaper(float x, float y) {
    // Each side is torn along its own line pushed in by fractal noise; a
    // fibrous grey rim lies just inside the tear.
    auto tear = [](int pixels, std::uint32_t side) {
        return Profile(pixels, [side](float along) {
            return 14 + 28 * Fbm(along / 25, 0.5f, 1 << 16, 4, 5, 303 + side);
        });
    };
    static const Profile left = tear(kMaskHeight, 0), right = tear(kMaskHeight, 1),
                         top = tear(kMaskWidth, 2), bottom = tear(kMaskWidth, 3);
    const float d = std::min({x - left(y), kW - x - right(y), y - top(x), kH - y - bottom(x)});
    if (d > 3) return 1;
    if (d > 0) return 0.72f + 0.2f * Grain(x, y, 304);
    return 0;
}

float BrushedEdge(float x, float y) {
    // Each row of bristles (a third of a design unit high) ends at its own
    // place, so the edge is streaky.
    auto reach = [](float v, std::uint32_t seed) {
        return Profile(kMaskHeight, [v, seed](float y) {
            return 20 + 60 * Fbm(float(int(y * 3)) / 9, v, 1 << 16, 8, 4, seed);
        });
    };
    static const Profile reachL = reach(0.5f, 305), reachR = reach(4.5f, 306);
    static const Profile ragged(kMaskWidth,
                                [](float x) { return 10 * Fbm(x / 6, 2.5f, 1 << 16, 8, 3, 307); });
    const int row = int(y * 3);
    const float dx = std::min(x - reachL(y), kW - x - reachR(y));
    const float dy = std::min(y, kH - y) - 22 - ragged(x);
    const float d = std::min(dx, dy * 1.4f);
    const float dry = Hash(int(x * kGrain / 2), row, 308);
    return Smoothstep(-25, 8, d) * (0.75f + 0.25f * dry) + (d > 8 ? 1.0f : 0.0f);
}

float HeartShape(float x, float y) {
    // A square standing on its corner with a circle on each upper side: the
    // signed distance to that shape, softened over a few pixels.
    const float a = kH * 0.46f, c = 0.70710678f;
    const float px = x - kW / 2.0f, py = y - kH * 0.56f;
    const float rx = std::fabs((px + py) * c) - a / 2, ry = std::fabs((py - px) * c) - a / 2;
    const float box =
        std::hypot(std::max(rx, 0.0f), std::max(ry, 0.0f)) + std::min(std::max(rx, ry), 0.0f);
    const float m = a / 2 * c;
    const float left = std::hypot(px + m, py + m) - a / 2,
                right = std::hypot(px - m, py + m) - a / 2;
    return 1 - Smoothstep(-10, 6, std::min({box, left, right}));
}

float StarShape(float x, float y) {
    const float u = (x - kW / 2.0f) / (kH * 0.47f), v = (y - kH / 2.0f) / (kH * 0.47f);
    const float r = std::sqrt(u * u + v * v);
    const float a = std::atan2(v, u) + kPi / 2;
    // Radius of a five-pointed star at angle a, from 0.45 in the notches to 1.
    const float k = std::fabs(std::fmod(a * 5 / (2 * kPi) + 100.0f, 1.0f) - 0.5f) * 2;
    const float edge = 0.45f + 0.55f * std::pow(k, 1.6f);
    return 1 - Smoothstep(edge - 0.06f, edge + 0.04f, r);
}

float RoundedRectangle(float x, float y) {
    const float inset = 28, radius = 40;
    const float qx = std::max(std::fabs(x - kW / 2.0f) - (kW / 2.0f - inset - radius), 0.0f);
    const float qy = std::max(std::fabs(y - kH / 2.0f) - (kH / 2.0f - inset - radius), 0.0f);
    const float outside = std::hypot(qx, qy) - radius;
    return 1 - Smoothstep(-6, 10, outside);
}

float Spray(float x, float y) {
    const float u = (x - kW / 2.0f) / (kW * 0.5f), v = (y - kH / 2.0f) / (kH * 0.5f);
    const float r = std::sqrt(u * u + v * v);
    // Droplet density falls off from the centre; each pixel is a droplet or not.
    const float density =
        1 - Smoothstep(0.55f, 1.05f, r + 0.12f * (Fbm(u * 3, v * 3, 64, 64, 3, 309) - 0.5f));
    const float drop = Grain(x, y, 310);
    if (drop < density) return 1;
    return density * 0.6f;
}

float ArchedWindow(float x, float y) {
    const float cx = kW / 2.0f, halfW = kW * 0.3f, top = kH * 0.42f, bottom = kH * 0.9f;
    float out;
    if (y > top)
        out = std::max({std::fabs(x - cx) - halfW, y - bottom});
    else
        out = std::hypot(x - cx, (y - top) * 1.3f) - halfW;
    return 1 - Smoothstep(-8, 14, out);
}

} // namespace

void WriteMasks(const std::string& dataDir) {
    const std::string dir = dataDir + "/masks";
    std::filesystem::create_directories(dir);
    auto save = [&](float (*level)(float, float), const std::string& name) {
        SavePictureFile(*Mask(level), dir + "/" + name + ".jpg");
        // A data folder written before the masks were all JPEG may hold a
        // bitmap of the same name, which the picker would list twice.
        std::error_code ec;
        std::filesystem::remove(dir + "/" + name + ".bmp", ec);
    };
    save(GrainyEdge, "Grainy Edge");
    save(SoftOval, "Soft Oval");
    save(TornPaper, "Torn Paper");
    save(BrushedEdge, "Brushed Edge");
    save(HeartShape, "Heart");
    save(StarShape, "Star");
    save(RoundedRectangle, "Rounded Rectangle");
    save(Spray, "Spray");
    save(ArchedWindow, "Arched Window");
}

} // namespace quillon
