// ConfigLocation: where the window's configuration file quillon.cfg is read
// and written. It stays in the data folder (the program's start folder)
// while the user may write there, as in a build tree or a private copy.
// An installed program's data folder is read-only, so the file then goes to
// the user's configuration folder ($XDG_CONFIG_HOME/quillon, else
// ~/.config/quillon); that copy is read first, and the data folder's file,
// when there is one, serves as the defaults until the first write.
#pragma once

#include <string>

namespace quillon {

struct ConfigLocation {
    std::string readFile;  // the file to read (it may not exist)
    std::string writeFile; // the file to write
};

inline constexpr const char* kConfigFileName = "quillon.cfg";

// The user's configuration folder for the program: $XDG_CONFIG_HOME/quillon
// when that variable holds an absolute path, else $HOME/.config/quillon.
std::string UserConfigFolder();

// Whether the program may keep its configuration file in folder: the folder
// exists and may be written, and so may the file when it exists. A folder
// or file whose permission bits allow no writing counts as read-only even
// for a user whom the system would let write (root).
bool ConfigWritableIn(const std::string& folder);

// The rule itself, for a data folder known to be writable or not.
ConfigLocation ChooseConfigLocation(const std::string& dataFolder, bool dataFolderWritable,
                                    const std::string& userFolder);

// The location for the running program's start folder.
ConfigLocation CurrentConfigLocation();

} // namespace quillon
