// Placeholder: the raster operations are being written.
#include "framing/Canvas.h"

#include "framing/Bitmap.h"

#include <stdexcept>

namespace {
[[noreturn]] void NotYet(const char* what) {
    throw std::logic_error(std::string("TCanvas::") + what + " is not implemented yet");
}
} // namespace

void TCanvas::Draw(int, int, const TBitmap&) {
    NotYet("Draw");
}
void TCanvas::StretchDraw(const TRect&, const TBitmap&) {
    NotYet("StretchDraw");
}
void TCanvas::CopyRect(const TRect&, TCanvas&, const TRect&) {
    NotYet("CopyRect");
}
void TCanvas::Rectangle(int, int, int, int) {
    NotYet("Rectangle");
}
void TCanvas::FillRect(const TRect&) {
    NotYet("FillRect");
}
void TCanvas::FrameRect(const TRect&) {
    NotYet("FrameRect");
}
void TCanvas::Ellipse(int, int, int, int) {
    NotYet("Ellipse");
}
void TCanvas::Polygon(std::span<const TPoint>) {
    NotYet("Polygon");
}
void TCanvas::Polyline(std::span<const TPoint>) {
    NotYet("Polyline");
}
void TCanvas::MoveTo(int x, int y) {
    PenPos = {x, y};
}
void TCanvas::LineTo(int, int) {
    NotYet("LineTo");
}
void TCanvas::FloodFill(int, int, TColor, TFillStyle) {
    NotYet("FloodFill");
}
TColor TCanvas::Pixel(int x, int y) const {
    return bitmap_.Pixel(x, y);
}
void TCanvas::SetPixel(int x, int y, TColor c) {
    bitmap_.SetPixel(x, y, c);
}
