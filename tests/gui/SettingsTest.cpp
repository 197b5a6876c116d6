// The settings dialog driven through its buttons and the dialog interface:
// what it validates, what it stores and what it changes for this run.
#include "GuiFixture.h"
#include "app/dialogs/SettingsDialog.h"
#include "canvas/Bitmap.h"
#include "formats/Formats.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <QCheckBox>

#include <cstdlib>

using namespace quillon;

namespace {

QString Stored(const char* key) {
    return QSettings("Marrowind Software", "Quillon").value(key, "<missing>").toString();
}

// Opens the settings from the menu and runs script inside the dialog.
void WithSettingsDialog(ShellRun& run, MainWindow& m,
                        const std::function<void(SettingsDialog&)>& script) {
    run.dialogs.onModal = [&](QDialog& dialog) {
        auto* settings = qobject_cast<SettingsDialog*>(&dialog);
        if (!settings) return int(QDialog::Rejected);
        script(*settings);
        return dialog.result();
    };
    m.settingsAction->trigger();
    run.dialogs.onModal = nullptr;
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void photosOpenUprightUnlessTheSettingIsOff() {
        if (std::system("command -v exiftool >/dev/null 2>&1") != 0)
            QSKIP("exiftool is not installed");
        ShellRun run;
        MainWindow& m = run.start();
        // A 40 x 20 JPEG whose camera was turned: orientation 6, a quarter
        // turn clockwise to be upright.
        const std::string photo = run.path("turned.jpg");
        Bitmap picture(40, 20, PixelFormat::Bgrx32);
        SavePictureFile(picture, photo);
        QCOMPARE(
            std::system(
                ("exiftool -q -q -overwrite_original -n -Orientation=6 '" + photo + "'").c_str()),
            0);
        bool checked = false;
        WithSettingsDialog(run, m,
                           [&](SettingsDialog& d) { checked = d.autoOrientCheck->isChecked(); });
        QVERIFY(checked); // on by default
        m.controller().open(photo);
        QCOMPARE(m.controller().document()->Photo().Width(), 20);
        WithSettingsDialog(run, m, [&](SettingsDialog& d) {
            d.autoOrientCheck->setChecked(false);
            d.imageFolderEdit->setText(QString::fromStdString(run.path("")));
            d.saveFolderEdit->setText(QString::fromStdString(run.path("")));
            d.saveButton->click();
        });
        QCOMPARE(Stored("AutoOrient"), QString("0"));
        m.controller().open(photo);
        QCOMPARE(m.controller().document()->Photo().Width(), 40);
    }

    void theDialogShowsTheStoredFolders() {
        ShellRun run;
        MainWindow& m = run.start();
        QSettings("Marrowind Software", "Quillon").setValue("MaskDir", "/srv/masks");
        QString shown;
        WithSettingsDialog(run, m, [&](SettingsDialog& d) { shown = d.maskFolderEdit->text(); });
        QCOMPARE(shown, QString("/srv/masks"));
    }

    void anEmptyImageFolderIsInvalidAndStoresNothing() {
        ShellRun run;
        MainWindow& m = run.start();
        const std::string folder = run.path("");
        bool closed = false;
        WithSettingsDialog(run, m, [&](SettingsDialog& d) {
            d.imageFolderEdit->setText("");
            d.saveFolderEdit->setText(QString::fromStdString(folder));
            d.saveButton->click();
            closed = d.result() == QDialog::Accepted && !d.isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(run.dialogs.messages[0].text, std::string("Invalid Directory"));
        QVERIFY(run.dialogs.messages[0].icon == MessageIcon::Error);
        QCOMPARE(Stored("SaveDir"), QString());
    }

    void aMissingOverlayFolderStopsAfterTheImageAndSaveFolders() {
        ShellRun run;
        MainWindow& m = run.start();
        const QString good = QString::fromStdString(run.path(""));
        WithSettingsDialog(run, m, [&](SettingsDialog& d) {
            d.imageFolderEdit->setText(good);
            d.saveFolderEdit->setText(good);
            d.overlayFolderEdit->setText(good + "/no-such-folder");
            d.maskFolderEdit->setText(good);
            d.saveButton->click();
        });
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(Stored("OpenDir"), good);
        QCOMPARE(Stored("SaveDir"), good);
        QCOMPARE(Stored("OverlayDir"), QString());
        QCOMPARE(Stored("MaskDir"), QString());
        QCOMPARE(m.controller().folders().openDir, good.toStdString());
        QCOMPARE(m.controller().folders().saveDir, good.toStdString());
        QCOMPARE(m.controller().folders().userMaskFolder, std::string());
    }

    void emptyingTheMaskFolderStoresItEmptyAndClearsIt() {
        ShellRun run;
        MainWindow& m = run.start();
        const QString good = QString::fromStdString(run.path(""));
        m.controller().setFolder(FolderSetting::Mask, "/old/masks");
        WithSettingsDialog(run, m, [&](SettingsDialog& d) {
            d.imageFolderEdit->setText(good);
            d.saveFolderEdit->setText(good);
            d.overlayFolderEdit->setText(good);
            d.maskFolderEdit->setText("");
            d.saveButton->click();
        });
        QVERIFY(run.dialogs.messages.empty());
        QCOMPARE(Stored("MaskDir"), QString());
        QCOMPARE(Stored("OverlayDir"), good);
        QCOMPARE(m.controller().folders().userMaskFolder, std::string());
        QCOMPARE(m.controller().folders().userOverlayFolder, good.toStdString());
    }

    void browsingTheImageFolderTakesEffectEvenWhenCancelled() {
        ShellRun run;
        MainWindow& m = run.start();
        QSettings("Marrowind Software", "Quillon").setValue("OpenDir", "/srv/stored");
        run.dialogs.folderAnswers.push_back(std::string("/srv/chosen"));
        QString edit;
        WithSettingsDialog(run, m, [&](SettingsDialog& d) {
            d.imageFolderEdit->setText("typed but not used");
            d.imageFolderBrowse->click();
            edit = d.imageFolderEdit->text();
            d.cancelButton->click();
        });
        // The browse dialog starts at the stored folder, not the edit's text.
        QCOMPARE(run.dialogs.folderStarts.back(), std::string("/srv/stored"));
        QCOMPARE(edit, QString("/srv/chosen"));
        QCOMPARE(m.controller().folders().openDir, std::string("/srv/chosen"));
        QCOMPARE(Stored("OpenDir"), QString("/srv/stored"));
        run.dialogs.openAnswers.push_back(std::nullopt);
        m.openAction->trigger();
        QCOMPARE(run.dialogs.openRequests.back().initialDir, std::string("/srv/chosen"));
    }

    void browsingAnotherFolderChangesOnlyItsEdit() {
        ShellRun run;
        MainWindow& m = run.start();
        const std::string openBefore = m.controller().folders().openDir;
        run.dialogs.folderAnswers.push_back(std::string("/srv/overlays"));
        run.dialogs.folderAnswers.push_back(std::nullopt);
        QString overlay, mask;
        WithSettingsDialog(run, m, [&](SettingsDialog& d) {
            d.overlayFolderBrowse->click();
            d.maskFolderEdit->setText("kept");
            d.maskFolderBrowse->click(); // cancelled
            overlay = d.overlayFolderEdit->text();
            mask = d.maskFolderEdit->text();
        });
        QCOMPARE(overlay, QString("/srv/overlays"));
        QCOMPARE(mask, QString("kept"));
        QCOMPARE(m.controller().folders().openDir, openBefore);
        QCOMPARE(m.controller().folders().userOverlayFolder, std::string());
    }
};

QTEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
