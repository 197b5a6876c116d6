// Where the program finds its data: the start folder (the current folder at
// start, which holds the decoration folders and the shadow pieces), and file
// lookups that ignore letter case so that names like "Ornate/_Orn001.bmp"
// find "ORNATE/_ORN001.BMP" on a case-sensitive file system.
#pragma once

#include <string>
#include <vector>

namespace quillon {

// The start folder, without a trailing '/'.
const std::string& StartFolder();
void SetStartFolder(const std::string& folder);

// Resolves path one component at a time: each folder and file name that does
// not exist as written is matched without regard to case. A picture name
// (.bmp, .jpg, .jpeg) that matches nothing finds the picture of the same
// name stored as another of those kinds (BMP first, then JPEG), so that the
// names settings and recipes keep outlive a change of the library's file
// kinds. Returns the path as found on disk, or path unchanged when nothing
// matches.
std::string FindFileNoCase(const std::string& path);

// StartFolder() + "/" + relative, resolved without regard to case.
std::string StartFolderFile(const std::string& relative);

// The regular files of folder whose extension is one of extensions (given
// lower case without the dot, compared without regard to case), as full
// paths sorted by name. A missing folder gives an empty list.
std::vector<std::string> ListFilesNoCase(const std::string& folder,
                                         const std::vector<std::string>& extensions);

} // namespace quillon
