// The grayscale style: the inner area of the photo faded to grey.
#pragma once

#include "framing/Framer.h"

#include <string>

class TGrayscaleFrame : public TPhotoFrame {
public:
    TGrayscaleFrame(TImageParent* window, const std::string& fileName, int top, int left,
                    int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                    bool expand, int borderWidth, TColor backgroundColor, int zoomMode,
                    bool fromClipboard);
    void PaintFrame();
};
