#include "app/ConfigLocation.h"

#include "formats/DataPaths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace quillon {

namespace {

namespace fs = std::filesystem;

bool Writable(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) return false;
    constexpr fs::perms anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & anyWrite) == fs::perms::none) return false;
    return ::access(path.c_str(), W_OK) == 0;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

std::string UserConfigFolder() {
    const std::string xdg = Environment("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and is ignored, as XDG prescribes.
    if (!xdg.empty() && xdg.front() == '/') return xdg + "/quillon";
    return Environment("HOME") + "/.config/quillon";
}

bool ConfigWritableIn(const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec) || !Writable(folder)) return false;
    const fs::path file = fs::path(folder) / kConfigFileName;
    return !fs::exists(file, ec) || Writable(file);
}

ConfigLocation ChooseConfigLocation(const std::string& dataFolder, bool dataFolderWritable,
                                    const std::string& userFolder) {
    const std::string dataFile = dataFolder + "/" + kConfigFileName;
    if (dataFolderWritable) return {dataFile, dataFile};
    const std::string userFile = userFolder + "/" + kConfigFileName;
    std::error_code ec;
    return {fs::exists(userFile, ec) ? userFile : dataFile, userFile};
}

ConfigLocation CurrentConfigLocation() {
    return ChooseConfigLocation(StartFolder(), ConfigWritableIn(StartFolder()), UserConfigFolder());
}

} // namespace quillon
