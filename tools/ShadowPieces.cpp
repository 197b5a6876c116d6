// The five drop-shadow pieces: the soft shadow of the photo's rectangle cast
// a few pixels down and to the right, blurred with a gaussian, over a white
// background. Every piece is kPiece x kPiece pixels; the drawing code places
// them right of and below the photo:
//   ru.res - upper end of the right shadow, drawn 4 pixels below the photo's
//            top, fading in downward;
//   rc.res - the right run, tiled down;
//   rl.res - the corner below and right of the photo;
//   ll.res - left end of the bottom shadow, drawn 4 pixels right of the
//            photo's left edge, fading in rightward;
//   lc.res - the bottom run, tiled across.
// Across a run the shadow fades out away from the photo; along it, it fades
// in at the ends. Coordinates below are pixel centres measured from the
// photo's right (or bottom) edge across, and from its top (or left) edge
// along.
#include "tools/MakeData.h"

#include "canvas/Bitmap.h"
#include "formats/Formats.h"

#include <cmath>
#include <functional>

namespace quillon {

namespace {
constexpr int kPiece = 16;
// The piece's offset from the photo's top or left edge along a run.
constexpr double kAlongOffset = 4;
// Where the blurred shadow's edges lie: across, kAcross pixels out from the
// photo; along, kAlongStart pixels in from its top or left edge.
constexpr double kAcross = 6;
constexpr double kAlongStart = 12;
constexpr double kSigma = kPiece / 6.0;
// Darkest shadow, as the amount taken off white.
constexpr double kDarkness = 110;

// Share of a gaussian-blurred half-plane edge at distance d inside it.
double Edge(double d) {
    return 0.5 * std::erfc(-d / (kSigma * std::sqrt(2.0)));
}

double Across(int i) {
    return Edge(kAcross - (i + 0.5));
}
double Along(int i) {
    return Edge(kAlongOffset + i + 0.5 - kAlongStart);
}

void WritePiece(const std::string& path, const std::function<double(int x, int y)>& shade) {
    Bitmap piece(kPiece, kPiece, PixelFormat::Bgr24);
    for (int y = 0; y < kPiece; ++y)
        for (int x = 0; x < kPiece; ++x) {
            const int v = int(std::lround(255.0 - kDarkness * shade(x, y)));
            piece.SetPixel(x, y, RGB(v, v, v));
        }
    SaveBmpFile(piece, path);
}
} // namespace

void WriteShadowPieces(const std::string& dataDir) {
    const std::string d = dataDir + "/";
    WritePiece(d + "ru.res", [](int x, int y) { return Across(x) * Along(y); });
    WritePiece(d + "rc.res", [](int x, int) { return Across(x); });
    WritePiece(d + "rl.res", [](int x, int y) { return Across(x) * Across(y); });
    WritePiece(d + "ll.res", [](int x, int y) { return Along(x) * Across(y); });
    WritePiece(d + "lc.res", [](int, int y) { return Across(y); });
}

} // namespace quillon
