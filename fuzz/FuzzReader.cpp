// A libFuzzer target for one picture reader, chosen at compile time by
// QUILLON_FUZZ_READER (the reader function) and QUILLON_FUZZ_EXTENSION (the
// extension of the file name the reader is given).
//
// A reader may accept an input or refuse it with PictureError; anything else
// (another exception, a crash, a sanitizer report, a hang) is a finding.
// After a successful read the picture must be consistent: a size within the
// limit, and the whole pixel block readable.
#include "formats/Readers.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace quillon;

#ifndef QUILLON_FUZZ_READER
#error "QUILLON_FUZZ_READER must name the reader function"
#endif

namespace {

void CheckPicture(const Bitmap& bitmap) {
    if (bitmap.Width() < 0 || bitmap.Height() < 0 || bitmap.Width() > kMaxPictureSide ||
        bitmap.Height() > kMaxPictureSide)
        std::abort();
    // Reading the first and the last byte of every row lets the address
    // sanitizer catch a buffer shorter than the size the bitmap claims (the
    // rows lie in one block), without a slow pass over a huge picture that
    // a tiny file may rightly describe (a GIF screen, say).
    unsigned sum = 0;
    const std::size_t stride = bitmap.Stride();
    if (stride > 0)
        for (int y = 0; y < bitmap.Height(); ++y) {
            const std::uint8_t* row = bitmap.ScanLine(y);
            sum += row[0] + row[stride - 1];
        }
    volatile unsigned sink = sum;
    (void)sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bitmap out;
    try {
        QUILLON_FUZZ_READER(std::span<const std::uint8_t>(data, size),
                            "fuzz-input." QUILLON_FUZZ_EXTENSION, out);
    } catch (const PictureError&) {
        return 0;
    }
    CheckPicture(out);
    return 0;
}
