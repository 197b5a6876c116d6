// Recipes: the file format read and written, its refusals, the presets, and
// framing by recipe.
#include "document/Presets.h"
#include "document/RecipeFile.h"

#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quillon;

namespace {

Recipe RichRecipe() {
    Recipe r;
    r.printSize = PrintSize{15, 10, LengthUnit::Centimetres};
    r.seed = 12;
    FrameGroup& a = r.groups[0];
    a.commands = {{ImageCommand::RotateLeft},
                  {ImageCommand::Gray},
                  {ImageCommand::Resize, 300, 200},
                  {ImageCommand::Crop, 1, 2, 299, 198}};
    a.style = StyleId::Matte;
    a.frameColor = RGB(0xF0, 0xE8, 0xD8);
    a.borderColor = kBlack;
    a.frameWidth = Length{0.5, LengthUnit::Inches};
    a.frameHeight = Length{12, LengthUnit::Millimetres};
    a.frameBottom = Length{8.5, LengthUnit::Percent};
    a.borderWidth = Length{2, LengthUnit::Pixels};
    FrameGroup b;
    b.commands = {{ImageCommand::Negative}};
    b.style = StyleId::Shadow;
    b.pattern = "Patterns/Oak's grain.bmp";
    b.scaled = false;
    b.frameHeight = Length{1.5, LengthUnit::Centimetres};
    r.groups.push_back(b);
    return r;
}

} // namespace

TEST(RecipeFile, WrittenRecipesReadBackTheSame) {
    const Recipe r = RichRecipe();
    const std::string text = RecipeText(r);
    EXPECT_EQ(ParseRecipe(text, "r.toml"), r) << text;
    // Written twice, the same bytes.
    EXPECT_EQ(RecipeText(ParseRecipe(text, "r.toml")), text);
    Recipe dpi;
    dpi.dpi = 300;
    dpi.groups[0].style = StyleId::Mask;
    dpi.groups[0].borderWidth = Length{40, LengthUnit::Pixels};
    EXPECT_EQ(ParseRecipe(RecipeText(dpi), "d.toml"), dpi);
}

TEST(RecipeFile, RefusalsNameTheFileTheLineAndWhatIsWrong) {
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"version = 1\n[[group]]\nstyle = \"matte\"\nframe-colour = \"FF0000\"\n",
         "r.toml:4: unknown key frame-colour"},
        {"version = 1\n[[group]]\nstyle = \"fancy\"\n", "r.toml:3: style must name a style"},
        {"version = 1\n[[group]]\nstyle = \"matte\"\nframe-width = true\n",
         "r.toml:4: frame-width must be a length"},
        {"version = 1\n[[group]]\nstyle = \"matte\"\nframe-width = \"60%\"\n",
         "r.toml:2: --frame-width must be at most 50%"},
        {"version = 1\n[[group]]\nstyle = \"matte\"\nframe-width = -4\n",
         "r.toml:4: frame-width must be a length"},
        {"version = 1\n[[group]]\nstyle = \"matte\"\nframe-color = \"red\"\n",
         "r.toml:4: frame-color must be a colour"},
        {"version = 1\n[[group]]\nstyle = \"oval\"\nscaled = true\n",
         "r.toml:2: --scaled is not a parameter of the oval style"},
        {"version = 1\n[[group]]\ncommands = [\"rotate 90\"]\n", "r.toml:3: a command is"},
        {"version = 1\n[[group]]\ncommands = [\"crop 5,5,2,9\"]\n", "r.toml:3: a command is"},
        {"version = 1\n[[group]]\nstyle = \"matte\"\nframe-width = \"1in\"\n",
         "r.toml:1: --frame-width 1in is a physical length"},
        {"version = 1\ndpi = 300\nprint-size = \"6x4in\"\n[[group]]\nstyle = \"matte\"\n",
         "not both"},
        {"version = 1\nprint-size = \"6x4\"\n[[group]]\n", "r.toml:2: print-size must be"},
        {"version = 2\n[[group]]\n", "r.toml:1: this program reads recipes of version 1"},
        {"version = 1\n", "r.toml:1: a recipe needs at least one [[group]]"},
        {"version = 1\n[[group]\n", "r.toml:2:"},
        {"version = 1\n[[group]]\nstyle = \"matte\"\n[[group]]\n",
         "r.toml:4: --then must be followed"},
    };
    for (const Case& c : cases) {
        try {
            ParseRecipe(c.text, "r.toml");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const RecipeError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos)
                << "got \"" << e.what() << "\", wanted \"" << c.says << "\"";
        }
    }
}

TEST(RecipeFile, SavedFileLoadsAndAMissingOneSaysSo) {
    const std::string dir = TempDir("recipe-file");
    const Recipe r = RichRecipe();
    SaveRecipe(r, dir + "/a.toml");
    EXPECT_EQ(LoadRecipe(dir + "/a.toml"), r);
    EXPECT_THROW(LoadRecipe(dir + "/missing.toml"), PictureError);
}

TEST(Presets, EveryShippedPresetIsListedAndReads) {
    const std::string user = TempDir("presets-user");
    const std::vector<PresetEntry> list = ListPresets(TestDataDir(), user);
    std::vector<std::string> names;
    for (const PresetEntry& p : list) {
        names.push_back(p.name);
        EXPECT_NO_THROW(LoadRecipe(p.file)) << p.name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Double mat", "Gallery mat", "Instant film",
                                               "Museum", "Torn paper"}));
    // A user's preset joins them, and one of the same name takes its place.
    std::ofstream(user + "/Mine.toml") << "version = 1\n[[group]]\nstyle = \"oval\"\n";
    std::ofstream(user + "/museum.toml") << "version = 1\n[[group]]\nstyle = \"box\"\n";
    const auto mine = FindPreset("mine", TestDataDir(), user);
    ASSERT_TRUE(mine);
    EXPECT_TRUE(mine->user);
    const auto museum = FindPreset("Museum", TestDataDir(), user);
    ASSERT_TRUE(museum);
    EXPECT_EQ(LoadRecipe(museum->file).groups[0].style, StyleId::Box);
    EXPECT_FALSE(FindPreset("nothing", TestDataDir(), user));
}

TEST(Presets, EachFramesThePhotoAsItsGoldenShows) {
    SetStartFolder(TestDataDir());
    const std::string dir = TempDir("presets-golden");
    const std::string photo = dir + "/photo.bmp";
    SaveBmpFile(*MakeTestPhoto(160, 120), photo);
    for (const PresetEntry& p : ListPresets(TestDataDir(), "")) {
        const auto doc = FrameByRecipe(photo, LoadRecipe(p.file));
        std::string golden = "preset-" + p.name;
        for (char& c : golden)
            if (c == ' ') c = '-';
        EXPECT_TRUE(MatchesGolden(*doc->Result(), golden)) << p.name;
    }
}

TEST(Recipe, PercentAndPrintLengthsFollowThePhotoAsOpened) {
    SetStartFolder(TestDataDir());
    const std::string dir = TempDir("recipe-lengths");
    const std::string photo = dir + "/photo.bmp";
    SaveBmpFile(*MakeTestPhoto(400, 300), photo);
    Recipe r;
    r.dpi = 100;
    r.groups[0].style = StyleId::Matte;
    r.groups[0].frameWidth = Length{10, LengthUnit::Percent};  // 30
    r.groups[0].frameHeight = Length{0.2, LengthUnit::Inches}; // 20
    FrameGroup outer;
    outer.style = StyleId::Matte;
    outer.frameWidth = outer.frameHeight = Length{5, LengthUnit::Percent}; // of 300, not 340
    r.groups.push_back(outer);
    const auto doc = FrameByRecipe(photo, r);
    EXPECT_EQ(doc->Result()->Width(), 400 + 60 + 30);
    EXPECT_EQ(doc->Result()->Height(), 300 + 40 + 30);
    // A length the photo cannot take is refused, naming it.
    r.groups[0].frameWidth = Length{3, LengthUnit::Inches}; // 300 > 150
    try {
        FrameByRecipe(photo, r);
        ADD_FAILURE() << "accepted";
    } catch (const SettingError& e) {
        EXPECT_NE(std::string(e.what()).find("--frame-width 3in is 300 pixels"), std::string::npos)
            << e.what();
    }
}

TEST(StoreFrame, CropsToTheOpeningAndPrintsAtTheOuterSize) {
    SetStartFolder(TestDataDir());
    const std::string dir = TempDir("store-frame");
    const std::string photo = dir + "/photo.bmp";
    SaveBmpFile(*MakeTestPhoto(1200, 900), photo);
    struct Case {
        PrintSize outer, opening;
        std::optional<double> dpi;
        int width, height;  // the result
        int photoW, photoH; // the photo inside it
    };
    const Case cases[] = {
        // Landscape photo: the 13 x 18 cm frame turns to 18 x 13. The photo
        // is cropped to 13:9 (1200 x 831) and sets 234.46 pixels an inch.
        {{13, 18, LengthUnit::Centimetres},
         {9, 13, LengthUnit::Centimetres},
         {},
         1662,
         1200,
         1200,
         831},
        // At 100 pixels an inch: exactly 18 x 13 cm and a 13 x 9 cm opening.
        {{13, 18, LengthUnit::Centimetres},
         {9, 13, LengthUnit::Centimetres},
         100.0,
         709,
         512,
         512,
         354},
        // Inches, the opening given in millimetres.
        {{10, 8, LengthUnit::Inches},
         {177.8, 127, LengthUnit::Millimetres},
         50.0,
         500,
         400,
         350,
         250},
    };
    for (const Case& c : cases) {
        Recipe r;
        r.storeFrame = StoreFrame{c.outer, c.opening};
        r.dpi = c.dpi;
        r.groups[0].frameColor = RGB(0x20, 0x30, 0x40);
        const auto doc = FrameByRecipe(photo, r);
        SCOPED_TRACE(std::to_string(c.width));
        EXPECT_EQ(doc->Result()->Width(), c.width);
        EXPECT_EQ(doc->Result()->Height(), c.height);
        EXPECT_EQ(doc->GetPictureWidth(), c.photoW);
        EXPECT_EQ(doc->GetPictureHeight(), c.photoH);
        EXPECT_EQ(doc->Result()->Pixel(1, 1), RGB(0x20, 0x30, 0x40));
        // The recipe file keeps the store frame.
        EXPECT_EQ(ParseRecipe(RecipeText(r), "s.toml"), r);
    }
    Recipe bad;
    bad.storeFrame =
        StoreFrame{{9, 13, LengthUnit::Centimetres}, {10, 15, LengthUnit::Centimetres}};
    EXPECT_THROW(CheckRecipe(bad), RecipeError);
    bad.storeFrame =
        StoreFrame{{13, 18, LengthUnit::Centimetres}, {9, 13, LengthUnit::Centimetres}};
    bad.groups[0].frameWidth = Length{4, LengthUnit::Pixels};
    EXPECT_THROW(CheckRecipe(bad), RecipeError);
}

TEST(StoreFrame, TheCropPositionMovesTheCropBox) {
    SetStartFolder(TestDataDir());
    const std::string dir = TempDir("store-frame-crop");
    const std::string photo = dir + "/photo.bmp";
    auto picture = MakeTestPhoto(300, 100); // cut to 3:2 the width loses 150 pixels
    SaveBmpFile(*picture, photo);
    for (const double at : {0.0, 0.5, 1.0}) {
        Recipe r;
        r.dpi = 10;
        r.storeFrame = StoreFrame{{20, 13, LengthUnit::Inches}, {15, 10, LengthUnit::Inches}, at};
        const auto doc = FrameByRecipe(photo, r);
        // At 10 pixels an inch the 150 x 100 crop fills the opening as it is;
        // the photo's first column is the source's column at the crop box.
        const int x0 = int(150 * at);
        const Bitmap& framed = *doc->Result();
        const int left = (200 - 150) / 2, top = (130 - 100) / 2;
        for (int y = 5; y < 100; y += 30)
            EXPECT_EQ(framed.Pixel(left + 3, top + y), picture->Pixel(x0 + 3, y)) << at;
        EXPECT_EQ(ParseRecipe(RecipeText(r), "c.toml"), r) << RecipeText(r);
    }
    Recipe bad;
    bad.storeFrame = StoreFrame{{20, 13, LengthUnit::Inches}, {15, 10, LengthUnit::Inches}, 1.5};
    EXPECT_THROW(CheckRecipe(bad), RecipeError);
    EXPECT_THROW(ParseRecipe("version = 1\nstore-frame = \"20x13in\"\nopening = \"15x10in\"\n"
                             "crop-position = 2\n[[group]]\n",
                             "c.toml"),
                 RecipeError);
}
