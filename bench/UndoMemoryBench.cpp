// Peak memory of the undo history on a large photo: opens a 6000 x 4000
// photo, chooses a frame style and pushes ten undo entries (twice round
// the ring), undoes one step as the desktop program does (the undone
// document kept for Redo), then prints the process's peak resident memory
// as a multiple of one 32-bit copy of the picture, and the time a push and
// an unpack take.
//
// An undo entry is the photo compressed, so the figure depends on how well
// the photo packs: a picture of smooth gradients packs to almost nothing
// and flatters it. The photo made here is therefore made like a camera's:
// soft light over large shapes, finer texture and sensor noise, saved as a
// JPEG (quality 90). It is made in a child process, so that making it adds
// nothing to this process's peak. A photo given on the command line is used
// instead of the made one.
//
//   quillon-undo-memory [folder [photo]]   (folder: for the made file, default /tmp)
#include "document/PhotoDocument.h"
#include "document/UndoHistory.h"
#include "formats/Formats.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace quillon;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// A grid of random levels, one every `step` pixels, read between its points
// by bilinear interpolation: a smooth random surface.
class Surface {
public:
    Surface(int step, int range, std::mt19937& rng)
        : step_(step), cols_(kWidth / step + 2),
          levels_(std::size_t(cols_ * (kHeight / step + 2))) {
        std::uniform_int_distribution<int> level(-range, range);
        for (int& v : levels_) v = level(rng);
    }
    int At(int x, int y) const {
        const int gx = x / step_, gy = y / step_, fx = x % step_, fy = y % step_;
        const int* row = &levels_[std::size_t(gy * cols_ + gx)];
        const int top = row[0] * (step_ - fx) + row[1] * fx;
        const int bottom = row[cols_] * (step_ - fx) + row[cols_ + 1] * fx;
        return (top * (step_ - fy) + bottom * fy) / (step_ * step_);
    }

private:
    int step_;
    int cols_;
    std::vector<int> levels_;
};

void WritePhoto(const std::string& path) {
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        std::exit(1);
    }
    if (child == 0) {
        std::mt19937 rng(7);
        // The brightness: large shapes, smaller ones and fine texture; the
        // colour channels follow it, each with a slow tint of its own, as
        // they do in a photograph.
        const Surface shapes(750, 80, rng), detail(60, 30, rng), texture(6, 10, rng);
        std::vector<Surface> tints;
        for (int c = 0; c < 3; ++c) tints.emplace_back(1000, 30, rng);
        std::uniform_int_distribution<int> grain(-2, 2), channelGrain(-1, 1);
        Bitmap photo(kWidth, kHeight);
        const int base[3] = {90, 110, 140}; // blue, green, red: warm light
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = photo.ScanLine(y);
            const int light = 40 * y / kHeight; // brighter toward the bottom
            for (int x = 0; x < kWidth; ++x) {
                const int lum =
                    light + shapes.At(x, y) + detail.At(x, y) + texture.At(x, y) + grain(rng);
                for (int c = 0; c < 3; ++c) {
                    const int v =
                        base[c] + lum + tints[std::size_t(c)].At(x, y) + channelGrain(rng);
                    row[4 * x + c] = std::uint8_t(std::clamp(v, 0, 255));
                }
            }
        }
        _exit(SavePictureFile(photo, path) ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "quillon-undo-memory: cannot make %s\n", path.c_str());
        std::exit(1);
    }
}

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

double PeakBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024.0; // kilobytes on Linux
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    const bool made = argc < 3;
    const std::string path =
        made ? folder + "/quillon-undo-bench-" + std::to_string(getpid()) + ".jpg" : argv[2];
    if (made) WritePhoto(path);
    const double start = PeakBytes();

    auto owned = std::make_unique<PhotoDocument>();
    PhotoDocument& document = *owned;
    document.Open(path, Zoom::Normal);
    if (made) std::remove(path.c_str());
    const double copy = double(document.Photo().Width()) * document.Photo().Height() * 4;
    std::printf("after open:            %5.2f copies\n", PeakBytes() / copy);

    // Each step as a command that changed the photo pushes it (a step that
    // changed only frames shares the photo of the step before and packs
    // nothing).
    UndoHistory history;
    auto push = [&] {
        UndoState state;
        state.photo = PackPhoto(document.Photo());
        state.caption = "&Undo Frame";
        history.Push(std::move(state));
    };
    // Choosing the first style pushes its entry and builds the style, which
    // is then shown.
    push();
    document.SelectStyle(StyleId::Corner);
    document.Preview();
    std::printf("after a style:         %5.2f copies\n", PeakBytes() / copy);
    for (int i = 1; i < 10; ++i) push();
    std::printf("after ten pushes:      %5.2f copies\n", PeakBytes() / copy);
    // A second lap reuses the ten pictures.
    const auto lapStart = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) push();
    const double pushMs = Milliseconds(lapStart) / 10;
    const double steps = PeakBytes();
    std::printf("after twenty pushes:   %5.2f copies\n", steps / copy);
    const std::size_t packed = history.Newest().photo->PackedBytes();
    // Undo: the earlier photo comes back in a document of its own while the
    // undone one, style and all, is kept for Redo.
    auto restored = std::make_unique<PhotoDocument>();
    const auto unpackStart = std::chrono::steady_clock::now();
    std::unique_ptr<Bitmap> unpacked = history.Newest().photo->Unpack();
    const double unpackMs = Milliseconds(unpackStart);
    restored->OpenPicture(std::move(unpacked), document.FileName(), Zoom::Normal);
    history.Pop();
    restored->Preview();
    const double peak = PeakBytes();
    std::printf("after an undo:         %5.2f copies (the undone document kept for Redo)\n",
                peak / copy);
    std::printf("an entry packs to %.1f %% of a copy; a push takes %.0f ms, an unpack %.0f ms\n",
                100.0 * double(packed) / copy, pushMs, unpackMs);
    std::printf("peak resident memory of ten undo steps %.0f MB = %.2f x one 32-bit copy "
                "(%.0f MB); with an undo %.2f; before opening %.2f\n",
                steps / 1048576.0, steps / copy, copy / 1048576.0, peak / copy, start / copy);
    return 0;
}
