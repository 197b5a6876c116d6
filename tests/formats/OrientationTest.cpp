#include "formats/Orientation.h"
#include "formats/Formats.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace quillon;

namespace {

const std::map<char, Color> kLegend = {{'r', kRed}, {'g', kLime}, {'b', kBlue}, {'w', kWhite}};

// A 64 x 32 picture of four solid 32 x 16 quarters, red green over blue
// white: quarters aligned with the JPEG blocks, so their middles survive.
std::unique_ptr<Bitmap> Quarters() {
    auto b = std::make_unique<Bitmap>(64, 32, PixelFormat::Bgr24);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            b->SetPixel(x, y, y < 16 ? (x < 32 ? kRed : kLime) : (x < 32 ? kBlue : kWhite));
    return b;
}

bool Near(Color a, Color b) {
    return std::abs(GetRValue(a) - GetRValue(b)) < 24 &&
           std::abs(GetGValue(a) - GetGValue(b)) < 24 && std::abs(GetBValue(a) - GetBValue(b)) < 24;
}

// The middle of each quarter of picture, as two rows of two letters.
std::vector<std::string> QuarterColours(const Bitmap& picture) {
    std::vector<std::string> rows(2, "..");
    for (int qy = 0; qy < 2; ++qy)
        for (int qx = 0; qx < 2; ++qx) {
            const Color c = picture.Pixel(picture.Width() * (2 * qx + 1) / 4,
                                          picture.Height() * (2 * qy + 1) / 4);
            for (const auto& [letter, colour] : kLegend)
                if (Near(c, colour)) rows[std::size_t(qy)][std::size_t(qx)] = letter;
        }
    return rows;
}

bool HaveExiftool() {
    return std::system("command -v exiftool >/dev/null 2>&1") == 0;
}

void SetOrientation(const std::string& file, int orientation) {
    const std::string cmd =
        "exiftool -q -q -overwrite_original -n -Orientation=" + std::to_string(orientation) + " '" +
        file + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

struct OrientationCase {
    int Orientation;
    int Width, Height;
    std::vector<std::string> Upright;
};

const OrientationCase kCases[] = {
    {1, 64, 32, {"rg", "bw"}}, {2, 64, 32, {"gr", "wb"}}, {3, 64, 32, {"wb", "gr"}},
    {4, 64, 32, {"bw", "rg"}}, {5, 32, 64, {"rb", "gw"}}, {6, 32, 64, {"br", "wg"}},
    {7, 32, 64, {"wg", "br"}}, {8, 32, 64, {"gw", "rb"}},
};

} // namespace

TEST(Orientation, JpegIsTurnedUprightForEveryOrientation) {
    if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
    const std::string dir = TempDir("orientation-jpeg");
    for (const OrientationCase& c : kCases) {
        const std::string file = dir + "/photo" + std::to_string(c.Orientation) + ".jpg";
        ASSERT_TRUE(SavePictureFile(*Quarters(), file));
        SetOrientation(file, c.Orientation);
        EXPECT_EQ(ExifOrientation(ReadWholeFile(file)), c.Orientation);
        const auto upright = LoadPictureFile(file);
        EXPECT_EQ(upright->Width(), c.Width) << c.Orientation;
        EXPECT_EQ(upright->Height(), c.Height) << c.Orientation;
        EXPECT_EQ(QuarterColours(*upright), c.Upright) << "orientation " << c.Orientation;

        const auto stored = LoadPictureFile(file, LoadOptions{.autoOrient = false});
        EXPECT_EQ(QuarterColours(*stored), kCases[0].Upright) << c.Orientation;
    }
}

TEST(Orientation, PngAndWebpExifBlocksAreHonouredToo) {
    if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
    for (const char* name : {"photo.png", "photo.webp"}) {
        const std::string file = TempDir("orientation-png-webp") + "/" + name;
        ASSERT_TRUE(SavePictureFile(*Quarters(), file));
        SetOrientation(file, 6);
        const auto upright = LoadPictureFile(file);
        EXPECT_EQ(upright->Width(), 32) << name;
        EXPECT_EQ(QuarterColours(*upright), kCases[5].Upright) << name;
    }
}

// The pixel-exact turn of a small picture: each pixel goes where the tag
// says.
TEST(Orientation, TurnsMoveEveryPixelAndKeepThePalette) {
    const std::pair<int, std::vector<std::string>> cases[] = {
        {1, {"rgb", "wwr"}},     {2, {"bgr", "rww"}},     {3, {"rww", "bgr"}},
        {4, {"wwr", "rgb"}},     {5, {"rw", "gw", "br"}}, {6, {"wr", "wg", "rb"}},
        {7, {"rb", "wg", "wr"}}, {8, {"br", "gw", "rw"}},
    };
    for (const auto& [orientation, expected] : cases) {
        auto b = BitmapFromArt({"rgb", "wwr"}, kLegend, PixelFormat::Bgr24);
        ApplyOrientation(*b, orientation);
        EXPECT_TRUE(PixelsMatch(*b, expected, kLegend)) << "orientation " << orientation;
    }
}

TEST(Orientation, DamagedOrMissingExifCountsAsUpright) {
    const std::vector<std::vector<std::uint8_t>> files = {
        {},
        {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x10, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0},
        {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'},
    };
    for (const auto& f : files) EXPECT_EQ(ExifOrientation(f), 1);
}
