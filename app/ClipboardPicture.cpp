#include "app/ClipboardPicture.h"

#include "app/QtBitmap.h"
#include "formats/Formats.h"

#include <QImage>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <span>

namespace quillon {

namespace {

// Qt's in-process image type, which QClipboard::image() and hasImage() use.
constexpr const char* kQtImageType = "application/x-qt-image";

QByteArray Encoded(const Bitmap& picture, SaveFormat format) {
    try {
        const std::vector<std::uint8_t> bytes = EncodePicture(picture, format);
        return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    } catch (const std::exception&) {
        // A picture the encoder refuses is offered as nothing in that format.
        return {};
    }
}

} // namespace

ClipboardPicture::ClipboardPicture(std::shared_ptr<const Bitmap> picture)
    : picture_(std::move(picture)) {
    // The worker holds its own reference to the pixels, so the encoding may
    // outlive this object (the clipboard replaced meanwhile) harmlessly.
    std::shared_ptr<const Bitmap> pixels = picture_;
    png_ = QtConcurrent::run([pixels] { return Encoded(*pixels, SaveFormat::Png); });
}

ClipboardPicture::~ClipboardPicture() = default;

QStringList ClipboardPicture::formats() const {
    // The cheap formats first: a program taking the first one it knows is
    // served at once.
    return {kQtImageType, kBmpType, kPngType};
}

bool ClipboardPicture::hasFormat(const QString& mimeType) const {
    return formats().contains(mimeType);
}

QVariant ClipboardPicture::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType == kQtImageType ||
        (type.id() == QMetaType::QImage && mimeType.startsWith("image/")))
        return ToQImage(*picture_);
    if (mimeType == kBmpType) return Encoded(*picture_, SaveFormat::Bmp);
    if (mimeType == kPngType) return png_.result();
    return {};
}

} // namespace quillon
