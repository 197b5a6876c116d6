// The style catalogue: one consistent entry per style.
#include "frames/StyleCatalog.h"

#include "formats/DataPaths.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace quillon;

TEST(StyleCatalog, EntriesStandInIdOrderWithUniqueNamesAndMenuPlaces) {
    std::set<std::string> names;
    std::set<int> places;
    for (int i = 0; i < kStyleCount; ++i) {
        const StyleInfo& s = StyleCatalog()[std::size_t(i)];
        EXPECT_EQ(s.id, StyleId(i));
        EXPECT_EQ(&StyleInfoOf(StyleId(i)), &s);
        EXPECT_TRUE(names.insert(s.cliName).second) << s.cliName;
        EXPECT_TRUE(places.insert(s.menuPosition).second) << s.cliName;
        EXPECT_GE(s.menuPosition, 0);
        EXPECT_LT(s.menuPosition, kStyleCount);
    }
    const auto order = StylesInMenuOrder();
    EXPECT_EQ(order.front(), StyleId::Ornate);
    EXPECT_EQ(order.back(), StyleId::Bubble);
}

TEST(StyleCatalog, EveryShownFieldExplainsItsDefault) {
    for (const StyleInfo& s : StyleCatalog())
        for (int f = 0; f < kEditFieldCount; ++f) {
            const bool shown = s.Shows(EditField(f));
            const bool explained = s.defaultsText[std::size_t(f)][0] != '\0';
            EXPECT_EQ(shown, explained) << s.cliName << " field " << f;
        }
}

TEST(StyleCatalog, DefaultsFollowTheShownPhotoSize) {
    // The defaults of a 600 x 450 photo, as the edit bar first shows them.
    struct Case {
        StyleId id;
        int fw, fh;
        bool expand;
    };
    for (const Case c : {Case{StyleId::Corner, 45, 45, true}, Case{StyleId::Jagged, 40, 30, false},
                         Case{StyleId::Bubble, 60, 60, false}, Case{StyleId::Button, 30, 30, false},
                         Case{StyleId::Box, 60, 60, true}, Case{StyleId::Oval, 1, 1, false}}) {
        const FrameSettings s = StyleInfoOf(c.id).defaults(600, 450);
        EXPECT_EQ(s.frameWidth, c.fw) << StyleInfoOf(c.id).cliName;
        EXPECT_EQ(s.frameHeight, c.fh) << StyleInfoOf(c.id).cliName;
        EXPECT_EQ(s.expand, c.expand) << StyleInfoOf(c.id).cliName;
    }
}

TEST(StyleCatalog, EveryStyleIsMadeFromItsDefaults) {
    SetStartFolder(TestDataDir());
    const auto photo = MakeTestPhoto(90, 60);
    for (const StyleInfo& s : StyleCatalog()) {
        const auto style = s.create(*photo, s.defaults(90, 60));
        ASSERT_NE(style, nullptr) << s.cliName;
        EXPECT_EQ(style->PictureWidth, 90) << s.cliName;
        EXPECT_FALSE(style->Output->Empty()) << s.cliName;
    }
}

TEST(StyleCatalog, MouldingShadowAndBubbleWidthsAreLengthFields) {
    // Each is shown, and a length (so that it takes a unit), in its field.
    struct Case {
        StyleId id;
        EditField field;
        const char* caption;
    };
    for (const Case c : {Case{StyleId::Ornate, EditField::FrameHeight, "Moulding Width"},
                         Case{StyleId::Shadow, EditField::BorderWidth, "Shadow Width"},
                         Case{StyleId::Bubble, EditField::FrameWidth, "Frame Width"},
                         Case{StyleId::Bubble, EditField::BorderWidth, "Thickness"}}) {
        const StyleInfo& s = StyleInfoOf(c.id);
        SCOPED_TRACE(s.cliName);
        EXPECT_STREQ(s.Caption(c.field), c.caption);
        if (c.field == EditField::BorderWidth) {
            EXPECT_TRUE(s.thirdFieldIsLength);
        }
    }
    // The shadow's width starts at its pieces' own, the moulding's at its
    // picture's height.
    SetStartFolder(TestDataDir());
    const auto photo = MakeTestPhoto(90, 60);
    for (StyleId id : {StyleId::Shadow, StyleId::Ornate}) {
        const StyleInfo& s = StyleInfoOf(id);
        const auto style = s.create(*photo, s.defaults(90, 60));
        EXPECT_GT(id == StyleId::Shadow ? style->BorderWidthField() : style->FrameHeight, 1)
            << s.cliName;
    }
}
