// End-to-end tests of the quillon-frame program: the built binary is run on
// pictures written here, and its output is compared with what the photo
// document gives for the same choices in this process.
#include "document/PhotoDocument.h"
#include "formats/DataPaths.h"
#include "formats/FileWriting.h"
#include "formats/Formats.h"
#include "formats/Readers.h"
#include "frames/JaggedFrame.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <sys/wait.h>

using namespace quillon;

namespace fs = std::filesystem;

namespace {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = TempDir(std::string("cli_") + info->name());
        // A data folder of the test's own: links to the build's decoration
        // library (tens of megabytes, not copied per test), plus stand-ins
        // for whatever it lacks that a style reads.
        data_ = dir_ + "/data";
        std::error_code ec;
        fs::create_directories(data_);
        for (fs::directory_iterator it(TestDataDir(), ec), end; !ec && it != end; it.increment(ec))
            fs::create_symlink(it->path(), data_ + "/" + it->path().filename().string(), ec);
        fs::create_directories(data_ + "/Ornate");
        SetStartFolder(data_);
        for (const char* piece : {"ru.res", "rc.res", "rl.res", "ll.res", "lc.res"})
            if (!fs::exists(data_ + "/" + piece))
                SaveBmpFile(*PlainPicture(6, 6, kGray), data_ + "/" + piece);
        if (!fs::exists(StartFolderFile("Ornate/_Orn001.bmp")))
            SaveBmpFile(*PlainPicture(10, 10, kOlive), data_ + "/Ornate/_Orn001.bmp");
    }

    RunResult Run(const std::vector<std::string>& args) {
        // Under the sanitizers a report ends the program with status 66, which
        // no test takes for a refusal.
        std::string cmd = "ASAN_OPTIONS=exitcode=66:detect_leaks=1 "
                          "UBSAN_OPTIONS=halt_on_error=1:exitcode=66 " +
                          Quote(QUILLON_FRAME_EXE) + " --data-dir " + Quote(data_);
        for (const auto& a : args) cmd.append(" ").append(Quote(a));
        const std::string out = dir_ + "/stdout.txt", err = dir_ + "/stderr.txt";
        cmd.append(" >").append(Quote(out));
        cmd.append(" 2>").append(Quote(err));
        cmd.append(" </dev/null");
        const int raw = std::system(cmd.c_str());
        RunResult r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = Slurp(out);
        r.err = Slurp(err);
        EXPECT_NE(r.status, 66) << "sanitizer report:\n" << r.err;
        return r;
    }

    std::string WritePhoto(const std::string& name, int w = 64, int h = 48) {
        const std::string path = dir_ + "/" + name;
        SaveBmpFile(*MakeTestPhoto(w, h), path);
        return path;
    }

    std::unique_ptr<Bitmap> Read(const std::string& path) { return LoadPictureFile(path); }

    // The framed picture the photo document makes in this process for a
    // style selected at 100 % zoom, after action ran on it.
    std::unique_ptr<Bitmap> FrameHere(const std::string& input, StyleId style,
                                      const std::function<void(PhotoDocument&)>& action = {},
                                      std::optional<std::uint32_t> seed = std::nullopt) {
        PhotoDocument doc;
        doc.SetSeed(seed);
        doc.Open(input, Zoom::Normal);
        doc.SelectStyle(style);
        if (action) action(doc);
        doc.DrawPictureCentred();
        doc.DrawFrame();
        auto out = std::make_unique<Bitmap>();
        out->Assign(*doc.Result());
        return out;
    }

    static bool SamePicture(const Bitmap& a, const Bitmap& b) {
        if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
        return true;
    }

    std::string dir_;
    std::string data_;
};

const char* const kStyleNames[] = {"corner",    "matte",   "jagged", "oval",   "diamond",
                                   "grayscale", "bubble",  "button", "ornate", "shadow",
                                   "mask",      "overlay", "box"};

} // namespace

// --- Information and usage ------------------------------------------------------

TEST_F(Cli, VersionHelpAndStyleList) {
    RunResult r = Run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Version 1.51"), std::string::npos);
    r = Run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--output-dir"), std::string::npos);
    EXPECT_NE(r.out.find("bmp|jpg|gif|png|webp"), std::string::npos);
    r = Run({"--list-styles"});
    EXPECT_EQ(r.status, 0);
    for (const char* name : kStyleNames) EXPECT_NE(r.out.find(name), std::string::npos) << name;
}

TEST_F(Cli, BadUsageExitsWithTwoAndSaysWhy) {
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"--style", "fancy", "a.bmp", "b.bmp"}, "unknown style"},
        {{"--style", "99", "a.bmp", "b.bmp"}, "unknown style"},
        {{"--sparkle", "a.bmp", "b.bmp"}, "unknown option --sparkle"},
        {{"a.bmp", "b.tga"}, "names no writer"},
        {{}, "need an INPUT"},
        {{"--data-dir", "/nonexistent/quillon", "a.bmp", "b.bmp"}, "does not exist"},
        {{"--style", "matte", "--pattern", "/nonexistent/p.bmp", "a.bmp", "b.bmp"},
         "cannot find the pattern file"},
    };
    for (const Case& c : cases) {
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(Cli, ReadFailureExitsWithOneAndNamesTheFile) {
    const std::string bad = dir_ + "/broken.bmp";
    std::ofstream(bad) << "this is no bitmap";
    RunResult r = Run({bad, dir_ + "/out.bmp"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_FALSE(fs::exists(dir_ + "/out.bmp"));
    r = Run({dir_ + "/missing.jpg", dir_ + "/out.bmp"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.jpg"), std::string::npos) << r.err;
}

// --- Framing ----------------------------------------------------------------------

TEST_F(Cli, PlainConversionKeepsThePicture) {
    const std::string in = WritePhoto("in.bmp");
    const RunResult r = Run({in, dir_ + "/copy.bmp"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(SamePicture(*Read(dir_ + "/copy.bmp"), *Read(in)));
}

// A GIF of a JPEG photo as it is gets its palette while the photo is
// decoded; the file is the writer's all the same, for an upright photo and
// for one the camera turned (whose palette is made after turning it).
TEST_F(Cli, GifOfAPhotoAsItIsHasTheWritersBytes) {
    const std::string in = dir_ + "/in.jpg";
    WriteFileReplacing(in, EncodeJpeg(*MakeTestPhoto(300, 220)));
    const std::string turned = dir_ + "/turned.jpg";
    fs::copy_file(in, turned);
    const bool canTurn = std::system(("exiftool -q -q -overwrite_original -n -Orientation=6 " +
                                      Quote(turned) + " >/dev/null 2>&1")
                                         .c_str()) == 0;
    for (const std::string& photo : {in, turned}) {
        if (photo == turned && !canTurn) continue;
        SCOPED_TRACE(photo);
        const RunResult r = Run({photo, dir_ + "/out.gif"});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::uint8_t> expected = EncodeGif(*Read(photo));
        EXPECT_TRUE(Slurp(dir_ + "/out.gif") == std::string(expected.begin(), expected.end()));
    }
}

TEST_F(Cli, EveryStyleByNameAndNumberMatchesTheDocument) {
    const std::string in = WritePhoto("in.bmp", 90, 70);
    for (int style = 0; style < kStyleCount; ++style) {
        SCOPED_TRACE(kStyleNames[style]);
        const std::string byName = dir_ + "/name.bmp", byNumber = dir_ + "/number.bmp";
        RunResult r = Run({"--seed", "7", "--style", kStyleNames[style], in, byName});
        ASSERT_EQ(r.status, 0) << r.err;
        r = Run({"--seed", "7", "--style", std::to_string(style), in, byNumber});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Slurp(byName), Slurp(byNumber));
        EXPECT_TRUE(SamePicture(*Read(byName), *FrameHere(in, StyleId(style), {}, 7)));
    }
}

TEST_F(Cli, EveryFrameOptionActsAsTheEditBarDoes) {
    const std::string in = WritePhoto("in.bmp", 80, 60);
    const std::string pattern = dir_ + "/tile.bmp";
    SaveBmpFile(*BitmapFromArt({"RW", "WR"}, {{'R', kRed}, {'W', kWhite}}), pattern);
    const std::string mask = dir_ + "/mask.bmp";
    SaveBmpFile(
        *BitmapFromArt({"WKW", "KAK", "WKW"}, {{'W', kWhite}, {'K', 0x202020}, {'A', 0x808080}}),
        mask);
    struct Case {
        StyleId style;
        std::vector<std::string> args;
        std::function<void(PhotoDocument&)> action;
    };
    const Case cases[] = {
        {StyleId::Matte,
         {"--frame-color", "00FF00"},
         [](PhotoDocument& d) {
             d.SetPattern("");
             d.SetFrameColor(kLime);
         }},
        {StyleId::Matte,
         {"--border-color", "0000FF"},
         [](PhotoDocument& d) { d.SetBorderColor(kBlue); }},
        {StyleId::Matte, {"--pattern", pattern}, [&](PhotoDocument& d) { d.SetPattern(pattern); }},
        {StyleId::Matte, {"--frame-height", "20"}, [](PhotoDocument& d) { d.SetFrameHeight(20); }},
        {StyleId::Matte, {"--frame-width", "15"}, [](PhotoDocument& d) { d.SetFrameWidth(15); }},
        {StyleId::Corner, {"--border-width", "3"}, [](PhotoDocument& d) { d.SetBorderWidth(3); }},
        {StyleId::Shadow, {"--scaled", "no"}, [](PhotoDocument& d) { d.SetScaled(false); }},
        {StyleId::Box,
         {"--scaled", "no", "--frame-color", "FF0000"},
         [](PhotoDocument& d) {
             d.SetPattern("");
             d.SetFrameColor(kRed);
             d.SetScaled(false);
         }},
        {StyleId::Mask,
         {"--pattern", mask, "--border-width", "40"},
         [&](PhotoDocument& d) {
             d.SetPattern(mask);
             d.SetBorderWidth(40);
         }},
        {StyleId::Overlay, {"--pattern", mask}, [&](PhotoDocument& d) { d.SetPattern(mask); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        std::vector<std::string> args = {"--style", kStyleNames[int(c.style)]};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back(in);
        args.push_back(dir_ + "/out.bmp");
        const RunResult r = Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        auto got = Read(dir_ + "/out.bmp");
        EXPECT_TRUE(SamePicture(*got, *FrameHere(in, c.style, c.action)));
        EXPECT_FALSE(SamePicture(*got, *FrameHere(in, c.style))) << "the option changed nothing";
    }
}

TEST_F(Cli, OrnatePictureSetsThicknessAndTransparentOnesLieOverThePhoto) {
    const std::string in = WritePhoto("in.bmp", 100, 80);
    const std::string gold = dir_ + "/Gold.bmp", trn = dir_ + "/GoldTrn.bmp";
    SaveBmpFile(*PlainPicture(24, 24, kOlive), gold);
    SaveBmpFile(*PlainPicture(24, 24, kOlive), trn);
    RunResult r = Run({"--style", "ornate", "--pattern", gold, in, dir_ + "/o1.bmp"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto round = Read(dir_ + "/o1.bmp");
    EXPECT_EQ(round->Width(), 148);
    EXPECT_EQ(round->Height(), 128);
    r = Run({"--style", "ornate", "--pattern", trn, in, dir_ + "/o2.bmp"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto over = Read(dir_ + "/o2.bmp");
    EXPECT_EQ(over->Width(), 100);
    EXPECT_EQ(over->Height(), 80);
}

TEST_F(Cli, ImageCommandsRunBeforeTheFrame) {
    const std::string in = WritePhoto("in.bmp", 40, 30);
    auto photo = Read(in);
    const std::string out = dir_ + "/out.bmp";

    ASSERT_EQ(Run({"--rotate", "right", in, out}).status, 0);
    auto r = Read(out);
    ASSERT_EQ(r->Width(), 30);
    EXPECT_EQ(r->Pixel(0, 0), photo->Pixel(0, 29)); // the former bottom-left

    ASSERT_EQ(Run({"--rotate", "180", "--rotate", "left", in, out}).status, 0);
    r = Read(out);
    EXPECT_EQ(r->Pixel(0, 0), photo->Pixel(0, 29));

    ASSERT_EQ(Run({"--gray", in, out}).status, 0);
    r = Read(out);
    for (int y = 0; y < 30; y += 3)
        for (int x = 0; x < 40; x += 3) {
            const Color c = photo->Pixel(x, y);
            const int g = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
            ASSERT_EQ(r->Pixel(x, y), RGB(g, g, g)) << x << "," << y;
        }

    ASSERT_EQ(Run({"--negative", in, out}).status, 0);
    EXPECT_EQ(Read(out)->Pixel(5, 6), photo->Pixel(5, 6) ^ 0xFFFFFFu);

    ASSERT_EQ(Run({"--crop", "2,3,12,9", in, out}).status, 0);
    r = Read(out);
    ASSERT_EQ(r->Width(), 10);
    ASSERT_EQ(r->Height(), 6);
    EXPECT_EQ(r->Pixel(0, 0), photo->Pixel(2, 3));
    EXPECT_EQ(r->Pixel(9, 5), photo->Pixel(11, 8));

    ASSERT_EQ(Run({"--resize", "20x15", "--style", "matte", in, out}).status, 0);
    r = Read(out);
    EXPECT_EQ(r->Width(), 20 + 2 * 1); // the matte is min(20, 15) / 10 thick
    EXPECT_EQ(r->Height(), 15 + 2 * 1);
}

TEST_F(Cli, ThenStacksFramesOnTheFramedResult) {
    const std::string in = WritePhoto("in.bmp", 200, 100);
    const std::string out = dir_ + "/out.bmp";
    // 200 x 100 gets a 10-pixel matte (220 x 120), which gets a 12-pixel one.
    RunResult r =
        Run({"--style", "matte", "--then", "--style", "matte", "--frame-color", "FF0000", in, out});
    ASSERT_EQ(r.status, 0) << r.err;
    auto stacked = Read(out);
    EXPECT_EQ(stacked->Width(), 244);
    EXPECT_EQ(stacked->Height(), 144);
    // The inner frame is now part of the photo: the same as framing the
    // first result on its own.
    ASSERT_EQ(Run({"--style", "matte", in, dir_ + "/first.bmp"}).status, 0);
    auto again = FrameHere(dir_ + "/first.bmp", StyleId::Matte, [](PhotoDocument& d) {
        d.SetPattern("");
        d.SetFrameColor(kRed);
    });
    EXPECT_TRUE(SamePicture(*stacked, *again));
}

TEST_F(Cli, LengthsInPercentAndPhysicalUnitsFollowThePhoto) {
    const std::string in = WritePhoto("big.bmp", 4000, 3000);
    const std::string out = dir_ + "/out.bmp";
    struct Case {
        std::vector<std::string> args;
        int width, height;
    };
    const Case cases[] = {
        // A tenth of the shorter side is a default again on a large photo.
        {{"--style", "matte"}, 4600, 3600},
        {{"--style", "matte", "--frame-width", "5%", "--frame-height", "5%"}, 4300, 3300},
        // 8 x 6 in holds the photo at 500 pixels an inch.
        {{"--print-size", "8x6in", "--style", "matte", "--frame-width", "0.5in", "--frame-height",
          "0.5in"},
         4500,
         3500},
        {{"--dpi", "300", "--style", "corner", "--frame-width", "1in", "--frame-height", "2.54cm"},
         4600,
         3600},
        // A deeper bottom.
        {{"--style", "matte", "--frame-width", "5%", "--frame-height", "5%", "--frame-bottom",
          "10%"},
         4300,
         3450},
        {{"--style", "corner", "--frame-width", "1500", "--frame-height", "0", "--frame-left",
          "10"},
         4000 + 10 + 1500,
         3000},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        SCOPED_TRACE(args[1] + " " + args.back());
        args.push_back(in);
        args.push_back(out);
        const RunResult r = Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto framed = Read(out);
        EXPECT_EQ(framed->Width(), c.width);
        EXPECT_EQ(framed->Height(), c.height);
    }
    // Half the shorter side is the most a length can be, in any unit.
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--style", "matte", "--frame-width", "1501"},
             {"--dpi", "1000", "--style", "matte", "--frame-width", "2in"},
             {"--style", "matte", "--frame-top", "1501"}}) {
        std::vector<std::string> a = args;
        a.push_back(in);
        a.push_back(out);
        const RunResult r = Run(a);
        EXPECT_EQ(r.status, 2) << a[a.size() - 3];
        EXPECT_NE(r.err.find("at most 1500"), std::string::npos) << r.err;
    }
}

TEST_F(Cli, MouldingShadowAndBubbleWidthsTakeAnyUnit) {
    // At 254 dpi a millimetre is ten pixels.
    const std::string in = WritePhoto("print.bmp", 400, 300);
    const std::string out = dir_ + "/out.bmp";
    struct Case {
        std::vector<std::string> args;
        StyleId style;
        std::function<void(PhotoDocument&)> same; // the same frame set in pixels
    };
    const Case cases[] = {
        {{"--dpi", "254", "--style", "ornate", "--frame-height", "1cm"},
         StyleId::Ornate,
         [](PhotoDocument& d) { d.SetFrameHeight(100); }},
        {{"--style", "ornate", "--frame-height", "10%"},
         StyleId::Ornate,
         [](PhotoDocument& d) { d.SetFrameHeight(30); }},
        {{"--dpi", "254", "--style", "shadow", "--frame-height", "3mm", "--border-width", "2mm"},
         StyleId::Shadow,
         [](PhotoDocument& d) {
             d.SetFrameHeight(30);
             d.SetBorderWidth(20);
         }},
        {{"--dpi", "300", "--style", "bubble", "--frame-height", "0.1in", "--frame-width", "5%",
          "--border-width", "1mm"},
         StyleId::Bubble,
         [](PhotoDocument& d) {
             d.SetFrameHeight(30);
             d.SetFrameWidth(15);
             d.SetBorderWidth(12);
         }},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        SCOPED_TRACE(args[args.size() - 3] + " " + args.back());
        args.push_back(in);
        args.push_back(out);
        const RunResult r = Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(SamePicture(*Read(out), *FrameHere(in, c.style, c.same)));
    }
    // The ornate frame grows round the photo by the moulding's width.
    ASSERT_EQ(Run({"--dpi", "254", "--style", "ornate", "--frame-height", "5mm", in, out}).status,
              0);
    EXPECT_EQ(Read(out)->Width(), 500);
    EXPECT_EQ(Read(out)->Height(), 400);
    // A physical width needs a resolution, as every length does.
    const RunResult r = Run({"--style", "shadow", "--border-width", "2mm", in, out});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--border-width 2mm"), std::string::npos) << r.err;
}

TEST_F(Cli, SmallPhotosKeepTheTwoHundredPixelLimit) {
    const std::string in = WritePhoto("small.bmp", 300, 200);
    const RunResult over = Run({"--style", "matte", "--frame-width", "201", in, dir_ + "/o.bmp"});
    EXPECT_EQ(over.status, 2);
    EXPECT_NE(over.err.find("at most 200"), std::string::npos) << over.err;
    ASSERT_EQ(Run({"--style", "matte", "--frame-width", "200", in, dir_ + "/o.bmp"}).status, 0);
    EXPECT_EQ(Read(dir_ + "/o.bmp")->Width(), 700);
}

TEST_F(Cli, ASavedRecipeFramesByteForByteAsItsOptions) {
    const std::string in = WritePhoto("in.bmp", 200, 150);
    const std::string recipe = dir_ + "/look.toml";
    const std::vector<std::string> options = {"--seed",
                                              "3",
                                              "--print-size",
                                              "4x3in",
                                              "--rotate",
                                              "left",
                                              "--style",
                                              "matte",
                                              "--frame-color",
                                              "F0E8D8",
                                              "--frame-width",
                                              "0.2in",
                                              "--frame-height",
                                              "5%",
                                              "--frame-bottom",
                                              "8%",
                                              "--then",
                                              "--style",
                                              "jagged",
                                              "--frame-width",
                                              "3"};
    std::vector<std::string> save = options;
    save.insert(save.end(), {"--save-recipe", recipe, in, dir_ + "/a.bmp"});
    RunResult r = Run(save);
    ASSERT_EQ(r.status, 0) << r.err;
    r = Run({"--recipe", recipe, in, dir_ + "/b.bmp"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(dir_ + "/a.bmp"), Slurp(dir_ + "/b.bmp"));
    // Saving alone needs no picture; batches take recipes too.
    ASSERT_EQ(Run({"--style", "oval", "--save-recipe", dir_ + "/oval.toml"}).status, 0);
    EXPECT_NE(Slurp(dir_ + "/oval.toml").find("style = 'oval'"), std::string::npos);
    r = Run({"--recipe", recipe, in, "--output-dir", dir_ + "/batch"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(dir_ + "/batch/in.bmp"), Slurp(dir_ + "/a.bmp"));
}

TEST_F(Cli, ABadRecipeIsRefusedWithItsLineBeforeAnythingIsWritten) {
    const std::string in = WritePhoto("in.bmp", 40, 30);
    const std::string recipe = dir_ + "/bad.toml";
    std::ofstream(recipe) << "version = 1\n[[group]]\nstyle = \"matte\"\nframe-width = \"9ft\"\n";
    const RunResult r = Run({"--recipe", recipe, in, dir_ + "/out.bmp"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("bad.toml:4: frame-width must be a length"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir_ + "/out.bmp"));
    EXPECT_EQ(Run({"--recipe", recipe, "--style", "oval", in, dir_ + "/out.bmp"}).status, 2);
}

TEST_F(Cli, PresetsAreListedAndFrameByName) {
    const RunResult list = Run({"--list-presets"});
    ASSERT_EQ(list.status, 0) << list.err;
    for (const char* name : {"Gallery mat", "Instant film", "Double mat", "Museum", "Torn paper"})
        EXPECT_NE(list.out.find(name), std::string::npos) << name;
    const std::string in = WritePhoto("in.bmp", 120, 90);
    const RunResult r = Run({"--preset", "instant film", in, dir_ + "/out.bmp"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto framed = Read(dir_ + "/out.bmp");
    // 7.5 % of 90 is 7 (6.75 rounded) at three sides; 28 % is 25 at the bottom.
    EXPECT_EQ(framed->Width(), 120 + 7 + 7);
    EXPECT_EQ(framed->Height(), 90 + 7 + 25);
    EXPECT_EQ(Run({"--preset", "nothing", in, dir_ + "/x.bmp"}).status, 2);
}

TEST_F(Cli, AStoreFramePrintsAtItsOuterSize) {
    const std::string in = WritePhoto("in.bmp", 120, 90);
    const RunResult r = Run({"--store-frame", "8x10in", "--opening", "5x7in", "--dpi", "50",
                             "--frame-color", "FFFFFF", in, dir_ + "/out.bmp"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto framed = Read(dir_ + "/out.bmp");
    EXPECT_EQ(framed->Width(), 500); // turned to the landscape photo: 10 x 8 in
    EXPECT_EQ(framed->Height(), 400);
    EXPECT_EQ(Run({"--store-frame", "8x10in", "--opening", "5x7in", "--crop-position", "1", "--dpi",
                   "50", in, dir_ + "/right.bmp"})
                  .status,
              0);
    EXPECT_NE(Slurp(dir_ + "/right.bmp"), Slurp(dir_ + "/out.bmp")) << "the crop box did not move";
    EXPECT_EQ(Run({"--store-frame", "8x10in", "--opening", "5x7in", "--crop-position", "1.5", in,
                   dir_ + "/x.bmp"})
                  .status,
              2);
    EXPECT_EQ(Run({"--store-frame", "8x10in", in, dir_ + "/out.bmp"}).status, 2);
    EXPECT_EQ(Run({"--store-frame", "8x10in", "--opening", "9x11in", in, dir_ + "/out.bmp"}).status,
              2);
}

TEST_F(Cli, ABatchNeverWritesOverItsOwnInputs) {
    fs::create_directories(dir_ + "/out");
    const std::string inside = dir_ + "/out/a.bmp";
    SaveBmpFile(*MakeTestPhoto(30, 20), inside);
    const std::string other = WritePhoto("b.bmp", 30, 20);
    const std::string before = Slurp(inside);
    // The same folder by another spelling: the comparison is by file, not name.
    const RunResult r =
        Run({"--style", "matte", inside, other, "--output-dir", dir_ + "/out/../out"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is one of the inputs; skipped"), std::string::npos) << r.err;
    EXPECT_TRUE(Slurp(inside) == before) << "an input was written over";
    EXPECT_TRUE(fs::exists(dir_ + "/out/b.bmp"));
}

TEST_F(Cli, CommandsThePictureCannotTakeAreUsageMistakes) {
    const std::string in = WritePhoto("in.bmp", 40, 30);
    RunResult r = Run({"--crop", "50,0,60,10", in, dir_ + "/o.bmp"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("outside the 40 x 30 picture"), std::string::npos) << r.err;
    r = Run({"--resize", "100000x100000", in, dir_ + "/o.bmp"});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_FALSE(fs::exists(dir_ + "/o.bmp"));
}

TEST_F(Cli, StylesWithoutTheirDataFilesAllFailAlike) {
    const std::string in = WritePhoto("in.bmp", 40, 30);
    const std::string empty = dir_ + "/empty";
    fs::create_directories(empty);
    for (const char* style : {"ornate", "shadow", "mask", "overlay"}) {
        const std::string cmd = std::string("--style=") + style;
        std::string q = Quote(QUILLON_FRAME_EXE) + " --data-dir " + Quote(empty) + " " +
                        Quote(cmd) + " " + Quote(in) + " " + Quote(dir_ + "/o.bmp") + " 2>" +
                        Quote(dir_ + "/err.txt");
        const int raw = std::system(q.c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1) << style;
        EXPECT_NE(Slurp(dir_ + "/err.txt").find("data folder " + empty + " has no"),
                  std::string::npos)
            << style << ": " << Slurp(dir_ + "/err.txt");
    }
}

TEST_F(Cli, SeedFixesTheJaggedEdge) {
    const std::string in = WritePhoto("in.bmp", 120, 90);
    ASSERT_EQ(Run({"--seed", "99", "--style", "jagged", in, dir_ + "/a.bmp"}).status, 0);
    ASSERT_EQ(Run({"--seed", "99", "--style", "jagged", in, dir_ + "/b.bmp"}).status, 0);
    EXPECT_EQ(Slurp(dir_ + "/a.bmp"), Slurp(dir_ + "/b.bmp"));
}

TEST_F(Cli, ConvertsAPictureOfEveryReadFormat) {
    // (Neither the test's name nor the files' may hold "JPG", "GIF" or
    // "BMP" by accident: the whole path picks the reader and the writer.)
    // One readable file per reader, taken from the readers' seed files and
    // named with an extension of that reader.
    const std::pair<const char*, const char*> readers[] = {
        {"bmp", "bmp"},      {"jpeg", "jpg"}, {"gif", "gif"}, {"png", "png"}, {"tiff", "tif"},
        {"tga", "tga"},      {"pcx", "pcx"},  {"sgi", "sgi"}, {"psd", "psd"}, {"pnm", "ppm"},
        {"autodesk", "cel"}, {"cut", "cut"},  {"rla", "rla"}, {"pcd", "pcd"}, {"psp", "psp"}};
    const fs::path corpus = fs::path(QUILLON_TEST_SOURCE_DIR).parent_path() / "fuzz" / "corpus";
    int n = 0;
    for (const auto& [reader, ext] : readers) {
        ++n;
        std::vector<fs::path> seeds;
        for (const auto& e : fs::directory_iterator(corpus / reader)) seeds.push_back(e.path());
        std::sort(seeds.begin(), seeds.end());
        std::unique_ptr<Bitmap> expected;
        std::string input;
        for (const auto& seed : seeds) {
            input = dir_ + "/picture." + ext;
            fs::copy_file(seed, input, fs::copy_options::overwrite_existing);
            try {
                expected = Read(input);
            } catch (const std::exception&) {
                continue; // a seed the reader refuses
            }
            if (expected && !expected->Empty()) break;
        }
        ASSERT_TRUE(expected && !expected->Empty()) << "no readable seed for " << reader;
        const std::string output = dir_ + "/out" + std::to_string(n) + ".bmp";
        const RunResult r = Run({input, output});
        ASSERT_EQ(r.status, 0) << reader << ": " << r.err;
        const auto written = Read(output);
        EXPECT_EQ(written->Width(), expected->Width()) << reader;
        EXPECT_EQ(written->Height(), expected->Height()) << reader;
    }
}

TEST_F(Cli, OutputFormatFollowsTheOutputName) {
    const std::string in = WritePhoto("in.bmp");
    for (const char* name : {"x.jpg", "x.JpEg", "x.gif", "x.bmp"}) {
        const RunResult r = Run({"--style", "oval", in, dir_ + "/" + name});
        if (r.status != 0 && r.err.find("not supported yet") != std::string::npos) continue;
        ASSERT_EQ(r.status, 0) << name << ": " << r.err;
        const std::string head = Slurp(dir_ + "/" + name).substr(0, 3);
        const char kind = char(std::tolower(name[2]));
        const std::string expected = kind == 'j' ? "\xFF\xD8\xFF" : kind == 'g' ? "GIF" : "BM";
        EXPECT_EQ(head.substr(0, expected.size()), expected) << name;
    }
}

// --- Batches ------------------------------------------------------------------------

TEST_F(Cli, BatchGoesOnPastACorruptFile) {
    const std::string a = WritePhoto("a.bmp"), c = WritePhoto("c.bmp", 30, 20);
    const std::string b = dir_ + "/b.bmp";
    std::ofstream(b) << "BM but nothing else";
    const std::string out = dir_ + "/framed";
    const RunResult r = Run({"--style", "matte", "--jobs", "2", a, b, c, "--output-dir", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("b.bmp"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::exists(out + "/a.bmp"));
    EXPECT_TRUE(fs::exists(out + "/c.bmp"));
    EXPECT_FALSE(fs::exists(out + "/b.bmp"));
    EXPECT_TRUE(SamePicture(*Read(out + "/c.bmp"), *FrameHere(c, StyleId::Matte)));
}

TEST_F(Cli, BatchWritesTheChosenFormatWhateverTheFolderIsCalled) {
    const std::string a = WritePhoto("a.bmp"), b = WritePhoto("b.bmp");
    // The folder's name holds "JPG"; the files must still be bitmaps.
    const std::string out = dir_ + "/jpg-folder";
    const RunResult r = Run({a, b, "--output-dir", out, "--format", "bmp", "--jobs", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(out + "/a.bmp").substr(0, 2), "BM");
    EXPECT_EQ(Slurp(out + "/b.bmp").substr(0, 2), "BM");
}

// PNG is lossless: the file reads back as the bitmap output does. WebP is
// lossy: decoded by dwebp, every channel stays near the bitmap output.
TEST_F(Cli, PngAndWebpOutputsHoldTheFramedPicture) {
    const std::string in = WritePhoto("photo.bmp");
    for (const char* out : {"framed.bmp", "framed.png", "framed.webp"}) {
        const RunResult r = Run({"--style", "matte", in, dir_ + "/" + out});
        ASSERT_EQ(r.status, 0) << out << ": " << r.err;
    }
    const auto bmp = Read(dir_ + "/framed.bmp");
    EXPECT_EQ(Slurp(dir_ + "/framed.png").substr(1, 3), "PNG");
    EXPECT_TRUE(SamePicture(*Read(dir_ + "/framed.png"), *bmp));

    EXPECT_EQ(Slurp(dir_ + "/framed.webp").substr(8, 4), "WEBP");
    if (std::system("command -v dwebp >/dev/null 2>&1") != 0) GTEST_SKIP() << "no dwebp";
    const std::string ppm = dir_ + "/framed-webp.ppm";
    ASSERT_EQ(
        std::system(
            ("dwebp -quiet -ppm " + Quote(dir_ + "/framed.webp") + " -o " + Quote(ppm)).c_str()),
        0);
    const auto webp = Read(ppm);
    ASSERT_EQ(webp->Width(), bmp->Width());
    ASSERT_EQ(webp->Height(), bmp->Height());
    // The test photo's sharp blue checks cost a lossy coder some detail; red
    // and blue swapped would cost far more.
    double total = 0, swapped = 0;
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x) {
            const Color a = bmp->Pixel(x, y), b = webp->Pixel(x, y);
            const int dg = std::abs(GetGValue(a) - GetGValue(b));
            total +=
                std::abs(GetRValue(a) - GetRValue(b)) + dg + std::abs(GetBValue(a) - GetBValue(b));
            swapped +=
                std::abs(GetRValue(a) - GetBValue(b)) + dg + std::abs(GetBValue(a) - GetRValue(b));
        }
    const double samples = 3.0 * bmp->Width() * bmp->Height();
    EXPECT_LT(total / samples, 10.0);
    EXPECT_GT(swapped, 3 * total);
}

TEST_F(Cli, BatchWritesPngAndWebpByFormat) {
    const std::string a = WritePhoto("a.bmp");
    for (const char* format : {"bmp", "png", "webp"}) {
        const std::string out = dir_ + "/out-" + format;
        const RunResult r =
            Run({"--style", "box", a, "--output-dir", out, "--format", format, "--jobs", "1"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(fs::exists(out + "/a." + format)) << format;
    }
    EXPECT_EQ(Slurp(dir_ + "/out-webp/a.webp").substr(0, 4), "RIFF");
    EXPECT_TRUE(SamePicture(*Read(dir_ + "/out-png/a.png"), *Read(dir_ + "/out-bmp/a.bmp")));
}

TEST_F(Cli, BatchReportsInputsThatWouldOverwriteEachOther) {
    fs::create_directories(dir_ + "/one");
    fs::create_directories(dir_ + "/two");
    const std::string a = WritePhoto("one/p.bmp"), b = WritePhoto("two/p.bmp");
    const RunResult r = Run({a, b, "--output-dir", dir_ + "/out"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("already writes"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::exists(dir_ + "/out/p.bmp"));
}
