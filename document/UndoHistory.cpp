#include "document/UndoHistory.h"

namespace quillon {

UndoEntry& UndoHistory::Push(const Bitmap& picture, Zoom zoom, const std::string& caption) {
    newest_ = (newest_ + 1) % kCapacity;
    if (count_ < kCapacity) ++count_;
    UndoEntry& entry = entries_[std::size_t(newest_)];
    // The entry given up goes first, so that its memory serves the new one.
    entry.picture.Clear();
    entry.picture.Pack(picture);
    entry.zoom = zoom;
    entry.windowWidth = entry.windowHeight = 0;
    entry.caption = caption;
    return entry;
}

void UndoHistory::Pop() {
    if (count_ == 0) return;
    entries_[std::size_t(newest_)].picture.Clear();
    --count_;
    newest_ = (newest_ + kCapacity - 1) % kCapacity;
}

} // namespace quillon
