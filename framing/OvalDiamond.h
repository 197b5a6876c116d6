// The oval and diamond openings.
#pragma once

#include "framing/Framer.h"

#include <string>

class TOvalFrame : public TPhotoFrame {
public:
    TOvalFrame(TImageParent* window, const std::string& fileName, int top, int left, int frameWidth,
               int frameHeight, TColor frameColor, TColor borderColor, bool expand, int borderWidth,
               TColor backgroundColor, int zoomMode, bool fromClipboard);
    void PaintFrame();
};

class TDiamondFrame : public TPhotoFrame {
public:
    TDiamondFrame(TImageParent* window, const std::string& fileName, int top, int left,
                  int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                  bool expand, int borderWidth, TColor backgroundColor, int zoomMode,
                  bool fromClipboard);
    void PaintFrame();
};
