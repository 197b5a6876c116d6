// TPhoto and TPhotoFrame: construction from the clipboard, output sizing,
// the frame band, the preview scale and the parameter setters.
#include "canvas/Canvas.h"
#include "formats/Formats.h"
#include "frames/Clipboard.h"
#include "frames/Framer.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quillon;

namespace {

constexpr Color kFrame = 0x3366CC;
constexpr Color kBackground = 0x00FF00;

// Puts a photo of the given size on the clipboard and returns a copy of it.
std::unique_ptr<Bitmap> PhotoOnClipboard(int w, int h) {
    auto photo = MakeTestPhoto(w, h);
    Clipboard().SetBitmap(*photo);
    return photo;
}

std::unique_ptr<TPhotoFrame> MakeFrame(int fw, int fh, bool expand, int zoomMode = 0,
                                       int borderWidth = 2) {
    return std::make_unique<TPhotoFrame>(nullptr, "photo.bmp", 0, 0, fw, fh, kFrame, kBlack, expand,
                                         borderWidth, kBackground, zoomMode, true);
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

class FrameBase : public ::testing::Test {
protected:
    void TearDown() override { Clipboard().Clear(); }
};

} // namespace

TEST_F(FrameBase, ExpandedOutputHoldsThePhotoInsideTheFrame) {
    auto photo = PhotoOnClipboard(400, 300);
    auto f = MakeFrame(40, 30, true);
    EXPECT_EQ(f->OutputWidth, 480);
    EXPECT_EQ(f->OutputHeight, 360);
    EXPECT_EQ(f->Output->Width(), 480);
    EXPECT_EQ(f->Output->Height(), 360);
    EXPECT_EQ(f->PictureWidth, 400);
    EXPECT_EQ(f->PictureHeight, 300);
    EXPECT_TRUE(PhotoAt(*f->Output, *photo, 40, 30));
    EXPECT_EQ(f->Output->Pixel(39, 29), kBackground);
    EXPECT_EQ(f->Output->Pixel(479, 359), kBackground);
    EXPECT_EQ(f->DisplayWidth, 480);
    EXPECT_EQ(f->Display->PictureBitmap().Width(), 480);
}

TEST_F(FrameBase, UnexpandedOutputIsThePhotosSize) {
    auto photo = PhotoOnClipboard(400, 300);
    auto f = MakeFrame(40, 30, false);
    EXPECT_EQ(f->OutputWidth, 400);
    EXPECT_EQ(f->OutputHeight, 300);
    EXPECT_TRUE(PhotoAt(*f->Output, *photo, 0, 0));
    f->FillFrameArea(); // the frame then covers the photo's own edge
    EXPECT_EQ(f->Output->Pixel(0, 0), kFrame);
    EXPECT_EQ(f->Output->Pixel(40, 150), kFrame);
    EXPECT_EQ(f->Output->Pixel(41, 150), photo->Pixel(41, 150));
}

TEST_F(FrameBase, FillFrameAreaPaintsExactlyTheBand) {
    struct Case {
        int fw, fh;
    };
    for (const Case c : {Case{40, 30}, Case{10, 20}, Case{0, 0}, Case{25, 5}}) {
        auto photo = PhotoOnClipboard(400, 300);
        auto f = MakeFrame(c.fw, c.fh, true);
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

TEST_F(FrameBase, FillFrameAreaTakesThePhotosFirstColumnAndRowOnly) {
    auto photo = PhotoOnClipboard(400, 300);
    auto f = MakeFrame(40, 30, true);
    f->FillFrameArea();
    EXPECT_EQ(f->Output->Pixel(40, 100), kFrame);
    EXPECT_EQ(f->Output->Pixel(100, 30), kFrame);
    EXPECT_EQ(f->Output->Pixel(439, 100), photo->Pixel(399, 70));
    EXPECT_EQ(f->Output->Pixel(100, 329), photo->Pixel(60, 299));
    EXPECT_EQ(f->Output->Pixel(440, 100), kFrame);
    EXPECT_EQ(f->Output->Pixel(100, 330), kFrame);
}

TEST_F(FrameBase, SetBorderWidthDerivesHalfBorderAndIgnoresOutOfRange) {
    auto f = MakeFrame(10, 10, true);
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

TEST_F(FrameBase, FrameThicknessSettersAcceptZeroToTwoHundred) {
    auto f = MakeFrame(10, 12, true);
    f->SetFrameWidth(201);
    f->SetFrameHeight(-1);
    EXPECT_EQ(f->FrameWidth, 10);
    EXPECT_EQ(f->FrameHeight, 12);
    f->SetFrameWidth(200);
    f->SetFrameHeight(0);
    EXPECT_EQ(f->FrameWidth, 200);
    EXPECT_EQ(f->FrameHeight, 0);
}

TEST_F(FrameBase, OutOfRangeConstructorThicknessStartsAtZero) {
    PhotoOnClipboard(20, 10);
    auto f = MakeFrame(250, 5, true);
    EXPECT_EQ(f->FrameWidth, 0);
    EXPECT_EQ(f->OutputWidth, 20);
    EXPECT_EQ(f->OutputHeight, 20);
}

TEST_F(FrameBase, OddSizeDifferenceCentresWithTruncation) {
    auto photo = PhotoOnClipboard(20, 10);
    auto f = MakeFrame(0, 0, false);
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

TEST_F(FrameBase, ShowOutputScalesThePreviewWithTruncation) {
    PhotoOnClipboard(403, 303);
    auto f = MakeFrame(40, 30, true);
    ASSERT_EQ(f->OutputWidth, 483);
    ASSERT_EQ(f->OutputHeight, 363);
    f->Scale = 0.25f;
    f->ShowOutput();
    EXPECT_EQ(f->DisplayWidth, 120);
    EXPECT_EQ(f->DisplayHeight, 90);
    EXPECT_EQ(f->Display->Width(), 120);
    EXPECT_EQ(f->Display->PictureBitmap().Height(), 90);
    // The preview is the output sampled, not blended.
    EXPECT_EQ(f->Display->PictureBitmap().Pixel(0, 0), f->Output->Pixel(2, 2));
}

TEST_F(FrameBase, ConstructionAtZoomModeThreeHalvesThePreview) {
    PhotoOnClipboard(1000, 800);
    TPhoto p(nullptr, "photo.bmp", 0, 0, kBlack, 2, kBackground, 3, true);
    EXPECT_FLOAT_EQ(p.Scale, 0.5f);
    EXPECT_EQ(p.DisplayWidth, 500);
    EXPECT_EQ(p.DisplayHeight, 400);
    EXPECT_EQ(p.PictureWidth, 1000);
    EXPECT_EQ(p.Display->PictureBitmap().Width(), 500);
    auto f = MakeFrame(10, 10, true, 3);
    EXPECT_EQ(f->DisplayWidth, 510); // after sizing: trunc(1020 x 0.5)
    EXPECT_EQ(f->DisplayHeight, 410);
}

TEST_F(FrameBase, ZoomModesScaleThePreview) {
    struct Case {
        int mode;
        float scale;
    };
    for (const Case c : {Case{0, 1.0f}, Case{1, 1.0f}, Case{2, 0.75f}, Case{3, 0.5f},
                         Case{4, 0.25f}, Case{5, 0.1f}, Case{9, 1.0f}}) {
        PhotoOnClipboard(200, 100);
        auto f = MakeFrame(0, 0, false, c.mode);
        EXPECT_FLOAT_EQ(f->Scale, c.scale) << "mode " << c.mode;
        EXPECT_EQ(f->DisplayWidth, int(200 * c.scale)) << "mode " << c.mode;
    }
}

TEST_F(FrameBase, EmptyClipboardGivesAnEmptyPhotoWithEveryFieldSet) {
    Clipboard().Clear();
    auto f = MakeFrame(10, 20, true, 2, 3);
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
    EXPECT_EQ(f->FileName, "photo.bmp");
    EXPECT_FLOAT_EQ(f->Scale, 0.75f);
    EXPECT_EQ(f->DisplayWidth, 15);
    f->FillFrameArea();
    f->DrawPictureCentred();
    EXPECT_EQ(f->Output->Pixel(0, 0), kFrame);
    EXPECT_EQ(f->Output->Pixel(19, 39), kFrame);
    auto bare = MakeFrame(0, 0, false);
    EXPECT_TRUE(bare->Output->Empty());
    bare->FillFrameArea();
    bare->ShowOutput();
}

TEST_F(FrameBase, SetPatternWithEmptyOrMissingNameKeepsThePicture) {
    PhotoOnClipboard(20, 10);
    auto f = MakeFrame(5, 5, true);
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

TEST_F(FrameBase, SetPatternReadsAnExistingFileWhateverTheCase) {
    PhotoOnClipboard(20, 10);
    auto f = MakeFrame(5, 5, true);
    const std::string dir = TempDir("frame-pattern-case");
    Bitmap tile(4, 3, PixelFormat::Bgr24);
    tile.SetPixel(1, 1, kRed);
    try {
        SaveBmpFile(tile, dir + "/Tile.BMP");
    } catch (const PictureError& e) {
        GTEST_SKIP() << "Windows bitmap files cannot be written yet: " << e.what();
    }
    const std::string asked = dir + "/tile.bmp";
    try {
        f->SetPattern(asked);
    } catch (const PictureError& e) {
        GTEST_SKIP() << "Windows bitmap files cannot be read yet: " << e.what();
    }
    EXPECT_EQ(f->PatternName, asked);
    EXPECT_EQ(f->PatternPicture->Width(), 4);
    EXPECT_EQ(f->PatternPicture->Pixel(1, 1), kRed);
}

TEST_F(FrameBase, UnreadablePatternKeepsTheOldNameAndPicture) {
    PhotoOnClipboard(20, 10);
    auto f = MakeFrame(5, 5, true);
    const std::string bad = TempDir("frame-pattern-bad") + "/broken.bmp";
    std::ofstream(bad) << "not a picture";
    f->PatternPicture->SetSize(3, 2);
    f->PatternName = "old.bmp";
    EXPECT_THROW(f->SetPattern(bad), PictureError);
    EXPECT_EQ(f->PatternName, "old.bmp");
    EXPECT_EQ(f->PatternPicture->Width(), 3);
}

TEST_F(FrameBase, MouseHandlersRecordRightButtonEvents) {
    PhotoOnClipboard(20, 10);
    auto f = MakeFrame(5, 5, true);
    f->Display->MouseDown(TMouseButton::mbRight, ssRight, 7, 8);
    EXPECT_TRUE(f->MouseState.RightPressed);
    EXPECT_FALSE(f->MouseState.RightReleased);
    EXPECT_EQ(f->MouseState.ButtonX, 7);
    EXPECT_EQ(f->MouseState.PointerY, 8);
    f->Display->MouseUp(TMouseButton::mbRight, 0, 9, 3);
    EXPECT_FALSE(f->MouseState.RightPressed);
    EXPECT_TRUE(f->MouseState.RightReleased);
    EXPECT_EQ(f->MouseState.PointerX, 9);
    f->Display->MouseUp(TMouseButton::mbLeft, 0, 1, 1);
    EXPECT_FALSE(f->MouseState.RightReleased);
    EXPECT_FALSE(f->MouseState.LeftReleased); // left events are never recorded
}
