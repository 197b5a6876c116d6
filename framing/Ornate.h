// Ornate frames: a picture of a frame moulding cut into eight pieces (TOrnateFrames)
// and rebuilt round the photo (TOrnateFrame).
#pragma once

#include "framing/Framer.h"

#include <string>

class TOrnateFrame : public TPhotoFrame {
public:
    TOrnateFrame(TImageParent* window, const std::string& fileName, int top, int left,
                 int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                 bool expand, int borderWidth, TColor backgroundColor,
                 const std::string& decorationFile, int zoomMode, bool fromClipboard);
    void PaintFrame();
};
