// UndoHistory: the last ten states of a document's photo, newest first out.
// Each entry keeps a copy of the photo, compressed (PackedPicture), the size
// of the window that showed it, and the caption the Undo command shows for
// it. Ten states of a large photo thus take a fraction of ten copies of it.
// How the photo was zoomed is the view's business and is not recorded.
#pragma once

#include "canvas/Bitmap.h"
#include "document/PackedPicture.h"

#include <array>
#include <string>

namespace quillon {

struct UndoEntry {
    PackedPicture picture; // Unpack gives the photo back
    int windowWidth = 0;
    int windowHeight = 0;
    std::string caption;
};

class UndoHistory {
public:
    static constexpr int kCapacity = 10;

    // Records a compressed copy of picture; with ten entries held, the
    // oldest goes.
    // Returns the new entry for the caller to complete.
    UndoEntry& Push(const Bitmap& picture, const std::string& caption);
    bool Empty() const { return count_ == 0; }
    int Count() const { return count_; }
    // The newest entry; only while not Empty.
    UndoEntry& Newest() { return entries_[std::size_t(newest_)]; }
    const UndoEntry& Newest() const { return entries_[std::size_t(newest_)]; }
    // Forgets the newest entry (after restoring it).
    void Pop();
    void Clear() { count_ = 0; }

private:
    std::array<UndoEntry, kCapacity> entries_;
    int count_ = 0;
    int newest_ = kCapacity - 1;
};

} // namespace quillon
