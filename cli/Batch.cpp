#include "cli/Batch.h"

#include "cli/Framing.h"

#include "canvas/PixelReserve.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace fs = std::filesystem;

namespace {

class BatchProgress {
public:
    BatchProgress(std::size_t total) : total_(total), tty_(isatty(STDERR_FILENO) == 1) {}

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
                                          const std::string& outputDir, OutputFormat format) {
    std::vector<std::string> out;
    std::set<std::string> taken;
    for (const auto& input : inputs) {
        const std::string path =
            (fs::path(outputDir) / fs::path(input).stem()).string() + "." + FormatExtension(format);
        out.push_back(taken.insert(path).second ? path : std::string());
    }
    return out;
}

int RunBatch(const CliOptions& o) {
    std::error_code ec;
    fs::create_directories(o.outputDir, ec);
    if (!fs::is_directory(o.outputDir, ec)) {
        std::fprintf(stderr, "quillon-frame: cannot create the folder %s\n", o.outputDir.c_str());
        return 1;
    }
    const std::vector<std::string> outputs = BatchOutputPaths(o.inputs, o.outputDir, o.format);
    unsigned jobs = o.jobs > 0 ? unsigned(o.jobs) : std::thread::hardware_concurrency();
    if (jobs == 0) jobs = 1;
    jobs = unsigned(std::min<std::size_t>(jobs, o.inputs.size()));

    // The inputs by device and inode, so that no output is written over one
    // of them whatever path names it.
    std::set<std::pair<dev_t, ino_t>> inputFiles;
    for (const std::string& input : o.inputs) {
        struct stat s {};
        if (::stat(input.c_str(), &s) == 0) inputFiles.insert({s.st_dev, s.st_ino});
    }
    const auto isAnInput = [&](const std::string& path) {
        struct stat s {};
        return ::stat(path.c_str(), &s) == 0 && inputFiles.count({s.st_dev, s.st_ino}) > 0;
    };

    // Photo after photo asks for buffers of the same sizes: freed ones are
    // kept for the next photo rather than given back and zeroed afresh by
    // the kernel, about what one photo of 24 megapixels in flight needs per
    // worker.
    pixel_memory::KeepFreedBuffers(std::size_t(jobs) * (std::size_t(512) << 20));

    BatchProgress progress(o.inputs.size());
    std::mutex reportLock; // progress and the failure count
    std::atomic<std::size_t> next{0};
    int failed = 0;

    // Each worker takes the next file until none is left. A document is
    // private to its file, so the workers share nothing but the options.
    auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= o.inputs.size()) return;
            const std::string& input = o.inputs[i];
            std::string message;
            if (outputs[i].empty()) {
                message = "another input already writes " + fs::path(input).stem().string() + "." +
                          FormatExtension(o.format) + "; skipped";
            } else if (isAnInput(outputs[i])) {
                message = "its output " + outputs[i] + " is one of the inputs; skipped";
            } else {
                try {
                    const auto doc = FrameByRecipe(input, o.recipe, LoadOptions{o.autoOrient});
                    SaveAs(*doc, outputs[i], o.format);
                } catch (const std::exception& e) {
                    message = e.what();
                    if (message.empty()) message = "framing failed";
                }
            }
            const std::lock_guard lock(reportLock);
            if (!message.empty()) {
                progress.Error(input + ": " + message);
                ++failed;
            }
            progress.Done(input);
        }
    };
    {
        std::vector<std::jthread> workers;
        for (unsigned k = 1; k < jobs; ++k) workers.emplace_back(work);
        work();
    } // the jthreads join here
    progress.Finish();
    pixel_memory::KeepFreedBuffers(0);
    return failed == 0 ? 0 : 1;
}

} // namespace quillon
