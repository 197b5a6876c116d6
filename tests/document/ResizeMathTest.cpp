#include "document/ResizeMath.h"

#include "canvas/Types.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// Sets one edit's text as the dialog would and runs its change handler.
enum EditStep { WidthPerc, HeightPerc, PixWidth, PixHeight };

void Type(ResizeEdits& e, EditStep edit, const std::string& text, bool aspect, float ow, float oh) {
    switch (edit) {
    case WidthPerc:
        e.WidthPerc = text;
        return WidthPercChanged(e, aspect, ow, oh);
    case HeightPerc:
        e.HeightPerc = text;
        return HeightPercChanged(e, aspect, ow, oh);
    case PixWidth:
        e.PixWidth = text;
        return PixWidthChanged(e, aspect, ow, oh);
    case PixHeight:
        e.PixHeight = text;
        return PixHeightChanged(e, aspect, ow, oh);
    }
}

} // namespace

TEST(ResizeMath, LinkedValues) {
    struct Case {
        const char* name;
        float ow, oh;
        bool aspect;
        EditStep edit;
        const char* text;
        ResizeEdits expected;
    };
    const Case cases[] = {
        {"half of 640x480", 640, 480, true, WidthPerc, "50", {"50", "50", "320", "240"}},
        {"pixel width 100", 640, 480, true, PixWidth, "100", {"15", "15", "100", "75"}},
        {"33.3 % of 333 truncates 110.889",
         333,
         333,
         true,
         WidthPerc,
         "33.3",
         {"33.3", "33.3", "110", "110"}},
        {"aspect off: only pixel width",
         640,
         480,
         false,
         WidthPerc,
         "50",
         {"50", "100", "320", "480"}},
        {"height percent mirrors", 640, 480, true, HeightPerc, "25", {"25", "25", "160", "120"}},
        {"pixel height mirrors", 640, 480, true, PixHeight, "240", {"50", "50", "320", "240"}},
        {"pixel height aspect off", 640, 480, false, PixHeight, "120", {"100", "25", "640", "120"}},
        {"emptied edit changes nothing", 640, 480, true, WidthPerc, "", {"", "100", "640", "480"}},
    };
    for (const Case& c : cases) {
        ResizeEdits e = InitialResizeEdits(int(c.ow), int(c.oh));
        Type(e, c.edit, c.text, c.aspect, c.ow, c.oh);
        EXPECT_EQ(e.WidthPerc, c.expected.WidthPerc) << c.name;
        EXPECT_EQ(e.HeightPerc, c.expected.HeightPerc) << c.name;
        EXPECT_EQ(e.PixWidth, c.expected.PixWidth) << c.name;
        EXPECT_EQ(e.PixHeight, c.expected.PixHeight) << c.name;
    }
}

TEST(ResizeMath, TypingFollowsTheLastKeystrokeAndLinkingSurvivesAnEmptyEdit) {
    ResizeEdits e = InitialResizeEdits(640, 480);
    for (const char* text : {"1", "15", "150"}) Type(e, WidthPerc, text, true, 640, 480);
    EXPECT_EQ(e.PixWidth, "960");
    EXPECT_EQ(e.PixHeight, "720");
    Type(e, PixWidth, "", true, 640, 480);
    EXPECT_EQ(e.PixHeight, "720");
    Type(e, PixWidth, "64", true, 640, 480);
    EXPECT_EQ(e.PixHeight, "48");
    EXPECT_EQ(e.WidthPerc, "10");
}

TEST(ResizeMath, BadTextIsRefusedWithTheConversionMessageAndChangesNothing) {
    ResizeEdits e = InitialResizeEdits(640, 480);
    e.WidthPerc = "5x";
    try {
        WidthPercChanged(e, true, 640, 480);
        FAIL() << "no error";
    } catch (const PictureError& err) {
        EXPECT_STREQ(err.what(), "'5x' is not a valid floating point value");
    }
    EXPECT_EQ(e.PixWidth, "640");
    for (const char* bad : {"abc", "1e40", "nan", "0x10", " "})
        EXPECT_THROW(ParseFloatText(bad), PictureError) << bad;
    EXPECT_FLOAT_EQ(ParseFloatText("33.3"), 33.3f);
    // A percentage whose pixel size no edit can hold is refused too.
    e.WidthPerc = "1e30";
    EXPECT_THROW(WidthPercChanged(e, true, 640, 480), PictureError);
    EXPECT_EQ(e.PixWidth, "640");
}

TEST(ResizeMath, IntegersAndNonPositiveSizes) {
    EXPECT_EQ(ParseIntText("320"), 320);
    for (const char* bad : {"32.5", "", "x", "99999999999"})
        EXPECT_THROW(ParseIntText(bad), PictureError) << bad;
    try {
        ParseIntText("12a");
        FAIL();
    } catch (const PictureError& err) {
        EXPECT_STREQ(err.what(), "'12a' is not a valid integer value");
    }
    EXPECT_NO_THROW(CheckResizeSize(1, 1));
    for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {-5, 10}, {10, -1}})
        EXPECT_THROW(CheckResizeSize(w, h), PictureError) << w << "x" << h;
}
