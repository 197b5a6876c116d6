// Pictures out and the program's own files: Save back to the photo's file,
// what the open and save dialogs remember, where quillon.cfg lives, the
// copy on the system clipboard, the manual without a browser, the about
// box's facts and the Frames menu drawn from the open photo.
#include "GuiFixture.h"
#include "app/ClipboardPicture.h"
#include "app/ConfigLocation.h"
#include "app/QtBitmap.h"
#include "app/StylePictureRenderer.h"
#include "app/StylePictures.h"
#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/HelpWindow.h"
#include "formats/Readers.h"

#include <QClipboard>
#include <QLabel>
#include <QTextBrowser>
#include <QtTest>

#include <filesystem>
#include <span>

using namespace quillon;

namespace {

namespace fs = std::filesystem;

void WriteBounds(const std::string& file, int width, int height) {
    QSettings config(QString::fromStdString(file), QSettings::IniFormat);
    config.setValue("Desktop/Left", 10);
    config.setValue("Desktop/Top", 10);
    config.setValue("Desktop/Width", width);
    config.setValue("Desktop/Height", height);
    config.sync();
}

int StoredWidth(const std::string& file) {
    return QSettings(QString::fromStdString(file), QSettings::IniFormat)
        .value("Desktop/Width")
        .toInt();
}

// Sets an environment variable for one test and puts it back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

std::unique_ptr<Bitmap> Solid(int width, int height, Color color) {
    auto bitmap = std::make_unique<Bitmap>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap->SetPixel(x, y, color);
    return bitmap;
}

std::vector<std::uint8_t> Bytes(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            reinterpret_cast<const std::uint8_t*>(data.constData()) + data.size()};
}

MainWindow& OpenThroughMenu(ShellRun& run, const std::string& file) {
    MainWindow& m = run.start();
    run.dialogs.openAnswers.push_back(file);
    m.openAction->trigger();
    return m;
}

} // namespace

class FilesOutTest : public QObject {
    Q_OBJECT
private slots:
    // --- Save and Save As -----------------------------------------------------------------

    void saveWritesBackAfterOneConfirmationOfTheOriginal() {
        ShellRun run;
        MainWindow& m = OpenThroughMenu(run, run.writePicture("photo.png", 30, 20));
        QCOMPARE(m.saveAction->shortcut(), QKeySequence(QKeySequence::Save));
        QCOMPARE(m.saveAsAction->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        const Color before = LoadPictureFile(run.path("photo.png"))->Pixel(3, 4);
        m.negativeAction->trigger();
        m.saveAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].buttons, MessageButtons::YesNo);
        QVERIFY(run.dialogs.messages[0].text.find("photo.png") != std::string::npos);
        QCOMPARE(LoadPictureFile(run.path("photo.png"))->Pixel(3, 4),
                 RGB(255 - GetRValue(before), 255 - GetGValue(before), 255 - GetBValue(before)));
        QVERIFY(!m.controller().modified());
        // The file is now the program's own: the next Save writes at once.
        m.grayScaleAction->trigger();
        m.saveAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QVERIFY(run.dialogs.saveRequests.empty());
        const Color gray = LoadPictureFile(run.path("photo.png"))->Pixel(3, 4);
        QCOMPARE(GetRValue(gray), GetBValue(gray));
    }

    void declinedReplacementLeavesTheOriginalAndTheChanges() {
        ShellRun run;
        MainWindow& m = OpenThroughMenu(run, run.writePicture("photo.bmp", 30, 20));
        const auto original = ReadWholeFile(run.path("photo.bmp"));
        m.negativeAction->trigger();
        run.dialogs.messageAnswers.push_back(MessageResult::No);
        m.saveAction->trigger();
        QVERIFY(ReadWholeFile(run.path("photo.bmp")) == original);
        QVERIFY(m.controller().modified());
        // Asked again next time, since nothing was replaced.
        m.saveAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 2);
    }

    void aPictureWithoutAWritableFileIsSavedAs() {
        ShellRun run;
        MainWindow& m = run.start();
        run.putPictureOnClipboard(12, 8);
        m.pasteAction->trigger();
        run.dialogs.saveAnswers.push_back(std::nullopt);
        m.saveAction->trigger();
        QCOMPARE(int(run.dialogs.saveRequests.size()), 1);
        QVERIFY(run.dialogs.messages.empty());
    }

    void theDialogsRememberTheirFolderAndTheSaveFormat() {
        ShellRun run;
        fs::create_directories(run.path("trips"));
        fs::create_directories(run.path("framed"));
        MainWindow& m = OpenThroughMenu(run, run.writePicture("trips/beach.bmp", 30, 20));
        QCOMPARE(run.dialogs.openRequests[0].initialDir, run.path("Pictures"));
        QCOMPARE(run.dialogs.saveRequests.size(), std::size_t(0));
        run.dialogs.saveAnswers.push_back(run.path("framed/beach.jpg"));
        m.saveAsAction->trigger();
        QCOMPARE(run.dialogs.saveRequests[0].selectedPatterns, std::string("*.bmp"));
        QCOMPARE(run.dialogs.saveRequests[0].fileName, std::string("beach.bmp"));
        QVERIFY(fs::exists(run.path("framed/beach.jpg")));

        // Another run starts where this one left off.
        run.window.reset();
        MainWindow& again = run.start();
        again.openAction->trigger();
        QCOMPARE(run.dialogs.openRequests[1].initialDir, run.path("trips"));
        run.dialogs.openAnswers.push_back(run.path("trips/beach.bmp"));
        again.openAction->trigger();
        again.saveAsAction->trigger();
        const FileRequest& asked = run.dialogs.saveRequests[1];
        QCOMPARE(asked.initialDir, run.path("framed"));
        QCOMPARE(asked.selectedPatterns, std::string("*.jpg"));
        QCOMPARE(asked.defaultExtension, std::string("*.jpg"));
        QCOMPARE(asked.fileName, std::string("beach.jpg"));

        // A remembered folder that has gone gives way to the configured one.
        fs::remove_all(run.path("trips"));
        again.openAction->trigger();
        QCOMPARE(run.dialogs.openRequests.back().initialDir, run.path("Pictures"));
    }

    // --- quillon.cfg ---------------------------------------------------------------------------

    void theConfigurationStaysInAWritableDataFolder() {
        ControllerRun run; // the controller makes the scratch folder the start folder
        QTemporaryDir user;
        ScopedEnv xdg("XDG_CONFIG_HOME", user.path().toUtf8());
        const ConfigLocation at = CurrentConfigLocation();
        QCOMPARE(at.readFile, run.path("quillon.cfg"));
        QCOMPARE(at.writeFile, run.path("quillon.cfg"));
    }

    void aReadOnlyDataFolderSendsTheConfigurationToTheUserFolder() {
        ShellRun run;
        QTemporaryDir user;
        ScopedEnv xdg("XDG_CONFIG_HOME", user.path().toUtf8());
        const std::string shipped = run.path("quillon.cfg");
        const std::string own = user.path().toStdString() + "/quillon/quillon.cfg";
        WriteBounds(shipped, 700, 500);
        const auto folder = fs::path(run.path(""));
        fs::permissions(shipped, fs::perms::owner_read | fs::perms::group_read);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        QVERIFY(!ConfigWritableIn(folder.string()));

        // The data folder's file gives the first run its bounds.
        MainWindow& m = run.start();
        QCOMPARE(m.size(), QSize(700, 500));
        m.resize(810, 620);
        QVERIFY(m.close());
        QCOMPARE(StoredWidth(own), 810);
        QCOMPARE(StoredWidth(shipped), 700);
        // The user's own file is read first from now on.
        run.window.reset();
        QCOMPARE(run.start(false).size(), QSize(810, 620));
        fs::permissions(folder, fs::perms::owner_all);
    }

    void theUserFolderFollowsXdgConfigHome() {
        {
            ScopedEnv xdg("XDG_CONFIG_HOME", "/srv/conf");
            QCOMPARE(UserConfigFolder(), std::string("/srv/conf/quillon"));
        }
        ScopedEnv home("HOME", "/home/ann");
        {
            // A relative path is no configuration folder.
            ScopedEnv xdg("XDG_CONFIG_HOME", "conf");
            QCOMPARE(UserConfigFolder(), std::string("/home/ann/.config/quillon"));
        }
        ScopedEnv xdg("XDG_CONFIG_HOME", "");
        QCOMPARE(UserConfigFolder(), std::string("/home/ann/.config/quillon"));
        const ConfigLocation fresh = ChooseConfigLocation("/usr/share/quillon", false, "/u/q");
        QCOMPARE(fresh.readFile, std::string("/usr/share/quillon/quillon.cfg"));
        QCOMPARE(fresh.writeFile, std::string("/u/q/quillon.cfg"));
    }

    // --- The clipboard ---------------------------------------------------------------------------

    void onlyCopyPutsThePictureOnTheClipboard() {
        ShellRun run;
        MainWindow& m = OpenThroughMenu(run, run.writePicture("photo.bmp", 40, 30));
        m.grayScaleAction->trigger();
        m.rotateRightAction->trigger();
        m.styleAction(StyleId::Matte)->trigger();
        m.applyFrameAction->trigger();
        m.undoAction->trigger();
        QVERIFY(!run.clipboard.HasPicture());
        m.copyAction->trigger();
        const auto* offered =
            qobject_cast<const ClipboardPicture*>(QApplication::clipboard()->mimeData());
        QVERIFY(offered);
        // The cheap formats come before PNG.
        const QStringList formats = offered->formats();
        QVERIFY(formats.indexOf(ClipboardPicture::kBmpType) <
                formats.indexOf(ClipboardPicture::kPngType));
        // The copy keeps the picture as it was at Copy.
        const Color copied = m.controller().document()->Photo().Pixel(5, 5);
        m.negativeAction->trigger();
        QCOMPARE(run.clipboard.Picture()->Pixel(5, 5), copied);
    }

    void theCopyIsServedInEveryFormatFromItsOwnPixels() {
        auto picture = ScratchRun::samplePicture(33, 21);
        auto shared = std::make_shared<Bitmap>();
        shared->Assign(*picture);
        ClipboardPicture data(shared);
        Bitmap fromBmp, fromPng, fromImage;
        ReadBmp(Bytes(data.data(ClipboardPicture::kBmpType)), "clip.bmp", fromBmp, {});
        ReadPng(Bytes(data.data(ClipboardPicture::kPngType)), "clip.png", fromPng, {});
        FromQImage(qvariant_cast<QImage>(data.imageData()), fromImage);
        QVERIFY(SamePixels(fromBmp, *picture));
        QVERIFY(SamePixels(fromPng, *picture));
        QVERIFY(SamePixels(fromImage, *picture));
        QVERIFY(data.hasImage());
        QVERIFY(data.data("text/plain").isEmpty());
    }

    // --- Help and About -----------------------------------------------------------------------

    void helpOpensInAWindowOfTheProgramWhenNoBrowserTakesIt() {
        ScratchRun run;
        fs::create_directories(run.path("help"));
        run.writeText("help/index.html", "<html><head><title>Quillon Manual</title></head>"
                                         "<body><h1>Framing a photo</h1></body></html>");
        const std::string manual = run.path("help/index.html");
        QUrl offered;
        HelpWindow* shown = OpenHelp(nullptr, manual, [&](const QUrl& url) {
            offered = url;
            return false;
        });
        QCOMPARE(offered, QUrl::fromLocalFile(QString::fromStdString(manual)));
        QVERIFY(shown && shown->isVisible());
        QVERIFY(shown->browser()->toPlainText().contains("Framing a photo"));
        QCOMPARE(shown->windowTitle(), QString("Quillon Manual"));
        // Asking again brings the same window forward.
        QCOMPARE(OpenHelp(nullptr, manual, [](const QUrl&) { return false; }), shown);
        delete shown;
        // A browser that takes the file leaves the program's window out.
        QCOMPARE(OpenHelp(nullptr, manual, [](const QUrl&) { return true; }), nullptr);
    }

    void aboutNamesTheVersionTheLicenceAndQt() {
        const QStringList lines = AboutDialog::aboutLines();
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QString("Version 1.51"));
        QVERIFY(lines[1].startsWith("Licence: "));
        QCOMPARE(lines[2], QString("Qt ") + qVersion());
        AboutDialog about;
        QCOMPARE(about.pictureLabel->accessibleDescription(), lines.join('\n'));
    }

    // --- The Frames menu's pictures ------------------------------------------------------------

    void theFramesMenuShowsTheOpenPhotoInEachStyle() {
        ShellRun run;
        const std::string red = run.path("red.bmp");
        SavePictureFile(*Solid(300, 200, RGB(230, 0, 0)), red);
        MainWindow& m = OpenThroughMenu(run, red);
        QVERIFY(m.stylePictureRenderer());
        QTRY_VERIFY(!m.stylePictureRenderer()->busy());
        QApplication::processEvents();
        for (StyleId style : {StyleId::Matte, StyleId::Corner, StyleId::Oval}) {
            const QImage picture = m.styleAction(style)
                                       ->icon()
                                       .pixmap(kStylePictureWidth, kStylePictureHeight)
                                       .toImage();
            // The middle of the small framed photo is the photo's red.
            const QColor middle = picture.pixelColor(22, kStylePictureHeight / 2);
            QVERIFY2(middle.red() > 180 && middle.green() < 60 && middle.blue() < 60,
                     qPrintable(QString("style %1: %2").arg(int(style)).arg(middle.name())));
        }
    }

    void aSmallCopyAveragesAndKeepsTheShape() {
        Bitmap stripes(400, 100);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 400; ++x) stripes.SetPixel(x, y, x % 2 ? kWhite : kBlack);
        const auto small = SmallCopy(stripes, 96, 96);
        QCOMPARE(small->Width(), 96);
        QCOMPARE(small->Height(), 24);
        // One-pixel stripes come out as their mean gray, not as one of them.
        const Color c = small->Pixel(40, 10);
        QVERIFY(GetRValue(c) > 100 && GetRValue(c) < 155);
        // Never enlarged; an empty photo gives an empty copy.
        QCOMPARE(SmallCopy(Bitmap(10, 5), 96, 96)->Width(), 10);
        QVERIFY(SmallCopy(Bitmap(), 96, 96)->Empty());
    }
};

QTEST_MAIN(FilesOutTest)
#include "FilesOutTest.moc"
