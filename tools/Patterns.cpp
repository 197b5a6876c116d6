// Fill patterns: seamless tiles (every noise lattice wraps at the tile edge)
// of the materials a framer offers for mattes.
#include "tools/MakeData.h"
#include "tools/Procedural.h"

#include <cmath>
#include <filesystem>
#include <functional>

namespace quillon {

using namespace proc;

namespace {

constexpr float kTwoPi = 6.28318531f;

float Frac(float v) {
    return v - std::floor(v);
}

// A tile whose pixels come from f(x, y).
Picture Tile(int size, const std::function<Rgb(int, int)>& f) {
    Picture p(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) p.At(x, y) = f(x, y);
    return p;
}

// A height field shaded by the light, over a base colour from colourOf.
Picture ShadedTile(int size, float relief, float shininess,
                   const std::function<float(int, int)>& height,
                   const std::function<Rgb(int, int, float)>& colourOf) {
    std::vector<float> h(std::size_t(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) h[std::size_t(y) * size + x] = height(x, y);
    auto H = [&](int x, int y) {
        x = (x + size) % size;
        y = (y + size) % size;
        return h[std::size_t(y) * size + x];
    };
    return Tile(size, [&](int x, int y) {
        const float dx = (H(x + 1, y) - H(x - 1, y)) * 0.5f * relief;
        const float dy = (H(x, y + 1) - H(x, y - 1)) * 0.5f * relief;
        const Light l = Shade(dx, dy, shininess);
        const Rgb base = colourOf(x, y, H(x, y));
        return base * l.diffuse + Rgb{255, 245, 225} * (l.specular * 0.35f);
    });
}

// Wood: growth rings running along the tile, bent by low noise, with fine
// fibres. rings must be whole so the tile wraps.
Picture Wood(int size, int rings, Rgb light, Rgb dark, std::uint32_t seed, float warp) {
    return Tile(size, [=](int x, int y) {
        const float u = float(x) / size, v = float(y) / size;
        // Gentle waves along the board, stronger knots of figure here and there.
        const float bend = (Fbm(u * 2, v * 2, 2, 2, 3, seed) - 0.5f) * warp;
        const float t = Frac(v * rings + bend + 0.15f * std::sin(6.2831853f * u));
        // Late wood: a narrow dark band in each ring, sharper on one side.
        const float late = Smoothstep(0.6f, 0.82f, t) * (1 - Smoothstep(0.86f, 1.0f, t));
        const float fibre = Noise(u * 3, v * 110, 3, 110, seed + 3);
        const float pores = Noise(u * 40, v * 160, 40, 160, seed + 5) > 0.8f ? 0.12f : 0.0f;
        const float fleck = Fbm(u * 4, v * 12, 4, 12, 2, seed + 9);
        const float k = 0.12f + 0.55f * late + 0.22f * fibre + 0.15f * (fleck - 0.5f) + pores;
        return Mix(light, dark, Clamp01(k));
    });
}

// Marble: veins where a turbulent sine crosses zero.
Picture Marble(int size, Rgb base, Rgb vein, Rgb cloud, std::uint32_t seed) {
    return Tile(size, [=](int x, int y) {
        const float u = float(x) / size, v = float(y) / size;
        const float turb = Fbm(u * 4, v * 4, 4, 4, 5, seed);
        const float s = std::sin(kTwoPi * (u + 2 * v) + 9.0f * turb);
        const float veinK = std::pow(1 - std::fabs(s), 9.0f);
        const float fine =
            std::pow(1 - std::fabs(std::sin(kTwoPi * (3 * u - v) + 14 * turb)), 30.0f);
        const float clouds = Fbm(u * 3, v * 3, 3, 3, 4, seed + 5);
        Rgb c = Mix(base, cloud, Clamp01((clouds - 0.35f) * 1.6f));
        c = Mix(c, vein, Clamp01(veinK * 0.85f + fine * 0.4f));
        return c;
    });
}

Picture Linen(int size, Rgb thread, std::uint32_t seed) {
    return Tile(size, [=](int x, int y) {
        // Threads two pixels wide, crossing over and under alternately.
        const bool warpOnTop = ((x / 2) + (y / 2)) % 2 == 0;
        const float rowSlub = Noise(float(x) * 8 / size, float(y / 2), 8, size / 2, seed);
        const float colSlub = Noise(float(x / 2), float(y) * 8 / size, size / 2, 8, seed + 1);
        const float slub = warpOnTop ? colSlub : rowSlub;
        const float edge = ((warpOnTop ? x : y) % 2 == 0) ? 1.0f : 0.9f;
        const float mottle = Fbm(float(x) * 4 / size, float(y) * 4 / size, 4, 4, 3, seed + 2);
        const float k = (0.82f + 0.22f * slub) * edge * (0.92f + 0.16f * mottle);
        return thread * k;
    });
}

Picture BrushedMetal(int size, Rgb base, std::uint32_t seed) {
    return Tile(size, [=](int x, int y) {
        const float u = float(x) / size, v = float(y) / size;
        const float streak = Fbm(u * 2, v * 96, 2, 96, 3, seed);
        const float sheen = 0.5f + 0.5f * std::sin(kTwoPi * u);
        return base * (0.8f + 0.25f * streak + 0.08f * sheen);
    });
}

Picture Leather(int size, Rgb base, std::uint32_t seed, int cells) {
    return ShadedTile(
        size, 6.0f, 12.0f,
        [=](int x, int y) {
            const float u = float(x) * cells / size, v = float(y) * cells / size;
            const float d = Cells(u, v, cells, cells, seed);
            return Smoothstep(0.0f, 0.55f, d) * -1.0f + 0.2f * Fbm(u, v, cells, cells, 2, seed);
        },
        [=](int x, int y, float h) {
            const float m = Fbm(float(x) * 4 / size, float(y) * 4 / size, 4, 4, 3, seed + 4);
            return base * (0.9f + 0.25f * m + 0.25f * h);
        });
}

Picture GoldLeaf(int size, std::uint32_t seed) {
    const int leaf = size / 4;
    return Tile(size, [=](int x, int y) {
        const int lx = x / leaf, ly = y / leaf;
        // Each square of leaf has its own slight tone; the seams between them
        // show as thin darker overlaps.
        const float tone = Hash(lx, ly, seed);
        const int ex = x % leaf, ey = y % leaf;
        const float seam = (ex == 0 || ey == 0) ? 0.8f : (ex == 1 || ey == 1) ? 0.93f : 1.0f;
        const float u = float(x) / size, v = float(y) / size;
        const float crinkle = Fbm(u * 16, v * 16, 16, 16, 3, seed + 2);
        const float glint = std::pow(Fbm(u * 8, v * 8, 8, 8, 3, seed + 5), 3.0f);
        Rgb c = Mix(Hex(0xB8862B), Hex(0xF2D06B),
                    Clamp01(0.35f + 0.4f * tone + 0.5f * (crinkle - 0.5f)));
        c = c * seam + Rgb{255, 240, 190} * (glint * 0.35f);
        return c;
    });
}

Picture Mottled(int size, Rgb a, Rgb b, std::uint32_t seed) {
    return Tile(size, [=](int x, int y) {
        const float u = float(x) / size, v = float(y) / size;
        const float m = Fbm(u * 4, v * 4, 4, 4, 5, seed);
        const float speck = Hash(x, y, seed + 11) > 0.985f ? 0.06f : 0.0f;
        return Mix(a, b, Clamp01((m - 0.3f) * 2.0f)) * (1 - speck);
    });
}

Picture Stripes(int size, Rgb a, Rgb b, int count, std::uint32_t seed) {
    return Tile(size, [=](int x, int y) {
        // Diagonal stripes: count stripes across the tile wrap exactly.
        const float t = Frac(float(x + y) * count / size);
        const float edge = Smoothstep(0.46f, 0.54f, t) - Smoothstep(0.96f, 1.0f, t);
        const float weave =
            0.95f + 0.1f * Noise(float(x) / 2, float(y) / 2, size / 2, size / 2, seed);
        return Mix(a, b, Clamp01(edge)) * weave;
    });
}

Picture Dots(int size, Rgb ground, Rgb dot, int cells) {
    return Tile(size, [=](int x, int y) {
        const int cell = size / cells;
        // Dots on a half-drop grid, anti-aliased.
        const int row = y / cell;
        const float cx = ((row % 2) ? cell : cell / 2.0f);
        const float dx = std::fmod(float(x) - cx + 2.0f * size, float(cell)) - cell / 2.0f;
        const float dy = float(y % cell) + 0.5f - cell / 2.0f;
        const float r = std::hypot(dx + 0.5f, dy);
        return Mix(ground, dot, 1 - Smoothstep(cell * 0.28f, cell * 0.33f, r));
    });
}

Picture Cork(int size, std::uint32_t seed) {
    return ShadedTile(
        size, 3.0f, 4.0f,
        [=](int x, int y) {
            const float u = float(x) * 24 / size, v = float(y) * 24 / size;
            return Cells(u, v, 24, 24, seed) + 0.5f * Fbm(u / 3, v / 3, 8, 8, 3, seed + 1);
        },
        [=](int x, int y, float) {
            const float g = Hash(x, y, seed + 2);
            return Mix(Hex(0xC79A62), Hex(0x8A5A2E), g * g);
        });
}

} // namespace

void WritePatterns(const std::string& dataDir) {
    const std::string dir = dataDir + "/Patterns";
    std::filesystem::create_directories(dir);
    auto save = [&](const Picture& p, const char* name) {
        Save(p, dir + "/" + name + ".bmp", true);
    };

    save(Wood(128, 6, Hex(0xD2A86E), Hex(0x8C5A2B), 11, 1.0f), "Oak");
    save(Wood(128, 8, Hex(0x7A5236), Hex(0x3A2313), 12, 0.8f), "Walnut");
    save(Wood(96, 5, Hex(0xB5654A), Hex(0x6E2E1E), 13, 0.7f), "Cherry");
    save(Wood(128, 4, Hex(0xEED3A0), Hex(0xB27B42), 14, 1.4f), "Pine");
    save(Marble(128, Hex(0xEEEBE6), Hex(0x77726E), Hex(0xD5D0C8), 21), "White Marble");
    save(Marble(128, Hex(0x1E4A3A), Hex(0xE0E6DC), Hex(0x0F2D22), 22), "Green Marble");
    save(Marble(128, Hex(0x17161A), Hex(0xC9C3B5), Hex(0x2C2A30), 23), "Black Marble");
    save(Linen(64, Hex(0xE4DAC4), 31), "Natural Linen");
    save(Linen(64, Hex(0x4D5E7A), 32), "Blue Linen");
    save(BrushedMetal(128, Hex(0xB9BCC0), 41), "Brushed Steel");
    save(BrushedMetal(128, Hex(0xC8A45A), 42), "Brushed Brass");
    save(Leather(128, Hex(0x6B3A1F), 51, 16), "Brown Leather");
    save(Leather(128, Hex(0x7A1F24), 52, 20), "Burgundy Leather");
    save(GoldLeaf(128, 61), "Gold Leaf");
    save(Mottled(96, Hex(0xF6D9DC), Hex(0xE7B9C1), 71), "Pastel Rose");
    save(Mottled(96, Hex(0xD8E8F5), Hex(0xB5CCE6), 72), "Pastel Sky");
    save(Mottled(96, Hex(0xDDF0E0), Hex(0xBBDCC3), 73), "Pastel Mint");
    save(Stripes(64, Hex(0x1B2F6B), Hex(0xD8B23C), 4, 81), "Bold Stripes");
    save(Dots(64, Hex(0xB3162C), Hex(0xF4E9D8), 4), "Bold Dots");
    save(Cork(128, 91), "Cork");
}

} // namespace quillon
