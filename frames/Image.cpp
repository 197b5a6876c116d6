#include "frames/Image.h"

namespace quillon {

void TImage::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TImage::Refresh() {
    if (Parent) Parent->ImageChanged();
}

} // namespace quillon
