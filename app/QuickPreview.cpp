#include "app/QuickPreview.h"

#include "canvas/BlockAverages.h"
#include "document/PhotoDocument.h"
#include "frames/FrameStyle.h"

#include <cmath>

namespace quillon {

std::unique_ptr<Bitmap> ShrinkByBlocks(const Bitmap& picture, int factor) {
    if (factor < 1) factor = 1;
    const Bitmap* source = &picture;
    std::unique_ptr<Bitmap> screen;
    if (picture.format() != PixelFormat::Device) {
        screen = ScreenCopy(picture);
        source = screen.get();
    }
    // Whole blocks only: the edge a block would not fill is left out.
    const int w = source->Width() / factor, h = source->Height() / factor;
    auto small = std::make_unique<Bitmap>(w, h);
    AverageBlocks({source->Bits(), source->Stride(), source->Width(), source->Height()}, factor,
                  small->Bits(), small->Stride(), w, h, 0);
    return small;
}

void QuickPreview::Reset() {
    small_.reset();
    document_ = nullptr;
}

const Bitmap* QuickPreview::Render(const PhotoDocument& document, int factor) {
    const FrameStyle* full = document.CurrentFrame();
    if (!full || !document.HasPhoto()) return nullptr;
    const Bitmap& photo = document.Photo();
    if (!small_ || document_ != &document || sourceWidth_ != photo.Width() ||
        sourceHeight_ != photo.Height() || factor_ != factor) {
        small_ = std::make_unique<PhotoDocument>();
        small_->OpenPicture(ShrinkByBlocks(photo, factor), "preview", Zoom::Normal);
        document_ = &document;
        sourceWidth_ = photo.Width();
        sourceHeight_ = photo.Height();
        factor_ = factor;
    }
    PhotoDocument& d = *small_;
    const StyleId style = *document.Style();
    if (d.Style() != style) d.SelectStyle(style);
    if (d.Style() != style) return nullptr;
    const FrameStyle& frame = *d.CurrentFrame();
    // The decoration first: a moulding sets the thickness the lengths then
    // replace.
    if (frame.PatternName != full->PatternName) {
        if (full->PatternName.empty())
            d.SetPattern("");
        else
            d.ChooseDecoration(full->PatternName);
    }
    if (d.GetFrameColor() != full->FrameColor) d.SetFrameColor(full->FrameColor);
    if (d.GetBorderColor() != full->BorderColor) d.SetBorderColor(full->BorderColor);
    const auto shrunk = [factor](int pixels) {
        return pixels > 0 ? std::max(1, int(std::lround(double(pixels) / factor))) : 0;
    };
    d.SetFrameHeight(shrunk(full->FrameHeight));
    d.SetFrameWidth(shrunk(full->FrameWidth));
    // The mask's third field is a brightness, not a length.
    const bool thirdIsLength = StyleInfoOf(style).thirdFieldIsLength;
    d.SetBorderWidth(thirdIsLength ? shrunk(full->BorderWidthField()) : full->BorderWidthField());
    if (d.GetScaled() != full->StretchPicture) d.SetScaled(full->StretchPicture);
    d.DrawPictureCentred();
    d.DrawFrame();
    return d.Result();
}

} // namespace quillon
