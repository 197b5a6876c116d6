// The frame edit bar and the decoration picker driven through their widgets
// in the real main window: which fields each style shows, what Enter, Tab,
// the up-down buttons and the colour swatches do, and picking decorations.
#include "GuiFixture.h"
#include "app/ColorChoicePopup.h"
#include "app/FrameEditBar.h"
#include "app/ImageWindow.h"
#include "app/dialogs/DecorationPicker.h"
#include "formats/DominantColors.h"
#include "frames/FrameStyle.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
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

    void aValueOutOfRangeIsBroughtIntoItAndSaysSo() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        FrameEditBar& bar = *m.editBar();
        // The range is in the box's tooltip before anything is typed.
        QCOMPARE(bar.frameHeightEdit->toolTip(), QString("Frame Height: 0 to 200 pixels"));
        Type(bar.frameHeightEdit, "5000");
        QTest::keyClick(bar.frameHeightEdit, Qt::Key_Return);
        QCOMPARE(Document(m).GetFrameHeight(), 200);
        QCOMPARE(bar.frameHeightEdit->text(), QString("200"));
        QVERIFY(bar.rangeNotice().contains("0 to 200"));
        QVERIFY(bar.rangeNotice().contains("5000 is out of range: set to 200"));
        // A value in range says nothing.
        Type(bar.frameHeightEdit, "7");
        QTest::keyClick(bar.frameHeightEdit, Qt::Key_Return);
        QCOMPARE(Document(m).GetFrameHeight(), 7);
        QVERIFY(bar.rangeNotice().isEmpty());
        // With a unit the limit is half the photo's shorter side.
        m.controller().setLengthUnit(EditField::FrameWidth, LengthUnit::Percent);
        Type(bar.frameWidthEdit, "80");
        QTest::keyClick(bar.frameWidthEdit, Qt::Key_Return);
        QCOMPARE(Document(m).GetFrameWidth(), 20);
        QCOMPARE(bar.frameWidthEdit->text(), QString("50"));
    }

    void aNegativeValueBecomesZeroAndTheBoxesAfterItApply() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        const int border = Document(m).GetBorderWidth();
        FrameEditBar& bar = *m.editBar();
        Type(bar.frameHeightEdit, "7");
        Type(bar.frameWidthEdit, "-3");
        Type(bar.borderWidthEdit, QString::number(border + 1));
        QTest::keyClick(bar.borderWidthEdit, Qt::Key_Return);
        QCOMPARE(Document(m).GetFrameHeight(), 7);
        QCOMPARE(Document(m).GetFrameWidth(), 0);
        QCOMPARE(Document(m).GetBorderWidth(), border + 1);
        QCOMPARE(Document(m).Result()->Height(), 40 + 2 * 7);
        QCOMPARE(bar.frameWidthEdit->text(), QString("0"));
        QVERIFY(bar.rangeNotice().contains("-3 is out of range: set to 0"));
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

    void tabAppliesInEveryBoxAndMovesOn() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        FrameEditBar& bar = *m.editBar();
        Type(bar.frameHeightEdit, "11");
        Type(bar.frameWidthEdit, "12");
        bar.frameWidthEdit->setFocus();
        QTest::keyClick(bar.frameWidthEdit, Qt::Key_Tab);
        QCOMPARE(Document(m).GetFrameHeight(), 11);
        QCOMPARE(Document(m).GetFrameWidth(), 12);
        QVERIFY(bar.borderWidthEdit->hasFocus());
        QTest::keyClick(bar.borderWidthEdit, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(bar.frameWidthEdit->hasFocus());
    }

    void typingAppliesAfterAPauseAndWaitsForANumber() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        FrameEditBar& bar = *m.editBar();
        const int before = Document(m).GetFrameHeight();
        bar.frameHeightEdit->selectAll();
        QTest::keyClicks(bar.frameHeightEdit, "13");
        QCOMPARE(Document(m).GetFrameHeight(), before); // not while typing
        QTRY_COMPARE(Document(m).GetFrameHeight(), 13);
        QCOMPARE(Document(m).Result()->Height(), 40 + 2 * 13);
        // An emptied box is someone about to type: it keeps its text, the
        // frame keeps its value, and no message interrupts.
        bar.frameWidthEdit->selectAll();
        QTest::keyClick(bar.frameWidthEdit, Qt::Key_Delete);
        QTest::qWait(FrameEditBar::kTypingPauseMs * 2);
        QCOMPARE(bar.frameWidthEdit->text(), QString());
        QVERIFY(run.dialogs.messages.empty());
        QTest::keyClicks(bar.frameWidthEdit, "9");
        QTRY_COMPARE(Document(m).GetFrameWidth(), 9);
    }

    void aSpunResolutionAppliesAfterAPause() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        FrameEditBar& bar = *m.editBar();
        m.controller().setPrintDpi(100);
        m.controller().setLengthUnit(EditField::FrameHeight, LengthUnit::Inches);
        QVERIFY(bar.dpiSpin->isVisible());
        bar.dpiSpin->stepBy(20);
        QCOMPARE(m.controller().editUnits().dpi, std::optional<double>(100));
        QTRY_COMPARE(m.controller().editUnits().dpi, std::optional<double>(120));
    }

    void anUpDownArrowHeldDownRepeats() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        const int before = Document(m).GetFrameHeight();
        auto* up = m.editBar()->frameHeightUpDown->findChild<QToolButton*>("frameHeightUp");
        QTest::mousePress(up, Qt::LeftButton);
        QTest::qWait(1000);
        QTest::mouseRelease(up, Qt::LeftButton);
        QVERIFY2(Document(m).GetFrameHeight() > before + 3,
                 qPrintable(QString::number(Document(m).GetFrameHeight() - before)));
    }

    void everyShownFieldHasATooltip() {
        ShellRun run;
        WriteDecorations(run);
        MainWindow& m = FramePicture(run, StyleId::Corner);
        FrameEditBar& bar = *m.editBar();
        for (const StyleInfo& info : StyleCatalog()) {
            m.styleAction(info.id)->trigger();
            // The shadow's pieces are not in the scratch folder.
            if (info.id == StyleId::Shadow) continue;
            QVERIFY2(m.controller().style() == info.id, info.cliName);
            for (QWidget* w : bar.findChildren<QWidget*>()) {
                if (!w->isVisibleTo(&bar) || qobject_cast<QMenu*>(w) || w == bar.decorationSwatch)
                    continue;
                if (w->parentWidget() != &bar && w->parentWidget()->parentWidget() != &bar)
                    continue;
                if (w->objectName().endsWith("UpDown")) continue; // its buttons have them
                QVERIFY2(!w->toolTip().isEmpty(),
                         qPrintable(QString(info.cliName) + ": " + w->objectName()));
            }
        }
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
        bar.colorChoice->moreButton()->click();
        QVERIFY(Document(m).CurrentFrame()->PatternName.empty());
        QCOMPARE(Document(m).GetFrameColor(), RGB(10, 200, 30));
        QCOMPARE(bar.frameColorSwatch->palette().color(QPalette::Window), QColor(10, 200, 30));
        QCOMPARE(bar.decorationPicture().Pixel(1, 1) & 0xFFFFFF, kWhite);
        // A cancelled dialog changes nothing.
        QTest::mouseClick(bar.borderColorSwatch, Qt::LeftButton);
        bar.colorChoice->moreButton()->click();
        QCOMPARE(Document(m).GetFrameColor(), RGB(10, 200, 30));
    }

    void aColourSwatchOffersThePhotosOwnColoursInOneClick() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Matte);
        FrameEditBar& bar = *m.editBar();
        const std::vector<Color> photo = m.controller().photoColors(FrameEditBar::kPhotoColorCount);
        QCOMPARE(photo, DominantColors(Document(m).Photo(), FrameEditBar::kPhotoColorCount));
        QTest::mouseClick(bar.frameColorSwatch, Qt::LeftButton);
        ColorChoicePopup& popup = *bar.colorChoice;
        QVERIFY(popup.isVisible());
        QCOMPARE(popup.swatches().size(), photo.size());
        QCOMPARE(popup.swatches()[1]->toolTip(), ColorName(photo[1]) + " from the photo");
        popup.swatches()[1]->click();
        QVERIFY(!popup.isVisible());
        QCOMPARE(Document(m).GetFrameColor(), photo[1]);
        QCOMPARE(bar.frameColorSwatch->palette().color(QPalette::Window),
                 QColor(GetRValue(photo[1]), GetGValue(photo[1]), GetBValue(photo[1])));
        // The border swatch offers the same, for the border.
        QTest::mouseClick(bar.borderColorSwatch, Qt::LeftButton);
        popup.swatches()[0]->click();
        QCOMPARE(Document(m).GetBorderColor(), photo[0]);
        QCOMPARE(Document(m).GetFrameColor(), photo[1]);
        // Escape closes it without a choice.
        QTest::mouseClick(bar.frameColorSwatch, Qt::LeftButton);
        QTest::keyClick(&popup, Qt::Key_Escape);
        QVERIFY(!popup.isVisible());
        QCOMPARE(Document(m).GetFrameColor(), photo[1]);
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
        // "None" first, then the files sorted by path, each named.
        QCOMPARE(picker.patternList->count(), 3);
        QCOMPARE(picker.patternList->item(0)->data(Qt::AccessibleTextRole).toString(),
                 QString("None"));
        QVERIFY(picker.patternList->item(1)->text().endsWith("B.BMP"));
        QCOMPARE(picker.patternList->item(1)->toolTip(), QString("B"));
        QCOMPARE(picker.patternList->item(2)->toolTip(), QString("a"));
        QTest::mouseClick(bar.decorationSwatch, Qt::LeftButton);
        QVERIFY(!picker.isVisible());
        QCOMPARE(picker.patternList->count(), 3);

        // One click chooses, and the pop-up stays for the next try.
        QTest::mouseClick(bar.decorationPanel, Qt::LeftButton);
        QListWidget& list = *picker.patternList;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(2)).center());
        QVERIFY(Document(m).CurrentFrame()->PatternName.ends_with("a.bmp"));
        QVERIFY(picker.isVisible());
        QVERIFY(bar.decorationPicture().Pixel(1, 1) != kWhite);
        // "None" takes the pattern away, and the swatch shows none.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(0)).center());
        QVERIFY(Document(m).CurrentFrame()->PatternName.empty());
        QCOMPARE(bar.decorationPicture().Pixel(5, 5) & 0xFFFFFF, kWhite);
        QVERIFY(!m.controller().recipe().groups.back().pattern); // a recipe names none
        QTest::keyClick(picker.patternList, Qt::Key_Escape);
        QVERIFY(!picker.isVisible());
    }

    void aClickElsewhereOrEscapeClosesThePicker() {
        ShellRun run;
        MainWindow& m = FramePicture(run, StyleId::Corner);
        DecorationPicker& picker = *m.decorationPicker();
        m.toggleDecorationPicker();
        QVERIFY(picker.isVisible());
        // A click inside the pop-up leaves it open, on the way through its
        // window as much as at the list.
        SendMouse(picker.patternList->viewport(), QEvent::MouseButtonPress, Qt::LeftButton,
                  Qt::LeftButton, {2, 2});
        QVERIFY(picker.isVisible());
        QTest::mouseClick(picker.windowHandle(), Qt::LeftButton, {}, {5, 30});
        QVERIFY(picker.isVisible());
        SendMouse(m.editBar()->frameHeightEdit, QEvent::MouseButtonPress, Qt::LeftButton,
                  Qt::LeftButton, {2, 2});
        QVERIFY(!picker.isVisible());
        // Escape pressed anywhere in the program closes it too.
        m.toggleDecorationPicker();
        QTest::keyClick(m.editBar()->frameHeightEdit, Qt::Key_Escape);
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
        // Mouldings are always needed: no "None".
        QVERIFY(picker.mouldingList->findItems("", Qt::MatchExactly).isEmpty());
        QCOMPARE(wide.front()->toolTip(), QString("Wide"));
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
        QCOMPARE(picker.maskList->item(1)->toolTip(),
                 QString::fromStdString("Zigzag\n" + run.path("mine/Zigzag.bmp")));
        picker.maskList->setCurrentRow(1);
        picker.chooseMask();
        QCOMPARE(Document(m).CurrentFrame()->PatternName, run.path("mine/Zigzag.bmp"));
    }
};

QTEST_MAIN(EditTest)
#include "EditTest.moc"
