// The jagged (torn) edge style.
#pragma once

#include "framing/Framer.h"

#include <cstdint>
#include <optional>
#include <string>

class TJaggedFrame : public TPhotoFrame {
public:
    TJaggedFrame(TImageParent* window, const std::string& fileName, int top, int left,
                 int frameWidth, int frameHeight, TColor frameColor, TColor borderColor,
                 bool expand, int borderWidth, TColor backgroundColor, int zoomMode,
                 bool fromClipboard);
    void PaintFrame();

    // Fixes the random seed of every later paint (for tests and the command
    // line); none restores the default, the current time in seconds.
    static void SetFixedSeed(std::optional<std::uint32_t> seed);
};
