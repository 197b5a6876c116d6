// The clipboard as the engine sees it: at most one bitmap. The engine hands
// the working picture to new frame objects through it. By default an
// in-process store serves; the desktop program installs the system clipboard.
#pragma once

namespace quillon {

class Bitmap;

class TClipboard {
public:
    virtual ~TClipboard() = default;
    virtual bool HasBitmap() const = 0;
    // Copies the clipboard's bitmap into out (PixelFormat::Device); returns false and
    // leaves out alone when there is none.
    virtual bool GetBitmap(Bitmap& out) const = 0;
    // Replaces the whole clipboard content by a copy of bitmap.
    virtual void SetBitmap(const Bitmap& bitmap) = 0;
    virtual void Clear() = 0;
};

// The clipboard the engine uses now.
TClipboard& Clipboard();
// Installs another clipboard (not owned); null restores the in-process store.
void SetClipboard(TClipboard* clipboard);

} // namespace quillon
