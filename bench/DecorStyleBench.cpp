// PaintFrame (which ends with ShowOutput) of the standard, continuous,
// ornate, mask and overlay styles on a 4000 x 3000 photo with each style's
// default parameters, as a ratio to one memcpy of the output.
#include "bench/BenchSupport.h"

#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/Clipboard.h"
#include "frames/OrnateFrame.h"
#include "frames/OverlayMaskFrames.h"
#include "frames/MatteFrames.h"

using namespace quillon;

namespace {

// The photo goes through the clipboard, as for a frame chosen in the program.
void PutBenchPhoto() {
    static const std::unique_ptr<Bitmap> photo = MakeBenchPhoto();
    Clipboard().SetBitmap(*photo);
    SetStartFolder(QUILLON_BUILD_DATA_DIR);
}

std::size_t OutputBytes(const FrameStyle& f) {
    return std::size_t(f.Output->Width()) * std::size_t(f.Output->Height()) * 4;
}

// Thickness of the standard and continuous styles: min(Wi, Hi) / 10.
constexpr int kBand = (kBenchWidth < kBenchHeight ? kBenchWidth : kBenchHeight) / 10;

void BM_StandardFrame(benchmark::State& state) {
    PutBenchPhoto();
    CornerFrame f(nullptr, "", 0, 0, kBand, kBand, kGray, kBlack, true, 1, kWhite, 0, true);
    for (auto _ : state) f.PaintFrame();
    ReportMemcpyRatio(state, OutputBytes(f));
}
BENCHMARK(BM_StandardFrame)->Unit(benchmark::kMillisecond);

void BM_ContinuousFrame(benchmark::State& state) {
    PutBenchPhoto();
    MatteFrame f(nullptr, "", 0, 0, kBand, kBand, kSilver, kBlack, true, 1, kSilver, 0, true);
    for (auto _ : state) f.PaintFrame();
    ReportMemcpyRatio(state, OutputBytes(f));
}
BENCHMARK(BM_ContinuousFrame)->Unit(benchmark::kMillisecond);

void BM_OrnateFrame(benchmark::State& state) {
    PutBenchPhoto();
    Bitmap moulding;
    const std::string file = StartFolderFile("Ornate/_Orn001.bmp");
    LoadBmpFile(file, moulding);
    OrnateFrame f(nullptr, "", 0, 0, moulding.Width(), moulding.Height(), kOlive, kBlack, true, 1,
                   kWhite, file, 0, true);
    for (auto _ : state) f.PaintFrame();
    ReportMemcpyRatio(state, OutputBytes(f));
}
BENCHMARK(BM_OrnateFrame)->Unit(benchmark::kMillisecond);

void BM_MaskFrame(benchmark::State& state) {
    PutBenchPhoto();
    MaskFrame f(nullptr, "", 0, 0, 0, 0, kGray, kBlack, false, 1, kWhite,
                 StartFolderFile("masks/Grainy Edge.jpg"), 0, true);
    for (auto _ : state) {
        // The mask works on what the output holds: start each round from the photo.
        state.PauseTiming();
        f.DrawPictureCentred();
        state.ResumeTiming();
        f.PaintFrame();
    }
    ReportMemcpyRatio(state, OutputBytes(f));
}
BENCHMARK(BM_MaskFrame)->Unit(benchmark::kMillisecond);

void BM_OverlayFrame(benchmark::State& state) {
    PutBenchPhoto();
    OverlayFrame f(nullptr, "", 0, 0, 0, 0, kGray, kBlack, false, 1, kWhite,
                    StartFolderFile("Overlay/Fire ball.bmp"), 0, true);
    for (auto _ : state) f.PaintFrame();
    ReportMemcpyRatio(state, OutputBytes(f));
}
BENCHMARK(BM_OverlayFrame)->Unit(benchmark::kMillisecond);

} // namespace
