#include "app/DialogMemory.h"

#include "formats/Formats.h"

#include <exception>
#include <filesystem>

namespace quillon {

namespace {

constexpr const char* kLastOpenDir = "LastOpenDir";
constexpr const char* kLastSaveDir = "LastSaveDir";
constexpr const char* kLastSaveFormat = "LastSaveFormat";

std::string Read(const char* key) {
    try {
        SettingsStore store;
        return store.KeyExists(key) ? store.ReadOrCreate(key) : std::string();
    } catch (const std::exception&) {
        return {};
    }
}

void Write(const char* key, const std::string& value) {
    try {
        SettingsStore().Write(key, value);
    } catch (const std::exception&) {
    }
}

bool IsFolder(const std::string& folder) {
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_directory(folder, ec);
}

std::string FolderOfFile(const std::string& fileName) {
    return std::filesystem::path(fileName).parent_path().string();
}

} // namespace

std::string OpenDialogFolder(const ShellFolders& folders) {
    const std::string last = Read(kLastOpenDir);
    return IsFolder(last) ? last : folders.openDir;
}

std::string SaveDialogFolder(const ShellFolders& folders) {
    const std::string last = Read(kLastSaveDir);
    return IsFolder(last) ? last : folders.saveDir;
}

std::string SaveDialogPattern() {
    const std::string last = Read(kLastSaveFormat);
    for (const FileFilter& filter : SaveDialogFilters())
        if (filter.Patterns == last) return last;
    return kSaveDefaultExtension;
}

std::string SavePatternOf(const std::string& fileName) {
    const auto format = SaveFormatForName(fileName);
    if (!format) return {};
    switch (*format) {
    case SaveFormat::Jpeg:
        return "*.jpg";
    case SaveFormat::Gif:
        return "*.gif";
    case SaveFormat::Png:
        return "*.png";
    case SaveFormat::Webp:
        return "*.webp";
    case SaveFormat::Bmp:
        break;
    }
    return "*.bmp";
}

void RememberOpenedFile(const std::string& fileName) {
    const std::string folder = FolderOfFile(fileName);
    if (IsFolder(folder)) Write(kLastOpenDir, folder);
}

void RememberSavedFile(const std::string& fileName) {
    const std::string folder = FolderOfFile(fileName);
    if (IsFolder(folder)) Write(kLastSaveDir, folder);
    const std::string pattern = SavePatternOf(fileName);
    if (!pattern.empty()) Write(kLastSaveFormat, pattern);
}

void ForgetDialogFolder(FolderSetting setting) {
    if (setting == FolderSetting::Open) Write(kLastOpenDir, "");
    if (setting == FolderSetting::Save) Write(kLastSaveDir, "");
}

} // namespace quillon
