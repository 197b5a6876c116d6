// The jagged edge style: the photo's four edges torn by random zigzag
// polygons, filled with the frame colour or a pattern and outlined with the
// border colour. Every paint draws fresh edges from a generator seeded with
// the current time in seconds (or a fixed seed), so two paints within the same
// second give the same edges.
//
// A thickness below 2 is raised to 2 by the paint and keeps that value.
#pragma once

#include "frames/FrameStyle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class JaggedFrame final : public FrameStyle {
public:
    JaggedFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
    void ChangeBorderWidth(int v) override { SetBorderWidth(v); }

    // The random seed of every paint; none: the current time in seconds.
    std::optional<std::uint32_t> Seed;
};

// The 15-bit linear congruential generator of the torn edges.
class JaggedRandom {
public:
    // Sets the state to seed and discards one draw.
    void Seed(std::uint32_t seed) {
        state_ = seed;
        Next();
    }
    // Advances the state and returns bits 16..30 of it (0 .. 32767).
    int Next() {
        state_ = state_ * 22695477u + 1u;
        return int((state_ >> 16) & 0x7FFF);
    }

private:
    std::uint32_t state_ = 0;
};

// The four torn-edge polygons (top, bottom, left, right) of a W x H output
// with edge depths fw across the top and bottom steps and fh down the sides,
// drawn from rng in the order the paint uses. Each polygon starts at its
// corner, runs along the torn points and is closed by two final points. The
// lists grow as needed, however small the steps and large the picture.
// fw and fh must be at least 1.
std::vector<std::vector<Point>> JaggedEdgePolygons(int W, int H, int fw, int fh,
                                                   JaggedRandom& rng);

} // namespace quillon
