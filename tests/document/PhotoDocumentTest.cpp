#include "document/PhotoDocument.h"

#include "canvas/Canvas.h"
#include "document/ClipboardPort.h"
#include "document/UndoHistory.h"

#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/OverlayMaskFrames.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <utility>
#include <vector>

using namespace quillon;

namespace {

const std::map<char, Color> kArt = {{'a', 0x000011}, {'b', 0x000022}, {'c', 0x000033},
                                    {'d', 0x000044}, {'e', 0x000055}, {'f', 0x000066},
                                    {'R', kRed},     {'W', kWhite},   {'K', kBlack}};

class Document : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dataDir_ = TempDir(std::string("document_") + info->name());
        SetStartFolder(dataDir_);
        // Stand-ins for the drop-shadow pieces the shadow style reads.
        for (const char* piece : {"ru.res", "rc.res", "rl.res", "ll.res", "lc.res"})
            SaveBmpFile(*PlainPicture(6, 6, kGray), dataDir_ + "/" + piece);
    }

    // Writes the default ornate picture (w x h) under a differently cased
    // folder, so that the lookup must ignore letter case.
    void WriteOrnateDefault(int w, int h) {
        std::filesystem::create_directories(dataDir_ + "/ornate");
        SaveBmpFile(*PlainPicture(w, h, kOlive), dataDir_ + "/ornate/_orn001.BMP");
    }

    std::string dataDir_;
};

} // namespace

// --- Zoom ---------------------------------------------------------------------

TEST_F(Document, LoadShowsPictureAtZoomModeScale) {
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
        EXPECT_EQ(doc->Scale(), c.scale);
        EXPECT_EQ(doc->ShownPhotoWidth(), c.shownW);
        EXPECT_EQ(doc->ShownPhotoHeight(), c.shownH);
        EXPECT_EQ(doc->Photo().Width(), c.w);
        EXPECT_EQ(doc->FileName(), "Clipboard");
    }
}

// At full size the preview is the shown picture itself, byte for byte as a
// drawn copy of it would be, and follows the picture when it changes.
TEST_F(Document, FullSizePreviewSharesTheShownPicture) {
    auto doc = OpenDocument(*PlainPicture(60, 40));
    const auto drawn = [](const Bitmap& shown) {
        Bitmap b(shown.Width(), shown.Height());
        b.canvas().StretchDraw(Rect(0, 0, shown.Width(), shown.Height()), shown);
        return std::vector<std::uint8_t>(std::as_const(b).Bits(),
                                         std::as_const(b).Bits() + b.Stride() * b.Height());
    };
    const auto bytes = [](const Bitmap& b) {
        return std::vector<std::uint8_t>(b.Bits(), b.Bits() + b.Stride() * b.Height());
    };
    EXPECT_TRUE(doc->Preview().SharesPixelsWith(doc->Photo()));
    EXPECT_EQ(bytes(doc->Preview()), drawn(doc->Photo()));
    doc->SelectStyle(StyleId::Matte);
    EXPECT_EQ(bytes(doc->Preview()), drawn(*doc->Result()));
    EXPECT_TRUE(doc->Preview().SharesPixelsWith(*doc->Result()));
    doc->SetFrameColor(kRed);
    doc->DrawFrame();
    EXPECT_EQ(doc->Preview().Pixel(2, 2), kRed);
    EXPECT_EQ(bytes(doc->Preview()), drawn(*doc->Result()));
    EXPECT_EQ(doc->Preview().format(), PixelFormat::Device);
    EXPECT_FALSE(doc->Preview().Transparent);
    // A picture of another format is drawn into the screen format.
    doc->SelectStyle(StyleId::Button);
    ASSERT_EQ(doc->Result()->format(), PixelFormat::Bgrx32);
    EXPECT_EQ(doc->Preview().format(), PixelFormat::Device);
    EXPECT_FALSE(doc->Preview().SharesPixelsWith(*doc->Result()));
    EXPECT_EQ(bytes(doc->Preview()), drawn(*doc->Result()));
}

TEST_F(Document, ShowAtZoomSizesPreviewFromFullSizeOutput) {
    auto doc = OpenDocument(*PlainPicture(1000, 1000));
    doc->SelectStyle(StyleId::Matte); // 100 thick: output 1200 x 1200
    doc->SetZoom(Zoom(5));
    EXPECT_EQ(doc->PreviewWidth(), 120);
    EXPECT_EQ(doc->PreviewHeight(), 120);
    EXPECT_EQ(doc->Preview().Width(), 120);
    // The preview samples the framed picture, which stays at full size.
    ASSERT_NE(doc->Result(), nullptr);
    for (int d = 0; d < 120; d += 7) {
        const int s = StretchSource(d, 1200, 120);
        ASSERT_EQ(doc->Preview().Pixel(d, d), doc->Result()->Pixel(s, s)) << d;
    }
    EXPECT_EQ(doc->Result()->Width(), 1200);
}

TEST_F(Document, LoadingAMissingFileThrowsAndLeavesDocumentEmpty) {
    PhotoDocument doc;
    EXPECT_THROW(doc.Open(dataDir_ + "/nothing.jpg", Zoom::Normal), PictureError);
    EXPECT_FALSE(doc.HasPhoto());
    EXPECT_EQ(doc.ShownPhotoWidth(), 0);
    // A failed open of another file keeps the photo that is open.
    auto open = OpenDocument(*PlainPicture(30, 20));
    EXPECT_THROW(open->Open(dataDir_ + "/nothing.jpg", Zoom::Normal), PictureError);
    EXPECT_EQ(open->Photo().Width(), 30);
}

// --- Selecting styles -----------------------------------------------------------

TEST_F(Document, SelectingTheSameStyleTwiceCreatesOneFrame) {
    auto doc = OpenDocument(*PlainPicture(60, 40));
    doc->SelectStyle(StyleId::Matte);
    FrameStyle* first = doc->CurrentFrame();
    ASSERT_NE(first, nullptr);
    doc->SelectStyle(StyleId::Matte);
    EXPECT_EQ(doc->CurrentFrame(), first);
    EXPECT_EQ(doc->Style(), StyleId::Matte);
}

TEST_F(Document, SwitchingStylesKeepsEachStylesParameters) {
    auto doc = OpenDocument(*PlainPicture(60, 40));
    doc->SelectStyle(StyleId::Matte);
    FrameStyle* matte = doc->CurrentFrame();
    doc->SetFrameWidth(9);
    doc->SetFrameColor(kRed);
    doc->SelectStyle(StyleId::Oval);
    EXPECT_EQ(doc->GetFrameWidth(), 1);
    doc->SelectStyle(StyleId::Matte);
    EXPECT_EQ(doc->CurrentFrame(), matte);
    EXPECT_EQ(doc->GetFrameWidth(), 9);
    EXPECT_EQ(doc->GetFrameColor(), kRed);
    EXPECT_EQ(doc->Result(), matte->Output.get());
}

TEST_F(Document, DefaultTableOnA600By450Picture) {
    struct Case {
        StyleId style;
        int fw, fh;
        Color frameColor, background;
        int borderWidth;
        int outW, outH;
    };
    const Case cases[] = {
        {StyleId::Corner, 45, 45, kGray, kWhite, 1, 690, 540},
        {StyleId::Matte, 45, 45, kSilver, kSilver, 1, 690, 540},
        {StyleId::Jagged, 40, 30, kWhite, kWhite, 1, 600, 450},
        {StyleId::Oval, 1, 1, kWhite, kWhite, 1, 600, 450},
        {StyleId::Diamond, 1, 1, kWhite, kWhite, 2, 602, 452},
        {StyleId::Grayscale, 0, 0, kOlive, kWhite, 1, 600, 450},
        {StyleId::Bubble, 60, 60, kWhite, kWhite, 1, 600, 450},
        {StyleId::Button, 30, 30, kOlive, kWhite, 1, 600, 450},
        // The third field reads the realistic shadow's width: that of its
        // (6-pixel stand-in) pieces.
        {StyleId::Shadow, 60, 60, kGray, kWhite, 6, 720, 570},
        {StyleId::Mask, 0, 0, kGray, kWhite, 1, 600, 450}, // border width reads the brightness
        {StyleId::Overlay, 0, 0, kGray, kWhite, 1, 600, 450},
        {StyleId::Box, 60, 60, kWhite, kWhite, 1, 720, 570},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(int(c.style)));
        auto doc = OpenDocument(*PlainPicture(600, 450));
        doc->SelectStyle(c.style);
        ASSERT_EQ(doc->Style(), c.style);
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
    // 1200 x 900 at 50 % shows as 600 x 450: the defaults follow the display.
    auto doc = OpenDocument(*PlainPicture(1200, 900), 3);
    doc->SelectStyle(StyleId::Jagged);
    EXPECT_EQ(doc->GetFrameWidth(), 40);
    EXPECT_EQ(doc->GetFrameHeight(), 30);
    EXPECT_EQ(doc->GetPictureWidth(), 1200);
    doc->SelectStyle(StyleId::Bubble);
    EXPECT_EQ(doc->GetFrameWidth(), 60);
    EXPECT_EQ(doc->GetFrameHeight(), 60);
    EXPECT_EQ(doc->PreviewWidth(), 600);
}

TEST_F(Document, MaskAndOverlayWithoutTheirDefaultPicturesHaveNoPattern) {
    auto doc = OpenDocument(*PlainPicture(20, 10));
    doc->SelectStyle(StyleId::Mask);
    EXPECT_EQ(doc->Style(), StyleId::Mask);
    EXPECT_EQ(doc->CurrentFrame()->PatternName, "");
    doc->SelectStyle(StyleId::Overlay);
    EXPECT_EQ(doc->Style(), StyleId::Overlay);
    EXPECT_EQ(doc->CurrentFrame()->PatternName, "");
}

TEST_F(Document, OrnateDefaultGivesItsSizeAsThicknessWhateverTheCase) {
    WriteOrnateDefault(30, 20);
    auto doc = OpenDocument(*PlainPicture(100, 80));
    doc->SelectStyle(StyleId::Ornate);
    ASSERT_EQ(doc->Style(), StyleId::Ornate);
    EXPECT_EQ(doc->GetFrameWidth(), 30);
    EXPECT_EQ(doc->GetFrameHeight(), 20);
    EXPECT_EQ(doc->CurrentFrame()->OutputWidth, 160);
    EXPECT_EQ(doc->CurrentFrame()->OutputHeight, 120);
    EXPECT_EQ(doc->GetPatternHeight(), 20);
    EXPECT_EQ(doc->PatternPicture(), doc->CurrentFrame()->PatternPicture.get());
    EXPECT_NE(doc->CurrentFrame()->PatternName.find("_orn001.BMP"), std::string::npos);
}

TEST_F(Document, OrnateSelectionFailsWithoutItsPictureAndKeepsTheStyle) {
    auto doc = OpenDocument(*PlainPicture(100, 80));
    doc->SelectStyle(StyleId::Oval);
    EXPECT_THROW(doc->SelectStyle(StyleId::Ornate), PictureError);
    EXPECT_EQ(doc->Style(), StyleId::Oval);
    EXPECT_EQ(doc->Frame(StyleId::Ornate), nullptr);
}

TEST_F(Document, SelectionWithoutAPictureIsIgnored) {
    PhotoDocument none;
    none.SelectStyle(StyleId::Matte);
    EXPECT_EQ(none.Style(), std::nullopt);
    PhotoDocument empty;
    EXPECT_FALSE(empty.PasteFrom(MemoryClipboard(), Zoom::Normal)); // nothing there
    empty.OpenPicture(nullptr, "Clipboard", Zoom::Normal);
    EXPECT_TRUE(empty.Photo().Empty());
    empty.SelectStyle(StyleId::Box);
    EXPECT_EQ(empty.Style(), std::nullopt);
    EXPECT_EQ(empty.Frame(StyleId::Box), nullptr);
}

TEST_F(Document, StylesFrameThePhotoWhateverTheClipboardHolds) {
    auto doc = OpenDocument(*PlainPicture(30, 20, kBlue));
    doc->SelectStyle(StyleId::Oval);
    ASSERT_NE(doc->CurrentFrame(), nullptr);
    EXPECT_EQ(doc->GetPictureWidth(), 30);
    EXPECT_EQ(doc->CurrentFrame()->Unframed->Pixel(15, 10), kBlue);
}

// --- Thickness and parameter rules ---------------------------------------------------

TEST_F(Document, ThicknessRulesOfEveryStyle) {
    // A 60 x 40 picture; SetFrameHeight(12) and then SetFrameWidth(7).
    struct Case {
        StyleId style;
        int fh, fw;
        int outW, outH;
        int imageTop, imageLeft;
    };
    const Case cases[] = {
        {StyleId::Corner, 12, 7, 74, 64, 0, 0},   {StyleId::Matte, 12, 7, 74, 64, 0, 0},
        {StyleId::Jagged, 12, 7, 60, 40, 0, 0},   {StyleId::Oval, 12, 7, 60, 40, 0, 0},
        {StyleId::Diamond, 12, 7, 62, 42, 0, 0},  {StyleId::Grayscale, 12, 7, 60, 40, 0, 0},
        {StyleId::Bubble, 12, 7, 60, 40, 0, 0},   {StyleId::Button, 7, 7, 60, 40, 0, 0},
        {StyleId::Shadow, 12, 7, 74, 64, 0, 0},   {StyleId::Mask, 12, 7, 60, 40, 12, 7},
        {StyleId::Overlay, 12, 7, 60, 40, 12, 7}, {StyleId::Box, 12, 7, 84, 64, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(int(c.style)));
        auto doc = OpenDocument(*PlainPicture(60, 40));
        doc->SelectStyle(c.style);
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
    for (int style : {int(StyleId::Button), int(StyleId::Shadow), int(StyleId::Box)}) {
        SCOPED_TRACE("style " + std::to_string(style));
        auto doc = OpenDocument(*PlainPicture(60, 40));
        doc->SelectStyle(StyleId(style));
        doc->SetFrameHeight(11);
        EXPECT_EQ(doc->GetFrameWidth(), 11);
        EXPECT_EQ(doc->GetFrameHeight(), 11);
    }
}

TEST_F(Document, ThicknessRequestsOutsideTheRangeChangeNothing) {
    for (int style :
         {int(StyleId::Corner), int(StyleId::Shadow), int(StyleId::Box), int(StyleId::Mask)}) {
        SCOPED_TRACE("style " + std::to_string(style));
        auto doc = OpenDocument(*PlainPicture(60, 40));
        doc->SelectStyle(StyleId(style));
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

// Changes whose resizes leave their drawing to the repaint that follows end
// in the picture of the same changes drawn at once, in every style, for a
// frame grown, shrunk and given a new third field in a row.
TEST_F(Document, DeferredResizesEndInTheSamePicture) {
    WriteOrnateDefault(12, 12);
    const auto photo = MakeTestPhoto(90, 70);
    for (int style = 0; style < kStyleCount; ++style) {
        SCOPED_TRACE("style " + std::to_string(style));
        auto plain = OpenDocument(*photo), deferred = OpenDocument(*photo);
        plain->SelectStyle(StyleId(style));
        deferred->SelectStyle(StyleId(style));
        deferred->DeferOutputDrawing(true);
        for (PhotoDocument* doc : {plain.get(), deferred.get()}) {
            doc->SetFrameHeight(doc->GetFrameHeight() + 9);
            doc->SetFrameWidth(std::max(1, doc->GetFrameWidth() - 3));
            doc->SetBorderWidth(doc->GetBorderWidth() + 2);
        }
        deferred->DeferOutputDrawing(false);
        for (PhotoDocument* doc : {plain.get(), deferred.get()}) {
            doc->DrawPictureCentred();
            doc->DrawFrame();
        }
        const Bitmap *a = plain->Result(), *b = deferred->Result();
        ASSERT_TRUE(a && b);
        ASSERT_EQ(a->Width(), b->Width());
        ASSERT_EQ(a->Height(), b->Height());
        EXPECT_EQ(MaxChannelDifference(*a, *b), 0);
    }
}

TEST_F(Document, BorderWidthGoesToTheStylesThatHaveOne) {
    for (int style = 0; style < kStyleCount; ++style) {
        if (StyleId(style) == StyleId::Ornate) continue;
        SCOPED_TRACE("style " + std::to_string(style));
        auto doc = OpenDocument(*PlainPicture(60, 40));
        doc->SelectStyle(StyleId(style));
        const int before = doc->GetBorderWidth();
        doc->SetBorderWidth(5);
        if (style <= int(StyleId::Bubble) || StyleId(style) == StyleId::Mask ||
            StyleId(style) == StyleId::Shadow) // the realistic shadow's width
            EXPECT_EQ(doc->GetBorderWidth(), 5);
        else
            EXPECT_EQ(doc->GetBorderWidth(), before);
    }
    auto doc = OpenDocument(*PlainPicture(60, 40));
    doc->SelectStyle(StyleId::Mask);
    doc->SetBorderWidth(255); // a brightness, not a border width
    EXPECT_EQ(doc->GetBorderWidth(), 255);
    EXPECT_EQ(doc->CurrentFrame()->BorderWidth, 1);
    doc->SetBorderWidth(256);
    EXPECT_EQ(doc->GetBorderWidth(), 255);
}

TEST_F(Document, ScaledOffClearsShadowAndBoxOutputs) {
    for (int style : {int(StyleId::Shadow), int(StyleId::Box), int(StyleId::Oval)}) {
        SCOPED_TRACE("style " + std::to_string(style));
        auto doc = OpenDocument(*PlainPicture(60, 40, kRed));
        doc->SelectStyle(StyleId(style));
        doc->SetScaled(false);
        EXPECT_FALSE(doc->GetScaled());
        const Bitmap& out = *doc->CurrentFrame()->Output;
        const Color centre = out.Pixel(out.Width() / 2, out.Height() / 2);
        if (StyleId(style) == StyleId::Oval)
            EXPECT_EQ(centre, kRed);
        else
            EXPECT_EQ(centre, kWhite);
    }
}

TEST_F(Document, GettersReturnZeroAndSettersDoNothingWithoutAStyle) {
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
    doc->SetZoom(Zoom(3));
    EXPECT_EQ(doc->GetFrameHeight(), 0);
    EXPECT_EQ(doc->GetFrameWidth(), 0);
    EXPECT_EQ(doc->GetBorderWidth(), 0);
    EXPECT_FALSE(doc->GetScaled());
    EXPECT_EQ(doc->GetFrameColor(), 0u);
    EXPECT_EQ(doc->GetBorderColor(), 0u);
    EXPECT_EQ(doc->PatternPicture(), nullptr);
    EXPECT_EQ(doc->GetPatternHeight(), 0);
    EXPECT_EQ(doc->GetPictureWidth(), 0);
    EXPECT_EQ(doc->GetPictureHeight(), 0);
    // Without a style the document shows and works on the photo.
    EXPECT_EQ(doc->PreviewWidth(), 30);
    EXPECT_EQ(doc->PreviewHeight(), 20);
    EXPECT_EQ(doc->Style(), std::nullopt);
    EXPECT_EQ(doc->Result(), &doc->Photo());
}

TEST_F(Document, FreeFramesEmptiesEverySlotAndGoesBackToThePhoto) {
    auto doc = OpenDocument(*PlainPicture(60, 40));
    doc->SelectStyle(StyleId::Matte);
    doc->SelectStyle(StyleId::Oval);
    doc->FreeFrames();
    EXPECT_EQ(doc->Style(), std::nullopt);
    EXPECT_EQ(doc->Frame(StyleId::Matte), nullptr);
    EXPECT_EQ(doc->Frame(StyleId::Oval), nullptr);
    EXPECT_EQ(doc->GetFrameWidth(), 0);
    EXPECT_EQ(doc->PatternPicture(), nullptr);
    EXPECT_EQ(doc->Result(), &doc->Photo());
    // With the slot empty the same style can be chosen afresh.
    doc->SelectStyle(StyleId::Oval);
    EXPECT_NE(doc->Frame(StyleId::Oval), nullptr);
}

// --- Working bitmap -------------------------------------------------------------

TEST_F(Document, CropClipsToThePictureAndKeepsItWhole) {
    auto pic = BitmapFromArt({"abc", "def"}, kArt);
    auto doc = OpenDocument(*pic);
    doc->Crop(-5, -5, 10000, 10000);
    EXPECT_PIXELS(doc->Photo(), kArt, ({"abc", "def"}));
    EXPECT_PIXELS(doc->Preview(), kArt, ({"abc", "def"}));
}

TEST_F(Document, CropCutsTheRectangleAndLeavesTheClipboardAlone) {
    auto pic = BitmapFromArt({"abca", "defd", "abcb"}, kArt);
    auto doc = OpenDocument(*pic);
    doc->Crop(1, 1, 3, 3);
    EXPECT_PIXELS(doc->Photo(), kArt, ({"ef", "bc"}));
    EXPECT_EQ(doc->ShownPhotoWidth(), 2);
    EXPECT_PIXELS(doc->Preview(), kArt, ({"ef", "bc"}));
}

TEST_F(Document, CropAtHalfZoomCutsTheFullSizePicture) {
    auto pic = PlainPicture(8, 8, kWhite);
    pic->SetPixel(2, 2, kRed);
    pic->SetPixel(5, 5, kBlack);
    auto doc = OpenDocument(*pic, 3); // shown 4 x 4
    doc->Crop(1, 1, 3, 3);            // full size: 2..5 each way
    ASSERT_EQ(doc->Photo().Width(), 4);
    ASSERT_EQ(doc->Photo().Height(), 4);
    EXPECT_EQ(doc->Photo().Pixel(0, 0), kRed);
    EXPECT_EQ(doc->Photo().Pixel(3, 3), kBlack);
    EXPECT_EQ(doc->ShownPhotoWidth(), 2);
}

TEST_F(Document, EmptyCropRectangleLeavesThePicture) {
    auto doc = OpenDocument(*PlainPicture(10, 8));
    doc->Crop(5, 5, 5, 9);
    doc->Crop(20, 20, 30, 30);
    EXPECT_EQ(doc->Photo().Width(), 10);
    EXPECT_EQ(doc->Photo().Height(), 8);
}

TEST_F(Document, RotationsOfAThreeByTwoPicture) {
    struct Case {
        const char* name;
        void (PhotoDocument::*rotate)();
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"right", &PhotoDocument::RotateRight, {"da", "eb", "fc"}},
        {"left", &PhotoDocument::RotateLeft, {"cf", "be", "ad"}},
        {"180", &PhotoDocument::Rotate180, {"fed", "cba"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = OpenDocument(*BitmapFromArt({"abc", "def"}, kArt));
        (doc.get()->*c.rotate)();
        EXPECT_TRUE(PixelsMatch(doc->Photo(), c.expected, kArt));
        EXPECT_TRUE(PixelsMatch(doc->Preview(), c.expected, kArt));
        EXPECT_EQ(doc->Photo().ScanLine(0)[3], 0); // the fourth byte starts at zero
    }
}

TEST_F(Document, RotationRedrawsTheImageAtTheZoom) {
    auto doc = OpenDocument(*PlainPicture(40, 20), 4);
    doc->RotateLeft();
    EXPECT_EQ(doc->ShownPhotoWidth(), 5);
    EXPECT_EQ(doc->ShownPhotoHeight(), 10);
}

TEST_F(Document, TiledRotationMatchesThePixelRuleOnRandomPictures) {
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
            const Bitmap& n = doc->Photo();
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
    auto doc = OpenDocument(*PlainPicture(200, 100), 3);
    doc->SelectStyle(StyleId::Matte); // shown 100 x 50: 5 thick
    doc->SetZoom(Zoom(3));
    MemoryClipboard clipboard;
    doc->CopyTo(clipboard);
    const auto copied = clipboard.Picture();
    ASSERT_NE(copied, nullptr);
    const Bitmap& clip = *copied;
    EXPECT_EQ(clip.Width(), 210);
    EXPECT_EQ(clip.Height(), 110);
    EXPECT_EQ(doc->PreviewWidth(), 105);
    const Bitmap& out = *doc->CurrentFrame()->Output;
    for (int y = 0; y < out.Height(); y += 7)
        for (int x = 0; x < out.Width(); x += 7) ASSERT_EQ(clip.Pixel(x, y), out.Pixel(x, y));
}

TEST_F(Document, CopyWithoutAStyleCopiesTheWorkingBitmap) {
    auto doc = OpenDocument(*PlainPicture(30, 20, kBlue), 4);
    MemoryClipboard clipboard;
    doc->CopyTo(clipboard);
    ASSERT_TRUE(clipboard.HasPicture());
    EXPECT_EQ(clipboard.Picture()->Width(), 30);
    EXPECT_EQ(clipboard.Picture()->Pixel(29, 19), kBlue);
    // Pasting it back gives a new photo of the same picture.
    PhotoDocument pasted;
    ASSERT_TRUE(pasted.PasteFrom(clipboard, Zoom::Percent50));
    EXPECT_EQ(pasted.FileName(), "Clipboard");
    EXPECT_EQ(pasted.ShownPhotoWidth(), 15);
    EXPECT_EQ(pasted.Photo().Pixel(0, 0), kBlue);
}

TEST_F(Document, ResizeStretchesTheWorkingBitmapWithoutBlending) {
    auto doc = OpenDocument(*BitmapFromArt({"ab"}, kArt));
    doc->Resize(4, 2);
    EXPECT_PIXELS(doc->Photo(), kArt, ({"aabb", "aabb"}));
    doc->Resize(0, 5); // no picture without pixels: ignored
    EXPECT_EQ(doc->Photo().Width(), 4);
}

TEST_F(Document, ResizeWithAStyleResizesTheFramedPicture) {
    auto doc = OpenDocument(*PlainPicture(20, 10));
    doc->SelectStyle(StyleId::Matte); // 1 thick: 22 x 12
    doc->Resize(11, 6);
    EXPECT_EQ(doc->Result()->Width(), 11);
    EXPECT_EQ(doc->Result()->Height(), 6);
    EXPECT_EQ(doc->PreviewWidth(), 11);
    EXPECT_EQ(doc->Photo().Width(), 20); // the photo itself is untouched
}

TEST_F(Document, SaveWithAnUnknownNameWritesNothing) {
    auto doc = OpenDocument(*PlainPicture(4, 4));
    const std::string name = dataDir_ + "/photo.tga";
    EXPECT_FALSE(doc->Save(name));
    EXPECT_FALSE(std::filesystem::exists(name));
}

// --- Apply Frame and undo ------------------------------------------------------------

TEST_F(Document, ApplyFrameMakesTheFramedPictureThePhoto) {
    auto doc = OpenDocument(*PlainPicture(20, 10, kBlue));
    doc->SelectStyle(StyleId::Matte); // 1 thick: 22 x 12
    Bitmap framed;
    framed.Assign(*doc->Result());
    doc->ApplyFrame(Zoom::Percent50);
    EXPECT_EQ(doc->Style(), std::nullopt);
    EXPECT_EQ(doc->Frame(StyleId::Matte), nullptr);
    EXPECT_EQ(doc->CurrentZoom(), Zoom::Percent50);
    ASSERT_EQ(doc->Photo().Width(), 22);
    EXPECT_EQ(doc->Photo().format(), PixelFormat::Device);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 22; ++x) ASSERT_EQ(doc->Photo().Pixel(x, y), framed.Pixel(x, y));
    // The next style frames the framed picture.
    doc->SelectStyle(StyleId::Oval);
    EXPECT_EQ(doc->GetPictureWidth(), 22);
}

TEST_F(Document, RestoredPhotoDropsTheStylesAndTakesItsZoom) {
    auto doc = OpenDocument(*PlainPicture(20, 10, kBlue));
    const auto packed = PackPhoto(doc->Photo());
    doc->SelectStyle(StyleId::Box);
    doc->ApplyFrame(Zoom::Normal);
    doc->RestorePhoto(*packed->Unpack(), Zoom::Percent25);
    EXPECT_EQ(doc->Photo().Width(), 20);
    EXPECT_EQ(doc->Style(), std::nullopt);
    EXPECT_EQ(doc->ShownPhotoWidth(), 5);
}

TEST(MemoryClipboard, HandsOverAnIndependentScreenFormatPicture) {
    MemoryClipboard clipboard;
    EXPECT_FALSE(clipboard.HasPicture());
    EXPECT_EQ(clipboard.Picture(), nullptr);
    Bitmap b(3, 2, PixelFormat::Bgr24);
    b.SetPixel(2, 1, kRed);
    clipboard.SetPicture(b);
    b.SetPixel(2, 1, kBlue);
    const auto out = clipboard.Picture();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->Width(), 3);
    EXPECT_EQ(out->format(), PixelFormat::Device);
    EXPECT_EQ(out->Pixel(2, 1), kRed);
}

TEST(UndoHistory, KeepsTheNewestTenAndUndoesNewestFirst) {
    UndoHistory history;
    for (int i = 1; i <= 12; ++i) {
        UndoState state;
        state.photo = PackPhoto(Bitmap(i, 1, PixelFormat::Bgrx32));
        state.caption = "step " + std::to_string(i);
        history.Push(std::move(state));
    }
    EXPECT_EQ(history.Count(), UndoHistory::kCapacity);
    for (int i = 12; i >= 3; --i) {
        ASSERT_FALSE(history.Empty());
        EXPECT_EQ(history.Newest().caption, "step " + std::to_string(i));
        EXPECT_EQ(history.Pop().photo->Width(), i);
    }
    EXPECT_TRUE(history.Empty());
    EXPECT_EQ(history.Pop().photo, nullptr); // nothing left: no change
    EXPECT_EQ(history.Count(), 0);
}

// The opened file's metadata stays with the photo through framing and the
// image commands, and goes into the saved file; a pasted picture has none.
TEST_F(Document, MetadataFollowsThePhotoFromFileToSavedFile) {
    const std::string xmp =
        "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>"
        "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
        "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
        "rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:creator><rdf:Seq>"
        "<rdf:li>Ann Example</rdf:li></rdf:Seq></dc:creator></rdf:Description></rdf:RDF>"
        "</x:xmpmeta><?xpacket end='w'?>";
    PictureMetadata source;
    source.Xmp = xmp;
    const std::string in = dataDir_ + "/camera.jpg", out = dataDir_ + "/framed.jpg";
    ASSERT_TRUE(SavePictureFile(*MakeTestPhoto(40, 30), in, &source));

    PhotoDocument doc;
    doc.Open(in, Zoom::Normal);
    ASSERT_NE(doc.Metadata(), nullptr);
    doc.SelectStyle(StyleId::Matte);
    doc.DrawPictureCentred();
    doc.DrawFrame();
    doc.ApplyFrame(Zoom::Normal);
    doc.Crop(1, 1, 30, 20);
    ASSERT_NE(doc.Metadata(), nullptr);
    ASSERT_TRUE(doc.Save(out));
    std::shared_ptr<const PictureMetadata> saved;
    LoadPictureFile(out, {}, &saved);
    ASSERT_NE(saved, nullptr);
    EXPECT_NE(saved->Xmp.find("Ann Example"), std::string::npos);

    MemoryClipboard clipboard;
    doc.CopyTo(clipboard);
    ASSERT_TRUE(doc.PasteFrom(clipboard, Zoom::Normal));
    EXPECT_EQ(doc.Metadata(), nullptr);
}
