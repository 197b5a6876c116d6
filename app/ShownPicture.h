// ShownPicture: the engine's picture as the view paints it. A picture of
// 4-byte pixels (the engine's BGRX rows are Qt's RGB32 layout) is wrapped
// without a copy; any other picture is converted once. Below 100 % the view
// paints a smoothly scaled copy of the zoom's size, made once per picture
// and zoom, so that thin lines stay visible and scrolling costs a blit; at
// 100 % and above it paints the picture itself, pixel for pixel.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

namespace quillon {

class Bitmap;

class ShownPicture {
public:
    // The picture as an RGB32 image: shares the bitmap's pixels when it can
    // (valid while the bitmap is unchanged), else a converted copy kept
    // until the next invalidate.
    QImage source(const Bitmap& picture);
    // The picture smoothly scaled to shown (device pixels), for zooms below
    // 100 %; the picture itself when shown is its own size. Kept until the
    // next invalidate or another size.
    const QImage& scaled(const Bitmap& picture, const QSize& shown);
    // The picture or the zoom changed: the copies go.
    void invalidate();

private:
    QImage converted_;
    QImage scaled_;
    bool scaledValid_ = false;
};

// The means of factor x factor blocks of an RGB32 picture (AverageBlocks),
// the blocks of the last column and row holding what is left; factors
// above 256 count as 256.
QImage BlockAverages(const QImage& picture, int factor);

// The part deviceArea (device pixels of the shown picture) of picture shown
// at scale above 100 %: each picture pixel a block of scale x scale.
QImage MagnifiedPart(const QImage& picture, double scale, const QRect& deviceArea);

} // namespace quillon
