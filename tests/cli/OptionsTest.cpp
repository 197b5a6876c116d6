#include "cli/Options.h"
#include "cli/Batch.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

CliOptions Parse(std::vector<std::string> args) {
    return ParseOptions(args);
}

// The message of the usage error args raise, or "" when they parse.
std::string UsageMessage(std::vector<std::string> args) {
    try {
        ParseOptions(args);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(Options, StylesByNameAndNumber) {
    const char* names[] = {"corner", "matte",  "jagged", "oval", "diamond", "grayscale", "bubble",
                           "button", "ornate", "shadow", "mask", "overlay", "box"};
    for (int i = 0; i < kStyleCount; ++i) {
        EXPECT_EQ(FindStyle(names[i]), StyleId(i));
        EXPECT_EQ(FindStyle(std::to_string(i)), StyleId(i));
        EXPECT_EQ(Parse({"--style", names[i], "a.bmp", "b.bmp"}).recipe.groups[0].style,
                  StyleId(i));
    }
    for (const char* bad : {"13", "-1", "Matte", "", "1x", "standard"})
        EXPECT_EQ(FindStyle(bad), std::nullopt) << bad;
}

TEST(Options, FrameOptionsAndCommandsGoToTheirGroup) {
    const CliOptions o = Parse({"--rotate", "left", "--style=matte", "--frame-color", "FF8000",
                                "in.jpg", "--gray", "--then", "--style", "box", "--scaled", "no",
                                "--border-color", "#000102", "out.gif", "--crop", "1,2,30,40"});
    ASSERT_EQ(o.recipe.groups.size(), 2u);
    EXPECT_EQ(o.recipe.groups[0].style, StyleId::Matte);
    EXPECT_EQ(*o.recipe.groups[0].frameColor, RGB(255, 128, 0)); // red in the low byte
    ASSERT_EQ(o.recipe.groups[0].commands.size(), 2u);
    EXPECT_EQ(o.recipe.groups[0].commands[0].kind, ImageCommand::RotateLeft);
    EXPECT_EQ(o.recipe.groups[0].commands[1].kind, ImageCommand::Gray);
    EXPECT_EQ(o.recipe.groups[1].style, StyleId::Box);
    EXPECT_EQ(*o.recipe.groups[1].scaled, false);
    EXPECT_EQ(*o.recipe.groups[1].borderColor, RGB(0, 1, 2));
    ASSERT_EQ(o.recipe.groups[1].commands.size(), 1u);
    EXPECT_EQ(o.recipe.groups[1].commands[0].c, 30);
    EXPECT_EQ(o.inputs, std::vector<std::string>{"in.jpg"});
    EXPECT_EQ(o.output, "out.gif");
}

TEST(Options, BatchFormAndGlobalOptions) {
    const CliOptions o = Parse({"a.jpg", "b.png", "--output-dir", "out", "--format", "gif",
                                "--jobs", "3", "--seed", "42", "--data-dir", "/d"});
    EXPECT_EQ(o.inputs.size(), 2u);
    EXPECT_EQ(o.format, OutputFormat::Gif);
    EXPECT_EQ(o.jobs, 3);
    EXPECT_EQ(*o.recipe.seed, 42u);
    EXPECT_EQ(o.dataDir, "/d");
}

TEST(Options, UsageMistakesAreNamed) {
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"--style", "fancy", "a.bmp", "b.bmp"}, "unknown style \"fancy\""},
        {{"--frobnicate", "a.bmp", "b.bmp"}, "unknown option --frobnicate"},
        {{"a.bmp"}, "need an INPUT and an OUTPUT"},
        {{"a.bmp", "b.bmp", "c.bmp"}, "several inputs need --output-dir"},
        {{"a.bmp", "b.tga"}, "names no writer"},
        {{"--style", "matte", "--frame-color", "F00", "a.bmp", "b.bmp"}, "RRGGBB"},
        {{"--style", "matte", "--frame-color", "GG0000", "a.bmp", "b.bmp"}, "RRGGBB"},
        {{"--style", "matte", "--frame-height", "51%", "a.bmp", "b.bmp"}, "at most 50%"},
        {{"--style", "matte", "--frame-width", "-1", "a.bmp", "b.bmp"}, "expects a length"},
        {{"--style", "matte", "--frame-width", "2.5", "a.bmp", "b.bmp"}, "expects a length"},
        {{"--style", "matte", "--frame-width", "2ft", "a.bmp", "b.bmp"}, "expects a length"},
        {{"--style", "matte", "--frame-width", "1in", "a.bmp", "b.bmp"},
         "give --print-size or --dpi"},
        {{"--style", "matte", "--frame-top", "5mm", "a.bmp", "b.bmp"},
         "--frame-top 5mm is a physical"},
        {{"--style", "oval", "--frame-top", "5", "a.bmp", "b.bmp"}, "not parameters of the oval"},
        {{"--style", "mask", "--border-width", "2%", "a.bmp", "b.bmp"}, "between 0 and 255"},
        {{"--print-size", "6x4", "a.bmp", "b.bmp"}, "WIDTHxHEIGHT with a unit"},
        {{"--print-size", "6x4%", "a.bmp", "b.bmp"}, "WIDTHxHEIGHT with a unit"},
        {{"--print-size", "6x4in", "--dpi", "300", "a.bmp", "b.bmp"}, "not both"},
        {{"--style", "mask", "--border-width", "256", "a.bmp", "b.bmp"}, "between 0 and 255"},
        {{"--style", "button", "--frame-width", "5", "a.bmp", "b.bmp"}, "not a parameter"},
        {{"--style", "ornate", "--frame-color", "FF0000", "a.bmp", "b.bmp"}, "not a parameter"},
        {{"--style", "matte", "--scaled", "maybe", "a.bmp", "b.bmp"}, "yes or no"},
        {{"--frame-color", "FF0000", "a.bmp", "b.bmp"}, "need a --style"},
        {{"--style", "matte", "--then", "a.bmp", "b.bmp"}, "--then must be followed"},
        {{"--style", "matte", "--style", "box", "a.bmp", "b.bmp"}, "one --style per group"},
        {{"--rotate", "90", "a.bmp", "b.bmp"}, "right, left or 180"},
        {{"--resize", "10x", "a.bmp", "b.bmp"}, "WIDTHxHEIGHT"},
        {{"--resize", "0x10", "a.bmp", "b.bmp"}, "at least 1x1"},
        {{"--crop", "5,5,5,9", "a.bmp", "b.bmp"}, "RIGHT > LEFT"},
        {{"--crop", "1,2,3", "a.bmp", "b.bmp"}, "LEFT,TOP,RIGHT,BOTTOM"},
        {{"a.bmp", "--format", "tga", "--output-dir", "o"}, "bmp, jpg, gif, png or webp"},
        {{"a.bmp", "b.bmp", "--format", "gif"}, "--format goes with --output-dir"},
        {{"--output-dir", "o"}, "no INPUT"},
        {{"--seed", "-3", "a.bmp", "b.bmp"}, "--seed"},
        {{"--gray=yes", "a.bmp", "b.bmp"}, "takes no value"},
        {{"a.bmp", "b.bmp", "--style"}, "needs a value"},
    };
    for (const Case& c : cases) {
        const std::string m = UsageMessage(c.args);
        EXPECT_NE(m.find(c.says), std::string::npos)
            << "got \"" << m << "\", wanted \"" << c.says << "\"";
    }
}

TEST(Options, PlainConversionAndInformationNeedNoStyle) {
    EXPECT_EQ(UsageMessage({"a.png", "b.jpg"}), "");
    EXPECT_EQ(UsageMessage({"--gray", "a.png", "b.jpg"}), "");
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_TRUE(Parse({"--list-styles"}).listStyles);
    EXPECT_TRUE(Parse({"--version"}).version);
    EXPECT_TRUE(Parse({"a.jpg", "b.bmp"}).autoOrient);
    EXPECT_FALSE(Parse({"--no-auto-orient", "a.jpg", "b.bmp"}).autoOrient);
}

TEST(Options, StyleListShowsEveryStyleWithItsOptions) {
    const std::string text = StyleListText();
    for (const char* word : {" 0 corner", "12 box", "Grainy Edge.jpg", "Brightness Level",
                             "min(W,H)/10", "H/15", "Gradient Effect"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
    EXPECT_TRUE(StyleHasOption(StyleId(7), "--frame-height"));
    EXPECT_FALSE(StyleHasOption(StyleId(7), "--frame-width"));
    EXPECT_TRUE(StyleHasOption(StyleId(10), "--border-width"));
    EXPECT_FALSE(StyleHasOption(StyleId(11), "--frame-color"));
}

TEST(Options, BatchOutputsTakeTheFormatsExtensionAndNeverCollide) {
    const auto paths = BatchOutputPaths({"/p/a.jpg", "/q/b.photo.png", "/r/a.bmp", "c"}, "out",
                                        OutputFormat::Jpeg);
    EXPECT_EQ(paths[0], "out/a.jpg");
    EXPECT_EQ(paths[1], "out/b.photo.jpg");
    EXPECT_EQ(paths[2], ""); // would overwrite the first
    EXPECT_EQ(paths[3], "out/c.jpg");
}
