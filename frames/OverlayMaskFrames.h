// Overlay frames (a decoration laid over the photo, white transparent) and mask
// frames (a grey-level mask fading the photo into the background).
#pragma once

#include "frames/FrameStyle.h"

#include <string>

namespace quillon {

// What both share: a decoration stretched over the whole output, which the
// style needs to paint, and thickness fields that also shift the photo under
// the decoration.
class DecorationLayer : public FrameStyle {
public:
    DecorationLayer(const Bitmap& photo, const FrameSettings& settings, const char* defaultFile)
        : FrameStyle(photo, settings), defaultFile_(defaultFile) {}
    std::string MissingDataFile() const override { return PatternName.empty() ? defaultFile_ : ""; }
    void ChangeFrameHeight(int v) override {
        SetFrameHeight(v);
        SetImageTop(v);
    }
    void ChangeFrameWidth(int v) override {
        SetFrameWidth(v);
        SetImageLeft(v);
    }

private:
    const char* defaultFile_;
};

class OverlayFrame final : public DecorationLayer {
public:
    OverlayFrame(const Bitmap& photo, const FrameSettings& settings);
    static constexpr const char* kDefaultOverlay = "Overlay/Fire ball.bmp";
    // Stretches the decoration over the whole output; its white pixels leave
    // the picture underneath as it is.
    void Paint() override;
};

class MaskFrame final : public DecorationLayer {
public:
    MaskFrame(const Bitmap& photo, const FrameSettings& settings);
    static constexpr const char* kDefaultMask = "masks/Grainy Edge.jpg";
    // Stretches the mask to the output's size and applies it to the pixels
    // inside the frame thickness (ApplyMask). Without a mask picture the
    // output is left as it is.
    void Paint() override;
    // Accepts 0..255; other values are ignored.
    void SetBrightness(int value);
    int Brightness = 0;
    // The third field of the edit bar sets the brightness.
    void ChangeBorderWidth(int v) override { SetBrightness(v); }
    int BorderWidthField() const override { return Brightness; }
};

// The mask rules, applied to the pixels of area in out (PixelFormat::Bgrx32), with mask
// (PixelFormat::Bgrx32, any size) sampled as if stretched over the whole of out (the
// canvas's nearest-neighbour rule, StretchSource). Per pixel, with d = 255 -
// the mask channel:
//   white mask pixel         -> unchanged;
//   grey mask pixel          -> q = d / brightness; q = 0 gives background,
//                               otherwise the pixel darkens by q, or, when a
//                               channel would reach 0, by its darkest channel;
//   coloured mask pixel      -> the mask pixel replaces it.
// A brightness of 0 met at a grey pixel becomes 1, in brightness too.
void ApplyMask(Bitmap& out, const Bitmap& mask, const Rect& area, int& brightness,
               Color background);
// The same rules one pixel at a time through Bitmap::Pixel, for a mask
// already of out's size; the plain version the row-wise one is checked
// against.
void ApplyMaskReference(Bitmap& out, const Bitmap& mask, const Rect& area, int& brightness,
                        Color background);
// The source offset that destination offset d of destSize takes from
// sourceSize when stretching: the source pixel under d's centre.
int StretchSource(int d, int sourceSize, int destSize);

} // namespace quillon
