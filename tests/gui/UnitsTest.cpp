// Frame lengths with units: the controller's conversions against numbers
// worked out by hand (percent of the photo's shorter side, print lengths
// through the print size or a DPI, halves rounded away from zero), and the
// edit bar's unit buttons, print size and printed photo size.
#include "GuiFixture.h"
#include "app/FrameEditBar.h"
#include "app/print/PrintPreviewDialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <filesystem>

using namespace quillon;

namespace {

LengthEdit Height(double value, LengthUnit unit) {
    LengthEdit e;
    e.frameHeight = Length{value, unit};
    return e;
}

// A 600 x 400 photo in a matte: a 6 x 4 in print is 100 pixels an inch.
PhotoDocument& MattePhoto(ControllerRun& run) {
    PhotoDocument& doc = run.openPicture(600, 400);
    run.controller.chooseStyle(StyleId::Matte);
    return doc;
}

} // namespace

class UnitsTest : public QObject {
    Q_OBJECT
private slots:
    void lengthsConvertAsTheCommandLineConvertsThem() {
        ControllerRun run;
        DocumentController& c = run.controller;
        PhotoDocument& doc = MattePhoto(run);
        QCOMPARE(c.pixelsPerInch(), 100.0);
        struct Case {
            double value;
            LengthUnit unit;
            int pixels;
        } cases[] = {
            {5, LengthUnit::Percent, 20},        // 5 % of 400
            {3.125, LengthUnit::Percent, 13},    // 12.5 rounds away from zero
            {0.25, LengthUnit::Inches, 25},      // at 100 pixels an inch
            {0.125, LengthUnit::Inches, 13},     // 12.5 again
            {2.54, LengthUnit::Millimetres, 10}, // a tenth of an inch
            {17, LengthUnit::Pixels, 17},
        };
        for (const Case& k : cases) {
            c.editFrameLengths(Height(k.value, k.unit));
            QCOMPARE(doc.GetFrameHeight(), k.pixels);
        }
        // At a DPI instead of a print size.
        c.setPrintDpi(300);
        c.editFrameLengths(Height(0.1, LengthUnit::Inches));
        QCOMPARE(doc.GetFrameHeight(), 30);
    }

    void aFieldShowsItsLengthInItsUnitWithItsRange() {
        ControllerRun run;
        DocumentController& c = run.controller;
        MattePhoto(run);
        c.setLengthUnit(EditField::FrameWidth, LengthUnit::Inches);
        c.editFrameLengths([] {
            LengthEdit e;
            e.frameWidth = Length{0.37, LengthUnit::Inches};
            return e;
        }());
        // 37 pixels, shown as typed rather than converted back.
        QCOMPARE(c.document()->GetFrameWidth(), 37);
        QCOMPARE(c.shownLength(EditField::FrameWidth), 0.37);
        c.setLengthUnit(EditField::FrameWidth, LengthUnit::Percent);
        QCOMPARE(c.shownLength(EditField::FrameWidth), 9.25);
        // Half the shorter side, in each unit; pixels keep the style's own.
        QCOMPARE(c.lengthLimit(EditField::FrameWidth), 50.0);
        c.setLengthUnit(EditField::FrameWidth, LengthUnit::Millimetres);
        QCOMPARE(c.lengthLimit(EditField::FrameWidth), 50.8);
        c.setLengthUnit(EditField::FrameWidth, LengthUnit::Pixels);
        QCOMPARE(c.lengthLimit(EditField::FrameWidth),
                 double(c.document()->CurrentFrame()->ThicknessLimit()));
    }

    void aLengthOverHalfTheShorterSideIsRefusedWhole() {
        ControllerRun run;
        DocumentController& c = run.controller;
        PhotoDocument& doc = MattePhoto(run);
        const int height = doc.GetFrameHeight(), width = doc.GetFrameWidth();
        LengthEdit e;
        e.frameHeight = Length{1, LengthUnit::Inches};
        e.frameWidth = Length{2.5, LengthUnit::Inches}; // 250 > 200
        QVERIFY_THROWS_EXCEPTION(SettingError, c.editFrameLengths(e));
        QCOMPARE(doc.GetFrameHeight(), height);
        QCOMPARE(doc.GetFrameWidth(), width);
    }

    void mouldingAndShadowWidthsTakePrintLengths() {
        // At the 6 x 4 in print size's 100 pixels an inch.
        ControllerRun run;
        DocumentController& c = run.controller;
        std::filesystem::create_directory(run.path("Ornate"));
        run.writePicture("Ornate/_Orn001.bmp", 12, 12);
        for (const char* piece : {"ru.res", "rc.res", "rl.res", "ll.res", "lc.res"})
            SaveBmpFile(*ControllerRun::samplePicture(6, 6), run.path(piece));
        PhotoDocument& doc = run.openPicture(600, 400);
        c.chooseStyle(StyleId::Ornate);
        QCOMPARE(doc.GetFrameHeight(), 12);
        c.editFrameLengths(Height(0.5, LengthUnit::Inches));
        QCOMPARE(doc.GetFrameHeight(), 50);
        QCOMPARE(doc.CurrentFrame()->OutputWidth, 700);
        c.chooseStyle(StyleId::Shadow);
        QCOMPARE(doc.GetBorderWidth(), 6);
        LengthEdit shadow;
        shadow.borderWidth = Length{2, LengthUnit::Millimetres};
        c.editFrameLengths(shadow);
        QCOMPARE(doc.GetBorderWidth(), 8); // 7.87 pixels
    }

    void aNewPrintSizeKeepsPrintLengthsOnThePaper() {
        ControllerRun run;
        DocumentController& c = run.controller;
        PhotoDocument& doc = MattePhoto(run);
        c.editFrameLengths(Height(0.5, LengthUnit::Inches));
        LengthEdit border;
        border.borderWidth = Length{1, LengthUnit::Percent};
        c.editFrameLengths(border);
        QCOMPARE(doc.GetFrameHeight(), 50);
        QSignalSpy units(&c, &DocumentController::unitsChanged);
        c.setPrintSize({3, 2, LengthUnit::Inches}); // 200 pixels an inch
        QCOMPARE(units.count(), 1);
        QCOMPARE(doc.GetFrameHeight(), 100);
        QCOMPARE(doc.GetBorderWidth(), 4); // a percentage does not move
        // A size at which the length no longer fits is refused.
        QVERIFY_THROWS_EXCEPTION(SettingError, c.setPrintSize({1, 0.5, LengthUnit::Inches}));
        QCOMPARE(c.editUnits().printSize, (PrintSize{3, 2, LengthUnit::Inches}));
        QCOMPARE(doc.GetFrameHeight(), 100);
    }

    void percentagesReferToThePhotoBeforeAnyAppliedFrame() {
        ControllerRun run;
        DocumentController& c = run.controller;
        MattePhoto(run);
        c.applyFrame();
        QVERIFY(c.document()->Photo().Height() > 400);
        c.chooseStyle(StyleId::Corner);
        c.editFrameLengths(Height(5, LengthUnit::Percent));
        QCOMPARE(c.document()->GetFrameHeight(), 20);
        // A rotation before the frame turns the photo the lengths refer to.
        ControllerRun turned;
        turned.openPicture(600, 300);
        turned.controller.rotateRight();
        turned.controller.chooseStyle(StyleId::Matte);
        turned.controller.editFrameLengths(Height(1, LengthUnit::Inches));
        // 300 x 600 fits in 6 x 4 in at the larger of 50 and 150 pixels an inch.
        QCOMPARE(turned.controller.document()->GetFrameHeight(), 150);
    }

    // --- The edit bar ------------------------------------------------------------------

    void theBarTakesAUnitAndShowsThePrintSize() {
        ShellRun run;
        MainWindow& m = run.start();
        m.controller().open(run.writePicture("photo.bmp", 600, 400));
        m.styleAction(StyleId::Matte)->trigger();
        FrameEditBar& bar = *m.editBar();
        // Untouched, the bar is in pixels and shows no print size.
        QCOMPARE(bar.frameHeightUnit->text(), QString("px"));
        QVERIFY(!bar.printSizeCombo->isVisible());
        QVERIFY(bar.frameHeightEdit->toolTip().contains("0 to 200 pixels"));
        QCOMPARE(bar.frameHeightUnit->accessibleName(), QString("Matte Height unit"));
        QAction* inches = bar.frameHeightUnit->menu()->findChild<QAction*>("frameHeightUnit_in");
        QVERIFY(inches);
        inches->trigger();
        QCOMPARE(bar.frameHeightUnit->text(), QString("in"));
        QVERIFY(bar.printSizeCombo->isVisible());
        QCOMPARE(bar.printSizeCombo->currentText(), QString("6x4 in"));
        QVERIFY(bar.printSizeCombo->x() > bar.decorationPanel->x());
        QVERIFY(bar.frameHeightEdit->toolTip().contains("0 to 2 inches for a 6x4 in print"));
        bar.frameHeightEdit->setText("0.5");
        bar.applyFields();
        QCOMPARE(m.controller().document()->GetFrameHeight(), 50);
        QCOMPARE(bar.frameHeightEdit->text(), QString("0.5"));
        bar.stepFrameHeight(1);
        QCOMPARE(bar.frameHeightEdit->text(), QString("0.55"));
        QCOMPARE(m.controller().document()->GetFrameHeight(), 55);
        // "10x8 in": the width decides, 60 pixels an inch, the same 0.55 in.
        bar.printSizeCombo->setCurrentIndex(2);
        bar.choosePrintSize(2);
        QCOMPARE(m.controller().document()->GetFrameHeight(), 33);
        QCOMPARE(bar.frameHeightEdit->text(), QString("0.55"));
        // The DPI entry shows the resolution box.
        bar.dpiSpin->setValue(200);
        bar.choosePrintSize(bar.printSizeCombo->count() - 1);
        QVERIFY(bar.dpiSpin->isVisible());
        QCOMPARE(m.controller().document()->GetFrameHeight(), 110);
        // A typed unit of its own counts; a word that is no length is shown.
        bar.frameHeightEdit->setText("10%");
        bar.applyFields();
        QCOMPARE(m.controller().document()->GetFrameHeight(), 40);
        bar.frameHeightEdit->setText("wide");
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, bar.applyFields());
    }

    void aPrintedPhotoSizeBecomesTheBarsPrintSize() {
        ShellRun run;
        MainWindow& m = run.start();
        m.controller().open(run.writePicture("photo.bmp", 600, 400));
        m.styleAction(StyleId::Matte)->trigger();
        m.controller().setLengthUnit(EditField::FrameHeight, LengthUnit::Inches);
        m.controller().editFrameLengths(Height(0.5, LengthUnit::Inches));
        QTemporaryDir dir;
        QPrinter& printer = CurrentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("print.pdf"));
        run.dialogs.onModal = [](QDialog& d) {
            auto& p = static_cast<PrintPreviewDialog&>(d);
            p.customSizeGroup->button(int(CustomSize::Size5x3))->click();
            p.printButton->click();
            return p.result();
        };
        m.printAction->trigger();
        QCOMPARE(m.controller().editUnits().printSize, (PrintSize{5, 3, LengthUnit::Inches}));
        QCOMPARE(m.editBar()->printSizeCombo->currentText(), QString("5x3 in"));
        // 600 x 400 fits in 5 x 3 in at 133.3 pixels an inch, so 0.5 in is 67.
        QCOMPARE(m.controller().document()->GetFrameHeight(), 67);
    }
};

QTEST_MAIN(UnitsTest)
#include "UnitsTest.moc"
