// Picture format costs on a 4000 x 3000 photo-like picture: GIF colour
// reduction and encoding, a photo's dominant colours, JPEG encoding and
// decoding.
#include "bench/BenchSupport.h"

#include "formats/DominantColors.h"
#include "formats/Octree.h"
#include "formats/Readers.h"

using namespace quillon;

namespace {

const Bitmap& Photo() {
    static const auto photo = MakeBenchPhoto();
    return *photo;
}

std::size_t PhotoBytes() {
    return Photo().Stride() * std::size_t(Photo().Height());
}

void BM_GifQuantize(benchmark::State& state) {
    Photo(); // made before the timing starts
    for (auto _ : state) {
        Bitmap out;
        QuantizePicture(Photo(), out);
        benchmark::DoNotOptimize(out.Bits());
    }
    ReportMemcpyRatio(state, PhotoBytes());
}
BENCHMARK(BM_GifQuantize)->Unit(benchmark::kMillisecond);

// The octree alone: the one part of colour reduction that runs on one core.
void BM_GifOctree(benchmark::State& state) {
    Photo();
    for (auto _ : state) {
        OctreeQuantizer quantizer;
        quantizer.AddPicture(Photo());
        benchmark::DoNotOptimize(quantizer.Palette());
    }
    ReportMemcpyRatio(state, PhotoBytes());
}
BENCHMARK(BM_GifOctree)->Unit(benchmark::kMillisecond);

// The photo colours a colour swatch offers: they are worked out when the
// swatch is clicked, so this is time the person waits.
void BM_DominantColors(benchmark::State& state) {
    Photo();
    for (auto _ : state) {
        auto colors = DominantColors(Photo(), 8);
        benchmark::DoNotOptimize(colors.data());
    }
}
BENCHMARK(BM_DominantColors)->Unit(benchmark::kMillisecond);

void BM_GifQuantizeAndEncode(benchmark::State& state) {
    Photo();
    for (auto _ : state) {
        auto bytes = EncodeGif(Photo());
        benchmark::DoNotOptimize(bytes.data());
    }
    ReportMemcpyRatio(state, PhotoBytes());
}
BENCHMARK(BM_GifQuantizeAndEncode)->Unit(benchmark::kMillisecond);

void BM_JpegEncode(benchmark::State& state) {
    Photo();
    for (auto _ : state) {
        auto bytes = EncodeJpeg(Photo());
        benchmark::DoNotOptimize(bytes.data());
    }
    ReportMemcpyRatio(state, PhotoBytes());
}
BENCHMARK(BM_JpegEncode)->Unit(benchmark::kMillisecond);

void BM_JpegDecode(benchmark::State& state) {
    static const auto file = EncodeJpeg(Photo());
    for (auto _ : state) {
        Bitmap out;
        ReadJpeg(file, "bench.jpg", out);
        benchmark::DoNotOptimize(out.Bits());
    }
    ReportMemcpyRatio(state, PhotoBytes());
}
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMillisecond);

} // namespace
