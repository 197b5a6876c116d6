#include "app/QtBitmap.h"

namespace quillon {

QImage ToQImage(const Bitmap& bitmap) {
    return ToQImage(bitmap, 0, 0, bitmap.Width(), bitmap.Height());
}

QImage ToQImage(const Bitmap& bitmap, int left, int top, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return image;
    const PixelFormat format = bitmap.format();
    const int bpp = bitmap.BytesPerPixel();
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const std::uint8_t* in = bitmap.ScanLine(top + y) + std::size_t(left) * std::size_t(bpp);
        if (format == PixelFormat::Device || format == PixelFormat::Bgrx32) {
            for (int x = 0; x < width; ++x, in += 4) out[x] = qRgb(in[2], in[1], in[0]);
        } else if (format == PixelFormat::Bgr24) {
            for (int x = 0; x < width; ++x, in += 3) out[x] = qRgb(in[2], in[1], in[0]);
        } else {
            const auto& palette = bitmap.Palette();
            for (int x = 0; x < width; ++x) {
                const Color c = in[x] < palette.size() ? palette[in[x]] : kBlack;
                out[x] = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
            }
        }
    }
    return image;
}

void FromQImage(const QImage& image, Bitmap& bitmap) {
    CheckPictureSize(image.width(), image.height());
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Bitmap result(rgb.width(), rgb.height(), PixelFormat::Device);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* out = result.ScanLine(y);
        for (int x = 0; x < rgb.width(); ++x, out += 4) {
            out[0] = std::uint8_t(qBlue(in[x]));
            out[1] = std::uint8_t(qGreen(in[x]));
            out[2] = std::uint8_t(qRed(in[x]));
            out[3] = 0;
        }
    }
    bitmap.SwapPicture(result);
}

} // namespace quillon
