#include "document/Presets.h"

#include "formats/DataPaths.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

namespace quillon {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string NameOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    return name.substr(0, name.rfind('.'));
}

} // namespace

std::string UserPresetFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        return std::string(xdg) + "/quillon/Presets";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/quillon/Presets";
    return {};
}

std::vector<PresetEntry> ListPresets(const std::string& dataFolder, const std::string& userFolder) {
    // Keyed by the lower-case name, so that a user's preset replaces the
    // program's of the same name.
    std::map<std::string, PresetEntry> byName;
    for (const std::string& file :
         ListFilesNoCase(FindFileNoCase(dataFolder + "/Presets"), {"toml"}))
        byName[Lower(NameOf(file))] = {NameOf(file), file, false};
    if (!userFolder.empty())
        for (const std::string& file : ListFilesNoCase(userFolder, {"toml"}))
            byName[Lower(NameOf(file))] = {NameOf(file), file, true};
    std::vector<PresetEntry> list;
    for (auto& [key, entry] : byName) list.push_back(entry);
    return list;
}

std::optional<PresetEntry> FindPreset(const std::string& name, const std::string& dataFolder,
                                      const std::string& userFolder) {
    for (const PresetEntry& e : ListPresets(dataFolder, userFolder))
        if (Lower(e.name) == Lower(name)) return e;
    return std::nullopt;
}

} // namespace quillon
