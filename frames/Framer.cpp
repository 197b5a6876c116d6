#include "frames/Framer.h"

#include "canvas/Canvas.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/Clipboard.h"

#include <algorithm>
#include <filesystem>

namespace quillon {

float ZoomScale(int zoomMode) {
    switch (zoomMode) {
    case 2:
        return 0.75f;
    case 3:
        return 0.5f;
    case 4:
        return 0.25f;
    case 5:
        return 0.1f;
    default:
        return 1.0f;
    }
}

TPhoto::TPhoto(TImageParent* window, const std::string& fileName, int top, int left,
               Color borderColor, int borderWidth, Color backgroundColor, int zoomMode,
               bool fromClipboard)
    : PatternPicture(std::make_unique<Bitmap>()), Output(std::make_unique<Bitmap>()),
      Unframed(std::make_unique<Bitmap>()), Display(std::make_unique<TImage>()) {
    Display->AutoSize = false;
    Display->Visible = true;
    Display->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) {
        DisplayMouseDown(b, s, x, y);
    };
    Display->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) {
        DisplayMouseUp(b, s, x, y);
    };
    Window = window;

    // With no bitmap on the clipboard the photo stays empty (0 x 0), but the
    // remaining set-up still runs so that every field has a defined value.
    if (fromClipboard && Clipboard().GetBitmap(*Output)) {
        DisplayWidth = Output->Width();
        DisplayHeight = Output->Height();
    }
    FileName = fileName;
    PictureWidth = DisplayWidth;
    PictureHeight = DisplayHeight;
    Unframed->Assign(*Output);

    if (zoomMode >= 2 && zoomMode <= 5) {
        Scale = ZoomScale(zoomMode);
        DisplayHeight = int(float(DisplayHeight) * Scale);
        DisplayWidth = int(float(DisplayWidth) * Scale);
    }

    Display->SetBounds(left, top, DisplayWidth, DisplayHeight);
    Display->PictureBitmap().SetSize(DisplayWidth, DisplayHeight);
    OutputWidth = Display->Width();
    OutputHeight = Display->Height();
    ImageTop = Display->Top();
    ImageLeft = Display->Left();
    Display->Parent = window;
    if (!Output->Empty())
        Display->canvas().StretchDraw(Rect(0, 0, DisplayWidth, DisplayHeight), *Output);

    BorderColor = borderColor;
    BackgroundColor = backgroundColor;
    SetBorderWidth(borderWidth);
}

void TPhoto::SetOutputSize(int width, int height) {
    OutputHeight = height;
    OutputWidth = width;
    Output->SetSize(width, height);
    Canvas& c = Output->canvas();
    c.brush.SetStyle(BrushStyle::Solid);
    c.brush.SetColor(BackgroundColor);
    c.pen.color = BackgroundColor;
    c.FillRect(Rect(0, 0, width, height));
    Display->SetLeft(0);
    Display->SetTop(0);
    Display->Parent = Window;
    DrawPictureCentred();
}

void TPhoto::ClearOutput() {
    Canvas& c = Output->canvas();
    c.brush.SetStyle(BrushStyle::Solid);
    c.brush.SetColor(BackgroundColor);
    c.pen.color = BackgroundColor;
    c.FillRect(Rect(0, 0, OutputWidth, OutputHeight));
}

void TPhoto::DrawPictureCentred() {
    Canvas& c = Output->canvas();
    c.copyMode = CopyMode::SourceCopy;
    const int x = (OutputWidth - Unframed->Width()) / 2 + ImageLeft;
    const int y = (OutputHeight - Unframed->Height()) / 2 + ImageTop;
    if (!Unframed->Empty()) c.Draw(x, y, *Unframed);
    ShowOutput();
}

void TPhoto::FillFrameArea() {
    Canvas& c = Output->canvas();
    c.pen.color = FrameColor;
    c.pen.SetWidth(1);
    const int fw = FrameWidth, fh = FrameHeight, ow = OutputWidth, oh = OutputHeight;
    const int n = std::max(fw, fh);
    for (int i = 0; i <= n; ++i) {
        const Point pts[5] = {{fw - i, fh - i},
                              {ow - fw + i, fh - i},
                              {ow - fw + i, oh - fh + i},
                              {fw - i, oh - fh + i},
                              {fw - i, fh - i}};
        c.Polyline(pts);
    }
}

void TPhoto::ShowOutput() {
    const int w = int(float(Output->Width()) * Scale);
    const int h = int(float(Output->Height()) * Scale);
    Display->SetBounds(0, 0, w, h);
    Display->PictureBitmap().SetSize(w, h);
    if (!Output->Empty() && w > 0 && h > 0)
        Display->canvas().StretchDraw(Rect(0, 0, w, h), *Output);
    DisplayWidth = w;
    DisplayHeight = h;
    Display->Refresh();
}

void TPhoto::SetFrameBrush() {
    Brush& brush = Output->canvas().brush;
    brush.SetStyle(BrushStyle::Solid);
    if (BorderWidth > 0 && !PatternName.empty())
        brush.SetBitmap(PatternPicture.get());
    else
        brush.SetColor(FrameColor);
}

void TPhoto::SetPattern(const std::string& fileName) {
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

bool TPhoto::SaveToFile(const std::string& fileName) {
    return SavePictureFile(*Output, fileName);
}

void TPhoto::SetFrameHeight(int v) {
    if (v >= 0 && v <= 200) FrameHeight = v;
}

void TPhoto::SetFrameWidth(int v) {
    if (v >= 0 && v <= 200) FrameWidth = v;
}

void TPhoto::SetBorderWidth(int v) {
    if (v < 0 || v > 50) return;
    BorderWidth = v;
    HalfBorder = v / 2 + (v % 2 == 0 ? 1 : 0);
}

void TPhoto::RecordMouse(TMouseButton button, TShiftState shift, int x, int y) {
    const bool right = button == TMouseButton::mbRight;
    MouseState.RightReleased = right && !(shift & ssRight);
    MouseState.RightPressed = right && (shift & ssRight);
    MouseState.ButtonX = MouseState.PointerX = x;
    MouseState.ButtonY = MouseState.PointerY = y;
}

void TPhoto::DisplayMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    RecordMouse(button, shift, x, y);
}

void TPhoto::DisplayMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    RecordMouse(button, shift, x, y);
}

TPhotoFrame::TPhotoFrame(TImageParent* window, const std::string& fileName, int top, int left,
                         int frameWidth, int frameHeight, Color frameColor, Color borderColor,
                         bool expand, int borderWidth, Color backgroundColor, int zoomMode,
                         bool fromClipboard)
    : TPhoto(window, fileName, top, left, borderColor, borderWidth, backgroundColor, zoomMode,
             fromClipboard) {
    SetFrameHeight(frameHeight);
    SetFrameWidth(frameWidth);
    FrameColor = frameColor;
    if (expand)
        SetOutputSize(PictureWidth + 2 * FrameWidth, PictureHeight + 2 * FrameHeight);
    else
        SetOutputSize(PictureWidth, PictureHeight);
}

} // namespace quillon
