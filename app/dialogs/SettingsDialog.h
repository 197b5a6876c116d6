// The persisted settings: four folders and the ScaleOnOpen flag, one string
// value per key in the user's settings store (organisation "Marrowind
// Software", application "Quillon"), and the settings dialog TfrmSetting
// that shows and changes the folders. The dialog keeps nothing between
// showings; it reloads its edits from the store each time it opens.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

namespace quillon {

// The folders the settings drive, owned by the main window.
struct TShellFolders {
    std::string OpenDir;           // where the open dialog starts
    std::string SaveDir;           // where the save dialog starts (empty: the platform's choice)
    std::string UserOverlayFolder; // extra overlays folder, empty for none
    std::string UserMaskFolder;    // extra masks folder, empty for none
};

// The settings store, opened for one operation. Write errors throw
// std::runtime_error with a message for the user.
class TSettingsStore {
public:
    static constexpr const char* kOpenDir = "OpenDir";
    static constexpr const char* kSaveDir = "SaveDir";
    static constexpr const char* kOverlayDir = "OverlayDir";
    static constexpr const char* kMaskDir = "MaskDir";
    static constexpr const char* kScaleOnOpen = "ScaleOnOpen";

    bool KeyExists(const std::string& key) const;
    // The stored value; a missing key is created empty and reads as "".
    std::string ReadOrCreate(const std::string& key);
    void Write(const std::string& key, const std::string& value);
};

// Applies the stored settings at start-up, in the order OpenDir, SaveDir,
// OverlayDir, MaskDir, ScaleOnOpen: a non-empty value replaces the folder; a
// missing key is created empty, ScaleOnOpen with "0". ScaleOnOpen changes
// nothing else.
void ApplyStartupSettings(TShellFolders& folders);

class TfrmSetting final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSetting(TShellFolders& folders, QWidget* parent = nullptr);

    QLineEdit *edOpen, *edSave, *edOverlay, *edMask;
    QPushButton *btnLoadFrom, *btnSaveTo, *btnOverlay, *btnMask;
    QPushButton *btnSettings, *btnCancel;

    // Reloads the four edits from the store.
    void FormShow();
    // Validates and stores the folders, stopping at the first invalid one
    // with "Invalid Directory". The dialog closes afterwards in every case.
    void btnSettingsClick();
    // Browses for the folder of one row, starting at its stored value.
    void BrowseFolder(QLineEdit* edit, const char* key, bool setsOpenDialog);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Runs a handler at the command's edge (standard exception box).
    void Guard(const std::function<void()>& handler);
    TShellFolders& folders_;
};

} // namespace quillon
