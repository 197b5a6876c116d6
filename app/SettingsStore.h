// The persisted settings: four folders and the ScaleOnOpen flag, one string
// value per key in the user's settings store (organisation "Marrowind
// Software", application "Quillon"), the folders they drive in a run, and
// the list of files last opened.
#pragma once

#include <string>
#include <vector>

namespace quillon {

// The folders the settings drive, held by the document controller.
struct ShellFolders {
    std::string openDir;           // where the open dialog starts
    std::string saveDir;           // where the save dialog starts (empty: the platform's choice)
    std::string userOverlayFolder; // extra overlays folder, empty for none
    std::string userMaskFolder;    // extra masks folder, empty for none
};

// One of the four folder settings.
enum class FolderSetting { Open, Save, Overlay, Mask };

// The settings store, opened for one operation. Write errors throw
// std::runtime_error with a message for the user.
class SettingsStore {
public:
    static constexpr const char* kOpenDir = "OpenDir";
    static constexpr const char* kSaveDir = "SaveDir";
    static constexpr const char* kOverlayDir = "OverlayDir";
    static constexpr const char* kMaskDir = "MaskDir";
    static constexpr const char* kScaleOnOpen = "ScaleOnOpen";
    // The files last opened, newest first (a list value).
    static constexpr const char* kRecentFiles = "RecentFiles";
    // "0" opens photos as their pixels are stored; anything else, or no
    // value, turns them upright by their orientation tag.
    static constexpr const char* kAutoOrient = "AutoOrient";

    // Whether photos are turned upright by their orientation tag.
    bool AutoOrient() const;

    // The key a folder setting is stored under.
    static const char* KeyOf(FolderSetting setting);

    bool KeyExists(const std::string& key) const;
    // The stored value; a missing key is created empty and reads as "".
    std::string ReadOrCreate(const std::string& key);
    void Write(const std::string& key, const std::string& value);
    // A list of texts; a missing key reads as an empty list.
    std::vector<std::string> ReadList(const std::string& key) const;
    void WriteList(const std::string& key, const std::vector<std::string>& values);
};

// The most files the Open Recent menu lists.
constexpr std::size_t kRecentFileLimit = 10;

// files with name put first: an earlier mention of it goes, and so does the
// oldest past the limit.
std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& name);

// The folder of folders that setting names.
std::string& FolderOf(ShellFolders& folders, FolderSetting setting);

// Applies the stored settings at start-up, in the order OpenDir, SaveDir,
// OverlayDir, MaskDir, ScaleOnOpen: a non-empty value replaces the folder; a
// missing key is created empty, ScaleOnOpen with "0". ScaleOnOpen changes
// nothing else.
void ApplyStartupSettings(ShellFolders& folders);

} // namespace quillon
