// The drop shadow style: a shadow below and to the right of the photo, either
// assembled from five soft-shadow pieces that lie in the start folder
// ("Realistic Shadow", StretchPicture set) or a flat L-shaped polygon in the
// shadow colour.
//
// The realistic shadow's width (the edit bar's third field) is the pieces'
// own width t unless it is given: at another width s every piece is
// resampled smoothly by s / t, and the tile step and the pieces' 4-pixel
// offset scale with it.
//
// Pieces (Windows bitmaps, all t x t where t is the width of "ru.res"):
// "ru.res" the upper end of the right shadow, "rc.res" its run (tiled down),
// "rl.res" the lower-right corner, "ll.res" the left end of the bottom shadow
// and "lc.res" its run (tiled across). A piece that cannot be read raises the
// reader's PictureError naming the file; the pieces drawn before it stay in
// Output and the preview is not refreshed.
#pragma once

#include "frames/FrameStyle.h"

#include <array>
#include <optional>
#include <string>

namespace quillon {

class DropShadowFrame final : public FrameStyle {
public:
    DropShadowFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
    void ChangeFrameHeight(int v) override;
    // The realistic shadow's pieces, below the data folder.
    static constexpr const char* kPieces[] = {"ru.res", "rc.res", "rl.res", "ll.res", "lc.res"};
    // The realistic shadow's pieces, when one is missing.
    std::string MissingDataFile() const override;
    void ChangeFrameWidth(int v) override;
    // Switching between the two looks starts from a clear output.
    void ChangeStretch(bool b) override;
    // The third field: the realistic shadow's width, 1..BorderWidthLimit.
    void ChangeBorderWidth(int v) override;
    int BorderWidthField() const override;

    // The width given to the realistic shadow; none: the pieces' own.
    std::optional<int> ShadowWidth;

private:
    void PaintRealisticShadow();
    void PaintFlatShadow();
    // The width of "ru.res" when last read; 0 before it could be read.
    int pieceWidth_ = 0;
};

// The flat shadow's seven-point polygon on a W x H output with spacing fw, fh:
// a band half the spacing wide along the photo's right side and bottom.
std::array<Point, 7> FlatShadowPolygon(int W, int H, int fw, int fh);

} // namespace quillon
