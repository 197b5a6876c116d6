// Lengths with units and the pixels they come to.
#include "frames/Length.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quillon;

TEST(Length, ParsesEveryUnitAndRefusesTheRest) {
    struct Case {
        const char* text;
        double value;
        LengthUnit unit;
    };
    for (const Case c :
         {Case{"12", 12, LengthUnit::Pixels}, Case{"0", 0, LengthUnit::Pixels},
          Case{"5%", 5, LengthUnit::Percent}, Case{"2.5%", 2.5, LengthUnit::Percent},
          Case{"15mm", 15, LengthUnit::Millimetres}, Case{"1.5cm", 1.5, LengthUnit::Centimetres},
          Case{"0.5in", 0.5, LengthUnit::Inches}}) {
        const auto l = ParseLength(c.text);
        ASSERT_TRUE(l) << c.text;
        EXPECT_EQ(l->value, c.value) << c.text;
        EXPECT_EQ(l->unit, c.unit) << c.text;
        EXPECT_EQ(ParseLength(FormatLength(*l)), l) << c.text;
    }
    for (const char* bad :
         {"", "%", "in", "-1", "-2%", "2.5", "1e999in", "nan%", "3 mm", "4px", "12pt", "0x10"})
        EXPECT_FALSE(ParseLength(bad)) << bad;
}

TEST(Length, PixelsRoundHalfAwayFromZero) {
    // 5 % of a 3000-pixel side; half a pixel goes up.
    EXPECT_EQ(LengthInPixels({5, LengthUnit::Percent}, 3000, std::nullopt), 150);
    EXPECT_EQ(LengthInPixels({2.5, LengthUnit::Percent}, 101, std::nullopt), 3); // 2.525
    EXPECT_EQ(LengthInPixels({0.5, LengthUnit::Percent}, 100, std::nullopt), 1); // 0.5
    EXPECT_EQ(LengthInPixels({0.49, LengthUnit::Percent}, 100, std::nullopt), 0);
    EXPECT_EQ(LengthInPixels({17, LengthUnit::Pixels}, 10, std::nullopt), 17);
    // 25.4 mm is an inch, 2.54 cm too.
    EXPECT_EQ(LengthInPixels({25.4, LengthUnit::Millimetres}, 0, 300.0), 300);
    EXPECT_EQ(LengthInPixels({2.54, LengthUnit::Centimetres}, 0, 300.0), 300);
    EXPECT_EQ(LengthInPixels({0.5, LengthUnit::Inches}, 0, 301.0), 151); // 150.5
    EXPECT_THROW(LengthInPixels({1, LengthUnit::Inches}, 100, std::nullopt), std::invalid_argument);
}

TEST(Length, PrintSizeGivesTheResolutionAtWhichThePhotoFits) {
    // 4000 x 3000 in 8 x 6 in: 500 pixels an inch; in 6 x 4 in the height
    // decides, 750.
    EXPECT_DOUBLE_EQ(ResolutionForPrintSize(4000, 3000, 8, 6, LengthUnit::Inches), 500);
    EXPECT_DOUBLE_EQ(ResolutionForPrintSize(4000, 3000, 6, 4, LengthUnit::Inches), 750);
    // At that resolution the photo is 5.33 x 4 in: inside the box.
    EXPECT_LE(4000 / ResolutionForPrintSize(4000, 3000, 6, 4, LengthUnit::Inches), 6.0);
    EXPECT_DOUBLE_EQ(ResolutionForPrintSize(3000, 2000, 150, 100, LengthUnit::Millimetres),
                     3000 / (150 / 25.4));
    EXPECT_DOUBLE_EQ(ResolutionForPrintSize(2000, 3000, 150, 100, LengthUnit::Millimetres),
                     3000 / (100 / 25.4)); // a portrait photo in a landscape box
    EXPECT_THROW(ResolutionForPrintSize(10, 10, 0, 4, LengthUnit::Inches), std::invalid_argument);
}
