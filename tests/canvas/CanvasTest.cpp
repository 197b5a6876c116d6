// The canvas rules on tiny pictures written as text, one character a pixel.
// Rule names are those of docs/pixel-rules.md.
#include "canvas/Canvas.h"
#include "canvas/Bitmap.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace quillon;

namespace {

const std::map<char, Color> kInk = {
    {'.', kWhite}, {'#', kBlack}, {'r', kRed}, {'g', kLime}, {'b', kBlue}};

std::unique_ptr<Bitmap> Blank(int w, int h, PixelFormat f = PixelFormat::Bgrx32) {
    auto b = std::make_unique<Bitmap>(w, h, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, kWhite);
    return b;
}

// Black pen of the given width, red solid brush.
Canvas& Ready(Bitmap& b, int penWidth = 1) {
    Canvas& c = b.canvas();
    c.pen.color = kBlack;
    c.pen.SetWidth(penWidth);
    c.brush.SetColor(kRed);
    return c;
}

// A 16 x 16 pattern whose every pixel tells its own position.
std::unique_ptr<Bitmap> PositionPattern(int w = 16, int h = 16) {
    auto p = std::make_unique<Bitmap>(w, h, PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->SetPixel(x, y, RGB(x * 15, y * 15, 99));
    return p;
}

} // namespace

// ------------------------------------------------------------ rect-cover

TEST(CanvasRectangle, ThinPenCoversRightAndBottomExcluded) {
    auto b = Blank(5, 4);
    Ready(*b).Rectangle(0, 0, 4, 3);
    EXPECT_PIXELS(*b, kInk, ({"####.", "#rr#.", "####.", "....."}));
}

TEST(CanvasRectangle, CornersGivenInAnyOrderDrawTheSameShape) {
    for (auto [x1, y1, x2, y2] :
         std::vector<std::array<int, 4>>{{0, 0, 4, 3}, {4, 3, 0, 0}, {4, 0, 0, 3}, {0, 3, 4, 0}}) {
        auto b = Blank(5, 4);
        Ready(*b).Rectangle(x1, y1, x2, y2);
        EXPECT_PIXELS(*b, kInk, ({"####.", "#rr#.", "####.", "....."}));
    }
}

TEST(CanvasRectangle, ClearBrushLeavesTheInsideAlone) {
    auto b = Blank(5, 4);
    Canvas& c = Ready(*b);
    c.brush.SetStyle(BrushStyle::Clear);
    c.Rectangle(0, 0, 5, 4);
    EXPECT_PIXELS(*b, kInk, ({"#####", "#...#", "#...#", "#####"}));
}

TEST(CanvasRectangle, OddWidePenIsCentredOnTheOutline) {
    auto b = Blank(10, 9);
    Canvas& c = Ready(*b, 3);
    c.brush.SetStyle(BrushStyle::Clear);
    c.Rectangle(2, 2, 8, 7);
    EXPECT_PIXELS(*b, kInk,
                  ({"..........", ".########.", ".########.", ".########.", ".###..###.",
                    ".########.", ".########.", ".########.", ".........."}));
}

TEST(CanvasRectangle, EvenWidePenHasRoundedOuterCorners) {
    auto b = Blank(14, 12);
    Canvas& c = Ready(*b, 4);
    c.brush.SetStyle(BrushStyle::Clear);
    c.Rectangle(3, 3, 11, 10);
    EXPECT_PIXELS(*b, kInk,
                  ({"..............", "..#########...", ".###########..", ".###########..",
                    ".###########..", ".####...####..", ".####...####..", ".###########..",
                    ".###########..", ".###########..", "..#########...", ".............."}));
}

TEST(CanvasRectangle, EmptyRectangleDrawsNothing) {
    auto b = Blank(4, 4);
    Ready(*b).Rectangle(1, 1, 1, 3);
    Ready(*b).Rectangle(0, 2, 4, 2);
    EXPECT_PIXELS(*b, kInk, ({"....", "....", "....", "...."}));
}

// ---------------------------------------------------- fill-rect, frame-rect

TEST(CanvasFillRect, FillsWithoutOutlineAndClips) {
    auto b = Blank(4, 3);
    Ready(*b).FillRect(Rect(-2, 1, 3, 9));
    EXPECT_PIXELS(*b, kInk, ({"....", "rrr.", "rrr."}));
}

TEST(CanvasFillRect, ReversedRectangleFillsNothing) {
    auto b = Blank(4, 3);
    Ready(*b).FillRect(Rect(3, 0, 1, 2));
    EXPECT_PIXELS(*b, kInk, ({"....", "....", "...."}));
}

TEST(CanvasFrameRect, OutlinesTheOutermostPixelsWithTheBrush) {
    auto b = Blank(6, 5);
    Canvas& c = Ready(*b);
    c.brush.SetColor(kBlue);
    c.FrameRect(Rect(1, 1, 5, 5));
    EXPECT_PIXELS(*b, kInk, ({"......", ".bbbb.", ".b..b.", ".b..b.", ".bbbb."}));
    auto line = Blank(4, 2);
    Ready(*line).FrameRect(Rect(0, 1, 4, 2));
    EXPECT_PIXELS(*line, kInk, ({"....", "rrrr"}));
}

// ----------------------------------------------------------- pattern-tiling

TEST(CanvasBrush, PatternTilesFromTheBitmapOrigin) {
    auto b = Blank(60, 60);
    auto pattern = PositionPattern();
    Canvas& c = b->canvas();
    c.brush.SetBitmap(pattern.get());
    c.FillRect(Rect(10, 10, 50, 50));
    EXPECT_EQ(b->Pixel(10, 10), pattern->Pixel(10, 10));
    EXPECT_EQ(b->Pixel(16, 16), pattern->Pixel(0, 0));
    EXPECT_EQ(b->Pixel(9, 10), kWhite);
    for (int y = 10; y < 50; ++y)
        for (int x = 10; x < 50; ++x)
            ASSERT_EQ(b->Pixel(x, y), pattern->Pixel(x % 16, y % 16)) << x << ", " << y;
    EXPECT_EQ(b->Pixel(50, 50), kWhite);
}

TEST(CanvasBrush, PatternOnA24BitPictureAndOddTileSize) {
    auto b = Blank(40, 9, PixelFormat::Bgr24);
    auto pattern = PositionPattern(7, 3);
    Canvas& c = b->canvas();
    c.brush.SetBitmap(pattern.get());
    c.FillRect(Rect(0, 0, 40, 9));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(b->Pixel(x, y), pattern->Pixel(x % 7, y % 3));
}

TEST(CanvasBrush, PatternServesOnlyTheFillsThatFollowIt) {
    auto b = Blank(12, 8);
    auto pattern = PositionPattern();
    Canvas& c = b->canvas();
    c.pen.color = kBlack;
    c.brush.SetBitmap(pattern.get());
    EXPECT_EQ(c.brush.color(), kWhite);
    c.FillRect(Rect(0, 0, 12, 8));
    c.brush.SetColor(kRed);
    c.FillRect(Rect(0, 0, 6, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(b->Pixel(x, y), kRed);
    // An outline-only ellipse next leaves its inside as it was.
    c.brush.SetStyle(BrushStyle::Clear);
    c.Ellipse(0, 0, 12, 8);
    EXPECT_EQ(b->Pixel(3, 4), kRed);
    EXPECT_EQ(b->Pixel(8, 4), pattern->Pixel(8, 4));
}

TEST(CanvasBrush, CallerMayChangeThePatternBitmapAfterSettingIt) {
    auto b = Blank(4, 1);
    auto pattern = PositionPattern(2, 1);
    const Color first = pattern->Pixel(0, 0);
    b->canvas().brush.SetBitmap(pattern.get());
    pattern->SetPixel(0, 0, kLime);
    b->canvas().FillRect(Rect(0, 0, 4, 1));
    EXPECT_EQ(b->Pixel(0, 0), first);
}

// ------------------------------------------------------------- thin-line

TEST(CanvasLine, LineToExcludesItsEndAndMovesThePen) {
    auto b = Blank(7, 2);
    Canvas& c = Ready(*b);
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    EXPECT_PIXELS(*b, kInk, ({"#####..", "......."}));
    EXPECT_EQ(c.PenPos, (Point{5, 0}));
}

TEST(CanvasLine, BresenhamStepsAtHalfwayOnlyWhenPastIt) {
    auto b = Blank(8, 4);
    Canvas& c = Ready(*b);
    c.MoveTo(0, 0);
    c.LineTo(7, 3);
    EXPECT_PIXELS(*b, kInk, ({"##......", "..##....", "....##..", "......#."}));
    auto s = Blank(3, 5);
    Canvas& d = Ready(*s);
    d.MoveTo(0, 0);
    d.LineTo(1, 4); // steep: y is the major axis
    EXPECT_PIXELS(*s, kInk, ({"#..", "#..", "#..", ".#.", "..."}));
}

TEST(CanvasLine, PenWidthZeroDrawsLikeOneAndNegativeIsIgnored) {
    auto b = Blank(5, 3);
    Canvas& c = Ready(*b, 0);
    c.pen.SetWidth(-4);
    EXPECT_EQ(c.pen.Width(), 0);
    c.MoveTo(0, 1);
    c.LineTo(4, 1);
    EXPECT_PIXELS(*b, kInk, ({".....", "####.", "....."}));
}

TEST(CanvasLine, PolylineClosedSquareDrawsEachCornerOnce) {
    auto b = Blank(5, 5);
    const Point pts[] = {{1, 1}, {3, 1}, {3, 3}, {1, 3}, {1, 1}};
    Ready(*b).Polyline(pts);
    EXPECT_PIXELS(*b, kInk, ({".....", ".###.", ".#.#.", ".###.", "....."}));
    EXPECT_EQ(b->canvas().PenPos, (Point{0, 0})); // Polyline keeps the pen position
}

TEST(CanvasLine, WideLineIsACapsuleCentredOnThePath) {
    auto b = Blank(11, 7);
    Canvas& c = Ready(*b, 3);
    c.MoveTo(2, 3);
    c.LineTo(8, 3);
    EXPECT_PIXELS(*b, kInk,
                  ({"...........", "...........", ".#########.", ".#########.", ".#########.",
                    "...........", "..........."}));
    // An even width runs through the pixels' top-left corners.
    auto d = Blank(10, 7);
    Canvas& e = Ready(*d, 4);
    e.MoveTo(3, 3);
    e.LineTo(6, 3);
    EXPECT_PIXELS(*d, kInk,
                  ({"..........", "..#####...", ".#######..", ".#######..", "..#####...",
                    "..........", ".........."}));
}

TEST(CanvasLine, LinesFarOutsideAreClippedWithoutCost) {
    auto b = Blank(4, 4);
    Canvas& c = Ready(*b);
    c.MoveTo(-2000000000, 0);
    c.LineTo(2000000000, 0);
    c.MoveTo(-2000000000, -2000000000);
    c.LineTo(2000000000, 2000000000);
    EXPECT_PIXELS(*b, kInk, ({"####", ".#..", "..#.", "...#"}));
}

// ----------------------------------------------------------- polygon-fill

TEST(CanvasPolygon, FillThenOutlineCoverTheVertices) {
    auto b = Blank(7, 6);
    const Point pts[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
    Ready(*b).Polygon(pts);
    EXPECT_PIXELS(*b, kInk, ({".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}));
}

TEST(CanvasPolygon, AlternateRuleLeavesDoublyEnclosedAreaOpen) {
    // Outer and inner square traced the same way round: a winding rule would
    // fill the inner one, the alternate rule leaves it open.
    auto b = Blank(10, 10);
    Canvas& c = Ready(*b);
    c.pen.color = kRed;
    const Point pts[] = {{0, 0}, {9, 0}, {9, 9}, {0, 9}, {0, 0},
                         {3, 3}, {6, 3}, {6, 6}, {3, 6}, {3, 3}};
    c.Polygon(pts);
    EXPECT_PIXELS(*b, kInk,
                  ({"rrrrrrrrrr", "rrrrrrrrrr", "rrrrrrrrrr", "rrrrrrrrrr", "rrrr..rrrr",
                    "rrrr..rrrr", "rrrrrrrrrr", "rrrrrrrrrr", "rrrrrrrrrr", "rrrrrrrrrr"}));
}

TEST(CanvasPolygon, TriangleWithClearBrushIsOutlineOnly) {
    auto b = Blank(7, 5);
    Canvas& c = Ready(*b);
    c.brush.SetStyle(BrushStyle::Clear);
    const Point pts[] = {{0, 0}, {6, 0}, {3, 3}};
    c.Polygon(pts);
    EXPECT_PIXELS(*b, kInk, ({"#######", ".#...#.", "..#.#..", "...#...", "......."}));
}

// ------------------------------------------------ ellipse-fill, ellipse-thin

TEST(CanvasEllipse, SmallCircleFillAndThinOutline) {
    auto b = Blank(7, 6);
    Ready(*b).Ellipse(0, 0, 5, 5);
    EXPECT_PIXELS(*b, kInk, ({".###...", "#rrr#..", "#rrr#..", "#rrr#..", ".###...", "......."}));
}

TEST(CanvasEllipse, ReversedBoxDrawsTheSameEllipse) {
    auto expected = Blank(12, 9);
    Ready(*expected).Ellipse(1, 1, 11, 8);
    for (auto [x1, y1, x2, y2] :
         std::vector<std::array<int, 4>>{{11, 8, 1, 1}, {11, 1, 1, 8}, {1, 8, 11, 1}}) {
        auto b = Blank(12, 9);
        Ready(*b).Ellipse(x1, y1, x2, y2);
        EXPECT_EQ(PixelsAsText(*b, kInk), PixelsAsText(*expected, kInk));
    }
}

TEST(CanvasEllipse, StaysInsideItsBoxAndDegenerateBoxDrawsNothing) {
    auto b = Blank(20, 12);
    Canvas& c = Ready(*b);
    c.Ellipse(3, 2, 17, 10);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            if (x < 3 || x >= 17 || y < 2 || y >= 10) {
                ASSERT_EQ(b->Pixel(x, y), kWhite);
            }
    EXPECT_EQ(b->Pixel(3, 6), kBlack);  // touches the left side
    EXPECT_EQ(b->Pixel(16, 6), kBlack); // and the right
    EXPECT_EQ(b->Pixel(10, 2), kBlack); // top
    EXPECT_EQ(b->Pixel(10, 9), kBlack); // bottom
    auto d = Blank(5, 5);
    Ready(*d).Ellipse(2, 0, 2, 5);
    EXPECT_PIXELS(*d, kInk, ({".....", ".....", ".....", ".....", "....."}));
}

// ------------------------------------------------------------ ellipse-ring

TEST(CanvasEllipse, WidePenRingIsCentredOnTheBoxEdge) {
    auto b = Blank(16, 14);
    Canvas& c = Ready(*b, 2);
    c.brush.SetStyle(BrushStyle::Clear);
    c.Ellipse(2, 2, 14, 12);
    // On the middle row the ring covers one pixel each side of the box edge.
    EXPECT_EQ(PixelsAsText(*b, kInk).substr(7 * 17, 16), ".##..........##.");
    EXPECT_EQ(b->Pixel(8, 1), kBlack);
    EXPECT_EQ(b->Pixel(8, 2), kBlack);
    EXPECT_EQ(b->Pixel(8, 3), kWhite);
}

TEST(CanvasEllipse, TwoPixelRingsHoldAFloodFillEvenWhenVeryFlat) {
    for (auto [w, h] : std::vector<std::pair<int, int>>{{60, 50}, {200, 20}, {400, 10}, {9, 300}}) {
        auto b = Blank(w + 4, h + 4);
        Canvas& c = Ready(*b, 2);
        c.brush.SetStyle(BrushStyle::Clear);
        c.Ellipse(2, 2, w + 2, h + 2);
        c.brush.SetColor(kRed);
        c.FloodFill(0, 0, kBlack, FillStyle::Border);
        EXPECT_EQ(b->Pixel((w + 4) / 2, (h + 4) / 2), kWhite) << w << " x " << h;
    }
}

// ------------------------------------------------------------- flood-fill

TEST(CanvasFloodFill, StaysInsideADiamondOfDiagonalLines) {
    auto b = Blank(11, 11);
    Canvas& c = Ready(*b);
    const Point pts[] = {{5, 0}, {10, 5}, {5, 10}, {0, 5}, {5, 0}};
    c.Polyline(pts);
    c.FloodFill(5, 5, kBlack, FillStyle::Border);
    EXPECT_PIXELS(
        *b, kInk,
        ({".....#.....", "....#r#....", "...#rrr#...", "..#rrrrr#..", ".#rrrrrrr#.", "#rrrrrrrrr#",
          ".#rrrrrrr#.", "..#rrrrr#..", "...#rrr#...", "....#r#....", ".....#....."}));
    // From a corner it fills that corner only: the diamond's tips touch the
    // edges and cut the outside into four.
    c.brush.SetColor(kBlue);
    c.FloodFill(0, 0, kBlack, FillStyle::Border);
    EXPECT_EQ(b->Pixel(4, 0), kBlue);
    EXPECT_EQ(b->Pixel(0, 4), kBlue);
    EXPECT_EQ(b->Pixel(6, 0), kWhite);
    EXPECT_EQ(b->Pixel(5, 5), kRed);
}

TEST(CanvasFloodFill, SurfaceFillsTheConnectedPixelsOfOneColour) {
    auto b = BitmapFromArt({"gg.gg", "g..g.", "ggg..", "....g"}, kInk);
    Canvas& c = b->canvas();
    c.brush.SetColor(kBlue);
    c.FloodFill(0, 0, kLime, FillStyle::Surface);
    EXPECT_PIXELS(*b, kInk, ({"bb.gg", "b..g.", "bbb..", "....g"}));
}

TEST(CanvasFloodFill, NothingHappensWhenTheSeedIsNotInTheRegion) {
    auto b = BitmapFromArt({"#..", "#..", "..."}, kInk);
    Canvas& c = Ready(*b);
    c.FloodFill(0, 0, kBlack, FillStyle::Border);  // seed on the border colour
    c.FloodFill(1, 1, kBlack, FillStyle::Surface); // seed not of the surface colour
    c.FloodFill(-1, 0, kWhite, FillStyle::Surface);
    c.FloodFill(0, 3, kWhite, FillStyle::Surface);
    c.brush.SetStyle(BrushStyle::Clear);
    c.FloodFill(2, 2, kBlack, FillStyle::Border); // a clear brush paints nothing
    EXPECT_PIXELS(*b, kInk, ({"#..", "#..", "..."}));
}

TEST(CanvasFloodFill, BrushOfTheRegionsOwnColourStillEnds) {
    auto b = BitmapFromArt({"rr#", "r#.", "rr."}, kInk);
    Canvas& c = b->canvas();
    c.brush.SetColor(kRed);
    c.FloodFill(0, 0, kRed, FillStyle::Surface);
    EXPECT_PIXELS(*b, kInk, ({"rr#", "r#.", "rr."}));
    c.brush.SetColor(kBlack); // the border's own colour
    c.FloodFill(2, 2, kBlack, FillStyle::Border);
    EXPECT_PIXELS(*b, kInk, ({"###", "###", "###"}));
}

TEST(CanvasFloodFill, PatternPixelsFollowTheirPosition) {
    auto b = BitmapFromArt({".....", ".###.", ".#.#.", ".###.", "....."}, kInk);
    auto pattern = PositionPattern(3, 2);
    Canvas& c = b->canvas();
    c.brush.SetBitmap(pattern.get());
    c.FloodFill(0, 0, kBlack, FillStyle::Border);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool ring = x >= 1 && x <= 3 && y >= 1 && y <= 3 && !(x == 2 && y == 2);
            const Color want = ring                 ? kBlack
                               : (x == 2 && y == 2) ? kWhite
                                                    : pattern->Pixel(x % 3, y % 2);
            ASSERT_EQ(b->Pixel(x, y), want) << x << ", " << y;
        }
}

TEST(CanvasFloodFill, WideBandOfALargePicture) {
    auto b = Blank(1200, 900);
    Canvas& c = Ready(*b);
    c.Rectangle(300, 300, 900, 600);
    c.brush.SetColor(kBlue);
    c.FloodFill(5, 5, kBlack, FillStyle::Border);
    EXPECT_EQ(b->Pixel(1199, 899), kBlue);
    EXPECT_EQ(b->Pixel(299, 450), kBlue);
    EXPECT_EQ(b->Pixel(300, 450), kBlack);
    EXPECT_EQ(b->Pixel(450, 450), kRed);
}

// ----------------------------------------------------------- stretch-pick

TEST(CanvasStretch, EnlargingRepeatsColumnsAndRows) {
    auto src = BitmapFromArt({"rb"}, kInk);
    auto b = Blank(4, 2);
    b->canvas().StretchDraw(Rect(0, 0, 4, 2), *src);
    EXPECT_PIXELS(*b, kInk, ({"rrbb", "rrbb"}));
}

TEST(CanvasStretch, ShrinkingKeepsWholeColumnsAndRowsInOrder) {
    auto src = MakeTestPhoto(37, 23);
    std::set<Color> colours;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) colours.insert(src->Pixel(x, y));
    auto b = Blank(10, 7);
    b->canvas().StretchDraw(Rect(0, 0, 10, 7), *src);
    // Each destination pixel is the source pixel under its centre.
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x) {
            EXPECT_TRUE(colours.count(b->Pixel(x, y)));
            EXPECT_EQ(b->Pixel(x, y), src->Pixel((2 * x + 1) * 37 / 20, (2 * y + 1) * 23 / 14));
        }
}

TEST(CanvasStretch, SameSizeDrawIsAnExactCopyForEveryFormatPair) {
    for (PixelFormat from :
         {PixelFormat::Indexed8, PixelFormat::Bgr24, PixelFormat::Bgrx32, PixelFormat::Device})
        for (PixelFormat to : {PixelFormat::Bgr24, PixelFormat::Bgrx32, PixelFormat::Device}) {
            auto src = MakeTestPhoto(13, 9);
            if (from == PixelFormat::Indexed8) src->Palette() = {kRed, kLime, kBlue, 0x808080};
            src->SetPixelFormat(from);
            auto b = Blank(15, 11, to);
            b->canvas().Draw(1, 1, *src);
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 13; ++x) ASSERT_EQ(b->Pixel(x + 1, y + 1), src->Pixel(x, y));
            EXPECT_EQ(b->Pixel(0, 0), kWhite);
            EXPECT_EQ(b->Pixel(14, 10), kWhite);
            EXPECT_EQ(b->format(), to);
        }
}

TEST(CanvasStretch, IndexedDestinationBecomesDeviceFormat) {
    auto b = BitmapFromArt({"r.", ".b"}, kInk, PixelFormat::Indexed8);
    b->Palette() = {kWhite, kRed, kBlue};
    b->SetPixel(0, 0, kRed);
    b->SetPixel(1, 1, kBlue);
    auto src = BitmapFromArt({"g"}, kInk);
    b->canvas().Draw(1, 0, *src);
    EXPECT_EQ(b->format(), PixelFormat::Device);
    EXPECT_PIXELS(*b, kInk, ({"rg", ".b"}));
}

TEST(CanvasStretch, TransparentWhiteLeavesTheDestination) {
    auto src = BitmapFromArt({".b", "b."}, kInk);
    src->Transparent = true;
    src->TransparentColor = kWhite;
    src->ScanLine(0)[3] = 0x55; // the fourth byte plays no part
    auto b = BitmapFromArt({"rrrr", "rrrr"}, kInk);
    b->canvas().StretchDraw(Rect(0, 0, 4, 2), *src);
    EXPECT_PIXELS(*b, kInk, ({"rrbb", "bbrr"}));
}

TEST(CanvasStretch, DrawIsClippedAtEveryEdge) {
    auto src = BitmapFromArt({"rgb", "grb", "bbr"}, kInk);
    auto b = Blank(2, 2);
    b->canvas().Draw(-1, -1, *src);
    EXPECT_PIXELS(*b, kInk, ({"rb", "br"}));
    auto d = Blank(3, 2);
    d->canvas().Draw(2, 1, *src);
    EXPECT_PIXELS(*d, kInk, ({"...", "..r"}));
}

TEST(CanvasStretch, BitmapDrawnOntoItself) {
    auto b = BitmapFromArt({"rgb#", "...."}, kInk);
    b->canvas().Draw(1, 0, *b); // read whole before written
    EXPECT_PIXELS(*b, kInk, ({"rrgb", "...."}));
}

TEST(CanvasCopyRect, OverlappingCopyReadsTheSourceFirst) {
    auto b = BitmapFromArt({"rgb.#", "....."}, kInk);
    Canvas& c = b->canvas();
    c.CopyRect(Rect(1, 0, 5, 1), c, Rect(0, 0, 4, 1));
    EXPECT_PIXELS(*b, kInk, ({"rrgb.", "....."}));
    c.CopyRect(Rect(0, 0, 4, 2), c, Rect(1, 0, 3, 1)); // stretched from itself
    EXPECT_PIXELS(*b, kInk, ({"rrgg.", "rrgg."}));
}

TEST(CanvasCopyRect, SourceOutsideItsBitmapLeavesTheDestination) {
    auto src = BitmapFromArt({"rg", "bb"}, kInk);
    auto b = Blank(4, 2);
    b->canvas().CopyRect(Rect(0, 0, 4, 2), src->canvas(), Rect(-1, 0, 3, 2));
    EXPECT_PIXELS(*b, kInk, ({".rg.", ".bb."}));
}

TEST(CanvasCopyRect, IgnoresTheSourcesTransparency) {
    auto src = BitmapFromArt({".b"}, kInk);
    src->Transparent = true;
    auto b = BitmapFromArt({"rr"}, kInk);
    b->canvas().CopyRect(Rect(0, 0, 2, 1), src->canvas(), Rect(0, 0, 2, 1));
    EXPECT_PIXELS(*b, kInk, ({".b"}));
}

// --------------------------------------------------------------- formats

TEST(CanvasFormats, DrawingOnAnIndexedBitmapConvertsItFirst) {
    Bitmap b(3, 1, PixelFormat::Indexed8);
    b.Palette() = {kWhite, kBlue};
    b.ScanLine(0)[2] = 1;
    Canvas& c = Ready(b);
    c.MoveTo(0, 0);
    c.LineTo(1, 0);
    EXPECT_EQ(b.format(), PixelFormat::Device);
    EXPECT_PIXELS(b, kInk, ({"#.b"}));
}

TEST(CanvasFormats, ShapesWriteColourOnlyOn24BitPictures) {
    auto b = Blank(6, 4, PixelFormat::Bgr24);
    Canvas& c = Ready(*b);
    c.Rectangle(0, 0, 6, 4);
    EXPECT_PIXELS(*b, kInk, ({"######", "#rrrr#", "#rrrr#", "######"}));
    EXPECT_EQ(b->format(), PixelFormat::Bgr24);
}
