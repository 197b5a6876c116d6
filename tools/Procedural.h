// Procedural drawing for the decoration library: a floating-point picture,
// value noise that can wrap round a tile, and shading of a height field from
// a light in the upper left.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class Bitmap;

namespace proc {

struct Rgb {
    float r = 0, g = 0, b = 0;
};
inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator*(Rgb a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Rgb Mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
// A colour from 0xRRGGBB as written in colour pickers.
Rgb Hex(std::uint32_t rrggbb);

// A picture of floating-point colours (0..255 per channel) with an optional
// "see-through" flag per pixel: see-through pixels are written pure white and
// every other pixel is kept off pure white, so that white-transparent drawing
// shows exactly the intended areas.
class Picture {
public:
    Picture(int width, int height, Rgb fill = {255, 255, 255});
    int Width() const { return w_; }
    int Height() const { return h_; }
    Rgb& At(int x, int y) { return px_[std::size_t(y) * w_ + x]; }
    const Rgb& At(int x, int y) const { return px_[std::size_t(y) * w_ + x]; }
    void SetClear(int x, int y, bool clear) { clear_[std::size_t(y) * w_ + x] = clear; }
    bool IsClear(int x, int y) const { return clear_[std::size_t(y) * w_ + x]; }
    // Marks every pixel see-through (the start of an overlay or Trn moulding).
    void ClearAll();
    // Paints colour over the pixel with coverage a (0..1); a > 0.5 makes it solid.
    void Blend(int x, int y, Rgb colour, float a);
    // A 24-bit bitmap of the picture. Grey pictures (masks) keep exact white.
    void ToBitmap(Bitmap& out, bool keepWhite) const;

private:
    int w_, h_;
    std::vector<Rgb> px_;
    std::vector<std::uint8_t> clear_;
};

// Writes the picture through the program's own picture writers (the file
// kind follows the name).
void Save(const Picture& picture, const std::string& fileName, bool keepWhite = false);
// Writes a picture of artwork on see-through white as a run-length encoded
// 8-bit bitmap: the artwork reduced to at most 255 colours of its own (an
// octree palette, none of them white) and the see-through pixels exactly
// white.
void SaveKeyed(const Picture& picture, const std::string& fileName);

float Clamp01(float v);
float Smoothstep(float e0, float e1, float x);
// A hash of a lattice point into 0..1.
float Hash(int x, int y, std::uint32_t seed);
// Smooth value noise (0..1) whose lattice repeats every periodX by periodY
// cells, so a tile of periodX x periodY cells wraps seamlessly.
float Noise(float x, float y, int periodX, int periodY, std::uint32_t seed);
// Sum of octaves of Noise, each twice the frequency and half the amplitude of
// the one before, normalised to 0..1; the period doubles with the frequency.
float Fbm(float x, float y, int periodX, int periodY, int octaves, std::uint32_t seed);
// Distance to the nearest of a grid of jittered points (cells of one unit,
// wrapping every periodX by periodY cells): the basis of leather and cork.
float Cells(float x, float y, int periodX, int periodY, std::uint32_t seed);

// Brightness of a surface with slope (dx, dy) (height change per pixel to the
// right and downwards) under a light from the upper left: diffuse and
// ambient light in 0..~1.2, and a specular highlight of the given sharpness.
struct Light {
    float diffuse;
    float specular;
};
Light Shade(float dx, float dy, float shininess);

} // namespace proc

} // namespace quillon
