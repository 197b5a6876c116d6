// Unsaved changes: what marks the document changed, and the question every
// route that would drop a changed picture asks (quit, closing the image
// window, opening another file, pasting), with each of its answers.
#include "GuiFixture.h"
#include "app/ImageWindow.h"

#include <QtTest>

#include <filesystem>

using namespace quillon;

namespace {

// Opens photo.bmp (60 x 40) through the File menu and changes it.
MainWindow& OpenChangedPicture(ShellRun& run) {
    MainWindow& m = run.start();
    run.dialogs.openAnswers.push_back(run.writePicture("photo.bmp", 60, 40));
    m.openAction->trigger();
    m.grayScaleAction->trigger();
    return m;
}

// Runs the route that would drop the picture.
void RunRoute(ShellRun& run, MainWindow& m, const QString& route) {
    if (route == "quit") {
        m.exitAction->trigger();
    } else if (route == "close picture") {
        m.imageWindow()->close();
    } else if (route == "open") {
        run.dialogs.openAnswers.push_back(run.writePicture("other.bmp", 20, 10));
        m.openAction->trigger();
    } else {
        run.putPictureOnClipboard(12, 8);
        m.pasteAction->trigger();
    }
    QApplication::processEvents();
}

// Whether the route went through: the window closed, the picture closed,
// or the new picture replaced it.
bool RouteWentThrough(MainWindow& m, const QString& route) {
    if (route == "quit") return !m.isVisible();
    if (route == "close picture") return !m.controller().hasDocument();
    const PhotoDocument* d = m.controller().document();
    if (!d) return false;
    return d->Photo().Width() == (route == "open" ? 20 : 12);
}

void AddRoutes() {
    QTest::addColumn<QString>("route");
    for (const char* route : {"quit", "close picture", "open", "paste"})
        QTest::newRow(route) << QString(route);
}

int Questions(const ScriptedDialogs& dialogs) {
    int n = 0;
    for (const auto& m : dialogs.messages) n += m.buttons == MessageButtons::SaveDiscardCancel;
    return n;
}

} // namespace

class UnsavedTest : public QObject {
    Q_OBJECT
private slots:
    void changesMarkTheDocumentAndOpenAndSaveClearIt() {
        ControllerRun run;
        DocumentController& c = run.controller;
        QSignalSpy spy(&c, &DocumentController::modifiedChanged);
        run.openPicture();
        QVERIFY(!c.modified());
        c.setZoom(0.5); // how it is shown, not what is saved
        QVERIFY(!c.modified());
        c.negative();
        QVERIFY(c.modified());
        QVERIFY(c.saveAs(run.path("saved.bmp")));
        QVERIFY(!c.modified());
        c.chooseStyle(StyleId::Matte);
        QVERIFY(c.modified());
        QVERIFY(c.saveAs(run.path("framed.bmp")));
        c.editFrame({20, std::nullopt, std::nullopt});
        QVERIFY(c.modified());
        c.undo();
        QVERIFY(c.modified());
        c.closeDocument();
        QVERIFY(!c.modified());
        QCOMPARE(spy.count(), 6);
    }

    void aPastedOrScannedPictureCountsAsUnsaved() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.putPictureOnClipboard(12, 8);
        QVERIFY(c.paste());
        QVERIFY(c.modified());
        run.openPicture();
        QVERIFY(!c.modified());
        c.openScan(ScratchRun::samplePicture(5, 5));
        QVERIFY(c.modified());
    }

    void aFailedSaveKeepsTheChanges() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture();
        c.grayScale();
        QVERIFY(!c.saveAs(run.path("photo.xyz")));
        QVERIFY(c.modified());
    }

    void discardLetsTheRouteGoOn_data() { AddRoutes(); }
    void discardLetsTheRouteGoOn() {
        QFETCH(QString, route);
        ShellRun run;
        MainWindow& m = OpenChangedPicture(run);
        run.dialogs.messageAnswers.push_back(MessageResult::Discard);
        RunRoute(run, m, route);
        QCOMPARE(Questions(run.dialogs), 1);
        const ShownMessage& asked = run.dialogs.messages.back();
        QCOMPARE(asked.text, std::string("Save changes to photo.bmp?"));
        QCOMPARE(asked.icon, MessageIcon::Question);
        QVERIFY(RouteWentThrough(m, route));
        QVERIFY(run.dialogs.saveRequests.empty());
    }

    void cancelKeepsTheChangedPicture_data() { AddRoutes(); }
    void cancelKeepsTheChangedPicture() {
        QFETCH(QString, route);
        ShellRun run;
        MainWindow& m = OpenChangedPicture(run);
        run.dialogs.messageAnswers.push_back(MessageResult::Cancel);
        RunRoute(run, m, route);
        QCOMPARE(Questions(run.dialogs), 1);
        QVERIFY(!RouteWentThrough(m, route));
        QVERIFY(m.isVisible());
        QVERIFY(m.imageWindow());
        QCOMPARE(m.controller().document()->Photo().Width(), 60);
        QVERIFY(m.controller().modified());
    }

    void saveWritesThePictureThenGoesOn_data() { AddRoutes(); }
    void saveWritesThePictureThenGoesOn() {
        QFETCH(QString, route);
        ShellRun run;
        MainWindow& m = OpenChangedPicture(run);
        run.dialogs.messageAnswers.push_back(MessageResult::Save);
        run.dialogs.messageAnswers.push_back(MessageResult::Yes); // replace the original
        RunRoute(run, m, route);
        // Save writes back to the photo's own file, without a file dialog.
        QVERIFY(run.dialogs.saveRequests.empty());
        const Color written = LoadPictureFile(run.path("photo.bmp"))->Pixel(20, 30);
        QCOMPARE(GetRValue(written), GetGValue(written));
        QCOMPARE(GetGValue(written), GetBValue(written));
        QVERIFY(RouteWentThrough(m, route));
    }

    void aCancelledSaveStopsTheRoute_data() { AddRoutes(); }
    void aCancelledSaveStopsTheRoute() {
        QFETCH(QString, route);
        ShellRun run;
        MainWindow& m = OpenChangedPicture(run);
        run.dialogs.messageAnswers.push_back(MessageResult::Save);
        run.dialogs.messageAnswers.push_back(MessageResult::No); // keep the original
        RunRoute(run, m, route);
        QVERIFY(!RouteWentThrough(m, route));
        QCOMPARE(m.controller().document()->Photo().Width(), 60);
    }

    void anUnchangedPictureGoesWithoutAQuestion_data() { AddRoutes(); }
    void anUnchangedPictureGoesWithoutAQuestion() {
        QFETCH(QString, route);
        ShellRun run;
        MainWindow& m = run.start();
        run.dialogs.openAnswers.push_back(run.writePicture("photo.bmp", 60, 40));
        m.openAction->trigger();
        RunRoute(run, m, route);
        QCOMPARE(Questions(run.dialogs), 0);
        QVERIFY(RouteWentThrough(m, route));
    }
};

QTEST_MAIN(UnsavedTest)
#include "UnsavedTest.moc"
