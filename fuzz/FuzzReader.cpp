// A libFuzzer target for one picture reader, chosen at compile time by
// QUILLON_FUZZ_READER (the reader function) and QUILLON_FUZZ_EXTENSION (the
// extension of the file name the reader is given).
//
// A reader may accept an input or refuse it with EPictureError; anything else
// (another exception, a crash, a sanitizer report, a hang) is a finding.
// After a successful read the picture must be consistent: a size within the
// limit, and every pixel byte readable.
#include "formats/Readers.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#ifndef QUILLON_FUZZ_READER
#error "QUILLON_FUZZ_READER must name the reader function"
#endif

namespace {

void CheckPicture(const TBitmap& bitmap) {
    if (bitmap.Width() < 0 || bitmap.Height() < 0 || bitmap.Width() > kMaxPictureSide ||
        bitmap.Height() > kMaxPictureSide)
        std::abort();
    // Reading every byte lets the address sanitizer catch a buffer that is
    // shorter than the size the bitmap claims.
    unsigned sum = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t* row = bitmap.ScanLine(y);
        for (std::size_t i = 0; i < bitmap.Stride(); ++i) sum += row[i];
    }
    volatile unsigned sink = sum;
    (void)sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TBitmap out;
    try {
        QUILLON_FUZZ_READER(std::span<const std::uint8_t>(data, size),
                            "fuzz-input." QUILLON_FUZZ_EXTENSION, out);
    } catch (const EPictureError&) {
        return 0;
    }
    CheckPicture(out);
    return 0;
}
