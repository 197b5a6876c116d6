#include "document/PhotoDocument.h"

#include "canvas/Canvas.h"
#include "canvas/Rescaler.h"
#include "document/ClipboardPort.h"
#include "document/ImageCommands.h"
#include "formats/Formats.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

namespace {

// Copies the colour bytes of every pixel of src (Bgrx32, w x h) to the place
// the map sends it in dst (Bgrx32). Works in square tiles so that the
// column-wise writes of a quarter turn stay in cache.
template <typename Map> void RotatePixels(const Bitmap& src, Bitmap& dst, Map map) {
    constexpr int kTile = 64;
    const int w = src.Width(), h = src.Height();
    for (int ty = 0; ty < h; ty += kTile) {
        const int yEnd = std::min(h, ty + kTile);
        for (int tx = 0; tx < w; tx += kTile) {
            const int xEnd = std::min(w, tx + kTile);
            for (int y = ty; y < yEnd; ++y) {
                const std::uint8_t* s = src.ScanLine(y) + 4 * std::size_t(tx);
                for (int x = tx; x < xEnd; ++x, s += 4) {
                    const Point to = map(x, y);
                    std::uint8_t* d = dst.ScanLine(to.y) + 4 * std::size_t(to.x);
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                }
            }
        }
    }
}

bool ThicknessInRange(const FrameStyle& f, int v) {
    return v >= 0 && v <= f.ThicknessLimit();
}

} // namespace

float ZoomScale(Zoom zoom) {
    switch (zoom) {
    case Zoom::Percent75:
        return 0.75f;
    case Zoom::Percent50:
        return 0.5f;
    case Zoom::Percent25:
        return 0.25f;
    case Zoom::Percent10:
        return 0.1f;
    default:
        return 1.0f;
    }
}

int ScaledLength(int length, float scale) {
    return int(double(length) * double(scale));
}

int UnscaledLength(int length, float scale) {
    return int(double(length) / double(scale));
}

PhotoDocument::PhotoDocument() = default;
PhotoDocument::~PhotoDocument() = default;

// --- The photo ----------------------------------------------------------------

void PhotoDocument::Open(const std::string& fileName, Zoom zoom, const LoadOptions& options) {
    std::shared_ptr<const PictureMetadata> metadata;
    OpenPicture(LoadPictureFile(fileName, options, &metadata), fileName, zoom);
    metadata_ = std::move(metadata);
}

void PhotoDocument::OpenPicture(std::unique_ptr<Bitmap> picture, const std::string& name,
                                Zoom zoom) {
    FreeFrames();
    photo_ = picture ? std::move(picture) : std::make_unique<Bitmap>();
    fileName_ = name;
    metadata_.reset(); // a picture from anywhere but a file carries none
    zoom_ = zoom;
    PhotoChanged();
}

void PhotoDocument::Reopen(Zoom zoom) {
    if (!photo_) return;
    auto metadata = metadata_;
    OpenPicture(ScreenCopy(*photo_), fileName_, zoom);
    metadata_ = std::move(metadata);
}

void PhotoDocument::RestorePhoto(const Bitmap& picture, Zoom zoom) {
    FreeFrames();
    if (!photo_) photo_ = std::make_unique<Bitmap>();
    photo_->Assign(picture);
    zoom_ = zoom;
    PhotoChanged();
}

void PhotoDocument::PhotoChanged() {
    previewValid_ = false;
}

// --- Result, saving and the clipboard -------------------------------------------

const Bitmap* PhotoDocument::Result() const {
    if (FrameStyle* f = CurrentFrame()) return f->Output.get();
    return style_ ? nullptr : photo_.get();
}

Bitmap* PhotoDocument::ResultPicture() {
    return const_cast<Bitmap*>(Result());
}

bool PhotoDocument::Save(const std::string& fileName) const {
    const Bitmap* picture = Result();
    return picture && SavePictureFile(*picture, fileName, metadata_.get());
}

void PhotoDocument::CopyTo(ClipboardPort& clipboard) const {
    // The clipboard keeps its own copy at full size, whatever the zoom.
    if (const Bitmap* picture = Result()) clipboard.SetPicture(*picture);
}

bool PhotoDocument::PasteFrom(const ClipboardPort& clipboard, Zoom zoom) {
    std::unique_ptr<Bitmap> picture = clipboard.Picture();
    if (!picture) return false;
    OpenPicture(ScreenCopy(*picture), "Clipboard", zoom);
    return true;
}

// --- Image commands ---------------------------------------------------------------

std::optional<Rect> PhotoDocument::CropInPhoto(int left, int top, int right, int bottom,
                                               int* copiedWidth, int* copiedHeight) const {
    if (!photo_) return std::nullopt;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, ShownPhotoWidth());
    bottom = std::min(bottom, ShownPhotoHeight());
    if (right <= left || bottom <= top) return std::nullopt;
    const float s = Scale();
    if (copiedWidth) *copiedWidth = UnscaledLength(right - left, s);
    if (copiedHeight) *copiedHeight = UnscaledLength(bottom - top, s);
    return Rect(UnscaledLength(left, s), UnscaledLength(top, s),
                std::min(UnscaledLength(right, s), photo_->Width()),
                std::min(UnscaledLength(bottom, s), photo_->Height()));
}

void PhotoDocument::Crop(int left, int top, int right, int bottom) {
    int dw = 0, dh = 0;
    const std::optional<Rect> r = CropInPhoto(left, top, right, bottom, &dw, &dh);
    // A rectangle with nothing inside it would leave no picture at all:
    // the crop is ignored and the picture stays as it is.
    if (!r) return;
    if (r->Right > r->Left && r->Bottom > r->Top) {
        photo_->canvas().CopyRect(Rect(0, 0, dw, dh), photo_->canvas(), *r);
        photo_->SetSize(r->Width(), r->Height());
    }
    PhotoChanged();
}

void PhotoDocument::Rotate(int turn) {
    if (!photo_) return;
    photo_->SetPixelFormat(PixelFormat::Bgrx32);
    const int W = photo_->Width(), H = photo_->Height();
    Bitmap n(turn == 2 ? W : H, turn == 2 ? H : W, PixelFormat::Bgrx32);
    switch (turn) {
    case 1: // clockwise
        RotatePixels(*photo_, n, [H](int x, int y) { return Point{H - 1 - y, x}; });
        break;
    case 3: // counter-clockwise
        RotatePixels(*photo_, n, [W](int x, int y) { return Point{y, W - 1 - x}; });
        break;
    default: // half turn
        RotatePixels(*photo_, n, [W, H](int x, int y) { return Point{W - 1 - x, H - 1 - y}; });
        break;
    }
    photo_->SwapPicture(n);
    PhotoChanged();
}

void PhotoDocument::RotateRight() {
    Rotate(1);
}

void PhotoDocument::RotateLeft() {
    Rotate(3);
}

void PhotoDocument::Rotate180() {
    Rotate(2);
}

void PhotoDocument::GrayScale() {
    if (!photo_) return;
    quillon::GrayScale(*photo_);
    PhotoChanged();
}

void PhotoDocument::Negative() {
    if (!photo_) return;
    quillon::Negative(*photo_);
    PhotoChanged();
}

void PhotoDocument::Resize(int width, int height) {
    Bitmap* source = ResultPicture();
    if (!source) return;
    // A picture needs at least one pixel each way; other sizes are ignored.
    if (width <= 0 || height <= 0) return;
    CheckPictureSize(width, height);
    Bitmap n(width, height, PixelFormat::Bgrx32);
    if (!source->Empty()) Rescaler().Rescale(*source, n, false);
    source->SwapPicture(n);
    if (FrameStyle* f = CurrentFrame()) {
        f->OutputWidth = width;
        f->OutputHeight = height;
    }
    PhotoChanged();
}

void PhotoDocument::ApplyFrame(Zoom zoom) {
    const Bitmap* framed = Result();
    if (!framed) return;
    // The framed picture is still the camera's photo.
    auto metadata = metadata_;
    OpenPicture(ScreenCopy(*framed), "Clipboard", zoom);
    metadata_ = std::move(metadata);
}

// --- Zoom and the shown pictures --------------------------------------------------

void PhotoDocument::SetZoom(Zoom zoom) {
    zoom_ = zoom;
    previewValid_ = false;
}

int PhotoDocument::ShownPhotoWidth() const {
    return photo_ ? ScaledLength(photo_->Width(), Scale()) : 0;
}

int PhotoDocument::ShownPhotoHeight() const {
    return photo_ ? ScaledLength(photo_->Height(), Scale()) : 0;
}

int PhotoDocument::PreviewWidth() const {
    const Bitmap* shown = Result();
    return shown ? ScaledLength(shown->Width(), Scale()) : 0;
}

int PhotoDocument::PreviewHeight() const {
    const Bitmap* shown = Result();
    return shown ? ScaledLength(shown->Height(), Scale()) : 0;
}

const Bitmap& PhotoDocument::Preview() const {
    if (previewValid_) return preview_;
    const Bitmap* shown = Result();
    const int w = PreviewWidth(), h = PreviewHeight();
    // At full size an opaque screen-format picture is shown as it is: the
    // preview shares its pixels instead of holding a second copy.
    if (shown && !shown->Empty() && w == shown->Width() && h == shown->Height() &&
        shown->format() == PixelFormat::Device && shown->Palette().empty() && !shown->Transparent) {
        preview_.Assign(*shown);
        preview_.TransparentColor = kWhite;
        previewValid_ = true;
        return preview_;
    }
    preview_.SetSize(w, h);
    if (shown && !shown->Empty() && w > 0 && h > 0)
        preview_.canvas().StretchDraw(Rect(0, 0, w, h), *shown);
    previewValid_ = true;
    return preview_;
}

// --- Styles -------------------------------------------------------------------------

void PhotoDocument::SelectStyle(StyleId id) {
    auto& slot = frames_[std::size_t(id)];
    if (style_ == id && slot) return;
    if (!slot) {
        // A document without a photo ignores the choice rather than framing
        // nothing.
        if (!photo_ || photo_->Empty()) return;
        const StyleInfo& info = StyleInfoOf(id);
        // The defaults follow the photo's shown size; they are worked out
        // (and any picture they need read) before anything changes.
        FrameSettings settings = info.defaults(ShownPhotoWidth(), ShownPhotoHeight());
        settings.seed = seed_;
        slot = info.create(*photo_, settings);
    }
    style_ = id;
    FramedChanged();
}

void PhotoDocument::FreeFrames() {
    for (auto& f : frames_) f.reset();
    style_.reset();
    previewValid_ = false;
}

FrameStyle* PhotoDocument::CurrentFrame() const {
    return style_ ? Frame(*style_) : nullptr;
}

FrameStyle* PhotoDocument::Frame(StyleId id) const {
    return frames_[std::size_t(id)].get();
}

// --- The current style's settings -------------------------------------------------

void PhotoDocument::SetFrameHeight(int v) {
    FrameStyle* f = CurrentFrame();
    // Out-of-range requests are ignored whole: the style would refuse the
    // thickness while the output still grew by the requested amount.
    if (!f || !ThicknessInRange(*f, v)) return;
    f->ChangeFrameHeight(v);
    FramedChanged();
}

void PhotoDocument::SetFrameWidth(int v) {
    FrameStyle* f = CurrentFrame();
    if (!f || !ThicknessInRange(*f, v)) return;
    f->ChangeFrameWidth(v);
    FramedChanged();
}

int PhotoDocument::GetFrameHeight() const {
    const FrameStyle* f = CurrentFrame();
    return f ? f->FrameHeight : 0;
}

int PhotoDocument::GetFrameWidth() const {
    const FrameStyle* f = CurrentFrame();
    return f ? f->FrameWidth : 0;
}

void PhotoDocument::SetBorderWidth(int v) {
    if (FrameStyle* f = CurrentFrame()) f->ChangeBorderWidth(v);
}

int PhotoDocument::GetBorderWidth() const {
    const FrameStyle* f = CurrentFrame();
    return f ? f->BorderWidthField() : 0;
}

void PhotoDocument::SetScaled(bool b) {
    if (FrameStyle* f = CurrentFrame()) {
        f->ChangeStretch(b);
        FramedChanged();
    }
}

bool PhotoDocument::GetScaled() const {
    const FrameStyle* f = CurrentFrame();
    return f ? f->StretchPicture : false;
}

void PhotoDocument::SetFrameColor(Color c) {
    if (FrameStyle* f = CurrentFrame()) f->SetFrameColor(c);
}

Color PhotoDocument::GetFrameColor() const {
    const FrameStyle* f = CurrentFrame();
    return f ? f->FrameColor : 0;
}

void PhotoDocument::SetBorderColor(Color c) {
    if (FrameStyle* f = CurrentFrame()) f->SetBorderColor(c);
}

Color PhotoDocument::GetBorderColor() const {
    const FrameStyle* f = CurrentFrame();
    return f ? f->BorderColor : 0;
}

void PhotoDocument::SetPattern(const std::string& fileName) {
    if (FrameStyle* f = CurrentFrame()) f->SetPattern(fileName);
}

void PhotoDocument::SetSides(const FrameStyle::Sides& sides) {
    if (FrameStyle* f = CurrentFrame()) {
        f->ChangeSides(sides);
        FramedChanged();
    }
}

void PhotoDocument::ChooseDecoration(const std::string& fileName) {
    if (FrameStyle* f = CurrentFrame()) {
        f->ChooseDecoration(fileName);
        FramedChanged();
    }
}

const Bitmap* PhotoDocument::PatternPicture() const {
    const FrameStyle* f = CurrentFrame();
    return f ? f->PatternPicture.get() : nullptr;
}

int PhotoDocument::GetPatternHeight() const {
    const FrameStyle* f = CurrentFrame();
    return f ? f->PatternPicture->Height() : 0;
}

int PhotoDocument::GetPictureWidth() const {
    const FrameStyle* f = CurrentFrame();
    return f ? f->PictureWidth : 0;
}

int PhotoDocument::GetPictureHeight() const {
    const FrameStyle* f = CurrentFrame();
    return f ? f->PictureHeight : 0;
}

void PhotoDocument::DrawFrame() {
    if (FrameStyle* f = CurrentFrame()) {
        f->Paint();
        FramedChanged();
    }
}

void PhotoDocument::DrawPictureCentred() {
    if (FrameStyle* f = CurrentFrame()) {
        f->DrawPictureCentred();
        FramedChanged();
    }
}

void PhotoDocument::DeferOutputDrawing(bool on) {
    if (FrameStyle* f = CurrentFrame()) f->DeferOutputDrawing = on;
}

void PhotoDocument::SetOutputSize(int width, int height) {
    if (FrameStyle* f = CurrentFrame()) {
        f->SetOutputSize(width, height);
        FramedChanged();
    }
}

} // namespace quillon
