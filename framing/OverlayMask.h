// Overlay frames (a decoration laid over the photo, white transparent) and mask
// frames (a grey-level mask fading the photo into the background).
#pragma once

#include "framing/Framer.h"

#include <string>

class TOverlayFrame : public TPhotoFrame {
public:
    TOverlayFrame(TImageParent* window, const std::string& fileName, int top, int left,
                  int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                  bool expand, int borderWidth, TColor backgroundColor,
                  const std::string& decorationFile, int zoomMode, bool fromClipboard);
    void PaintFrame();
};

class TMaskFrame : public TPhotoFrame {
public:
    TMaskFrame(TImageParent* window, const std::string& fileName, int top, int left, int frameWidth,
               int frameHeight, TColor frameColor, TColor borderColor, bool expand, int borderWidth,
               TColor backgroundColor, const std::string& decorationFile, int zoomMode,
               bool fromClipboard);
    void PaintFrame();
    void SetBrightness(int value);
    int Brightness = 0;
};
