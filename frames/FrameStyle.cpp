#include "frames/FrameStyle.h"

#include "canvas/Canvas.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>

namespace quillon {

FrameSettings MakeFrameSettings(int frameWidth, int frameHeight, Color frameColor,
                                Color borderColor, bool expand, int borderWidth,
                                Color backgroundColor, const std::string& decorationFile) {
    FrameSettings s;
    s.frameWidth = frameWidth;
    s.frameHeight = frameHeight;
    s.frameColor = frameColor;
    s.borderColor = borderColor;
    s.expand = expand;
    s.borderWidth = borderWidth;
    s.backgroundColor = backgroundColor;
    s.decorationFile = decorationFile;
    return s;
}

std::unique_ptr<Bitmap> ScreenCopy(const Bitmap& picture) {
    // The copy shares the picture's pixels; a conversion gives it its own.
    auto copy = std::make_unique<Bitmap>();
    copy->Assign(picture);
    if (copy->format() != PixelFormat::Device) copy->SetPixelFormat(PixelFormat::Device);
    copy->Transparent = false;
    return copy;
}

// The output starts empty and is made at its final size by SetOutputSize:
// the photo is copied once, into Unframed, and drawn from there.
FrameStyle::FrameStyle(const Bitmap& photo, const FrameSettings& settings)
    : PatternPicture(std::make_unique<Bitmap>()), Output(std::make_unique<Bitmap>()),
      Unframed(ScreenCopy(photo)) {
    Output->Palette() = Unframed->Palette();
    Output->TransparentColor = Unframed->TransparentColor;
    PictureWidth = Unframed->Width();
    PictureHeight = Unframed->Height();
    BorderColor = settings.borderColor;
    BackgroundColor = settings.backgroundColor;
    SetBorderWidth(settings.borderWidth);
    SetFrameHeight(settings.frameHeight);
    SetFrameWidth(settings.frameWidth);
    FrameColor = settings.frameColor;
    if (settings.expand)
        SetOutputSize(PictureWidth + 2 * FrameWidth, PictureHeight + 2 * FrameHeight);
    else
        SetOutputSize(PictureWidth, PictureHeight);
}

void FrameStyle::SetOutputSize(int width, int height) {
    OutputHeight = height;
    OutputWidth = width;
    // The fill and the photo below cover every pixel, so the old ones need
    // not be kept.
    Output->SetSizeForOverwrite(width, height);
    if (DeferOutputDrawing) {
        outputDrawingPending_ = true;
        return;
    }
    FillAroundPicture();
    DrawPictureCentred();
}

void FrameStyle::FillAroundPicture() {
    outputDrawingPending_ = false;
    const int width = OutputWidth, height = OutputHeight;
    Canvas& c = Output->canvas();
    c.brush.SetStyle(BrushStyle::Solid);
    c.brush.SetColor(BackgroundColor);
    c.pen.color = BackgroundColor;
    // An opaque photo replaces every pixel under it, so only the part of the
    // output around it is filled: on a large photo that saves writing
    // nearly the whole output twice. SetOutputSizeReference fills it all.
    const int x = (width - Unframed->Width()) / 2 + ImageLeft;
    const int y = (height - Unframed->Height()) / 2 + ImageTop;
    const int left = std::clamp(x, 0, width), right = std::clamp(x + Unframed->Width(), 0, width);
    const int top = std::clamp(y, 0, height),
              bottom = std::clamp(y + Unframed->Height(), 0, height);
    if (Unframed->Transparent || left >= right || top >= bottom) {
        c.FillRect(Rect(0, 0, width, height));
    } else {
        c.FillRect(Rect(0, 0, width, top));
        c.FillRect(Rect(0, top, left, bottom));
        c.FillRect(Rect(right, top, width, bottom));
        c.FillRect(Rect(0, bottom, width, height));
    }
}

void FrameStyle::SetOutputSizeReference(int width, int height) {
    OutputHeight = height;
    OutputWidth = width;
    Output->SetSizeForOverwrite(width, height);
    ClearOutput();
    DrawPictureCentred();
}

void FrameStyle::ClearOutput() {
    Canvas& c = Output->canvas();
    c.brush.SetStyle(BrushStyle::Solid);
    c.brush.SetColor(BackgroundColor);
    c.pen.color = BackgroundColor;
    c.FillRect(Rect(0, 0, OutputWidth, OutputHeight));
}

void FrameStyle::DrawPictureCentred() {
    // A resize that left its fill for later has it now, before the photo.
    if (outputDrawingPending_) FillAroundPicture();
    Canvas& c = Output->canvas();
    c.copyMode = CopyMode::SourceCopy;
    const int x = (OutputWidth - Unframed->Width()) / 2 + ImageLeft;
    const int y = (OutputHeight - Unframed->Height()) / 2 + ImageTop;
    if (!Unframed->Empty()) c.Draw(x, y, *Unframed);
}

void FrameStyle::FillFrameArea() {
    FillFrameArea(FrameWidth, FrameHeight, FrameWidth, FrameHeight);
}

void FrameStyle::FillFrameArea(int left, int top, int right, int bottom) {
    Canvas& c = Output->canvas();
    c.pen.color = FrameColor;
    c.pen.SetWidth(1);
    const int ow = OutputWidth, oh = OutputHeight;
    // Ring i of FillFrameAreaReference is the outline of the inner rectangle
    // (left, top) .. (ow - right, oh - bottom) grown by i on every side. When
    // that rectangle is a proper one and the rings reach the output's edges,
    // together they cover every pixel of the output but those strictly
    // inside the inner rectangle: four bands, filled a row at a time rather
    // than one ring pixel at a time down the columns.
    if (left >= 0 && top >= 0 && right >= 0 && bottom >= 0 && left < ow - right &&
        top < oh - bottom && Output->Width() == ow && Output->Height() == oh) {
        c.FillRectWithPen(Rect(0, 0, ow, top + 1));
        c.FillRectWithPen(Rect(0, top + 1, left + 1, oh - bottom));
        c.FillRectWithPen(Rect(ow - right, top + 1, ow, oh - bottom));
        c.FillRectWithPen(Rect(0, oh - bottom, ow, oh));
        return;
    }
    FillFrameAreaReference(left, top, right, bottom);
}

void FrameStyle::FillFrameAreaReference(int left, int top, int right, int bottom) {
    Canvas& c = Output->canvas();
    c.pen.color = FrameColor;
    c.pen.SetWidth(1);
    const int ow = OutputWidth, oh = OutputHeight;
    const int n = std::max({left, top, right, bottom});
    for (int i = 0; i <= n; ++i) {
        const Point pts[5] = {{left - i, top - i},
                              {ow - right + i, top - i},
                              {ow - right + i, oh - bottom + i},
                              {left - i, oh - bottom + i},
                              {left - i, top - i}};
        c.Polyline(pts);
    }
}

void FrameStyle::SetFrameBrush() {
    Brush& brush = Output->canvas().brush;
    brush.SetStyle(BrushStyle::Solid);
    if (BorderWidth > 0 && !PatternName.empty())
        brush.SetBitmap(PatternPicture.get());
    else
        brush.SetColor(FrameColor);
}

void FrameStyle::SetPattern(const std::string& fileName) {
    // Decoration files are found whatever the letter case of the name.
    const std::string found = fileName.empty() ? fileName : FindFileNoCase(fileName);
    std::error_code ec;
    if (found.empty() || !std::filesystem::is_regular_file(found, ec)) {
        PatternName.clear();
        return;
    }
    // The name changes only once the picture is read, so that a file that
    // cannot be read leaves name and picture matching each other.
    LoadDecorationPicture(found, *PatternPicture);
    PatternName = fileName;
}

void FrameStyle::ChooseDecoration(const std::string& fileName) {
    SetPattern(fileName);
    DrawPictureCentred();
    Paint();
}

int FrameStyle::ThicknessLimit() const {
    return std::max(kMaxFrameThickness, std::min(PictureWidth, PictureHeight) / 2);
}

void FrameStyle::SetFrameHeight(int v) {
    if (v >= 0 && v <= ThicknessLimit()) FrameHeight = v;
}

void FrameStyle::SetFrameWidth(int v) {
    if (v >= 0 && v <= ThicknessLimit()) FrameWidth = v;
}

int FrameStyle::BorderWidthLimit() const {
    return std::max(kMaxBorderWidth, std::min(PictureWidth, PictureHeight) / 8);
}

void FrameStyle::SetBorderWidth(int v) {
    if (v < 0 || v > BorderWidthLimit()) return;
    BorderWidth = v;
    HalfBorder = v / 2 + (v % 2 == 0 ? 1 : 0);
}

} // namespace quillon
