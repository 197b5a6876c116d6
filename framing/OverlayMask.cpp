// Placeholder painting until the style is written.
#include "framing/OverlayMask.h"

TOverlayFrame::TOverlayFrame(TImageParent* window, const std::string& fileName, int top, int left,
                             int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                             bool expand, int borderWidth, TColor backgroundColor,
                             const std::string& decorationFile, int zoomMode, bool fromClipboard)
    : TPhotoFrame(window, fileName, top, left, frameWidth, frameHeight, frameColor, borderColor,
                  expand, borderWidth, backgroundColor, zoomMode, fromClipboard) {
    SetPattern(decorationFile);
    PaintFrame();
}

void TOverlayFrame::PaintFrame() {
    ShowOutput();
}

TMaskFrame::TMaskFrame(TImageParent* window, const std::string& fileName, int top, int left,
                       int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                       bool expand, int borderWidth, TColor backgroundColor,
                       const std::string& decorationFile, int zoomMode, bool fromClipboard)
    : TPhotoFrame(window, fileName, top, left, frameWidth, frameHeight, frameColor, borderColor,
                  expand, borderWidth, backgroundColor, zoomMode, fromClipboard) {
    SetBrightness(1);
    SetPattern(decorationFile);
    PaintFrame();
}

void TMaskFrame::PaintFrame() {
    ShowOutput();
}

void TMaskFrame::SetBrightness(int value) {
    if (value >= 0 && value <= 255) Brightness = value;
}
