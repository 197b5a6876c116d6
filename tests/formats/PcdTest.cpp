#include "formats/Formats.h"
#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quillon;

namespace {

constexpr std::size_t kBase = 0x30000, kPair = 768 * 3;

// An Image Pac whose Base picture is neutral luma 100 (gray 136) except: the
// top-left 2 x 2 block has luma 80 and chroma (140, 170); pixel (2, 0) has
// luma 200; the bottom-right 2 x 2 block has chroma (166, 137).
std::vector<std::uint8_t> MakePcd(int orientation) {
    std::vector<std::uint8_t> f(kBase + kPair * 256, 0);
    f[0x0E02] = std::uint8_t(0x10 | orientation); // upper bits are other flags
    for (std::size_t pair = 0; pair < 256; ++pair) {
        std::uint8_t* p = f.data() + kBase + pair * kPair;
        std::fill_n(p, 768 * 2, 100);
        std::fill_n(p + 768 * 2, 384, 156);
        std::fill_n(p + 768 * 2 + 384, 384, 137);
    }
    std::uint8_t* first = f.data() + kBase;
    first[0] = first[1] = first[768] = first[769] = 80;
    first[2] = 200;
    first[768 * 2] = 140;
    first[768 * 2 + 384] = 170;
    std::uint8_t* last = f.data() + kBase + 255 * kPair;
    last[768 * 2 + 383] = 166;
    return f;
}

const Color kGray = RGB(136, 136, 136);
const Color kBlock = RGB(169, 85, 73);
const Color kCorner = RGB(136, 132, 158);

TEST(Pcd, BaseImageConvertsPhotoYccWithSharedChroma) {
    const auto file = MakePcd(0);
    SaveSeed("pcd", "base", file);
    Bitmap out;
    ReadPcd(file, "x.pcd", out);
    ASSERT_EQ(out.Width(), 768);
    ASSERT_EQ(out.Height(), 512);
    EXPECT_EQ(out.Pixel(0, 0), kBlock);
    EXPECT_EQ(out.Pixel(1, 1), kBlock);
    EXPECT_EQ(out.Pixel(2, 0), kWhite); // luma 200 saturates
    EXPECT_EQ(out.Pixel(3, 0), kGray);
    EXPECT_EQ(out.Pixel(0, 2), kGray);
    EXPECT_EQ(out.Pixel(766, 510), kCorner);
    EXPECT_EQ(out.Pixel(767, 511), kCorner);
    EXPECT_EQ(out.Pixel(765, 511), kGray);
}

struct TurnCase {
    int orientation, width, height;
    Point block, corner; // where the top-left block and bottom-right corner land
};

class PcdOrientation : public ::testing::TestWithParam<TurnCase> {};

TEST_P(PcdOrientation, PictureIsTurnedUpright) {
    const TurnCase c = GetParam();
    Bitmap out;
    ReadPcd(MakePcd(c.orientation), "", out);
    ASSERT_EQ(out.Width(), c.width);
    ASSERT_EQ(out.Height(), c.height);
    EXPECT_EQ(out.Pixel(c.block.x, c.block.y), kBlock);
    EXPECT_EQ(out.Pixel(c.corner.x, c.corner.y), kCorner);
}

INSTANTIATE_TEST_SUITE_P(Pcd, PcdOrientation,
                         ::testing::Values(TurnCase{0, 768, 512, {0, 0}, {767, 511}},
                                           TurnCase{1, 512, 768, {0, 767}, {511, 0}},
                                           TurnCase{2, 768, 512, {767, 511}, {0, 0}},
                                           TurnCase{3, 512, 768, {511, 0}, {0, 767}}));

TEST(PcdMalformed, ShortImagePacIsTruncated) {
    auto file = MakePcd(0);
    file.pop_back();
    EXPECT_TRUE(
        FailsWith(ReadPcd, file, PictureErrorKind::Truncated, "Photo CD file is truncated"));
    EXPECT_TRUE(FailsWith(ReadPcd, {}, PictureErrorKind::Truncated, "Photo CD file is truncated"));
}

// Only the Base picture's bytes are read from the file: the rest of an Image
// Pac (the larger resolutions) is never loaded, however large it is.
TEST(Pcd, OnlyTheBasePictureIsReadFromTheFile) {
    const std::string path = TempDir("pcd-head") + "/large.pcd";
    {
        const auto file = MakePcd(0);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    }
    // Past the cap of files read whole (a sparse file: no disk is used).
    std::filesystem::resize_file(path, (std::uintmax_t(1) << 30) + 4096);
    const auto picture = LoadPictureFile(path);
    EXPECT_EQ(picture->Width(), 768);
    EXPECT_EQ(picture->Pixel(0, 0), kBlock);
    EXPECT_EQ(ReadFileHead(path, 3).size(), 3u);
}

} // namespace
