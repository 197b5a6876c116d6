// The Image menu's pixel commands: gray scale and negative. Both work on the
// 32-bit layout (blue, green, red, a fourth byte they leave alone), row by
// row. The document-level forms also redraw the document's image at its
// scale and leave the changed picture on the clipboard, as every command that
// changes the working bitmap does.
#pragma once

namespace quillon {

class Bitmap;
class TButtonBar;

// Converts picture to PixelFormat::Bgrx32 and gives each pixel the plain mean of its
// three channels, (B + G + R) / 3 truncated: no luminance weighting.
void GrayScale(Bitmap& picture);
// Converts picture to PixelFormat::Bgrx32 and replaces each channel by 255 - value.
void Negative(Bitmap& picture);

// The commands on a document's working bitmap (its display image is turned
// to 32 bits first, then redrawn from the result).
void GrayScalePicture(TButtonBar& document);
void NegativePicture(TButtonBar& document);

} // namespace quillon
