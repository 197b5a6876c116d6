// Saving a file: links followed and kept, devices and pipes written in
// place, permission bits kept without set-ID bits, long names, and no
// temporary file left behind, not even by a signal that ends the program.
#include "formats/FileWriting.h"
#include "formats/Formats.h"
#include "formats/TempFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

using namespace quillon;

namespace fs = std::filesystem;

namespace {

const std::vector<std::uint8_t> kOld = {'o', 'l', 'd'};
const std::vector<std::uint8_t> kNew = {'n', 'e', 'w', '!'};

std::vector<std::uint8_t> Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

std::string ErrorOf(const std::string& path, std::span<const std::uint8_t> bytes,
                    TempFileKind kind) {
    try {
        WriteFileReplacing(path, bytes, kind);
    } catch (const PictureError& e) {
        return e.what();
    }
    return "";
}

// Each rule holds for both ways of making the temporary file.
class FileWriting : public ::testing::TestWithParam<TempFileKind> {
protected:
    std::string Dir(const std::string& name) {
        return TempDir(name + (GetParam() == TempFileKind::Named ? "-named" : "-unnamed"));
    }
};

TEST_P(FileWriting, ASymlinkIsFollowedAndKept) {
    const std::string dir = Dir("write-link");
    fs::create_directories(dir + "/real");
    std::ofstream(dir + "/real/photo.bmp") << "old";
    fs::create_symlink("real/photo.bmp", dir + "/link.bmp");   // relative
    fs::create_symlink(dir + "/link.bmp", dir + "/chain.bmp"); // a link to a link
    ASSERT_EQ(ErrorOf(dir + "/chain.bmp", kNew, GetParam()), "");
    EXPECT_TRUE(fs::is_symlink(dir + "/chain.bmp"));
    EXPECT_TRUE(fs::is_symlink(dir + "/link.bmp"));
    EXPECT_EQ(Contents(dir + "/real/photo.bmp"), kNew);
    EXPECT_EQ(Names(dir + "/real"), (std::vector<std::string>{"photo.bmp"}));

    // A link to a file not there yet makes the file.
    fs::create_symlink("real/new.bmp", dir + "/dangling.bmp");
    ASSERT_EQ(ErrorOf(dir + "/dangling.bmp", kOld, GetParam()), "");
    EXPECT_TRUE(fs::is_symlink(dir + "/dangling.bmp"));
    EXPECT_EQ(Contents(dir + "/real/new.bmp"), kOld);

    fs::create_symlink("loop-b", dir + "/loop-a");
    fs::create_symlink("loop-a", dir + "/loop-b");
    EXPECT_NE(ErrorOf(dir + "/loop-a", kNew, GetParam()).find("symbolic links"), std::string::npos);
}

TEST_P(FileWriting, PermissionBitsAreKeptButNotSetIdOrSticky) {
    const std::string dir = Dir("write-modes");
    const std::string path = dir + "/tool.bmp";
    std::ofstream(path) << "old";
    for (mode_t mode : {mode_t(0640), mode_t(04755), mode_t(02750), mode_t(01777)}) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_EQ(ErrorOf(path, kNew, GetParam()), "");
        EXPECT_EQ(ModeOf(path), mode & 0777);
    }
    const mode_t mask = ::umask(027);
    ASSERT_EQ(ErrorOf(dir + "/fresh.bmp", kNew, GetParam()), "");
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir + "/fresh.bmp"), mode_t(0640));
}

TEST_P(FileWriting, TheLongestFileNamesSave) {
    const std::string dir = Dir("write-long");
    for (std::size_t length : {249u, 250u, 255u}) {
        const std::string name = std::string(length - 4, 'n') + ".bmp";
        ASSERT_EQ(ErrorOf(dir + "/" + name, kNew, GetParam()), "") << length;
        ASSERT_EQ(ErrorOf(dir + "/" + name, kOld, GetParam()), "") << length;
        EXPECT_EQ(Contents(dir + "/" + name), kOld);
    }
    EXPECT_EQ(Names(dir).size(), 3u); // no temporary file left
}

TEST_P(FileWriting, AFailedSaveLeavesNoTemporaryFile) {
    const std::string dir = Dir("write-fail");
    std::ofstream(dir + "/keep.bmp") << "old";
    fs::create_directories(dir + "/folder.bmp");
    EXPECT_EQ(ErrorOf(dir + "/folder.bmp", kNew, GetParam()),
              "Cannot write file " + dir + "/folder.bmp: Is a directory");
    EXPECT_EQ(ErrorOf(dir + "/missing/x.bmp", kNew, GetParam()),
              "Cannot create file " + dir + "/missing/x.bmp: No such file or directory");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"folder.bmp", "keep.bmp"}));
    EXPECT_EQ(Contents(dir + "/keep.bmp"), kOld);
}

// A writer's pieces, small and large, arrive in order; one that fails part
// way leaves the old file as it was and no temporary file behind.
TEST_P(FileWriting, PiecesArriveInOrderAndAFailedWriterChangesNothing) {
    const std::string dir = Dir("write-pieces");
    const std::string path = dir + "/big.bmp";
    std::vector<std::uint8_t> expected;
    const auto produce = [&](ByteSink& sink) {
        expected.clear();
        for (std::size_t n : {std::size_t(1), std::size_t(700000), std::size_t(3) << 20,
                              std::size_t(5), std::size_t(1) << 20}) {
            std::vector<std::uint8_t> piece(n);
            for (std::size_t i = 0; i < n; ++i) piece[i] = std::uint8_t(i * 7 + n);
            sink.Write(piece);
            expected.insert(expected.end(), piece.begin(), piece.end());
        }
    };
    WriteFileReplacing(path, produce, GetParam());
    EXPECT_TRUE(Contents(path) == expected);

    const auto failing = [](ByteSink& sink) {
        sink.Write(std::vector<std::uint8_t>(std::size_t(2) << 20, 'x'));
        throw PictureError("Picture is too large for a bitmap file");
    };
    try {
        WriteFileReplacing(path, failing, GetParam());
        ADD_FAILURE() << "no error";
    } catch (const PictureError& e) {
        EXPECT_EQ(std::string(e.what()), "Picture is too large for a bitmap file");
    }
    EXPECT_TRUE(Contents(path) == expected);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"big.bmp"}));
}

TEST_P(FileWriting, APipeIsWrittenInPlace) {
    const std::string fifo = Dir("write-fifo") + "/pipe.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader is there first, so opening the pipe to write does not wait.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(ErrorOf(fifo, kNew, GetParam()), "");
    std::vector<std::uint8_t> got(16);
    const ssize_t n = ::read(reader, got.data(), got.size());
    ::close(reader);
    got.resize(std::size_t(std::max<ssize_t>(n, 0)));
    EXPECT_EQ(got, kNew);
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
}

INSTANTIATE_TEST_SUITE_P(BothTemporaryFiles, FileWriting,
                         ::testing::Values(TempFileKind::UnnamedFirst, TempFileKind::Named),
                         [](const auto& info) {
                             return std::string(info.param == TempFileKind::Named ? "Named"
                                                                                  : "Unnamed");
                         });

// A device is written as it is, never replaced by a file: writing to a full
// one is an error, and it stays a device.
TEST(FileWritingDevice, AFullDeviceIsAnErrorAndStaysADevice) {
    ASSERT_EQ(fs::status("/dev/full").type(), fs::file_type::character);
    auto picture = MakeTestPhoto(4, 4);
    try {
        SaveBmpFile(*picture, "/dev/full");
        ADD_FAILURE() << "saved to /dev/full";
    } catch (const PictureError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot write file /dev/full: No space left on device");
    }
    EXPECT_EQ(fs::status("/dev/full").type(), fs::file_type::character);
    WriteFileReplacing("/dev/null", kNew);
    EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
}

// A program ended by SIGTERM, SIGINT or SIGHUP while a temporary file is in
// flight removes it; one already renamed or dropped is left alone.
TEST(TempFiles, AnEndingSignalRemovesTheTemporaryFilesInFlight) {
    const std::string dir = TempDir("temp-signal");
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(sig);
        const std::string inFlight = dir + "/.quillon-flight", done = dir + "/.quillon-done";
        std::ofstream(inFlight) << "partial";
        std::ofstream(done) << "renamed";
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // A background shell may have the signal ignored, which the
            // registry respects: the case here is a signal left to end us.
            struct sigaction current {};
            ::sigaction(sig, nullptr, &current);
            if (current.sa_handler == SIG_IGN) std::signal(sig, SIG_DFL);
            temp_files::Remember(inFlight.c_str());
            temp_files::Forget(temp_files::Remember(done.c_str()));
            std::raise(sig);
            std::_Exit(0); // not reached: the signal ends the child
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        EXPECT_FALSE(fs::exists(inFlight));
        EXPECT_TRUE(fs::exists(done));
        fs::remove(done);
    }
}

} // namespace
