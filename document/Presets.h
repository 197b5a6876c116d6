// Presets: named recipes. The program's own live in the data folder's
// Presets/ folder; a user's own in Presets/ under the XDG data folder
// (~/.local/share/quillon/Presets). A preset's name is its file name
// without ".toml"; a user's preset of the same name takes the place of the
// program's.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillon {

struct PresetEntry {
    std::string name;
    std::string file;
    bool user = false;
};

// The user's preset folder: $XDG_DATA_HOME/quillon/Presets, or
// ~/.local/share/quillon/Presets.
std::string UserPresetFolder();
// Every preset of dataFolder/Presets and userFolder, sorted by name.
std::vector<PresetEntry> ListPresets(const std::string& dataFolder, const std::string& userFolder);
// The preset called name (letter case ignored), or none.
std::optional<PresetEntry> FindPreset(const std::string& name, const std::string& dataFolder,
                                      const std::string& userFolder);

} // namespace quillon
