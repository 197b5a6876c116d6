#include "formats/Octree.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>

namespace quillon {

OctreeQuantizer::OctreeQuantizer(int maxColors, bool cached)
    : maxColors_(std::clamp(maxColors, 2, 256)), cached_(cached),
      leafCache_(cached ? std::size_t(1) << kLeafCacheBits : 0),
      pathCache_(cached ? std::size_t(1) << (3 * kPathLevel) : 0) {
    nodes_.reserve(1024);
    NewNode(0);
}

std::int32_t OctreeQuantizer::NewNode(int level) {
    std::int32_t index;
    if (!freeNodes_.empty()) {
        index = freeNodes_.back();
        freeNodes_.pop_back();
        nodes_[std::size_t(index)] = OctreeNode{};
    } else {
        index = std::int32_t(nodes_.size());
        nodes_.emplace_back();
    }
    if (++serial_ == 0) {
        // Serials came round: answers of before could pass for new ones.
        std::fill(leafCache_.begin(), leafCache_.end(), LeafCacheEntry{});
        std::fill(pathCache_.begin(), pathCache_.end(), PathCacheEntry{});
        serial_ = 1;
    }
    nodes_[std::size_t(index)].Serial = serial_;
    if (level == 8) {
        nodes_[std::size_t(index)].Leaf = true;
        ++leaves_;
    } else {
        reducible_[level].push_back(index);
    }
    return index;
}

inline bool OctreeQuantizer::AddToCachedLeaf(std::uint32_t key, std::size_t slot, std::uint8_t r,
                                             std::uint8_t g, std::uint8_t b, std::uint64_t count) {
    // A colour seen before goes straight to its leaf while that leaf lives.
    // A fold frees leaves only, and a leaf's parent is folded only with the
    // leaf, so a leaf that lives is still where the colour's path ends. No
    // leaf is made, so none needs folding.
    if (!cached_) return false;
    const LeafCacheEntry& e = leafCache_[slot];
    if (e.Key != key + 1) return false;
    OctreeNode& leaf = nodes_[std::size_t(e.Node)];
    if (leaf.Serial != e.Serial) return false;
    leaf.Count += count;
    leaf.Red += r * count;
    leaf.Green += g * count;
    leaf.Blue += b * count;
    return true;
}

void OctreeQuantizer::AddColor(std::uint8_t r, std::uint8_t g, std::uint8_t b,
                               std::uint64_t count) {
    const std::uint32_t key = ColorKey(r, g, b);
    const std::size_t slot = CacheSlot(key);
    if (!AddToCachedLeaf(key, slot, r, g, b, count)) AddByDescent(key, slot, r, g, b, count);
}

void OctreeQuantizer::AddByDescent(std::uint32_t key, std::size_t slot, std::uint8_t r,
                                   std::uint8_t g, std::uint8_t b, std::uint64_t count) {
    // The descent starts from the node the colour's prefix leads to when
    // that node lives: every node above it is on the path and exists, so
    // the rest of the descent meets, and makes, what the whole would.
    std::int32_t node = 0;
    int level = 0;
    PathCacheEntry* path = nullptr; // to be filled in on the way down
    if (cached_) {
        constexpr int drop = 8 - kPathLevel;
        path = &pathCache_[(std::size_t(r >> drop) << (2 * kPathLevel)) |
                           (std::size_t(g >> drop) << kPathLevel) | std::size_t(b >> drop)];
        if (path->Serial != 0 && nodes_[std::size_t(path->Node)].Serial == path->Serial) {
            node = path->Node;
            level = path->Level;
            path = nullptr;
        }
    }
    for (; !nodes_[std::size_t(node)].Leaf; ++level) {
        if (path && level == kPathLevel) {
            *path = {nodes_[std::size_t(node)].Serial, node, level};
            path = nullptr;
        }
        const int shift = 7 - level;
        const int child =
            (((r >> shift) & 1) << 2) | (((g >> shift) & 1) << 1) | ((b >> shift) & 1);
        std::int32_t next = nodes_[std::size_t(node)].Children[child];
        if (next < 0) {
            next = NewNode(level + 1); // may move nodes_
            nodes_[std::size_t(node)].Children[child] = next;
        }
        node = next;
    }
    if (path) *path = {nodes_[std::size_t(node)].Serial, node, level};
    if (cached_) leafCache_[slot] = {key + 1, nodes_[std::size_t(node)].Serial, node};
    OctreeNode& leaf = nodes_[std::size_t(node)];
    leaf.Count += count;
    leaf.Red += r * count;
    leaf.Green += g * count;
    leaf.Blue += b * count;
    while (leaves_ > maxColors_) Reduce();
}

void OctreeQuantizer::AddPicture(const Bitmap& picture) {
    if (picture.Empty()) return;
    AddRows(picture.Bits(), picture.Stride(), picture.Width(), picture.BytesPerPixel(), 0,
            picture.Height());
}

void OctreeQuantizer::AddRows(const std::uint8_t* row0, std::size_t stride, int width,
                              int bytesPerPixel, int firstRow, int endRow) {
    const int bpp = bytesPerPixel;
    for (int y = firstRow; y < endRow; ++y) {
        // Runs of one colour go in at once.
        const std::uint8_t* s = row0 + std::size_t(y) * stride;
        const int w = width;
        for (int x = 0; x < w;) {
            int run = 1;
            while (x + run < w && s[run * bpp] == s[0] && s[run * bpp + 1] == s[1] &&
                   s[run * bpp + 2] == s[2])
                ++run;
            // AddColor, with the common case (a colour seen lately) in line.
            const std::uint32_t key = ColorKey(s[2], s[1], s[0]);
            const std::size_t slot = CacheSlot(key);
            if (!AddToCachedLeaf(key, slot, s[2], s[1], s[0], std::uint64_t(run)))
                AddByDescent(key, slot, s[2], s[1], s[0], std::uint64_t(run));
            x += run;
            s += std::size_t(run) * std::size_t(bpp);
        }
    }
}

void OctreeQuantizer::Reduce() {
    int level = 7;
    while (level >= 0 && reducible_[level].empty()) --level;
    if (level < 0) return;
    // Fold the least-used node of the deepest level: its colours matter least.
    // Every child of a node on the deepest level is a leaf.
    auto& list = reducible_[level];
    auto pixels = [&](std::int32_t index) {
        std::uint64_t sum = 0;
        for (std::int32_t c : nodes_[std::size_t(index)].Children)
            if (c >= 0) sum += nodes_[std::size_t(c)].Count;
        return sum;
    };
    std::size_t pick = 0;
    std::uint64_t fewest = pixels(list[0]);
    for (std::size_t i = 1; i < list.size(); ++i) {
        const std::uint64_t p = pixels(list[i]);
        if (p < fewest) {
            fewest = p;
            pick = i;
        }
    }
    const std::int32_t index = list[pick];
    list[pick] = list.back();
    list.pop_back();

    OctreeNode& n = nodes_[std::size_t(index)];
    for (std::int32_t& c : n.Children) {
        if (c < 0) continue;
        const OctreeNode& child = nodes_[std::size_t(c)];
        n.Count += child.Count;
        n.Red += child.Red;
        n.Green += child.Green;
        n.Blue += child.Blue;
        --leaves_;
        nodes_[std::size_t(c)].Serial = 0; // cached answers naming it fail
        freeNodes_.push_back(c);
        c = -1;
    }
    n.Leaf = true;
    ++leaves_;
}

void OctreeQuantizer::Collect(std::int32_t node, std::vector<WeightedColor>& out) const {
    const OctreeNode& n = nodes_[std::size_t(node)];
    if (n.Leaf) {
        if (n.Count == 0) return;
        const std::uint64_t half = n.Count / 2;
        out.push_back({RGB(int((n.Red + half) / n.Count), int((n.Green + half) / n.Count),
                           int((n.Blue + half) / n.Count)),
                       n.Count});
        return;
    }
    for (std::int32_t c : n.Children)
        if (c >= 0) Collect(c, out);
}

std::vector<OctreeQuantizer::WeightedColor> OctreeQuantizer::WeightedPalette() const {
    std::vector<WeightedColor> out;
    Collect(0, out);
    return out;
}

std::vector<Color> OctreeQuantizer::Palette() const {
    std::vector<Color> out;
    for (const WeightedColor& leaf : WeightedPalette()) out.push_back(leaf.color);
    return out;
}

namespace {

// The answer cache: a photo has hundreds of thousands of colours, and a
// miss costs a search. 2^18 slots (1.25 MB) map a 24-megapixel photo in half
// the time 2^16 take.
constexpr int kCacheBits = 18;

int Distance(Color a, int r, int g, int b) {
    const int dr = int(GetRValue(a)) - r, dg = int(GetGValue(a)) - g, db = int(GetBValue(a)) - b;
    return dr * dr + dg * dg + db * db;
}

} // namespace

PaletteMapper::PaletteMapper(const std::vector<Color>& palette)
    : palette_(palette), cacheKeys_(std::size_t(1) << kCacheBits, 0),
      cacheValues_(std::size_t(1) << kCacheBits, 0), cells_(4096), cellReady_(4096, false) {
    if (palette_.size() > 256) palette_.resize(256);
}

const std::vector<std::int16_t>& PaletteMapper::Candidates(int cell) {
    auto& list = cells_[std::size_t(cell)];
    if (cellReady_[std::size_t(cell)]) return list;
    cellReady_[std::size_t(cell)] = true;
    const int lo[3] = {(cell >> 8) << 4, ((cell >> 4) & 15) << 4, (cell & 15) << 4};
    // An entry can be nearest somewhere in the cell only if its smallest
    // distance to the cell is at most the largest distance, over the cell,
    // of the entry that is best in the worst case.
    std::vector<int> nearest(palette_.size());
    int bound = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        const int v[3] = {GetRValue(palette_[i]), GetGValue(palette_[i]), GetBValue(palette_[i])};
        int dmin = 0, dmax = 0;
        for (int c = 0; c < 3; ++c) {
            const int a = lo[c], z = lo[c] + 15;
            const int below = v[c] < a ? a - v[c] : v[c] > z ? v[c] - z : 0;
            const int far = std::max(std::abs(v[c] - a), std::abs(v[c] - z));
            dmin += below * below;
            dmax += far * far;
        }
        nearest[i] = dmin;
        bound = std::min(bound, dmax);
    }
    for (std::size_t i = 0; i < palette_.size(); ++i)
        if (nearest[i] <= bound) list.push_back(std::int16_t(i));
    return list;
}

std::uint8_t PaletteMapper::Search(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const auto& list = Candidates(((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4));
    int best = 0, bestDist = std::numeric_limits<int>::max();
    for (std::int16_t i : list) {
        const int d = Distance(palette_[std::size_t(i)], r, g, b);
        if (d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    return std::uint8_t(best);
}

std::uint8_t PaletteMapper::Index(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (palette_.empty()) return 0;
    const std::uint32_t key = std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16);
    const std::size_t slot = (key * 2654435761u) >> (32 - kCacheBits);
    if (cacheKeys_[slot] == key + 1) return cacheValues_[slot];
    const std::uint8_t index = Search(r, g, b);
    cacheKeys_[slot] = key + 1;
    cacheValues_[slot] = index;
    return index;
}

void PaletteMapper::MapRow(const std::uint8_t* source, int bytesPerPixel, int width,
                           std::uint8_t* indices) {
    std::uint32_t last = 0xFFFFFFFF;
    std::uint8_t lastIndex = 0;
    for (int x = 0; x < width; ++x, source += bytesPerPixel) {
        const std::uint32_t key = std::uint32_t(source[0]) | (std::uint32_t(source[1]) << 8) |
                                  (std::uint32_t(source[2]) << 16);
        if (key != last) {
            last = key;
            lastIndex = Index(source[2], source[1], source[0]);
        }
        indices[x] = lastIndex;
    }
}

namespace {

// Pixels from which a picture is mapped by two threads.
constexpr std::uint64_t kTwoMappers = 256 * 1024;
// About the pixels of a band: small enough for the first band to be ready
// soon, large enough that handing bands over costs nothing to speak of.
constexpr std::uint64_t kBandPixels = 64 * 1024;

// The picture itself when it is 24 or 32 bits, else a 32-bit copy in holder.
const Bitmap& DeepPicture(const Bitmap& picture, Bitmap& holder) {
    if (!picture.IsIndexed()) return picture;
    holder.Assign(picture);
    holder.SetPixelFormat(PixelFormat::Bgrx32);
    return holder;
}

} // namespace

void MapRowsInOrder(const Bitmap& source, const std::vector<Color>& palette, std::uint8_t* indices,
                    const std::function<void(int firstRow, int endRow)>& consume) {
    const int w = source.Width(), h = source.Height(), bpp = source.BytesPerPixel();
    if (w <= 0 || h <= 0) return;
    const int bandRows = int(std::clamp<std::uint64_t>(kBandPixels / std::uint64_t(w), 1, h));
    const int bands = (h + bandRows - 1) / bandRows;
    const auto mapBand = [&](PaletteMapper& mapper, int band) {
        const int to = std::min(h, (band + 1) * bandRows);
        for (int y = band * bandRows; y < to; ++y)
            mapper.MapRow(source.ScanLine(y), bpp, w, indices + std::size_t(y) * std::size_t(w));
    };
    const auto hand = [&](int band) {
        consume(band * bandRows, std::min(h, (band + 1) * bandRows));
    };
    PaletteMapper mine(palette);
    if (std::uint64_t(w) * std::uint64_t(h) < kTwoMappers) {
        for (int band = 0; band < bands; ++band) {
            mapBand(mine, band);
            hand(band);
        }
        return;
    }

    // Each pixel's index depends on its colour alone, so bands are mapped in
    // any order by either thread, each with a mapper of its own. Both take
    // the next band not yet taken; this thread hands the bands over in order,
    // mapping one itself whenever the next to hand over is not ready.
    struct Shared {
        std::atomic<int> nextBand{0};
        std::mutex lock;
        std::condition_variable mapped;
        std::vector<char> done; // guarded by lock
        std::exception_ptr failure;
    } shared;
    shared.done.assign(std::size_t(bands), 0);
    const auto mapAndMark = [&](PaletteMapper& mapper, int band) {
        mapBand(mapper, band);
        {
            const std::lock_guard guard(shared.lock);
            shared.done[std::size_t(band)] = 1;
        }
        shared.mapped.notify_all();
    };
    std::thread helper([&] {
        try {
            PaletteMapper mapper(palette);
            for (int band; (band = shared.nextBand.fetch_add(1)) < bands;) mapAndMark(mapper, band);
        } catch (...) {
            {
                const std::lock_guard guard(shared.lock);
                shared.failure = std::current_exception();
            }
            shared.mapped.notify_all();
        }
    });
    // On every way out the helper takes no further band and is waited for.
    struct Join {
        std::thread& helper;
        std::atomic<int>& nextBand;
        int bands;
        ~Join() {
            nextBand.store(bands);
            helper.join();
        }
    } join{helper, shared.nextBand, bands};

    for (int band = 0; band < bands; ++band) {
        for (;;) {
            {
                const std::lock_guard guard(shared.lock);
                if (shared.done[std::size_t(band)]) break;
                if (shared.failure) std::rethrow_exception(shared.failure);
            }
            if (const int next = shared.nextBand.fetch_add(1); next < bands) {
                mapAndMark(mine, next);
                continue;
            }
            std::unique_lock guard(shared.lock);
            shared.mapped.wait(guard,
                               [&] { return shared.done[std::size_t(band)] || shared.failure; });
        }
        hand(band);
    }
}

std::vector<Color> OctreePalette(const Bitmap& picture, int maxColors) {
    Bitmap holder;
    const Bitmap& source = DeepPicture(picture, holder);
    CheckPictureSize(source.Width(), source.Height());
    OctreeQuantizer quantizer(maxColors);
    quantizer.AddPicture(source);
    return quantizer.Palette();
}

void QuantizePicture(const Bitmap& picture, Bitmap& out, int maxColors) {
    Bitmap holder;
    const Bitmap& source = DeepPicture(picture, holder);
    Bitmap result;
    // Every pixel is mapped below.
    result.MakeForOverwrite(source.Width(), source.Height(), PixelFormat::Indexed8);
    result.Palette() = OctreePalette(source, maxColors);
    MapRowsInOrder(source, result.Palette(), result.Bits(), [](int, int) {});
    out.SwapPicture(result);
}

OctreeWhileDecoding::OctreeWhileDecoding(int maxColors) : quantizer_(maxColors) {}

OctreeWhileDecoding::~OctreeWhileDecoding() {
    DecodingEnded(false);
}

void OctreeWhileDecoding::RowsDecoded(const std::uint8_t* row0, std::size_t stride, int width,
                                      int height, int bytesPerPixel, int endRow) noexcept {
    {
        const std::lock_guard guard(lock_);
        if (ended_ || failed_) return;
        if (!started_) {
            started_ = true;
            row0_ = row0;
            stride_ = stride;
            width_ = width;
            height_ = height;
            bytesPerPixel_ = bytesPerPixel;
            try {
                adder_ = std::thread([this] { AddWhileDecoding(); });
            } catch (...) {
                failed_ = true; // no thread: the palette is made the plain way
                return;
            }
        }
        if (row0 != row0_ || width != width_ || bytesPerPixel != bytesPerPixel_ ||
            bytesPerPixel < 3) {
            failed_ = true;
        } else {
            decoded_ = std::max(decoded_, endRow);
        }
    }
    more_.notify_one();
}

void OctreeWhileDecoding::DecodingEnded(bool complete) noexcept {
    {
        const std::lock_guard guard(lock_);
        if (ended_) return;
        ended_ = true;
        if (!complete) failed_ = true;
    }
    more_.notify_one();
    if (adder_.joinable()) adder_.join();
}

void OctreeWhileDecoding::RowsReplaced() noexcept {
    DecodingEnded(false);
    const std::lock_guard guard(lock_);
    complete_ = false;
}

void OctreeWhileDecoding::AddWhileDecoding() {
    int added = 0;
    for (;;) {
        int upTo;
        {
            std::unique_lock guard(lock_);
            more_.wait(guard, [&] { return failed_ || ended_ || decoded_ > added; });
            if (failed_) return;
            if (decoded_ == added) {
                // Ended: every row told of has been added.
                complete_ = added == height_;
                return;
            }
            upTo = decoded_;
        }
        quantizer_.AddRows(row0_, stride_, width_, bytesPerPixel_, added, upTo);
        added = upTo;
    }
}

std::optional<std::vector<Color>> OctreeWhileDecoding::PaletteOf(const Bitmap& picture) const {
    const std::lock_guard guard(lock_);
    // The same pixel memory, whole and unchanged: a turned or converted
    // photo is a new picture, made elsewhere.
    if (!ended_ || !complete_ || picture.IsIndexed() || picture.Width() != width_ ||
        picture.Height() != height_ || picture.BytesPerPixel() != bytesPerPixel_ ||
        picture.Stride() != stride_ || picture.Bits() != row0_)
        return std::nullopt;
    return quantizer_.Palette();
}

void QuantizePictureReference(const Bitmap& picture, Bitmap& out, int maxColors) {
    Bitmap holder;
    const Bitmap& source = DeepPicture(picture, holder);
    OctreeQuantizer quantizer(maxColors, false);
    quantizer.AddPicture(source);
    Bitmap result(source.Width(), source.Height(), PixelFormat::Indexed8);
    result.Palette() = quantizer.Palette();
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            result.ScanLine(y)[x] =
                std::uint8_t(NearestPaletteIndex(result.Palette(), source.Pixel(x, y)));
    out.SwapPicture(result);
}

} // namespace quillon
