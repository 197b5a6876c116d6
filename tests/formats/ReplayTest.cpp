// Replays every fuzzing seed (fuzz/corpus/<reader>/) and every input that once
// broke a reader or cost it too much (tests/data/<reader>/regress/) through
// its reader. Each must either load or be refused with PictureError: any
// other exception fails the test, and a crash or sanitizer report fails the
// program. The replay runs within 1 GB of address space, so an input that
// makes a reader allocate more fails with bad_alloc, and each input has a
// few seconds before a watchdog ends the program naming it.
#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace quillon;

namespace fs = std::filesystem;

namespace {

struct ReplayCase {
    const char* Name; // folder name under fuzz/corpus and tests/data
    PictureReader Reader;
    const char* Extension;
};

const ReplayCase kCases[] = {
    {"bmp", ReadBmp, "bmp"},    {"jpeg", ReadJpeg, "jpg"},         {"gif", ReadGif, "gif"},
    {"tga", ReadTga, "tga"},    {"tiff", ReadTiff, "tif"},         {"pcx", ReadPcx, "pcx"},
    {"rla", ReadRla, "rla"},    {"sgi", ReadSgi, "sgi"},           {"psd", ReadPsd, "psd"},
    {"pnm", ReadPnm, "ppm"},    {"autodesk", ReadAutodesk, "cel"}, {"pcd", ReadPcd, "pcd"},
    {"cut", ReadCut, "cut"},    {"psp", ReadPsp, "psp"},           {"png", ReadPng, "png"},
    {"webp", ReadWebp, "webp"}, {"heif", ReadHeif, "heic"},
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

// AddressSanitizer reserves terabytes of address space for its shadow
// memory, so an address-space ceiling cannot work under it; it also runs
// the readers several times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr rlim_t kAddressSpace = rlim_t(1) << 30;
constexpr unsigned kSecondsPerInput = kSanitized ? 60 : 5;

// The input under way, for the watchdog's message.
char gCurrentInput[4096];

void OnTimeout(int) {
    static const char kPrefix[] = "replay: a reader took too long over ";
    (void)!::write(2, kPrefix, sizeof kPrefix - 1);
    (void)!::write(2, gCurrentInput, std::strlen(gCurrentInput));
    (void)!::write(2, "\n", 1);
    std::_Exit(1);
}

// Lowers the address-space limit to the ceiling, never raising it.
void LimitAddressSpace() {
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_AS, &limit), 0);
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > kAddressSpace) {
        limit.rlim_cur = kAddressSpace;
        ASSERT_EQ(::setrlimit(RLIMIT_AS, &limit), 0);
    }
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ReplayTest : public ::testing::TestWithParam<ReplayCase> {};

TEST_P(ReplayTest, EveryInputLoadsOrIsRefusedWithPictureError) {
    const ReplayCase& c = GetParam();
    const auto files = InputsOf(c.Name);
    ASSERT_FALSE(files.empty()) << "no corpus or regression files for " << c.Name;
    if (!kSanitized) LimitAddressSpace();
    std::signal(SIGALRM, OnTimeout);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const auto bytes = ReadAll(file);
        std::snprintf(gCurrentInput, sizeof gCurrentInput, "%s", file.c_str());
        Bitmap out;
        ::alarm(kSecondsPerInput);
        try {
            c.Reader(bytes, std::string("replay.") + c.Extension, out, DecodeLimits());
        } catch (const PictureError&) {
            ::alarm(0);
            continue;
        } catch (const std::exception& e) {
            ::alarm(0);
            ADD_FAILURE() << "unexpected exception: " << e.what();
            continue;
        }
        ::alarm(0);
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
