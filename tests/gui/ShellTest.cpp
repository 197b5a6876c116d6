// The main window and the image window driven through their actions, the
// mouse and the dialog interface: start-up, menu states, captions, the
// Frames menu, open and save, closing the image window, the rubber band and
// the pop-up menu, and how the image window is fitted round the picture.
#include "GuiFixture.h"
#include "app/FrameEditBar.h"
#include "app/ImageWindow.h"
#include "app/QtBitmap.h"
#include "app/StylePictures.h"
#include "app/dialogs/AboutDialog.h"

#include <QAccessible>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QtTest>

#include <filesystem>
#include <map>

using namespace quillon;

namespace {

// The enabled state of the items and menus that depend on the picture.
std::map<std::string, bool> MenuStates(const MainWindow& m) {
    return {{"saveAs", m.saveAsAction->isEnabled()},
            {"print", m.printAction->isEnabled()},
            {"copy", m.copyAction->isEnabled()},
            {"resize", m.resizeAction->isEnabled()},
            {"undo", m.undoAction->isEnabled()},
            {"applyFrame", m.applyFrameAction->isEnabled()},
            {"frames", m.framesMenu->menuAction()->isEnabled()},
            {"view", m.viewMenu->menuAction()->isEnabled()},
            {"image", m.imageMenu->menuAction()->isEnabled()}};
}

std::map<std::string, bool> NoDocumentMenus() {
    return {{"saveAs", false}, {"print", false}, {"copy", false},
            {"resize", false}, {"undo", false},  {"applyFrame", false},
            {"frames", false}, {"view", false},  {"image", false}};
}

std::map<std::string, bool> PictureMenus() {
    return {{"saveAs", true}, {"print", true}, {"copy", true},
            {"resize", true}, {"undo", false}, {"applyFrame", false},
            {"frames", true}, {"view", true},  {"image", true}};
}

void WriteConfig(const std::string& path, int left, int top, int width, int height) {
    QSettings config(QString::fromStdString(path), QSettings::IniFormat);
    config.setValue("Desktop/Left", left);
    config.setValue("Desktop/Top", top);
    config.setValue("Desktop/Width", width);
    config.setValue("Desktop/Height", height);
}

// Opens a width x height picture named photo.bmp through the File menu.
MainWindow& OpenPicture(ShellRun& run, int width = 60, int height = 40) {
    MainWindow& m = run.start();
    run.dialogs.openAnswers.push_back(run.writePicture("photo.bmp", width, height));
    m.openAction->trigger();
    return m;
}

} // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    // --- Start-up and closing ---------------------------------------------------------

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
        ShellRun run;
        if (writeFile) WriteConfig(run.path("quillon.cfg"), 0, 0, width, 480);
        MainWindow& m = run.start(false);
        QCOMPARE(bool(m.windowState() & Qt::WindowMaximized), maximised);
        if (!maximised) QCOMPARE(m.size(), QSize(width, 480));
    }

    void closingStoresBoundsThatTheNextStartUsesAsIs() {
        ShellRun run;
        WriteConfig(run.path("quillon.cfg"), 30, 40, 700, 500);
        MainWindow& m = run.start();
        m.resize(810, 620);
        m.close();
        QSettings config(QString::fromStdString(run.path("quillon.cfg")), QSettings::IniFormat);
        QCOMPARE(config.value("Desktop/Width").toInt(), 810);
        QCOMPARE(config.value("Desktop/Height").toInt(), 620);
        run.window.reset();
        MainWindow& again = run.start(false);
        QVERIFY(!(again.windowState() & Qt::WindowMaximized));
        QCOMPARE(again.size(), QSize(810, 620));
    }

    void unwritableConfigurationDoesNotStopClosing() {
        ShellRun run;
        MainWindow& m = run.start();
        // A folder where the file should be makes the write fail whatever
        // the user's rights.
        std::filesystem::create_directory(run.path("quillon.cfg"));
        QVERIFY(m.close());
        QVERIFY(run.dialogs.messages.empty());
    }

    void startupWorkRunsAtTheFirstShowingOnly() {
        ShellRun run;
        MainWindow& m = run.start();
        QCOMPARE(run.dialogs.countModal("AboutDialog"), 1);
        QCOMPARE(m.controller().folders().openDir, run.path("Pictures"));
        // A value stored now is not read by a later showing.
        QSettings store("Marrowind Software", "Quillon");
        store.setValue("OpenDir", QString::fromStdString(run.path("")));
        store.sync();
        m.hide();
        m.show();
        QApplication::processEvents();
        QCOMPARE(run.dialogs.countModal("AboutDialog"), 1);
        QCOMPARE(m.controller().folders().openDir, run.path("Pictures"));
    }

    void firstStartCreatesTheFiveKeysWithOnlyScaleOnOpenSet() {
        ShellRun run;
        run.start();
        QSettings store("Marrowind Software", "Quillon");
        for (const char* key : {"OpenDir", "SaveDir", "OverlayDir", "MaskDir"}) {
            QVERIFY2(store.contains(key), key);
            QCOMPARE(store.value(key).toString(), QString());
        }
        QCOMPARE(store.value("ScaleOnOpen").toString(), QString("0"));
    }

    void storedFoldersApplyAtStartAndScaleOnOpenDoesNotZoom() {
        ShellRun run;
        {
            QSettings store("Marrowind Software", "Quillon");
            store.setValue("OpenDir", "/srv/photos");
            store.setValue("SaveDir", "");
            store.setValue("MaskDir", "/srv/masks");
            store.setValue("ScaleOnOpen", "1");
        }
        MainWindow& m = run.start();
        const ShellFolders& folders = m.controller().folders();
        QCOMPARE(folders.openDir, std::string("/srv/photos"));
        QCOMPARE(folders.saveDir, std::string());
        QCOMPARE(folders.userMaskFolder, std::string("/srv/masks"));
        QVERIFY(m.controller().fitting());
        QVERIFY(m.zoomFitAction->isChecked());
        QVERIFY(!m.zoomNormalAction->isChecked());
        QCOMPARE(QSettings("Marrowind Software", "Quillon").value("ScaleOnOpen").toString(),
                 QString("1"));
    }

    void aboutBoxClosesByItselfOnlyAfterStartUp() {
        ShellRun run;
        MainWindow& m = run.start(false);
        AboutDialog& about = m.aboutDialog();
        QVERIFY(about.closeTimer.isActive());
        QCOMPARE(about.closeTimer.interval(), 3000);
        QVERIFY(about.closeTimer.isSingleShot());
        QCOMPARE(about.size(), AboutDialog::makePicture().size() - QSize(2, 2));
        QVERIFY(about.windowFlags() & Qt::FramelessWindowHint);
    }

    void commandsThatNeedNothingOpenTheirDialogs() {
        ShellRun run;
        MainWindow& m = run.start();
        m.settingsAction->trigger();
        m.aboutAction->trigger();
        m.helpAction->trigger();
        QCOMPARE(run.dialogs.countModal("SettingsDialog"), 1);
        QCOMPARE(run.dialogs.countModal("AboutDialog"), 2);
        QCOMPARE(run.dialogs.helpFiles.back(), run.path("help/index.html"));
    }

    // --- Menus ------------------------------------------------------------------------------

    void menusAtStart() {
        ShellRun run;
        MainWindow& m = run.start();
        QCOMPARE(MenuStates(m), NoDocumentMenus());
        for (QAction* a :
             {m.openAction, m.selectSourceAction, m.printerSetupAction, m.settingsAction,
              m.exitAction, m.pasteAction, m.aboutAction, m.helpAction})
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(!m.scanAction->isEnabled());
        QVERIFY(!m.cropAction->isEnabled());
        QCOMPARE(m.windowTitle(), QString("Quillon"));
        QCOMPARE(m.undoAction->text(), QString("&Undo"));
        const QStringList menus = {"&File", "F&rames", "&Edit", "&Image", "&View", "&Help"};
        const QList<QMenu*> shown = {m.fileMenu,  m.framesMenu, m.editMenu,
                                     m.imageMenu, m.viewMenu,   m.helpMenu};
        for (int i = 0; i < menus.size(); ++i) QCOMPARE(shown[i]->title(), menus[i]);
    }

    void theFramesMenuFollowsTheCatalogueAndNamesEachPicture() {
        ShellRun run;
        MainWindow& m = run.start();
        const QList<QAction*> items = m.framesMenu->actions();
        // The styles, then after a separator the recipe items.
        QCOMPARE(items.size(), kStyleCount + 5);
        QVERIFY(items[kStyleCount]->isSeparator());
        QStringList recipeItems;
        for (int i = kStyleCount + 1; i < items.size(); ++i) recipeItems << items[i]->objectName();
        QCOMPARE(recipeItems, (QStringList{"saveRecipeAction", "applyRecipeAction",
                                           "presetsMenuAction", "storeFrameAction"}));
        const auto order = StylesInMenuOrder();
        QCOMPARE(order.front(), StyleId::Ornate);
        QCOMPARE(order.back(), StyleId::Bubble);
        QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(m.framesMenu);
        QVERIFY(menu);
        QCOMPARE(menu->childCount(), int(items.size()));
        for (int i = 0; i < kStyleCount; ++i) {
            const StyleInfo& info = StyleInfoOf(order[std::size_t(i)]);
            QAction* item = items[i];
            QCOMPARE(item, m.styleAction(info.id));
            QCOMPARE(item->toolTip(), QString(info.displayName));
            QCOMPARE(menu->child(i)->text(QAccessible::Name), QString(info.displayName));
            QCOMPARE(item->icon().availableSizes().value(0),
                     QSize(kStylePictureWidth, kStylePictureHeight));
            // Drawn as the picture alone, at the picture's size.
            QCOMPARE(m.framesMenu->actionGeometry(item).height(), kStylePictureHeight + 4);
        }
    }

    void aStyleItemShowsItsPictureAndNoText() {
        ShellRun run;
        MainWindow& m = run.start();
        m.framesMenu->popup(QPoint(0, 0));
        QApplication::processEvents();
        QAction* corner = m.styleAction(StyleId::Corner);
        const QRect at = m.framesMenu->actionGeometry(corner);
        const QImage shown = m.framesMenu->grab(at).toImage();
        m.framesMenu->hide();
        const QImage picture = StylePictures()[std::size_t(StyleId::Corner)];
        // The picture sits 4 pixels in and 2 down, pixel for pixel.
        QCOMPARE(shown.copy(4, 2, picture.width(), picture.height())
                     .convertToFormat(QImage::Format_RGB32),
                 picture.convertToFormat(QImage::Format_RGB32));
    }

    // --- Opening and saving -------------------------------------------------------------------

    void openShowsThePictureWithItsCaptions() {
        ShellRun run;
        const std::string file = run.writePicture("lake.bmp", 40, 30);
        MainWindow& m = run.start();
        m.zoom50Action->trigger(); // a photo opens fitted all the same
        run.dialogs.openAnswers.push_back(file);
        m.openAction->trigger();
        QVERIFY(run.dialogs.messages.empty());
        QCOMPARE(run.dialogs.openRequests.back().initialDir, run.path("Pictures"));
        QVERIFY(m.controller().hasDocument());
        QCOMPARE(m.windowTitle().toStdString(), "Quillon - " + file);
        QCOMPARE(m.imageWindow()->windowTitle(), QString("lake.bmp - 100%"));
        QVERIFY(m.zoomFitAction->isChecked());
        QVERIFY(!m.zoom50Action->isChecked());
        QCOMPARE(MenuStates(m), PictureMenus());
        QVERIFY(m.editBar()->isHidden());
        // The new window is fitted to the picture at the top left.
        const WindowSize first = FirstWindowSize(m.metrics(), 40, 30, m.width(), m.height());
        QCOMPARE(m.imageWindow()->geometry(), QRect(0, 0, first.width, first.height));
        QCOMPARE(m.imageWindow()->view()->size(), QSize(40, 30));
        // Opening leaves the clipboard alone.
        QVERIFY(!run.clipboard.HasPicture());
    }

    void cancelledOpenChangesNothing() {
        ShellRun run;
        MainWindow& m = run.start();
        run.dialogs.openAnswers.push_back(std::nullopt);
        m.openAction->trigger();
        QVERIFY(!m.controller().hasDocument());
        QCOMPARE(MenuStates(m), NoDocumentMenus());
    }

    void anUnreadableFileIsReportedAndThePictureStays() {
        ShellRun run;
        run.writeText("broken.bmp", "this is not a picture");
        MainWindow& m = OpenPicture(run);
        ImageWindow* window = m.imageWindow();
        run.dialogs.openAnswers.push_back(run.path("broken.bmp"));
        m.openAction->trigger();
        // The reader's message reaches the error box, which says what failed
        // and names the file.
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].caption, std::string("Could not open photo"));
        QVERIFY(run.dialogs.messages[0].text.find("broken.bmp") != std::string::npos);
        QCOMPARE(m.imageWindow(), window);
        QCOMPARE(m.windowTitle().toStdString(), "Quillon - " + run.path("photo.bmp"));
        QCOMPARE(MenuStates(m), PictureMenus());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void aTinyPictureAtTenPercentStaysAPixel() {
        ShellRun run;
        MainWindow& m = OpenPicture(run, 5, 4);
        m.zoom10Action->trigger();
        QVERIFY(run.dialogs.messages.empty());
        QVERIFY(m.controller().hasDocument());
        QCOMPARE(m.imageWindow()->view()->size(), QSize(1, 1));
        QCOMPARE(m.controller().document()->Photo().Width(), 5);
    }

    void saveAsksBeforeOverwritingAndNamesOnlyTheFile() {
        ShellRun run;
        const std::string target = run.writePicture("old.bmp", 3, 3);
        const auto oldSize = std::filesystem::file_size(target);
        MainWindow& m = OpenPicture(run, 16, 12);

        run.dialogs.saveAnswers.push_back(target);
        run.dialogs.messageAnswers.push_back(MessageResult::No);
        m.saveAsAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].text,
                 std::string("File old.bmp already exists, overwrite?"));
        QVERIFY(run.dialogs.messages[0].buttons == MessageButtons::YesNo);
        QCOMPARE(std::filesystem::file_size(target), oldSize);
        QCOMPARE(m.windowTitle().toStdString(), "Quillon - " + run.path("photo.bmp"));

        run.dialogs.saveAnswers.push_back(target);
        run.dialogs.messageAnswers.push_back(MessageResult::Yes);
        m.saveAsAction->trigger();
        QVERIFY(std::filesystem::file_size(target) != oldSize);
        QCOMPARE(m.windowTitle().toStdString(), "Quillon - " + target);
        QCOMPARE(m.imageWindow()->windowTitle(), QString("old.bmp - 100%"));
        QCOMPARE(run.dialogs.saveRequests.back().defaultExtension, std::string("*.bmp"));
    }

    void saveUnderANameOfNoWrittenFormatSaysSo() {
        ShellRun run;
        MainWindow& m = run.start();
        run.putPictureOnClipboard(9, 7);
        m.pasteAction->trigger();
        run.dialogs.saveAnswers.push_back(run.path("picture.tga"));
        m.saveAsAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].caption, std::string("Could not save photo"));
        QCOMPARE(run.dialogs.messages[0].text,
                 std::string("File picture.tga was not saved: the name must end in .bmp, .jpg, "
                             ".gif, .png or .webp."));
        QVERIFY(!QFileInfo::exists(QString::fromStdString(run.path("picture.png"))));
        QCOMPARE(m.windowTitle(), QString("Quillon"));
    }

    void aSaveThatCannotWriteNamesTheFileAndKeepsTheChanges() {
        ShellRun run;
        MainWindow& m = run.start();
        run.putPictureOnClipboard(9, 7);
        m.pasteAction->trigger();
        const std::string target = run.path("no such folder/picture.bmp");
        run.dialogs.saveAnswers.push_back(target);
        m.saveAsAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].caption, std::string("Could not save photo"));
        QVERIFY(run.dialogs.messages[0].text.find(target) != std::string::npos);
        QVERIFY(m.controller().modified());
        QCOMPARE(m.windowTitle(), QString("Quillon"));
    }

    void aMissingFileIsNamedInTheOpenError() {
        ShellRun run;
        MainWindow& m = run.start();
        run.dialogs.openAnswers.push_back(run.path("gone.jpg"));
        m.openAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].caption, std::string("Could not open photo"));
        QVERIFY(run.dialogs.messages[0].text.find(run.path("gone.jpg")) != std::string::npos);
        QVERIFY(!m.controller().hasDocument());
    }

    void pasteAndCopyGoThroughTheSystemClipboard() {
        ShellRun run;
        MainWindow& m = run.start();
        run.putPictureOnClipboard(30, 20);
        m.pasteAction->trigger();
        QCOMPARE(m.imageWindow()->windowTitle(), QString("Untitled - 100%"));
        QCOMPARE(MenuStates(m), PictureMenus());
        QCOMPARE(m.documentArea()->subWindowList().size(), 1);
        run.clipboard.Clear();
        m.copyAction->trigger();
        const auto copied = run.clipboard.Picture();
        QVERIFY(copied);
        QCOMPARE(copied->Width(), 30);
        QCOMPARE(copied->Height(), 20);
        // A second paste replaces the window, it does not add one.
        m.pasteAction->trigger();
        QCOMPARE(m.documentArea()->subWindowList().size(), 1);
    }

    // --- Framing ------------------------------------------------------------------------------

    void choosingAFrameStyleSwitchesTheMenus() {
        ShellRun run;
        MainWindow& m = OpenPicture(run);
        m.styleAction(StyleId::Corner)->trigger();
        QVERIFY(run.dialogs.messages.empty());
        QVERIFY(m.controller().framing());
        auto states = MenuStates(m);
        QVERIFY(states["applyFrame"] && states["print"] && states["copy"] && states["saveAs"]);
        QVERIFY(!states["image"] && !states["resize"]);
        QVERIFY(states["undo"]);
        QCOMPARE(m.undoAction->text(), QString("&Undo Frame"));
        QVERIFY(m.editBar()->isVisible());
        // The window is refitted round the framed picture, edit bar shown.
        const PhotoDocument& d = *m.controller().document();
        const WindowSize fitted =
            AdjustedWindowSize(m.metrics(), d.PreviewWidth(), d.PreviewHeight(), m.width(),
                               m.height(), true, FrameEditBar::kHeight);
        QCOMPARE(m.imageWindow()->size(), QSize(fitted.width, fitted.height));

        m.applyFrameAction->trigger();
        QVERIFY(!m.controller().framing());
        QCOMPARE(MenuStates(m)["resize"], true);
        QCOMPARE(MenuStates(m)["applyFrame"], false);
        QVERIFY(m.editBar()->isHidden());
        QCOMPARE(m.windowTitle(), QString("Quillon"));
    }

    void undoingAFrameBringsBackTheImageMenuAndResize() {
        ShellRun run;
        MainWindow& m = OpenPicture(run);
        const QSize before = m.imageWindow()->size();
        m.styleAction(StyleId::Matte)->trigger();
        QVERIFY(m.imageWindow()->size() != before);
        m.undoAction->trigger();
        QCOMPARE(MenuStates(m), PictureMenus());
        QVERIFY(m.editBar()->isHidden());
        // The window takes back the size it had when the frame was chosen.
        QCOMPARE(m.imageWindow()->size(), before);
        QCOMPARE(m.imageWindow()->view()->size(), QSize(60, 40));
    }

    void closingTheImageWindowClosesTheDocument() {
        ShellRun run;
        MainWindow& m = OpenPicture(run);
        m.styleAction(StyleId::Corner)->trigger();
        m.imageWindow()->close();
        QVERIFY(!m.controller().hasDocument());
        QVERIFY(!m.imageWindow());
        QCOMPARE(MenuStates(m), NoDocumentMenus());
        QCOMPARE(m.windowTitle(), QString("Quillon"));
        QVERIFY(m.editBar()->isHidden());
        QCOMPARE(m.controller().undoCount(), 1);
        QApplication::processEvents();
        QCOMPARE(m.documentArea()->subWindowList().size(), 0);
    }

    // --- The mouse over the picture --------------------------------------------------------------

    void rightClickOpensThePopupAtTheClickLessTheScrollPosition() {
        ShellRun run;
        MainWindow& m = OpenPicture(run, 30, 20);
        ImageWindow* w = m.imageWindow();
        SendMouse(w->view(), QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {7, 9});
        QVERIFY(run.dialogs.popupPositions.empty());
        SendMouse(w->view(), QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {7, 9});
        QCOMPARE(int(run.dialogs.popupPositions.size()), 1);
        const QPoint expected(m.geometry().left() + w->x() + 7, m.geometry().top() + w->y() + 9);
        QCOMPARE(run.dialogs.popupPositions[0], expected);
        QCOMPARE(w->popupMenu().actions().size(), kStyleCount);
    }

    void aStyleChosenInThePopupFramesThePicture() {
        ShellRun run;
        MainWindow& m = OpenPicture(run, 30, 20);
        run.dialogs.onPopup = [&m](QMenu& menu) {
            return menu.actions().contains(m.styleAction(StyleId::Oval))
                       ? m.styleAction(StyleId::Oval)
                       : nullptr;
        };
        ImageWindow* w = m.imageWindow();
        SendMouse(w->view(), QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {3, 3});
        QCOMPARE(m.controller().style(), StyleId::Oval);
        QCOMPARE(m.imageWindow(), w);
    }

    void aDragDrawsTheRubberBandOverThePicture() {
        ShellRun run;
        MainWindow& m = OpenPicture(run, 30, 20);
        PictureView* view = m.imageWindow()->view();
        const QImage plain = ToQImage(m.controller().document()->Preview());

        SendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {3, 4});
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        SendMouse(view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {9, 8});
        SendMouse(view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {12, 10});
        SendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {12, 10});
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(m.controller().selection(), (Selection{3, 4, 12, 10}));
        QVERIFY(m.cropAction->isEnabled());

        // Exactly the outline of (3, 4)-(12, 10) is dotted, once.
        QImage expected = plain;
        InvertFocusRect(expected, QPoint(0, 0), Rect(3, 4, 12, 10));
        QCOMPARE(view->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);

        // A right click ends the selection and opens the pop-up.
        SendMouse(view, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {5, 5});
        QCOMPARE(m.controller().selection(), Selection{});
        QVERIFY(!m.cropAction->isEnabled());
        QCOMPARE(int(run.dialogs.popupPositions.size()), 1);
        QCOMPARE(view->grab().toImage().convertToFormat(QImage::Format_RGB32), plain);

        // Dragged from bottom-right to top-left: the same outline.
        SendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {12, 10});
        SendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {3, 4});
        QCOMPARE(m.controller().selection(), (Selection{12, 10, 3, 4}));
        QCOMPARE(view->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);

        // The band is gone with the crop.
        m.cropAction->trigger();
        QCOMPARE(m.controller().document()->Photo().Width(), 9);
        QCOMPARE(m.imageWindow()->view()->size(), QSize(9, 6));
    }

    void aResizedMainWindowRefitsTheImageWindow() {
        ShellRun run;
        WriteConfig(run.path("quillon.cfg"), 0, 0, 900, 700);
        MainWindow& m = run.start();
        run.putPictureOnClipboard(600, 500);
        m.pasteAction->trigger();
        m.zoomNormalAction->trigger();
        m.resize(400, 300);
        QApplication::processEvents();
        // At 100 % the window takes what room there is, inside the document
        // area (the tool and status bars take some of the main window).
        const WindowSize fitted =
            AdjustedWindowSize(m.metrics(), 600, 500, m.width(), m.height(), false, 24);
        const QSize area = m.documentArea()->size();
        QCOMPARE(m.imageWindow()->size(), QSize(std::min(fitted.width, area.width()),
                                                std::min(fitted.height, area.height())));
        // Fitted, the whole picture shows in the window, and follows the
        // main window's size.
        m.zoomFitAction->trigger();
        QApplication::processEvents();
        QSize view = m.imageWindow()->view()->size();
        QVERIFY(view.width() < 600);
        QVERIFY(m.imageWindow()->width() <= area.width());
        QVERIFY(m.imageWindow()->height() <= area.height());
        QVERIFY(m.imageWindow()->widget()->width() >= view.width());
        QVERIFY(m.imageWindow()->widget()->height() >= view.height());
        m.resize(800, 600);
        QApplication::processEvents();
        QVERIFY(m.imageWindow()->view()->width() > view.width());
    }
};

QTEST_MAIN(ShellTest)
#include "ShellTest.moc"
