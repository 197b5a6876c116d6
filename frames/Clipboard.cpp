#include "frames/Clipboard.h"

#include "canvas/Bitmap.h"

#include <memory>

namespace {

// The in-process store: a private copy of the last bitmap set.
class TMemoryClipboard final : public TClipboard {
public:
    bool HasBitmap() const override { return bitmap_ != nullptr; }
    bool GetBitmap(TBitmap& out) const override {
        if (!bitmap_) return false;
        out.Assign(*bitmap_);
        return true;
    }
    void SetBitmap(const TBitmap& bitmap) override {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(bitmap);
        if (copy->PixelFormat() != pfDevice) copy->SetPixelFormat(pfDevice);
        copy->Transparent = false;
        bitmap_ = std::move(copy);
    }
    void Clear() override { bitmap_.reset(); }

private:
    std::unique_ptr<TBitmap> bitmap_;
};

TMemoryClipboard& MemoryClipboard() {
    static TMemoryClipboard store;
    return store;
}

TClipboard* current = nullptr;

} // namespace

TClipboard& Clipboard() {
    return current ? *current : MemoryClipboard();
}

void SetClipboard(TClipboard* clipboard) {
    current = clipboard;
}
