#include "formats/Formats.h"
#include "formats/Readers.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace quillon;

namespace {

std::vector<std::uint8_t> Seed(const std::string& name) {
    return ReadWholeFile(std::string(QUILLON_TEST_SOURCE_DIR) + "/../fuzz/corpus/webp/" + name);
}

} // namespace

// Our reader and dwebp decode the same file alike (both through libwebp;
// a small tolerance leaves room for the upsampling path).
TEST(WebpReader, AgreesWithDwebp) {
    if (std::system("command -v dwebp >/dev/null 2>&1") != 0) GTEST_SKIP() << "no dwebp";
    const std::string dir = TempDir("webp-dwebp");
    auto photo = MakeTestPhoto(61, 33);
    ASSERT_TRUE(SavePictureFile(*photo, dir + "/photo.webp"));
    ASSERT_EQ(
        std::system(
            ("dwebp -quiet -ppm '" + dir + "/photo.webp' -o '" + dir + "/photo.ppm'").c_str()),
        0);
    const auto ours = LoadPictureFile(dir + "/photo.webp");
    const auto theirs = LoadPictureFile(dir + "/photo.ppm");
    ASSERT_EQ(ours->Width(), 61);
    ASSERT_EQ(ours->Height(), 33);
    EXPECT_LE(MaxChannelDifference(*ours, *theirs), 2);
}

TEST(WebpReader, AlphaIsLaidOverWhiteAndAnimationsShowTheFirstFrame) {
    Bitmap b;
    ReadWebp(Seed("lossless-alpha.webp"), "a.webp", b);
    ASSERT_EQ(b.Width(), 24);
    EXPECT_EQ(b.Pixel(0, 0), kWhite);    // fully transparent corner
    const Color centre = b.Pixel(12, 8); // #3080ff at half cover
    EXPECT_NEAR(GetRValue(centre), 0x97, 2);
    EXPECT_NEAR(GetGValue(centre), 0xBF, 2);
    EXPECT_EQ(GetBValue(centre), 0xFF);

    ReadWebp(Seed("animated.webp"), "anim.webp", b);
    EXPECT_EQ(b.Width(), 16);
    EXPECT_EQ(b.Height(), 12);
    EXPECT_EQ(b.Pixel(8, 6), kRed);
}

TEST(WebpReader, BadFilesAreRefusedAndLeaveTheBitmapAlone) {
    const auto whole = Seed("lossy.webp");
    DecodeLimits small;
    small.MaxSide = 20;
    struct Case {
        const char* What;
        std::vector<std::uint8_t> File;
        DecodeLimits Limits;
        PictureErrorKind Kind;
    };
    const Case cases[] = {
        {"empty", {}, DecodeLimits(), PictureErrorKind::Truncated},
        {"cut short",
         {whole.begin(), whole.begin() + 40},
         DecodeLimits(),
         PictureErrorKind::Malformed},
        {"not WebP", std::vector<std::uint8_t>(64, 'x'), DecodeLimits(),
         PictureErrorKind::Malformed},
        {"over the size limit", whole, small, PictureErrorKind::TooLarge},
    };
    for (const Case& c : cases) {
        auto b = BitmapFromArt({"r"}, {{'r', kRed}});
        try {
            ReadWebp(c.File, "bad.webp", *b, c.Limits);
            ADD_FAILURE() << c.What << ": read";
        } catch (const PictureError& e) {
            EXPECT_EQ(e.Kind(), c.Kind) << c.What;
        }
        EXPECT_EQ(b->Width(), 1) << c.What;
    }
}
