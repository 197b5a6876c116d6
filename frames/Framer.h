// TPhoto and TPhotoFrame: one framing job and what every frame style shares.
//
// A frame object owns its own copy of the photo (Unframed), the framed
// picture at full size (Output), the preview control that shows Output at the
// zoom (Display) and an optional decoration picture (PatternPicture). Each
// style class derives from TPhotoFrame, paints in its PaintFrame and ends by
// calling ShowOutput. The photo is read from the clipboard at construction;
// with an empty clipboard the frame holds an empty 0 x 0 photo with every
// field set, and painting it does nothing harmful.
#pragma once

#include "canvas/Bitmap.h"
#include "canvas/Types.h"
#include "frames/Image.h"

#include <memory>
#include <string>

namespace quillon {

class TPhoto {
public:
    TPhoto(TImageParent* window, const std::string& fileName, int top, int left, Color borderColor,
           int borderWidth, Color backgroundColor, int zoomMode, bool fromClipboard);
    // Frame objects are owned and destroyed through TPhotoFrame pointers.
    virtual ~TPhoto() = default;
    TPhoto(const TPhoto&) = delete;
    TPhoto& operator=(const TPhoto&) = delete;

    // Resizes and clears Output, then draws the photo into it.
    void SetOutputSize(int width, int height);
    // Fills the whole of Output with BackgroundColor (no preview refresh).
    void ClearOutput();
    // Draws Unframed into Output centred (plus ImageLeft/ImageTop), then
    // ShowOutput.
    void DrawPictureCentred();
    // Paints the frame ring of Output with FrameColor.
    void FillFrameArea();
    // Shows Output in the preview at Scale.
    void ShowOutput();
    // Sets Output's brush for the frame's faces: the pattern when there is one
    // and the faces have a visible outline (BorderWidth > 0), otherwise plain
    // FrameColor, which also drops a pattern left by an earlier paint.
    void SetFrameBrush();
    // Loads the decoration picture; a missing file empties PatternName and
    // keeps the old picture.
    void SetPattern(const std::string& fileName);
    // Writes Output by the picture-file name rules; false when no writer
    // matches the name.
    bool SaveToFile(const std::string& fileName);

    void SetFrameHeight(int v); // 0..200
    void SetFrameWidth(int v);  // 0..200
    void SetBorderWidth(int v); // 0..50, also sets HalfBorder
    void SetImageTop(int v) { ImageTop = v; }
    void SetImageLeft(int v) { ImageLeft = v; }
    void SetFrameColor(Color c) { FrameColor = c; }
    void SetBorderColor(Color c) { BorderColor = c; }

    // Mouse handlers of Display.
    void DisplayMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void DisplayMouseUp(TMouseButton button, TShiftState shift, int x, int y);

    TMouseState MouseState;
    bool StretchPicture = true;
    std::unique_ptr<Bitmap> PatternPicture;
    std::string PatternName;
    std::unique_ptr<Bitmap> Output;
    std::unique_ptr<Bitmap> Unframed;
    std::unique_ptr<TImage> Display;
    Color FrameColor = 0;
    Color BackgroundColor = 0;
    Color BorderColor = 0;
    int HalfBorder = 0;
    int BorderWidth = 0;
    int ImageLeft = 0;
    int PictureWidth = 0;
    int PictureHeight = 0;
    int FrameWidth = 0;
    int FrameHeight = 0;
    int ImageTop = 0;
    int OutputHeight = 0;
    int OutputWidth = 0;
    int DisplayHeight = 0;
    int DisplayWidth = 0;
    float Scale = 1.0f;
    std::string FileName;
    TImageParent* Window = nullptr;

private:
    void RecordMouse(TMouseButton button, TShiftState shift, int x, int y);
};

class TPhotoFrame : public TPhoto {
public:
    TPhotoFrame(TImageParent* window, const std::string& fileName, int top, int left,
                int frameWidth, int frameHeight, Color frameColor, Color borderColor, bool expand,
                int borderWidth, Color backgroundColor, int zoomMode, bool fromClipboard);
};

// The preview scale of a zoom mode: 0.75, 0.5, 0.25, 0.1 for modes 2 to 5,
// 1.0 for every other mode.
float ZoomScale(int zoomMode);

} // namespace quillon
