// Writing a whole file so that a failed save leaves the old one intact.
//
// The bytes go to a temporary file in the target's folder, which replaces
// the target by a rename only once every byte has reached the disk. The
// temporary file is unnamed where the file system allows (O_TMPFILE, given a
// name just before the rename), otherwise a fixed-length name beside the
// target, so that a target name of any length still saves; either way a
// named temporary is removed if the program is ended by a signal meanwhile.
//
// A symbolic link is followed: its final target is replaced and the link
// kept. A target that is not a regular file (a device, a pipe) is written
// directly, and its errors are errors. A replaced file keeps its permission
// bits, never its set-user-ID, set-group-ID or sticky bits; a new file gets
// the usual ones (0666 less the umask). Failures throw PictureError.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quillon {

enum class TempFileKind {
    UnnamedFirst, // O_TMPFILE where the file system has it, a named one otherwise
    Named,        // always a named temporary file
};

void WriteFileReplacing(const std::string& fileName, std::span<const std::uint8_t> bytes,
                        TempFileKind kind);

} // namespace quillon
