// The 3D button style: a bevel applied to the photo's edge.
#pragma once

#include "framing/Framer.h"

#include <string>

class T3DFrame : public TPhotoFrame {
public:
    T3DFrame(TImageParent* window, const std::string& fileName, int top, int left, int frameWidth,
             int frameHeight, TColor frameColor, TColor borderColor, bool expand, int borderWidth,
             TColor backgroundColor, int zoomMode, bool fromClipboard);
    void PaintFrame();
};
