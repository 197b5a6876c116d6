// ClipboardPicture: the picture Edit > Copy offers on the system clipboard.
// It holds an immutable copy of the pixels, shared with the encoders, and
// turns it into a format only when a program asks for that format: BMP
// (a header and the rows, cheap enough to serve at once) and Qt's own image
// are made on demand; PNG, which takes long on a large photo, is encoded on
// a worker thread from the moment of the copy and served when it is ready.
// Pasting into this program takes the shared pixels as they are.
#pragma once

#include "canvas/Bitmap.h"

#include <QFuture>
#include <QMimeData>

#include <memory>

namespace quillon {

class ClipboardPicture final : public QMimeData {
    Q_OBJECT
public:
    explicit ClipboardPicture(std::shared_ptr<const Bitmap> picture);
    ~ClipboardPicture() override;

    const std::shared_ptr<const Bitmap>& picture() const { return picture_; }

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

    static constexpr const char* kBmpType = "image/bmp";
    static constexpr const char* kPngType = "image/png";

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    std::shared_ptr<const Bitmap> picture_;
    // The PNG bytes, being encoded on a worker thread.
    QFuture<QByteArray> png_;
};

} // namespace quillon
