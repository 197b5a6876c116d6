#include "app/ShownPicture.h"

#include "app/QtBitmap.h"
#include "canvas/Bitmap.h"

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

const QImage& ShownPicture::scaled(const Bitmap& picture, const QSize& shown) {
    if (scaledValid_ && scaled_.size() == shown) return scaled_;
    const QImage full = source(picture);
    // At its own size the picture is shown as it is, wrapped afresh at each
    // paint rather than kept, so no view outlives the pixels it shares.
    scaled_ = full.size() == shown
                  ? full
                  : full.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaledValid_ = full.size() != shown;
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
