// Placeholder painting until the style is written.
#include "framing/Ornate.h"

TOrnateFrame::TOrnateFrame(TImageParent* window, const std::string& fileName, int top, int left,
                           int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                           bool expand, int borderWidth, TColor backgroundColor,
                           const std::string& decorationFile, int zoomMode, bool fromClipboard)
    : TPhotoFrame(window, fileName, top, left, frameWidth, frameHeight, frameColor, borderColor,
                  expand, borderWidth, backgroundColor, zoomMode, fromClipboard) {
    SetPattern(decorationFile);
    PaintFrame();
}

void TOrnateFrame::PaintFrame() {
    ShowOutput();
}
