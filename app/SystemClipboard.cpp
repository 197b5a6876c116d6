#include "app/SystemClipboard.h"

#include "app/ClipboardPicture.h"
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
    // Our own copy comes back as the pixels it was made of.
    if (const auto* own =
            qobject_cast<const ClipboardPicture*>(QApplication::clipboard()->mimeData())) {
        auto picture = std::make_unique<Bitmap>();
        picture->Assign(*own->picture());
        return picture;
    }
    const QImage image = QApplication::clipboard()->image();
    if (image.isNull()) return nullptr;
    auto picture = std::make_unique<Bitmap>();
    FromQImage(image, *picture);
    return picture;
}

void SystemClipboard::SetPicture(const Bitmap& picture) {
    auto pixels = std::make_shared<Bitmap>();
    pixels->Assign(picture);
    QApplication::clipboard()->setMimeData(
        new ClipboardPicture(std::shared_ptr<const Bitmap>(std::move(pixels))));
}

void SystemClipboard::Clear() {
    QApplication::clipboard()->clear();
}

} // namespace quillon
