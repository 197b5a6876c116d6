#include "frames/OverlayMaskFrames.h"

#include "canvas/Canvas.h"

#include "formats/Formats.h"
#include "tests/frames/DecorTestSupport.h"
#include "tests/support/TestSupport.h"

#include <cstring>
#include <random>

using namespace quillon;

namespace {

// One photo pixel under one mask pixel, with the result expected.
struct MaskCase {
    const char* name;
    Color mask, photo;
    int brightness;
    Color expected;
};

Color ApplyOne(Color mask, Color photo, int& brightness, Color background) {
    Bitmap out(1, 1, PixelFormat::Bgrx32), m(1, 1, PixelFormat::Bgrx32);
    out.SetPixel(0, 0, photo);
    m.SetPixel(0, 0, mask);
    ApplyMask(out, m, Rect(0, 0, 1, 1), brightness, background);
    return out.Pixel(0, 0);
}

constexpr Color kBackground = RGB(12, 34, 56);

class MaskRule : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskRule, GivesTheWorkedResult) {
    const MaskCase& c = GetParam();
    int b = c.brightness;
    EXPECT_EQ(ApplyOne(c.mask, c.photo, b, kBackground), c.expected);
    int rb = c.brightness;
    Bitmap out(1, 1, PixelFormat::Bgrx32), m(1, 1, PixelFormat::Bgrx32);
    out.SetPixel(0, 0, c.photo);
    m.SetPixel(0, 0, c.mask);
    ApplyMaskReference(out, m, Rect(0, 0, 1, 1), rb, kBackground);
    EXPECT_EQ(out.Pixel(0, 0), c.expected) << "plain version";
}

INSTANTIATE_TEST_SUITE_P(
    MaskFrame, MaskRule,
    ::testing::Values(
        MaskCase{"WhiteKeepsThePhoto", kWhite, RGB(1, 2, 3), 1, RGB(1, 2, 3)},
        MaskCase{"WhiteKeepsThePhotoAtAnyBrightness", kWhite, RGB(9, 8, 7), 255, RGB(9, 8, 7)},
        MaskCase{"GreyDarkensByItsDepth", RGB(200, 200, 200), RGB(100, 100, 100), 1,
                 RGB(45, 45, 45)},
        // blue 30 - 55 <= 0: the smallest channel, 30, comes off all three.
        MaskCase{"TooDarkShiftsDownToTheDarkestChannel", RGB(200, 200, 200), RGB(100, 100, 30), 1,
                 RGB(70, 70, 0)},
        MaskCase{"QuotientZeroGivesTheBackground", RGB(254, 254, 254), RGB(100, 100, 100), 2,
                 kBackground},
        MaskCase{"BrightnessDividesTheDepth", RGB(155, 155, 155), RGB(100, 120, 140), 10,
                 RGB(90, 110, 130)},
        MaskCase{"ChannelReachingZeroExactlyShifts", RGB(155, 155, 155), RGB(100, 200, 200), 1,
                 RGB(0, 100, 100)},
        MaskCase{"ColouredMaskPixelIsCopied", RGB(255, 0, 0), RGB(10, 20, 30), 1, RGB(255, 0, 0)},
        MaskCase{"NearlyGreyIsACopiedColour", RGB(200, 201, 200), RGB(10, 20, 30), 1,
                 RGB(200, 201, 200)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MaskFrame, BrightnessZeroIsTreatedAndStoredAsOne) {
    int b = 0;
    EXPECT_EQ(ApplyOne(RGB(200, 200, 200), RGB(100, 100, 100), b, kBackground), RGB(45, 45, 45));
    EXPECT_EQ(b, 1);
    // A white or coloured mask alone does not touch it.
    b = 0;
    ApplyOne(kWhite, RGB(1, 1, 1), b, kBackground);
    ApplyOne(RGB(1, 2, 3), RGB(1, 1, 1), b, kBackground);
    EXPECT_EQ(b, 0);
}

TEST(MaskFrame, RowWiseVersionAgreesWithThePlainOneOnRandomPictures) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        const int w = 1 + int(rng() % 23), h = 1 + int(rng() % 17);
        Bitmap photo(w, h, PixelFormat::Bgrx32), mask(w, h, PixelFormat::Bgrx32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                photo.SetPixel(x, y, rng() & 0xFFFFFF);
                // Mostly greys (with white), some colours.
                const int v = rng() % 4 == 0 ? 255 : int(rng() % 256);
                mask.SetPixel(x, y, rng() % 5 == 0 ? Color(rng() & 0xFFFFFF) : RGB(v, v, v));
            }
        Bitmap a, b;
        a.Assign(photo);
        b.Assign(photo);
        const int brightness = int(rng() % 4 == 0 ? 0 : rng() % 256);
        const Rect area = Rect(int(rng() % 3), int(rng() % 3), w - int(rng() % 3), h);
        int ba = brightness, bb = brightness;
        ApplyMask(a, mask, area, ba, RGB(9, 99, 199));
        ApplyMaskReference(b, mask, area, bb, RGB(9, 99, 199));
        ASSERT_EQ(ba, bb) << "seed " << seed;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y))
                    << "seed " << seed << " at " << x << "," << y;
    }
}

// A photo large enough to be shared among threads, with a mask of its own
// size and one stretched over it.
TEST(MaskFrame, LargePictureAgreesWithThePlainVersion) {
    std::mt19937 rng(7);
    const int w = 1100, h = 900;
    Bitmap photo(w, h, PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) photo.SetPixel(x, y, rng() & 0xFFFFFF);
    for (const int maskSide : {0, 37}) {
        const int mw = maskSide ? maskSide : w, mh = maskSide ? maskSide : h;
        Bitmap mask(mw, mh, PixelFormat::Bgrx32), stretched(w, h, PixelFormat::Bgrx32);
        for (int y = 0; y < mh; ++y)
            for (int x = 0; x < mw; ++x) {
                const int v = rng() % 3 == 0 ? 255 : int(rng() % 256);
                mask.SetPixel(x, y, rng() % 7 == 0 ? Color(rng() & 0xFFFFFF) : RGB(v, v, v));
            }
        stretched.canvas().StretchDraw(Rect(0, 0, w, h), mask);
        for (const int brightness : {0, 3}) {
            Bitmap a, b;
            a.Assign(photo);
            b.Assign(photo);
            int ba = brightness, bb = brightness;
            const Rect area(5, 4, w - 5, h - 4);
            ApplyMask(a, mask, area, ba, RGB(9, 99, 199));
            ApplyMaskReference(b, stretched, area, bb, RGB(9, 99, 199));
            EXPECT_EQ(ba, bb);
            for (int y = 0; y < h; ++y)
                ASSERT_EQ(std::memcmp(a.ScanLine(y), b.ScanLine(y), std::size_t(w) * 4), 0)
                    << "mask " << mw << " brightness " << brightness << " row " << y;
        }
    }
}

TEST(MaskFrame, SetBrightnessIgnoresValuesOutOfRange) {
    const auto photo = SolidPhoto(4, 4, RGB(100, 100, 100));
    MaskFrame f(*photo, MakeFrameSettings(0, 0, kGray, kBlack, false, 1, kWhite, ""));
    EXPECT_EQ(f.Brightness, 1);
    f.SetBrightness(300);
    EXPECT_EQ(f.Brightness, 1);
    f.SetBrightness(-1);
    EXPECT_EQ(f.Brightness, 1);
    f.SetBrightness(255);
    EXPECT_EQ(f.Brightness, 255);
    f.SetBrightness(0);
    EXPECT_EQ(f.Brightness, 0);
}

std::string WritePicture(const std::string& name, const std::vector<std::string>& art,
                         const std::map<char, Color>& legend) {
    const std::string file = TempDir("overlay-mask") + "/" + name;
    SaveBmpFile(*BitmapFromArt(art, legend), file);
    return file;
}

TEST(MaskFrame, MaskIsStretchedToTheOutputAndAppliedInsideTheThickness) {
    const std::map<char, Color> legend = {{'W', kWhite}, {'g', RGB(200, 200, 200)}};
    // A 2 x 2 mask: the right half grey.
    const std::string file = WritePicture("half.bmp", {"Wg", "Wg"}, legend);
    const auto photo = SolidPhoto(8, 6, RGB(100, 100, 100));
    MaskFrame f(*photo, MakeFrameSettings(0, 0, kGray, kBlack, false, 1, kWhite, file));
    const std::map<char, Color> out = {{'P', RGB(100, 100, 100)}, {'d', RGB(45, 45, 45)}};
    EXPECT_PIXELS(*f.Output, out,
                  ({"PPPPdddd", "PPPPdddd", "PPPPdddd", "PPPPdddd", "PPPPdddd", "PPPPdddd"}));
}

TEST(MaskFrame, WithoutAMaskPictureThePhotoStays) {
    const auto photo = SolidPhoto(5, 5, RGB(100, 100, 100));
    MaskFrame f(*photo, MakeFrameSettings(0, 0, kGray, kBlack, false, 1, kWhite,
                                          TempDir("mask-none") + "/none.jpg"));
    EXPECT_TRUE(f.PatternName.empty());
    EXPECT_EQ(f.Output->Pixel(2, 2), RGB(100, 100, 100));
}

TEST(OverlayFrame, WhiteIsTransparentAndTheOverlayCoversTheWholeOutput) {
    const std::map<char, Color> legend = {{'W', kWhite}, {'R', kRed}};
    // A 2 x 2 overlay, red on its top-left quarter only, over a 6 x 4 photo.
    const std::string file = WritePicture("quarter.bmp", {"RW", "WW"}, legend);
    const auto photo = SolidPhoto(6, 4, kLime);
    OverlayFrame f(*photo, MakeFrameSettings(0, 0, kGray, kBlack, false, 1, kWhite, file));
    const std::map<char, Color> out = {{'R', kRed}, {'L', kLime}};
    EXPECT_PIXELS(*f.Output, out, ({"RRRLLL", "RRRLLL", "LLLLLL", "LLLLLL"}));
}

TEST(OverlayAndMask, MatchGoldens) {
    // Decorations made here: a ring of colour blobs and a soft oval mask.
    Bitmap overlay(40, 30, PixelFormat::Bgrx32), mask(40, 30, PixelFormat::Bgrx32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const int dx = x - 20, dy = (y - 15) * 4 / 3;
            const int r2 = dx * dx + dy * dy;
            overlay.SetPixel(
                x, y, r2 > 300 && (x + y) % 5 < 3 ? RGB(200, 40 + 5 * y, 90 + 3 * x) : kWhite);
            const int v = std::clamp(255 - std::max(0, r2 - 150), 0, 255);
            mask.SetPixel(x, y, RGB(v, v, v));
        }
    const std::string dir = TempDir("overlay-mask-golden");
    SaveBmpFile(overlay, dir + "/overlay.bmp");
    SaveBmpFile(mask, dir + "/mask.bmp");

    const auto photo = MakeTestPhoto(120, 90);
    OverlayFrame o(*photo,
                   MakeFrameSettings(0, 0, kGray, kBlack, false, 1, kWhite, dir + "/overlay.bmp"));
    EXPECT_TRUE(MatchesGolden(*o.Output, "overlay-frame"));

    MaskFrame m(*photo, MakeFrameSettings(0, 0, RGB(240, 230, 200), kBlack, false, 1, kWhite,
                                          dir + "/mask.bmp"));
    m.SetBrightness(3);
    m.DrawPictureCentred();
    m.Paint();
    EXPECT_TRUE(MatchesGolden(*m.Output, "mask-frame"));
}

} // namespace

namespace {

TEST(MaskFrame, SamplingTheMaskAgreesWithStretchingItFirst) {
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 rng(seed);
        const int w = 1 + int(rng() % 40), h = 1 + int(rng() % 30);
        const int mw = 1 + int(rng() % 25), mh = 1 + int(rng() % 25);
        Bitmap photo(w, h, PixelFormat::Bgrx32), mask(mw, mh, PixelFormat::Bgrx32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) photo.SetPixel(x, y, rng() & 0xFFFFFF);
        for (int y = 0; y < mh; ++y)
            for (int x = 0; x < mw; ++x) {
                const int v = int(rng() % 256);
                mask.SetPixel(x, y, rng() % 6 == 0 ? Color(rng() & 0xFFFFFF) : RGB(v, v, v));
            }
        Bitmap a, b, stretched(w, h, PixelFormat::Bgrx32);
        a.Assign(photo);
        b.Assign(photo);
        stretched.canvas().StretchDraw(Rect(0, 0, w, h), mask);
        const Rect area = Rect(int(rng() % 3), int(rng() % 3), w - int(rng() % 3), h);
        int ba = 1 + int(rng() % 9), bb = ba;
        ApplyMask(a, mask, area, ba, RGB(1, 2, 3));
        ApplyMaskReference(b, stretched, area, bb, RGB(1, 2, 3));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y))
                    << "seed " << seed << " at " << x << "," << y;
    }
}

} // namespace
