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
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace quillon {

enum class TempFileKind {
    UnnamedFirst, // O_TMPFILE where the file system has it, a named one otherwise
    Named,        // always a named temporary file
};

void WriteFileReplacing(const std::string& fileName, std::span<const std::uint8_t> bytes,
                        TempFileKind kind);

// Where a writer puts a file's bytes piece by piece, so that a large file
// never has to exist whole in memory. Pieces are gathered into blocks of
// about a megabyte before they go to the file.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::span<const std::uint8_t> bytes) = 0;
};

// A sink that keeps the bytes in memory.
class MemorySink final : public ByteSink {
public:
    void Write(std::span<const std::uint8_t> bytes) override {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// Replaces fileName as the span version does, with the bytes produce writes
// to the sink it is given. When produce throws, nothing is replaced and the
// exception goes on to the caller. produce may be called a second time, to
// start over, when the first way of making the temporary file fails late.
using FileProducer = std::function<void(ByteSink&)>;
void WriteFileReplacing(const std::string& fileName, const FileProducer& produce,
                        TempFileKind kind);

} // namespace quillon
