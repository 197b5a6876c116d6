// The box style: flat or gradient faces round the photo.
#pragma once

#include "framing/Framer.h"

#include <string>

class TBoxFrame : public TPhotoFrame {
public:
    TBoxFrame(TImageParent* window, const std::string& fileName, int top, int left, int frameWidth,
              int frameHeight, TColor frameColor, TColor borderColor, bool expand, int borderWidth,
              TColor backgroundColor, int zoomMode, bool fromClipboard);
    void PaintFrame();
};
