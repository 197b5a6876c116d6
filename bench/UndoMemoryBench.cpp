// Peak memory of the undo history on a large photo: opens a 6000 x 4000
// picture, chooses a frame style and pushes ten undo entries (twice round
// the ring), undoes one step as the desktop program does (the undone
// document kept for Redo), then prints the process's peak resident memory
// as a multiple of one 32-bit copy of the picture. The picture file is
// written row by row first so that making it adds nothing to the peak. A
// photo given on the command line is used instead of the made one: the
// made one, all gradients, packs far smaller than a real photo does.
//
//   quillon-undo-memory [folder [photo]]   (folder: for the made file, default /tmp)
#include "document/PhotoDocument.h"
#include "document/UndoHistory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace quillon;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

void Put32(std::ofstream& out, std::uint32_t v) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(b, 4);
}
void Put16(std::ofstream& out, std::uint16_t v) {
    const char b[2] = {char(v), char(v >> 8)};
    out.write(b, 2);
}

// A 24-bit bottom-up bitmap file with gradients, written one row at a time.
void WritePhoto(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    const std::uint32_t rowBytes = (kWidth * 3 + 3) / 4 * 4;
    out.write("BM", 2);
    Put32(out, 54 + rowBytes * kHeight);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, kWidth);
    Put32(out, kHeight);
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    std::vector<char> row(rowBytes, 0);
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) {
            row[std::size_t(3 * x)] = char(x * 255 / kWidth);
            row[std::size_t(3 * x + 1)] = char(y * 255 / kHeight);
            row[std::size_t(3 * x + 2)] = char((x ^ y) & 0xFF);
        }
        out.write(row.data(), std::streamsize(rowBytes));
    }
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
        made ? folder + "/quillon-undo-bench-" + std::to_string(getpid()) + ".bmp" : argv[2];
    if (made) WritePhoto(path);
    const double start = PeakBytes();

    auto owned = std::make_unique<PhotoDocument>();
    PhotoDocument& document = *owned;
    document.Open(path, Zoom::Normal);
    if (made) std::remove(path.c_str());
    const double copy = double(document.Photo().Width()) * document.Photo().Height() * 4;
    std::printf("after open:            %5.2f copies\n", PeakBytes() / copy);

    UndoHistory history;
    auto push = [&] { history.Push(document.Photo(), "&Undo Frame"); };
    // Choosing the first style pushes its entry and builds the style, which
    // is then shown.
    push();
    document.SelectStyle(StyleId::Corner);
    document.Preview();
    std::printf("after a style:         %5.2f copies\n", PeakBytes() / copy);
    for (int i = 1; i < 10; ++i) push();
    std::printf("after ten pushes:      %5.2f copies\n", PeakBytes() / copy);
    // A second lap reuses the ten pictures.
    for (int i = 0; i < 10; ++i) push();
    const double steps = PeakBytes();
    std::printf("after twenty pushes:   %5.2f copies\n", steps / copy);
    const std::size_t packed = history.Newest().picture.PackedBytes();
    // Undo: the earlier photo comes back in a document of its own while the
    // undone one, style and all, is kept for Redo.
    auto restored = std::make_unique<PhotoDocument>();
    restored->OpenPicture(history.Newest().picture.Unpack(), document.FileName(), Zoom::Normal);
    history.Pop();
    restored->Preview();
    const double peak = PeakBytes();
    std::printf("after an undo:         %5.2f copies (the undone document kept for Redo)\n",
                peak / copy);
    std::printf("an entry packs to %.1f %% of a copy\n", 100.0 * double(packed) / copy);
    std::printf("peak resident memory of ten undo steps %.0f MB = %.2f x one 32-bit copy "
                "(%.0f MB); with an undo %.2f; before opening %.2f\n",
                steps / 1048576.0, steps / copy, copy / 1048576.0, peak / copy, start / copy);
    return 0;
}
