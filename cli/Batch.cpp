#include "cli/Batch.h"

#include "cli/Framing.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace quillon {

namespace fs = std::filesystem;

namespace {

struct TWorker {
    std::size_t index = 0;
    int messageFd = -1;
};

// Frames one file inside a worker and ends the process: status 0 on
// success, 1 with the message written to fd on failure.
[[noreturn]] void WorkerMain(const TOptions& o, const std::string& input, const std::string& output,
                             int fd) {
    std::string message;
    try {
        auto doc = FramePicture(input, o.groups);
        SaveAs(*doc, output, o.format);
        _exit(0);
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "unknown failure";
    }
    // Kept under the pipe's buffer so that the write never waits for the
    // parent, which reads only after the worker has ended.
    if (message.size() > 4000) message.resize(4000);
    ssize_t ignored = write(fd, message.data(), message.size());
    (void)ignored;
    _exit(1);
}

std::string ReadAll(int fd) {
    std::string text;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n > 0) {
            text.append(buf, std::size_t(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    return text;
}

class TProgress {
public:
    TProgress(std::size_t total) : total_(total), tty_(isatty(STDERR_FILENO) == 1) {}

    void Done(const std::string& file) {
        ++done_;
        if (!tty_) return;
        const double secs =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        const double rate = secs > 0 ? double(done_) / secs : 0.0;
        std::fprintf(stderr, "\r\033[K[%zu/%zu] %s  %.1f files/s", done_, total_,
                     fs::path(file).filename().c_str(), rate);
        std::fflush(stderr);
    }

    void Error(const std::string& text) {
        std::fprintf(stderr, "%squillon-frame: %s\n", tty_ ? "\r\033[K" : "", text.c_str());
    }

    void Finish() {
        if (tty_ && done_ > 0) std::fputc('\n', stderr);
    }

private:
    std::size_t total_;
    std::size_t done_ = 0;
    bool tty_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace

std::vector<std::string> BatchOutputPaths(const std::vector<std::string>& inputs,
                                          const std::string& outputDir, TOutputFormat format) {
    std::vector<std::string> out;
    std::set<std::string> taken;
    for (const auto& input : inputs) {
        const std::string path =
            (fs::path(outputDir) / fs::path(input).stem()).string() + "." + FormatExtension(format);
        out.push_back(taken.insert(path).second ? path : std::string());
    }
    return out;
}

int RunBatch(const TOptions& o) {
    std::error_code ec;
    fs::create_directories(o.outputDir, ec);
    if (!fs::is_directory(o.outputDir, ec)) {
        std::fprintf(stderr, "quillon-frame: cannot create the folder %s\n", o.outputDir.c_str());
        return 1;
    }
    const std::vector<std::string> outputs = BatchOutputPaths(o.inputs, o.outputDir, o.format);
    unsigned jobs = o.jobs > 0 ? unsigned(o.jobs) : std::thread::hardware_concurrency();
    if (jobs == 0) jobs = 1;

    TProgress progress(o.inputs.size());
    std::map<pid_t, TWorker> running;
    int failed = 0;
    std::size_t next = 0;

    auto reap = [&] {
        int status = 0;
        pid_t pid;
        do pid = waitpid(-1, &status, 0);
        while (pid < 0 && errno == EINTR);
        if (pid < 0) return false;
        auto it = running.find(pid);
        if (it == running.end()) return true;
        const TWorker w = it->second;
        running.erase(it);
        std::string message = ReadAll(w.messageFd);
        close(w.messageFd);
        const std::string& input = o.inputs[w.index];
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            progress.Done(input);
            return true;
        }
        if (WIFSIGNALED(status))
            message = "framing stopped by signal " + std::to_string(WTERMSIG(status));
        else if (message.empty())
            message = "framing failed";
        progress.Error(input + ": " + message);
        progress.Done(input);
        ++failed;
        return true;
    };

    while (next < o.inputs.size() || !running.empty()) {
        if (next < o.inputs.size() && running.size() < jobs) {
            const std::size_t i = next++;
            if (outputs[i].empty()) {
                progress.Error(o.inputs[i] + ": another input already writes " +
                               fs::path(o.inputs[i]).stem().string() + "." +
                               FormatExtension(o.format) + "; skipped");
                progress.Done(o.inputs[i]);
                ++failed;
                continue;
            }
            int fds[2];
            if (pipe(fds) != 0) {
                progress.Error(o.inputs[i] + ": cannot start a worker: " + std::strerror(errno));
                ++failed;
                continue;
            }
            std::fflush(nullptr);
            const pid_t pid = fork();
            if (pid == 0) {
                close(fds[0]);
                WorkerMain(o, o.inputs[i], outputs[i], fds[1]);
            }
            close(fds[1]);
            if (pid < 0) {
                close(fds[0]);
                progress.Error(o.inputs[i] + ": cannot start a worker: " + std::strerror(errno));
                ++failed;
                continue;
            }
            running[pid] = {i, fds[0]};
            continue;
        }
        if (!reap()) break;
    }
    progress.Finish();
    return failed > 0 ? 1 : 0;
}

} // namespace quillon
