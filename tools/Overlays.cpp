// Overlays: artwork on white, stretched over the whole framed picture; white
// is see-through, so every pixel is either artwork or pure white.
//
// The artwork is designed on a 480 x 360 grid (every coordinate and size
// below is in its units) and drawn at 4000 x 3000 pixels, so that an overlay
// stretched over a 12-megapixel photo shows no steps. Each pixel is decided
// at its own centre.
#include "tools/MakeData.h"
#include "tools/Procedural.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <vector>

namespace quillon {

using namespace proc;

namespace {

// The design grid, and the pixels of the picture drawn from it.
constexpr int kW = 480, kH = 360;
constexpr int kPixelsWide = kOverlayWidth, kPixelsHigh = kOverlayHeight;
constexpr float kScale = float(kPixelsWide) / kW;
static_assert(kPixelsHigh * kW == kPixelsWide * kH, "the design's proportions");
constexpr float kPi = 3.14159265f;

// The design coordinate of pixel p's centre.
float Design(int p) {
    return (p + 0.5f) / kScale;
}

// A picture of the overlay's full size, every pixel see-through.
Picture ClearPicture() {
    Picture p(kPixelsWide, kPixelsHigh);
    p.ClearAll();
    return p;
}

struct Pt {
    float x, y;
};

// Paints every pixel whose centre satisfies inside(x, y), with colour from
// colourAt, over the bounding box given (all in design units).
void FillShape(Picture& p, int x0, int y0, int x1, int y1,
               const std::function<bool(float, float)>& inside,
               const std::function<Rgb(float, float)>& colourAt) {
    const int px0 = std::max(int(std::floor(x0 * kScale)), 0);
    const int py0 = std::max(int(std::floor(y0 * kScale)), 0);
    const int px1 = std::min(int(std::ceil(x1 * kScale)), p.Width());
    const int py1 = std::min(int(std::ceil(y1 * kScale)), p.Height());
    for (int y = py0; y < py1; ++y)
        for (int x = px0; x < px1; ++x) {
            const float fx = Design(x), fy = Design(y);
            if (inside(fx, fy)) p.Blend(x, y, colourAt(fx, fy), 1.0f);
        }
}

void Disc(Picture& p, float cx, float cy, float r, Rgb c) {
    FillShape(
        p, int(cx - r - 1), int(cy - r - 1), int(cx + r + 2), int(cy + r + 2),
        [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; },
        [=](float x, float y) {
            // A soft highlight toward the upper left gives a little relief.
            const float d = std::hypot(x - (cx - r * 0.35f), y - (cy - r * 0.35f)) / (r * 1.6f);
            return c * (1.15f - 0.4f * Clamp01(d));
        });
}

// A stroke along a curve: discs stamped at small steps, radius varying.
void Stroke(Picture& p, const std::function<Pt(float)>& curve,
            const std::function<float(float)>& width, Rgb c, int steps = 400) {
    for (int i = 0; i <= steps; ++i) {
        const float s = float(i) / steps;
        const Pt q = curve(s);
        const float r = width(s);
        FillShape(
            p, int(q.x - r - 1), int(q.y - r - 1), int(q.x + r + 2), int(q.y + r + 2),
            [=](float x, float y) {
                return (x - q.x) * (x - q.x) + (y - q.y) * (y - q.y) <= r * r;
            },
            [=](float x, float y) {
                const float side = ((x - q.x) + (y - q.y)) / (r + 0.01f);
                return c * (1.0f - 0.25f * side);
            });
    }
}

bool InPolygon(const std::vector<Pt>& poly, float x, float y) {
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        if ((poly[i].y > y) != (poly[j].y > y) &&
            x < (poly[j].x - poly[i].x) * (y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
            in = !in;
    }
    return in;
}

void Star(Picture& p, float cx, float cy, float r, float turn, Rgb c) {
    std::vector<Pt> poly;
    for (int i = 0; i < 10; ++i) {
        const float a = turn + i * kPi / 5 - kPi / 2;
        const float rr = (i % 2) ? r * 0.42f : r;
        poly.push_back({cx + rr * std::cos(a), cy + rr * std::sin(a)});
    }
    FillShape(
        p, int(cx - r - 1), int(cy - r - 1), int(cx + r + 2), int(cy + r + 2),
        [&](float x, float y) { return InPolygon(poly, x, y); },
        [=](float x, float y) {
            // Facets: each arm lit on one side, shaded on the other.
            const float a = std::atan2(y - cy, x - cx) - turn + kPi / 2;
            const float f = std::sin(a * 5);
            return c * (0.95f + 0.2f * f);
        });
}

bool InHeart(float x, float y) {
    // (x^2 + y^2 - 1)^3 - x^2 y^3 < 0 with y pointing up.
    const float a = x * x + y * y - 1;
    return a * a * a - x * x * y * y * y < 0;
}

void Heart(Picture& p, float cx, float cy, float r, Rgb c) {
    FillShape(
        p, int(cx - r * 1.3f), int(cy - r * 1.3f), int(cx + r * 1.3f), int(cy + r * 1.3f),
        [=](float x, float y) { return InHeart((x - cx) / r, -(y - cy) / r + 0.1f); },
        [=](float x, float y) {
            const float d = std::hypot(x - (cx - r * 0.4f), y - (cy - r * 0.45f)) / (r * 1.6f);
            return c * (1.25f - 0.55f * Clamp01(d));
        });
}

// Points spread round the border of the picture at distance inset from
// the edge, count of them.
std::vector<Pt> AroundBorder(int count, float inset) {
    std::vector<Pt> pts;
    const float w = kW - 2 * inset, h = kH - 2 * inset, perim = 2 * (w + h);
    for (int i = 0; i < count; ++i) {
        float d = perim * i / count;
        if (d < w) {
            pts.push_back({inset + d, inset});
            continue;
        }
        d -= w;
        if (d < h) {
            pts.push_back({inset + w, inset + d});
            continue;
        }
        d -= h;
        if (d < w) {
            pts.push_back({inset + w - d, inset + h});
            continue;
        }
        d -= w;
        pts.push_back({inset, inset + h - d});
    }
    return pts;
}

Picture FireBall() {
    Picture p = ClearPicture();
    for (int y = 0; y < kPixelsHigh; ++y)
        for (int x = 0; x < kPixelsWide; ++x) {
            const float fx = Design(x) / kW, fy = Design(y) / kH;
            // Distance to the nearest edge, in picture heights.
            const float d = std::min({fx * kW, (1 - fx) * kW, fy * kH, (1 - fy) * kH}) / kH;
            // Flames: noise stretched along the way they lick inward.
            const float n = Fbm(fx * 14, fy * 14 - 0.0f, 64, 64, 5, 201);
            const float reach = 0.05f + 0.13f * n;
            // The ball of fire in the top-right corner.
            const float bx = (fx - 0.86f) * kW / kH, by = fy - 0.2f;
            const float ball =
                std::hypot(bx, by) - (0.13f + 0.05f * Fbm(fx * 20, fy * 20, 64, 64, 4, 202));
            const float heat = std::max(1 - d / reach, -ball / 0.13f);
            if (heat <= 0) continue;
            Rgb c = heat < 0.35f
                        ? Mix(Hex(0x9E1206), Hex(0xE8420C), heat / 0.35f)
                        : Mix(Hex(0xE8420C), Hex(0xFFD23A), Clamp01((heat - 0.35f) / 0.5f));
            if (heat > 0.9f) c = Mix(c, Hex(0xFFF4B0), Clamp01((heat - 0.9f) * 6));
            p.Blend(x, y, c, 1.0f);
        }
    return p;
}

Picture CornerFlourishes() {
    Picture p = ClearPicture();
    const Rgb ink = Hex(0x6B4A12);
    for (int corner = 0; corner < 4; ++corner) {
        const float sx = (corner % 2) ? -1.0f : 1.0f, sy = (corner / 2) ? -1.0f : 1.0f;
        const float ox = (corner % 2) ? kW : 0, oy = (corner / 2) ? kH : 0;
        auto map = [=](Pt q) { return Pt{ox + sx * q.x, oy + sy * q.y}; };
        // Two long arms along the edges ending in curls, and a spiral at the corner.
        Stroke(
            p,
            [&](float s) {
                return map({12 + s * 150, 14 + 6 * std::sin(s * kPi * 2)});
            },
            [](float s) { return 2.5f + 2.0f * (1 - s); }, ink);
        Stroke(
            p,
            [&](float s) {
                return map({14 + 6 * std::sin(s * kPi * 2), 12 + s * 110});
            },
            [](float s) { return 2.5f + 2.0f * (1 - s); }, ink);
        for (int arm = 0; arm < 2; ++arm) {
            Stroke(
                p,
                [&](float s) {
                    const float a = s * 3.2f * kPi, r = 18 * (1 - s * 0.8f);
                    const Pt end = arm ? Pt{162, 14} : Pt{14, 122};
                    return map({end.x + (arm ? -r * std::sin(a) : r * std::cos(a) - r),
                                end.y + (arm ? r * std::cos(a) - r : -r * std::sin(a))});
                },
                [](float s) { return 2.2f - 1.2f * s; }, ink);
        }
        Stroke(
            p,
            [&](float s) {
                const float a = kPi / 4 + s * 4 * kPi, r = 34 * (1 - s * 0.85f);
                return map({40 + r * std::cos(a), 40 + r * std::sin(a)});
            },
            [](float s) { return 4.0f - 2.8f * s; }, ink, 800);
        Disc(p, map({40, 40}).x, map({40, 40}).y, 5, Hex(0xC8961E));
        for (int k = 0; k < 3; ++k) {
            const Pt a = map({70.0f + 24 * k, 30.0f - 4 * k}),
                     b = map({30.0f - 4 * k, 70.0f + 24 * k});
            Disc(p, a.x, a.y, 3.5f - k, Hex(0xC8961E));
            Disc(p, b.x, b.y, 3.5f - k, Hex(0xC8961E));
        }
    }
    return p;
}

Picture Hearts() {
    Picture p = ClearPicture();
    const auto pts = AroundBorder(26, 26);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const float r = (i % 2) ? 13.0f : 18.0f;
        const Rgb c = (i % 3 == 0) ? Hex(0xD81E3C) : (i % 3 == 1) ? Hex(0xF06292) : Hex(0xB0102A);
        Heart(p, pts[i].x, pts[i].y, r, c);
    }
    Heart(p, kW - 70, kH - 70, 40, Hex(0xC2132F));
    return p;
}

Picture Stars() {
    Picture p = ClearPicture();
    const auto pts = AroundBorder(30, 24);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const float r = (i % 2) ? 12.0f : 19.0f;
        Star(p, pts[i].x, pts[i].y, r, 0.3f * float(i), (i % 2) ? Hex(0xE3B23C) : Hex(0xF5CF4A));
    }
    // Little sparkles scattered inward from the border.
    for (int i = 0; i < 60; ++i) {
        const float x = Hash(i, 1, 203) * kW, y = Hash(i, 2, 203) * kH;
        const float edge = std::min({x, kW - x, y, kH - y});
        if (edge > 70) continue;
        Star(p, x, y, 5 + 3 * Hash(i, 3, 203), 0, Hex(0xFFE680));
    }
    return p;
}

Picture FilmStrip() {
    Picture p = ClearPicture();
    const float band = 40;
    for (int py = 0; py < kPixelsHigh; ++py)
        for (int px = 0; px < kPixelsWide; ++px) {
            const float x = Design(px), y = Design(py);
            const bool inBand = y < band || y >= kH - band || x < 10 || x >= kW - 10;
            if (!inBand) continue;
            const float local = y < band ? y : kH - y;
            // Sprocket holes: rectangles with rounded corners along both bands.
            const float hx = std::fmod(x, 30.0f);
            const float cx = std::max(std::fabs(hx - 15) - 4, 0.0f);
            const float cy = std::max(std::fabs(local - 20) - 6, 0.0f);
            const bool hole = std::fabs(hx - 15) < 6 && std::fabs(local - 20) < 8 &&
                              cx * cx + cy * cy < 4 && (y < band || y >= kH - band);
            const float grain = Noise(x / 3, y / 3, 1 << 20, 1 << 20, 204);
            if (hole)
                p.Blend(px, py, Rgb{236, 233, 224}, 1.0f);
            else
                p.Blend(px, py, Rgb{18, 16, 14} * (0.8f + 0.6f * grain), 1.0f);
        }
    return p;
}

Picture VignetteSwirls() {
    Picture p = ClearPicture();
    const Rgb ink = Hex(0x1F3A78), light = Hex(0x4F74B8);
    // A wavy line round the picture with curls budding off it, alternately
    // inward and outward, like a wrought-iron vignette.
    const auto pts = AroundBorder(22, 30);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const Pt a = pts[i], b = pts[(i + 1) % pts.size()];
        Stroke(
            p,
            [&](float s) {
                const float w = 5 * std::sin(s * kPi);
                const float nx = -(b.y - a.y), ny = b.x - a.x, nl = std::hypot(nx, ny) + 1e-6f;
                const float sign = (i % 2) ? 1.0f : -1.0f;
                return Pt{a.x + (b.x - a.x) * s + sign * w * nx / nl,
                          a.y + (b.y - a.y) * s + sign * w * ny / nl};
            },
            [](float) { return 2.0f; }, ink, 120);
        const float dir = (i % 2) ? 1.0f : -1.0f;
        const float start = std::atan2(b.y - a.y, b.x - a.x);
        Stroke(
            p,
            [&](float s) {
                const float ang = start + dir * s * 3.5f * kPi, r = 16 * (1 - 0.8f * s);
                return Pt{a.x + 16 * std::cos(start + dir * kPi / 2) + r * std::sin(ang),
                          a.y + 16 * std::sin(start + dir * kPi / 2) - r * std::cos(ang)};
            },
            [](float s) { return 2.6f - 1.6f * s; }, (i % 3) ? ink : light, 300);
        Disc(p, a.x, a.y, 4, light);
    }
    return p;
}

Picture Snowflakes() {
    Picture p = ClearPicture();
    for (int i = 0; i < 46; ++i) {
        const float cx = Hash(i, 1, 206) * kW, cy = Hash(i, 2, 206) * kH;
        const float edge = std::min({cx, kW - cx, cy, kH - cy});
        if (edge > 75 && i > 4) continue;
        const float r = 9 + 12 * Hash(i, 3, 206), turn = Hash(i, 4, 206);
        const Rgb c = Mix(Hex(0x7FB3E0), Hex(0x2E6DB4), Hash(i, 5, 206));
        for (int arm = 0; arm < 6; ++arm) {
            const float a = turn + arm * kPi / 3;
            Stroke(
                p,
                [&](float s) {
                    return Pt{cx + s * r * std::cos(a), cy + s * r * std::sin(a)};
                },
                [](float) { return 1.1f; }, c, 40);
            for (int side = -1; side <= 1; side += 2) {
                const float b = a + side * 0.7f;
                const Pt base{cx + 0.55f * r * std::cos(a), cy + 0.55f * r * std::sin(a)};
                Stroke(
                    p,
                    [&](float s) {
                        return Pt{base.x + s * r * 0.35f * std::cos(b),
                                  base.y + s * r * 0.35f * std::sin(b)};
                    },
                    [](float) { return 0.9f; }, c, 20);
            }
        }
        Disc(p, cx, cy, 2, c);
    }
    return p;
}

Picture LaceBorder() {
    Picture p = ClearPicture();
    const Rgb cream = Hex(0xF3E6CB);
    const Rgb thread = Hex(0xD8C49C);
    for (int py = 0; py < kPixelsHigh; ++py)
        for (int px = 0; px < kPixelsWide; ++px) {
            const float x = Design(px) - 0.5f, y = Design(py) - 0.5f;
            const float d = std::min({x, kW - 1 - x, y, kH - 1 - y});
            // Position along the nearest edge, for the scallops.
            const float along = (d == x || d == kW - 1 - x) ? y : x;
            const float scallop = 30 + 7 * std::fabs(std::sin(along * kPi / 24));
            if (d > scallop) continue;
            // Holes of the lace: a lattice of small rings.
            const float gx = std::fmod(along, 12.0f) - 6, gy = std::fmod(d, 12.0f) - 6;
            const float ring = std::hypot(gx, gy);
            const bool hole = ring < 3.0f && d > 6 && d < scallop - 5;
            if (hole) continue;
            const Rgb c = (ring < 4.2f || d > scallop - 2.5f) ? thread : cream;
            p.Blend(px, py, c, 1.0f);
        }
    return p;
}

} // namespace

void WriteOverlays(const std::string& dataDir) {
    const std::string dir = dataDir + "/Overlay";
    std::filesystem::create_directories(dir);
    auto save = [&](const Picture& p, const char* name) {
        SaveKeyed(p, dir + "/" + name + ".bmp");
    };
    save(FireBall(), "Fire ball");
    save(CornerFlourishes(), "Corner Flourishes");
    save(Hearts(), "Hearts");
    save(Stars(), "Stars");
    save(FilmStrip(), "Film Strip");
    save(VignetteSwirls(), "Vignette Swirls");
    save(Snowflakes(), "Snowflakes");
    save(LaceBorder(), "Lace Border");
}

} // namespace quillon
