// The drop shadow style: a shadow below and to the right of the photo, either
// assembled from five soft-shadow pieces that lie in the start folder
// ("Realistic Shadow", StretchPicture set) or a flat L-shaped polygon in the
// shadow colour.
//
// Pieces (Windows bitmaps, all t x t where t is the width of "ru.res"):
// "ru.res" the upper end of the right shadow, "rc.res" its run (tiled down),
// "rl.res" the lower-right corner, "ll.res" the left end of the bottom shadow
// and "lc.res" its run (tiled across). A piece that cannot be read raises the
// reader's PictureError naming the file; the pieces drawn before it stay in
// Output and the preview is not refreshed.
#pragma once

#include "frames/Framer.h"

#include <array>
#include <string>

namespace quillon {

class TDropShadowFrame : public TPhotoFrame {
public:
    TDropShadowFrame(TImageParent* window, const std::string& fileName, int top, int left,
                     int frameWidth, int frameHeight, Color frameColor, Color borderColor,
                     bool expand, int borderWidth, Color backgroundColor, int zoomMode,
                     bool fromClipboard);
    void PaintFrame();

private:
    void PaintRealisticShadow();
    void PaintFlatShadow();
};

// The flat shadow's seven-point polygon on a W x H output with spacing fw, fh:
// a band half the spacing wide along the photo's right side and bottom.
std::array<Point, 7> FlatShadowPolygon(int W, int H, int fw, int fh);

} // namespace quillon
