#include "frames/DropShadowFrame.h"

#include "canvas/Canvas.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"

#include <filesystem>

namespace quillon {

DropShadowFrame::DropShadowFrame(const Bitmap& photo, const FrameSettings& settings)
    : FrameStyle(photo, settings) {
    Paint();
}

std::array<Point, 7> FlatShadowPolygon(int W, int H, int fw, int fh) {
    const int hw = fw / 2, hh = fh / 2;
    return {{{W - fw, fh + hh},
             {W - hw, fh + hh},
             {W - hw, H - hh},
             {fw + hw, H - hh},
             {fw + hw, H - fh},
             {W - fw, H - fh},
             {W - fw, fh + hh}}};
}

std::string DropShadowFrame::MissingDataFile() const {
    if (!StretchPicture) return {};
    for (const char* piece : kPieces) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(StartFolderFile(piece), ec)) return piece;
    }
    return {};
}

void DropShadowFrame::ChangeFrameHeight(int v) {
    // One depth serves both sides.
    SetFrameHeight(v);
    SetFrameWidth(v);
    SetOutputSize(PictureWidth + 2 * v, PictureHeight + 2 * v);
}

void DropShadowFrame::ChangeFrameWidth(int v) {
    SetFrameWidth(v);
    SetOutputSize(PictureWidth + 2 * v, PictureHeight + 2 * FrameHeight);
}

void DropShadowFrame::ChangeStretch(bool b) {
    ClearOutput();
    StretchPicture = b;
}

void DropShadowFrame::Paint() {
    Output->SetPixelFormat(PixelFormat::Bgrx32);
    if (StretchPicture)
        PaintRealisticShadow();
    else
        PaintFlatShadow();
}

void DropShadowFrame::PaintRealisticShadow() {
    Canvas& c = Output->canvas();
    const int W = OutputWidth, H = OutputHeight, fw = FrameWidth, fh = FrameHeight;
    c.pen.color = FrameColor;
    SetFrameBrush();

    // One temporary bitmap takes each piece in turn. The runs are tiled with
    // the width of the upper end as their step; a piece without width would
    // never advance, so then only the closing tile of each run is drawn.
    Bitmap piece;
    LoadBmpFile(StartFolderFile("ru.res"), piece);
    const int t = piece.Width();
    piece.SetPixelFormat(PixelFormat::Bgrx32);
    c.Draw(W - fw, fh + 4, piece);

    LoadBmpFile(StartFolderFile("rc.res"), piece);
    if (t > 0)
        for (int y = fh + t + 4; y < H - fh - t; y += t) c.Draw(W - fw, y, piece);
    c.Draw(W - fw, H - fh - t, piece);

    LoadBmpFile(StartFolderFile("rl.res"), piece);
    c.Draw(W - fw, H - fh, piece);

    LoadBmpFile(StartFolderFile("ll.res"), piece);
    c.Draw(fw + 4, H - fh, piece);

    LoadBmpFile(StartFolderFile("lc.res"), piece);
    if (t > 0)
        for (int x = fw + t + 4; x < W - fw - t; x += t) c.Draw(x, H - fh, piece);
    c.Draw(W - fw - t, H - fh, piece);

    c.brush.SetColor(BorderColor);
    c.FrameRect(Rect(fw, fh, W - fw, H - fh));
}

void DropShadowFrame::PaintFlatShadow() {
    Output->SetPixelFormat(PixelFormat::Device);
    Canvas& c = Output->canvas();
    const int W = OutputWidth, H = OutputHeight, fw = FrameWidth, fh = FrameHeight;
    c.pen.SetWidth(BorderWidth);
    c.pen.color = BorderColor;
    // An outline only: the photo inside is not filled.
    c.brush.SetStyle(BrushStyle::Clear);
    c.Rectangle(fw - 1, fh - 1, W - fw, H - fh);
    c.pen.color = FrameColor;
    SetFrameBrush();
    c.Polygon(FlatShadowPolygon(W, H, fw, fh));
}

} // namespace quillon
