// The drop shadow style, realistic (from the shadow pieces) or flat.
#pragma once

#include "framing/Framer.h"

#include <string>

class TDropShadowFrame : public TPhotoFrame {
public:
    TDropShadowFrame(TImageParent* window, const std::string& fileName, int top, int left,
                     int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                     bool expand, int borderWidth, TColor backgroundColor, int zoomMode,
                     bool fromClipboard);
    void PaintFrame();
};
