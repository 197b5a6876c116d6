#include "document/ClipboardPort.h"

#include "canvas/Bitmap.h"
#include "frames/FrameStyle.h"

namespace quillon {

MemoryClipboard::MemoryClipboard() = default;
MemoryClipboard::~MemoryClipboard() = default;

std::unique_ptr<Bitmap> MemoryClipboard::Picture() const {
    return picture_ ? ScreenCopy(*picture_) : nullptr;
}

void MemoryClipboard::SetPicture(const Bitmap& picture) {
    picture_ = ScreenCopy(picture);
}

} // namespace quillon
