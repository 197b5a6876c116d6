// UndoHistory: the last ten states of a framing, for Undo, newest last. A
// state holds the photo packed (PackedPicture) and shared with the states
// that did not change it, so that a step that changed only frames costs no
// pixels; the frame stack's groups; the record of the framing; the caption
// the Undo command shows for it and the size of the window that showed it.
// How the photo was zoomed is the view's business and is not recorded.
#pragma once

#include "document/FrameStack.h"
#include "document/FramingRecord.h"
#include "document/PackedPicture.h"
#include "document/PhotoDocument.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace quillon {

struct UndoState {
    std::shared_ptr<const PackedPicture> photo;
    FrameStack::State stack;
    FramingRecord record;
    std::string caption;
    int windowWidth = 0;
    int windowHeight = 0;
    // Kept for Redo: the document of the edit bar as Undo found it (a frame
    // in progress with its settings), the stacked group it was editing, and
    // that group's record.
    std::unique_ptr<PhotoDocument> document;
    std::optional<std::size_t> editing;
    FramingRecord editRecord;
};

// photo packed for the states that share it. Packing is done before a state
// is pushed, so a push that fails (out of memory) leaves the history as it
// was.
std::shared_ptr<const PackedPicture> PackPhoto(const Bitmap& photo);

class UndoHistory {
public:
    static constexpr int kCapacity = 10;

    // state becomes the newest; with ten held, the oldest goes.
    void Push(UndoState state);
    bool Empty() const { return states_.empty(); }
    int Count() const { return int(states_.size()); }
    // The newest state; only while not Empty.
    const UndoState& Newest() const { return states_.back(); }
    // Takes the newest state out; an empty state when there is none.
    UndoState Pop();
    void Clear() { states_.clear(); }

private:
    std::deque<UndoState> states_;
};

} // namespace quillon
