// The settings dialog driven through its buttons and the dialog interface:
// what it validates, what it stores and what it changes for this run.
#include "app/dialogs/Settings.h"
#include "GuiFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace quillon;

namespace {

QString Stored(const char* key) {
    return QSettings("Marrowind Software", "Quillon").value(key, "<missing>").toString();
}

// Opens the settings from the menu and runs script inside the dialog.
void WithSettingsDialog(TShellRun& run, TfrmMain& m,
                        const std::function<void(TfrmSetting&)>& script) {
    run.dialogs.OnModal = [&](QDialog& dialog) {
        auto* settings = qobject_cast<TfrmSetting*>(&dialog);
        if (!settings) return int(QDialog::Rejected);
        script(*settings);
        return dialog.result();
    };
    m.Settings->trigger();
    run.dialogs.OnModal = nullptr;
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void theDialogShowsTheStoredFolders() {
        TShellRun run;
        TfrmMain& m = run.Start();
        QSettings("Marrowind Software", "Quillon").setValue("MaskDir", "/srv/masks");
        QString shown;
        WithSettingsDialog(run, m, [&](TfrmSetting& d) { shown = d.edMask->text(); });
        QCOMPARE(shown, QString("/srv/masks"));
    }

    void anEmptyImageFolderIsInvalidAndStoresNothing() {
        TShellRun run;
        TfrmMain& m = run.Start();
        const std::string folder = run.Path("");
        bool closed = false;
        WithSettingsDialog(run, m, [&](TfrmSetting& d) {
            d.edOpen->setText("");
            d.edSave->setText(QString::fromStdString(folder));
            d.btnSettings->click();
            closed = d.result() == QDialog::Accepted && !d.isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(int(run.dialogs.Messages.size()), 1);
        QCOMPARE(run.dialogs.Messages[0].Text, std::string("Invalid Directory"));
        QVERIFY(run.dialogs.Messages[0].Icon == TMsgIcon::Error);
        QCOMPARE(Stored("SaveDir"), QString());
    }

    void aMissingOverlayFolderStopsAfterTheImageAndSaveFolders() {
        TShellRun run;
        TfrmMain& m = run.Start();
        const QString good = QString::fromStdString(run.Path(""));
        WithSettingsDialog(run, m, [&](TfrmSetting& d) {
            d.edOpen->setText(good);
            d.edSave->setText(good);
            d.edOverlay->setText(good + "/no-such-folder");
            d.edMask->setText(good);
            d.btnSettings->click();
        });
        QCOMPARE(int(run.dialogs.Messages.size()), 1);
        QCOMPARE(Stored("OpenDir"), good);
        QCOMPARE(Stored("SaveDir"), good);
        QCOMPARE(Stored("OverlayDir"), QString());
        QCOMPARE(Stored("MaskDir"), QString());
        QCOMPARE(m.Folders.OpenDir, good.toStdString());
        QCOMPARE(m.Folders.SaveDir, good.toStdString());
        QCOMPARE(m.Folders.UserMaskFolder, std::string());
    }

    void emptyingTheMaskFolderStoresItEmptyAndClearsIt() {
        TShellRun run;
        TfrmMain& m = run.Start();
        const QString good = QString::fromStdString(run.Path(""));
        m.Folders.UserMaskFolder = "/old/masks";
        WithSettingsDialog(run, m, [&](TfrmSetting& d) {
            d.edOpen->setText(good);
            d.edSave->setText(good);
            d.edOverlay->setText(good);
            d.edMask->setText("");
            d.btnSettings->click();
        });
        QVERIFY(run.dialogs.Messages.empty());
        QCOMPARE(Stored("MaskDir"), QString());
        QCOMPARE(Stored("OverlayDir"), good);
        QCOMPARE(m.Folders.UserMaskFolder, std::string());
        QCOMPARE(m.Folders.UserOverlayFolder, good.toStdString());
    }

    void browsingTheImageFolderTakesEffectEvenWhenCancelled() {
        TShellRun run;
        TfrmMain& m = run.Start();
        QSettings("Marrowind Software", "Quillon").setValue("OpenDir", "/srv/stored");
        run.dialogs.FolderAnswers.push_back(std::string("/srv/chosen"));
        QString edit;
        WithSettingsDialog(run, m, [&](TfrmSetting& d) {
            d.edOpen->setText("typed but not used");
            d.btnLoadFrom->click();
            edit = d.edOpen->text();
            d.btnCancel->click();
        });
        // The browse dialog starts at the stored folder, not the edit's text.
        QCOMPARE(run.dialogs.FolderStarts.back(), std::string("/srv/stored"));
        QCOMPARE(edit, QString("/srv/chosen"));
        QCOMPARE(m.Folders.OpenDir, std::string("/srv/chosen"));
        QCOMPARE(Stored("OpenDir"), QString("/srv/stored"));
        run.dialogs.OpenAnswers.push_back(std::nullopt);
        m.Open->trigger();
        QCOMPARE(run.dialogs.OpenRequests.back().InitialDir, std::string("/srv/chosen"));
    }

    void browsingAnotherFolderChangesOnlyItsEdit() {
        TShellRun run;
        TfrmMain& m = run.Start();
        const std::string openBefore = m.Folders.OpenDir;
        run.dialogs.FolderAnswers.push_back(std::string("/srv/overlays"));
        run.dialogs.FolderAnswers.push_back(std::nullopt);
        QString overlay, mask;
        WithSettingsDialog(run, m, [&](TfrmSetting& d) {
            d.btnOverlay->click();
            d.edMask->setText("kept");
            d.btnMask->click(); // cancelled
            overlay = d.edOverlay->text();
            mask = d.edMask->text();
        });
        QCOMPARE(overlay, QString("/srv/overlays"));
        QCOMPARE(mask, QString("kept"));
        QCOMPARE(m.Folders.OpenDir, openBefore);
        QCOMPARE(m.Folders.UserOverlayFolder, std::string());
    }
};

QTEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
