// The clipboard as the document's copy and paste commands see it: at most
// one picture. The desktop program passes the system clipboard; the command
// line and the tests pass a MemoryClipboard.
#pragma once

#include <memory>

namespace quillon {

class Bitmap;

class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    virtual bool HasPicture() const = 0;
    // A copy of the clipboard's picture, or null when it holds none.
    virtual std::unique_ptr<Bitmap> Picture() const = 0;
    // Replaces the clipboard's content by a copy of picture.
    virtual void SetPicture(const Bitmap& picture) = 0;
};

// A clipboard private to the process.
class MemoryClipboard final : public ClipboardPort {
public:
    MemoryClipboard();
    ~MemoryClipboard() override;
    bool HasPicture() const override { return picture_ != nullptr; }
    std::unique_ptr<Bitmap> Picture() const override;
    void SetPicture(const Bitmap& picture) override;

private:
    std::unique_ptr<Bitmap> picture_;
};

} // namespace quillon
