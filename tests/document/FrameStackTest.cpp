// The live frame stack: its picture against the same groups applied as a
// recipe, what each change paints again, its operations, undo states and
// recipes.
#include "document/FrameStack.h"

#include "formats/DataPaths.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

using namespace quillon;

namespace {

bool SamePixels(const Bitmap& a, const Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if ((a.Pixel(x, y) & 0xFFFFFF) != (b.Pixel(x, y) & 0xFFFFFF)) return false;
    return true;
}

// A group of style id with some of the settings the style shows, varied by
// variant so that stacked groups differ.
StackGroup GroupOf(StyleId id, int variant) {
    const StyleInfo& info = StyleInfoOf(id);
    StackGroup g;
    g.group.style = id;
    g.seed = 7;
    // The colour swatch drops the mask style's mask, which a recipe refuses.
    if (info.Shows(EditField::FrameColor) && id != StyleId::Mask)
        g.group.frameColor = variant ? RGB(200, 30, 60) : RGB(20, 120, 40);
    if (info.Shows(EditField::BorderColor)) g.group.borderColor = RGB(10, 10, 90);
    if (info.Shows(EditField::FrameHeight))
        g.group.frameHeight = Length{variant ? 6.0 : 9.0, LengthUnit::Percent};
    if (info.Shows(EditField::FrameWidth) && variant)
        g.group.frameWidth = Length{4.0, LengthUnit::Pixels};
    if (info.Shows(EditField::BorderWidth) && info.thirdFieldIsLength)
        g.group.borderWidth = Length{double(1 + variant), LengthUnit::Pixels};
    if (info.Shows(EditField::CheckBox) && variant) g.group.scaled = false;
    if (info.takesSides && variant) g.group.frameBottom = Length{8.0, LengthUnit::Pixels};
    return g;
}

// The stack's picture framed the old way: its recipe applied to a document.
std::unique_ptr<PhotoDocument> ByRecipe(const Bitmap& photo, const FrameStack& stack) {
    auto doc = OpenDocument(photo);
    ApplyRecipe(*doc, stack.ToRecipe());
    return doc;
}

class FrameStackTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetStartFolder(TestDataDir());
        photo_ = MakeTestPhoto(40, 30);
    }
    std::unique_ptr<FrameStack> StackOf(const std::vector<StackGroup>& groups) {
        auto stack = std::make_unique<FrameStack>();
        stack->SetPhoto(ScreenCopy(*photo_));
        for (const StackGroup& g : groups) stack->Append(g);
        return stack;
    }
    // Whether the stack shows what a fresh stack of the same state renders.
    ::testing::AssertionResult AsIfFresh(FrameStack& stack) {
        FrameStack fresh;
        fresh.SetPhoto(ScreenCopy(stack.Photo()));
        fresh.Restore(stack.Snapshot());
        if (SamePixels(*stack.Result(), *fresh.Result())) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "a cached output outlived its settings";
    }
    std::unique_ptr<Bitmap> photo_;
};

TEST_F(FrameStackTest, EveryStylePairFramesAsApplyingTheRecipe) {
    for (const StyleInfo& bottom : StyleCatalog())
        for (const StyleInfo& top : StyleCatalog()) {
            auto stack = StackOf({GroupOf(bottom.id, 0), GroupOf(top.id, 1)});
            const auto doc = ByRecipe(*photo_, *stack);
            EXPECT_TRUE(SamePixels(*stack->Result(), *doc->Result()))
                << bottom.cliName << " under " << top.cliName;
        }
}

TEST_F(FrameStackTest, HiddenGroupsCommandsAndPrintLengthsFrameAsTheRecipe) {
    StackGroup turned = GroupOf(StyleId::Matte, 0);
    turned.group.commands = {{ImageCommand::RotateRight}, {ImageCommand::Gray}};
    StackGroup cropped = GroupOf(StyleId::Corner, 1);
    cropped.group.commands = {{ImageCommand::Crop, 2, 2, 40, 36}};
    StackGroup inches = GroupOf(StyleId::Shadow, 0);
    inches.group.frameHeight = Length{0.1, LengthUnit::Inches};
    const std::vector<std::vector<StackGroup>> samples = {
        {turned, cropped, inches},
        {GroupOf(StyleId::Oval, 0), turned, GroupOf(StyleId::Box, 1), GroupOf(StyleId::Jagged, 1)},
        {inches, GroupOf(StyleId::Ornate, 0), GroupOf(StyleId::Overlay, 1)},
    };
    for (std::size_t s = 0; s < samples.size(); ++s)
        for (std::size_t hidden = 0; hidden <= samples[s].size(); ++hidden) {
            auto stack = StackOf(samples[s]);
            FrameStack::State state = stack->Snapshot();
            state.dpi = 100;
            stack->Restore(state);
            // hidden == size: none hidden. A hidden lowest group passes the
            // lengths' scale on to the next visible one.
            if (hidden < samples[s].size()) stack->SetVisible(hidden, false);
            const auto doc = ByRecipe(*photo_, *stack);
            EXPECT_TRUE(SamePixels(*stack->Result(), *doc->Result()))
                << "sample " << s << ", hidden " << hidden;
        }
}

// The second and third decorations of the folder the style's default comes
// from; none for a style without decorations.
std::vector<std::string> OtherDecorations(const StyleInfo& info) {
    if (!info.Shows(EditField::Decoration)) return {};
    const std::string file = info.defaults(80, 60).decorationFile;
    const std::filesystem::path folder = file.empty()
                                             ? std::filesystem::path(TestDataDir()) / "Patterns"
                                             : std::filesystem::path(file).parent_path();
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    if (files.size() < 3) return {};
    return {files[1], files[2]};
}

// The edit bar repaints after every change. Going up and down through the
// values, picking decorations and colours on the way, ends on the picture a
// stack group with the final settings alone renders: painting over an
// earlier output leaves nothing of it behind.
TEST_F(FrameStackTest, EditsOneByOneEndAsTheRenderFromTheFinalSettings) {
    const auto photo = MakeTestPhoto(80, 60);
    for (const StyleInfo& info : StyleCatalog()) {
        auto doc = OpenDocument(*photo);
        doc->SetSeed(3);
        doc->SelectStyle(info.id);
        const int h0 = doc->GetFrameHeight(), w0 = doc->GetFrameWidth(), b0 = doc->GetBorderWidth();
        auto edit = [&](auto change) {
            change(*doc);
            doc->DrawPictureCentred();
            doc->DrawFrame();
        };
        const std::vector<std::string> decorations = OtherDecorations(info);
        const bool colour = info.Shows(EditField::FrameColor) && info.id != StyleId::Mask;
        FrameStyle::Sides wide, sides;
        wide.bottom = 25;
        wide.left = 3;
        sides.bottom = 9;
        sides.left = 5;

        if (!decorations.empty())
            edit([&](PhotoDocument& d) { d.ChooseDecoration(decorations[0]); });
        if (info.takesSides) edit([&](PhotoDocument& d) { d.SetSides(wide); });
        for (int step : {10, 2}) {
            if (info.Shows(EditField::FrameHeight))
                edit([&](PhotoDocument& d) { d.SetFrameHeight(h0 + step); });
            if (info.Shows(EditField::FrameWidth))
                edit([&](PhotoDocument& d) { d.SetFrameWidth(w0 + step / 2); });
            if (info.Shows(EditField::BorderWidth))
                edit([&](PhotoDocument& d) { d.SetBorderWidth(b0 + step / 2); });
            if (info.Shows(EditField::CheckBox))
                edit([&](PhotoDocument& d) { d.SetScaled(!d.GetScaled()); });
            if (colour && step == 10)
                edit([&](PhotoDocument& d) {
                    d.SetPattern("");
                    d.SetFrameColor(RGB(200, 0, 0));
                });
        }
        if (!decorations.empty())
            edit([&](PhotoDocument& d) { d.ChooseDecoration(decorations[1]); });
        if (info.takesSides) edit([&](PhotoDocument& d) { d.SetSides(sides); });

        StackGroup g;
        g.group.style = info.id;
        g.seed = 3;
        const auto px = [](int v) { return Length{double(v), LengthUnit::Pixels}; };
        if (colour) g.group.frameColor = RGB(200, 0, 0);
        // A moulding picked last brings its own width, so the widths set
        // before it no longer hold.
        const bool mouldingWidth = info.id == StyleId::Ornate;
        if (info.Shows(EditField::FrameHeight) && !mouldingWidth) g.group.frameHeight = px(h0 + 2);
        if (info.Shows(EditField::FrameWidth) && !mouldingWidth) g.group.frameWidth = px(w0 + 1);
        if (info.Shows(EditField::BorderWidth)) g.group.borderWidth = px(b0 + 1);
        if (!decorations.empty()) g.group.pattern = decorations[1];
        if (info.takesSides) {
            g.group.frameBottom = px(9);
            g.group.frameLeft = px(5);
        }
        FrameStack stack;
        stack.SetPhoto(ScreenCopy(*photo));
        stack.Append(g);
        EXPECT_TRUE(SamePixels(*doc->Result(), *stack.Result())) << info.cliName;
    }
}

TEST_F(FrameStackTest, AChangePaintsFromTheChangedGroupUp) {
    auto stack = StackOf(
        {GroupOf(StyleId::Matte, 0), GroupOf(StyleId::Corner, 0), GroupOf(StyleId::Shadow, 0)});
    stack->Result();
    EXPECT_EQ(stack->Stats().groupsRendered, 3);
    EXPECT_EQ(stack->Stats().picturesMade, 3);

    struct Case {
        const char* what;
        std::function<void(FrameStack&)> change;
        int repainted;
    };
    const Case cases[] = {
        {"nothing", [](FrameStack&) {}, 0},
        {"edit the top", [](FrameStack& s) { s.Edit(2, GroupOf(StyleId::Shadow, 1)); }, 1},
        {"edit the bottom", [](FrameStack& s) { s.Edit(0, GroupOf(StyleId::Matte, 1)); }, 3},
        {"an edit to the same", [](FrameStack& s) { s.Edit(1, s.Group(1)); }, 0},
        {"hide the middle", [](FrameStack& s) { s.SetVisible(1, false); }, 1},
        {"hide it again", [](FrameStack& s) { s.SetVisible(1, false); }, 0},
        {"show it", [](FrameStack& s) { s.SetVisible(1, true); }, 2},
        {"move top to middle", [](FrameStack& s) { s.Move(2, 1); }, 2},
        {"duplicate the bottom", [](FrameStack& s) { s.Duplicate(0); }, 3},
        {"remove the top", [](FrameStack& s) { s.Remove(3); }, 0},
        {"remove the second", [](FrameStack& s) { s.Remove(1); }, 1},
        {"append", [](FrameStack& s) { s.Append(GroupOf(StyleId::Bubble, 0)); }, 1},
        {"a new photo", [](FrameStack& s) { s.SetPhoto(MakeTestPhoto(30, 40)); }, 3},
    };
    for (const Case& c : cases) {
        stack->ResetCounters();
        c.change(*stack);
        stack->Result();
        EXPECT_EQ(stack->Stats().groupsRendered, c.repainted) << c.what;
        EXPECT_EQ(stack->ValidGroups(), stack->Count()) << c.what;
        EXPECT_TRUE(AsIfFresh(*stack)) << c.what;
    }
    // One picture per visible group is all the cache holds.
    const Bitmap& out = *stack->Result();
    EXPECT_LE(stack->CachedBytes(), stack->Count() * out.Stride() * std::size_t(out.Height()));
}

// The picture group k's settings give, painted on a document of its own as
// the edit bar's document paints it.
std::unique_ptr<Bitmap> PaintedApart(FrameStack& stack, std::size_t k, const StackGroup& g) {
    PhotoDocument doc;
    doc.SetSeed(g.seed);
    doc.OpenPicture(stack.InputCopy(k), "apart", Zoom::Normal);
    RunGroupCommands(doc, g.group);
    FrameGroupStyle(doc, g.group, stack.GroupScale(k, doc.Photo()));
    return ScreenCopy(*doc.Result());
}

TEST_F(FrameStackTest, APicturePaintedApartIsKeptOnlyWhereTheStackWouldPaintTheSame) {
    auto stack = StackOf(
        {GroupOf(StyleId::Matte, 0), GroupOf(StyleId::Corner, 0), GroupOf(StyleId::Shadow, 0)});
    stack->Result();
    struct Case {
        const char* what;
        std::size_t k;
        StackGroup group;
        int repainted;
        bool kept;
    };
    StackGroup hidden = GroupOf(StyleId::Corner, 1);
    hidden.visible = false;
    StackGroup turned = GroupOf(StyleId::Matte, 1);
    turned.group.commands = {{ImageCommand::RotateLeft}};
    const Case cases[] = {
        {"the bottom", 0, GroupOf(StyleId::Matte, 1), 2, true},
        {"the top", 2, GroupOf(StyleId::Shadow, 1), 0, true},
        {"a hidden group", 1, hidden, 1, false},
        {"a group with commands", 0, turned, 2, false}, // the hidden one paints nothing
        {"a group above commands", 2, GroupOf(StyleId::Shadow, 0), 1, false},
    };
    for (const Case& c : cases) {
        auto painted = PaintedApart(*stack, c.k, c.group);
        stack->ResetCounters();
        stack->Edit(c.k, c.group, painted);
        // What the stack does not keep stays with the caller.
        EXPECT_EQ(painted == nullptr, c.kept) << c.what;
        stack->Result();
        EXPECT_EQ(stack->Stats().groupsRendered, c.repainted) << c.what;
        EXPECT_TRUE(AsIfFresh(*stack)) << c.what;
    }
    // Appending keeps the painted top as well.
    const StackGroup bubble = GroupOf(StyleId::Bubble, 0);
    stack->Restore({});
    stack->Append(GroupOf(StyleId::Matte, 0));
    stack->Result();
    auto painted = PaintedApart(*stack, 1, bubble);
    stack->ResetCounters();
    stack->Append(bubble, painted);
    EXPECT_EQ(painted, nullptr);
    stack->Result();
    EXPECT_EQ(stack->Stats().groupsRendered, 0);
    EXPECT_TRUE(AsIfFresh(*stack));
}

TEST_F(FrameStackTest, OperationsReorderAndRefuseGroupsThatAreNotThere) {
    const StackGroup a = GroupOf(StyleId::Matte, 0), b = GroupOf(StyleId::Oval, 0),
                     c = GroupOf(StyleId::Box, 0);
    auto stack = StackOf({a, b, c});
    auto styles = [&] {
        std::vector<StyleId> ids;
        for (const StackGroup& g : stack->Groups()) ids.push_back(*g.group.style);
        return ids;
    };
    stack->Move(0, 2);
    EXPECT_EQ(styles(), (std::vector{StyleId::Oval, StyleId::Box, StyleId::Matte}));
    stack->Move(2, 0);
    EXPECT_EQ(styles(), (std::vector{StyleId::Matte, StyleId::Oval, StyleId::Box}));
    stack->Duplicate(1);
    EXPECT_EQ(styles(), (std::vector{StyleId::Matte, StyleId::Oval, StyleId::Oval, StyleId::Box}));
    stack->Remove(0);
    EXPECT_EQ(styles(), (std::vector{StyleId::Oval, StyleId::Oval, StyleId::Box}));

    const FrameStack::State before = stack->Snapshot();
    EXPECT_THROW(stack->Edit(3, a), std::out_of_range);
    EXPECT_THROW(stack->Move(0, 3), std::out_of_range);
    EXPECT_THROW(stack->Remove(7), std::out_of_range);
    EXPECT_THROW(stack->Duplicate(3), std::out_of_range);
    EXPECT_THROW(stack->SetVisible(3, false), std::out_of_range);
    EXPECT_EQ(stack->Snapshot(), before);
    EXPECT_TRUE(AsIfFresh(*stack));

    // Without a photo there is nothing to show; with every group hidden,
    // the photo itself.
    FrameStack empty;
    EXPECT_EQ(empty.Result(), nullptr);
    for (std::size_t k = 0; k < stack->Count(); ++k) stack->SetVisible(k, false);
    EXPECT_TRUE(SamePixels(*stack->Result(), *photo_));
}

TEST_F(FrameStackTest, UndoStatesAreSettingsAndRestoreThePictures) {
    auto stack = StackOf({GroupOf(StyleId::Matte, 0)});
    std::vector<FrameStack::State> undo;
    std::vector<std::unique_ptr<Bitmap>> shown;
    auto record = [&] {
        undo.push_back(stack->Snapshot());
        shown.push_back(ScreenCopy(*stack->Result()));
    };
    record();
    stack->Append(GroupOf(StyleId::Corner, 0));
    record();
    stack->Append(GroupOf(StyleId::Shadow, 0));
    record();
    StackGroup recoloured = stack->Group(0);
    recoloured.group.frameColor = RGB(1, 2, 3);
    stack->Edit(0, recoloured);
    record();
    stack->SetVisible(1, false);
    record();
    stack->Move(0, 2);
    record();
    stack->Remove(1);

    // Walking back paints only from the first group that differs, and each
    // step shows what it showed.
    // Hidden groups paint nothing.
    const int repaints[] = {0, 0, 3, 2, 2, 2};
    for (std::size_t i = undo.size(); i-- > 0;) {
        stack->ResetCounters();
        stack->Restore(undo[i]);
        EXPECT_TRUE(SamePixels(*stack->Result(), *shown[i])) << "step " << i;
        EXPECT_EQ(stack->Stats().groupsRendered, repaints[i]) << "step " << i;
    }
    // An entry holds the settings alone: no pixels travel with it.
    EXPECT_LT(sizeof(FrameStack::State) + undo.back().groups.size() * sizeof(StackGroup), 4096u);
}

TEST_F(FrameStackTest, RecipesReplaceTheStackAndComeBackFromIt) {
    Recipe r;
    r.groups = {GroupOf(StyleId::Matte, 0).group, GroupOf(StyleId::Jagged, 1).group};
    r.seed = 42;
    r.dpi = 300;
    auto stack = StackOf({GroupOf(StyleId::Box, 0)});
    stack->ReplaceWithRecipe(r);
    EXPECT_EQ(stack->Count(), 2u);
    EXPECT_EQ(stack->Group(1).seed, 42u);
    EXPECT_EQ(stack->ToRecipe(), r);
    const auto doc = ByRecipe(*photo_, *stack);
    EXPECT_TRUE(SamePixels(*stack->Result(), *doc->Result()));

    // Hidden groups are left out of the recipe; an empty stack is the photo.
    stack->SetVisible(0, false);
    EXPECT_EQ(stack->ToRecipe().groups, std::vector{r.groups[1]});
    stack->Remove(1);
    stack->Remove(0);
    EXPECT_EQ(stack->ToRecipe().groups.size(), 1u);
    EXPECT_FALSE(stack->ToRecipe().groups[0].style);

    Recipe store;
    store.storeFrame = StoreFrame{{8, 10, LengthUnit::Inches}, {5, 7, LengthUnit::Inches}};
    const FrameStack::State before = stack->Snapshot();
    EXPECT_THROW(stack->ReplaceWithRecipe(store), RecipeError);
    Recipe nonsense;
    nonsense.groups[0].frameColor = kRed; // a colour without a style
    EXPECT_THROW(stack->ReplaceWithRecipe(nonsense), RecipeError);
    EXPECT_EQ(stack->Snapshot(), before);
}

TEST_F(FrameStackTest, AFailingGroupKeepsTheOutputsBelowIt) {
    StackGroup tooWide = GroupOf(StyleId::Corner, 0);
    tooWide.group.frameHeight = Length{5000, LengthUnit::Pixels};
    auto stack = StackOf({GroupOf(StyleId::Matte, 0), tooWide});
    EXPECT_THROW(stack->Result(), SettingError);
    EXPECT_EQ(stack->ValidGroups(), 1u);
    stack->ResetCounters();
    stack->Edit(1, GroupOf(StyleId::Corner, 0));
    ASSERT_NE(stack->Result(), nullptr);
    EXPECT_EQ(stack->Stats().groupsRendered, 1);
}

} // namespace
