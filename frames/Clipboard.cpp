#include "frames/Clipboard.h"

#include "canvas/Bitmap.h"

#include <memory>

namespace quillon {

namespace {

// The in-process store: a private copy of the last bitmap set.
class TMemoryClipboard final : public TClipboard {
public:
    bool HasBitmap() const override { return bitmap_ != nullptr; }
    bool GetBitmap(Bitmap& out) const override {
        if (!bitmap_) return false;
        out.Assign(*bitmap_);
        return true;
    }
    void SetBitmap(const Bitmap& bitmap) override {
        auto copy = std::make_unique<Bitmap>();
        copy->Assign(bitmap);
        if (copy->format() != PixelFormat::Device) copy->SetPixelFormat(PixelFormat::Device);
        copy->Transparent = false;
        bitmap_ = std::move(copy);
    }
    void Clear() override { bitmap_.reset(); }

private:
    std::unique_ptr<Bitmap> bitmap_;
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

} // namespace quillon
