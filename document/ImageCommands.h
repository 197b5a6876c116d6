// The Image menu's pixel commands: gray scale and negative. Both work on the
// 32-bit layout (blue, green, red, a fourth byte they leave alone), row by
// row.
#pragma once

namespace quillon {

class Bitmap;

// Converts picture to PixelFormat::Bgrx32 and gives each pixel the plain mean of its
// three channels, (B + G + R) / 3 truncated: no luminance weighting.
void GrayScale(Bitmap& picture);
// Converts picture to PixelFormat::Bgrx32 and replaces each channel by 255 - value.
void Negative(Bitmap& picture);

} // namespace quillon
