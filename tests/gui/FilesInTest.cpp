// Pictures in by every route: the file the command line names, a file
// dropped on the main window, File > Open Recent; and the hint the empty
// document area shows.
#include "GuiFixture.h"
#include "app/ImageWindow.h"

#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QtTest>

#include <filesystem>

using namespace quillon;

namespace {

QStringList RecentTexts(const MainWindow& m) {
    QStringList texts;
    for (const QAction* action : m.recentMenu->actions()) texts.append(action->text());
    return texts;
}

// p<i>.bmp, built without a temporary chain that GCC 12 misreads.
std::string NumberedName(int i) {
    std::string name = "p";
    name += std::to_string(i);
    name += ".bmp";
    return name;
}

void Drop(MainWindow& m, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDropEvent event(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window's handler: the application passes a drop on
    // only while a platform drag is under way.
    static_cast<QObject&>(m).event(&event);
}

} // namespace

class FilesInTest : public QObject {
    Q_OBJECT
private slots:
    void theCommandLineNamesAFileOrNone() {
        QCOMPARE(StartupFile({"quillon"}), std::nullopt);
        QCOMPARE(StartupFile({"quillon", ""}), std::nullopt);
        ScratchRun run;
        // A relative name is taken from the folder the program started in.
        QCOMPARE(StartupFile({"quillon", "photo.jpg"}),
                 std::optional<std::string>(
                     QDir::current().absoluteFilePath("photo.jpg").toStdString()));
        QCOMPARE(StartupFile({"quillon", "/srv/a.bmp"}), std::optional<std::string>("/srv/a.bmp"));
    }

    void aFileNamedAtStartOpensAfterTheStartUpWork() {
        ShellRun run;
        run.window = std::make_unique<MainWindow>();
        MainWindow& m = *run.window;
        m.setStartupFile(run.writePicture("start.bmp", 30, 20));
        m.show();
        QTRY_VERIFY(m.startupDone() && m.controller().hasDocument());
        QCOMPARE(m.controller().document()->Photo().Width(), 30);
        QVERIFY(m.controller().fitting());
        QVERIFY(!m.controller().canUndo());
        QCOMPARE(m.windowTitle().toStdString(), "Quillon - " + run.path("start.bmp"));
    }

    void severalFilesOpenInWindowsOfTheirOwnWithOneAboutBox() {
        ScratchRun run;
        const QString here = QDir::current().absolutePath();
        QCOMPARE(StartupFiles({"quillon", "a.jpg", "", "/srv/b.png"}),
                 (std::vector<std::string>{(here + "/a.jpg").toStdString(), "/srv/b.png"}));
        QVERIFY(StartupFiles({"quillon"}).empty());
        MainWindow first, second;
        first.setStartupFile(run.writePicture("one.bmp", 30, 20));
        second.setStartupFile(run.writePicture("two.bmp", 12, 10));
        second.setAboutAtStart(false);
        first.show();
        second.show();
        QTRY_VERIFY(first.controller().hasDocument() && second.controller().hasDocument());
        QCOMPARE(first.controller().document()->Photo().Width(), 30);
        QCOMPARE(second.controller().document()->Photo().Width(), 12);
        QCOMPARE(run.dialogs.countModal("AboutDialog"), 1);
    }

    void aMissingFileNamedAtStartIsReported() {
        ShellRun run;
        run.window = std::make_unique<MainWindow>();
        run.window->setStartupFile(run.path("gone.bmp"));
        run.window->show();
        QTRY_COMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].caption, std::string("Could not open photo"));
        QVERIFY(!run.window->controller().hasDocument());
    }

    void aFileThatIsNoJpegIsReportedInWords() {
        ShellRun run;
        MainWindow& m = run.start();
        std::filesystem::copy_file(run.writePicture("real.png", 10, 10), run.path("photo.jpg"));
        run.dialogs.openAnswers.push_back(run.path("photo.jpg"));
        m.openAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].caption, std::string("Could not open photo"));
        QCOMPARE(run.dialogs.messages[0].text,
                 std::string("\"photo.jpg\" is not a JPEG file (Not a JPEG file: starts with "
                             "0x89 0x50)"));
        QVERIFY(!m.controller().hasDocument());
    }

    void aDroppedFileOpensAndAsksAboutChanges() {
        ShellRun run;
        MainWindow& m = run.start();
        QVERIFY(m.acceptDrops());
        Drop(m, {QUrl::fromLocalFile(QString::fromStdString(run.writePicture("a.bmp", 30, 20)))});
        QVERIFY(m.controller().hasDocument());
        QCOMPARE(m.controller().document()->Photo().Width(), 30);
        m.negativeAction->trigger();
        run.dialogs.messageAnswers.push_back(MessageResult::Cancel);
        Drop(m, {QUrl("https://example.org/b.bmp"),
                 QUrl::fromLocalFile(QString::fromStdString(run.writePicture("b.bmp", 8, 8)))});
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].buttons, MessageButtons::SaveDiscardCancel);
        QCOMPARE(m.controller().document()->Photo().Width(), 30);
        Drop(m, {QUrl::fromLocalFile(QString::fromStdString(run.path("b.bmp")))});
        QCOMPARE(m.controller().document()->Photo().Width(), 8);
    }

    void severalDroppedFilesOpenAWindowEach() {
        ShellRun run;
        MainWindow& m = run.start();
        const QString a = QString::fromStdString(run.writePicture("a.bmp", 30, 20));
        const QString b = QString::fromStdString(run.writePicture("b.bmp", 12, 10));
        Drop(m, {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
        QCOMPARE(m.controller().document()->Photo().Width(), 30);
        MainWindow* other = nullptr;
        QTRY_VERIFY([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* window = qobject_cast<MainWindow*>(w); window && window != &m)
                    other = window;
            return other && other->controller().hasDocument();
        }());
        QCOMPARE(other->controller().document()->Photo().Width(), 12);
        QVERIFY(other->testAttribute(Qt::WA_DeleteOnClose));
        other->close();
    }

    void openRecentListsTheLastTenNewestFirst() {
        ShellRun run;
        MainWindow& m = run.start();
        QVERIFY(!m.recentMenu->isEnabled());
        const QList<QAction*> fileItems = m.fileMenu->actions();
        QCOMPARE(fileItems.indexOf(m.recentMenu->menuAction()),
                 fileItems.indexOf(m.openAction) + 1);
        for (int i = 0; i < 12; ++i) {
            run.dialogs.openAnswers.push_back(run.writePicture(NumberedName(i), 4 + i, 4));
            m.openAction->trigger();
        }
        // Opening one again moves it to the front; a failed open is not listed.
        run.dialogs.openAnswers.push_back(run.path("p5.bmp"));
        m.openAction->trigger();
        run.dialogs.openAnswers.push_back(run.path("gone.bmp"));
        m.openAction->trigger();
        QStringList expected;
        for (int i : {5, 11, 10, 9, 8, 7, 6, 4, 3, 2})
            expected.append(QString::fromStdString(run.path(NumberedName(i))));
        QStringList shown = RecentTexts(m);
        QCOMPARE(shown.size(), 10);
        QCOMPARE(shown[0], "&1 " + expected[0]);
        QCOMPARE(shown[9], "&10 " + expected[9]);
        QCOMPARE(QSettings("Marrowind Software", "Quillon").value("RecentFiles").toStringList(),
                 expected);

        // A new run lists them too, and an item opens its file.
        run.window.reset();
        MainWindow& again = run.start();
        QCOMPARE(RecentTexts(again), shown);
        again.recentMenu->actions()[1]->trigger();
        QCOMPARE(again.controller().document()->Photo().Width(), 4 + 11);
        QCOMPARE(RecentTexts(again)[0], "&1 " + QString::fromStdString(run.path("p11.bmp")));
    }

    void theEmptyAreaSaysWhatToDo() {
        ShellRun run;
        MainWindow& m = run.start();
        QCOMPARE(m.emptyHint()->text(),
                 QString("Open a photo (Ctrl+O), paste one (Ctrl+V) or drop it here"));
        QVERIFY(m.emptyHint()->isVisible());
        run.putPictureOnClipboard(9, 7);
        m.pasteAction->trigger();
        QVERIFY(!m.emptyHint()->isVisible());
        run.dialogs.messageAnswers.push_back(MessageResult::Discard);
        m.imageWindow()->close();
        QApplication::processEvents();
        QVERIFY(m.emptyHint()->isVisible());
    }
};

QTEST_MAIN(FilesInTest)
#include "FilesInTest.moc"
