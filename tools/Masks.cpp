// Masks: grey pictures stretched over the photo. White keeps the photo,
// darker greys fade it; every pixel is an exact grey so that no mask pixel
// counts as a colour.
#include "tools/MakeData.h"
#include "tools/Procedural.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

namespace quillon {

using namespace proc;

namespace {

constexpr int kW = 400, kH = 300;
constexpr float kPi = 3.14159265f;

// level(x, y) in 0..1 (1 = white) for each pixel centre, in pixels.
Picture Mask(const std::function<float(float, float)>& level) {
    Picture p(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float v = std::round(Clamp01(level(x + 0.5f, y + 0.5f)) * 255);
            p.At(x, y) = {v, v, v};
        }
    return p;
}

// Distance inward from the nearest edge, in pixels.
float EdgeDistance(float x, float y) {
    return std::min({x, kW - x, y, kH - y});
}

float GrainyEdge(float x, float y) {
    const float d = EdgeDistance(x, y);
    const float grain = Hash(int(x), int(y), 301);
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
    auto tear = [](float along, std::uint32_t side) {
        return 14 + 28 * Fbm(along / 25, 0.5f, 1 << 16, 4, 5, 303 + side);
    };
    const float d =
        std::min({x - tear(y, 0), kW - x - tear(y, 1), y - tear(x, 2), kH - y - tear(x, 3)});
    if (d > 3) return 1;
    if (d > 0) return 0.72f + 0.2f * Hash(int(x), int(y), 304);
    return 0;
}

float BrushedEdge(float x, float y) {
    // Each row of bristles ends at its own place, so the edge is streaky.
    const int row = int(y);
    const float streak = Fbm(float(row) / 3, 0.5f, 1 << 16, 8, 4, 305);
    const float reachL = 20 + 60 * streak,
                reachR = 20 + 60 * Fbm(float(row) / 3, 4.5f, 1 << 16, 8, 4, 306);
    const float dx = std::min(x - reachL, kW - x - reachR);
    const float dy = std::min(y, kH - y) - 22 - 10 * Fbm(x / 6, 2.5f, 1 << 16, 8, 3, 307);
    const float d = std::min(dx, dy * 1.4f);
    const float dry = Hash(int(x / 2), row, 308);
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
    const float drop = Hash(int(x), int(y), 310);
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
        Save(Mask(level), dir + "/" + name, true);
    };
    save(GrainyEdge, "Grainy Edge.jpg");
    save(SoftOval, "Soft Oval.bmp");
    save(TornPaper, "Torn Paper.jpg");
    save(BrushedEdge, "Brushed Edge.bmp");
    save(HeartShape, "Heart.jpg");
    save(StarShape, "Star.bmp");
    save(RoundedRectangle, "Rounded Rectangle.bmp");
    save(Spray, "Spray.jpg");
    save(ArchedWindow, "Arched Window.bmp");
}

} // namespace quillon
