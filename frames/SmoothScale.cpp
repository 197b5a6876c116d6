#include "frames/SmoothScale.h"

#include <stb_image_resize.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace quillon {

void SmoothScale(const Bitmap& source, Bitmap& result, int width, int height, bool whiteIsClear) {
    if (width < 1 || height < 1) throw std::invalid_argument("a scaled piece needs a size");
    CheckPictureSize(width, height);
    Bitmap in;
    in.Assign(source);
    in.SetPixelFormat(PixelFormat::Bgrx32);
    const int w = in.Width(), h = in.Height();
    Bitmap out(width, height, PixelFormat::Bgrx32);
    if (w < 1 || h < 1) {
        result.SwapPicture(out);
        return;
    }

    // Blue, green, red and a coverage byte per pixel: opaque, or none for
    // the see-through white, so that the resampler weighs colours by it.
    std::vector<std::uint8_t> pixels(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = in.ScanLine(y);
        std::uint8_t* d = pixels.data() + std::size_t(y) * w * 4;
        for (int x = 0; x < w; ++x, s += 4, d += 4) {
            const bool clear = whiteIsClear && s[0] == 255 && s[1] == 255 && s[2] == 255;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            d[3] = clear ? 0 : 255;
        }
    }
    std::vector<std::uint8_t> scaled(std::size_t(width) * height * 4);
    if (!stbir_resize_uint8_generic(pixels.data(), w, h, w * 4, scaled.data(), width, height,
                                    width * 4, 4, 3, 0, STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT,
                                    STBIR_COLORSPACE_LINEAR, nullptr))
        throw std::runtime_error("the decoration piece could not be scaled");
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* s = scaled.data() + std::size_t(y) * width * 4;
        std::uint8_t* d = out.ScanLine(y);
        for (int x = 0; x < width; ++x, s += 4, d += 4) {
            if (whiteIsClear && s[3] < 128) {
                d[0] = d[1] = d[2] = 255;
            } else if (whiteIsClear && s[0] == 255 && s[1] == 255 && s[2] == 255) {
                d[0] = d[1] = d[2] = 254; // visible, so not the see-through white
            } else {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
            d[3] = 0;
        }
    }
    result.SwapPicture(out);
}

int ScaledLength(int n, int to, int from) {
    // Past the largest picture side every length is refused alike.
    const double v = std::round(double(n) * to / from);
    return int(std::min(v, double(kMaxPictureSide + 1)));
}

} // namespace quillon
