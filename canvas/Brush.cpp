#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::SetColor(TColor c) {
    color_ = c;
    pattern_.reset();
    style_ = bsSolid;
}

void TBrush::SetStyle(TBrushStyle s) {
    style_ = s;
    if (s == bsClear) {
        pattern_.reset();
        color_ = clWhite;
    }
}

void TBrush::SetBitmap(const TBitmap* pattern) {
    if (!pattern || pattern->Empty()) {
        pattern_.reset();
    } else {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(*pattern);
        copy->SetPixelFormat(pf32bit);
        copy->Transparent = false;
        pattern_ = std::move(copy);
    }
    color_ = clWhite;
    style_ = bsSolid;
}
