// FrameStyle: construction from a photo, output sizing, the frame band and
// the parameter setters.
#include "canvas/Canvas.h"
#include "formats/Formats.h"
#include "frames/FrameStyle.h"
#include "tests/frames/GeoStyleTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <utility>
#include <vector>

using namespace quillon;

namespace {

constexpr Color kFrame = 0x3366CC;
constexpr Color kBackground = 0x00FF00;

// The shared part of every style, with a paint that adds nothing.
class PlainFrame final : public FrameStyle {
public:
    using FrameStyle::FrameStyle;
    void Paint() override {}
};

std::unique_ptr<FrameStyle> MakeFrame(const Bitmap& photo, int fw, int fh, bool expand,
                                      int borderWidth = 2) {
    return std::make_unique<PlainFrame>(
        photo, MakeFrameSettings(fw, fh, kFrame, kBlack, expand, borderWidth, kBackground));
}

// The photo must appear unchanged with its top-left pixel at (x0, y0).
::testing::AssertionResult PhotoAt(const Bitmap& out, const Bitmap& photo, int x0, int y0) {
    for (int y = 0; y < photo.Height(); ++y)
        for (int x = 0; x < photo.Width(); ++x)
            if (out.Pixel(x0 + x, y0 + y) != photo.Pixel(x, y))
                return ::testing::AssertionFailure()
                       << "photo pixel (" << x << ", " << y << ") differs in the output";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(FrameBase, ExpandedOutputHoldsThePhotoInsideTheFrame) {
    auto photo = MakeTestPhoto(400, 300);
    auto f = MakeFrame(*photo, 40, 30, true);
    EXPECT_EQ(f->OutputWidth, 480);
    EXPECT_EQ(f->OutputHeight, 360);
    EXPECT_EQ(f->Output->Width(), 480);
    EXPECT_EQ(f->Output->Height(), 360);
    EXPECT_EQ(f->PictureWidth, 400);
    EXPECT_EQ(f->PictureHeight, 300);
    EXPECT_TRUE(PhotoAt(*f->Output, *photo, 40, 30));
    EXPECT_EQ(f->Output->Pixel(39, 29), kBackground);
    EXPECT_EQ(f->Output->Pixel(479, 359), kBackground);
}

TEST(FrameBase, UnexpandedOutputIsThePhotosSize) {
    auto photo = MakeTestPhoto(400, 300);
    auto f = MakeFrame(*photo, 40, 30, false);
    EXPECT_EQ(f->OutputWidth, 400);
    EXPECT_EQ(f->OutputHeight, 300);
    EXPECT_TRUE(PhotoAt(*f->Output, *photo, 0, 0));
    f->FillFrameArea(); // the frame then covers the photo's own edge
    EXPECT_EQ(f->Output->Pixel(0, 0), kFrame);
    EXPECT_EQ(f->Output->Pixel(40, 150), kFrame);
    EXPECT_EQ(f->Output->Pixel(41, 150), photo->Pixel(41, 150));
}

TEST(FrameBase, FillFrameAreaPaintsExactlyTheBand) {
    struct Case {
        int fw, fh;
    };
    for (const Case c : {Case{40, 30}, Case{10, 20}, Case{0, 0}, Case{25, 5}}) {
        auto photo = MakeTestPhoto(400, 300);
        auto f = MakeFrame(*photo, c.fw, c.fh, true);
        f->FillFrameArea();
        const int ow = f->OutputWidth, oh = f->OutputHeight;
        for (int y = 0; y < oh; ++y)
            for (int x = 0; x < ow; ++x) {
                const bool band = x <= c.fw || x >= ow - c.fw || y <= c.fh || y >= oh - c.fh;
                const Color want = band ? kFrame : photo->Pixel(x - c.fw, y - c.fh);
                ASSERT_EQ(f->Output->Pixel(x, y), want)
                    << "fw " << c.fw << " fh " << c.fh << " at (" << x << ", " << y << ")";
            }
        EXPECT_EQ(f->Output->canvas().pen.Width(), 1);
        EXPECT_EQ(f->Output->canvas().pen.color, kFrame);
    }
}

TEST(FrameBase, FillFrameAreaTakesThePhotosFirstColumnAndRowOnly) {
    auto photo = MakeTestPhoto(400, 300);
    auto f = MakeFrame(*photo, 40, 30, true);
    f->FillFrameArea();
    EXPECT_EQ(f->Output->Pixel(40, 100), kFrame);
    EXPECT_EQ(f->Output->Pixel(100, 30), kFrame);
    EXPECT_EQ(f->Output->Pixel(439, 100), photo->Pixel(399, 70));
    EXPECT_EQ(f->Output->Pixel(100, 329), photo->Pixel(60, 299));
    EXPECT_EQ(f->Output->Pixel(440, 100), kFrame);
    EXPECT_EQ(f->Output->Pixel(100, 330), kFrame);
}

TEST(FrameBase, SetBorderWidthDerivesHalfBorderAndIgnoresOutOfRange) {
    auto f = MakeFrame(*MakeTestPhoto(20, 10), 10, 10, true);
    const int expected[] = {1, 0, 2, 1, 3, 2, 4};
    for (int v = 0; v <= 6; ++v) {
        f->SetBorderWidth(v);
        EXPECT_EQ(f->BorderWidth, v);
        EXPECT_EQ(f->HalfBorder, expected[v]) << "width " << v;
    }
    f->SetBorderWidth(50);
    EXPECT_EQ(f->HalfBorder, 26);
    for (int bad : {51, -1, 1000}) {
        f->SetBorderWidth(bad);
        EXPECT_EQ(f->BorderWidth, 50);
        EXPECT_EQ(f->HalfBorder, 26);
    }
}

TEST(FrameBase, FrameThicknessSettersAcceptZeroToTwoHundred) {
    auto f = MakeFrame(*MakeTestPhoto(20, 10), 10, 12, true);
    f->SetFrameWidth(201);
    f->SetFrameHeight(-1);
    EXPECT_EQ(f->FrameWidth, 10);
    EXPECT_EQ(f->FrameHeight, 12);
    f->SetFrameWidth(200);
    f->SetFrameHeight(0);
    EXPECT_EQ(f->FrameWidth, 200);
    EXPECT_EQ(f->FrameHeight, 0);
}

TEST(FrameBase, OutOfRangeConstructorThicknessStartsAtZero) {
    auto photo = MakeTestPhoto(20, 10);
    auto f = MakeFrame(*photo, 250, 5, true);
    EXPECT_EQ(f->FrameWidth, 0);
    EXPECT_EQ(f->OutputWidth, 20);
    EXPECT_EQ(f->OutputHeight, 20);
}

TEST(FrameBase, OddSizeDifferenceCentresWithTruncation) {
    auto photo = MakeTestPhoto(20, 10);
    auto f = MakeFrame(*photo, 0, 0, false);
    f->SetOutputSize(23, 10); // 3 wider: photo at x = 1
    EXPECT_TRUE(PhotoAt(*f->Output, *photo, 1, 0));
    EXPECT_EQ(f->Output->Pixel(0, 5), kBackground);
    f->SetOutputSize(17, 13); // 3 narrower: photo at x = -1, y = 1
    EXPECT_EQ(f->Output->Pixel(0, 1), photo->Pixel(1, 0));
    EXPECT_EQ(f->Output->Pixel(16, 10), photo->Pixel(17, 9));
    EXPECT_EQ(f->Output->Pixel(5, 0), kBackground);
    f->SetImageLeft(2);
    f->SetImageTop(-1);
    f->ClearOutput();
    f->DrawPictureCentred();
    EXPECT_EQ(f->Output->Pixel(1, 0), photo->Pixel(0, 0));
}

TEST(FrameBase, EmptyPhotoGivesAFrameWithEveryFieldSet) {
    const Bitmap empty;
    auto f = MakeFrame(empty, 10, 20, true, 3);
    EXPECT_EQ(f->PictureWidth, 0);
    EXPECT_EQ(f->PictureHeight, 0);
    EXPECT_TRUE(f->Unframed->Empty());
    EXPECT_EQ(f->OutputWidth, 20);
    EXPECT_EQ(f->OutputHeight, 40);
    EXPECT_EQ(f->Output->Pixel(10, 20), kBackground);
    EXPECT_EQ(f->BorderColor, kBlack);
    EXPECT_EQ(f->BackgroundColor, kBackground);
    EXPECT_EQ(f->BorderWidth, 3);
    EXPECT_EQ(f->HalfBorder, 1);
    f->FillFrameArea();
    f->DrawPictureCentred();
    EXPECT_EQ(f->Output->Pixel(0, 0), kFrame);
    EXPECT_EQ(f->Output->Pixel(19, 39), kFrame);
    auto bare = MakeFrame(empty, 0, 0, false);
    EXPECT_TRUE(bare->Output->Empty());
    bare->FillFrameArea();
}

TEST(FrameBase, ThePhotoIsCopiedInTheScreenFormat) {
    auto photo = MakeTestPhoto(8, 6);
    photo->SetPixelFormat(PixelFormat::Bgr24);
    auto f = MakeFrame(*photo, 2, 2, true);
    photo->SetPixel(0, 0, kRed); // the frame keeps its own copy
    EXPECT_EQ(f->Unframed->format(), PixelFormat::Device);
    EXPECT_NE(f->Unframed->Pixel(0, 0), kRed);
    EXPECT_EQ(f->Output->Pixel(2, 2), f->Unframed->Pixel(0, 0));
}

TEST(FrameBase, ScreenCopySharesAScreenFormatPhotoAndConvertsTheOthers) {
    for (PixelFormat format :
         {PixelFormat::Device, PixelFormat::Bgrx32, PixelFormat::Bgr24, PixelFormat::Indexed8}) {
        SCOPED_TRACE(int(format));
        auto photo = MakeTestPhoto(13, 7);
        photo->SetPixelFormat(format);
        // Stray fourth bytes: kept in the screen format, cleared from the
        // other 32-bit one.
        if (photo->BytesPerPixel() == 4)
            for (int y = 0; y < photo->Height(); ++y)
                for (int x = 0; x < photo->Width(); ++x)
                    photo->ScanLine(y)[4 * x + 3] = std::uint8_t(1 + x * 31 + y);
        photo->Transparent = true;
        photo->TransparentColor = kRed;
        const std::vector<std::uint8_t> before(photo->Bits(), photo->Bits() + photo->Stride() * 7);
        const auto copy = ScreenCopy(*photo);
        EXPECT_EQ(copy->format(), PixelFormat::Device);
        EXPECT_FALSE(copy->Transparent);
        EXPECT_EQ(copy->TransparentColor, kRed);
        EXPECT_EQ(copy->SharesPixelsWith(*photo), format == PixelFormat::Device);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) {
                ASSERT_EQ(copy->Pixel(x, y), photo->Pixel(x, y));
                const std::uint8_t fourth = std::as_const(*copy).ScanLine(y)[4 * x + 3];
                ASSERT_EQ(fourth, format == PixelFormat::Device ? std::uint8_t(1 + x * 31 + y) : 0);
            }
        EXPECT_TRUE(std::equal(before.begin(), before.end(), std::as_const(*photo).Bits()));
    }
}

TEST(FrameBase, TheOutputIsMadeAtItsSizeAroundTheCopiedPhoto) {
    auto photo = MakeTestPhoto(9, 5);
    photo->SetPixelFormat(PixelFormat::Bgrx32);
    photo->TransparentColor = kBlue;
    auto f = MakeFrame(*photo, 3, 2, true);
    EXPECT_EQ(f->Output->format(), PixelFormat::Device);
    EXPECT_EQ(f->Output->TransparentColor, kBlue);
    EXPECT_FALSE(f->Output->Transparent);
    EXPECT_EQ(f->Output->Width(), 15);
    EXPECT_EQ(f->Output->Height(), 9);
    EXPECT_TRUE(PhotoAt(*f->Output, *photo, 3, 2));
    for (int x = 0; x < 15; ++x) {
        EXPECT_EQ(f->Output->Pixel(x, 0), kBackground);
        EXPECT_EQ(f->Output->Pixel(x, 8), kBackground);
    }
}

// The output made at a new size equals the plain clear-then-draw one, with
// the photo anywhere (inside, across an edge, outside), opaque or not, and
// whatever the reused buffer held before.
TEST(FrameBase, OutputSizingEqualsClearingThenDrawing) {
    std::mt19937 rng(5);
    const auto bytes = [](const Bitmap& b) {
        return std::vector<std::uint8_t>(b.Bits(), b.Bits() + b.Stride() * b.Height());
    };
    for (bool transparent : {false, true})
        for (auto [dx, dy] : {std::pair{0, 0}, {-3, 2}, {-9, -7}, {8, 9}, {40, 0}, {0, -30}}) {
            SCOPED_TRACE(testing::Message()
                         << dx << "," << dy << (transparent ? " see-through" : ""));
            auto photo = MakeTestPhoto(11, 8);
            auto fast = MakeFrame(*photo, 4, 3, true);
            auto plain = MakeFrame(*photo, 4, 3, true);
            for (FrameStyle* f : {fast.get(), plain.get()}) {
                f->Unframed->Transparent = transparent;
                f->Unframed->TransparentColor = photo->Pixel(0, 0);
                f->SetImageLeft(dx);
                f->SetImageTop(dy);
                for (int y = 0; y < f->Output->Height(); ++y)
                    for (std::size_t i = 0; i < f->Output->Stride(); ++i)
                        f->Output->ScanLine(y)[i] = std::uint8_t(rng());
            }
            fast->SetOutputSize(18, 13);
            plain->SetOutputSizeReference(18, 13);
            ASSERT_EQ(fast->Output->Width(), 18);
            EXPECT_EQ(bytes(*fast->Output), bytes(*plain->Output));
        }
}

// The frame band painted a row at a time equals the ring-by-ring one, for
// sides of every proportion (zero, unequal, wider than the photo, meeting in
// the middle) and in each writable pixel format.
TEST(FrameBase, FrameAreaEqualsItsRingByRingPainting) {
    std::mt19937 rng(8);
    const auto bytes = [](const Bitmap& b) {
        return std::vector<std::uint8_t>(b.Bits(), b.Bits() + b.Stride() * b.Height());
    };
    auto photo = MakeTestPhoto(6, 5);
    for (PixelFormat format : {PixelFormat::Device, PixelFormat::Bgrx32, PixelFormat::Bgr24})
        for (int round = 0; round < 300; ++round) {
            const int w = 1 + int(rng() % 20), h = 1 + int(rng() % 20);
            const int l = int(rng() % 12), t = int(rng() % 12), r = int(rng() % 12),
                      b = int(rng() % 12);
            SCOPED_TRACE(testing::Message() << int(format) << ": " << w << "x" << h << " sides "
                                            << l << "," << t << "," << r << "," << b);
            auto fast = MakeFrame(*photo, 2, 2, false);
            auto plain = MakeFrame(*photo, 2, 2, false);
            for (FrameStyle* f : {fast.get(), plain.get()}) {
                f->SetOutputSize(w, h);
                f->Output->SetPixelFormat(format);
            }
            for (int y = 0; y < h; ++y)
                for (std::size_t i = 0; i < fast->Output->Stride(); ++i)
                    fast->Output->ScanLine(y)[i] = plain->Output->ScanLine(y)[i] =
                        std::uint8_t(rng());
            fast->FillFrameArea(l, t, r, b);
            plain->FillFrameAreaReference(l, t, r, b);
            ASSERT_EQ(bytes(*fast->Output), bytes(*plain->Output));
        }
}

TEST(FrameBase, SetPatternWithEmptyOrMissingNameKeepsThePicture) {
    auto photo = MakeTestPhoto(20, 10);
    auto f = MakeFrame(*photo, 5, 5, true);
    f->PatternPicture->SetSize(3, 2);
    f->PatternName = "old.bmp";
    f->SetPattern("");
    EXPECT_EQ(f->PatternName, "");
    EXPECT_EQ(f->PatternPicture->Width(), 3);
    f->PatternName = "old.bmp";
    f->SetPattern(TempDir("frame-pattern") + "/missing.bmp");
    EXPECT_EQ(f->PatternName, "");
    EXPECT_EQ(f->PatternPicture->Width(), 3);
}

TEST(FrameBase, SetPatternReadsAnExistingFileWhateverTheCase) {
    auto photo = MakeTestPhoto(20, 10);
    auto f = MakeFrame(*photo, 5, 5, true);
    const std::string dir = TempDir("frame-pattern-case");
    Bitmap tile(4, 3, PixelFormat::Bgr24);
    tile.SetPixel(1, 1, kRed);
    SaveBmpFile(tile, dir + "/Tile.BMP");
    const std::string asked = dir + "/tile.bmp";
    f->SetPattern(asked);
    EXPECT_EQ(f->PatternName, asked);
    EXPECT_EQ(f->PatternPicture->Width(), 4);
    EXPECT_EQ(f->PatternPicture->Pixel(1, 1), kRed);
}

TEST(FrameBase, UnreadablePatternKeepsTheOldNameAndPicture) {
    auto photo = MakeTestPhoto(20, 10);
    auto f = MakeFrame(*photo, 5, 5, true);
    const std::string bad = TempDir("frame-pattern-bad") + "/broken.bmp";
    std::ofstream(bad) << "not a picture";
    f->PatternPicture->SetSize(3, 2);
    f->PatternName = "old.bmp";
    EXPECT_THROW(f->SetPattern(bad), PictureError);
    EXPECT_EQ(f->PatternName, "old.bmp");
    EXPECT_EQ(f->PatternPicture->Width(), 3);
}

TEST(FrameBase, ResizedOutputKeepsNothingOfEarlierPaints) {
    // The output's buffer is reused from size to size: whatever was painted
    // before must not show through at the new size.
    auto photo =
        BitmapFromArt({"RG", "BW"}, {{'R', kRed}, {'G', kLime}, {'B', kBlue}, {'W', kWhite}});
    auto edited = MakeFrame(*photo, 3, 3, true);
    for (const auto& [w, h] : {std::pair{30, 24}, {9, 7}, {12, 40}, {11, 9}}) {
        edited->SetOutputSize(w, h);
        Canvas& c = edited->Output->canvas();
        c.brush.SetColor(kFrame);
        c.FillRect(Rect(0, 0, w, h));
    }
    edited->SetOutputSize(14, 12);
    auto fresh = MakeFrame(*photo, 3, 3, true);
    fresh->SetOutputSize(14, 12);
    ASSERT_EQ(edited->Output->Width(), 14);
    ASSERT_EQ(edited->Output->Height(), 12);
    EXPECT_TRUE(SameBytes(*edited->Output, *fresh->Output));
    EXPECT_TRUE(PhotoAt(*edited->Output, *photo, 6, 5));
    EXPECT_EQ(edited->Output->Pixel(0, 0), kBackground);
    EXPECT_EQ(edited->Output->Pixel(13, 11), kBackground);
}
