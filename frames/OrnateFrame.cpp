// Ornate frames. The moulding picture is the top edge; the right, bottom and
// left edges are its square turned by 90, 180 and 270 degrees, and each corner
// joins two of those along a diagonal so the moulding meets itself in a mitre.
// The edges are rows of whole tiles stretched to fit the span exactly.
#include "frames/OrnateFrame.h"

#include "frames/SmoothScale.h"

#include "canvas/Canvas.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>

namespace quillon {

namespace {

// Copies the blue, green and red bytes of one pixel.
inline void CopyBgr(std::uint8_t* dst, const std::uint8_t* src) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
}

// Fills the g x g square of piece from the picture's square, turned: the
// pixel (x, y) of the piece reads the picture pixel at (sx(x, y), sy(x, y)).
template <class SourceOf>
void FillRotated(Bitmap& piece, const Bitmap& top, int g, SourceOf sourceOf) {
    for (int y = 0; y < g; ++y) {
        std::uint8_t* row = piece.ScanLine(y);
        for (int x = 0; x < g; ++x) {
            const auto [sx, sy] = sourceOf(x, y);
            CopyBgr(row + 4 * x, top.ScanLine(sy) + 4 * sx);
        }
    }
}

// Fills the g x g square of corner with `below` where belowDiagonal(x, y)
// holds and with `above` elsewhere.
template <class Pred>
void FillMitred(Bitmap& corner, const Bitmap& below, const Bitmap& above, int g,
                Pred belowDiagonal) {
    for (int y = 0; y < g; ++y) {
        std::uint8_t* row = corner.ScanLine(y);
        const std::uint8_t* b = below.ScanLine(y);
        const std::uint8_t* a = above.ScanLine(y);
        for (int x = 0; x < g; ++x)
            CopyBgr(row + 4 * x, belowDiagonal(x, y) ? b + 4 * x : a + 4 * x);
    }
}

// trunc(pos + 0.05) with the sum formed at extended precision, as the tile
// edges are placed; 0.05 is the double constant, widened.
inline int TileEdge(float pos) {
    return int(static_cast<long double>(pos) + static_cast<long double>(0.05));
}
inline int TileEdge(float pos, float step) {
    return int(static_cast<long double>(pos) + static_cast<long double>(step) +
               static_cast<long double>(0.05));
}

} // namespace

int OrnateTileCount(int span, int tile) {
    int n = span / tile;
    const int r = span % tile;
    if (tile / 2 < r) ++n;
    if (n == 0) n = 1;
    return n;
}

float OrnateTileStep(int span, int tile) {
    // The quotient is formed at extended precision and then held in single
    // precision.
    return float(static_cast<long double>(span) / OrnateTileCount(span, tile));
}

OrnatePieces::OrnatePieces(const std::string& fileName) : OrnatePieces() {
    LoadPieces(fileName);
}

OrnatePieces::OrnatePieces()
    : TopPiece(std::make_unique<Bitmap>()), RightPiece(std::make_unique<Bitmap>()),
      BottomPiece(std::make_unique<Bitmap>()), LeftPiece(std::make_unique<Bitmap>()),
      TopLeftPiece(std::make_unique<Bitmap>()), TopRightPiece(std::make_unique<Bitmap>()),
      BottomLeftPiece(std::make_unique<Bitmap>()), BottomRightPiece(std::make_unique<Bitmap>()) {}

void OrnatePieces::LoadPieces(const std::string& fileName) {
    Bitmap picture;
    LoadDecorationPicture(fileName, picture);
    MakePieces(picture);
}

void OrnatePieces::MakePieces(const Bitmap& picture) {
    Bitmap* all[8] = {TopPiece.get(),        RightPiece.get(),      BottomPiece.get(),
                      LeftPiece.get(),       TopLeftPiece.get(),    TopRightPiece.get(),
                      BottomLeftPiece.get(), BottomRightPiece.get()};
    for (Bitmap* piece : all) {
        piece->Assign(picture);
        piece->SetPixelFormat(PixelFormat::Bgrx32);
    }
    const int g = std::min({TopPiece->Width(), TopPiece->Height(), kOrnateSquareLimit});
    const Bitmap& top = *TopPiece;

    FillRotated(*RightPiece, top, g, [g](int x, int y) { return std::pair{y, g - 1 - x}; });
    FillRotated(*LeftPiece, top, g, [g](int x, int y) { return std::pair{g - 1 - y, x}; });
    FillRotated(*BottomPiece, top, g, [g](int x, int y) {
        return std::pair{g - 1 - x, g - 1 - y};
    });

    // Main diagonal for the top-left and bottom-right corners (x = y belongs
    // to the upper piece), anti-diagonal for the other two (x + y = g - 1
    // belongs to the upper piece).
    FillMitred(*TopLeftPiece, *LeftPiece, top, g, [](int x, int y) { return x < y; });
    FillMitred(*TopRightPiece, *RightPiece, top, g, [g](int x, int y) { return g - 1 - x < y; });
    FillMitred(*BottomRightPiece, *BottomPiece, *RightPiece, g, [](int x, int y) { return x < y; });
    FillMitred(*BottomLeftPiece, *BottomPiece, *LeftPiece, g,
               [g](int x, int y) { return g - 1 - x < y; });
}

OrnateFrame::OrnateFrame(const Bitmap& photo, const FrameSettings& settings)
    : FrameStyle(photo, settings) {
    SetPattern(settings.decorationFile);
    Paint();
}

namespace {

bool ContainsAny(const std::string& text, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (text.find(w) != std::string::npos) return true;
    return false;
}

} // namespace

MouldingLook MouldingLookFor(const std::string& fileName) {
    MouldingLook look;
    // The markers belong to the moulding's own name, not to its folder.
    const std::string name = LastPathComponent(fileName);
    const bool trn = ContainsAny(name, {"trn", "Trn", "TRN"});
    look.clipCorners = ContainsAny(name, {"clip", "CLIP", "Clip"});
    look.transparentPieces = !look.clipCorners && trn;
    look.liesOverPhoto = trn;
    return look;
}

void OrnateFrame::ChooseDecoration(const std::string& fileName) {
    MouldingWidth.reset();
    SetPattern(fileName);
    const int t = PatternPicture->Height();
    SetFrameHeight(t);
    SetFrameWidth(t);
    const MouldingLook look = MouldingLookFor(fileName);
    ClipCorners = look.clipCorners;
    TransparentPieces = look.transparentPieces;
    if (look.liesOverPhoto)
        SetOutputSize(PictureWidth, PictureHeight);
    else
        SetOutputSize(PictureWidth + 2 * t, PictureHeight + 2 * t);
    Paint();
}

void OrnateFrame::ChangeFrameHeight(int v) {
    if (v < 1 || v > ThicknessLimit()) return;
    SetFrameHeight(v);
    SetFrameWidth(v);
    MouldingWidth = v;
    if (MouldingLookFor(PatternName).liesOverPhoto)
        SetOutputSize(PictureWidth, PictureHeight);
    else
        SetOutputSize(PictureWidth + 2 * v, PictureHeight + 2 * v);
}

std::string LargeMouldingFile(const std::string& fileName) {
    const std::filesystem::path p(fileName);
    const std::string large =
        FindFileNoCase((p.parent_path() / kLargeMouldingFolder / p.filename()).string());
    std::error_code ec;
    return std::filesystem::is_regular_file(large, ec) ? large : std::string();
}

namespace {

// Every piece resampled by width / the picture's height. A long, thin
// moulding grows in length as much as in width: the eight pieces together
// may not outgrow the largest picture the program makes.
void ScalePieces(OrnatePieces& p, int width, bool whiteIsClear) {
    const int from = p.TopPiece->Height();
    if (from <= 0 || width == from) return;
    Bitmap* pieces[] = {p.TopPiece.get(),        p.RightPiece.get(),      p.BottomPiece.get(),
                        p.LeftPiece.get(),       p.TopLeftPiece.get(),    p.TopRightPiece.get(),
                        p.BottomLeftPiece.get(), p.BottomRightPiece.get()};
    auto scaled = [&](int n) {
        return std::max<std::int64_t>(1, std::llround(double(n) * width / from));
    };
    std::int64_t total = 0;
    for (const Bitmap* piece : pieces) {
        CheckPictureSize(scaled(piece->Width()), scaled(piece->Height()));
        total += scaled(piece->Width()) * scaled(piece->Height());
    }
    if (total > kMaxPicturePixels)
        throw PictureError("The moulding is too large at a width of " + std::to_string(width) +
                               " pixels",
                           PictureErrorKind::TooLarge);
    for (Bitmap* piece : pieces)
        SmoothScale(*piece, *piece, int(scaled(piece->Width())), int(scaled(piece->Height())),
                    whiteIsClear);
}

} // namespace

void OrnateFrame::Paint() {
    if (PatternName.empty()) return;
    const int W = OutputWidth, H = OutputHeight;
    const int fw = FrameWidth, fh = FrameHeight;
    // With no thickness there is no tile length to divide the edges by and
    // nothing of the moulding to show: the photo alone is drawn.
    if (fw <= 0 || fh <= 0) {
        DrawPictureCentred();
        return;
    }

    const int spanX = W - 2 * fw;
    const float stepX = OrnateTileStep(spanX, fw);
    const int spanY = H - 2 * fh;
    const float stepY = OrnateTileStep(spanY, fh);

    // A moulding wider than its picture is cut from the large drawing of
    // it, where the library has one, so that it is reduced, not enlarged.
    std::string source = PatternName;
    if (MouldingWidth && *MouldingWidth > PatternPicture->Height())
        if (std::string large = LargeMouldingFile(PatternName); !large.empty())
            source = std::move(large);
    if (!Pieces)
        Pieces = std::make_unique<OrnatePieces>(source);
    else
        Pieces->LoadPieces(source);
    if (MouldingWidth) ScalePieces(*Pieces, *MouldingWidth, TransparentPieces);

    DrawPictureCentred();

    OrnatePieces& p = *Pieces;
    for (Bitmap* piece : {p.TopPiece.get(), p.RightPiece.get(), p.BottomPiece.get(),
                          p.LeftPiece.get(), p.TopLeftPiece.get(), p.TopRightPiece.get(),
                          p.BottomLeftPiece.get(), p.BottomRightPiece.get()}) {
        piece->Transparent = TransparentPieces;
        piece->TransparentColor = kWhite;
    }

    Canvas& c = Output->canvas();
    for (float x = float(fw); float(W - fw) > x; x = x + stepX) {
        const int left = TileEdge(x), right = TileEdge(x, stepX);
        c.StretchDraw(Rect(left, 0, right, fh), *p.TopPiece);
        c.StretchDraw(Rect(left, H - fh, right, H), *p.BottomPiece);
    }
    for (float y = float(fh); float(H - fh) > y; y = y + stepY) {
        const int top = TileEdge(y), bottom = TileEdge(y, stepY);
        c.StretchDraw(Rect(0, top, fw, bottom), *p.LeftPiece);
        c.StretchDraw(Rect(W - fw, top, W, bottom), *p.RightPiece);
    }

    const bool plainCorners = ClipCorners || TransparentPieces;
    c.Draw(0, 0, plainCorners ? *p.TopPiece : *p.TopLeftPiece);
    c.Draw(W - fw, 0, plainCorners ? *p.TopPiece : *p.TopRightPiece);
    c.Draw(0, H - fh, plainCorners ? *p.BottomPiece : *p.BottomLeftPiece);
    c.Draw(W - fw, H - fh, plainCorners ? *p.BottomPiece : *p.BottomRightPiece);
}

} // namespace quillon
