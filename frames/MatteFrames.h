// The mitred corner style (CornerFrame) and the matte style (MatteFrame).
#pragma once

#include "frames/FrameStyle.h"

#include <optional>
#include <string>

namespace quillon {

// The band both styles paint, with its border rings and pattern. A new
// thickness regrows the output round the photo.
class MatteBase : public FrameStyle {
public:
    using FrameStyle::FrameStyle;
    // A new height or width applies to both of its sides again.
    void ChangeFrameHeight(int v) override;
    void ChangeFrameWidth(int v) override;
    void ChangeBorderWidth(int v) override { SetBorderWidth(v); }

    // Sides of their own: each given side overrides the frame height (top,
    // bottom) or width (left, right) for that side alone, and the photo sits
    // where the sides put it. Values outside 0..ThicknessLimit leave the
    // side as it was. The output is regrown round the photo.
    void ChangeSides(const Sides& sides) override;
    int LeftSide() const { return sides_.left.value_or(FrameWidth); }
    int TopSide() const { return sides_.top.value_or(FrameHeight); }
    int RightSide() const { return sides_.right.value_or(FrameWidth); }
    int BottomSide() const { return sides_.bottom.value_or(FrameHeight); }

protected:
    // Paints the band, the border rings and the pattern. Returns false when
    // the border width is 0: then only the band is painted.
    bool PaintMatte();

private:
    // Sizes the output for the sides and places the photo between them.
    void Regrow();

    Sides sides_;
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
