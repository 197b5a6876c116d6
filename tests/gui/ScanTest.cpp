// Scanning end to end: the program loads its scanner access library, which
// drives SANE's "test" device (enabled through a private SANE configuration
// folder), and the scan arrives as a new "Untitled" picture.
#include "GuiFixture.h"
#include "app/ImageWindow.h"
#include "app/scan/Scanner.h"

#include <QListWidget>
#include <QProcess>
#include <QtTest>

using namespace quillon;

namespace {

// The size of the test device's colour page, as SANE's own front end scans it.
QSize ScanimageSize() {
    QProcess p;
    p.start("scanimage", {"-d", "test", "--mode", "Color", "--format=pnm"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    const QList<QByteArray> words = p.readAllStandardOutput().left(200).split('\n');
    // "P6", comments, "width height", "255".
    for (const QByteArray& line : words) {
        if (line.startsWith('P') || line.startsWith('#')) continue;
        const QList<QByteArray> wh = line.split(' ');
        if (wh.size() == 2) return {wh[0].toInt(), wh[1].toInt()};
    }
    return {};
}

} // namespace

class ScanTest : public QObject {
    Q_OBJECT
    QTemporaryDir saneConfig_;

private slots:
    void initTestCase() {
        QFile dll(saneConfig_.filePath("dll.conf"));
        QVERIFY(dll.open(QIODevice::WriteOnly));
        dll.write("test\n");
        dll.close();
        QFile test(saneConfig_.filePath("test.conf"));
        QVERIFY(test.open(QIODevice::WriteOnly));
        // One device scanning its (solid black) page of 80 x 100 mm at 50 dpi.
        test.write("number_of_devices 1\nresolution 50\n"
                   "geometry_l 0.0\ngeometry_t 0.0\ngeometry_r 80.0\ngeometry_b 100.0\n");
        test.close();
        qputenv("SANE_CONFIG_DIR", saneConfig_.path().toUtf8());
    }

    void missingLibraryShowsBothMessagesAndScanStaysOff() {
        ShellRun run;
        MainWindow& m = run.start();
        m.scanner().libraryFile = "libquillon-twain-absent.so";
        m.selectSourceAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 2);
        QCOMPARE(run.dialogs.messages[0].text, std::string("Missing libquillon-twain-absent.so"));
        QCOMPARE(run.dialogs.messages[1].text, std::string("No Twain driver loaded"));
        QVERIFY(!m.scanAction->isEnabled());
    }

    void selectAndScanMakesAnUntitledPictureOfThePageSize() {
        const QSize expected = ScanimageSize();
        if (expected.isEmpty()) QSKIP("scanimage cannot scan from SANE's test device here");
        ShellRun run;
        MainWindow& m = run.start();
        m.scanner().libraryFolders = {QUILLON_TWAIN_DIR};
        std::vector<int> offered;
        run.dialogs.onModal = [&](QDialog& d) {
            auto* list = d.findChild<QListWidget*>("sourceList");
            if (!list) return int(QDialog::Rejected);
            offered.push_back(list->count());
            list->setCurrentRow(0);
            return int(QDialog::Accepted);
        };
        m.selectSourceAction->trigger();
        QVERIFY(run.dialogs.messages.empty());
        QCOMPARE(offered, std::vector<int>{1});
        QVERIFY(m.scanAction->isEnabled());
        run.clipboard.SetPicture(Bitmap(3, 2));
        m.scanAction->trigger();
        QVERIFY(run.dialogs.messages.empty());
        QVERIFY(m.controller().hasDocument());
        QCOMPARE(m.controller().document()->Photo().Width(), expected.width());
        QCOMPARE(m.controller().document()->Photo().Height(), expected.height());
        QCOMPARE(m.controller().fileName(), std::string("Untitled"));
        QCOMPARE(m.imageWindow()->windowTitle(), QString("Untitled - 100%"));
        QVERIFY(expected.width() > 100);
        // The scan came straight in: the clipboard holds what it held.
        QCOMPARE(run.clipboard.Picture()->Width(), 3);
    }

    void anEmptyDeviceListSaysNoScannersFoundAndScanStaysOff() {
        // SANE reads its configuration folder's name once a process, but
        // the files in it at every start: for this test the folder enables
        // no backend.
        const auto writeDll = [this](const QByteArray& text) {
            QFile dll(saneConfig_.filePath("dll.conf"));
            QVERIFY(dll.open(QIODevice::WriteOnly | QIODevice::Truncate));
            dll.write(text);
        };
        writeDll("");
        ShellRun run;
        MainWindow& m = run.start();
        m.scanner().libraryFolders = {QUILLON_TWAIN_DIR};
        m.selectSourceAction->trigger();
        writeDll("test\n");
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].text, std::string("No scanners found"));
        QCOMPARE(run.dialogs.countModal("QDialog"), 0);
        QVERIFY(!m.scanAction->isEnabled());
    }

    void cancelledSelectionStillEnablesScanButScanOfNothingPastesNothing() {
        // With no device chosen the library falls back to the first device;
        // a cancelled source dialog is not an error.
        ShellRun run;
        MainWindow& m = run.start();
        m.scanner().libraryFolders = {QUILLON_TWAIN_DIR};
        run.dialogs.onModal = [](QDialog&) { return int(QDialog::Rejected); };
        m.selectSourceAction->trigger();
        QVERIFY(run.dialogs.messages.empty());
        QVERIFY(m.scanAction->isEnabled());
    }
};

QTEST_MAIN(ScanTest)
#include "ScanTest.moc"
