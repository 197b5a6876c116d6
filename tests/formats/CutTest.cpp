#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>

using namespace quillon;

namespace {

// A CUT file from rows given as ready-made run-length records.
std::vector<std::uint8_t> MakeCut(int w, const std::vector<std::vector<std::uint8_t>>& rows) {
    ByteBuilder f;
    f.U16LE(unsigned(w)).U16LE(unsigned(rows.size())).U16LE(0);
    for (auto& r : rows) f.U16LE(unsigned(r.size())).Append(r);
    return f.Get();
}

// Row 0: literal 1 2, a run of three 3s; row 1: a run of five 0s.
const std::vector<std::vector<std::uint8_t>> kRows = {{0x02, 1, 2, 0x83, 3, 0}, {0x85, 0, 0}};

// A Dr. Halo palette: colours given in 0..maxValue, count entries, with the
// rule that no triple crosses a 512-byte block.
std::vector<std::uint8_t> MakePal(const std::vector<std::array<unsigned, 3>>& colours,
                                  unsigned maxValue) {
    ByteBuilder f;
    f.Text("AH").U16LE(0xE3).U16LE(0).U8(0x0A).U8(0).U16LE(0).U16LE(0);
    f.U16LE(unsigned(colours.size() - 1)).U16LE(maxValue).U16LE(maxValue).U16LE(maxValue);
    f.Text("Dr. Halo").PadTo(40);
    for (auto& c : colours) {
        if (f.Size() % 512 + 6 > 512) f.PadTo(f.Size() + 512 - f.Size() % 512);
        f.U16LE(c[0]).U16LE(c[1]).U16LE(c[2]);
    }
    return f.Get();
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& data) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

TEST(Cut, WithoutPaletteIndicesRampFromBlackToTheLargestAsWhite) {
    const auto file = MakeCut(5, kRows);
    SaveSeed("cut", "two-rows", file);
    Bitmap out;
    ReadCut(file, TempDir("cut-nopal") + "/pic.cut", out);
    EXPECT_EQ(out.format(), PixelFormat::Indexed8);
    EXPECT_PIXELS(out,
                  (std::map<char, Color>{
                      {'0', 0}, {'1', RGB(85, 85, 85)}, {'2', RGB(170, 170, 170)}, {'3', kWhite}}),
                  ({"12333", "00000"}));
}

TEST(Cut, PaletteBesideThePictureIsFoundInAnyCaseAndScaled) {
    const std::string dir = TempDir("cut-pal");
    WriteFile(dir + "/Pic.PAL", MakePal({{0, 0, 0}, {63, 0, 0}, {0, 63, 0}, {0, 0, 63}}, 63));
    Bitmap out;
    ReadCut(MakeCut(5, kRows), dir + "/Pic.cut", out);
    EXPECT_PIXELS(out,
                  (std::map<char, Color>{{'k', kBlack}, {'r', kRed}, {'g', kLime}, {'b', kBlue}}),
                  ({"rgbbb", "kkkkk"}));
}

TEST(Cut, PaletteEntriesSkipTheEndOfEach512ByteBlock) {
    // 256 entries: the 79th starts in the second block.
    std::vector<std::array<unsigned, 3>> colours;
    for (unsigned i = 0; i < 256; ++i) colours.push_back({i, 255 - i, 9});
    const std::string dir = TempDir("cut-blocks");
    WriteFile(dir + "/big.pal", MakePal(colours, 255));
    Bitmap out;
    ReadCut(MakeCut(3, {{0x03, 77, 78, 200, 0}}), dir + "/big.cut", out);
    EXPECT_EQ(AllPixels(out),
              (std::vector<Color>{RGB(77, 178, 9), RGB(78, 177, 9), RGB(200, 55, 9)}));
}

TEST(Cut, UnreadablePaletteFileFallsBackToGray) {
    const std::string dir = TempDir("cut-badpal");
    WriteFile(dir + "/pic.pal", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'a', 'l'});
    Bitmap out;
    ReadCut(MakeCut(5, kRows), dir + "/pic.cut", out);
    EXPECT_EQ(out.Pixel(2, 0), kWhite);
}

TEST(CutMalformed, EachFaultHasItsMessage) {
    EXPECT_TRUE(ReadsAsEmpty(ReadCut, MakeCut(0, kRows)));
    EXPECT_TRUE(FailsWith(ReadCut, MakeCut(4, kRows), PictureErrorKind::Malformed,
                          "has a run past the end of a row"));
    auto shortFile = MakeCut(5, kRows);
    shortFile.pop_back();
    EXPECT_TRUE(
        FailsWith(ReadCut, shortFile, PictureErrorKind::Truncated, "Dr. Halo file is truncated"));
    // A literal of 5 bytes in a record that holds 2.
    EXPECT_TRUE(FailsWith(ReadCut, MakeCut(5, {{0x05, 1, 2}}), PictureErrorKind::Truncated,
                          "Dr. Halo file is truncated"));
    EXPECT_TRUE(FailsWith(ReadCut, MakeCut(5, {{0x85}}), PictureErrorKind::Truncated,
                          "Dr. Halo file is truncated"));
    // Claims 60000 rows in a file of a few bytes.
    auto rows = MakeCut(5, kRows);
    rows[2] = 0x60;
    rows[3] = 0xEA;
    EXPECT_TRUE(
        FailsWith(ReadCut, rows, PictureErrorKind::Truncated, "Dr. Halo file is truncated"));

    const std::string dir = TempDir("cut-range");
    WriteFile(dir + "/few.pal", MakePal({{0, 0, 0}, {1, 1, 1}}, 63));
    EXPECT_TRUE(FailsWith(ReadCut, MakeCut(5, kRows), PictureErrorKind::Malformed,
                          "palette index (3) beyond its palette file", dir + "/few.cut"));
}

// Every row may be an empty record, which leaves it at index 0: two bytes a
// row of up to 65535 pixels. Beyond 16 megapixels the file budget holds.
TEST(CutReader, EmptyRowsKeepToTheFileBudget) {
    ByteBuilder f;
    f.U16LE(65535).U16LE(4096).U16LE(0);
    for (int y = 0; y < 4096; ++y) f.U16LE(0);
    SaveRegress("cut", "65535x4096-empty-rows.cut", f);
    EXPECT_TRUE(FailsWith(ReadCut, f, PictureErrorKind::TooLarge,
                          "Dr. Halo picture of 65535 x 4096 pixels is too large for a file of 8198 "
                          "bytes"));
    ByteBuilder small;
    small.U16LE(4096).U16LE(4096).U16LE(0);
    for (int y = 0; y < 4096; ++y) small.U16LE(0);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadCut, small, out), "");
    EXPECT_EQ(out.Width(), 4096);
}

} // namespace
