// A watcher of a picture's rows as its decoder finishes them, so that work on
// the first rows can start while the rest are decoded.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillon {

class RowsObserver {
public:
    virtual ~RowsObserver() = default;
    // Rows 0 to endRow - 1 of the picture being decoded are final: width
    // pixels of bytesPerPixel bytes a row, stride bytes apart from row0 on.
    // Called on the decoding thread, with endRow growing to height; it must
    // not throw.
    virtual void RowsDecoded(const std::uint8_t* row0, std::size_t stride, int width, int height,
                             int bytesPerPixel, int endRow) noexcept = 0;
    // The decoding has ended, with every row (complete) or in a failure. The
    // rows may be freed or changed as soon as this returns, so the observer
    // stops reading them first.
    virtual void DecodingEnded(bool complete) noexcept = 0;
    // After the decoding, the picture was made anew from the rows (turned
    // upright, say): what was seen of them does not describe it.
    virtual void RowsReplaced() noexcept {}
};

} // namespace quillon
