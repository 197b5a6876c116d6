#include "frames/DropShadowFrame.h"

#include "canvas/Canvas.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/SmoothScale.h"

#include <algorithm>
#include <filesystem>

namespace quillon {

DropShadowFrame::DropShadowFrame(const Bitmap& photo, const FrameSettings& settings)
    : FrameStyle(photo, settings) {
    // The pieces' own width is the shadow's width until one is given; a
    // missing piece shows as 0 here and fails when the shadow is painted.
    try {
        Bitmap piece;
        LoadBmpFile(StartFolderFile(kPieces[0]), piece);
        pieceWidth_ = piece.Width();
    } catch (const PictureError&) {
        pieceWidth_ = 0;
    }
    Paint();
}

void DropShadowFrame::ChangeBorderWidth(int v) {
    if (v >= 1 && v <= BorderWidthLimit()) ShadowWidth = v;
}

int DropShadowFrame::BorderWidthField() const {
    return ShadowWidth.value_or(pieceWidth_);
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
    // A shadow width other than the pieces' own scales every piece, the
    // step and the offset alike.
    Bitmap piece;
    LoadBmpFile(StartFolderFile("ru.res"), piece);
    pieceWidth_ = piece.Width();
    const int own = pieceWidth_;
    const bool scaled = ShadowWidth && own > 0 && *ShadowWidth != own;
    // Piece i of kPieces ("ru.res" is read above).
    auto load = [&](int i) {
        if (i > 0) LoadBmpFile(StartFolderFile(kPieces[i]), piece);
        if (scaled)
            SmoothScale(piece, piece, std::max(1, ScaledLength(piece.Width(), *ShadowWidth, own)),
                        std::max(1, ScaledLength(piece.Height(), *ShadowWidth, own)), false);
    };
    const int t = scaled ? *ShadowWidth : own;
    const int offset = scaled ? ScaledLength(4, *ShadowWidth, own) : 4;
    load(0);
    piece.SetPixelFormat(PixelFormat::Bgrx32);
    c.Draw(W - fw, fh + offset, piece);

    load(1);
    if (t > 0)
        for (int y = fh + t + offset; y < H - fh - t; y += t) c.Draw(W - fw, y, piece);
    c.Draw(W - fw, H - fh - t, piece);

    load(2);
    c.Draw(W - fw, H - fh, piece);

    load(3);
    c.Draw(fw + offset, H - fh, piece);

    load(4);
    if (t > 0)
        for (int x = fw + t + offset; x < W - fw - t; x += t) c.Draw(x, H - fh, piece);
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
