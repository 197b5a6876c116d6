// Pictures of the thirteen frame styles for the Frames menu and the image
// window's pop-up, drawn by the framing engine itself from the sample photo
// of the data folder. Rendering uses the engine's in-process clipboard so
// the user's clipboard is never touched. A style the engine cannot draw
// gets a plain picture with its name.
#pragma once

#include "document/Butbar.h"

#include <QImage>

#include <array>

namespace quillon {

constexpr int kStylePictureWidth = 174;
constexpr int kStylePictureHeight = 25;

// A readable name of a style (0..12).
const char* StyleName(int style);

// The sample photo framed by style, scaled to fit maxWidth x maxHeight, or a
// null image when the engine cannot draw it.
QImage FramedSample(int style, int maxWidth, int maxHeight);

// The 174 x 25 picture of every style, by style number; drawn once per run.
const std::array<QImage, kStyleCount>& StylePictures();

} // namespace quillon
