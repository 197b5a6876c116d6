#include "app/SystemClipboard.h"

#include "app/QtBitmap.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace quillon {

bool SystemClipboard::HasPicture() const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

std::unique_ptr<Bitmap> SystemClipboard::Picture() const {
    if (!HasPicture()) return nullptr;
    const QImage image = QApplication::clipboard()->image();
    if (image.isNull()) return nullptr;
    auto picture = std::make_unique<Bitmap>();
    FromQImage(image, *picture);
    return picture;
}

void SystemClipboard::SetPicture(const Bitmap& picture) {
    QApplication::clipboard()->setImage(ToQImage(picture));
}

void SystemClipboard::Clear() {
    QApplication::clipboard()->clear();
}

} // namespace quillon
