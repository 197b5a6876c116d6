#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

namespace quillon {

Brush::Brush() = default;
Brush::~Brush() = default;

void Brush::SetColor(Color c) {
    color_ = c;
    pattern_.reset();
    style_ = BrushStyle::Solid;
}

void Brush::SetStyle(BrushStyle s) {
    style_ = s;
    if (s == BrushStyle::Clear) {
        pattern_.reset();
        color_ = kWhite;
    }
}

void Brush::SetBitmap(const Bitmap* pattern) {
    if (!pattern || pattern->Empty()) {
        pattern_.reset();
    } else {
        auto copy = std::make_unique<Bitmap>();
        copy->Assign(*pattern);
        copy->SetPixelFormat(PixelFormat::Bgrx32);
        copy->Transparent = false;
        pattern_ = std::move(copy);
    }
    color_ = kWhite;
    style_ = BrushStyle::Solid;
}

} // namespace quillon
