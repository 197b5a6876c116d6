// TButtonBar: the photo document. It owns the working bitmap (the photo at
// full size), the image control that shows it at the zoom, and one slot per
// frame style; a style's frame object is created with its defaults the first
// time the style is chosen and kept, with its edits, until the document goes
// or FreeFrames runs. Operations on "the current frame" do nothing (getters
// return 0, false or null) while no style is chosen (Style -1).
#pragma once

#include "canvas/Bitmap.h"
#include "canvas/Types.h"
#include "frames/Framer.h"
#include "frames/Image.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace quillon {

// Style numbers.
enum TFrameStyle : int {
    fsNone = -1,
    fsCorner = 0,    // TStandardFrame
    fsMatte = 1,     // TContinuousFrame
    fsJagged = 2,    // TJaggedFrame
    fsOval = 3,      // TOvalFrame
    fsDiamond = 4,   // TDiamondFrame
    fsGrayscale = 5, // TGrayscaleFrame
    fsBubble = 6,    // TBubbleFrame
    fsButton = 7,    // T3DFrame
    fsOrnate = 8,    // TOrnateFrame
    fsShadow = 9,    // TDropShadowFrame
    fsMask = 10,     // TMaskFrame
    fsOverlay = 11,  // TOverlayFrame
    fsBox = 12,      // TBoxFrame
};
constexpr int kStyleCount = 13;

class TButtonBar {
public:
    explicit TButtonBar(bool framesFromClipboard);
    ~TButtonBar();
    TButtonBar(const TButtonBar&) = delete;
    TButtonBar& operator=(const TButtonBar&) = delete;

    // Loading and the working bitmap.
    bool LoadPicture(const std::string& fileName, TImageParent* window, int zoomMode,
                     bool fromClipboard);
    bool SavePicture(const std::string& fileName);
    void CopyToClipboard();
    void CropPicture(int left, int top, int right, int bottom);
    void RotateRight();
    void RotateLeft();
    void Rotate180();
    void ResizePicture(int width, int height);
    int GetImageWidth() const;
    int GetImageHeight() const;
    void FreeFrames();
    // Redraws the document's image from the working bitmap at Scale (after
    // a rotation, gray scale or negative).
    void DrawScreenImage();

    // Selecting a style.
    void SelectStandardFrame(int zoomMode);   // 0
    void SelectContinuousFrame(int zoomMode); // 1
    void SelectJaggedFrame(int zoomMode);     // 2
    void SelectOvalFrame(int zoomMode);       // 3
    void SelectDiamondFrame(int zoomMode);    // 4
    void SelectGrayscaleFrame(int zoomMode);  // 5
    void SelectBubbleFrame(int zoomMode);     // 6
    void Select3DFrame(int zoomMode);         // 7
    void SelectOrnateFrame(int zoomMode);     // 8
    void SelectDropShadowFrame(int zoomMode); // 9
    void SelectMaskFrame(int zoomMode);       // 10
    void SelectOverlayFrame(int zoomMode);    // 11
    void SelectBoxFrame(int zoomMode);        // 12
    // Runs the selection operation of style (0..12).
    void SelectStyle(int style, int zoomMode);

    void HideFrame();
    void ShowFrame();
    void DrawFrame();
    void DrawPictureCentred();
    void ShowAtZoom(int zoomMode);
    void SetOutputSize(int width, int height);

    // Parameters of the current frame.
    void SetFrameHeight(int v);
    int GetFrameHeight() const;
    void SetFrameWidth(int v);
    int GetFrameWidth() const;
    void SetBorderWidth(int v);
    int GetBorderWidth() const;
    void SetScaled(bool b);
    bool GetScaled() const;
    void SetFrameColor(Color c);
    Color GetFrameColor() const;
    void SetBorderColor(Color c);
    Color GetBorderColor() const;
    void SetPattern(const std::string& fileName);
    Bitmap* GetPatternBitmap();
    int GetPatternHeight() const;
    int GetPictureWidth() const;
    int GetPictureHeight() const;
    int GetDisplayWidth() const;
    int GetDisplayHeight() const;
    Bitmap* GetFramedPicture(float& scale);
    void GetMouseState(TMouseState& state) const;
    void ClearMouseState();

    // The current frame object, or null (for the shell and tests).
    TPhotoFrame* CurrentFrame() const;
    TPhotoFrame* Frame(int style) const;
    // The image control the image window shows: the current frame's preview,
    // or the document's own image with no style.
    TImage* VisibleImage() const;

    bool FramesFromClipboard;
    TMouseState MouseState;
    std::string FileName;
    Bitmap* PatternBitmap = nullptr;
    TImageParent* Window = nullptr;
    std::unique_ptr<TImage> Image;
    std::unique_ptr<Bitmap> Photo;
    float Scale = 1.0f;
    int Style = fsNone;
    std::string PatternName;

private:
    using FrameFactory = std::function<std::unique_ptr<TPhotoFrame>(int wi, int hi)>;
    // The selection steps shared by every style; create makes the frame
    // object from the image size at the zoom.
    void Select(int style, const FrameFactory& create);
    void RecordMouseButton(TMouseButton button, TShiftState shift, int x, int y);
    // The picture that copying, saving and resizing work on: the current
    // frame's output, or the working bitmap with no style.
    Bitmap* SourcePicture() const;
    // turn: 1 clockwise, 2 half, 3 counter-clockwise.
    void Rotate(int turn);

    std::array<std::unique_ptr<TPhotoFrame>, kStyleCount> frames_;
    std::unique_ptr<Bitmap> ownPattern_;
};

} // namespace quillon
