#include "document/Butbar.h"

#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/OverlayMaskFrames.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace quillon;

namespace {

const std::map<char, Color> kArt = {{'a', 0x000011}, {'b', 0x000022}, {'c', 0x000033},
                                    {'d', 0x000044}, {'e', 0x000055}, {'f', 0x000066},
                                    {'R', kRed},     {'W', kWhite},   {'K', kBlack}};

class Document : public ::testing::Test {
protected:
    void SetUp() override {
        Clipboard().Clear();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dataDir_ = TempDir(std::string("document_") + info->name());
        SetStartFolder(dataDir_);
        // Stand-ins for the drop-shadow pieces the shadow style reads.
        if (BmpFilesReady(dataDir_))
            for (const char* piece : {"ru.res", "rc.res", "rl.res", "ll.res", "lc.res"})
                SaveBmpFile(*PlainPicture(6, 6, kGray), dataDir_ + "/" + piece);
    }
    void TearDown() override { Clipboard().Clear(); }

    // Writes the default ornate picture (w x h) under a differently cased
    // folder, so that the lookup must ignore letter case.
    bool WriteOrnateDefault(int w, int h) {
        if (!BmpFilesReady(dataDir_)) return false;
        std::filesystem::create_directories(dataDir_ + "/ornate");
        SaveBmpFile(*PlainPicture(w, h, kOlive), dataDir_ + "/ornate/_orn001.BMP");
        return true;
    }

    std::string dataDir_;
};

} // namespace

// --- Zoom ---------------------------------------------------------------------

TEST_F(Document, LoadShowsPictureAtZoomModeScale) {
    REQUIRE_CANVAS();
    struct Case {
        int zoom;
        int w, h;
        float scale;
        int shownW, shownH;
    };
    const Case cases[] = {
        {0, 1000, 1000, 1.0f, 1000, 1000}, {1, 1000, 1000, 1.0f, 1000, 1000},
        {2, 1000, 1000, 0.75f, 750, 750},  {3, 1000, 800, 0.5f, 500, 400},
        {4, 1000, 1000, 0.25f, 250, 250},  {5, 1000, 1000, 0.1f, 100, 100}, // float 0.1 x 1000
        {5, 999, 19, 0.1f, 99, 1},         {2, 333, 7, 0.75f, 249, 5},
        {9, 40, 30, 1.0f, 40, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("zoom " + std::to_string(c.zoom));
        auto doc = OpenDocument(*PlainPicture(c.w, c.h), c.zoom);
        EXPECT_EQ(doc->Scale, c.scale);
        EXPECT_EQ(doc->GetImageWidth(), c.shownW);
        EXPECT_EQ(doc->GetImageHeight(), c.shownH);
        EXPECT_EQ(doc->Photo->Width(), c.w);
        EXPECT_EQ(doc->FileName, "Clipboard");
    }
}

TEST_F(Document, ShowAtZoomSizesPreviewFromFullSizeOutput) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(1000, 1000));
    doc->SelectContinuousFrame(0); // 100 thick: output 1200 x 1200
    doc->ShowAtZoom(5);
    EXPECT_EQ(doc->GetDisplayWidth(), 120);
    EXPECT_EQ(doc->GetDisplayHeight(), 120);
    EXPECT_EQ(doc->CurrentFrame()->Display->PictureBitmap().Width(), 120);
    float scale = 0;
    ASSERT_NE(doc->GetFramedPicture(scale), nullptr);
    EXPECT_EQ(scale, 0.1f);
    EXPECT_EQ(doc->GetFramedPicture(scale)->Width(), 1200);
}

TEST_F(Document, LoadingAMissingFileThrowsAndLeavesDocumentEmpty) {
    TButtonBar doc(true);
    EXPECT_THROW(doc.LoadPicture(dataDir_ + "/nothing.jpg", nullptr, 0, false), PictureError);
    EXPECT_EQ(doc.Photo, nullptr);
    EXPECT_EQ(doc.GetImageWidth(), 0);
}

// --- Selecting styles -----------------------------------------------------------

TEST_F(Document, SelectingTheSameStyleTwiceCreatesOneFrame) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(60, 40));
    doc->SelectContinuousFrame(0);
    FrameStyle* first = doc->CurrentFrame();
    ASSERT_NE(first, nullptr);
    doc->SelectContinuousFrame(0);
    EXPECT_EQ(doc->CurrentFrame(), first);
    EXPECT_EQ(doc->Style, fsMatte);
}

TEST_F(Document, SwitchingStylesKeepsEachStylesParameters) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(60, 40));
    doc->SelectContinuousFrame(0);
    FrameStyle* matte = doc->CurrentFrame();
    doc->SetFrameWidth(9);
    doc->SetFrameColor(kRed);
    doc->SelectOvalFrame(0);
    EXPECT_FALSE(matte->Display->Visible);
    EXPECT_TRUE(doc->CurrentFrame()->Display->Visible);
    EXPECT_EQ(doc->GetFrameWidth(), 1);
    doc->SelectContinuousFrame(0);
    EXPECT_EQ(doc->CurrentFrame(), matte);
    EXPECT_EQ(doc->GetFrameWidth(), 9);
    EXPECT_EQ(doc->GetFrameColor(), kRed);
    EXPECT_TRUE(matte->Display->Visible);
    EXPECT_FALSE(doc->Image->Visible);
    EXPECT_EQ(doc->VisibleImage(), matte->Display.get());
}

TEST_F(Document, DefaultTableOnA600By450Picture) {
    REQUIRE_CANVAS();
    struct Case {
        int style;
        int fw, fh;
        Color frameColor, background;
        int borderWidth;
        int outW, outH;
    };
    const Case cases[] = {
        {fsCorner, 45, 45, kGray, kWhite, 1, 690, 540},
        {fsMatte, 45, 45, kSilver, kSilver, 1, 690, 540},
        {fsJagged, 40, 30, kWhite, kWhite, 1, 600, 450},
        {fsOval, 1, 1, kWhite, kWhite, 1, 600, 450},
        {fsDiamond, 1, 1, kWhite, kWhite, 2, 602, 452},
        {fsGrayscale, 0, 0, kOlive, kWhite, 1, 600, 450},
        {fsBubble, 60, 60, kWhite, kWhite, 1, 600, 450},
        {fsButton, 30, 30, kOlive, kWhite, 1, 600, 450},
        {fsShadow, 60, 60, kGray, kWhite, 1, 720, 570},
        {fsMask, 0, 0, kGray, kWhite, 1, 600, 450}, // border width reads the brightness
        {fsOverlay, 0, 0, kGray, kWhite, 1, 600, 450},
        {fsBox, 60, 60, kWhite, kWhite, 1, 720, 570},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style));
        auto doc = OpenDocument(*PlainPicture(600, 450));
        doc->SelectStyle(c.style, 0);
        ASSERT_EQ(doc->Style, c.style);
        FrameStyle* f = doc->CurrentFrame();
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->FrameWidth, c.fw);
        EXPECT_EQ(f->FrameHeight, c.fh);
        EXPECT_EQ(f->FrameColor, c.frameColor);
        EXPECT_EQ(f->BorderColor, kBlack);
        EXPECT_EQ(f->BackgroundColor, c.background);
        EXPECT_EQ(doc->GetBorderWidth(), c.borderWidth);
        EXPECT_EQ(f->OutputWidth, c.outW);
        EXPECT_EQ(f->OutputHeight, c.outH);
        EXPECT_EQ(f->PictureWidth, 600);
        EXPECT_TRUE(doc->GetScaled());
    }
}

TEST_F(Document, DefaultThicknessesComeFromThePictureAsShown) {
    REQUIRE_CANVAS();
    // 1200 x 900 at 50 % shows as 600 x 450: the defaults follow the display.
    auto doc = OpenDocument(*PlainPicture(1200, 900), 3);
    doc->SelectJaggedFrame(3);
    EXPECT_EQ(doc->GetFrameWidth(), 40);
    EXPECT_EQ(doc->GetFrameHeight(), 30);
    EXPECT_EQ(doc->GetPictureWidth(), 1200);
    doc->SelectBubbleFrame(3);
    EXPECT_EQ(doc->GetFrameWidth(), 60);
    EXPECT_EQ(doc->GetFrameHeight(), 60);
    EXPECT_EQ(doc->GetDisplayWidth(), 600);
}

TEST_F(Document, MaskAndOverlayWithoutTheirDefaultPicturesHaveNoPattern) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(20, 10));
    doc->SelectMaskFrame(0);
    EXPECT_EQ(doc->Style, fsMask);
    doc->GetPatternBitmap();
    EXPECT_EQ(doc->PatternName, "");
    doc->SelectOverlayFrame(0);
    EXPECT_EQ(doc->Style, fsOverlay);
    EXPECT_EQ(doc->CurrentFrame()->PatternName, "");
}

TEST_F(Document, OrnateDefaultGivesItsSizeAsThicknessWhateverTheCase) {
    REQUIRE_CANVAS();
    if (!WriteOrnateDefault(30, 20)) GTEST_SKIP() << "Windows bitmap files are not in yet";
    auto doc = OpenDocument(*PlainPicture(100, 80));
    doc->SelectOrnateFrame(0);
    ASSERT_EQ(doc->Style, fsOrnate);
    EXPECT_EQ(doc->GetFrameWidth(), 30);
    EXPECT_EQ(doc->GetFrameHeight(), 20);
    EXPECT_EQ(doc->CurrentFrame()->OutputWidth, 160);
    EXPECT_EQ(doc->CurrentFrame()->OutputHeight, 120);
    EXPECT_EQ(doc->GetPatternHeight(), 20);
    EXPECT_EQ(doc->GetPatternBitmap(), doc->CurrentFrame()->PatternPicture.get());
    EXPECT_NE(doc->PatternName.find("_orn001.BMP"), std::string::npos);
}

TEST_F(Document, OrnateSelectionFailsWithoutItsPictureAndKeepsTheStyle) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(100, 80));
    doc->SelectOvalFrame(0);
    EXPECT_THROW(doc->SelectOrnateFrame(0), PictureError);
    EXPECT_EQ(doc->Style, fsOval);
    EXPECT_EQ(doc->Frame(fsOrnate), nullptr);
    EXPECT_TRUE(doc->CurrentFrame()->Display->Visible);
}

TEST_F(Document, SelectionWithoutAPictureIsIgnored) {
    TButtonBar none(true);
    none.SelectContinuousFrame(0);
    EXPECT_EQ(none.Style, fsNone);
    REQUIRE_CANVAS();
    Clipboard().Clear();
    TButtonBar empty(true);
    empty.LoadPicture("Clipboard", nullptr, 0, true); // nothing there: 0 x 0
    EXPECT_TRUE(empty.Photo->Empty());
    empty.SelectBoxFrame(0);
    EXPECT_EQ(empty.Style, fsNone);
    EXPECT_EQ(empty.Frame(fsBox), nullptr);
}

TEST_F(Document, SelectionHandsTheWorkingBitmapOverWhenTheClipboardIsEmpty) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(30, 20, kBlue));
    Clipboard().Clear();
    doc->SelectOvalFrame(0);
    ASSERT_NE(doc->CurrentFrame(), nullptr);
    EXPECT_EQ(doc->GetPictureWidth(), 30);
    EXPECT_EQ(doc->CurrentFrame()->Unframed->Pixel(15, 10), kBlue);
}

// --- Thickness and parameter rules ---------------------------------------------------

TEST_F(Document, ThicknessRulesOfEveryStyle) {
    REQUIRE_CANVAS();
    // A 60 x 40 picture; SetFrameHeight(12) and then SetFrameWidth(7).
    struct Case {
        int style;
        int fh, fw;
        int outW, outH;
        int imageTop, imageLeft;
    };
    const Case cases[] = {
        {fsCorner, 12, 7, 74, 64, 0, 0},   {fsMatte, 12, 7, 74, 64, 0, 0},
        {fsJagged, 12, 7, 60, 40, 0, 0},   {fsOval, 12, 7, 60, 40, 0, 0},
        {fsDiamond, 12, 7, 62, 42, 0, 0},  {fsGrayscale, 12, 7, 60, 40, 0, 0},
        {fsBubble, 12, 7, 60, 40, 0, 0},   {fsButton, 7, 7, 60, 40, 0, 0},
        {fsShadow, 12, 7, 74, 64, 0, 0},   {fsMask, 12, 7, 60, 40, 12, 7},
        {fsOverlay, 12, 7, 60, 40, 12, 7}, {fsBox, 12, 7, 84, 64, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style));
        auto doc = OpenDocument(*PlainPicture(60, 40));
        doc->SelectStyle(c.style, 0);
        doc->SetFrameHeight(12);
        doc->SetFrameWidth(7);
        FrameStyle* f = doc->CurrentFrame();
        EXPECT_EQ(doc->GetFrameHeight(), c.fh);
        EXPECT_EQ(doc->GetFrameWidth(), c.fw);
        EXPECT_EQ(f->OutputWidth, c.outW);
        EXPECT_EQ(f->OutputHeight, c.outH);
        EXPECT_EQ(f->Output->Width(), c.outW);
        EXPECT_EQ(f->ImageTop, c.imageTop);
        EXPECT_EQ(f->ImageLeft, c.imageLeft);
    }
}

TEST_F(Document, ThicknessBothWaysForButtonShadowAndBox) {
    REQUIRE_CANVAS();
    for (int style : {int(fsButton), int(fsShadow), int(fsBox)}) {
        SCOPED_TRACE("style " + std::to_string(style));
        auto doc = OpenDocument(*PlainPicture(60, 40));
        doc->SelectStyle(style, 0);
        doc->SetFrameHeight(11);
        EXPECT_EQ(doc->GetFrameWidth(), 11);
        EXPECT_EQ(doc->GetFrameHeight(), 11);
    }
}

TEST_F(Document, ThicknessRequestsOutsideTheRangeChangeNothing) {
    REQUIRE_CANVAS();
    for (int style : {int(fsCorner), int(fsShadow), int(fsBox), int(fsMask)}) {
        SCOPED_TRACE("style " + std::to_string(style));
        auto doc = OpenDocument(*PlainPicture(60, 40));
        doc->SelectStyle(style, 0);
        FrameStyle* f = doc->CurrentFrame();
        const int w = f->OutputWidth, h = f->OutputHeight, fh = f->FrameHeight;
        for (int v : {201, -1}) {
            doc->SetFrameHeight(v);
            doc->SetFrameWidth(v);
        }
        EXPECT_EQ(f->OutputWidth, w);
        EXPECT_EQ(f->OutputHeight, h);
        EXPECT_EQ(f->FrameHeight, fh);
        EXPECT_EQ(f->ImageTop, 0);
        doc->SetFrameHeight(200);
        EXPECT_EQ(doc->GetFrameHeight(), 200);
    }
}

TEST_F(Document, BorderWidthGoesToTheStylesThatHaveOne) {
    REQUIRE_CANVAS();
    for (int style = 0; style < kStyleCount; ++style) {
        if (style == fsOrnate) continue;
        SCOPED_TRACE("style " + std::to_string(style));
        auto doc = OpenDocument(*PlainPicture(60, 40));
        doc->SelectStyle(style, 0);
        const int before = doc->GetBorderWidth();
        doc->SetBorderWidth(5);
        if (style <= fsBubble || style == fsMask)
            EXPECT_EQ(doc->GetBorderWidth(), 5);
        else
            EXPECT_EQ(doc->GetBorderWidth(), before);
    }
    auto doc = OpenDocument(*PlainPicture(60, 40));
    doc->SelectMaskFrame(0);
    doc->SetBorderWidth(255); // a brightness, not a border width
    EXPECT_EQ(doc->GetBorderWidth(), 255);
    EXPECT_EQ(doc->CurrentFrame()->BorderWidth, 1);
    doc->SetBorderWidth(256);
    EXPECT_EQ(doc->GetBorderWidth(), 255);
}

TEST_F(Document, ScaledOffClearsShadowAndBoxOutputs) {
    REQUIRE_CANVAS();
    for (int style : {int(fsShadow), int(fsBox), int(fsOval)}) {
        SCOPED_TRACE("style " + std::to_string(style));
        auto doc = OpenDocument(*PlainPicture(60, 40, kRed));
        doc->SelectStyle(style, 0);
        doc->SetScaled(false);
        EXPECT_FALSE(doc->GetScaled());
        const Bitmap& out = *doc->CurrentFrame()->Output;
        const Color centre = out.Pixel(out.Width() / 2, out.Height() / 2);
        if (style == fsOval)
            EXPECT_EQ(centre, kRed);
        else
            EXPECT_EQ(centre, kWhite);
    }
}

TEST_F(Document, GettersReturnZeroAndSettersDoNothingWithoutAStyle) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(60, 40));
    doc->SetFrameHeight(10);
    doc->SetFrameWidth(10);
    doc->SetBorderWidth(3);
    doc->SetScaled(false);
    doc->SetFrameColor(kRed);
    doc->SetBorderColor(kRed);
    doc->SetPattern("x.bmp");
    doc->SetOutputSize(5, 5);
    doc->DrawFrame();
    doc->DrawPictureCentred();
    doc->ShowAtZoom(3);
    EXPECT_EQ(doc->GetFrameHeight(), 0);
    EXPECT_EQ(doc->GetFrameWidth(), 0);
    EXPECT_EQ(doc->GetBorderWidth(), 0);
    EXPECT_FALSE(doc->GetScaled());
    EXPECT_EQ(doc->GetFrameColor(), 0u);
    EXPECT_EQ(doc->GetBorderColor(), 0u);
    EXPECT_EQ(doc->GetPatternBitmap(), nullptr);
    EXPECT_EQ(doc->GetPatternHeight(), 0);
    EXPECT_EQ(doc->GetPictureWidth(), 0);
    EXPECT_EQ(doc->GetPictureHeight(), 0);
    EXPECT_EQ(doc->GetDisplayWidth(), 0);
    EXPECT_EQ(doc->GetDisplayHeight(), 0);
    float scale = 7;
    EXPECT_EQ(doc->GetFramedPicture(scale), nullptr);
    EXPECT_EQ(doc->Style, fsNone);
    EXPECT_EQ(doc->VisibleImage(), doc->Image.get());
}

TEST_F(Document, FreeFramesEmptiesEverySlotAndKeepsStyle) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(60, 40));
    doc->SelectContinuousFrame(0);
    doc->SelectOvalFrame(0);
    doc->GetPatternBitmap();
    doc->FreeFrames();
    EXPECT_EQ(doc->Style, fsOval);
    EXPECT_EQ(doc->Frame(fsMatte), nullptr);
    EXPECT_EQ(doc->Frame(fsOval), nullptr);
    EXPECT_EQ(doc->GetFrameWidth(), 0);
    // The pattern reference no longer points into a destroyed frame.
    ASSERT_NE(doc->PatternBitmap, nullptr);
    EXPECT_TRUE(doc->PatternBitmap->Empty());
    // With the slot empty the same style can be chosen afresh.
    doc->SelectOvalFrame(0);
    EXPECT_NE(doc->Frame(fsOval), nullptr);
}

// --- Working bitmap -------------------------------------------------------------

TEST_F(Document, CropClipsToThePictureAndKeepsItWhole) {
    REQUIRE_CANVAS();
    auto pic = BitmapFromArt({"abc", "def"}, kArt);
    auto doc = OpenDocument(*pic);
    doc->CropPicture(-5, -5, 10000, 10000);
    EXPECT_PIXELS(*doc->Photo, kArt, ({"abc", "def"}));
    EXPECT_PIXELS(doc->Image->PictureBitmap(), kArt, ({"abc", "def"}));
}

TEST_F(Document, CropCutsTheRectangleAndPutsItOnTheClipboard) {
    REQUIRE_CANVAS();
    auto pic = BitmapFromArt({"abca", "defd", "abcb"}, kArt);
    auto doc = OpenDocument(*pic);
    doc->CropPicture(1, 1, 3, 3);
    EXPECT_PIXELS(*doc->Photo, kArt, ({"ef", "bc"}));
    EXPECT_EQ(doc->GetImageWidth(), 2);
    Bitmap clip;
    ASSERT_TRUE(Clipboard().GetBitmap(clip));
    EXPECT_PIXELS(clip, kArt, ({"ef", "bc"}));
}

TEST_F(Document, CropAtHalfZoomCutsTheFullSizePicture) {
    REQUIRE_CANVAS();
    auto pic = PlainPicture(8, 8, kWhite);
    pic->SetPixel(2, 2, kRed);
    pic->SetPixel(5, 5, kBlack);
    auto doc = OpenDocument(*pic, 3); // shown 4 x 4
    doc->CropPicture(1, 1, 3, 3);     // full size: 2..5 each way
    ASSERT_EQ(doc->Photo->Width(), 4);
    ASSERT_EQ(doc->Photo->Height(), 4);
    EXPECT_EQ(doc->Photo->Pixel(0, 0), kRed);
    EXPECT_EQ(doc->Photo->Pixel(3, 3), kBlack);
    EXPECT_EQ(doc->GetImageWidth(), 2);
}

TEST_F(Document, EmptyCropRectangleLeavesThePicture) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(10, 8));
    doc->CropPicture(5, 5, 5, 9);
    doc->CropPicture(20, 20, 30, 30);
    EXPECT_EQ(doc->Photo->Width(), 10);
    EXPECT_EQ(doc->Photo->Height(), 8);
}

TEST_F(Document, RotationsOfAThreeByTwoPicture) {
    REQUIRE_CANVAS();
    struct Case {
        const char* name;
        void (TButtonBar::*rotate)();
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"right", &TButtonBar::RotateRight, {"da", "eb", "fc"}},
        {"left", &TButtonBar::RotateLeft, {"cf", "be", "ad"}},
        {"180", &TButtonBar::Rotate180, {"fed", "cba"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = OpenDocument(*BitmapFromArt({"abc", "def"}, kArt));
        (doc.get()->*c.rotate)();
        EXPECT_TRUE(PixelsMatch(*doc->Photo, c.expected, kArt));
        EXPECT_TRUE(PixelsMatch(doc->Image->PictureBitmap(), c.expected, kArt));
        Bitmap clip;
        ASSERT_TRUE(Clipboard().GetBitmap(clip));
        EXPECT_TRUE(PixelsMatch(clip, c.expected, kArt));
        EXPECT_EQ(doc->Photo->ScanLine(0)[3], 0); // the fourth byte starts at zero
    }
}

TEST_F(Document, RotationRedrawsTheImageAtTheZoom) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(40, 20), 4);
    doc->RotateLeft();
    EXPECT_EQ(doc->GetImageWidth(), 5);
    EXPECT_EQ(doc->GetImageHeight(), 10);
}

TEST_F(Document, TiledRotationMatchesThePixelRuleOnRandomPictures) {
    REQUIRE_CANVAS();
    const unsigned seed = 20261208;
    std::mt19937 rng(seed);
    for (int round = 0; round < 4; ++round) {
        const int w = 1 + int(rng() % 150), h = 1 + int(rng() % 150);
        Bitmap pic(w, h, PixelFormat::Bgrx32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pic.SetPixel(x, y, rng() & 0xFFFFFF);
        for (int turn = 0; turn < 3; ++turn) {
            auto doc = OpenDocument(pic);
            if (turn == 0) doc->RotateRight();
            if (turn == 1) doc->RotateLeft();
            if (turn == 2) doc->Rotate180();
            const Bitmap& n = *doc->Photo;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const Color got = turn == 0   ? n.Pixel(h - 1 - y, x)
                                      : turn == 1 ? n.Pixel(y, w - 1 - x)
                                                  : n.Pixel(w - 1 - x, h - 1 - y);
                    ASSERT_EQ(got, pic.Pixel(x, y))
                        << "seed " << seed << " round " << round << " turn " << turn << " at (" << x
                        << ", " << y << ") of " << w << " x " << h;
                }
        }
    }
}

TEST_F(Document, CopyToClipboardIsFullSizeAtHalfZoom) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(200, 100), 3);
    doc->SelectContinuousFrame(3); // shown 100 x 50: 5 thick
    doc->ShowAtZoom(3);
    Clipboard().Clear();
    doc->CopyToClipboard();
    Bitmap clip;
    ASSERT_TRUE(Clipboard().GetBitmap(clip));
    EXPECT_EQ(clip.Width(), 210);
    EXPECT_EQ(clip.Height(), 110);
    EXPECT_EQ(doc->GetDisplayWidth(), 105);
    const Bitmap& out = *doc->CurrentFrame()->Output;
    for (int y = 0; y < out.Height(); y += 7)
        for (int x = 0; x < out.Width(); x += 7) ASSERT_EQ(clip.Pixel(x, y), out.Pixel(x, y));
}

TEST_F(Document, CopyWithoutAStyleCopiesTheWorkingBitmap) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(30, 20, kBlue), 4);
    Clipboard().Clear();
    doc->CopyToClipboard();
    Bitmap clip;
    ASSERT_TRUE(Clipboard().GetBitmap(clip));
    EXPECT_EQ(clip.Width(), 30);
    EXPECT_EQ(clip.Pixel(29, 19), kBlue);
}

TEST_F(Document, ResizeStretchesTheWorkingBitmapWithoutBlending) {
    REQUIRE_CANVAS();
    if (!RescalerReady()) GTEST_SKIP() << "the rescaler is not in yet";
    auto doc = OpenDocument(*BitmapFromArt({"ab"}, kArt));
    doc->ResizePicture(4, 2);
    Bitmap clip;
    ASSERT_TRUE(Clipboard().GetBitmap(clip));
    EXPECT_PIXELS(clip, kArt, ({"aabb", "aabb"}));
    doc->ResizePicture(0, 5); // no picture without pixels: ignored
    EXPECT_EQ(doc->Photo->Width(), 4);
}

TEST_F(Document, ResizeWithAStyleResizesTheFramedPicture) {
    REQUIRE_CANVAS();
    if (!RescalerReady()) GTEST_SKIP() << "the rescaler is not in yet";
    auto doc = OpenDocument(*PlainPicture(20, 10));
    doc->SelectContinuousFrame(0); // 1 thick: 22 x 12
    doc->ResizePicture(11, 6);
    Bitmap clip;
    ASSERT_TRUE(Clipboard().GetBitmap(clip));
    EXPECT_EQ(clip.Width(), 11);
    EXPECT_EQ(clip.Height(), 6);
    EXPECT_EQ(doc->Photo->Width(), 20); // the photo itself is untouched
}

TEST_F(Document, SaveWithAnUnknownNameWritesNothing) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(4, 4));
    const std::string name = dataDir_ + "/photo.png";
    EXPECT_FALSE(doc->SavePicture(name));
    EXPECT_FALSE(std::filesystem::exists(name));
}

// --- Mouse state -----------------------------------------------------------------

TEST_F(Document, MouseRecordsFollowButtonEvents) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(40, 30));
    TImage& image = *doc->Image;
    image.MouseDown(TMouseButton::mbLeft, ssLeft, 3, 4);
    TMouseState s;
    doc->GetMouseState(s);
    EXPECT_TRUE(s.LeftPressed);
    EXPECT_FALSE(s.LeftReleased);
    EXPECT_EQ(s.ButtonX, 3);
    image.MouseMove(ssLeft, 9, 8);
    doc->GetMouseState(s);
    EXPECT_EQ(s.ButtonX, 3);
    EXPECT_EQ(s.PointerX, 9);
    EXPECT_EQ(s.PointerY, 8);
    image.MouseUp(TMouseButton::mbRight, 0, 10, 11);
    doc->GetMouseState(s);
    EXPECT_TRUE(s.RightReleased);
    EXPECT_FALSE(s.LeftPressed); // the other button's flags become false
    doc->ClearMouseState();
    doc->GetMouseState(s);
    EXPECT_FALSE(s.RightReleased);
    EXPECT_EQ(s.ButtonX, 0);
    EXPECT_EQ(s.PointerX, 10); // the pointer position stays
}

TEST_F(Document, FrameMouseStateCopiesOnlyTheRightButton) {
    REQUIRE_CANVAS();
    auto doc = OpenDocument(*PlainPicture(40, 30));
    doc->SelectOvalFrame(0);
    FrameStyle* f = doc->CurrentFrame();
    f->Display->MouseDown(TMouseButton::mbRight, ssRight, 5, 6);
    f->MouseState.LeftPressed = true; // never copied from a frame
    TMouseState s;
    s.LeftReleased = true;
    doc->GetMouseState(s);
    EXPECT_TRUE(s.RightPressed);
    EXPECT_FALSE(s.LeftPressed);
    EXPECT_FALSE(s.LeftReleased);
    EXPECT_EQ(s.PointerY, 6);
    doc->ClearMouseState();
    EXPECT_FALSE(f->MouseState.RightPressed);
    EXPECT_EQ(f->MouseState.PointerX, 5);
}
