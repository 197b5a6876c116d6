#include "document/UndoHistory.h"

namespace quillon {

std::shared_ptr<const PackedPicture> PackPhoto(const Bitmap& photo) {
    auto packed = std::make_shared<PackedPicture>();
    packed->Pack(photo);
    return packed;
}

void UndoHistory::Push(UndoState state) {
    states_.push_back(std::move(state));
    if (states_.size() > std::size_t(kCapacity)) states_.pop_front();
}

UndoState UndoHistory::Pop() {
    if (states_.empty()) return {};
    UndoState state = std::move(states_.back());
    states_.pop_back();
    return state;
}

} // namespace quillon
