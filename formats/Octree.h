// Colour reduction for the GIF writer: an octree quantizer that builds an
// adaptive palette from a picture's own colours, and a mapper that gives
// every pixel the index of its nearest palette colour (no dithering).
#pragma once

#include "canvas/Bitmap.h"
#include "formats/RowsObserver.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace quillon {

// Builds a palette of at most maxColors colours (2..256) with an octree:
// every colour descends by its bits, most significant first, to a leaf at
// depth 8; while there are more leaves than maxColors, the least-used node
// of the deepest level with children is folded into one leaf holding the
// mean of its colours. A picture with maxColors colours or fewer keeps
// exactly its own colours.
class OctreeQuantizer {
public:
    // cached: colours seen before skip the descent to their leaf; without,
    // every colour descends (the plain route, same palette).
    explicit OctreeQuantizer(int maxColors = 256, bool cached = true);

    // Adds count pixels of one colour.
    void AddColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint64_t count = 1);
    // Adds every pixel of a 24- or 32-bit picture, a row at a time.
    void AddPicture(const Bitmap& picture);
    // Adds rows firstRow to endRow - 1 of such a picture, given by its first
    // row, the bytes between rows, its width and its bytes a pixel.
    void AddRows(const std::uint8_t* row0, std::size_t stride, int width, int bytesPerPixel,
                 int firstRow, int endRow);
    // The leaves' mean colours, in the order of their place in the tree.
    std::vector<Color> Palette() const;
    // A leaf's mean colour with the number of pixels it stands for.
    struct WeightedColor {
        Color color = 0;
        std::uint64_t pixels = 0;
    };
    // The same leaves in the same order, each with its pixel count.
    std::vector<WeightedColor> WeightedPalette() const;

private:
    struct OctreeNode {
        std::uint64_t Count = 0;                    // pixels, kept at leaves
        std::uint64_t Red = 0, Green = 0, Blue = 0; // sums, kept at leaves
        std::int32_t Children[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
        std::uint32_t Serial = 0; // which making of this slot; 0 while free
        bool Leaf = false;
    };
    static std::uint32_t ColorKey(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16);
    }
    static std::size_t CacheSlot(std::uint32_t key) {
        return (key * 2654435761u) >> (32 - kLeafCacheBits);
    }
    // Adds to the colour's cached leaf; false, adding nothing, when the cache
    // has no living leaf for it.
    inline bool AddToCachedLeaf(std::uint32_t key, std::size_t slot, std::uint8_t r, std::uint8_t g,
                                std::uint8_t b, std::uint64_t count);
    // Adds by the colour's path from the root, making the nodes it lacks and
    // folding while there are too many leaves.
    void AddByDescent(std::uint32_t key, std::size_t slot, std::uint8_t r, std::uint8_t g,
                      std::uint8_t b, std::uint64_t count);
    std::int32_t NewNode(int level);
    void Reduce();
    void Collect(std::int32_t node, std::vector<WeightedColor>& out) const;

    struct LeafCacheEntry {
        std::uint32_t Key = 0; // colour + 1; 0 for an empty slot
        std::uint32_t Serial = 0;
        std::int32_t Node = 0;
    };
    static constexpr int kLeafCacheBits = 17;
    // Colour prefix (the first kPathLevel bits of each channel) -> the node
    // of that level on the prefix's path, or the leaf the path ends in above
    // it; valid while the node has the serial it had.
    struct PathCacheEntry {
        std::uint32_t Serial = 0; // 0 for an empty slot
        std::int32_t Node = 0;
        std::int32_t Level = 0;
    };
    static constexpr int kPathLevel = 4;

    int maxColors_;
    bool cached_;
    // Colour -> leaf answers, valid while the leaf's node still has the
    // serial it had: a leaf stays the colour's leaf until a fold frees it.
    std::vector<LeafCacheEntry> leafCache_;
    std::vector<PathCacheEntry> pathCache_;
    std::uint32_t serial_ = 0;
    int leaves_ = 0;
    std::vector<OctreeNode> nodes_;
    std::vector<std::int32_t> reducible_[8]; // nodes with children, by level
    std::vector<std::int32_t> freeNodes_;
};

// Maps colours to the nearest entry of a fixed palette (smallest sum of
// squared differences, the lowest index on a tie), exactly as
// NearestPaletteIndex does, but fast: answers are cached per colour, and a
// miss searches only the palette entries that can be nearest anywhere in the
// colour's cell of a 16 x 16 x 16 grid.
class PaletteMapper {
public:
    explicit PaletteMapper(const std::vector<Color>& palette);

    std::uint8_t Index(std::uint8_t r, std::uint8_t g, std::uint8_t b);
    // Maps one row of width pixels (blue, green, red, bytesPerPixel apart).
    void MapRow(const std::uint8_t* source, int bytesPerPixel, int width, std::uint8_t* indices);

private:
    std::uint8_t Search(std::uint8_t r, std::uint8_t g, std::uint8_t b);
    const std::vector<std::int16_t>& Candidates(int cell);

    std::vector<Color> palette_;
    std::vector<std::uint32_t> cacheKeys_; // colour + 1, 0 for an empty slot
    std::vector<std::uint8_t> cacheValues_;
    std::vector<std::vector<std::int16_t>> cells_;
    std::vector<bool> cellReady_;
};

// The octree palette of at most maxColors colours of a picture (an indexed
// one is read as 32 bits). Throws PictureError over the size limit.
std::vector<Color> OctreePalette(const Bitmap& picture, int maxColors = 256);

// Maps every row of a 24- or 32-bit picture to the index of its pixels'
// nearest palette colours (as PaletteMapper does) into indices, width bytes a
// row, and hands the rows to consume on the calling thread in bands, from the
// top, each as soon as it and the bands above it are mapped: the caller can
// code a band while the next ones are mapped. A large picture is mapped by
// two threads. An exception from either is passed on once both have stopped.
void MapRowsInOrder(const Bitmap& source, const std::vector<Color>& palette, std::uint8_t* indices,
                    const std::function<void(int firstRow, int endRow)>& consume);

// Builds a photo's octree palette while the photo is decoded: given to the
// reader as LoadOptions::rows, it adds each band of rows on a thread of its
// own as soon as the decoder has finished it, so that the palette is ready
// about when the photo is.
class OctreeWhileDecoding final : public RowsObserver {
public:
    explicit OctreeWhileDecoding(int maxColors = 256);
    ~OctreeWhileDecoding() override;
    OctreeWhileDecoding(const OctreeWhileDecoding&) = delete;
    OctreeWhileDecoding& operator=(const OctreeWhileDecoding&) = delete;

    void RowsDecoded(const std::uint8_t* row0, std::size_t stride, int width, int height,
                     int bytesPerPixel, int endRow) noexcept override;
    void DecodingEnded(bool complete) noexcept override;
    void RowsReplaced() noexcept override;

    // OctreePalette(picture), when picture holds the very rows decoded (the
    // same pixel memory, whole, and neither replaced nor converted since);
    // otherwise none.
    std::optional<std::vector<Color>> PaletteOf(const Bitmap& picture) const;

private:
    void AddWhileDecoding();

    OctreeQuantizer quantizer_;
    mutable std::mutex lock_;
    std::condition_variable more_;
    std::thread adder_;
    // Guarded by lock_:
    bool started_ = false, ended_ = false, failed_ = false, complete_ = false;
    const std::uint8_t* row0_ = nullptr;
    std::size_t stride_ = 0;
    int width_ = 0, height_ = 0, bytesPerPixel_ = 0;
    int decoded_ = 0; // rows the decoder has finished
};

// A PixelFormat::Indexed8 copy of a 24- or 32-bit picture with an octree palette of at most
// maxColors colours, each pixel mapped to its nearest palette colour.
void QuantizePicture(const Bitmap& picture, Bitmap& out, int maxColors = 256);
// The same result by the plain route: an octree without the leaf cache, and
// every pixel searched with NearestPaletteIndex. Kept to check the fast
// route against.
void QuantizePictureReference(const Bitmap& picture, Bitmap& out, int maxColors = 256);

} // namespace quillon
