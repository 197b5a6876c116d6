#include "document/Undo.h"

#include "canvas/Types.h"
#include "formats/Readers.h"

#include <cstring>

namespace quillon {

void AdvanceUndo(int& count, int& index) {
    if (++count > kUndoSlots) count = kUndoSlots;
    if (++index > kUndoSlots) index = 1;
}

void StepBackUndo(int& count, int& index) {
    --count;
    --index;
    if (index == 0 && count > 0) index = kUndoSlots;
}

namespace {

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

} // namespace

void WriteBitmapStream(const Bitmap& bitmap, TMemoryStream& stream) {
    stream.Clear();
    const int bytes = bitmap.BytesPerPixel();
    if (bitmap.IsIndexed() || (bytes != 3 && bytes != 4)) {
        const std::vector<std::uint8_t> encoded = EncodeBmp(bitmap);
        stream.Data.assign(encoded.begin(), encoded.end());
        return;
    }
    const int w = bitmap.Width(), h = bitmap.Height();
    const std::size_t stride = bitmap.Stride();
    const std::size_t rowBytes = (stride + 3) / 4 * 4;
    constexpr std::size_t kHeader = 14 + 40;
    const std::uint64_t fileSize = kHeader + std::uint64_t(rowBytes) * std::uint64_t(h);
    if (fileSize > 0xFFFFFFFFu) throw PictureError("Picture is too large for a bitmap file");
    // resize on a cleared vector keeps its capacity: a reused stream of the
    // same picture size allocates nothing.
    stream.Data.resize(std::size_t(fileSize));
    std::uint8_t* p = stream.Data.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, std::uint32_t(fileSize));
    Put32(p + 6, 0);
    Put32(p + 10, kHeader);
    Put32(p + 14, 40);
    Put32(p + 18, std::uint32_t(w));
    Put32(p + 22, std::uint32_t(h));
    Put16(p + 26, 1);
    Put16(p + 28, std::uint16_t(bytes * 8));
    Put32(p + 30, 0); // uncompressed
    Put32(p + 34, std::uint32_t(rowBytes * std::size_t(h)));
    Put32(p + 38, 2835);
    Put32(p + 42, 2835);
    Put32(p + 46, 0);
    Put32(p + 50, 0);
    // Bottom-up rows, each padded to four bytes with zeros.
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = p + kHeader + std::size_t(h - 1 - y) * rowBytes;
        std::memcpy(row, bitmap.ScanLine(y), stride);
        std::memset(row + stride, 0, rowBytes - stride);
    }
    stream.Position = stream.Data.size();
}

void ReadBitmapStream(TMemoryStream& stream, Bitmap& bitmap) {
    stream.Rewind();
    ReadBmp(stream.Data, "Undo", bitmap);
    stream.Position = stream.Data.size();
}

} // namespace quillon
