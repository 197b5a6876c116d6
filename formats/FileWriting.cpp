#include "formats/FileWriting.h"

#include "canvas/Types.h"
#include "formats/TempFiles.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

[[noreturn]] void Fail(const std::string& fileName, int err) {
    throw PictureError("Cannot write file " + fileName + ": " + std::strerror(err));
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file a path finally names, following symbolic links (to a target that
// need not exist yet).
std::string FollowLinks(const std::string& fileName) {
    std::string path = fileName;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        if (hops == 40) Fail(fileName, ELOOP);
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n < 0) Fail(fileName, errno);
        target[n] = '\0';
        path = target[0] == '/' ? std::string(target) : FolderOf(path) + "/" + target;
    }
}

// Closes a file descriptor when the write is given up, whatever the reason.
class FdGuard {
public:
    explicit FdGuard(int fd) : fd_(fd) {}
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    ~FdGuard() {
        if (fd_ >= 0) ::close(fd_);
    }
    // Closes the descriptor now, reporting a failure (a delayed write error).
    void Close(const std::string& fileName) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) Fail(fileName, errno);
    }

private:
    int fd_;
};

void WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::string& fileName) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(fileName, errno);
        }
        done += std::size_t(n);
    }
}

// Gathers the pieces a writer produces into blocks for the file.
class FdSink final : public ByteSink {
public:
    static constexpr std::size_t kBlock = std::size_t(1) << 20;

    FdSink(int fd, const std::string& fileName) : fd_(fd), fileName_(fileName) {}

    void Write(std::span<const std::uint8_t> bytes) override {
        if (buffer_.size() + bytes.size() > kBlock) Flush();
        if (bytes.size() >= kBlock) {
            WriteAll(fd_, bytes, fileName_); // a large piece goes as it is
            return;
        }
        if (buffer_.capacity() == 0) buffer_.reserve(kBlock);
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    }
    void Flush() {
        WriteAll(fd_, buffer_, fileName_);
        buffer_.clear();
    }

private:
    int fd_;
    const std::string& fileName_;
    std::vector<std::uint8_t> buffer_;
};

void Produce(int fd, const FileProducer& produce, const std::string& fileName) {
    FdSink sink(fd, fileName);
    produce(sink);
    sink.Flush();
}

// A device or a pipe: written in place, there is nothing to replace.
void WriteInPlace(const std::string& target, const FileProducer& produce,
                  const std::string& fileName) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) Fail(fileName, errno);
    FdGuard guard(fd);
    Produce(fd, produce, fileName);
    guard.Close(fileName);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A name for a temporary file in folder, the same length whatever the
// target's name; random, and checked free by the call that creates it.
std::string TempName(const std::string& folder) {
    static const char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 rng{std::random_device{}()};
    std::string name = folder + "/.quillon-";
    for (int i = 0; i < 8; ++i) name += kDigits[rng() % (sizeof kDigits - 1)];
    return name;
}

// A named temporary file, removed unless it was renamed over the target.
class TempFile {
public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { Drop(); }

    // Notes path (already created) as this temporary file.
    void Hold(std::string path) {
        path_ = std::move(path);
        handle_ = temp_files::Remember(path_.c_str());
    }
    const std::string& Path() const { return path_; }
    void Renamed() {
        temp_files::Forget(handle_);
        path_.clear();
    }
    void Drop() {
        if (path_.empty()) return;
        ::unlink(path_.c_str());
        temp_files::Forget(handle_);
        path_.clear();
    }

private:
    std::string path_;
    int handle_ = -1;
};

// Gives the open file fd its mode and contents and flushes them to disk;
// throws on failure (the caller closes fd).
void FillAndSync(int fd, mode_t mode, const FileProducer& produce, const std::string& fileName) {
    if (::fchmod(fd, mode) != 0) Fail(fileName, errno);
    Produce(fd, produce, fileName);
    if (::fsync(fd) != 0) Fail(fileName, errno);
}

// Writes the produced bytes to an unnamed file in folder and links it in
// as temp. Returns false, having created nothing, where the file system
// cannot.
bool WriteUnnamed(const std::string& folder, mode_t mode, const FileProducer& produce,
                  const std::string& fileName, TempFile& temp) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0) return false; // no O_TMPFILE here (EOPNOTSUPP, EISDIR, EINVAL)
    FdGuard guard(fd);        // an unnamed file vanishes with its descriptor
    FillAndSync(fd, mode, produce, fileName);
    // The file gets a name only now; linkat through /proc needs no privilege.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TempName(folder);
        temp.Hold(name); // before the name exists, so no moment goes unguarded
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        const int err = errno;
        temp.Renamed(); // nothing was created under that name
        if (err == EEXIST) continue;
        if (err == ENOENT || err == EPERM || err == EXDEV) return false; // no /proc
        Fail(fileName, err);
    }
    Fail(fileName, EEXIST);
}

void WriteNamed(const std::string& folder, mode_t mode, const FileProducer& produce,
                const std::string& fileName, TempFile& temp) {
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        std::string name = TempName(folder);
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0)
            temp.Hold(name);
        else if (errno != EEXIST)
            throw PictureError("Cannot create file " + fileName + ": " + std::strerror(errno));
    }
    if (fd < 0) Fail(fileName, EEXIST);
    FdGuard guard(fd);
    FillAndSync(fd, mode, produce, fileName);
    guard.Close(fileName);
}

} // namespace

void WriteFileReplacing(const std::string& fileName, const FileProducer& produce,
                        TempFileKind kind) {
    const std::string target = FollowLinks(fileName);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) Fail(fileName, EISDIR);
    if (exists && !S_ISREG(st.st_mode)) {
        WriteInPlace(target, produce, fileName);
        return;
    }
    // Only the permission bits: a copy must not gain set-ID rights anew.
    const mode_t mode = exists ? (st.st_mode & 0777) : NewFileMode();
    const std::string folder = FolderOf(target);
    TempFile temp;
    if (kind == TempFileKind::Named || !WriteUnnamed(folder, mode, produce, fileName, temp))
        WriteNamed(folder, mode, produce, fileName, temp);
    if (std::rename(temp.Path().c_str(), target.c_str()) != 0) Fail(fileName, errno);
    temp.Renamed();
}

void WriteFileReplacing(const std::string& fileName, std::span<const std::uint8_t> bytes,
                        TempFileKind kind) {
    WriteFileReplacing(
        fileName, [bytes](ByteSink& sink) { sink.Write(bytes); }, kind);
}

} // namespace quillon
