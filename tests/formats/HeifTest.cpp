#include "formats/Formats.h"
#include "formats/Metadata.h"
#include "formats/Readers.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace quillon;

namespace fs = std::filesystem;

namespace {

const std::string kSeeds = std::string(QUILLON_TEST_SOURCE_DIR) + "/../fuzz/corpus/heif/";

// heif-convert's decode of file, written as PNG and read back.
std::unique_ptr<Bitmap> HeifConvert(const std::string& file, const std::string& dir) {
    const std::string png = dir + "/" + fs::path(file).filename().string() + ".png";
    const std::string cmd = "heif-convert '" + file + "' '" + png + "' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) return nullptr;
    // heif-convert copies the EXIF block into the PNG: read its pixels as
    // they are.
    return LoadPictureFile(png, LoadOptions{.autoOrient = false});
}

} // namespace

// HEIC and AVIF, opaque and with alpha: our decode matches heif-convert's
// (both through libheif; alpha is laid over white on both sides).
TEST(HeifReader, AgreesWithHeifConvert) {
    if (!HaveTool("heif-convert")) GTEST_SKIP() << "no heif-convert";
    const std::string dir = TempDir("heif-convert");
    for (const char* name : {"gradient.heic", "gradient.avif", "alpha.heic"}) {
        const auto theirs = HeifConvert(kSeeds + name, dir);
        ASSERT_TRUE(theirs) << name;
        const auto ours = LoadPictureFile(kSeeds + name);
        ASSERT_EQ(ours->Width(), theirs->Width()) << name;
        ASSERT_EQ(ours->Height(), theirs->Height()) << name;
        EXPECT_LE(MaxChannelDifference(*ours, *theirs), 2) << name;
    }
}

// A HEIF picture's turn is the container's (libheif applies it); an EXIF
// Orientation inside the file is not applied on top. heif-enc copies a
// JPEG's EXIF block, turn and all, without turning the pixels.
TEST(HeifReader, ExifOrientationInsideIsNotAppliedAgain) {
    if (!HaveTool("heif-enc") || !HaveTool("heif-convert") || !HaveTool("exiftool"))
        GTEST_SKIP() << "needs heif-enc, heif-convert and exiftool";
    const std::string dir = TempDir("heif-turn");
    auto photo = MakeTestPhoto(64, 32);
    ASSERT_TRUE(SavePictureFile(*photo, dir + "/turned.jpg"));
    ASSERT_EQ(std::system(
                  ("exiftool -q -q -overwrite_original -n -Orientation=6 '" + dir + "/turned.jpg'")
                      .c_str()),
              0);
    ASSERT_EQ(std::system(("heif-enc -q 90 '" + dir + "/turned.jpg' -o '" + dir +
                           "/turned.heic' >/dev/null 2>&1")
                              .c_str()),
              0);
    const auto theirs = HeifConvert(dir + "/turned.heic", dir);
    ASSERT_TRUE(theirs);
    const auto ours = LoadPictureFile(dir + "/turned.heic");
    EXPECT_EQ(ours->Width(), theirs->Width());
    EXPECT_EQ(ours->Height(), theirs->Height());
    EXPECT_EQ(ours->Width(), 64);
    EXPECT_LE(MaxChannelDifference(*ours, *theirs), 2);
}

// A phone's HEIC keeps its camera data in its own EXIF item; it comes along
// when the framed photo is saved as JPEG.
TEST(HeifReader, TheExifItemIsKeptForSaving) {
    if (!HaveTool("heif-enc") || !HaveTool("exiftool"))
        GTEST_SKIP() << "needs heif-enc and exiftool";
    const std::string dir = TempDir("heif-exif");
    ASSERT_TRUE(SavePictureFile(*MakeTestPhoto(64, 48), dir + "/camera.jpg"));
    ASSERT_EQ(std::system(("exiftool -q -q -overwrite_original -Make=Quillon -Model=TestCam '" +
                           dir + "/camera.jpg'")
                              .c_str()),
              0);
    ASSERT_EQ(std::system(("heif-enc -q 90 '" + dir + "/camera.jpg' -o '" + dir +
                           "/camera.heic' >/dev/null 2>&1")
                              .c_str()),
              0);
    std::shared_ptr<const PictureMetadata> metadata;
    const auto photo = LoadPictureFile(dir + "/camera.heic", {}, &metadata);
    ASSERT_NE(metadata, nullptr);
    ASSERT_FALSE(metadata->Exif.empty());
    // TIFF layout: the byte-order mark comes first.
    const std::string order(metadata->Exif.begin(), metadata->Exif.begin() + 2);
    EXPECT_TRUE(order == "II" || order == "MM") << order;
    ASSERT_TRUE(SavePictureFile(*photo, dir + "/framed.jpg", metadata.get()));
    FILE* pipe = popen(("exiftool -s3 -Make -Model '" + dir + "/framed.jpg'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char text[256] = {};
    const std::size_t n = std::fread(text, 1, sizeof text - 1, pipe);
    pclose(pipe);
    EXPECT_EQ(std::string(text, n), "Quillon\nTestCam\n");
}

TEST(HeifReader, BadFilesAreRefusedAndLeaveTheBitmapAlone) {
    const auto whole = ReadWholeFile(kSeeds + "gradient.heic");
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
        {"not HEIF", std::vector<std::uint8_t>(64, 'x'), DecodeLimits(),
         PictureErrorKind::Malformed},
        {"over the size limit", whole, small, PictureErrorKind::TooLarge},
        // A grid claiming 65255 x 65519 pixels in a 564-byte file: refused
        // before libheif allocates it.
        {"grid over the size limit",
         ReadWholeFile(std::string(QUILLON_TEST_SOURCE_DIR) +
                       "/data/heif/regress/grid-of-4-gigapixels.heic"),
         DecodeLimits(), PictureErrorKind::TooLarge},
    };
    for (const Case& c : cases) {
        auto b = BitmapFromArt({"r"}, {{'r', kRed}});
        try {
            ReadHeif(c.File, "bad.heic", *b, c.Limits);
            ADD_FAILURE() << c.What << ": read";
        } catch (const PictureError& e) {
            EXPECT_EQ(e.Kind(), c.Kind) << c.What << ": " << e.what();
        }
        EXPECT_EQ(b->Width(), 1) << c.What;
    }
    // Cut anywhere, the file is refused with a PictureError, never read.
    for (std::size_t n = 12; n < whole.size(); n += 37) {
        Bitmap b;
        EXPECT_THROW(ReadHeif({whole.data(), n}, "cut.heic", b), PictureError) << n;
    }
}
