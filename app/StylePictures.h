// Pictures of the thirteen frame styles for the Frames menu, the image
// window's pop-up and the about box, drawn by the framing engine itself from
// the sample photo of the data folder. Each is rendered in a private photo
// document, so nothing the user holds (the clipboard, the open picture) is
// touched. A style the engine cannot draw gets a plain picture with its name.
#pragma once

#include "canvas/Bitmap.h"
#include "document/Recipe.h"
#include "frames/StyleCatalog.h"

#include <QImage>

#include <array>
#include <memory>

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

// The 174 x 25 picture of every style from the sample photo, indexed by
// StyleId; drawn once per run.
const std::array<QImage, kStyleCount>& StylePictures();

// photo framed by style with its defaults, scaled to fit maxWidth x
// maxHeight, or a null image when the engine cannot draw it. It touches no
// widget and no shared state, so it may run on a worker thread.
QImage FramedPhoto(const Bitmap& photo, StyleId style, int maxWidth, int maxHeight);
// photo in every style at the menu pictures' size, indexed by StyleId (a
// null image for a style the engine cannot draw); for a worker thread.
std::array<QImage, kStyleCount> FramedMenuPhotos(const Bitmap& photo);
// The 174 x 25 menu pictures of the framed photos FramedMenuPhotos made
// (the style's name drawn beside each); on the GUI thread, which draws text.
std::array<QImage, kStyleCount> MenuPictures(const std::array<QImage, kStyleCount>& framed);
// A copy of photo that fits maxWidth x maxHeight (never enlarged), each
// pixel the mean of samples of the photo pixels it covers.
std::unique_ptr<Bitmap> SmallCopy(const Bitmap& photo, int maxWidth, int maxHeight);

} // namespace quillon
