// The frame edit bar and the decoration picker driven through their widgets
// in the real main window: which fields each style shows, what Enter, Tab,
// the up-down buttons and the colour swatches do, and picking decorations.
#include "GuiFixture.h"
#include "app/FrameEditBar.h"
#include "app/ImageWindow.h"
#include "app/dialogs/DecorationPicker.h"
#include "frames/FrameStyle.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include <filesystem>

using namespace quillon;

Q_DECLARE_METATYPE(StyleId)

namespace {

// Opens a width x height picture named photo.bmp and chooses style.
MainWindow& FramePicture(ShellRun& run, StyleId style, int width = 60, int height = 40) {
    MainWindow& m = run.start();
    run.dialogs.openAnswers.push_back(run.writePicture("photo.bmp", width, height));
    m.openAction->trigger();
    m.styleAction(style)->trigger();
    return m;
}

// The default decorations the ornate and overlay styles start with.
void WriteDecorations(ShellRun& run) {
    std::filesystem::create_directory(run.path("Ornate"));
    std::filesystem::create_directory(run.path("OVERLAY"));
    run.writePicture("Ornate/_Orn001.bmp", 30, 12);
    run.writePicture("OVERLAY/Fire ball.bmp", 20, 20);
}

void Type(QLineEdit* box, const QString& text) {
    box->setText(text);
}

const PhotoDocument& Document(MainWindow& m) {
    return *m.controller().document();
}

} // namespace

class EditTest : public QObject {
    Q_OBJECT
private slots:
    void eachStyleShowsItsFields_data() {
        QTest::addColumn<StyleId>("style");
        QTest::addColumn<QStringList>("visible");
        QTest::newRow("grayscale")
            << StyleId::Grayscale << QStringList{"frameHeightLabel", "frameWidthLabel"};
        QTest::newRow("ornate") << StyleId::Ornate
                                << QStringList{"frameHeightLabel", "decorationLabel"};
        QTest::newRow("overlay") << StyleId::Overlay << QStringList{"decorationLabel"};
        QTest::newRow("box") << StyleId::Box
                             << QStringList{"frameHeightLabel", "frameColorLabel",
                                            "borderColorLabel", "decorationLabel", "scaledCheck"};
    }
    void eachStyleShowsItsFields() {
        QFETCH(StyleId, style);
        QFETCH(QStringList, visible);
        ShellRun run;
        WriteDecorations(run);
        MainWindow& m = FramePicture(run, style);
        const FrameEditBar& bar = *m.editBar();
        QVERIFY(bar.isVisible());
        for (QWidget* field : std::initializer_list<QWidget*>{
                 bar.frameHeightLabel, bar.frameWidthLabel, bar.borderWidthLabel,
                 bar.frameColorLabel, bar.borderColorLabel, bar.decorationLabel, bar.scaledCheck})
            QCOMPARE(field->isVisible(), visible.contains(field->objectName()));
        QCOMPARE(bar.frameHeightEdit->isVisible(), visible.contains("frameHeightLabel"));
        QCOMPARE(bar.decorationPanel->isVisible(), visible.contains("decorationLabel"));
        // The captions are the catalogue's.
        const StyleInfo& info = StyleInfoOf(style);
        if (bar.decorationLabel->isVisible())
            QCOMPARE(bar.decorationLabel->text(), QString(info.Caption(EditField::Decoration)));
        if (style == StyleId::Grayscale) {
            QCOMPARE(bar.frameHeightLabel->text(), QString("Horizontal Color Band"));
            QCOMPARE(bar.frameWidthLabel->text(), QString("Vertical Color Band"));
            // Edit box, up-down and unit button, then the gap.
            QCOMPARE(bar.frameWidthLabel->x(),
                     bar.frameHeightLabel->width() + 3 + 26 + 14 + 1 + 22 + 12 + 5);
            QCOMPARE(bar.frameHeightUnit->x(), bar.frameHeightLabel->width() + 3 + 26 + 14 + 1 + 5);
            QVERIFY(bar.frameWidthUnit->isVisible());
            QVERIFY(!bar.borderWidthUnit->isVisible());
        }
        if (style == StyleId::Overlay) QCOMPARE(bar.decorationLabel->x(), 5);
        // The moulding's width comes first: a length, with its unit button.
        if (style == StyleId::Ornate) {
            QCOMPARE(bar.frameHeightLabel->text(), QString("Moulding Width"));
            QCOMPARE(bar.frameHeightLabel->x(), 5);
            QVERIFY(bar.frameHeightUnit->isVisible());
            QCOMPARE(bar.decorationLabel->x(),
                     bar.frameHeightLabel->width() + 3 + 26 + 14 + 1 + 22 + 12 + 5);
        }
        if (style == StyleId::Box) QCOMPARE(bar.scaledCheck->text(), QString("Gradient Effect"));
        // The mask's third field is a brightness: no unit.
        if (style == StyleId::Mask) QVERIFY(!bar.borderWidthUnit->isVisible());
    }

    void aRefusedValueSpringsBackAfterEnter() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        const int before = Document(m).GetFrameHeight();
        Type(m.editBar()->frameHeightEdit, "5000");
        QTest::keyClick(m.editBar()->frameHeightEdit, Qt::Key_Return);
        QCOMPARE(Document(m).GetFrameHeight(), before);
        QCOMPARE(m.editBar()->frameHeightEdit->text(), QString::number(before));
    }

    void aNegativeValueStopsEnterAtItsBox() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        const int width = Document(m).GetFrameWidth();
        const int border = Document(m).GetBorderWidth();
        FrameEditBar& bar = *m.editBar();
        Type(bar.frameHeightEdit, "7");
        Type(bar.frameWidthEdit, "-3");
        Type(bar.borderWidthEdit, QString::number(border + 1));
        QTest::keyClick(bar.borderWidthEdit, Qt::Key_Return);
        QCOMPARE(Document(m).GetFrameHeight(), 7);
        QCOMPARE(Document(m).GetFrameWidth(), width);
        QCOMPARE(Document(m).GetBorderWidth(), border);
        // The frame was painted with what was set: 7 above and below.
        QCOMPARE(Document(m).Result()->Height(), 40 + 2 * 7);
        QCOMPARE(bar.frameWidthEdit->text(), QString::number(width));
    }

    void notAnIntegerReportsAndKeepsTheBoxesBeforeIt() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        const int width = Document(m).GetFrameWidth();
        FrameEditBar& bar = *m.editBar();
        Type(bar.frameHeightEdit, "8");
        Type(bar.frameWidthEdit, "1x");
        QTest::keyClick(bar.frameWidthEdit, Qt::Key_Return);
        QCOMPARE(Document(m).GetFrameHeight(), 8);
        QCOMPARE(Document(m).GetFrameWidth(), width);
        QCOMPARE(Document(m).Result()->Height(), 40 + 2 * 8);
        QCOMPARE(run.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(run.dialogs.messages[0].text, std::string("'1x' is not a valid integer value"));
    }

    void tabActsAsEnterInTheFrameHeightBoxOnly() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        Type(m.editBar()->frameHeightEdit, "11");
        QTest::keyClick(m.editBar()->frameWidthEdit, Qt::Key_Tab);
        QVERIFY(Document(m).GetFrameHeight() != 11);
        QTest::keyClick(m.editBar()->frameHeightEdit, Qt::Key_Tab);
        QCOMPARE(Document(m).GetFrameHeight(), 11);
    }

    void upDownClicksStepTheValueAndRefitTheWindow() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        const int height = Document(m).GetFrameHeight();
        const int shownHeight = Document(m).PreviewHeight();
        FrameEditBar& bar = *m.editBar();
        bar.frameHeightUpDown->findChild<QToolButton*>("frameHeightUp")->click();
        QCOMPARE(Document(m).GetFrameHeight(), height + 1);
        QCOMPARE(bar.frameHeightEdit->text(), QString::number(height + 1));
        QCOMPARE(Document(m).PreviewHeight(), shownHeight + 2);
        QCOMPARE(m.imageWindow()->view()->height(), shownHeight + 2);
        bar.frameHeightUpDown->findChild<QToolButton*>("frameHeightDown")->click();
        QCOMPARE(Document(m).GetFrameHeight(), height);
        const int border = Document(m).GetBorderWidth();
        bar.borderWidthUpDown->findChild<QToolButton*>("borderWidthUp")->click();
        QCOMPARE(Document(m).GetBorderWidth(), border + 1);
        QCOMPARE(bar.borderWidthEdit->text(), QString::number(border + 1));
    }

    void theFrameColourSwatchReplacesThePattern() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        const std::string tile = run.writePicture("tile.bmp", 8, 8);
        m.controller().chooseDecoration(tile);
        QVERIFY(!Document(m).CurrentFrame()->PatternName.empty());
        FrameEditBar& bar = *m.editBar();
        // The swatch shows the tile: its top-left pixel is the tile's.
        QCOMPARE(bar.decorationPicture().Pixel(1, 1) & 0xFFFFFF, RGB(0, 0, 90));
        run.dialogs.colorAnswers.push_back(RGB(10, 200, 30));
        QTest::mouseClick(bar.frameColorSwatch, Qt::LeftButton);
        QVERIFY(Document(m).CurrentFrame()->PatternName.empty());
        QCOMPARE(Document(m).GetFrameColor(), RGB(10, 200, 30));
        QCOMPARE(bar.frameColorSwatch->palette().color(QPalette::Window), QColor(10, 200, 30));
        QCOMPARE(bar.decorationPicture().Pixel(1, 1) & 0xFFFFFF, kWhite);
        // A cancelled dialog changes nothing.
        QTest::mouseClick(bar.borderColorSwatch, Qt::LeftButton);
        QCOMPARE(Document(m).GetFrameColor(), RGB(10, 200, 30));
    }

    void theScaleCheckBoxRepaintsTheFrame() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Box);
        FrameEditBar& bar = *m.editBar();
        QVERIFY(bar.scaledCheck->isVisible());
        const bool before = Document(m).GetScaled();
        bar.scaledCheck->click();
        QCOMPARE(Document(m).GetScaled(), !before);
        QCOMPARE(bar.scaledCheck->isChecked(), !before);
    }

    // --- The picker ---------------------------------------------------------------------------

    void theDecorationSwatchOpensThenClosesThePicker() {
        ShellRun run;
        std::filesystem::create_directory(run.path("PATTERNS"));
        run.writePicture("PATTERNS/B.BMP", 4, 4);
        run.writePicture("PATTERNS/a.bmp", 4, 4);
        MainWindow& m = FramePicture(run, StyleId::Corner);
        DecorationPicker& picker = *m.decorationPicker();
        FrameEditBar& bar = *m.editBar();
        QTest::mouseClick(bar.decorationPanel, Qt::LeftButton);
        QVERIFY(picker.isVisible());
        QVERIFY(picker.patternList->isVisible());
        QCOMPARE(picker.patternList->count(), 2);
        QVERIFY(picker.patternList->item(0)->text().endsWith("B.BMP")); // sorted by path
        QTest::mouseClick(bar.decorationSwatch, Qt::LeftButton);
        QVERIFY(!picker.isVisible());
        QCOMPARE(picker.patternList->count(), 2);

        QTest::mouseClick(bar.decorationPanel, Qt::LeftButton);
        picker.patternList->setCurrentRow(1);
        picker.choosePattern();
        QVERIFY(Document(m).CurrentFrame()->PatternName.ends_with("a.bmp"));
        QTest::keyClick(picker.patternList, Qt::Key_Escape);
        QVERIFY(!picker.isVisible());
    }

    void thePickerClosesWhenThePointerMovesOverThePictureOrThePictureCloses() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        m.toggleDecorationPicker();
        QVERIFY(m.decorationPicker()->isVisible());
        SendMouse(m.imageWindow()->view(), QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {2, 2});
        QVERIFY(!m.decorationPicker()->isVisible());
        m.toggleDecorationPicker();
        m.imageWindow()->close(); // and when the picture goes
        QVERIFY(!m.decorationPicker()->isVisible());
    }

    void aMouldingFromThePickerGivesTheFrameItsThickness() {
        ShellRun run;
        WriteDecorations(run);
        run.writePicture("Ornate/Wide.bmp", 30, 16);
        MainWindow& m = FramePicture(run, StyleId::Ornate);
        DecorationPicker& picker = *m.decorationPicker();
        m.toggleDecorationPicker();
        QVERIFY(picker.mouldingList->isVisible());
        QCOMPARE(picker.mouldingList->count(), 2);
        const auto wide = picker.mouldingList->findItems("Wide.bmp", Qt::MatchEndsWith);
        QCOMPARE(wide.size(), 1);
        picker.mouldingList->setCurrentItem(wide.front());
        picker.chooseMoulding();
        QCOMPARE(Document(m).Result()->Width(), 60 + 2 * 16);
        QCOMPARE(m.imageWindow()->view()->width(), 60 + 2 * 16);
    }

    void maskListItemsCarryTheirPathAfterSixtyCharacters() {
        ScratchRun run;
        const std::string longName(70, 'm');
        std::filesystem::create_directory(run.path("masks"));
        std::filesystem::create_directory(run.path("mine"));
        run.writeText("masks/" + longName + ".BMP", "x");
        run.writeText("masks/Soft.bmp", "x");
        run.writeText("mine/Soft.jpg", "x");
        run.writeText("mine/notes.txt", "x");
        QListWidget list;
        list.setSortingEnabled(true);
        CreateListOfFiles(run.path("masks"), "*.bmp", &list);
        CreateListOfFiles(run.path("mine"), "*.jpg", &list);
        CreateListOfFiles("", "*.jpg", &list);
        QCOMPARE(list.count(), 3);
        // Sorted by text: "Soft" before "mmm...", and the same visible name
        // from two folders ordered by path.
        QCOMPARE(DecorationItemPath(list.item(0)->text().toStdString()),
                 run.path("masks/Soft.bmp"));
        QCOMPARE(DecorationItemPath(list.item(1)->text().toStdString()), run.path("mine/Soft.jpg"));
        const std::string last = list.item(2)->text().toStdString();
        QCOMPARE(last.substr(0, 60), std::string(60, 'm'));
        QCOMPARE(DecorationItemPath(last), run.path("masks/" + longName + ".BMP"));
    }

    void theUsersOwnMasksFolderIsListedAfterTheProgramsOwn() {
        ShellRun run;
        std::filesystem::create_directory(run.path("masks"));
        std::filesystem::create_directory(run.path("mine"));
        run.writePicture("masks/Grainy Edge.jpg", 20, 20);
        run.writePicture("mine/Zigzag.bmp", 20, 20);
        MainWindow& m = FramePicture(run, StyleId::Mask);
        m.controller().setFolder(FolderSetting::Mask, run.path("mine"));
        m.toggleDecorationPicker();
        DecorationPicker& picker = *m.decorationPicker();
        QCOMPARE(picker.maskList->count(), 2);
        picker.maskList->setCurrentRow(1);
        picker.chooseMask();
        QCOMPARE(Document(m).CurrentFrame()->PatternName, run.path("mine/Zigzag.bmp"));
    }
};

QTEST_MAIN(EditTest)
#include "EditTest.moc"
