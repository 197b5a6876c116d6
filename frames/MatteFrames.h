// The mitred corner style (CornerFrame) and the matte style (MatteFrame).
#pragma once

#include "frames/FrameStyle.h"

#include <string>

namespace quillon {

// The band both styles paint, with its border rings and pattern. A new
// thickness regrows the output round the photo.
class MatteBase : public FrameStyle {
public:
    using FrameStyle::FrameStyle;
    void ChangeFrameHeight(int v) override;
    void ChangeFrameWidth(int v) override;
    void ChangeBorderWidth(int v) override { SetBorderWidth(v); }

protected:
    // Paints the band, the border rings and the pattern. Returns false when
    // the border width is 0: then only the band is painted.
    bool PaintMatte();
};

class CornerFrame final : public MatteBase {
public:
    CornerFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
};

class MatteFrame final : public MatteBase {
public:
    MatteFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
};

} // namespace quillon
