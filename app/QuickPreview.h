// QuickPreview: a frame drawn small, to show while the person is still
// changing its settings on a large photo seen zoomed out. The photo is
// shrunk once by a whole factor (each pixel the mean of a factor x factor
// block), and the document's current style is drawn on it with its lengths
// divided by the factor. What it shows is near the real frame, not equal to
// it: the real one is drawn once the changes pause.
#pragma once

#include "canvas/Bitmap.h"

#include <memory>

namespace quillon {

class PhotoDocument;

// picture shrunk by factor (at least 1): each pixel the rounded mean of a
// factor x factor block; the blocks at the right and bottom edges that the
// factor does not fill are left out. In the screen layout.
std::unique_ptr<Bitmap> ShrinkByBlocks(const Bitmap& picture, int factor);

class QuickPreview {
public:
    // The current style of document drawn on its photo shrunk by factor;
    // null while the document has no style.
    const Bitmap* Render(const PhotoDocument& document, int factor);
    // The photo changed: the shrunk copy goes.
    void Reset();

private:
    std::unique_ptr<PhotoDocument> small_;
    const PhotoDocument* document_ = nullptr;
    int sourceWidth_ = 0, sourceHeight_ = 0, factor_ = 0;
};

} // namespace quillon
