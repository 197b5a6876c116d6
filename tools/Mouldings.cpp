// Ornate frame mouldings: each picture is the top edge of a frame, square,
// the outside edge at the top and the photo side at the bottom, tiling along
// its width. A moulding is a height profile across its thickness (beads,
// coves, bevels) plus ornament repeating along its length, shaded by a light
// from the upper left over gold, silver, lacquer or wood.
#include "tools/MakeData.h"
#include "tools/Procedural.h"

#include "frames/OrnateFrame.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

namespace quillon {

using namespace proc;

namespace {

constexpr float kPi = 3.14159265f;
static_assert(kLargeMouldingSize <= kOrnateSquareLimit, "a large moulding is mitred whole");

struct Surface {
    float height = 0;
    Rgb base;
    float shininess = 8;
    float specular = 0.3f;
    bool clear = false;
};

// Material colours with a little variation from noise.
Surface Gold(float h, float n) {
    return {h, Mix(Hex(0xA87A22), Hex(0xE8C35A), 0.45f + 0.35f * n), 22, 0.9f};
}
Surface OldGold(float h, float n) {
    return {h, Mix(Hex(0x7D5A1E), Hex(0xC9A24A), 0.4f + 0.4f * n), 14, 0.6f};
}
Surface Silver(float h, float n) {
    return {h, Mix(Hex(0x8E9196), Hex(0xD4D6DA), 0.45f + 0.35f * n), 26, 0.9f};
}
Surface Lacquer(float h, float n) {
    return {h, Mix(Hex(0x141416), Hex(0x2E2E34), n), 18, 1.1f};
}
Surface Wood(float h, Rgb light, Rgb dark, float grain) {
    return {h, Mix(light, dark, grain), 10, 0.25f};
}

// Shapes across the moulding, u running 0..1 over the shape's band.
float Round(float u) { // half-round bead
    u = std::clamp(u, 0.0f, 1.0f) * 2 - 1;
    return std::sqrt(std::max(0.0f, 1 - u * u));
}
float Cove(float u) { // concave quarter
    u = std::clamp(u, 0.0f, 1.0f);
    return 1 - std::sqrt(std::max(0.0f, 1 - (1 - u) * (1 - u)));
}
float Ogee(float u) {
    u = std::clamp(u, 0.0f, 1.0f);
    return 0.5f + 0.5f * std::cos(u * kPi);
}
bool In(float t, float a, float b) {
    return t >= a && t < b;
}
float Band(float t, float a, float b) {
    return (t - a) / (b - a);
}

// Wood grain along the moulding; wraps every `size` pixels.
float Grain(int x, int y, int size, std::uint32_t seed) {
    const float u = float(x) / size, v = float(y) / size;
    // Long, nearly straight growth lines with a gentle sway, as on a planed board.
    const float bend =
        (Fbm(u * 2, v * 2, 2, 2, 3, seed) - 0.5f) * 0.7f + 0.08f * std::sin(2 * kPi * u);
    const float t = v * 7 + bend;
    const float ring = t - std::floor(t);
    const float fibre = Noise(u * 3, v * 90, 3, 90, seed + 1);
    return std::clamp(
        0.15f + 0.5f * Smoothstep(0.62f, 0.85f, ring) * (1 - Smoothstep(0.88f, 1.0f, ring)) +
            0.25f * fibre,
        0.0f, 1.0f);
}

// A repeating bump along the moulding: beads of period p in a band, for
// u (0..1 across the band) and x along the moulding.
float Bead(float x, float u, float period) {
    const float dx = (std::fmod(x + 0.5f, period) / period) * 2 - 1;
    const float dy = u * 2 - 1;
    return std::sqrt(std::max(0.0f, 1 - dx * dx - dy * dy));
}

// Twisted rope: strands running diagonally across the band.
float Rope(float x, float u, float period) {
    const float phase = (x / period + u * 0.9f);
    const float s = std::fabs(std::sin(phase * kPi));
    return std::sqrt(s) * (0.55f + 0.45f * Round(u));
}

// Egg and dart: ovals alternating with points, the carving of classic frames.
float EggAndDart(float x, float u, float period) {
    const float f = std::fmod(x + 0.5f, period) / period; // 0..1 along one unit
    const float ex = (f - 0.5f) / 0.34f, ey = (u - 0.5f) / 0.42f;
    const float egg = std::sqrt(std::max(0.0f, 1 - ex * ex - ey * ey));
    const float rim = std::max(0.0f, 1 - std::fabs(std::sqrt(ex * ex + ey * ey) - 1.18f) * 6);
    const float d = std::min(f, 1 - f) * 2; // distance to the dart, 0 at the unit edge
    const float dart = std::max(0.0f, 1 - d * 7) * (1 - std::fabs(u - 0.45f) * 1.6f);
    return std::max({egg, rim * 0.45f, dart * 0.8f});
}

// Acanthus-like scroll leaves along a band.
float Leaves(float x, float u, float period, std::uint32_t seed) {
    const float f = std::fmod(x + 0.5f, period) / period;
    const float curl = std::sin((f + u * 0.35f) * 2 * kPi);
    const float lobe = std::fabs(std::sin((f * 3 + u * 0.8f) * kPi));
    const float body = Round(u) * (0.55f + 0.45f * curl);
    return std::max(0.0f, body * (0.6f + 0.4f * lobe)) +
           0.08f * Noise(x / 3, u * 8, int(1e6), 8, seed);
}

Picture Render(int size, float relief, const std::function<Surface(int, int)>& surfaceAt) {
    std::vector<Surface> s(std::size_t(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) s[std::size_t(y) * size + x] = surfaceAt(x, y);
    auto H = [&](int x, int y) {
        x = (x + size) % size;
        y = std::clamp(y, 0, size - 1);
        return s[std::size_t(y) * size + x].height;
    };
    Picture p(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Surface& f = s[std::size_t(y) * size + x];
            if (f.clear) {
                p.SetClear(x, y, true);
                continue;
            }
            const float dx = (H(x + 1, y) - H(x - 1, y)) * 0.5f * relief;
            const float dy = (H(x, y + 1) - H(x, y - 1)) * 0.5f * relief;
            const Light l = Shade(dx, dy, f.shininess);
            const Rgb highlight = Mix(f.base, Rgb{255, 250, 235}, 0.6f);
            p.At(x, y) = f.base * l.diffuse + highlight * (l.specular * f.specular);
        }
    return p;
}

float T(int y, int size) {
    return (float(y) + 0.5f) / float(size);
}

// The default: a classic gilded frame with an outer lip, a cove, a row of
// beads, a textured flat and a stepped sight edge.
Picture ClassicGold(int S) {
    return Render(S, 1.0f, [S](int x, int y) {
        const float t = T(y, S), n = Fbm(float(x) * 8 / S, float(y) * 8 / S, 8, 8, 3, 101);
        const float px = float(S);
        if (In(t, 0.0f, 0.1f)) return Gold(S * (0.34f + 0.06f * Round(Band(t, 0, 0.1f))), n);
        if (In(t, 0.1f, 0.36f))
            return Gold(S * (0.12f + 0.22f * (1 - Cove(1 - Band(t, 0.1f, 0.36f)))), n);
        if (In(t, 0.36f, 0.52f))
            return Gold(S * (0.12f + 0.07f * Bead(float(x), Band(t, 0.36f, 0.52f), px / 8)), n);
        if (In(t, 0.52f, 0.8f)) {
            Surface f = OldGold(
                S * (0.1f + 0.02f * Fbm(float(x) * 16 / S, float(y) * 16 / S, 16, 16, 2, 7)), n);
            return f;
        }
        if (In(t, 0.8f, 0.9f)) return Gold(S * (0.02f + 0.07f * Ogee(Band(t, 0.8f, 0.9f))), n);
        Surface f = OldGold(S * 0.02f * (1 - Band(t, 0.9f, 1.0f)), n);
        f.base = f.base * 0.7f;
        return f;
    });
}

Picture GildedBeads(int S) {
    return Render(S, 1.0f, [S](int x, int y) {
        const float t = T(y, S), n = Fbm(float(x) * 8 / S, float(y) * 8 / S, 8, 8, 3, 102);
        if (In(t, 0.0f, 0.18f)) return Gold(S * 0.22f * Round(Band(t, 0, 0.18f) * 0.5f + 0.5f), n);
        if (In(t, 0.18f, 0.62f))
            return Gold(S * (0.05f + 0.2f * Bead(float(x), Band(t, 0.18f, 0.62f), float(S) / 3)),
                        n);
        if (In(t, 0.62f, 0.85f)) return OldGold(S * 0.08f * Cove(Band(t, 0.62f, 0.85f)), n);
        return Gold(S * 0.06f * Round(Band(t, 0.85f, 1.0f)), n);
    });
}

Picture CarvedWalnut(int S) {
    return Render(S, 0.9f, [S](int x, int y) {
        const float t = T(y, S), g = Grain(x, y, S, 103);
        const Rgb light = Hex(0x7A4E2C), dark = Hex(0x3B2212);
        if (In(t, 0.0f, 0.12f))
            return Wood(S * 0.26f * Round(Band(t, 0, 0.12f) * 0.5f + 0.5f), light, dark, g);
        if (In(t, 0.12f, 0.55f))
            return Wood(
                S * (0.06f + 0.16f * EggAndDart(float(x), Band(t, 0.12f, 0.55f), float(S) / 2)),
                light, dark, g);
        if (In(t, 0.55f, 0.62f)) return Wood(S * 0.04f, light * 0.7f, dark * 0.7f, g);
        if (In(t, 0.62f, 0.88f))
            return Wood(
                S * (0.04f + 0.1f * Leaves(float(x), Band(t, 0.62f, 0.88f), float(S) / 2, 9)),
                light, dark, g);
        Surface f = Gold(S * 0.04f * Round(Band(t, 0.88f, 1.0f)), 0.5f);
        return f;
    });
}

Picture PolishedBlack(int S) {
    return Render(S, 2.5f, [S](int x, int y) {
        const float t = T(y, S), n = Noise(float(x) * 4 / S, float(y) * 4 / S, 4, 4, 104);
        if (In(t, 0.0f, 0.7f)) {
            const float u = Band(t, 0, 0.7f);
            return Lacquer(
                S * 0.3f * std::sqrt(std::max(0.0f, 1 - (u - 0.35f) * (u - 0.35f) * 2.2f)), n);
        }
        if (In(t, 0.7f, 0.82f)) return Lacquer(S * 0.06f * (1 - Band(t, 0.7f, 0.82f)), n);
        return Gold(S * 0.05f * Round(Band(t, 0.82f, 1.0f)), n);
    });
}

Picture SilverLeaf(int S) {
    return Render(S, 1.0f, [S](int x, int y) {
        const float t = T(y, S), n = Fbm(float(x) * 8 / S, float(y) * 8 / S, 8, 8, 3, 105);
        if (In(t, 0.0f, 0.15f))
            return Silver(S * 0.24f * Round(Band(t, 0, 0.15f) * 0.5f + 0.5f), n);
        if (In(t, 0.15f, 0.7f)) {
            // Reeding: fine ribs running along the moulding.
            const float u = Band(t, 0.15f, 0.7f);
            const float rib = std::fabs(std::sin(u * 6 * kPi));
            return Silver(S * (0.2f - 0.12f * u + 0.03f * rib), n);
        }
        Surface f = Silver(S * 0.08f * Cove(1 - Band(t, 0.7f, 1.0f)), n);
        f.base = f.base * 0.78f;
        f.specular = 0.35f;
        return f;
    });
}

Picture GoldRope(int S) {
    return Render(S, 1.0f, [S](int x, int y) {
        const float t = T(y, S), n = Fbm(float(x) * 4 / S, float(y) * 4 / S, 4, 4, 3, 106);
        if (In(t, 0.0f, 0.75f))
            return Gold(S * 0.3f * Rope(float(x), Band(t, 0, 0.75f), float(S) / 2), n);
        return OldGold(S * 0.05f * Round(Band(t, 0.75f, 1.0f)), n);
    });
}

Picture OakBevel(int S) {
    return Render(S, 0.8f, [S](int x, int y) {
        const float t = T(y, S), g = Grain(x, y, S, 107);
        const Rgb light = Hex(0xC89A60), dark = Hex(0x8A5C2E);
        if (In(t, 0.0f, 0.08f)) return Wood(S * 0.3f, light, dark, g);
        // A straight slope down to the photo.
        return Wood(S * 0.3f * (1 - Band(t, 0.08f, 1.0f)), light, dark, g);
    });
}

Picture GoldScoop(int S) {
    return Render(S, 1.0f, [S](int x, int y) {
        const float t = T(y, S), n = Fbm(float(x) * 8 / S, float(y) * 8 / S, 8, 8, 3, 108);
        if (In(t, 0.0f, 0.15f)) return Gold(S * 0.3f * Round(Band(t, 0, 0.15f) * 0.5f + 0.5f), n);
        if (In(t, 0.15f, 0.8f))
            return Gold(S * 0.28f * (1 - Cove(Band(t, 0.15f, 0.8f))) + S * 0.02f, n);
        return OldGold(S * 0.04f * Round(Band(t, 0.8f, 1.0f)), n);
    });
}

Picture BlackBevel(int S) {
    return Render(S, 1.5f, [S](int x, int y) {
        const float t = T(y, S), n = Noise(float(x) * 4 / S, float(y) * 4 / S, 4, 4, 109);
        if (In(t, 0.0f, 0.12f)) return Lacquer(S * 0.25f + S * 0.05f * Round(Band(t, 0, 0.12f)), n);
        if (In(t, 0.12f, 0.85f)) return Lacquer(S * 0.25f * (1 - Band(t, 0.12f, 0.85f)), n);
        return Silver(S * 0.04f * Round(Band(t, 0.85f, 1.0f)), n);
    });
}

// A vine of leaves along the outside edge, the rest see-through.
Picture IvyOverlay(int S) {
    return Render(S, 1.0f, [S](int x, int y) {
        const float t = T(y, S);
        Surface clear;
        clear.clear = true;
        const float fx = float(x) / S;
        // The stem winds along the edge; leaves hang from it on both sides.
        const float stemY = 0.22f + 0.06f * std::sin(fx * 2 * kPi * 2);
        const float d = std::fabs(t - stemY);
        if (d < 0.025f) return Wood(S * 0.02f, Hex(0x5B3A1E), Hex(0x3A2412), 0.5f);
        for (int k = 0; k < 4; ++k) {
            const float cx = (k + 0.5f) / 4;
            const float cy = stemY + ((k % 2) ? 0.13f : -0.1f);
            float dx = fx - cx;
            dx -= std::round(dx);
            const float dy = t - cy;
            // A leaf: an ellipse turned a little, pointed at its tip.
            const float a = (k % 2) ? 0.5f : -0.5f;
            const float rx = dx * std::cos(a) + dy * std::sin(a),
                        ry = -dx * std::sin(a) + dy * std::cos(a);
            const float e = (rx * rx) / (0.075f * 0.075f) +
                            (ry * ry) / (0.12f * 0.12f) * (1 + 2 * std::fabs(rx) / 0.075f);
            if (e < 1) {
                const float vein = std::fabs(rx) < 0.006f ? 0.8f : 1.0f;
                const float n = Noise(float(x) / 4, float(y) / 4, S / 4, S / 4, 110 + k);
                Surface f{S * 0.06f * std::sqrt(1 - e), Mix(Hex(0x1F5E22), Hex(0x4E9A3A), n) * vein,
                          10, 0.35f};
                return f;
            }
        }
        if (t < 0.04f) return OldGold(S * 0.03f, 0.5f);
        return clear;
    });
}

// A gold rope at the outside, see-through inside.
Picture RopeOverlay(int S) {
    return Render(S, 1.0f, [S](int x, int y) {
        const float t = T(y, S), n = Fbm(float(x) * 4 / S, float(y) * 4 / S, 4, 4, 3, 111);
        if (In(t, 0.05f, 0.45f))
            return Gold(S * 0.2f * Rope(float(x), Band(t, 0.05f, 0.45f), float(S) / 2), n);
        if (t < 0.05f) return OldGold(S * 0.02f, n);
        Surface clear;
        clear.clear = true;
        return clear;
    });
}

} // namespace

void WriteMouldings(const std::string& dataDir) {
    const std::string dir = dataDir + "/Ornate";
    const std::string large = dir + "/" + kLargeMouldingFolder;
    std::filesystem::create_directories(large);
    // Each moulding at its own size, and drawn again kLargeMouldingSize
    // pixels square beside it: what a frame wider than the moulding is cut
    // from.
    auto save = [&](Picture (*draw)(int), int size, const char* name) {
        Save(draw(size), dir + "/" + name + ".bmp");
        Save(draw(kLargeMouldingSize), large + "/" + name + ".bmp");
    };
    save(ClassicGold, 72, "_Orn001");
    save(GildedBeads, 60, "Gilded Beads");
    save(CarvedWalnut, 96, "Carved Walnut");
    save(PolishedBlack, 56, "Polished Black");
    save(SilverLeaf, 64, "Silver Leaf");
    save(GoldRope, 48, "Gold Rope");
    save(OakBevel, 60, "Oak Bevel");
    save(GoldScoop, 64, "Gold Scoop Clip");
    save(BlackBevel, 48, "Black Bevel Clip");
    save(IvyOverlay, 80, "Ivy Trn");
    save(RopeOverlay, 64, "Rope Trn");
}

} // namespace quillon
