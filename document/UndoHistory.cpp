#include "document/UndoHistory.h"

namespace quillon {

UndoEntry& UndoHistory::Push(const Bitmap& picture, const std::string& caption) {
    // Packed before anything changes: a push that fails (out of memory)
    // leaves the history as it was, with no entry lacking its picture.
    PackedPicture packed;
    packed.Pack(picture);
    newest_ = (newest_ + 1) % kCapacity;
    if (count_ < kCapacity) ++count_;
    UndoEntry& entry = entries_[std::size_t(newest_)];
    entry.picture = std::move(packed);
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
