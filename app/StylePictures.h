// Pictures of the thirteen frame styles for the Frames menu, the image
// window's pop-up and the about box, drawn by the framing engine itself from
// the sample photo of the data folder. Each is rendered in a private photo
// document, so nothing the user holds (the clipboard, the open picture) is
// touched. A style the engine cannot draw gets a plain picture with its name.
#pragma once

#include "document/Recipe.h"
#include "frames/StyleCatalog.h"

#include <QImage>

#include <array>

namespace quillon {

constexpr int kStylePictureWidth = 174;
constexpr int kStylePictureHeight = 25;

// The sample photo framed by style, scaled to fit maxWidth x maxHeight, or a
// null image when the engine cannot draw it.
QImage FramedSample(StyleId style, int maxWidth, int maxHeight);

// The sample photo framed by recipe, scaled to fit maxWidth x maxHeight, or
// a null image when the engine cannot draw it.
QImage FramedSampleByRecipe(const Recipe& recipe, int maxWidth, int maxHeight);
// A 174 x 25 menu picture: a framed sample (or, when null, an empty frame)
// beside name.
QImage MenuPicture(const QImage& framed, const QString& name);

// The 174 x 25 picture of every style, indexed by StyleId; drawn once per run.
const std::array<QImage, kStyleCount>& StylePictures();

} // namespace quillon
