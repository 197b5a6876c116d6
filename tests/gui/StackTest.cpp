// The live frame stack in the desktop program: every stack action, with
// undo and redo, gives the picture that freezing the same frames one after
// another with Apply Frame gives; image commands change the photo under the
// frames; recipes and the stack agree.
#include "GuiFixture.h"
#include "document/Recipe.h"
#include "document/RecipeFile.h"
#include "frames/FrameStyle.h"

#include <QtTest>

#include <filesystem>
#include <functional>
#include <vector>

using namespace quillon;

namespace {

std::unique_ptr<Bitmap> Copy(const Bitmap& picture) {
    auto copy = std::make_unique<Bitmap>();
    copy->Assign(picture);
    return copy;
}

// The picture of the old way: the photo (after command), then each shown
// group framed and frozen into the photo by Apply Frame.
std::unique_ptr<Bitmap> Frozen(const std::string& photo, const std::vector<StackGroup>& groups,
                               const std::function<void(PhotoDocument&)>& command = {}) {
    PhotoDocument doc;
    doc.Open(photo, Zoom::Normal);
    if (command) command(doc);
    const LengthScale scale = ScaleFor(doc.Photo(), std::nullopt, std::nullopt);
    for (const StackGroup& g : groups) {
        if (!g.visible) continue;
        doc.SetSeed(g.seed);
        FrameGroupStyle(doc, g.group, scale);
        doc.ApplyFrame(Zoom::Normal);
    }
    return Copy(doc.Photo());
}

std::vector<StackGroup> Groups(const DocumentController& c) {
    std::vector<StackGroup> groups;
    for (std::size_t k = 0; k < c.groupCount(); ++k) groups.push_back(c.group(k));
    return groups;
}

// Matte, corner and shadow applied on a 60 x 40 photo, as a person adds them.
std::string ThreeFrames(ControllerRun& run) {
    LinkDataFolder(run);
    run.openPicture(60, 40);
    DocumentController& c = run.controller;
    c.chooseStyle(StyleId::Matte);
    c.editFrame({6, std::nullopt, std::nullopt});
    c.applyFrame();
    c.chooseStyle(StyleId::Corner);
    c.applyFrame();
    c.chooseStyle(StyleId::Shadow);
    c.applyFrame();
    return run.path("photo.bmp");
}

} // namespace

class StackTest : public QObject {
    Q_OBJECT
private slots:
    // Each pair of styles, applied one over the other: the picture shown
    // while the second is in progress is what Apply Frame freezes, and the
    // stack paints the same from the groups' settings.
    void stylePairsEqualFrozenApplyFrame() {
        ControllerRun run;
        LinkDataFolder(run);
        DocumentController& c = run.controller;
        for (int i = 0; i < kStyleCount; ++i) {
            const auto first = StyleId(i), second = StyleId((i * 5 + 3) % kStyleCount);
            const std::string photo = run.writePicture("photo.bmp", 60, 40);
            c.open(photo);
            c.chooseStyle(first);
            c.applyFrame();
            c.chooseStyle(second);
            const auto inProgress = Copy(*c.picture());
            c.applyFrame();
            const QString pair = QString("%1 then %2").arg(i).arg(int(second));
            QCOMPARE(c.groupCount(), std::size_t(2));
            QVERIFY2(SamePixels(*c.picture(), *inProgress), qPrintable(pair));
            QVERIFY2(SamePixels(*c.picture(), *Frozen(photo, Groups(c))), qPrintable(pair));
        }
    }

    // The session of a person: edit the matte under the others, hide the
    // corner, move the shadow down, duplicate, remove; then undo each back
    // and redo them, each picture exactly as before.
    void stackActionsUndoAndRedo() {
        ControllerRun run;
        DocumentController& c = run.controller;
        const std::string photo = ThreeFrames(run);
        std::vector<std::unique_ptr<Bitmap>> pictures;
        std::vector<QString> captions;
        const auto check = [&](const char* what) {
            QVERIFY2(SamePixels(*c.picture(), *Frozen(photo, Groups(c))), what);
            pictures.push_back(Copy(*c.picture()));
            captions.push_back(c.undoCaption());
        };
        check("three frames");

        c.editGroup(0);
        QCOMPARE(c.editedGroup(), std::optional<std::size_t>(0));
        QCOMPARE(c.style(), std::optional<StyleId>(StyleId::Matte));
        QCOMPARE(c.document()->GetFrameHeight(), 6);
        c.setFrameColor(RGB(200, 0, 0));
        c.editFrame({9, std::nullopt, std::nullopt});
        QCOMPARE(c.group(0).group.frameColor, std::optional<Color>(RGB(200, 0, 0)));
        QCOMPARE(c.picture()->Height(), pictures[0]->Height() + 6);
        check("matte edited");
        QCOMPARE(c.undoCaption(), QString("&Undo Edit Matte Frame"));

        c.setGroupVisible(1, false);
        QVERIFY(!c.editedGroup());
        check("corner hidden");
        QCOMPARE(c.undoCaption(), QString("&Undo Hide Frame"));
        c.moveGroup(2, 0);
        QCOMPARE(c.group(0).group.style, std::optional<StyleId>(StyleId::Shadow));
        check("shadow moved down");
        c.duplicateGroup(1);
        QCOMPARE(c.groupCount(), std::size_t(4));
        check("matte duplicated");
        c.removeGroup(0);
        QCOMPARE(c.groupCount(), std::size_t(3));
        check("shadow removed");

        for (std::size_t i = pictures.size() - 1; i-- > 0;) {
            c.undo();
            QVERIFY2(SamePixels(*c.picture(), *pictures[i]), qPrintable(QString("undo %1").arg(i)));
            QCOMPARE(c.undoCaption(), captions[i]);
        }
        for (std::size_t i = 1; i < pictures.size(); ++i) {
            c.redo();
            QVERIFY2(SamePixels(*c.picture(), *pictures[i]), qPrintable(QString("redo %1").arg(i)));
        }
        QVERIFY(!c.canRedo());
    }

    // Undo steps of the stack hold settings: ten of them, and the eleventh
    // forgets the oldest.
    void editsOfOneGroupAreOneStep() {
        ControllerRun run;
        DocumentController& c = run.controller;
        ThreeFrames(run);
        const int before = c.undoCount();
        c.editGroup(1);
        for (int v = 1; v <= 5; ++v) c.editFrame({v, std::nullopt, std::nullopt});
        QCOMPARE(c.undoCount(), before + 1);
        // Another group is another step.
        c.editGroup(0);
        c.editFrame({3, std::nullopt, std::nullopt});
        QCOMPARE(c.undoCount(), before + 2);
        // Apply Frame ends the edit; the group stays where it is.
        c.applyFrame();
        QVERIFY(!c.editedGroup());
        QVERIFY(!c.framing());
        QCOMPARE(c.groupCount(), std::size_t(3));
        for (int i = 0; i < 12; ++i) c.setGroupVisible(2, i % 2 != 0);
        QCOMPARE(c.undoCount(), DocumentController::kUndoSteps);
    }

    // A frame in progress goes on the stack before a group is chosen or
    // changed, and Undo takes it off again.
    void aFrameInProgressIsAppliedFirst() {
        ControllerRun run;
        DocumentController& c = run.controller;
        const std::string photo = ThreeFrames(run);
        c.chooseStyle(StyleId::Button);
        const auto framed = Copy(*c.picture());
        c.setGroupVisible(0, false);
        QCOMPARE(c.groupCount(), std::size_t(4));
        QCOMPARE(c.group(3).group.style, std::optional<StyleId>(StyleId::Button));
        QVERIFY(SamePixels(*c.picture(), *Frozen(photo, Groups(c))));
        c.undo();
        QVERIFY(SamePixels(*c.picture(), *framed));
        c.undo();
        QCOMPARE(c.groupCount(), std::size_t(3));
        QVERIFY(!c.framing());
    }

    // The image commands change the photo under the frames, which paint
    // again around it.
    void imageCommandsChangeThePhotoUnderTheFrames() {
        ControllerRun run;
        DocumentController& c = run.controller;
        const std::string photo = ThreeFrames(run);
        const auto before = Copy(*c.picture());
        c.grayScale();
        QCOMPARE(c.undoCaption(), QString("&Undo Grayscale Photo"));
        QVERIFY(SamePixels(*c.picture(),
                           *Frozen(photo, Groups(c), [](PhotoDocument& d) { d.GrayScale(); })));
        c.rotateRight();
        QCOMPARE(c.photo().Width(), 40);
        QVERIFY(SamePixels(*c.picture(), *Frozen(photo, Groups(c), [](PhotoDocument& d) {
            d.GrayScale();
            d.RotateRight();
        })));
        // The rubber band is for the photo alone: not while frames show.
        c.beginSelection(1, 1);
        QVERIFY(!c.selection().HasArea() && c.selection() == Selection{});
        c.undo();
        c.undo();
        QVERIFY(SamePixels(*c.picture(), *before));
    }

    // A stacked frame measured in inches follows a new print size.
    void printLengthsFollowThePrintSize() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(60, 40);
        c.setLengthUnit(EditField::FrameHeight, LengthUnit::Inches);
        c.chooseStyle(StyleId::Matte);
        // 6 x 4 inches: 10 pixels an inch.
        c.editFrameLengths({Length{0.5, LengthUnit::Inches}, std::nullopt, std::nullopt});
        c.applyFrame();
        QCOMPARE(c.picture()->Height(), 40 + 2 * 5);
        c.setPrintSize({3, 2, LengthUnit::Inches});
        QCOMPARE(c.picture()->Height(), 40 + 2 * 10);
        QCOMPARE(c.group(0).group.frameHeight, std::optional<Length>({0.5, LengthUnit::Inches}));
    }

    // Save Recipe writes the shown groups; a recipe applied replaces the
    // stack and paints what quillon-frame paints.
    void recipesAndTheStackAgree() {
        ControllerRun run;
        DocumentController& c = run.controller;
        const std::string photo = ThreeFrames(run);
        c.rotateLeft();
        c.setGroupVisible(1, false);
        const Recipe r = c.recipe();
        QCOMPARE(r.groups.size(), std::size_t(2));
        QCOMPARE(r.groups[0].commands.size(), std::size_t(1));
        QCOMPARE(r.groups[1].style, std::optional<StyleId>(StyleId::Shadow));
        c.saveRecipe(run.path("stack.toml"));
        const auto byRecipe = FrameByRecipe(photo, LoadRecipe(run.path("stack.toml")));
        QVERIFY(SamePixels(*c.picture(), *byRecipe->Result()));

        run.openPicture(60, 40);
        c.chooseStyle(StyleId::Corner);
        c.applyRecipe(LoadRecipe(run.path("stack.toml")));
        QVERIFY(!c.framing());
        QCOMPARE(c.groupCount(), std::size_t(2));
        QVERIFY(SamePixels(*c.picture(), *byRecipe->Result()));
        c.undo();
        QCOMPARE(c.groupCount(), std::size_t(0));
    }
};

QTEST_MAIN(StackTest)
#include "StackTest.moc"
