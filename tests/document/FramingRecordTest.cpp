#include "document/FramingRecord.h"
#include "formats/DataPaths.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(FramingRecord, LengthTextsAndSizesAfterCommands) {
    EXPECT_EQ(LengthValueText(0.5), "0.5");
    EXPECT_EQ(LengthValueText(12), "12");
    EXPECT_EQ(LengthValueText(1.255), "1.25"); // 1.25499.. in binary
    EXPECT_EQ(LengthValueText(0.004), "0");
    EXPECT_EQ(LengthValueText(50.800000000000004), "50.8");
    int w = 300, h = 200;
    SizeAfterCommands({{ImageCommand::RotateRight},
                       {ImageCommand::Gray},
                       {ImageCommand::Crop, 10, 20, 150, 500}, // clipped to 200 x 300
                       {ImageCommand::Rotate180}},
                      w, h);
    EXPECT_EQ(w, 140);
    EXPECT_EQ(h, 280);
    SizeAfterCommands({{ImageCommand::Resize, 64, 48}, {ImageCommand::Crop, 70, 0, 90, 10}}, w, h);
    EXPECT_EQ(w, 64); // a crop outside the picture keeps nothing and is ignored
    EXPECT_EQ(h, 48);
    EXPECT_DOUBLE_EQ(PixelsInUnit(50, LengthUnit::Percent, 400, 100), 12.5);
    EXPECT_DOUBLE_EQ(PixelsInUnit(50, LengthUnit::Inches, 400, 100), 0.5);
    EXPECT_DOUBLE_EQ(PixelsInUnit(50, LengthUnit::Centimetres, 400, 100), 1.27);
}

TEST(FramingRecord, GroupsFollowStylesSettingsAndAppliedFrames) {
    FramingRecord r;
    r.Start(600, 400);
    r.AddCommand({ImageCommand::RotateRight}, 400, 600);
    EXPECT_EQ(r.BaseWidth(), 400);
    r.ChooseStyle(StyleId::Matte, Zoom::Normal);
    r.SetPattern(StartFolder() + "/Patterns/Oak.bmp");
    r.SetFrameColor(RGB(1, 2, 3)); // the colour takes the pattern's place
    r.SetLength(EditField::FrameHeight, {0.5, LengthUnit::Inches});
    r.ChooseStyle(StyleId::Corner, Zoom::Normal);
    r.SetPattern(StartFolder() + "/Patterns/Oak.bmp");
    r.ChooseStyle(StyleId::Matte, Zoom::Normal); // back, with its settings
    EditUnits units;
    units.dpi = 300;
    Recipe recipe = r.ToRecipe(nullptr, units);
    ASSERT_EQ(recipe.groups.size(), 1u);
    EXPECT_EQ(recipe.groups[0].frameColor, RGB(1, 2, 3));
    EXPECT_FALSE(recipe.groups[0].pattern);
    EXPECT_EQ(recipe.dpi, 300.0);
    EXPECT_FALSE(recipe.printSize);

    PhotoDocument none;
    r.ApplyFrame(none);
    r.AddCommand({ImageCommand::Gray}, 500, 700);
    EXPECT_EQ(r.BaseWidth(), 400); // lengths still refer to the first group's photo
    recipe = r.ToRecipe(nullptr, EditUnits{});
    ASSERT_EQ(recipe.groups.size(), 2u);
    EXPECT_EQ(recipe.groups[0].commands.size(), 1u);
    EXPECT_EQ(recipe.groups[1].commands.size(), 1u);
    EXPECT_FALSE(recipe.groups[1].style);
    EXPECT_EQ(recipe.printSize, (PrintSize{6, 4, LengthUnit::Inches}));
    EXPECT_NO_THROW(CheckRecipe(recipe));
    // Right after an applied frame nothing is left to do in the new group.
    r.ChooseStyle(StyleId::Corner, Zoom::Normal);
    r.SetPattern(StartFolder() + "/Patterns/Oak.bmp");
    r.ApplyFrame(none);
    recipe = r.ToRecipe(nullptr, EditUnits{});
    ASSERT_EQ(recipe.groups.size(), 2u);
    EXPECT_EQ(recipe.groups[1].pattern, std::optional<std::string>("Patterns/Oak.bmp"));
}

TEST(FramingRecord, AMouldingChosenAfterAWidthTakesItsOwn) {
    // The document gives a newly chosen moulding its picture's height; the
    // recipe must not put the earlier width back.
    FramingRecord r;
    r.Start(600, 400);
    r.ChooseStyle(StyleId::Ornate, Zoom::Normal);
    r.SetLength(EditField::FrameHeight, {1, LengthUnit::Centimetres});
    r.SetPattern(StartFolder() + "/Ornate/Gold Rope.bmp");
    Recipe recipe = r.ToRecipe(nullptr, EditUnits{});
    EXPECT_FALSE(recipe.groups[0].frameHeight);
    r.SetLength(EditField::FrameHeight, {5, LengthUnit::Millimetres});
    recipe = r.ToRecipe(nullptr, EditUnits{});
    EXPECT_EQ(recipe.groups[0].frameHeight, (Length{5, LengthUnit::Millimetres}));
    EXPECT_EQ(recipe.groups[0].pattern, std::optional<std::string>("Ornate/Gold Rope.bmp"));
}

TEST(FramingRecord, AnAdoptedRecipeKeepsTheCommandsBeforeIt) {
    Recipe applied;
    applied.groups[0].commands = {{ImageCommand::Negative}, {ImageCommand::RotateLeft}};
    applied.groups[0].style = StyleId::Matte;
    applied.groups.emplace_back();
    applied.groups[1].style = StyleId::Corner;
    applied.groups[1].frameWidth = Length{3, LengthUnit::Percent};
    FramingRecord r;
    r.Start(300, 200);
    r.AddCommand({ImageCommand::Gray}, 300, 200);
    r.Adopt(applied, 300, 200);
    EXPECT_EQ(r.BaseWidth(), 200);
    EXPECT_EQ(r.CurrentStyle(), StyleId::Corner);
    EXPECT_EQ(r.GivenLength(EditField::FrameWidth), (Length{3, LengthUnit::Percent}));
    const Recipe again = r.ToRecipe(nullptr, EditUnits{});
    ASSERT_EQ(again.groups.size(), 2u);
    EXPECT_EQ(again.groups[0].commands.size(), 3u);
    EXPECT_EQ(again.groups[0].commands[0].kind, ImageCommand::Gray);
    EXPECT_EQ(again.groups[1], applied.groups[1]);
}
