// DialogMemory: what the open and save dialogs remember from one use to the
// next, across runs, in the settings store: the folder of the file last
// opened, and the folder and format of the file last saved. A remembered
// folder that no longer exists gives way to the folder chosen in Settings,
// and choosing a folder there makes the dialog start there again. Failures
// to read or write the store are swallowed: remembering is a convenience
// that must not turn a command that worked into an error.
#pragma once

#include "app/SettingsStore.h"

#include <string>

namespace quillon {

// Where the open dialog starts.
std::string OpenDialogFolder(const ShellFolders& folders);
// Where the save dialog starts.
std::string SaveDialogFolder(const ShellFolders& folders);
// The pattern of the save dialog's format last used ("*.jpg"), or the
// program's default format.
std::string SaveDialogPattern();

void RememberOpenedFile(const std::string& fileName);
void RememberSavedFile(const std::string& fileName);
// The dialog of setting starts in the folder of Settings again.
void ForgetDialogFolder(FolderSetting setting);

// The pattern of the format a file name is saved in, or empty.
std::string SavePatternOf(const std::string& fileName);

} // namespace quillon
