#include "formats/Formats.h"
#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <regex>

#include <jpeglib.h>

using namespace quillon;

namespace {

enum class ChromaSampling { s420, s422, s444, Gray };

// Encodes an RGB picture with the library directly, for the files the reader
// is checked on (the project's writer only makes one kind of file).
// tune, when given, changes the settings last (coding, scan script).
std::vector<std::uint8_t>
LibJpegEncode(const Bitmap& picture, ChromaSampling sampling, bool progressive, int quality = 85,
              const std::function<void(jpeg_compress_struct&)>& tune = {}) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(picture.Width());
    c.image_height = JDIMENSION(picture.Height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    if (sampling == ChromaSampling::Gray) jpeg_set_colorspace(&c, JCS_GRAYSCALE);
    if (sampling == ChromaSampling::s444 || sampling == ChromaSampling::s422) {
        c.comp_info[0].h_samp_factor = sampling == ChromaSampling::s422 ? 2 : 1;
        c.comp_info[0].v_samp_factor = 1;
    }
    if (progressive) jpeg_simple_progression(&c);
    if (tune) tune(c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(std::size_t(picture.Width()) * 3);
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < picture.Width(); ++x) {
            const Color col = picture.Pixel(x, int(c.next_scanline));
            row[3 * std::size_t(x)] = GetRValue(col);
            row[3 * std::size_t(x) + 1] = GetGValue(col);
            row[3 * std::size_t(x) + 2] = GetBValue(col);
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<std::uint8_t> bytes(out, out + size);
    std::free(out);
    return bytes;
}

// A CMYK file made of flat colour blocks, stored with Adobe's inverted values
// (the library writes the Adobe marker for CMYK).
std::vector<std::uint8_t> CmykJpeg(const std::vector<std::array<int, 4>>& blocks) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(16 * blocks.size());
    c.image_height = 16;
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(c.image_width * 4);
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = std::uint8_t(255 - blocks[i / 64][i % 4]);
    while (c.next_scanline < c.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<std::uint8_t> bytes(out, out + size);
    std::free(out);
    return bytes;
}

std::unique_ptr<Bitmap> Decode(const std::vector<std::uint8_t>& file) {
    auto b = std::make_unique<Bitmap>();
    ReadJpeg(file, "test.jpg", *b);
    return b;
}

// Reads a binary PPM (P6) or PGM (P5) as written by djpeg.
std::unique_ptr<Bitmap> ReadPnmFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int w = 0, h = 0, maxval = 0;
    in >> magic >> w >> h >> maxval;
    in.get();
    if (!in || (magic != "P6" && magic != "P5") || maxval != 255) return nullptr;
    const int n = magic == "P6" ? 3 : 1;
    std::vector<unsigned char> px(std::size_t(w) * std::size_t(h) * std::size_t(n));
    in.read(reinterpret_cast<char*>(px.data()), std::streamsize(px.size()));
    if (!in) return nullptr;
    auto b = std::make_unique<Bitmap>(w, h, PixelFormat::Bgr24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char* p =
                px.data() + (std::size_t(y) * std::size_t(w) + std::size_t(x)) * std::size_t(n);
            b->SetPixel(x, y, n == 3 ? RGB(p[0], p[1], p[2]) : RGB(p[0], p[0], p[0]));
        }
    return b;
}

bool HaveDjpeg() {
    return std::system("command -v djpeg >/dev/null 2>&1") == 0;
}

std::unique_ptr<Bitmap> Noisy(int w, int h, unsigned seed) {
    auto b = MakeTestPhoto(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (rng() % 5 == 0) b->SetPixel(x, y, rng() & 0xFFFFFF);
    return b;
}

double MeanError(const Bitmap& a, const Bitmap& b) {
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const Color p = a.Pixel(x, y), q = b.Pixel(x, y);
            sum += std::abs(GetRValue(p) - GetRValue(q)) + std::abs(GetGValue(p) - GetGValue(q)) +
                   std::abs(GetBValue(p) - GetBValue(q));
        }
    return sum / (3.0 * a.Width() * a.Height());
}

void ExpectJpegError(const std::vector<std::uint8_t>& file, PictureErrorKind kind,
                     const std::string& what) {
    try {
        Decode(file);
        ADD_FAILURE() << what << ": accepted";
    } catch (const PictureError& e) {
        // The file named, the fault in words, then the library's own text.
        EXPECT_TRUE(std::regex_match(e.what(), std::regex("\"test\\.jpg\" [a-zA-Z ]+ \\(.+\\)")))
            << what << ": " << e.what();
        EXPECT_EQ(e.Kind(), kind) << what << ": " << e.what();
    }
}

} // namespace

TEST(JpegReader, DecodesExactlyAsTheReferenceDecoder) {
    // The reference decoder is part of the test set-up (scripts/deps.sh test).
    ASSERT_TRUE(HaveDjpeg()) << "djpeg is not installed (Debian package libjpeg-turbo-progs)";
    const std::string dir = TempDir("jpeg-djpeg");
    struct Case {
        int W, H;
        ChromaSampling Sampling;
        bool Progressive;
    };
    const Case cases[] = {
        {1, 1, ChromaSampling::s420, false},    {17, 9, ChromaSampling::s420, false},
        {64, 48, ChromaSampling::s444, false},  {123, 77, ChromaSampling::s420, false},
        {123, 77, ChromaSampling::s422, false}, {50, 31, ChromaSampling::Gray, false},
        {95, 61, ChromaSampling::s420, true},   {40, 40, ChromaSampling::Gray, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string jpg = dir + "/case" + std::to_string(n) + ".jpg";
        const std::string ppm = dir + "/case" + std::to_string(n++) + ".pnm";
        const auto file = LibJpegEncode(*Noisy(c.W, c.H, unsigned(n)), c.Sampling, c.Progressive);
        WriteFileReplacing(jpg, file);
        ASSERT_EQ(std::system(("djpeg -pnm -outfile '" + ppm + "' '" + jpg + "'").c_str()), 0);
        auto expected = ReadPnmFile(ppm);
        ASSERT_TRUE(expected) << ppm;
        auto actual = Decode(file);
        EXPECT_EQ(actual->format(), PixelFormat::Bgr24);
        ASSERT_EQ(actual->Width(), c.W);
        ASSERT_EQ(actual->Height(), c.H);
        bool same = true;
        for (int y = 0; y < c.H && same; ++y)
            for (int x = 0; x < c.W && same; ++x)
                if (actual->Pixel(x, y) != expected->Pixel(x, y)) {
                    ADD_FAILURE() << jpg << ": first difference at (" << x << ", " << y << ")";
                    same = false;
                }
    }
}

TEST(JpegReader, AdobeCmykDecodesToItsColours) {
    auto b = Decode(CmykJpeg({{0, 255, 255, 0},  // red
                              {255, 0, 255, 0},  // green
                              {0, 0, 0, 0},      // white
                              {0, 0, 0, 255},    // black
                              {0, 0, 0, 128}})); // mid grey
    const Color want[] = {kRed, kLime, kWhite, kBlack, RGB(127, 127, 127)};
    for (int i = 0; i < 5; ++i) {
        const Color got = b->Pixel(16 * i + 8, 8);
        EXPECT_NEAR(GetRValue(got), GetRValue(want[i]), 4) << i;
        EXPECT_NEAR(GetGValue(got), GetGValue(want[i]), 4) << i;
        EXPECT_NEAR(GetBValue(got), GetBValue(want[i]), 4) << i;
    }
}

// The messages a person sees for the two commonest faults: another format
// under a JPEG name, and a download cut short.
TEST(JpegReader, ErrorsNameTheFileAndSayWhatIsWrong) {
    Bitmap out;
    const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0};
    try {
        ReadJpeg(png, "/home/me/photo.png", out);
        ADD_FAILURE() << "a PNG file read as JPEG";
    } catch (const PictureError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "\"photo.png\" is not a JPEG file (Not a JPEG file: starts with 0x89 0x50)");
        EXPECT_EQ(e.Kind(), PictureErrorKind::Malformed);
    }
    const auto good = LibJpegEncode(*Noisy(40, 30, 3), ChromaSampling::s420, false);
    try {
        ReadJpeg(std::span(good.data(), good.size() / 2), "photo.jpg", out);
        ADD_FAILURE() << "half a file accepted";
    } catch (const PictureError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "\"photo.jpg\" ends before the picture is complete (Premature end of JPEG file)");
        EXPECT_EQ(e.Kind(), PictureErrorKind::Truncated);
    }
    EXPECT_TRUE(out.Empty()) << "a failed read left the bitmap as it was";
}

// Decoding straight into the screen format gives the pixels reading and
// converting gives, with the fourth byte zero, for every kind of file.
TEST(JpegReader, ScreenFormatDecodeEqualsDecodeAndConvert) {
    const auto photo = Noisy(45, 31, 5);
    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> files = {
        {"4:2:0", LibJpegEncode(*photo, ChromaSampling::s420, false)},
        {"progressive", LibJpegEncode(*photo, ChromaSampling::s422, true)},
        {"gray", LibJpegEncode(*photo, ChromaSampling::Gray, false)},
        {"cmyk", CmykJpeg({{0, 255, 255, 0}, {30, 60, 90, 20}, {0, 0, 0, 255}})},
    };
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        Bitmap converted;
        ReadJpeg(file, "x.jpg", converted);
        converted.SetPixelFormat(PixelFormat::Device);
        Bitmap direct;
        ReadJpegAs(file, "x.jpg", PixelFormat::Device, direct);
        ASSERT_EQ(direct.format(), PixelFormat::Device);
        ASSERT_EQ(direct.Width(), converted.Width());
        ASSERT_EQ(direct.Height(), converted.Height());
        EXPECT_TRUE(std::equal(direct.Bits(),
                               direct.Bits() + direct.Stride() * std::size_t(direct.Height()),
                               converted.Bits()));
    }
}

TEST(JpegReader, BrokenFilesGiveTheirKindAndTheLibraryText) {
    const auto good = LibJpegEncode(*Noisy(40, 30, 3), ChromaSampling::s420, false);
    const auto progressive = LibJpegEncode(*Noisy(40, 30, 4), ChromaSampling::s420, true);
    ExpectJpegError({}, PictureErrorKind::Truncated, "empty file");
    ExpectJpegError({'B', 'M', 0, 0, 0}, PictureErrorKind::Malformed, "not a JPEG");
    for (const auto* f : {&good, &progressive})
        for (std::size_t n : {std::size_t(2), std::size_t(20), f->size() / 2, f->size() - 2})
            ExpectJpegError(std::vector<std::uint8_t>(f->begin(), f->begin() + std::ptrdiff_t(n)),
                            PictureErrorKind::Truncated, "cut to " + std::to_string(n) + " bytes");
    std::mt19937 rng(99);
    for (int round = 0; round < 300; ++round) {
        auto damaged = good;
        for (int k = 0; k < 4; ++k) damaged[rng() % damaged.size()] = std::uint8_t(rng());
        try {
            Decode(damaged);
        } catch (const PictureError&) {
        }
    }
}

TEST(JpegReader, OversizedFrameIsRefusedBeforeDecoding) {
    auto file = LibJpegEncode(*Noisy(16, 16, 5), ChromaSampling::s420, false);
    // The SOF0 segment: FF C0, length, precision, height, width.
    std::size_t sof = 0;
    for (std::size_t i = 0; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            sof = i;
            break;
        }
    ASSERT_NE(sof, 0u);
    auto setSize = [&](int side) {
        for (std::size_t k : {sof + 5, sof + 7}) {
            file[k] = std::uint8_t(side >> 8);
            file[k + 1] = std::uint8_t(side);
        }
    };
    setSize(65488); // over the picture size limit
    EXPECT_TRUE(FailsWith(ReadJpeg, file, PictureErrorKind::TooLarge, "is too large"));
    setSize(16000); // within the limit, but far more than the data can hold
    ExpectJpegError(file, PictureErrorKind::Truncated, "16000 x 16000 in a few hundred bytes");
}

// Where marker FF code first starts, from byte from on.
std::size_t FindMarker(const std::vector<std::uint8_t>& file, std::uint8_t code,
                       std::size_t from = 0) {
    for (std::size_t i = from; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == code) return i;
    return 0;
}

void SetFrameSize(std::vector<std::uint8_t>& file, std::size_t sof, int side) {
    for (std::size_t k : {sof + 5, sof + 7}) {
        file[k] = std::uint8_t(side >> 8);
        file[k + 1] = std::uint8_t(side);
    }
}

// Arithmetic coding spends a fraction of a bit on a blank block, so a file
// of a hundred-odd bytes can be a 16384 x 16384 picture: within the free
// size it is read, beyond it the file budget refuses it.
TEST(JpegReader, ArithmeticCodedBlankGiantKeepsToTheFileBudget) {
    auto file =
        LibJpegEncode(*BitmapFromArt({"gggggggggggggggg"}, {{'g', kGray}}), ChromaSampling::Gray,
                      false, 85, [](jpeg_compress_struct& c) { c.arith_code = TRUE; });
    const std::size_t sof = FindMarker(file, 0xC9); // extended sequential, arithmetic
    ASSERT_NE(sof, 0u);
    SetFrameSize(file, sof, 16384);
    EXPECT_LT(file.size(), 400u);
    SaveRegress("jpeg", "arithmetic-16384-square.jpg", file);
    EXPECT_TRUE(FailsWith(ReadJpeg, file, PictureErrorKind::TooLarge,
                          "JPEG picture of 16384 x 16384 pixels is too large for a file of " +
                              std::to_string(file.size()) + " bytes"));
    SetFrameSize(file, sof, 4096);
    EXPECT_EQ(Decode(file)->Width(), 4096);
}

// A progressive file may repeat a refinement scan any number of times, each
// a pass over every block; past 100 scans it is refused.
TEST(JpegReader, ScansPastTheLimitAreRefused) {
    static const jpeg_scan_info kScript[] = {
        {1, {0}, 0, 0, 0, 0},  // DC
        {1, {0}, 1, 63, 0, 1}, // AC, all but the lowest bit
        {1, {0}, 1, 63, 1, 0}, // AC refinement
    };
    Bitmap flat(2048, 2048, PixelFormat::Bgr24);
    const auto base =
        LibJpegEncode(flat, ChromaSampling::Gray, false, 85, [](jpeg_compress_struct& c) {
            c.scan_info = kScript;
            c.num_scans = 3;
        });
    // The refinement scan: its SOS segment and data, up to the closing EOI.
    const std::size_t lastScan =
        FindMarker(base, 0xDA, FindMarker(base, 0xDA, FindMarker(base, 0xDA) + 2) + 2);
    const std::size_t eoi = FindMarker(base, 0xD9, lastScan);
    ASSERT_NE(lastScan, 0u);
    ASSERT_NE(eoi, 0u);
    auto withScans = [&](int scans) {
        std::vector<std::uint8_t> file(base.begin(), base.begin() + std::ptrdiff_t(eoi));
        for (int i = 3; i < scans; ++i)
            file.insert(file.end(), base.begin() + std::ptrdiff_t(lastScan),
                        base.begin() + std::ptrdiff_t(eoi));
        file.insert(file.end(), {0xFF, 0xD9});
        return file;
    };
    const auto many = withScans(992); // the refinement scan 990 times
    SaveRegress("jpeg", "refinement-scan-990-times.jpg", many);
    ExpectJpegError(many, PictureErrorKind::TooLarge, "992 scans");
    EXPECT_EQ(Decode(withScans(100))->Pixel(2047, 2047), kBlack);
}

// A progressive file keeps every coefficient until its last scan (two bytes
// a sample): the library's working memory has a ceiling of its own.
TEST(JpegReader, ProgressiveWorkingMemoryHasACeiling) {
    const auto file = LibJpegEncode(*Noisy(1024, 1024, 6), ChromaSampling::Gray, true);
    DecodeLimits tight;
    tight.MaxJpegWorkBytes = 1 << 20; // the coefficients take 2 MB
    EXPECT_TRUE(FailsWith(ReadJpeg, file, PictureErrorKind::TooLarge,
                          "\"big.jpg\" is too large to open", "big.jpg", tight));
    tight.MaxJpegWorkBytes = 4 << 20;
    Bitmap out;
    ReadJpeg(file, "big.jpg", out, tight);
    EXPECT_EQ(out.Width(), 1024);
}

TEST(JpegWriter, WritesBaselineJfifColourAtQualityNinety) {
    for (PixelFormat pf :
         {PixelFormat::Bgr24, PixelFormat::Bgrx32, PixelFormat::Device, PixelFormat::Indexed8}) {
        // Smooth colour, so that a wrong channel order or quality shows in the error.
        auto photo = std::make_unique<Bitmap>(61, 43, PixelFormat::Bgr24);
        for (int y = 0; y < 43; ++y)
            for (int x = 0; x < 61; ++x) photo->SetPixel(x, y, RGB(x * 4, 250 - y * 5, 90 + x + y));
        photo->SetPixelFormat(pf);
        const auto file = EncodeJpeg(*photo);
        jpeg_decompress_struct d;
        jpeg_error_mgr err;
        d.err = jpeg_std_error(&err);
        jpeg_create_decompress(&d);
        jpeg_mem_src(&d, file.data(), (unsigned long)file.size());
        ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
        EXPECT_TRUE(d.saw_JFIF_marker);
        EXPECT_FALSE(d.progressive_mode);
        EXPECT_EQ(d.num_components, 3);
        EXPECT_EQ(d.jpeg_color_space, JCS_YCbCr);
        // Quality 90 scales the standard luminance table by 20 %: 16 -> 3.
        ASSERT_NE(d.quant_tbl_ptrs[0], nullptr);
        EXPECT_EQ(d.quant_tbl_ptrs[0]->quantval[0], 3);
        jpeg_destroy_decompress(&d);

        auto back = Decode(file);
        ASSERT_EQ(back->Width(), 61);
        ASSERT_EQ(back->Height(), 43);
        EXPECT_LT(MeanError(*photo, *back), 1.5);
    }
}

TEST(JpegWriter, EmptyPictureIsAnErrorNotAFile) {
    Bitmap empty;
    EXPECT_THROW(EncodeJpeg(empty), PictureError);
}
