// FrameStyle: one frame style applied to one photo, and what every style
// shares.
//
// A style owns a copy of the photo (Unframed), the framed picture at full
// size (Output) and an optional decoration picture (PatternPicture: a fill
// pattern, moulding, mask or overlay). It is made from the photo and a
// FrameSettings, paints once when made, and paints again on every Paint.
// Painting is incremental: a paint draws over what Output holds, so the
// sequence of changes and paints decides the picture, as it does on screen.
// The style keeps no view state; whoever shows Output scales it.
#pragma once

#include "canvas/Bitmap.h"
#include "canvas/Types.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quillon {

// What a style is made with besides the photo: the edit bar's values at the
// moment the style is first chosen.
struct FrameSettings {
    int frameWidth = 0;  // 0..200
    int frameHeight = 0; // 0..200
    Color frameColor = kGray;
    Color borderColor = kBlack;
    Color backgroundColor = kWhite;
    int borderWidth = 1; // 0..50
    // The output is the photo plus the frame thickness on every side; without
    // it the frame is drawn over the photo's own edge.
    bool expand = false;
    // The decoration picture the style starts with (moulding, mask,
    // overlay); empty for none.
    std::string decorationFile;
    // The random seed of the torn edges; none: the current time in seconds.
    std::optional<std::uint32_t> seed;
};

// Settings in the order a style's constructor once took them.
FrameSettings MakeFrameSettings(int frameWidth, int frameHeight, Color frameColor,
                                Color borderColor, bool expand, int borderWidth,
                                Color backgroundColor, const std::string& decorationFile = {});

// The largest frame thickness and border width the edit bar accepts in
// pixels; a photo whose shorter side is over twice kMaxFrameThickness takes a
// thickness up to half that side (ThicknessLimit).
constexpr int kMaxFrameThickness = 200;
constexpr int kMaxBorderWidth = 50;

class FrameStyle {
public:
    // Copies photo (as a screen-format picture), applies settings and sizes
    // Output. The derived style paints in its own constructor.
    FrameStyle(const Bitmap& photo, const FrameSettings& settings);
    virtual ~FrameStyle() = default;
    FrameStyle(const FrameStyle&) = delete;
    FrameStyle& operator=(const FrameStyle&) = delete;

    // Paints the frame into Output from the photo and the settings.
    virtual void Paint() = 0;

    // The edit bar's fields. What a new thickness changes besides the value
    // (the output size, the other thickness, the photo's offset) is the
    // style's own; values outside 0..200 are ignored whole.
    virtual void ChangeFrameHeight(int v) { SetFrameHeight(v); }
    virtual void ChangeFrameWidth(int v) { SetFrameWidth(v); }
    // The third field: a border width for the styles that draw borders; the
    // others ignore it.
    virtual void ChangeBorderWidth(int) {}
    virtual int BorderWidthField() const { return BorderWidth; }
    // Lengths of single sides; none keeps a side as it is. Only the styles
    // with sides of their own (the mats) take them.
    struct Sides {
        std::optional<int> left, top, right, bottom;
    };
    virtual void ChangeSides(const Sides&) {}
    // The check box ("Realistic Shadow", "Gradient Effect").
    virtual void ChangeStretch(bool b) { StretchPicture = b; }
    // Chooses a decoration picture from the picker: the pattern by default;
    // the ornate style also takes its thickness and corners from it.
    virtual void ChooseDecoration(const std::string& fileName);

    // The data file (relative to the data folder) the style needs to paint as
    // chosen and has not got; empty when it lacks nothing. The desktop
    // program paints without it; a recipe is refused.
    virtual std::string MissingDataFile() const { return {}; }

    // Resizes and clears Output, then draws the photo into it. With
    // DeferOutputDrawing set it only resizes, and the clearing is left to
    // the next DrawPictureCentred: the pixels are undefined until then.
    void SetOutputSize(int width, int height);
    // The same done plainly (the whole output cleared, then the photo
    // drawn), against which SetOutputSize is tested.
    void SetOutputSizeReference(int width, int height);
    // Fills the whole of Output with BackgroundColor.
    void ClearOutput();
    // Draws Unframed into Output centred (plus ImageLeft/ImageTop).
    void DrawPictureCentred();
    // Paints the frame ring of Output with FrameColor: FrameWidth at the left
    // and right, FrameHeight at the top and bottom, or the given sides.
    void FillFrameArea();
    void FillFrameArea(int left, int top, int right, int bottom);
    // The same painted plainly, one closed one-pixel polyline per ring from
    // the inner edge outward, against which FillFrameArea is tested.
    void FillFrameAreaReference(int left, int top, int right, int bottom);
    // Sets Output's brush for the frame's faces: the pattern when there is one
    // and the faces have a visible outline (BorderWidth > 0), otherwise plain
    // FrameColor, which also drops a pattern left by an earlier paint.
    void SetFrameBrush();
    // Loads the decoration picture; a missing file empties PatternName and
    // keeps the old picture.
    void SetPattern(const std::string& fileName);

    // The largest thickness: 200, or half the photo's shorter side when that
    // is more, so that a tenth of any photo's side is a thickness.
    int ThicknessLimit() const;
    void SetFrameHeight(int v); // 0..ThicknessLimit
    void SetFrameWidth(int v);  // 0..ThicknessLimit
    // The largest border width: 50, or an eighth of the photo's shorter side
    // when that is more.
    int BorderWidthLimit() const;
    void SetBorderWidth(int v); // 0..BorderWidthLimit, also sets HalfBorder
    void SetImageTop(int v) { ImageTop = v; }
    void SetImageLeft(int v) { ImageLeft = v; }
    void SetFrameColor(Color c) { FrameColor = c; }
    void SetBorderColor(Color c) { BorderColor = c; }

    bool StretchPicture = true;
    std::unique_ptr<Bitmap> PatternPicture;
    std::string PatternName;
    std::unique_ptr<Bitmap> Output;
    std::unique_ptr<Bitmap> Unframed;
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
    // Set while a run of setting changes is to be followed by a full
    // repaint (DrawPictureCentred, then Paint): the resizes among them skip
    // drawing a picture nobody will see.
    bool DeferOutputDrawing = false;

private:
    // Fills Output around where the photo goes with BackgroundColor.
    void FillAroundPicture();
    bool outputDrawingPending_ = false;
};

// A copy of picture as the program hands pictures between documents: in the
// screen's own pixel format and opaque.
std::unique_ptr<Bitmap> ScreenCopy(const Bitmap& picture);

} // namespace quillon
