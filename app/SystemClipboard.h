// SystemClipboard: the desktop's clipboard as the document's copy and paste
// commands see it. It holds a picture when the clipboard offers an image in
// any of Qt's image formats; every other content counts as no picture. A
// copy is offered as a ClipboardPicture, encoded only when asked for.
#pragma once

#include "document/ClipboardPort.h"

namespace quillon {

class SystemClipboard final : public ClipboardPort {
public:
    bool HasPicture() const override;
    // Throws PictureError when the clipboard's image is over the size limit.
    std::unique_ptr<Bitmap> Picture() const override;
    void SetPicture(const Bitmap& picture) override;
    // Empties the clipboard (for tests and tours that start from nothing).
    void Clear();
};

} // namespace quillon
