#include "document/UndoHistory.h"

namespace quillon {

UndoEntry& UndoHistory::Push(const Bitmap& picture, const std::string& caption) {
    newest_ = (newest_ + 1) % kCapacity;
    if (count_ < kCapacity) ++count_;
    UndoEntry& entry = entries_[std::size_t(newest_)];
    entry.picture.Assign(picture);
    entry.windowWidth = entry.windowHeight = 0;
    entry.caption = caption;
    return entry;
}

void UndoHistory::Pop() {
    if (count_ == 0) return;
    --count_;
    newest_ = (newest_ + kCapacity - 1) % kCapacity;
}

} // namespace quillon
