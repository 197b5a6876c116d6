#include "frames/OrnateFrame.h"

#include "formats/Formats.h"
#include "tests/frames/DecorTestSupport.h"
#include "tests/support/TestSupport.h"

#include <cmath>
#include <filesystem>
#include <set>

using namespace quillon;

namespace {

// A picture whose every pixel has its own colour: red = x, green = y.
std::unique_ptr<Bitmap> Numbered(int w, int h) {
    auto b = std::make_unique<Bitmap>(w, h, PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, RGB(x, y, 77));
    return b;
}
// The picture pixel a piece pixel came from.
Point From(const Bitmap& piece, int x, int y) {
    const Color c = piece.Pixel(x, y);
    return {GetRValue(c), GetGValue(c)};
}

TEST(OrnatePieces, EdgePiecesAreTheSquareTurned) {
    OrnatePieces p;
    const int g = 5;
    p.MakePieces(*Numbered(g, g));
    for (int y = 0; y < g; ++y)
        for (int x = 0; x < g; ++x) {
            EXPECT_EQ(From(*p.TopPiece, x, y), (Point{x, y}));
            EXPECT_EQ(From(*p.RightPiece, x, y), (Point{y, g - 1 - x}));
            EXPECT_EQ(From(*p.BottomPiece, x, y), (Point{g - 1 - x, g - 1 - y}));
            EXPECT_EQ(From(*p.LeftPiece, x, y), (Point{g - 1 - y, x}));
        }
}

TEST(OrnatePieces, CornerPiecesSplitAlongTheDiagonals) {
    OrnatePieces p;
    const int g = 6;
    p.MakePieces(*Numbered(g, g));
    for (int y = 0; y < g; ++y)
        for (int x = 0; x < g; ++x) {
            SCOPED_TRACE(::testing::Message() << "x=" << x << " y=" << y);
            // Main diagonal: the pixels x = y belong to the upper piece.
            EXPECT_EQ(p.TopLeftPiece->Pixel(x, y),
                      x < y ? p.LeftPiece->Pixel(x, y) : p.TopPiece->Pixel(x, y));
            EXPECT_EQ(p.BottomRightPiece->Pixel(x, y),
                      x < y ? p.BottomPiece->Pixel(x, y) : p.RightPiece->Pixel(x, y));
            // Anti-diagonal: x + y = g - 1 belongs to the upper piece.
            EXPECT_EQ(p.TopRightPiece->Pixel(x, y),
                      x + y > g - 1 ? p.RightPiece->Pixel(x, y) : p.TopPiece->Pixel(x, y));
            EXPECT_EQ(p.BottomLeftPiece->Pixel(x, y),
                      x + y > g - 1 ? p.BottomPiece->Pixel(x, y) : p.LeftPiece->Pixel(x, y));
        }
    // The mitre pixels themselves.
    EXPECT_EQ(From(*p.TopLeftPiece, 3, 3), (Point{3, 3}));
    EXPECT_EQ(From(*p.TopRightPiece, 2, 3), (Point{2, 3}));
    EXPECT_EQ(From(*p.BottomLeftPiece, 2, 3), From(*p.LeftPiece, 2, 3));
    EXPECT_EQ(From(*p.BottomRightPiece, 3, 3), From(*p.RightPiece, 3, 3));
}

TEST(OrnatePieces, NonSquarePictureKeepsItsPixelsOutsideTheSquare) {
    OrnatePieces p;
    p.MakePieces(*Numbered(7, 3));
    for (const Bitmap* piece : {p.RightPiece.get(), p.LeftPiece.get(), p.BottomPiece.get(),
                                p.TopLeftPiece.get(), p.BottomRightPiece.get()}) {
        ASSERT_EQ(piece->Width(), 7);
        ASSERT_EQ(piece->Height(), 3);
        EXPECT_EQ(piece->format(), PixelFormat::Bgrx32);
        for (int y = 0; y < 3; ++y)
            for (int x = 3; x < 7; ++x) EXPECT_EQ(From(*piece, x, y), (Point{x, y}));
    }
    EXPECT_EQ(From(*p.RightPiece, 0, 0), (Point{0, 2}));
}

TEST(OrnatePieces, OnlyTheFirst200PixelsSquareIsTurned) {
    OrnatePieces p;
    auto pic = std::make_unique<Bitmap>(210, 205, PixelFormat::Bgrx32);
    for (int y = 0; y < 205; ++y)
        for (int x = 0; x < 210; ++x)
            pic->SetPixel(x, y, RGB(x & 0xFF, y & 0xFF, (x >> 8) + 2 * (y >> 8)));
    p.MakePieces(*pic);
    EXPECT_EQ(p.BottomPiece->Pixel(0, 0), pic->Pixel(199, 199));
    EXPECT_EQ(p.BottomPiece->Pixel(200, 0), pic->Pixel(200, 0));
    EXPECT_EQ(p.BottomPiece->Pixel(0, 202), pic->Pixel(0, 202));
}

TEST(OrnatePieces, UnreadableFileThrowsAndKeepsThePieces) {
    OrnatePieces p;
    p.MakePieces(*Numbered(4, 4));
    EXPECT_THROW(p.LoadPieces(TempDir("ornate-missing") + "/none.bmp"), std::exception);
    EXPECT_EQ(p.TopPiece->Width(), 4);
}

// Tile counts: span / tile rounded, a remainder of exactly half a tile adding
// none; never below one.
struct TileCase {
    int span, tile, count;
};
class OrnateTileCount_ : public ::testing::TestWithParam<TileCase> {};
TEST_P(OrnateTileCount_, RoundsHalfDownAndNeverBelowOne) {
    const TileCase& c = GetParam();
    EXPECT_EQ(OrnateTileCount(c.span, c.tile), c.count) << c.span << " / " << c.tile;
}
INSTANTIATE_TEST_SUITE_P(OrnateTiles, OrnateTileCount_,
                         ::testing::Values(TileCase{120, 40, 3}, TileCase{140, 40, 3},
                                           TileCase{141, 40, 4}, TileCase{102, 41, 2},
                                           TileCase{103, 41, 3}, TileCase{10, 40, 1},
                                           TileCase{0, 40, 1}, TileCase{-30, 40, 1},
                                           TileCase{7, 1, 7}));

TEST(OrnateTiles, StepIsTheSpanOverTheCountInSinglePrecision) {
    EXPECT_EQ(OrnateTileStep(141, 40), 141.0f / 4.0f);
    EXPECT_EQ(OrnateTileStep(100, 30), float(100.0L / 3));
    EXPECT_EQ(OrnateTileStep(10, 40), 10.0f);
}

// Frames drawn with a synthetic moulding.
constexpr Color kPhoto = RGB(40, 90, 160);

std::string WriteMoulding(const std::string& name, bool whiteInside) {
    Bitmap m(8, 8, PixelFormat::Bgrx32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            m.SetPixel(x, y, whiteInside && y >= 4 ? kWhite : RGB(100 + 15 * y, 60 + 10 * x, 20));
    const std::string file = TempDir("ornate") + "/" + name;
    SaveBmpFile(m, file);
    return file;
}

std::unique_ptr<OrnateFrame> MakeOrnate(const std::string& file, int photoW, int photoH,
                                        int thickness, bool expand = true) {
    const auto photo = SolidPhoto(photoW, photoH, kPhoto);
    return std::make_unique<OrnateFrame>(
        *photo, MakeFrameSettings(thickness, thickness, kOlive, kBlack, expand, 1, kWhite, file));
}

TEST(OrnateFrame, TilesRunAlongEachEdgeAndCornersAreMitred) {
    const std::string file = WriteMoulding("plain.bmp", false);
    // Span 24 = 3 tiles of 8 on each axis.
    auto f = MakeOrnate(file, 24, 24, 8);
    const Bitmap& out = *f->Output;
    const OrnatePieces& p = *f->Pieces;
    for (int tile = 0; tile < 3; ++tile)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                ASSERT_EQ(out.Pixel(8 + 8 * tile + x, y), p.TopPiece->Pixel(x, y));
                ASSERT_EQ(out.Pixel(8 + 8 * tile + x, 32 + y), p.BottomPiece->Pixel(x, y));
                ASSERT_EQ(out.Pixel(x, 8 + 8 * tile + y), p.LeftPiece->Pixel(x, y));
                ASSERT_EQ(out.Pixel(32 + x, 8 + 8 * tile + y), p.RightPiece->Pixel(x, y));
            }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(out.Pixel(x, y), p.TopLeftPiece->Pixel(x, y));
            ASSERT_EQ(out.Pixel(32 + x, y), p.TopRightPiece->Pixel(x, y));
            ASSERT_EQ(out.Pixel(x, 32 + y), p.BottomLeftPiece->Pixel(x, y));
            ASSERT_EQ(out.Pixel(32 + x, 32 + y), p.BottomRightPiece->Pixel(x, y));
        }
    EXPECT_EQ(out.Pixel(20, 20), kPhoto);
}

TEST(OrnateFrame, ClipCornersUsesThePlainTopAndBottomPieces) {
    auto f = MakeOrnate(WriteMoulding("plain.bmp", false), 24, 24, 8);
    f->ClipCorners = true;
    f->Paint();
    const OrnatePieces& p = *f->Pieces;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(f->Output->Pixel(32 + x, y), p.TopPiece->Pixel(x, y));
            ASSERT_EQ(f->Output->Pixel(x, 32 + y), p.BottomPiece->Pixel(x, y));
        }
}

TEST(OrnateFrame, TransparentPiecesShowThePhotoUnderTheirWhite) {
    // Laid over the photo: the output has the photo's size.
    auto f = MakeOrnate(WriteMoulding("over.bmp", true), 40, 40, 8, false);
    f->TransparentPieces = true;
    f->Paint();
    // Rows 4..7 of the top moulding are white: the photo shows there.
    EXPECT_EQ(f->Output->Pixel(20, 6), kPhoto);
    EXPECT_NE(f->Output->Pixel(20, 2), kPhoto);
    EXPECT_EQ(f->Output->Pixel(2, 6), kPhoto); // corner: the plain top piece
}

TEST(OrnateFrame, SpanShorterThanATileDrawsOnlyTheCorners) {
    // W - fw <= fw: no edge tile, and no division trouble.
    auto f = MakeOrnate(WriteMoulding("plain.bmp", false), 8, 8, 8, false);
    // All four corners land on the same square; the last one drawn stays.
    ASSERT_EQ(f->Output->Width(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(f->Output->Pixel(x, y), f->Pieces->BottomRightPiece->Pixel(x, y));
}

TEST(OrnateFrame, MouldingWidthRegrowsTheFrameAndScalesEveryPiece) {
    // An 8-pixel moulding given a width of 20 on a 40 x 30 photo.
    auto f = MakeOrnate(WriteMoulding("plain.bmp", false), 40, 30, 8);
    f->ChangeFrameHeight(20);
    f->Paint();
    EXPECT_EQ(f->FrameWidth, 20);
    EXPECT_EQ(f->FrameHeight, 20);
    ASSERT_EQ(f->Output->Width(), 80);
    ASSERT_EQ(f->Output->Height(), 70);
    const OrnatePieces& p = *f->Pieces;
    ASSERT_EQ(p.TopLeftPiece->Width(), 20);
    ASSERT_EQ(p.BottomRightPiece->Height(), 20);
    // The corners are the scaled pieces at their place; the photo is intact.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(f->Output->Pixel(x, y), p.TopLeftPiece->Pixel(x, y));
            ASSERT_EQ(f->Output->Pixel(60 + x, 50 + y), p.BottomRightPiece->Pixel(x, y));
        }
    EXPECT_EQ(f->Output->Pixel(20, 20), kPhoto);
    EXPECT_EQ(f->Output->Pixel(59, 49), kPhoto);
    // Resampled, not repeated: down the moulding's rows (red 100 + 15 y) the
    // 20 rows take more than the 8 shades the picture has, in order.
    std::set<int> reds;
    int last = -1;
    for (int y = 0; y < 20; ++y) {
        const int r = GetRValue(p.TopPiece->Pixel(10, y));
        EXPECT_GE(r, last);
        last = r;
        reds.insert(r);
    }
    EXPECT_GT(reds.size(), 12u);
}

TEST(OrnateFrame, MouldingWidthOfThePicturesOwnHeightDrawsAsBefore) {
    const std::string file = WriteMoulding("plain.bmp", false);
    auto plain = MakeOrnate(file, 24, 24, 8);
    auto given = MakeOrnate(file, 24, 24, 8);
    given->ChangeFrameHeight(8);
    given->Paint();
    ASSERT_EQ(given->Output->Width(), plain->Output->Width());
    for (int y = 0; y < plain->Output->Height(); ++y)
        for (int x = 0; x < plain->Output->Width(); ++x)
            ASSERT_EQ(given->Output->Pixel(x, y), plain->Output->Pixel(x, y));
}

TEST(OrnateFrame, ScaledTransparentMouldingKeepsItsSeeThroughWhite) {
    // Laid over the photo, which keeps its size; the white lower half of the
    // moulding still shows the photo after scaling, and no other pixel of
    // a piece turns into the see-through white.
    auto f = MakeOrnate(WriteMoulding("over Trn.bmp", true), 60, 60, 8, false);
    f->ChooseDecoration(f->PatternName);
    f->ChangeFrameHeight(16);
    f->Paint();
    EXPECT_EQ(f->Output->Width(), 60);
    EXPECT_EQ(f->Output->Pixel(30, 13), kPhoto);
    EXPECT_NE(f->Output->Pixel(30, 3), kPhoto);
    const Bitmap& top = *f->Pieces->TopPiece;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < top.Width(); ++x)
            ASSERT_EQ(top.Pixel(x, y) == kWhite, y >= 8) << x << "," << y;
}

TEST(OrnateFrame, WideMouldingIsCutFromItsLargeDrawing) {
    // "plain.bmp" is 8 pixels high; "Large/PLAIN.BMP" beside it draws the
    // same moulding 16 pixels high, in one colour here to tell them apart.
    const Color kLargeColour = RGB(20, 140, 150);
    const std::string file = WriteMoulding("plain.bmp", false);
    const std::string folder = std::filesystem::path(file).parent_path().string();
    std::filesystem::create_directories(folder + "/Large");
    SaveBmpFile(*SolidPhoto(16, 16, kLargeColour), folder + "/Large/PLAIN.BMP");
    EXPECT_EQ(LargeMouldingFile(file), folder + "/Large/PLAIN.BMP");
    EXPECT_EQ(LargeMouldingFile(folder + "/other.bmp"), "");

    auto f = MakeOrnate(file, 40, 40, 8);
    f->ChangeFrameHeight(12);
    f->Paint();
    EXPECT_EQ(f->Pieces->TopLeftPiece->Width(), 12);
    EXPECT_EQ(f->Output->Pixel(0, 0), kLargeColour);
    EXPECT_EQ(f->Output->Pixel(30, 11), kLargeColour);
    // At or below the picture's own height the moulding itself is used.
    f->ChangeFrameHeight(6);
    f->Paint();
    EXPECT_NE(f->Output->Pixel(0, 0), kLargeColour);
}

TEST(OrnateFrame, LongThinMouldingTooLargeAtItsWidthIsRefusedUnmade) {
    // 3000 x 2 pixels at a width of 100 would be pieces 150000 pixels long.
    const std::string file = TempDir("ornate-thin") + "/thin.bmp";
    SaveBmpFile(*SolidPhoto(3000, 2, kOlive), file);
    auto f = MakeOrnate(file, 40, 40, 2);
    f->ChangeFrameHeight(100);
    try {
        f->Paint();
        FAIL() << "no error";
    } catch (const PictureError& e) {
        EXPECT_EQ(e.Kind(), PictureErrorKind::TooLarge) << e.what();
    }
}

TEST(OrnateFrame, ChoosingAMouldingReturnsToItsOwnHeight) {
    const std::string file = WriteMoulding("plain.bmp", false);
    auto f = MakeOrnate(file, 24, 24, 8);
    f->ChangeFrameHeight(30);
    f->ChooseDecoration(file);
    EXPECT_EQ(f->FrameHeight, 8);
    EXPECT_FALSE(f->MouldingWidth);
    EXPECT_EQ(f->Pieces->TopPiece->Width(), 8);
}

TEST(OrnateFrame, ZeroThicknessDrawsThePhotoAlone) {
    auto f = MakeOrnate(WriteMoulding("plain.bmp", false), 10, 6, 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(f->Output->Pixel(x, y), kPhoto);
}

TEST(OrnateFrame, MissingFileDrawsNothing) {
    auto f = MakeOrnate(TempDir("ornate-none") + "/missing.bmp", 10, 10, 4);
    EXPECT_TRUE(f->PatternName.empty());
    EXPECT_EQ(f->Pieces, nullptr);
}

TEST(OrnateFrame, MatchesGolden) {
    // A small gilded-looking moulding: bands of gold shades, a bead row.
    Bitmap m(12, 12, PixelFormat::Bgrx32);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            int k = 150 + 8 * ((y * 7) % 12) - (y > 8 ? 60 : 0);
            if (y >= 4 && y < 7 && (x % 4) != 0) k += 40;
            m.SetPixel(x, y, RGB(std::min(k + 40, 255), std::min(k + 10, 255), k / 3));
        }
    const std::string file = TempDir("ornate-golden") + "/gold.bmp";
    SaveBmpFile(m, file);
    const auto photo = MakeTestPhoto(120, 90);
    OrnateFrame f(*photo, MakeFrameSettings(12, 12, kOlive, kBlack, true, 1, kWhite, file));
    EXPECT_TRUE(MatchesGolden(*f.Output, "ornate-frame"));
}

} // namespace

// The "clip" and "trn" markers are read from the moulding's own name only.
TEST(OrnateFrame, MouldingLookComesFromTheFileNameNotItsFolder) {
    struct Case {
        const char* Path;
        bool Clip, Transparent, Over;
    };
    const Case cases[] = {
        {"/d/Ornate/GoldClip.bmp", true, false, false},
        {"/d/Ornate/LeafTRN.bmp", false, true, true},
        {"/d/Ornate/ClipTrn.bmp", true, false, true},
        {"/d/Clipart/Ornate/Plain.bmp", false, false, false},
        {"/d/Trn/Plain.bmp", false, false, false},
        {"GoldClip.bmp", true, false, false},
    };
    for (const Case& c : cases) {
        const MouldingLook look = MouldingLookFor(c.Path);
        EXPECT_EQ(look.clipCorners, c.Clip) << c.Path;
        EXPECT_EQ(look.transparentPieces, c.Transparent) << c.Path;
        EXPECT_EQ(look.liesOverPhoto, c.Over) << c.Path;
    }
}
