// Work on a picture's rows shared among the processor's cores.
#pragma once

#include <cstddef>
#include <functional>

namespace quillon {

// Calls work(band, firstRow, endRow) for bands of the rows first to end - 1
// that together cover each row once, and returns when all are done. A large
// picture (rowBytes a row, well beyond the cost of starting a thread) is
// split into as many bands as the processor has cores, up to maxBands, each
// on a thread of its own but the first, which runs on the caller; anything
// smaller, or a machine that cannot start a thread, gets one band on the
// caller. work must be safe to run on several threads at once for different
// rows. Returns the number of bands (band runs from 0 to that number - 1);
// an exception from any band is passed on after every band has ended.
int ForEachRowBand(int first, int end, std::size_t rowBytes, int maxBands,
                   const std::function<void(int band, int firstRow, int endRow)>& work);

} // namespace quillon
