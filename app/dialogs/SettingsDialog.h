// SettingsDialog: shows and changes the four folder settings. It reloads its
// edits from the settings store each time it opens and keeps nothing between
// showings. "Save Settings" checks the folders in order and stores each
// valid one, stopping at the first invalid one with "Invalid Directory"; the
// dialog closes afterwards in every case. A folder stored, and an image
// folder browsed to, take effect in the run through the document controller.
#pragma once

#include "app/SettingsStore.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quillon {

class DocumentController;

class SettingsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(DocumentController& controller, QWidget* parent = nullptr);

    QLineEdit *imageFolderEdit, *saveFolderEdit, *overlayFolderEdit, *maskFolderEdit;
    QPushButton *imageFolderBrowse, *saveFolderBrowse, *overlayFolderBrowse, *maskFolderBrowse;
    QCheckBox* autoOrientCheck;
    QPushButton *saveButton, *cancelButton;

    // Reloads the four edits from the store.
    void reloadFolders();
    void saveSettings();
    // Browses for the folder of one row, starting at its stored value. A
    // browsed image folder is where the open dialog starts from now on, even
    // if the dialog is then cancelled.
    void browseFolder(QLineEdit* edit, FolderSetting setting);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Runs a handler at the command's edge (the program's error box).
    void guard(const std::function<void()>& handler);
    DocumentController& controller_;
};

} // namespace quillon
