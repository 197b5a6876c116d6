// Recipes in the desktop program: what the person does is recorded and
// saved as a recipe that quillon-frame's FrameByRecipe turns into the very
// same picture; Apply Recipe gives the command line's picture pixel for
// pixel, as one undo step; a bad recipe is reported with its file and line
// and changes nothing; the Presets submenu lists and applies the presets.
#include "app/RecipeMenu.h"
#include "GuiFixture.h"
#include "app/FrameEditBar.h"
#include "app/dialogs/StoreFrameDialog.h"
#include "document/Presets.h"
#include "document/RecipeFile.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QtTest>

#include <cstdlib>

using namespace quillon;

namespace {

// Empty when a and b are the same picture, else where they first differ.
QString Difference(const Bitmap& a, const Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return QString("%1 x %2 against %3 x %4")
            .arg(a.Width())
            .arg(a.Height())
            .arg(b.Width())
            .arg(b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if ((a.Pixel(x, y) & 0xFFFFFF) != (b.Pixel(x, y) & 0xFFFFFF))
                return QString("pixel (%1, %2): %3 against %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.Pixel(x, y) & 0xFFFFFF, 6, 16)
                    .arg(b.Pixel(x, y) & 0xFFFFFF, 6, 16);
    return {};
}

#define QCOMPARE_PICTURES(a, b)                                                                    \
    do {                                                                                           \
        const QString difference = Difference(a, b);                                               \
        QVERIFY2(difference.isEmpty(), qPrintable(difference));                                    \
    } while (false)

// A recipe that turns, greys and mats the photo with a print length and a
// percentage, then puts a corner frame round the result.
const char* const kTwoGroups = R"(version = 1
print-size = "6x4in"

[[group]]
commands = ["rotate left", "gray"]
style = "matte"
frame-color = "F0E8D8"
frame-height = "0.25in"
frame-width = "5%"
border-width = 2

[[group]]
style = "corner"
frame-color = "6B4423"
frame-width = 9
)";

} // namespace

class RecipeMenuTest : public QObject {
    Q_OBJECT
private slots:
    void applyRecipeGivesTheCommandLinesPictureAsOneUndoStep() {
        ShellRun run;
        MainWindow& m = run.start();
        const std::string photo = run.writePicture("photo.bmp", 90, 60);
        m.controller().open(photo);
        run.writeText("two.toml", kTwoGroups);
        run.dialogs.openAnswers.push_back(run.path("two.toml"));
        m.recipeMenu()->applyRecipeAction->trigger();
        QVERIFY2(run.dialogs.messages.empty(),
                 run.dialogs.messages.empty() ? "" : run.dialogs.messages[0].text.c_str());
        QCOMPARE(run.dialogs.openRequests.back().filters.front().Patterns, std::string("*.toml"));
        const auto expected = FrameByRecipe(photo, LoadRecipe(run.path("two.toml")));
        DocumentController& c = m.controller();
        QCOMPARE_PICTURES(*c.picture(), *expected->Result());
        // The recipe's groups make the frame stack; each is edited from it.
        QCOMPARE(c.groupCount(), std::size_t(2));
        QCOMPARE(c.group(1).group.style, std::optional<StyleId>(StyleId::Corner));
        QVERIFY(!c.framing());
        QCOMPARE(c.undoCount(), 1);
        QCOMPARE(c.undoCaption(), QString("&Undo Recipe"));
        c.undo();
        QVERIFY(!c.framing());
        QCOMPARE(c.groupCount(), std::size_t(0));
        QCOMPARE(c.document()->Photo().Width(), 90);
        QCOMPARE(c.document()->Photo().Pixel(3, 2) & 0xFFFFFF, RGB(21, 10, 90));
    }

    void aBadRecipeIsReportedWithItsLineAndChangesNothing() {
        ShellRun run;
        MainWindow& m = run.start();
        m.controller().open(run.writePicture("photo.bmp", 90, 60));
        run.writeText("bad.toml", "version = 1\n[[group]]\nstyle = \"matte\"\nframe-hieght = 4\n");
        run.dialogs.openAnswers.push_back(run.path("bad.toml"));
        m.recipeMenu()->applyRecipeAction->trigger();
        QCOMPARE(run.dialogs.messages.size(), std::size_t(1));
        const std::string& text = run.dialogs.messages[0].text;
        QVERIFY2(text.find("bad.toml:4:") != std::string::npos, text.c_str());
        QVERIFY(!m.controller().framing());
        QVERIFY(!m.controller().canUndo());
        // A length this photo cannot take fails part way (3 in is 45 pixels
        // of a 90 x 60 photo printed 6 x 4 in): the photo stays.
        run.writeText("deep.toml", "version = 1\nprint-size = \"6x4in\"\n[[group]]\n"
                                   "commands = [\"negative\"]\nstyle = \"matte\"\n"
                                   "[[group]]\nstyle = \"matte\"\nframe-height = \"3in\"\n");
        run.dialogs.openAnswers.push_back(run.path("deep.toml"));
        m.recipeMenu()->applyRecipeAction->trigger();
        QCOMPARE(run.dialogs.messages.size(), std::size_t(2));
        QVERIFY(!m.controller().framing());
        QVERIFY(!m.controller().canUndo());
        QCOMPARE(m.controller().document()->Photo().Pixel(3, 2) & 0xFFFFFF, RGB(21, 10, 90));
    }

    void aSavedRecipeFramesTheFileAsTheDesktopDid() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(120, 80);
        const std::string photo = run.path("photo.bmp");
        c.rotateRight();
        c.grayScale();
        c.chooseStyle(StyleId::Matte);
        c.setLengthUnit(EditField::FrameHeight, LengthUnit::Inches);
        LengthEdit mat;
        mat.frameHeight = Length{0.5, LengthUnit::Inches};
        c.editFrameLengths(mat);
        c.setFrameColor(RGB(240, 232, 216));
        c.chooseStyle(StyleId::Corner); // tried, then left
        c.chooseStyle(StyleId::Matte);
        c.applyFrame();
        c.chooseStyle(StyleId::Corner);
        c.editFrame({std::nullopt, 7, std::nullopt});
        c.setBorderColor(RGB(10, 20, 30));
        c.saveRecipe(run.path("mine.toml"));

        const Recipe saved = LoadRecipe(run.path("mine.toml"));
        QCOMPARE(saved.groups.size(), std::size_t(2));
        const FrameGroup& first = saved.groups[0];
        QCOMPARE(first.commands,
                 (std::vector<ImageCommand>{{ImageCommand::RotateRight}, {ImageCommand::Gray}}));
        QCOMPARE(first.style, std::optional<StyleId>(StyleId::Matte));
        QCOMPARE(first.frameHeight, std::optional<Length>(Length{0.5, LengthUnit::Inches}));
        QVERIFY(!first.frameWidth);
        QCOMPARE(saved.printSize, std::optional<PrintSize>(PrintSize{6, 4, LengthUnit::Inches}));
        QCOMPARE(saved.groups[1].style, std::optional<StyleId>(StyleId::Corner));
        QCOMPARE(saved.groups[1].frameWidth, std::optional<Length>(Length{7, LengthUnit::Pixels}));
        QCOMPARE_PICTURES(*c.document()->Result(), *FrameByRecipe(photo, saved)->Result());
    }

    void theRecordFollowsUndoCropAndResizeButNotZoom() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(120, 80);
        const std::string photo = run.path("photo.bmp");
        c.negative();
        c.undo();
        // A crop at half zoom is recorded in the photo's own pixels.
        c.setZoom(0.5);
        c.beginSelection(10, 8);
        c.endSelection(90, 68);
        c.crop();
        c.resize(70, 50);
        // A style chosen at half zoom has the defaults it has at 100 %.
        c.chooseStyle(StyleId::Corner);
        const Recipe r = c.recipe();
        QCOMPARE(r.groups.size(), std::size_t(1));
        QCOMPARE(r.groups[0].commands,
                 (std::vector<ImageCommand>{{ImageCommand::Crop, 10, 8, 90, 68},
                                            {ImageCommand::Resize, 70, 50}}));
        // Its defaults are a recipe's own, so the recipe leaves them out.
        QCOMPARE(r.groups[0].frameHeight, std::optional<Length>());
        QCOMPARE_PICTURES(*c.document()->Result(), *FrameByRecipe(photo, r)->Result());
        // Undo of the frame takes its style out of the record.
        c.undo();
        QVERIFY(!c.recipe().groups[0].style);
        QCOMPARE(c.recipe().groups[0].commands.size(), std::size_t(2));
    }

    // --- Store frames -----------------------------------------------------------------------

    void aStoreFrameIsChosenFromTheCommonSizesAndApplied() {
        QCOMPARE(*ParseSizeText("3.5 x 5 in"), (PrintSize{3.5, 5, LengthUnit::Inches}));
        QCOMPARE(*ParseSizeText("9x13cm"), (PrintSize{9, 13, LengthUnit::Centimetres}));
        for (const char* bad : {"", "9x13", "9x13%", "x13cm", "0x13cm", "9 by 13 cm"})
            QVERIFY2(!ParseSizeText(bad), bad);
        ShellRun run;
        MainWindow& m = run.start();
        const std::string photo = run.writePicture("photo.bmp", 90, 60);
        m.controller().open(photo);
        Recipe chosen;
        run.dialogs.onModal = [&chosen](QDialog& d) {
            auto& dialog = static_cast<StoreFrameDialog&>(d);
            dialog.sizeCombo->setCurrentIndex(5);
            // The usual opening for the size fills in.
            if (dialog.openingEdit->text() != "5x7 in") return int(QDialog::Rejected);
            dialog.dpiSpin->setValue(20);
            // The crop box moved to the right: the preview follows.
            dialog.showPreview();
            const QImage centred = dialog.previewLabel->pixmap().toImage();
            dialog.cropSlider->setValue(100);
            if (dialog.previewLabel->pixmap().toImage() == centred) return int(QDialog::Rejected);
            if (dialog.previewLabel->pixmap().isNull()) return int(QDialog::Rejected);
            chosen = dialog.recipe();
            return int(QDialog::Accepted);
        };
        m.recipeMenu()->storeFrameAction->trigger();
        QVERIFY(run.dialogs.messages.empty());
        QVERIFY(chosen.storeFrame);
        QCOMPARE(chosen.storeFrame->outer, (PrintSize{8, 10, LengthUnit::Inches}));
        QCOMPARE(chosen.dpi, std::optional<double>(20));
        QCOMPARE(chosen.storeFrame->cropPosition, 1.0);
        // 10 x 8 in at 20 pixels an inch, turned to the wide photo.
        const Bitmap& result = *m.controller().document()->Result();
        QCOMPARE(result.Width(), 200);
        QCOMPARE(result.Height(), 160);
        QCOMPARE_PICTURES(result, *FrameByRecipe(photo, chosen)->Result());
        // An opening that does not fit the frame is reported; nothing changes.
        run.dialogs.onModal = [](QDialog& d) {
            static_cast<StoreFrameDialog&>(d).openingEdit->setText("9x12 in");
            return int(QDialog::Accepted);
        };
        m.controller().undo();
        m.recipeMenu()->storeFrameAction->trigger();
        QCOMPARE(run.dialogs.messages.size(), std::size_t(1));
        QVERIFY(!m.controller().framing());
    }

    // --- Presets -------------------------------------------------------------------------

    void thePresetsSubmenuListsThePresetsWithPicturesAndAppliesOne() {
        ShellRun run;
        QDir().mkpath(QString::fromStdString(run.path("Presets")));
        QDir().mkpath(QString::fromStdString(run.path("user/quillon/Presets")));
        run.writeText("Presets/Plain mat.toml",
                      "version = 1\n[[group]]\nstyle = \"matte\"\nframe-height = \"10%\"\n");
        run.writeText("user/quillon/Presets/Dark corner.toml",
                      "version = 1\n[[group]]\nstyle = \"corner\"\nframe-color = \"202020\"\n");
        run.writeText("user/quillon/Presets/Broken.toml", "version = 1\nstyle = 4\n");
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(run.path("user")));
        MainWindow& m = run.start();
        const std::string photo = run.writePicture("photo.bmp", 90, 60);
        m.controller().open(photo);
        QMenu& presets = *m.recipeMenu()->presetsMenu;
        emit presets.aboutToShow();
        QStringList names;
        for (QAction* a : presets.actions()) {
            names << a->text();
            QCOMPARE(a->icon().availableSizes().value(0), QSize(174, 25));
        }
        QCOMPARE(names, (QStringList{"Broken", "Dark corner", "Plain mat"}));
        QCOMPARE(presets.actions()[1]->toolTip(), QString("Dark corner (yours)"));
        presets.actions()[2]->trigger();
        QVERIFY(run.dialogs.messages.empty());
        const auto expected = FrameByRecipe(photo, LoadRecipe(run.path("Presets/Plain mat.toml")));
        QCOMPARE_PICTURES(*m.controller().document()->Result(), *expected->Result());
        QCOMPARE(m.controller().undoCaption(), QString("&Undo Recipe"));
        presets.actions()[0]->trigger();
        QCOMPARE(run.dialogs.messages.size(), std::size_t(1));
        QVERIFY(run.dialogs.messages[0].text.find("Broken.toml:2:") != std::string::npos);
        if (dataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", dataHome);
    }
};

QTEST_MAIN(RecipeMenuTest)
#include "RecipeMenuTest.moc"
