// The decoration library the build writes into the data folder.
#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <filesystem>

using namespace quillon;

namespace {

std::vector<std::string> Files(const std::string& folder, std::vector<std::string> extensions) {
    return ListFilesNoCase(FindFileNoCase(TestDataDir() + "/" + folder), extensions);
}

std::unique_ptr<Bitmap> Decode(const std::string& file) {
    auto b = std::make_unique<Bitmap>();
    LoadDecorationPicture(file, *b);
    return b;
}

// The checks of whole pictures read every fourth row of the large pictures:
// whatever they look for covers areas, and a sanitizer build reads 12
// megapixels slowly.
constexpr int kRowStep = 4;

// A decoded picture with its pixels as 32-bit rows.
std::unique_ptr<Bitmap> Rows32(const std::string& file) {
    auto b = Decode(file);
    b->SetPixelFormat(PixelFormat::Bgrx32);
    return b;
}

struct Folder {
    const char* name;
    std::vector<std::string> extensions;
    std::size_t atLeast;
    // The shortest long side. Overlays and masks are stretched over the
    // whole photo: under 4000 pixels a 12-megapixel photo shows their
    // pixels as steps.
    int longSide;
};

class DecorationFolder : public ::testing::TestWithParam<Folder> {};

TEST_P(DecorationFolder, HoldsEnoughPicturesThatDecodeLargeEnough) {
    const Folder& f = GetParam();
    const auto files = Files(f.name, f.extensions);
    EXPECT_GE(files.size(), f.atLeast) << f.name;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        std::unique_ptr<Bitmap> b;
        ASSERT_NO_THROW(b = Decode(file));
        EXPECT_GE(std::min(b->Width(), b->Height()), 16);
        EXPECT_GE(std::max(b->Width(), b->Height()), f.longSide);
        // The photo's proportions, so that nothing is stretched much.
        if (f.longSide > 16) {
            EXPECT_EQ(b->Width() * 3, b->Height() * 4);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(DecorLibrary, DecorationFolder,
                         ::testing::Values(Folder{"Patterns", {"bmp"}, 12, 16},
                                           Folder{"Ornate", {"bmp"}, 10, 16},
                                           Folder{"Overlay", {"bmp"}, 8, 4000},
                                           Folder{"masks", {"jpg"}, 8, 4000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecorLibrary, OverlaysAreRunLengthBitmapsAndMasksJpeg) {
    // A 24-bit overlay of 4000 x 3000 would be 36 MB; run-length coding
    // keeps every colour and the library small.
    for (const std::string& file : Files("Overlay", {"bmp"})) {
        SCOPED_TRACE(file);
        const auto head = ReadFileHead(file, 34);
        ASSERT_EQ(head.size(), 34u);
        EXPECT_EQ(head[28], 8); // bits per pixel
        EXPECT_EQ(head[30], 1); // BI_RLE8
        EXPECT_LT(std::filesystem::file_size(file), 8u << 20);
    }
    EXPECT_TRUE(Files("masks", {"bmp"}).empty());
    for (const std::string& file : Files("masks", {"jpg"}))
        EXPECT_LT(std::filesystem::file_size(file), 8u << 20) << file;
}

TEST(DecorLibrary, MasksOnceStoredAsBitmapsAreFoundByTheirOldNames) {
    // Settings and recipes written before the masks became JPEG name them
    // so; the lookup finds the JPEG, which reads as a JPEG.
    for (const char* name : {"masks/Soft Oval.bmp", "MASKS/star.BMP", "masks/Arched Window.bmp"}) {
        SCOPED_TRACE(name);
        const std::string found = FindFileNoCase(TestDataDir() + "/" + name);
        ASSERT_TRUE(std::filesystem::is_regular_file(found));
        EXPECT_EQ(std::filesystem::path(found).extension(), ".jpg");
        EXPECT_NO_THROW(Decode(found));
    }
}

TEST(DecorLibrary, DefaultDecorationsAreFoundWhateverTheCase) {
    for (const char* name : {"ORNATE/_ORN001.BMP", "Ornate/_Orn001.bmp", "MASKS/Grainy Edge.jpg",
                             "OVERLAY/Fire ball.bmp"}) {
        const std::string found = FindFileNoCase(TestDataDir() + "/" + name);
        EXPECT_TRUE(std::filesystem::is_regular_file(found)) << name;
    }
}

TEST(DecorLibrary, OrnateMouldingsAreSquareAndFitTheThicknessLimit) {
    int clip = 0, trn = 0;
    for (const std::string& file : Files("Ornate", {"bmp"})) {
        SCOPED_TRACE(file);
        auto b = Decode(file);
        EXPECT_EQ(b->Width(), b->Height());
        EXPECT_LE(b->Height(), 200);
        const std::string name = std::filesystem::path(file).filename().string();
        bool white = false;
        for (int y = 0; y < b->Height() && !white; ++y)
            for (int x = 0; x < b->Width() && !white; ++x) white = b->Pixel(x, y) == kWhite;
        if (name.find("Clip") != std::string::npos) ++clip;
        if (name.find("Trn") != std::string::npos) {
            ++trn;
            EXPECT_TRUE(white) << "a see-through moulding needs white";
        } else {
            EXPECT_FALSE(white) << "white would be see-through";
        }
    }
    EXPECT_GE(clip, 2);
    EXPECT_GE(trn, 2);
}

TEST(DecorLibrary, OverlaysMixArtworkWithSeeThroughWhite) {
    for (const std::string& file : Files("Overlay", {"bmp"})) {
        SCOPED_TRACE(file);
        auto b = Rows32(file);
        long white = 0;
        for (int y = 0; y < b->Height(); y += kRowStep) {
            const std::uint8_t* p = b->ScanLine(y);
            for (int x = 0; x < b->Width(); ++x, p += 4)
                white += p[0] == 255 && p[1] == 255 && p[2] == 255;
        }
        const long all = long(b->Width()) * ((b->Height() + kRowStep - 1) / kRowStep);
        EXPECT_GT(white, all / 4);
        EXPECT_LT(white, all);
    }
}

TEST(DecorLibrary, MasksAreGreyWithAWhiteCentre) {
    // A pixel whose channels differ would be copied into the photo as colour.
    for (const std::string& file : Files("masks", {"jpg"})) {
        SCOPED_TRACE(file);
        auto b = Rows32(file);
        for (int y = 0; y < b->Height(); y += kRowStep) {
            const std::uint8_t* p = b->ScanLine(y);
            for (int x = 0; x < b->Width(); ++x, p += 4)
                ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "at " << x << "," << y;
        }
        EXPECT_GE(GetRValue(b->Pixel(b->Width() / 2, b->Height() / 2)), 250);
    }
}

} // namespace
