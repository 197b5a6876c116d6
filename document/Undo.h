// The undo history's storage: ten snapshots, each with two memory streams
// holding Windows bitmap streams of the display bitmap and the working
// bitmap. The streams are created once and reused: writing a snapshot
// empties a stream and fills it again in place, so that after the first lap
// no push allocates. Plain C++ so that the memory benchmark can drive it
// without a window.
#pragma once

#include "canvas/Bitmap.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// A growable byte buffer with a position; Clear keeps the storage.
struct TMemoryStream {
    std::vector<std::uint8_t> Data;
    std::size_t Position = 0;

    void Clear() {
        Data.clear();
        Position = 0;
    }
    void Rewind() { Position = 0; }
};

// One snapshot.
struct UNDOTYPE {
    TMemoryStream DisplayStream;
    TMemoryStream PictureStream;
    std::int32_t WindowWidth = 0;
    std::int32_t WindowHeight = 0;
    std::int32_t DisplayBitmapWidth = 0;
    std::int32_t DisplayBitmapHeight = 0;
    std::int32_t SavedZoomMode = 0;
    float SavedScale = 1.0f;
    std::string UndoCaption;
};

constexpr int kUndoSlots = 10;
// Slots are numbered 1..10; slot i is element i - 1.
using TUndoList = std::array<UNDOTYPE, kUndoSlots>;

// The ring's bookkeeping for a push: the count saturates at 10 and the index
// wraps from 10 to 1, so the new entry overwrites the oldest.
void AdvanceUndo(int& count, int& index);
// The bookkeeping after an undo: the index walks back, wrapping from slot 1
// to slot 10 while entries remain.
void StepBackUndo(int& count, int& index);

// Writes bitmap into stream as a bitmap file, from the start, reusing the
// stream's storage. 24- and 32-bit pictures are written row by row straight
// into the buffer; indexed ones go through the file encoder.
void WriteBitmapStream(const Bitmap& bitmap, TMemoryStream& stream);
// Reads the bitmap file in stream (from its start) into bitmap.
void ReadBitmapStream(TMemoryStream& stream, Bitmap& bitmap);

} // namespace quillon
