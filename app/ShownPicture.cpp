#include "app/ShownPicture.h"

#include "app/QtBitmap.h"
#include "canvas/Bitmap.h"
#include "canvas/BlockAverages.h"

#include <algorithm>

#include <QPainter>

namespace quillon {

QImage ShownPicture::source(const Bitmap& picture) {
    const PixelFormat format = picture.format();
    if (format == PixelFormat::Device || format == PixelFormat::Bgrx32)
        return QImage(picture.Bits(), picture.Width(), picture.Height(),
                      qsizetype(picture.Stride()), QImage::Format_RGB32);
    if (converted_.isNull()) converted_ = ToQImage(picture);
    return converted_;
}

QImage BlockAverages(const QImage& picture, int factor) {
    if (picture.format() != QImage::Format_RGB32)
        return BlockAverages(picture.convertToFormat(QImage::Format_RGB32), factor);
    factor = std::clamp(factor, 1, 256);
    const int w = (picture.width() + factor - 1) / factor;
    const int h = (picture.height() + factor - 1) / factor;
    QImage small(w, h, QImage::Format_RGB32);
    if (small.isNull()) return small;
    AverageBlocks({picture.constBits(), std::size_t(picture.bytesPerLine()), picture.width(),
                   picture.height()},
                  factor, small.bits(), std::size_t(small.bytesPerLine()), w, h, 0xFF);
    return small;
}

const QImage& ShownPicture::scaled(const Bitmap& picture, const QSize& shown) {
    if (scaledValid_ && scaled_.size() == shown) return scaled_;
    const QImage full = source(picture);
    // At its own size the picture is shown as it is, wrapped afresh at each
    // paint rather than kept, so no view outlives the pixels it shares.
    if (full.size() == shown) {
        scaled_ = full;
        scaledValid_ = false;
        return scaled_;
    }
    // Much smaller: blocks of the picture are averaged first (on every core),
    // and the smooth scaling has the last step only.
    const int factor =
        shown.isEmpty()
            ? 1
            : std::min({full.width() / shown.width(), full.height() / shown.height(), 256});
    const QImage start = factor >= 2 ? BlockAverages(full, factor) : full;
    scaled_ = start.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaledValid_ = true;
    return scaled_;
}

void ShownPicture::invalidate() {
    converted_ = QImage();
    scaled_ = QImage();
    scaledValid_ = false;
}

QImage MagnifiedPart(const QImage& picture, double scale, const QRect& deviceArea) {
    QImage part(deviceArea.size(), QImage::Format_RGB32);
    if (part.isNull()) return part;
    part.fill(Qt::black);
    QPainter painter(&part);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.translate(-deviceArea.topLeft());
    painter.scale(scale, scale);
    // Only the picture pixels under the area are drawn.
    const QRect pixels = QRectF(deviceArea.x() / scale, deviceArea.y() / scale,
                                deviceArea.width() / scale, deviceArea.height() / scale)
                             .toAlignedRect()
                             .intersected(picture.rect());
    painter.drawImage(QRectF(pixels), picture, QRectF(pixels));
    return part;
}

} // namespace quillon
