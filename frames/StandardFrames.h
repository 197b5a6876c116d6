// The mitred corner style (TStandardFrame) and the matte style (TContinuousFrame).
#pragma once

#include "frames/Framer.h"

#include <string>

namespace quillon {

class TStandardFrame : public TPhotoFrame {
public:
    TStandardFrame(TImageParent* window, const std::string& fileName, int top, int left,
                   int frameWidth, int frameHeight, Color frameColor, Color borderColor,
                   bool expand, int borderWidth, Color backgroundColor, int zoomMode,
                   bool fromClipboard);
    virtual ~TStandardFrame() = default;
    virtual void PaintFrame();
};

class TContinuousFrame : public TPhotoFrame {
public:
    TContinuousFrame(TImageParent* window, const std::string& fileName, int top, int left,
                     int frameWidth, int frameHeight, Color frameColor, Color borderColor,
                     bool expand, int borderWidth, Color backgroundColor, int zoomMode,
                     bool fromClipboard);
    void PaintFrame();
};

} // namespace quillon
