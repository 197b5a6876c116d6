// Placeholder painting until the style is written.
#include "framing/DropShadowFrame.h"

TDropShadowFrame::TDropShadowFrame(TImageParent* window, const std::string& fileName, int top,
                                   int left, int frameWidth, int frameHeight, TColor frameColor,
                                   TColor borderColor, bool expand, int borderWidth,
                                   TColor backgroundColor, int zoomMode, bool fromClipboard)
    : TPhotoFrame(window, fileName, top, left, frameWidth, frameHeight, frameColor, borderColor,
                  expand, borderWidth, backgroundColor, zoomMode, fromClipboard) {
    PaintFrame();
}

void TDropShadowFrame::PaintFrame() {
    ShowOutput();
}
