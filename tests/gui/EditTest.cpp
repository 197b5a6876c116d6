// The editing commands driven through the real main window: the undo
// history, the frame edit bar, the decoration picker, zoom and crop.
#include "GuiFixture.h"
#include "app/EditBar.h"
#include "app/dialogs/Patterns.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include <filesystem>

using namespace quillon;

namespace {

// Opens a width x height picture named photo.bmp.
TfrmMain& OpenPicture(TShellRun& run, int width = 60, int height = 40) {
    TfrmMain& m = run.Start();
    run.dialogs.OpenAnswers.push_back(run.WritePicture("photo.bmp", width, height));
    m.Open->trigger();
    return m;
}

// The default decorations the ornate and overlay styles start with.
void WriteDecorations(TShellRun& run) {
    std::filesystem::create_directory(run.Path("Ornate"));
    std::filesystem::create_directory(run.Path("OVERLAY"));
    run.WritePicture("Ornate/_Orn001.bmp", 30, 12);
    run.WritePicture("OVERLAY/Fire ball.bmp", 20, 20);
}

void PressKey(QWidget* widget, Qt::Key key) {
    QTest::keyClick(widget, key);
}

void Type(QLineEdit* box, const QString& text) {
    box->setText(text);
}

} // namespace

class EditTest : public QObject {
    Q_OBJECT
private slots:
    // Undo history.

    void twelvePushesThenTenUndosRestorePushesTwelveDownToThree() {
        TShellRun run;
        TfrmMain& m = OpenPicture(run);
        for (int k = 1; k <= 12; ++k) {
            Bitmap picture(10 + k, 5);
            m.AddUndo(picture, picture, "&Undo " + std::to_string(k));
        }
        QCOMPARE(m.UndoCount, 10);
        QCOMPARE(m.UndoIndex, 2);
        QCOMPARE(m.Undo1->text(), QString("&Undo 12"));
        for (int k = 12; k >= 3; --k) {
            QVERIFY(m.Undo1->isEnabled());
            m.Undo1->trigger();
            QCOMPARE(m.Document->Photo->Width(), 10 + k);
            QCOMPARE(m.Document->Image->PictureBitmap().Width(), 10 + k);
            const QString next = k > 3 ? QString("&Undo %1").arg(k - 1) : QString("&Undo");
            QCOMPARE(m.Undo1->text(), next);
        }
        QCOMPARE(m.UndoCount, 0);
        QVERIFY(!m.Undo1->isEnabled());
        m.Undo1->trigger(); // nothing left: no change
        QCOMPARE(m.Document->Photo->Width(), 13);
    }

    void undoRingBookkeeping() {
        int count = 0, index = 0;
        for (int n = 1; n <= 25; ++n) {
            AdvanceUndo(count, index);
            QCOMPARE(count, std::min(n, 10));
            QCOMPARE(index, (n - 1) % 10 + 1);
        }
        count = 3;
        index = 1;
        StepBackUndo(count, index);
        QCOMPARE(index, 10); // wraps while entries remain
        count = 1;
        index = 1;
        StepBackUndo(count, index);
        QCOMPARE(index, 0);
    }

    void bitmapStreamRoundTripsAndReusesItsStorage() {
        Bitmap picture(7, 3); // 28-byte rows; 24-bit rows below need padding
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x) picture.SetPixel(x, y, RGB(x * 30, y * 80, 7));
        TMemoryStream stream;
        WriteBitmapStream(picture, stream);
        const auto* storage = stream.Data.data();
        WriteBitmapStream(picture, stream);
        QCOMPARE(stream.Data.data(), storage);
        Bitmap back;
        ReadBitmapStream(stream, back);
        QCOMPARE(back.Width(), 7);
        QCOMPARE(back.Height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x) QCOMPARE(back.Pixel(x, y), picture.Pixel(x, y));
        Bitmap rgb(5, 2, PixelFormat::Bgr24);
        rgb.SetPixel(4, 1, RGB(1, 2, 3));
        WriteBitmapStream(rgb, stream);
        ReadBitmapStream(stream, back);
        QCOMPARE(back.Pixel(4, 1), RGB(1, 2, 3));
        QCOMPARE(back.Width(), 5);
    }

    void choosingAStylePushesOneUndoFrameAndUndoBringsBackTheDefaults() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = OpenPicture(run);
        m.SelectFrameStyle(fsCorner);
        m.SelectFrameStyle(fsMatte);
        m.SelectFrameStyle(fsCorner);
        QCOMPARE(m.UndoCount, 1);
        QCOMPARE(m.Undo1->text(), QString("&Undo Frame"));
        const int defaultHeight = m.Document->GetFrameHeight();
        Type(m.EditBar->edFrameHeight, QString::number(defaultHeight + 9));
        PressKey(m.EditBar->edFrameHeight, Qt::Key_Return);
        QCOMPARE(m.Document->GetFrameHeight(), defaultHeight + 9);

        m.Undo1->trigger();
        QVERIFY(m.pnlEdit->isHidden());
        QCOMPARE(m.Document->Style, int(fsNone));
        QVERIFY(!m.FrameInProgress);
        QVERIFY(!m.ApplyFrame->isEnabled());
        QVERIFY(m.Effects1->menuAction()->isEnabled());
        QCOMPARE(m.Document->Photo->Width(), 60);
        QVERIFY(!m.Undo1->isEnabled());
        m.SelectFrameStyle(fsCorner);
        QCOMPARE(m.Document->GetFrameHeight(), defaultHeight);
        QCOMPARE(m.EditBar->edFrameHeight->text(), QString::number(defaultHeight));
    }

    void openingResetsTheHistoryButKeepsTheCaption() {
        TShellRun run;
        TfrmMain& m = OpenPicture(run);
        Bitmap picture(4, 4);
        m.AddUndo(picture, picture, "&Undo Crop");
        run.dialogs.OpenAnswers.push_back(run.Path("photo.bmp"));
        m.Open->trigger();
        QCOMPARE(m.UndoCount, 0);
        QCOMPARE(m.UndoIndex, 0);
        QVERIFY(!m.Undo1->isEnabled());
        QCOMPARE(m.Undo1->text(), QString("&Undo Crop"));
    }

    // The edit bar.

    void eachStyleShowsItsGroups_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("visible");
        QTest::newRow("grayscale") << 5 << QStringList{"lblFH", "lblFW"};
        QTest::newRow("ornate") << 8 << QStringList{"lblP"};
        QTest::newRow("overlay") << 11 << QStringList{"lblP"};
        QTest::newRow("box") << 12 << QStringList{"lblFH", "lblFC", "lblBC", "lblP", "cbScaled"};
    }
    void eachStyleShowsItsGroups() {
        REQUIRE_ENGINE();
        QFETCH(int, style);
        QFETCH(QStringList, visible);
        TShellRun run;
        WriteDecorations(run);
        TfrmMain& m = OpenPicture(run);
        m.SelectFrameStyle(style);
        QVERIFY(m.pnlEdit->isVisible());
        const TEditBar& bar = *m.EditBar;
        const std::pair<const char*, QWidget*> groups[] = {
            {"lblFH", bar.lblFH},      {"lblFW", bar.lblFW}, {"lblBW", bar.lblBW},
            {"lblFC", bar.lblFC},      {"lblBC", bar.lblBC}, {"lblP", bar.lblP},
            {"cbScaled", bar.cbScaled}};
        for (const auto& [name, widget] : groups)
            QCOMPARE(widget->isVisible(), visible.contains(name));
        QCOMPARE(bar.edFrameHeight->isVisible(), visible.contains("lblFH"));
        QCOMPARE(bar.pnlPattern->isVisible(), visible.contains("lblP"));
        const TEditCaptions captions = EditBarCaptions(style);
        if (style == 5) {
            QCOMPARE(bar.lblFH->text(), QString("Horizontal Color Band"));
            QCOMPARE(bar.lblFW->text(), QString("Vertical Color Band"));
            QCOMPARE(bar.lblFW->x(), bar.lblFH->width() + 3 + 26 + 14 + 12 + 5);
        }
        if (style == 8 || style == 11) QCOMPARE(bar.lblP->x(), 5);
        if (style == 12) QCOMPARE(bar.cbScaled->text(), QString("Gradient Effect"));
        if (bar.lblP->isVisible()) QCOMPARE(bar.lblP->text().toStdString(), captions[egP]);
    }

    void refusedValueSpringsBackAfterEnter() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = OpenPicture(run);
        m.SelectFrameStyle(fsCorner);
        const int before = m.Document->GetFrameHeight();
        Type(m.EditBar->edFrameHeight, "5000");
        PressKey(m.EditBar->edFrameHeight, Qt::Key_Return);
        QCOMPARE(m.Document->GetFrameHeight(), before);
        QCOMPARE(m.EditBar->edFrameHeight->text(), QString::number(before));
    }

    void negativeValueStopsEnterAtItsBox() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = OpenPicture(run);
        m.SelectFrameStyle(fsCorner);
        const int width = m.Document->GetFrameWidth();
        const int border = m.Document->GetBorderWidth();
        Type(m.EditBar->edFrameHeight, "7");
        Type(m.EditBar->edFrameWidth, "-3");
        Type(m.EditBar->edBorderWidth, QString::number(border + 1));
        PressKey(m.EditBar->edBorderWidth, Qt::Key_Return);
        QCOMPARE(m.Document->GetFrameHeight(), 7);
        QCOMPARE(m.Document->GetFrameWidth(), width);
        QCOMPARE(m.Document->GetBorderWidth(), border);
    }

    void notAnIntegerReportsAndKeepsEarlierBoxes() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = OpenPicture(run);
        m.SelectFrameStyle(fsCorner);
        const int width = m.Document->GetFrameWidth();
        Type(m.EditBar->edFrameHeight, "8");
        Type(m.EditBar->edFrameWidth, "1x");
        PressKey(m.EditBar->edFrameWidth, Qt::Key_Return);
        QCOMPARE(m.Document->GetFrameHeight(), 8);
        QCOMPARE(m.Document->GetFrameWidth(), width);
        QCOMPARE(run.dialogs.Messages.size(), std::size_t(1));
        QCOMPARE(run.dialogs.Messages[0].Text, std::string("'1x' is not a valid integer value"));
    }

    void tabActsAsEnterInTheFrameHeightBoxOnly() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = OpenPicture(run);
        m.SelectFrameStyle(fsCorner);
        Type(m.EditBar->edFrameHeight, "11");
        PressKey(m.EditBar->edFrameWidth, Qt::Key_Tab);
        QVERIFY(m.Document->GetFrameHeight() != 11);
        PressKey(m.EditBar->edFrameHeight, Qt::Key_Tab);
        QCOMPARE(m.Document->GetFrameHeight(), 11);
    }

    void upDownClicksStepTheValueAndRender() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = OpenPicture(run);
        m.SelectFrameStyle(fsCorner);
        const int height = m.Document->GetFrameHeight();
        const int outputHeight = m.Document->GetDisplayHeight();
        m.EditBar->FrameHeightUD->findChild<QToolButton*>("FrameHeightUDUp")->click();
        QCOMPARE(m.Document->GetFrameHeight(), height + 1);
        QCOMPARE(m.EditBar->edFrameHeight->text(), QString::number(height + 1));
        QCOMPARE(m.Document->GetDisplayHeight(), outputHeight + 2);
        m.EditBar->FrameHeightUD->findChild<QToolButton*>("FrameHeightUDDown")->click();
        QCOMPARE(m.Document->GetFrameHeight(), height);
    }

    void frameColourRemovesThePattern() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = OpenPicture(run);
        const std::string tile = run.WritePicture("tile.bmp", 8, 8);
        m.SelectFrameStyle(fsCorner);
        m.Document->SetPattern(tile);
        QVERIFY(!m.Document->CurrentFrame()->PatternName.empty());
        run.dialogs.ColorAnswers.push_back(RGB(10, 200, 30));
        QTest::mouseClick(m.EditBar->pnlFrameColor, Qt::LeftButton);
        QVERIFY(m.Document->CurrentFrame()->PatternName.empty());
        QCOMPARE(m.Document->GetFrameColor(), RGB(10, 200, 30));
        QCOMPARE(m.EditBar->pnlFrameColor->palette().color(QPalette::Window), QColor(10, 200, 30));
        // A cancelled dialog changes nothing.
        QTest::mouseClick(m.EditBar->pnlBorderColor, Qt::LeftButton);
        QCOMPARE(m.Document->GetFrameColor(), RGB(10, 200, 30));
    }

    // The picker.

    void patternSwatchOpensThenClosesThePicker() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = OpenPicture(run);
        std::filesystem::create_directory(run.Path("PATTERNS"));
        run.WritePicture("PATTERNS/B.BMP", 4, 4);
        run.WritePicture("PATTERNS/a.bmp", 4, 4);
        m.SelectFrameStyle(fsCorner);
        QTest::mouseClick(m.EditBar->pnlPattern, Qt::LeftButton);
        QVERIFY(frmPattern->isVisible());
        QVERIFY(frmPattern->lbPatterns->isVisible());
        QCOMPARE(frmPattern->lbPatterns->count(), 2);
        QVERIFY(frmPattern->lbPatterns->item(0)->text().endsWith("B.BMP")); // sorted by path
        QTest::mouseClick(m.EditBar->Pattern, Qt::LeftButton);
        QVERIFY(!frmPattern->isVisible());
        QCOMPARE(frmPattern->lbPatterns->count(), 2);

        QTest::mouseClick(m.EditBar->pnlPattern, Qt::LeftButton);
        frmPattern->lbPatterns->setCurrentRow(1);
        frmPattern->lbPatternsDblClick();
        QVERIFY(m.Document->CurrentFrame()->PatternName.ends_with("a.bmp"));
        QTest::keyClick(frmPattern->lbPatterns, Qt::Key_Escape);
        QVERIFY(!frmPattern->isVisible());
    }

    void maskListItemsCarryTheirPathAfterSixtyCharacters() {
        TShellRun run;
        TfrmMain& m = run.Start();
        const std::string longName(70, 'm');
        std::filesystem::create_directory(run.Path("masks"));
        std::filesystem::create_directory(run.Path("mine"));
        run.WriteText("masks/" + longName + ".BMP", "x");
        run.WriteText("masks/Soft.bmp", "x");
        run.WriteText("mine/Soft.jpg", "x");
        run.WriteText("mine/notes.txt", "x");
        QListWidget list;
        list.setSortingEnabled(true);
        CreateListOfFiles(run.Path("masks"), "*.bmp", &list);
        CreateListOfFiles(run.Path("mine"), "*.jpg", &list);
        CreateListOfFiles("", "*.jpg", &list);
        QCOMPARE(list.count(), 3);
        // Sorted by text: "Soft" before "mmm...", and the same visible name
        // from two folders ordered by path.
        QCOMPARE(DecorationItemPath(list.item(0)->text().toStdString()),
                 run.Path("masks/Soft.bmp"));
        QCOMPARE(DecorationItemPath(list.item(1)->text().toStdString()), run.Path("mine/Soft.jpg"));
        const std::string last = list.item(2)->text().toStdString();
        QCOMPARE(last.substr(0, 60), std::string(60, 'm'));
        QCOMPARE(DecorationItemPath(last), run.Path("masks/" + longName + ".BMP"));
        (void)m;
    }

    // Zoom, selection and crop.

    void zoomCommandsCaptionAndPush_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("undo");
        QTest::newRow("100") << 0 << " - 100%"
                             << "&Undo Normal Size";
        QTest::newRow("75") << 2 << " - 75%  "
                            << "&Undo Zoom 75%";
        QTest::newRow("50") << 3 << " - 50%  "
                            << "&Undo Zoom 50%";
        QTest::newRow("25") << 4 << " - 25% "
                            << "&Undo Zoom 25%";
        QTest::newRow("10") << 5 << " - 10%  "
                            << "&Undo Zoom 10%";
    }
    void zoomCommandsCaptionAndPush() {
        REQUIRE_ENGINE();
        QFETCH(int, mode);
        QFETCH(QString, suffix);
        QFETCH(QString, undo);
        TShellRun run;
        TfrmMain& m = OpenPicture(run, 200, 100);
        QAction* items[] = {m.ZoomNormal, nullptr, m.Zoom75, m.Zoom50, m.Zoom25, m.Zoom10};
        items[mode]->trigger();
        QCOMPARE(m.frmWindow->windowTitle(), "photo.bmp" + suffix);
        QCOMPARE(m.Undo1->text(), undo);
        QCOMPARE(m.UndoCount, 1);
        for (QAction* item : items)
            if (item) QCOMPARE(item->isChecked(), item == items[mode]);
        const int scaledWidth = m.Document->Image->PictureBitmap().Width();
        m.Undo1->trigger();
        QCOMPARE(m.ZoomMode, 0);
        QVERIFY(m.ZoomNormal->isChecked());
        QCOMPARE(m.frmWindow->windowTitle(), QString("photo.bmp - 100%"));
        QCOMPARE(m.Document->Image->PictureBitmap().Width(), 200);
        if (mode == 3) QCOMPARE(scaledWidth, 100);
    }

    void zoomWhileFramingPushesNothing() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = OpenPicture(run, 200, 100);
        m.SelectFrameStyle(fsCorner);
        const int fullWidth = m.Document->VisibleImage()->PictureBitmap().Width();
        m.Zoom50->trigger();
        QCOMPARE(m.UndoCount, 1); // the frame's own entry only
        QCOMPARE(m.Undo1->text(), QString("&Undo Frame"));
        QVERIFY(m.FrameInProgress);
        QVERIFY(m.Document->VisibleImage()->PictureBitmap().Width() < fullWidth);
    }

    void smallSelectionDoesNotCrop_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("bottom");
        QTest::newRow("2 x 200") << 7 << 205;
        QTest::newRow("200 x 2") << 205 << 7;
    }
    void smallSelectionDoesNotCrop() {
        REQUIRE_ENGINE();
        QFETCH(int, right);
        QFETCH(int, bottom);
        TShellRun run;
        TfrmMain& m = OpenPicture(run, 300, 300);
        m.TSelection = {right, bottom, 5, 5}; // reversed: normalised, then refused
        m.CropSelection1Click();
        QCOMPARE(m.Document->GetImageWidth(), 300);
        QCOMPARE(m.UndoCount, 0);
        QCOMPARE(m.TSelection.Left, 5);
        QCOMPARE(m.TSelection.Right, right);
        m.ClearSelection(); // too small to erase: left in place
        QCOMPARE(m.TSelection.Right, right);
    }

    void reversedDragCropsTheSameArea() {
        REQUIRE_ENGINE();
        std::vector<Color> pixels[2];
        const TSelectionRect drags[] = {{5, 10, 25, 40}, {25, 40, 5, 10}};
        for (int i = 0; i < 2; ++i) {
            TShellRun run;
            TfrmMain& m = OpenPicture(run);
            m.TSelection = drags[i];
            m.DrawSelection(5, 10, 40, 25); // the band as the timer left it
            m.CropSelection1->setEnabled(true);
            m.CropSelection1->trigger();
            QCOMPARE(m.Undo1->text(), QString("&Undo Crop"));
            QCOMPARE(m.Document->GetImageWidth(), 20);
            QCOMPARE(m.Document->GetImageHeight(), 30);
            // The photo's own pixels, band erased: (x, y) of the crop is
            // (x + 5, y + 10) of the photo.
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 20; ++x) {
                    pixels[i].push_back(m.Document->Photo->Pixel(x, y));
                    QCOMPARE(pixels[i].back(), RGB((x + 5) * 7, (y + 10) * 5, 90));
                }
            m.Undo1->trigger();
            QCOMPARE(m.Document->GetImageWidth(), 60);
        }
        QCOMPARE(pixels[0], pixels[1]);
    }
};

QTEST_MAIN(EditTest)
#include "EditTest.moc"
