// Replays every fuzzing seed (fuzz/corpus/<reader>/) and every input that once
// broke a reader (tests/data/<reader>/regress/) through its reader. Each must
// either load or be refused with PictureError: any other exception fails the
// test, and a crash or sanitizer report fails the program.
#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace quillon;

namespace fs = std::filesystem;

namespace {

struct TReplayCase {
    const char* Name; // folder name under fuzz/corpus and tests/data
    PictureReader Reader;
    const char* Extension;
};

const TReplayCase kCases[] = {
    {"bmp", ReadBmp, "bmp"}, {"jpeg", ReadJpeg, "jpg"},         {"gif", ReadGif, "gif"},
    {"tga", ReadTga, "tga"}, {"tiff", ReadTiff, "tif"},         {"pcx", ReadPcx, "pcx"},
    {"rla", ReadRla, "rla"}, {"sgi", ReadSgi, "sgi"},           {"psd", ReadPsd, "psd"},
    {"pnm", ReadPnm, "ppm"}, {"autodesk", ReadAutodesk, "cel"}, {"pcd", ReadPcd, "pcd"},
    {"cut", ReadCut, "cut"}, {"psp", ReadPsp, "psp"},           {"png", ReadPng, "png"},
};

std::vector<fs::path> InputsOf(const std::string& reader) {
    const fs::path root = fs::path(QUILLON_TEST_SOURCE_DIR).parent_path();
    std::vector<fs::path> files;
    for (const fs::path& dir :
         {root / "fuzz" / "corpus" / reader, root / "tests" / "data" / reader / "regress"}) {
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ReplayTest : public ::testing::TestWithParam<TReplayCase> {};

TEST_P(ReplayTest, EveryInputLoadsOrIsRefusedWithPictureError) {
    const TReplayCase& c = GetParam();
    const auto files = InputsOf(c.Name);
    ASSERT_FALSE(files.empty()) << "no corpus or regression files for " << c.Name;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const auto bytes = ReadAll(file);
        Bitmap out;
        try {
            c.Reader(bytes, std::string("replay.") + c.Extension, out, DecodeLimits());
        } catch (const PictureError&) {
            continue;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unexpected exception: " << e.what();
            continue;
        }
        EXPECT_GE(out.Width(), 0);
        EXPECT_LE(out.Width(), kMaxPictureSide);
        EXPECT_LE(out.Height(), kMaxPictureSide);
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, ReplayTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// The formats the program also writes get their seeds from its own
// encoders: a small photo in true colour, gray and two colours.
TEST(SeedCorpus, WrittenFormatsSeedTheirReaders) {
    // Not a check but a tool run on request: without UPDATE_CORPUS=1 it has
    // nothing to do.
    if (!std::getenv("UPDATE_CORPUS")) GTEST_SKIP() << "set UPDATE_CORPUS=1 to write the seeds";
    auto photo = MakeTestPhoto(12, 9);
    photo->SetPixelFormat(PixelFormat::Bgr24);
    SaveSeed("bmp", "photo24.bmp", EncodeBmp(*photo));
    SaveSeed("jpeg", "photo.jpg", EncodeJpeg(*photo));
    SaveSeed("gif", "photo.gif", EncodeGif(*photo));
    photo->SetPixelFormat(PixelFormat::Indexed8);
    SaveSeed("bmp", "photo8.bmp", EncodeBmp(*photo));
    SaveSeed("gif", "photo8.gif", EncodeGif(*photo));
    auto mono = MakeTestPhoto(10, 3);
    mono->SetPixelFormat(PixelFormat::Indexed1);
    SaveSeed("bmp", "mono.bmp", EncodeBmp(*mono));
    SaveSeed("gif", "mono.gif", EncodeGif(*mono));
}

} // namespace
