#include "document/Butbar.h"

#include "canvas/Canvas.h"
#include "canvas/Rescaler.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/BoxFrame.h"
#include "frames/BubbleFrame.h"
#include "frames/Clipboard.h"
#include "frames/DropShadowFrame.h"
#include "frames/GrayscaleFrame.h"
#include "frames/JaggedFrame.h"
#include "frames/Ornate.h"
#include "frames/OvalDiamond.h"
#include "frames/OverlayMask.h"
#include "frames/StandardFrames.h"
#include "frames/ThreeDFrame.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quillon {

namespace {

// Where the default decoration pictures live, below the start folder.
constexpr const char* kOrnateSizeFile = "Ornate/_Orn001.bmp";
constexpr const char* kOrnateDefault = "ORNATE/_ORN001.BMP";
constexpr const char* kMaskDefault = "MASKS/Grainy Edge.jpg";
constexpr const char* kOverlayDefault = "OVERLAY/Fire ball.bmp";

// A length at a display scale: the product is formed from the stored float
// in double precision and truncated, so 1000 x 0.1f gives 100.
int Scaled(int length, float scale) {
    return int(double(length) * double(scale));
}

// A display coordinate back at full size, truncated (10 / 0.1f gives 99).
int Unscaled(int length, float scale) {
    return int(double(length) / double(scale));
}

bool ThicknessInRange(int v) {
    return v >= 0 && v <= 200;
}

// Copies the colour bytes of every pixel of src (PixelFormat::Bgrx32, w x h) to the
// place the map sends it in dst (PixelFormat::Bgrx32). Works in square tiles so that the
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

} // namespace

TButtonBar::TButtonBar(bool framesFromClipboard) : FramesFromClipboard(framesFromClipboard) {}

TButtonBar::~TButtonBar() {
    // Frames first: PatternBitmap may refer to one of their pictures.
    for (auto& f : frames_) f.reset();
}

void TButtonBar::FreeFrames() {
    for (auto& f : frames_) f.reset();
    // A frame's pattern bitmap went with its frame; fall back to our own.
    PatternBitmap = ownPattern_.get();
}

// --- Loading and the working bitmap -----------------------------------------

bool TButtonBar::LoadPicture(const std::string& fileName, TImageParent* window, int zoomMode,
                             bool fromClipboard) {
    // Read first, so that a failed read leaves the document as it was.
    auto picture = std::make_unique<Bitmap>();
    if (fromClipboard)
        Clipboard().GetBitmap(*picture);
    else
        picture = LoadPictureFile(fileName);

    auto image = std::make_unique<TImage>();
    image->AutoSize = true;
    image->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) {
        RecordMouseButton(b, s, x, y);
    };
    image->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) {
        RecordMouseButton(b, s, x, y);
    };
    image->OnMouseMove = [this](TShiftState, int x, int y) {
        MouseState.PointerX = x;
        MouseState.PointerY = y;
    };

    if (zoomMode >= 2 && zoomMode <= 5) Scale = ZoomScale(zoomMode);
    const int w = Scaled(picture->Width(), Scale);
    const int h = Scaled(picture->Height(), Scale);
    image->PictureBitmap().SetSize(w, h);
    image->SetBounds(0, 0, w, h);
    image->Parent = window;
    if (!picture->Empty() && w > 0 && h > 0)
        image->canvas().StretchDraw(Rect(0, 0, w, h), *picture);

    Image = std::move(image);
    Photo = std::move(picture);
    FileName = fileName;
    Window = window;
    ownPattern_ = std::make_unique<Bitmap>();
    PatternBitmap = ownPattern_.get();
    Clipboard().SetBitmap(*Photo);
    return true;
}

void TButtonBar::RecordMouseButton(TMouseButton button, TShiftState shift, int x, int y) {
    const bool left = button == TMouseButton::mbLeft;
    const bool right = button == TMouseButton::mbRight;
    MouseState.LeftPressed = left && (shift & ssLeft);
    MouseState.LeftReleased = left && !(shift & ssLeft);
    MouseState.RightPressed = right && (shift & ssRight);
    MouseState.RightReleased = right && !(shift & ssRight);
    MouseState.ButtonX = MouseState.PointerX = x;
    MouseState.ButtonY = MouseState.PointerY = y;
}

Bitmap* TButtonBar::SourcePicture() const {
    if (TPhotoFrame* f = CurrentFrame()) return f->Output.get();
    return Style == fsNone ? Photo.get() : nullptr;
}

bool TButtonBar::SavePicture(const std::string& fileName) {
    if (TPhotoFrame* f = CurrentFrame()) return f->SaveToFile(fileName);
    if (Style != fsNone || !Photo) return false;
    return SavePictureFile(*Photo, fileName);
}

void TButtonBar::CopyToClipboard() {
    // The clipboard keeps its own copy at full size, whatever the zoom.
    if (const Bitmap* source = SourcePicture()) Clipboard().SetBitmap(*source);
}

void TButtonBar::CropPicture(int left, int top, int right, int bottom) {
    if (!Image || !Photo) return;
    Bitmap& shown = Image->PictureBitmap();
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, shown.Width());
    bottom = std::min(bottom, shown.Height());
    // A rectangle with nothing inside it would leave no picture at all:
    // the crop is ignored and the picture stays as it is.
    if (right <= left || bottom <= top) return;

    shown.canvas().CopyRect(Rect(0, 0, right - left, bottom - top), shown.canvas(),
                            Rect(left, top, right, bottom));
    shown.SetSize(right - left, bottom - top);
    Image->SetBounds(0, 0, shown.Width(), shown.Height());

    const float s = Scale;
    const int L = Unscaled(left, s), T = Unscaled(top, s);
    const int R = std::min(Unscaled(right, s), Photo->Width());
    const int B = std::min(Unscaled(bottom, s), Photo->Height());
    const int dw = Unscaled(right - left, s), dh = Unscaled(bottom - top, s);
    if (R > L && B > T) {
        Photo->canvas().CopyRect(Rect(0, 0, dw, dh), Photo->canvas(), Rect(L, T, R, B));
        Photo->SetSize(R - L, B - T);
    }
    Clipboard().SetBitmap(*Photo);
}

void TButtonBar::Rotate(int turn) {
    if (!Photo || !Image) return;
    Image->PictureBitmap().SetPixelFormat(PixelFormat::Bgrx32);
    Photo->SetPixelFormat(PixelFormat::Bgrx32);
    const int W = Photo->Width(), H = Photo->Height();
    Bitmap n(turn == 2 ? W : H, turn == 2 ? H : W, PixelFormat::Bgrx32);
    switch (turn) {
    case 1: // clockwise
        RotatePixels(*Photo, n, [H](int x, int y) { return Point{H - 1 - y, x}; });
        break;
    case 3: // counter-clockwise
        RotatePixels(*Photo, n, [W](int x, int y) { return Point{y, W - 1 - x}; });
        break;
    default: // half turn
        RotatePixels(*Photo, n, [W, H](int x, int y) { return Point{W - 1 - x, H - 1 - y}; });
        break;
    }
    Photo->SwapPicture(n);
    Clipboard().SetBitmap(*Photo);
    DrawScreenImage();
}

void TButtonBar::RotateRight() {
    Rotate(1);
}

void TButtonBar::RotateLeft() {
    Rotate(3);
}

void TButtonBar::Rotate180() {
    Rotate(2);
}

void TButtonBar::DrawScreenImage() {
    if (!Image || !Photo) return;
    const int w = Scaled(Photo->Width(), Scale);
    const int h = Scaled(Photo->Height(), Scale);
    Bitmap& shown = Image->PictureBitmap();
    shown.SetSize(w, h);
    Image->SetBounds(Image->Left(), Image->Top(), w, h);
    if (!Photo->Empty() && w > 0 && h > 0) shown.canvas().StretchDraw(Rect(0, 0, w, h), *Photo);
    Image->Refresh();
}

void TButtonBar::ResizePicture(int width, int height) {
    Bitmap* source = SourcePicture();
    if (!source) return;
    // A picture needs at least one pixel each way; other sizes are ignored.
    if (width <= 0 || height <= 0) return;
    CheckPictureSize(width, height);
    Bitmap n(width, height, PixelFormat::Bgrx32);
    if (!source->Empty()) Rescaler().Rescale(*source, n, false);
    source->SwapPicture(n);
    if (TPhotoFrame* f = CurrentFrame()) {
        f->OutputWidth = width;
        f->OutputHeight = height;
    }
    CopyToClipboard();
}

int TButtonBar::GetImageWidth() const {
    return Image ? Image->Width() : 0;
}

int TButtonBar::GetImageHeight() const {
    return Image ? Image->Height() : 0;
}

// --- Selecting a style -------------------------------------------------------

void TButtonBar::Select(int style, const FrameFactory& create) {
    if (Style == style && frames_[std::size_t(style)]) return;
    // The frame reads the photo from the clipboard. A document without a
    // photo ignores the selection rather than framing nothing; an empty
    // clipboard is given the working bitmap first.
    if (!frames_[std::size_t(style)]) {
        if (!Photo || Photo->Empty()) return;
        if (!Clipboard().HasBitmap()) Clipboard().SetBitmap(*Photo);
    }
    HideFrame();
    Style = style;
    auto& slot = frames_[std::size_t(style)];
    if (!slot) {
        const int wi = GetImageWidth(), hi = GetImageHeight();
        slot = create(wi, hi);
    }
    ShowFrame();
}

void TButtonBar::SelectStandardFrame(int zoomMode) {
    Select(fsCorner, [&](int wi, int hi) -> std::unique_ptr<TPhotoFrame> {
        const int t = std::min(wi, hi) / 10;
        return std::make_unique<TStandardFrame>(Window, FileName, 0, 0, t, t, kGray, kBlack, true,
                                                1, kWhite, zoomMode, FramesFromClipboard);
    });
}

void TButtonBar::SelectContinuousFrame(int zoomMode) {
    Select(fsMatte, [&](int wi, int hi) -> std::unique_ptr<TPhotoFrame> {
        const int t = std::min(wi, hi) / 10;
        return std::make_unique<TContinuousFrame>(Window, FileName, 0, 0, t, t, kSilver, kBlack,
                                                  true, 1, kSilver, zoomMode, FramesFromClipboard);
    });
}

void TButtonBar::SelectJaggedFrame(int zoomMode) {
    Select(fsJagged, [&](int wi, int hi) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<TJaggedFrame>(Window, FileName, 0, 0, wi / 15, hi / 15, kWhite,
                                              kBlack, false, 1, kWhite, zoomMode,
                                              FramesFromClipboard);
    });
}

void TButtonBar::SelectOvalFrame(int zoomMode) {
    Select(fsOval, [&](int, int) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<TOvalFrame>(Window, FileName, 0, 0, 1, 1, kWhite, kBlack, false, 1,
                                            kWhite, zoomMode, FramesFromClipboard);
    });
}

void TButtonBar::SelectDiamondFrame(int zoomMode) {
    Select(fsDiamond, [&](int, int) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<TDiamondFrame>(Window, FileName, 0, 0, 1, 1, kWhite, kBlack, true,
                                               2, kWhite, zoomMode, FramesFromClipboard);
    });
}

void TButtonBar::SelectGrayscaleFrame(int zoomMode) {
    Select(fsGrayscale, [&](int, int) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<TGrayscaleFrame>(Window, FileName, 0, 0, 0, 0, kOlive, kBlack,
                                                 false, 1, kWhite, zoomMode, FramesFromClipboard);
    });
}

void TButtonBar::SelectBubbleFrame(int zoomMode) {
    Select(fsBubble, [&](int wi, int) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<TBubbleFrame>(Window, FileName, 0, 0, wi / 10, wi / 10, kWhite,
                                              kBlack, false, 1, kWhite, zoomMode,
                                              FramesFromClipboard);
    });
}

void TButtonBar::Select3DFrame(int zoomMode) {
    Select(fsButton, [&](int wi, int) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<T3DFrame>(Window, FileName, 0, 0, wi / 20, wi / 20, kOlive, kBlack,
                                          false, 1, kWhite, zoomMode, FramesFromClipboard);
    });
}

void TButtonBar::SelectOrnateFrame(int zoomMode) {
    // The default ornate picture gives the frame its thickness. It is read
    // before anything changes, so a missing file fails the selection and the
    // current style stays.
    Bitmap probe;
    LoadBmpFile(StartFolderFile(kOrnateSizeFile), probe);
    const int ow = probe.Width(), oh = probe.Height();
    Select(fsOrnate, [&](int, int) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<TOrnateFrame>(Window, FileName, 0, 0, ow, oh, kOlive, kBlack, true,
                                              1, kWhite, StartFolderFile(kOrnateDefault), zoomMode,
                                              FramesFromClipboard);
    });
}

void TButtonBar::SelectDropShadowFrame(int zoomMode) {
    Select(fsShadow, [&](int wi, int) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<TDropShadowFrame>(Window, FileName, 0, 0, wi / 10, wi / 10, kGray,
                                                  kBlack, true, 1, kWhite, zoomMode,
                                                  FramesFromClipboard);
    });
}

void TButtonBar::SelectMaskFrame(int zoomMode) {
    Select(fsMask, [&](int, int) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<TMaskFrame>(Window, FileName, 0, 0, 0, 0, kGray, kBlack, false, 1,
                                            kWhite, StartFolderFile(kMaskDefault), zoomMode,
                                            FramesFromClipboard);
    });
}

void TButtonBar::SelectOverlayFrame(int zoomMode) {
    Select(fsOverlay, [&](int, int) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<TOverlayFrame>(Window, FileName, 0, 0, 0, 0, kGray, kBlack, false,
                                               1, kWhite, StartFolderFile(kOverlayDefault),
                                               zoomMode, FramesFromClipboard);
    });
}

void TButtonBar::SelectBoxFrame(int zoomMode) {
    Select(fsBox, [&](int wi, int) -> std::unique_ptr<TPhotoFrame> {
        return std::make_unique<TBoxFrame>(Window, FileName, 0, 0, wi / 10, wi / 10, kWhite, kBlack,
                                           true, 1, kWhite, zoomMode, FramesFromClipboard);
    });
}

void TButtonBar::SelectStyle(int style, int zoomMode) {
    switch (style) {
    case fsCorner:
        return SelectStandardFrame(zoomMode);
    case fsMatte:
        return SelectContinuousFrame(zoomMode);
    case fsJagged:
        return SelectJaggedFrame(zoomMode);
    case fsOval:
        return SelectOvalFrame(zoomMode);
    case fsDiamond:
        return SelectDiamondFrame(zoomMode);
    case fsGrayscale:
        return SelectGrayscaleFrame(zoomMode);
    case fsBubble:
        return SelectBubbleFrame(zoomMode);
    case fsButton:
        return Select3DFrame(zoomMode);
    case fsOrnate:
        return SelectOrnateFrame(zoomMode);
    case fsShadow:
        return SelectDropShadowFrame(zoomMode);
    case fsMask:
        return SelectMaskFrame(zoomMode);
    case fsOverlay:
        return SelectOverlayFrame(zoomMode);
    case fsBox:
        return SelectBoxFrame(zoomMode);
    default:
        return;
    }
}

void TButtonBar::HideFrame() {
    if (TPhotoFrame* f = CurrentFrame()) f->Display->Visible = false;
}

void TButtonBar::ShowFrame() {
    if (Image) Image->Visible = false;
    if (TPhotoFrame* f = CurrentFrame()) {
        f->Display->Visible = true;
        f->Display->Refresh();
    }
}

void TButtonBar::DrawFrame() {
    TPhotoFrame* f = CurrentFrame();
    if (!f) return;
    switch (Style) {
    case fsCorner:
        // The one style painted through its virtual operation.
        static_cast<TStandardFrame*>(f)->PaintFrame();
        break;
    case fsMatte:
        static_cast<TContinuousFrame*>(f)->PaintFrame();
        break;
    case fsJagged:
        static_cast<TJaggedFrame*>(f)->PaintFrame();
        break;
    case fsOval:
        static_cast<TOvalFrame*>(f)->PaintFrame();
        break;
    case fsDiamond:
        static_cast<TDiamondFrame*>(f)->PaintFrame();
        break;
    case fsGrayscale:
        static_cast<TGrayscaleFrame*>(f)->PaintFrame();
        break;
    case fsBubble:
        static_cast<TBubbleFrame*>(f)->PaintFrame();
        break;
    case fsButton:
        // The bevel works on the photo's own pixels, so it starts afresh.
        f->DrawPictureCentred();
        static_cast<T3DFrame*>(f)->PaintFrame();
        break;
    case fsOrnate:
        static_cast<TOrnateFrame*>(f)->PaintFrame();
        break;
    case fsShadow:
        static_cast<TDropShadowFrame*>(f)->PaintFrame();
        break;
    case fsMask:
        static_cast<TMaskFrame*>(f)->PaintFrame();
        break;
    case fsOverlay:
        static_cast<TOverlayFrame*>(f)->PaintFrame();
        break;
    case fsBox:
        static_cast<TBoxFrame*>(f)->PaintFrame();
        break;
    default:
        break;
    }
}

void TButtonBar::DrawPictureCentred() {
    if (TPhotoFrame* f = CurrentFrame()) f->DrawPictureCentred();
}

void TButtonBar::ShowAtZoom(int zoomMode) {
    TPhotoFrame* f = CurrentFrame();
    if (!f) return;
    const float scale = ZoomScale(zoomMode);
    f->Scale = scale;
    f->DisplayHeight = Scaled(f->OutputHeight, scale);
    f->DisplayWidth = Scaled(f->OutputWidth, scale);
    const int w = Scaled(f->Output->Width(), scale);
    const int h = Scaled(f->Output->Height(), scale);
    f->Display->SetBounds(f->Display->Left(), f->Display->Top(), w, h);
    f->Display->PictureBitmap().SetSize(w, h);
    if (!f->Output->Empty() && w > 0 && h > 0)
        f->Display->canvas().StretchDraw(Rect(0, 0, w, h), *f->Output);
    f->Display->Refresh();
}

void TButtonBar::SetOutputSize(int width, int height) {
    if (TPhotoFrame* f = CurrentFrame()) f->SetOutputSize(width, height);
}

// --- Parameters of the current frame ------------------------------------------

void TButtonBar::SetFrameHeight(int v) {
    TPhotoFrame* f = CurrentFrame();
    // Out-of-range requests are ignored whole: the frame would refuse the
    // thickness while the output still grew by the requested amount.
    if (!f || !ThicknessInRange(v)) return;
    switch (Style) {
    case fsCorner:
    case fsMatte:
        f->SetFrameHeight(v);
        f->SetOutputSize(f->PictureWidth + 2 * f->FrameWidth, f->PictureHeight + 2 * v);
        break;
    case fsButton:
        f->SetFrameHeight(v);
        f->SetFrameWidth(v);
        break;
    case fsShadow:
    case fsBox:
        f->SetFrameHeight(v);
        f->SetFrameWidth(v);
        f->SetOutputSize(f->PictureWidth + 2 * v, f->PictureHeight + 2 * v);
        break;
    case fsMask:
    case fsOverlay:
        f->SetFrameHeight(v);
        f->SetImageTop(v);
        break;
    default:
        f->SetFrameHeight(v);
        break;
    }
}

void TButtonBar::SetFrameWidth(int v) {
    TPhotoFrame* f = CurrentFrame();
    if (!f || !ThicknessInRange(v)) return;
    switch (Style) {
    case fsCorner:
    case fsMatte:
    case fsShadow:
        f->SetFrameWidth(v);
        f->SetOutputSize(f->PictureWidth + 2 * v, f->PictureHeight + 2 * f->FrameHeight);
        break;
    case fsButton:
        f->SetFrameWidth(v);
        f->SetFrameHeight(v);
        break;
    case fsMask:
    case fsOverlay:
        f->SetFrameWidth(v);
        f->SetImageLeft(v);
        break;
    default:
        f->SetFrameWidth(v);
        break;
    }
}

int TButtonBar::GetFrameHeight() const {
    const TPhotoFrame* f = CurrentFrame();
    return f ? f->FrameHeight : 0;
}

int TButtonBar::GetFrameWidth() const {
    const TPhotoFrame* f = CurrentFrame();
    return f ? f->FrameWidth : 0;
}

void TButtonBar::SetBorderWidth(int v) {
    TPhotoFrame* f = CurrentFrame();
    if (!f) return;
    if (Style >= fsCorner && Style <= fsBubble)
        f->SetBorderWidth(v);
    else if (Style == fsMask)
        static_cast<TMaskFrame*>(f)->SetBrightness(v);
}

int TButtonBar::GetBorderWidth() const {
    const TPhotoFrame* f = CurrentFrame();
    if (!f) return 0;
    if (Style == fsMask) return static_cast<const TMaskFrame*>(f)->Brightness;
    return f->BorderWidth;
}

void TButtonBar::SetScaled(bool b) {
    TPhotoFrame* f = CurrentFrame();
    if (!f) return;
    if (Style == fsShadow || Style == fsBox) f->ClearOutput();
    f->StretchPicture = b;
}

bool TButtonBar::GetScaled() const {
    const TPhotoFrame* f = CurrentFrame();
    return f ? f->StretchPicture : false;
}

void TButtonBar::SetFrameColor(Color c) {
    if (TPhotoFrame* f = CurrentFrame()) f->SetFrameColor(c);
}

Color TButtonBar::GetFrameColor() const {
    const TPhotoFrame* f = CurrentFrame();
    return f ? f->FrameColor : 0;
}

void TButtonBar::SetBorderColor(Color c) {
    if (TPhotoFrame* f = CurrentFrame()) f->SetBorderColor(c);
}

Color TButtonBar::GetBorderColor() const {
    const TPhotoFrame* f = CurrentFrame();
    return f ? f->BorderColor : 0;
}

void TButtonBar::SetPattern(const std::string& fileName) {
    if (TPhotoFrame* f = CurrentFrame()) f->SetPattern(fileName);
}

Bitmap* TButtonBar::GetPatternBitmap() {
    TPhotoFrame* f = CurrentFrame();
    if (!f) return nullptr;
    PatternBitmap = f->PatternPicture.get();
    PatternName = f->PatternName;
    return PatternBitmap;
}

int TButtonBar::GetPatternHeight() const {
    const TPhotoFrame* f = CurrentFrame();
    return f ? f->PatternPicture->Height() : 0;
}

int TButtonBar::GetPictureWidth() const {
    const TPhotoFrame* f = CurrentFrame();
    return f ? f->PictureWidth : 0;
}

int TButtonBar::GetPictureHeight() const {
    const TPhotoFrame* f = CurrentFrame();
    return f ? f->PictureHeight : 0;
}

int TButtonBar::GetDisplayWidth() const {
    const TPhotoFrame* f = CurrentFrame();
    return f ? f->DisplayWidth : 0;
}

int TButtonBar::GetDisplayHeight() const {
    const TPhotoFrame* f = CurrentFrame();
    return f ? f->DisplayHeight : 0;
}

Bitmap* TButtonBar::GetFramedPicture(float& scale) {
    TPhotoFrame* f = CurrentFrame();
    if (!f) return nullptr;
    scale = f->Scale;
    return f->Output.get();
}

void TButtonBar::GetMouseState(TMouseState& state) const {
    state = TMouseState{};
    if (Style == fsNone) {
        state = MouseState;
        return;
    }
    if (const TPhotoFrame* f = CurrentFrame()) {
        state.RightReleased = f->MouseState.RightReleased;
        state.RightPressed = f->MouseState.RightPressed;
        state.ButtonX = f->MouseState.ButtonX;
        state.ButtonY = f->MouseState.ButtonY;
        state.PointerX = f->MouseState.PointerX;
        state.PointerY = f->MouseState.PointerY;
    }
}

void TButtonBar::ClearMouseState() {
    if (Style == fsNone) {
        MouseState.RightReleased = MouseState.LeftReleased = false;
        MouseState.RightPressed = MouseState.LeftPressed = false;
        MouseState.ButtonX = MouseState.ButtonY = 0;
        return;
    }
    if (TPhotoFrame* f = CurrentFrame()) {
        f->MouseState.RightReleased = f->MouseState.RightPressed = false;
        f->MouseState.ButtonX = f->MouseState.ButtonY = 0;
    }
}

// --- Access for the shell and tests ----------------------------------------------

TPhotoFrame* TButtonBar::CurrentFrame() const {
    return Frame(Style);
}

TPhotoFrame* TButtonBar::Frame(int style) const {
    if (style < 0 || style >= kStyleCount) return nullptr;
    return frames_[std::size_t(style)].get();
}

TImage* TButtonBar::VisibleImage() const {
    if (TPhotoFrame* f = CurrentFrame()) return f->Display.get();
    return Image.get();
}

} // namespace quillon
