// PackedPicture: a picture kept compressed, for the undo history. A photo
// held ten times over would take more memory than many machines can spare,
// so each copy is kept as its rows compressed (colour pixels split into one
// plane per byte of the pixel, each byte as its difference from the same
// byte of the pixel to its left, blue and red less green's difference; then
// zstd), and made whole
// again only when it is needed. Unpacking gives back exactly the picture
// that was packed: size, format, palette, every byte of every pixel, and
// its transparent colour, as Bitmap::Assign copies them.
#pragma once

#include "canvas/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

class PackedPicture {
public:
    // Replaces what is held with picture, compressed.
    void Pack(const Bitmap& picture);
    // A new bitmap holding the packed picture.
    std::unique_ptr<Bitmap> Unpack() const;
    void Clear();

    int Width() const { return width_; }
    int Height() const { return height_; }
    PixelFormat format() const { return format_; }
    // The bytes the compressed rows take.
    std::size_t PackedBytes() const;

private:
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Device;
    std::vector<Color> palette_;
    bool transparent_ = false;
    Color transparentColor_ = kWhite;
    int rowsPerBand_ = 0;
    // Bands of rowsPerBand_ rows, each compressed on its own.
    std::vector<std::vector<std::uint8_t>> bands_;
};

} // namespace quillon
