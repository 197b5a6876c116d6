// The main window and the image window driven through their actions and the
// dialog interface: start-up, menu states, captions, open, save, paste,
// closing the image window, the rubber band and the pop-up menu.
#include "GuiFixture.h"
#include "app/About.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QScrollArea>
#include <QtTest>

#include <filesystem>
#include <map>

using namespace quillon;

namespace {

// The enabled state of the document-dependent items and menus.
std::map<std::string, bool> MenuStates(const TfrmMain& m) {
    return {{"Save1", m.Save1->isEnabled()},
            {"Print1", m.Print1->isEnabled()},
            {"CopyToClipboard", m.CopyToClipboard->isEnabled()},
            {"Resize1", m.Resize1->isEnabled()},
            {"Undo1", m.Undo1->isEnabled()},
            {"ApplyFrame", m.ApplyFrame->isEnabled()},
            {"Frames1", m.Frames1->menuAction()->isEnabled()},
            {"View1", m.View1->menuAction()->isEnabled()},
            {"Effects1", m.Effects1->menuAction()->isEnabled()}};
}

std::map<std::string, bool> NoDocumentMenus() {
    return {{"Save1", false},   {"Print1", false}, {"CopyToClipboard", false},
            {"Resize1", false}, {"Undo1", false},  {"ApplyFrame", false},
            {"Frames1", false}, {"View1", false},  {"Effects1", false}};
}

std::map<std::string, bool> PictureMenus() {
    return {{"Save1", true},   {"Print1", true}, {"CopyToClipboard", true},
            {"Resize1", true}, {"Undo1", false}, {"ApplyFrame", false},
            {"Frames1", true}, {"View1", true},  {"Effects1", true}};
}

void WriteConfig(const std::string& path, int left, int top, int width, int height) {
    QSettings config(QString::fromStdString(path), QSettings::IniFormat);
    config.setValue("Desktop/Left", left);
    config.setValue("Desktop/Top", top);
    config.setValue("Desktop/Width", width);
    config.setValue("Desktop/Height", height);
}

} // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void maximiseRule_data() {
        QTest::addColumn<bool>("writeFile");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("maximised");
        QTest::newRow("missing file") << false << 0 << true;
        QTest::newRow("exactly the defaults") << true << 640 << true;
        QTest::newRow("width 641") << true << 641 << false;
    }
    void maximiseRule() {
        QFETCH(bool, writeFile);
        QFETCH(int, width);
        QFETCH(bool, maximised);
        TShellRun run;
        if (writeFile) WriteConfig(run.Path("quillon.cfg"), 0, 0, width, 480);
        TfrmMain& m = run.Start(false);
        QCOMPARE(bool(m.windowState() & Qt::WindowMaximized), maximised);
        if (!maximised) QCOMPARE(m.size(), QSize(width, 480));
    }

    void closingStoresBoundsThatTheNextStartUsesAsIs() {
        TShellRun run;
        WriteConfig(run.Path("quillon.cfg"), 30, 40, 700, 500);
        TfrmMain& m = run.Start();
        m.resize(810, 620);
        m.close();
        QSettings config(QString::fromStdString(run.Path("quillon.cfg")), QSettings::IniFormat);
        QCOMPARE(config.value("Desktop/Width").toInt(), 810);
        QCOMPARE(config.value("Desktop/Height").toInt(), 620);
        run.forms.reset();
        TfrmMain& again = run.Start(false);
        QVERIFY(!(again.windowState() & Qt::WindowMaximized));
        QCOMPARE(again.size(), QSize(810, 620));
    }

    void unwritableConfigurationDoesNotStopClosing() {
        TShellRun run;
        TfrmMain& m = run.Start();
        // A folder where the file should be makes the write fail whatever
        // the user's rights.
        std::filesystem::create_directory(run.Path("quillon.cfg"));
        QVERIFY(m.close());
        QVERIFY(run.dialogs.Messages.empty());
    }

    void startupWorkRunsAtTheFirstShowingOnly() {
        TShellRun run;
        TfrmMain& m = run.Start();
        QCOMPARE(run.dialogs.CountModal("TfrmAbout"), 1);
        QCOMPARE(m.Folders.OpenDir, run.Path("Pictures"));
        // A value stored now is not read by a later showing.
        QSettings store("Marrowind Software", "Quillon");
        store.setValue("OpenDir", QString::fromStdString(run.Path("")));
        store.sync();
        m.hide();
        m.show();
        QApplication::processEvents();
        QCOMPARE(run.dialogs.CountModal("TfrmAbout"), 1);
        QCOMPARE(m.Folders.OpenDir, run.Path("Pictures"));
    }

    void firstStartCreatesTheFiveKeysWithOnlyScaleOnOpenSet() {
        TShellRun run;
        run.Start();
        QSettings store("Marrowind Software", "Quillon");
        for (const char* key : {"OpenDir", "SaveDir", "OverlayDir", "MaskDir"}) {
            QVERIFY2(store.contains(key), key);
            QCOMPARE(store.value(key).toString(), QString());
        }
        QCOMPARE(store.value("ScaleOnOpen").toString(), QString("0"));
    }

    void storedFoldersApplyAtStartAndScaleOnOpenDoesNotZoom() {
        TShellRun run;
        {
            QSettings store("Marrowind Software", "Quillon");
            store.setValue("OpenDir", "/srv/photos");
            store.setValue("SaveDir", "");
            store.setValue("MaskDir", "/srv/masks");
            store.setValue("ScaleOnOpen", "1");
        }
        TfrmMain& m = run.Start();
        QCOMPARE(m.Folders.OpenDir, std::string("/srv/photos"));
        QCOMPARE(m.Folders.SaveDir, std::string());
        QCOMPARE(m.Folders.UserMaskFolder, std::string("/srv/masks"));
        QCOMPARE(m.ZoomMode, 0);
        QVERIFY(m.ZoomNormal->isChecked());
        QVERIFY(!m.Zoom50->isChecked());
        QCOMPARE(QSettings("Marrowind Software", "Quillon").value("ScaleOnOpen").toString(),
                 QString("1"));
    }

    void aboutBoxClosesByItselfOnlyAfterStartUp() {
        TShellRun run;
        run.Start(false);
        QVERIFY(frmAbout->Timer1.isActive());
        QCOMPARE(frmAbout->Timer1.interval(), 3000);
        QVERIFY(frmAbout->Timer1.isSingleShot());
        QCOMPARE(frmAbout->size(), TfrmAbout::MakePicture().size() - QSize(2, 2));
        QVERIFY(frmAbout->windowFlags() & Qt::FramelessWindowHint);
    }

    void menusAtStart() {
        TShellRun run;
        TfrmMain& m = run.Start();
        QCOMPARE(MenuStates(m), NoDocumentMenus());
        for (QAction* a : {m.Open, m.SelectSource, m.PrinterSetup1, m.Settings, m.Exit1,
                           m.PasteFromClipboard, m.About1, m.HelpSystem1})
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(!m.Scan->isEnabled());
        QCOMPARE(m.windowTitle(), QString("Quillon"));
        QCOMPARE(m.Frames1->actions().size(), 13);
        QCOMPARE(m.FrameItems[0]->objectName(), QString("FrameOrnate"));
        QCOMPARE(m.FrameItems[12]->objectName(), QString("BubbleFrame1"));
        QCOMPARE(m.FrameItems[0]->icon().availableSizes().value(0), QSize(174, 25));
    }

    void openShowsThePictureWithItsCaptions() {
        REQUIRE_ENGINE();
        TShellRun run;
        const std::string file = run.WritePicture("lake.bmp", 40, 30);
        TfrmMain& m = run.Start();
        m.ZoomMode = 3;
        run.dialogs.OpenAnswers.push_back(file);
        m.Open->trigger();
        QVERIFY(run.dialogs.Messages.empty());
        QCOMPARE(run.dialogs.OpenRequests.back().InitialDir, run.Path("Pictures"));
        QVERIFY(m.Document);
        QCOMPARE(m.Document->GetImageWidth(), 40);
        QCOMPARE(m.ZoomMode, 0);
        QCOMPARE(m.windowTitle().toStdString(), "Quillon - " + file);
        QCOMPARE(m.frmWindow->windowTitle(), QString("lake.bmp - 100%"));
        QVERIFY(m.ZoomNormal->isChecked());
        QCOMPARE(m.CurrentFileName, file);
        QCOMPARE(MenuStates(m), PictureMenus());
        // The new window is fitted to the picture at the top left.
        const TSizeWH first = FirstWindowSize(m.Metrics, 40, 30, m.width(), m.height());
        QCOMPARE(m.frmWindow->geometry(), QRect(0, 0, first.Width, first.Height));
        // The picture went onto the clipboard.
        QVERIFY(run.clipboard.HasBitmap());
    }

    void cancelledOpenChangesNothing() {
        TShellRun run;
        TfrmMain& m = run.Start();
        run.dialogs.OpenAnswers.push_back(std::nullopt);
        m.Open->trigger();
        QVERIFY(!m.Document);
        QCOMPARE(MenuStates(m), NoDocumentMenus());
    }

    void pasteAfterOpenKeepsTheFileNameInTheWindowCaption() {
        REQUIRE_ENGINE();
        TShellRun run;
        const std::string file = run.WritePicture("lake.bmp", 20, 10);
        TfrmMain& m = run.Start();
        run.dialogs.OpenAnswers.push_back(file);
        m.Open->trigger();
        m.UndoCount = 4;
        run.PutPictureOnClipboard(12, 8);
        m.PasteFromClipboard->trigger();
        QCOMPARE(m.windowTitle(), QString("Quillon"));
        QCOMPARE(m.frmWindow->windowTitle(), QString("lake.bmp - 100%"));
        QCOMPARE(m.Document->GetImageWidth(), 12);
        QCOMPARE(m.CurrentFileName, file);
        QCOMPARE(m.UndoCount, 4);
    }

    void pasteBeforeAnyOpenShowsTheZoomSuffixAlone() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(12, 8);
        m.PasteFromClipboard->trigger();
        QVERIFY(m.Document);
        QCOMPARE(m.frmWindow->windowTitle(), QString(" - 100%"));
        QCOMPARE(MenuStates(m), PictureMenus());
        QCOMPARE(m.MdiArea->subWindowList().size(), 1);
    }

    void pasteWithNoBitmapDoesNothing() {
        TShellRun run;
        TfrmMain& m = run.Start();
        run.clipboard.Clear();
        m.PasteFromClipboard->trigger();
        QVERIFY(!m.Document);
        QVERIFY(run.dialogs.Messages.empty());
        QCOMPARE(MenuStates(m), NoDocumentMenus());
    }

    void anEmptyPictureIsReportedAsCorrupted() {
        TShellRun run;
        TfrmMain& m = run.Start();
        run.clipboard.Clear();
        m.RunCommand([&] { m.LoadFile("/photos/holiday.jpg", true); });
        QCOMPARE(int(run.dialogs.Messages.size()), 1);
        QCOMPARE(run.dialogs.Messages[0].Text, std::string("File holiday.jpg appears corrupted!"));
        QVERIFY(run.dialogs.Messages[0].Icon == TMsgIcon::Error);
        QVERIFY(run.dialogs.Messages[0].Buttons == TMsgButtons::Ok);
        QVERIFY(!m.Document);
        QVERIFY(!m.frmWindow);
        QCOMPARE(MenuStates(m), NoDocumentMenus());
        QCOMPARE(m.windowTitle(), QString("Quillon"));
    }

    void anUnreadableFileLeavesNoDocument() {
        REQUIRE_ENGINE();
        TShellRun run;
        const std::string good = run.WritePicture("good.bmp", 10, 10);
        run.WriteText("broken.bmp", "this is not a picture");
        TfrmMain& m = run.Start();
        run.dialogs.OpenAnswers.push_back(good);
        m.Open->trigger();
        run.dialogs.OpenAnswers.push_back(run.Path("broken.bmp"));
        m.Open->trigger();
        // The reader's message reaches the standard exception box.
        QCOMPARE(int(run.dialogs.Messages.size()), 1);
        QVERIFY(!run.dialogs.Messages[0].Text.empty());
        QVERIFY(!m.Document);
        QVERIFY(!m.frmWindow);
        QCOMPARE(MenuStates(m), NoDocumentMenus());
        QCOMPARE(m.windowTitle(), QString("Quillon"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        // The program goes on: another picture opens normally.
        run.dialogs.OpenAnswers.push_back(good);
        m.Open->trigger();
        QVERIFY(m.Document);
    }

    void saveAsksBeforeOverwritingAndNamesOnlyTheFile() {
        REQUIRE_ENGINE();
        TShellRun run;
        const std::string file = run.WritePicture("lake.bmp", 16, 12);
        const std::string target = run.WritePicture("old.bmp", 3, 3);
        const auto oldSize = std::filesystem::file_size(target);
        TfrmMain& m = run.Start();
        run.dialogs.OpenAnswers.push_back(file);
        m.Open->trigger();

        run.dialogs.SaveAnswers.push_back(target);
        run.dialogs.MessageAnswers.push_back(TMsgResult::No);
        m.Save1->trigger();
        QCOMPARE(int(run.dialogs.Messages.size()), 1);
        QCOMPARE(run.dialogs.Messages[0].Text,
                 std::string("File old.bmp already exists, overwrite?"));
        QVERIFY(run.dialogs.Messages[0].Buttons == TMsgButtons::YesNo);
        QCOMPARE(std::filesystem::file_size(target), oldSize);
        QCOMPARE(m.windowTitle().toStdString(), "Quillon - " + file);

        run.dialogs.SaveAnswers.push_back(target);
        run.dialogs.MessageAnswers.push_back(TMsgResult::Yes);
        m.Save1->trigger();
        QVERIFY(std::filesystem::file_size(target) != oldSize);
        QCOMPARE(m.windowTitle().toStdString(), "Quillon - " + target);
        QCOMPARE(m.frmWindow->windowTitle(), QString("old.bmp - 100%"));
        QCOMPARE(m.CurrentFileName, target);
    }

    void saveToANewFileAsksNothing() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(9, 7);
        m.PasteFromClipboard->trigger();
        run.dialogs.SaveAnswers.push_back(run.Path("new.bmp"));
        m.Save1->trigger();
        QVERIFY(run.dialogs.Messages.empty());
        auto saved = LoadPictureFile(run.Path("new.bmp"));
        QCOMPARE(saved->Width(), 9);
        QCOMPARE(run.dialogs.SaveRequests.back().DefaultExtension, std::string("*.bmp"));
    }

    void saveUnderANameOfNoWrittenFormatSaysSo() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(9, 7);
        m.PasteFromClipboard->trigger();
        run.dialogs.SaveAnswers.push_back(run.Path("picture.png"));
        m.Save1->trigger();
        QCOMPARE(int(run.dialogs.Messages.size()), 1);
        QVERIFY(!QFileInfo::exists(QString::fromStdString(run.Path("picture.png"))));
        QCOMPARE(m.windowTitle(), QString("Quillon"));
        QCOMPARE(m.CurrentFileName, std::string());
    }

    void copyPutsTheFullSizePictureOnTheClipboard() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(30, 20);
        m.PasteFromClipboard->trigger();
        run.clipboard.Clear();
        m.CopyToClipboard->trigger();
        Bitmap copied;
        QVERIFY(run.clipboard.GetBitmap(copied));
        QCOMPARE(copied.Width(), 30);
        QCOMPARE(copied.Height(), 20);
    }

    void closingTheImageWindowDisablesTheDocumentMenusButKeepsTheUndoCount() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(30, 20);
        m.PasteFromClipboard->trigger();
        m.UndoCount = 2;
        m.Undo1->setEnabled(true);
        m.pnlEdit->show();
        m.frmWindow->close();
        QVERIFY(!m.Document);
        QVERIFY(!m.frmWindow);
        QCOMPARE(MenuStates(m), NoDocumentMenus());
        QCOMPARE(m.windowTitle(), QString("Quillon"));
        QVERIFY(m.pnlEdit->isHidden());
        QCOMPARE(m.UndoCount, 2);
        QApplication::processEvents();
        QCOMPARE(m.MdiArea->subWindowList().size(), 0);
    }

    void choosingAFrameStyleSwitchesTheMenus() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(60, 40);
        m.PasteFromClipboard->trigger();
        m.FrameItems[8]->trigger(); // CornerFrame1
        if (!run.dialogs.Messages.empty())
            QSKIP(qPrintable("the frame style cannot draw yet: " +
                             QString::fromStdString(run.dialogs.Messages[0].Text)));
        QCOMPARE(m.Document->Style, int(fsCorner));
        QVERIFY(m.FrameInProgress);
        auto states = MenuStates(m);
        QVERIFY(states["ApplyFrame"] && states["Print1"] && states["CopyToClipboard"] &&
                states["Save1"]);
        QVERIFY(!states["Effects1"] && !states["Resize1"]);
        QVERIFY(!m.pnlEdit->isHidden());

        const int framedWidth = m.Document->GetDisplayWidth();
        QVERIFY(framedWidth > 60);
        m.ApplyFrame->trigger();
        QCOMPARE(m.Document->Style, int(fsNone));
        QCOMPARE(m.Document->GetImageWidth(), framedWidth);
        QVERIFY(!m.FrameInProgress);
        QVERIFY(m.Resize1->isEnabled());
        QVERIFY(!m.ApplyFrame->isEnabled());
        QVERIFY(m.pnlEdit->isHidden());
    }

    void applyFrameRebuildsTheFramedPictureAtTheCurrentZoom() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(80, 60);
        m.ZoomMode = 3;
        m.PasteFromClipboard->trigger();
        QCOMPARE(m.Document->GetImageWidth(), 40);
        m.FrameItems[7]->trigger(); // StandardFrame1: a matte all round
        if (!run.dialogs.Messages.empty()) QSKIP("the frame style cannot draw yet");
        float scale = 0;
        const int framedWidth = m.Document->GetFramedPicture(scale)->Width();
        m.ApplyFrame->trigger();
        QCOMPARE(m.ZoomMode, 3);
        QCOMPARE(m.Document->Photo->Width(), framedWidth);
        QCOMPARE(m.Document->GetImageWidth(), framedWidth / 2);
        QCOMPARE(m.frmWindow->windowTitle(), QString(" - 50%  "));
        QVERIFY(m.Zoom50->isChecked());
    }

    void frameStyleWithoutADocumentDoesNothing() {
        TShellRun run;
        TfrmMain& m = run.Start();
        m.SelectFrameStyle(fsOval);
        QVERIFY(!m.ApplyFrame->isEnabled());
        QVERIFY(run.dialogs.Messages.empty());
    }

    void rightClickOpensThePopupAtTheClickLessTheScrollPosition() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(30, 20);
        m.PasteFromClipboard->trigger();
        TfrmWindow* w = m.frmWindow;
        SendMouse(w->View, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {7, 9});
        SendMouse(w->View, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {7, 9});
        w->Timer1Timer();
        QCOMPARE(int(run.dialogs.PopupPositions.size()), 1);
        const QPoint expected(m.geometry().left() + w->x() + 7, m.geometry().top() + w->y() + 9);
        QCOMPARE(run.dialogs.PopupPositions[0], expected);
        QCOMPARE(w->PopupMenu.actions().size(), 13);
        QVERIFY(!m.TimerBusy);
        // The event was consumed: the next tick opens nothing.
        w->Timer1Timer();
        QCOMPARE(int(run.dialogs.PopupPositions.size()), 1);
    }

    void aDragDrawsTheRubberBandAndTheSameRectangleBackwards() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(30, 20);
        m.PasteFromClipboard->trigger();
        TfrmWindow* w = m.frmWindow;
        Bitmap before;
        before.Assign(m.Document->Image->PictureBitmap());

        SendMouse(w->View, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {3, 4});
        w->Timer1Timer();
        QVERIFY(m.Dragging);
        QCOMPARE(m.TSelection.Left, 3);
        QCOMPARE(m.TSelection.Right, m.Document->MouseState.PointerX);

        SendMouse(w->View, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {12, 10});
        w->Timer1Timer();
        QCOMPARE(m.TSelection.Right, 12);
        QCOMPARE(m.TSelection.Bottom, 10);

        SendMouse(w->View, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {12, 10});
        w->Timer1Timer();
        QVERIFY(!m.Dragging);
        w->Timer1Timer();
        QVERIFY(m.CropSelection1->isEnabled());

        // Exactly the outline of (3, 4)-(12, 10) is drawn, once.
        Bitmap expected;
        expected.Assign(before);
        XorFocusRect(expected, Rect(3, 4, 12, 10));
        const Bitmap& shown = m.Document->Image->PictureBitmap();
        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x)
                QCOMPARE(shown.Pixel(x, y), expected.Pixel(x, y));

        // A right click erases it, resets the selection and opens the pop-up.
        SendMouse(w->View, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {5, 5});
        SendMouse(w->View, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {5, 5});
        w->Timer1Timer();
        QCOMPARE(m.TSelection.Right, 0);
        QCOMPARE(int(run.dialogs.PopupPositions.size()), 1);
        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x) QCOMPARE(shown.Pixel(x, y), before.Pixel(x, y));

        // Dragged from bottom-right to top-left: the same outline.
        SendMouse(w->View, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {12, 10});
        w->Timer1Timer();
        SendMouse(w->View, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {3, 4});
        SendMouse(w->View, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {3, 4});
        w->Timer1Timer();
        QCOMPARE(m.TSelection.Right, 3); // raw pointer values are kept
        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x)
                QCOMPARE(shown.Pixel(x, y), expected.Pixel(x, y));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void aTickWithoutADocumentOnlySetsTheCropItem() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(30, 20);
        m.PasteFromClipboard->trigger();
        TfrmWindow* w = m.frmWindow;
        m.Document.reset();
        m.TSelection = {1, 1, 5, 5};
        w->Timer1Timer();
        QVERIFY(m.CropSelection1->isEnabled());
        m.TSelection = {};
        w->Timer1Timer();
        QVERIFY(!m.CropSelection1->isEnabled());
    }

    void aResizedMainWindowRefitsTheImageWindow() {
        REQUIRE_ENGINE();
        TShellRun run;
        WriteConfig(run.Path("quillon.cfg"), 0, 0, 900, 700);
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(600, 500);
        m.PasteFromClipboard->trigger();
        m.resize(400, 300);
        QApplication::processEvents();
        const TSizeWH fitted =
            AdjustedWindowSize(m.Metrics, 600, 500, m.width(), m.height(), false, 24);
        QCOMPARE(m.frmWindow->size(), QSize(fitted.Width, fitted.Height));
    }

    void commandsThatNeedNothingOpenTheirDialogs() {
        TShellRun run;
        TfrmMain& m = run.Start();
        m.Settings->trigger();
        m.About1->trigger();
        m.HelpSystem1->trigger();
        QCOMPARE(run.dialogs.CountModal("TfrmSetting"), 1);
        QCOMPARE(run.dialogs.CountModal("TfrmAbout"), 2);
        QCOMPARE(run.dialogs.HelpFiles.back(), run.Path("help/index.html"));
    }
};

QTEST_MAIN(ShellTest)
#include "ShellTest.moc"
