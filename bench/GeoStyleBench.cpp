// The geometric styles (jagged, oval, diamond, grayscale, bubble, 3D, drop
// shadow, box) painted on a 4000 x 3000 photo with the photo document's
// default parameters for an image shown at 100 %: one PaintFrame, which ends
// with ShowOutput, per iteration. Thickness defaults above 200 are refused by
// the frame's setter, so those styles also run at the largest accepted
// thickness ("/max").
#include "bench/BenchSupport.h"

#include "formats/DataPaths.h"
#include "frames/BoxFrame.h"
#include "frames/BubbleFrame.h"
#include "frames/ButtonFrame.h"
#include "frames/DropShadowFrame.h"
#include "frames/GrayscaleFrame.h"
#include "frames/JaggedFrame.h"
#include "frames/OvalDiamondFrames.h"

#include <exception>
#include <memory>

namespace quillon {

namespace {
struct Defaults {
    int frameWidth, frameHeight;
    Color frameColor;
    bool expand;
    int borderWidth;
};

template <class T> void PaintStyle(benchmark::State& state, Defaults d) {
    static std::unique_ptr<Bitmap> photo = MakeBenchPhoto();
    SetStartFolder(QUILLON_BUILD_DATA_DIR);
    FrameSettings s;
    s.frameWidth = d.frameWidth;
    s.frameHeight = d.frameHeight;
    s.frameColor = d.frameColor;
    s.expand = d.expand;
    s.borderWidth = d.borderWidth;
    std::unique_ptr<T> frame;
    try {
        frame = std::make_unique<T>(*photo, s);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    for (auto _ : state) {
        frame->Paint();
        benchmark::DoNotOptimize(frame->Output->Bits());
    }
    ReportMemcpyRatio(state, frame->Output->Stride() * std::size_t(frame->Output->Height()));
}

constexpr int W = kBenchWidth, H = kBenchHeight;

void Add(const char* name, void (*fn)(benchmark::State&, Defaults), Defaults d) {
    benchmark::RegisterBenchmark(name, fn, d)->Unit(benchmark::kMillisecond);
}

const bool registered = [] {
    Add("PaintStyle/jagged", PaintStyle<JaggedFrame>, {W / 15, H / 15, kWhite, false, 1});
    Add("PaintStyle/jagged/max", PaintStyle<JaggedFrame>, {200, 200, kWhite, false, 1});
    Add("PaintStyle/oval", PaintStyle<OvalFrame>, {1, 1, kWhite, false, 1});
    Add("PaintStyle/diamond", PaintStyle<DiamondFrame>, {1, 1, kWhite, true, 2});
    Add("PaintStyle/grayscale", PaintStyle<GrayscaleFrame>, {0, 0, kOlive, false, 1});
    Add("PaintStyle/bubble", PaintStyle<BubbleFrame>, {W / 10, W / 10, kWhite, false, 1});
    Add("PaintStyle/bubble/max", PaintStyle<BubbleFrame>, {200, 200, kWhite, false, 1});
    Add("PaintStyle/3d", PaintStyle<ButtonFrame>, {W / 20, W / 20, kOlive, false, 1});
    Add("PaintStyle/dropshadow", PaintStyle<DropShadowFrame>, {W / 10, W / 10, kGray, true, 1});
    Add("PaintStyle/dropshadow/max", PaintStyle<DropShadowFrame>, {200, 200, kGray, true, 1});
    Add("PaintStyle/box", PaintStyle<BoxFrame>, {W / 10, W / 10, kWhite, true, 1});
    Add("PaintStyle/box/max", PaintStyle<BoxFrame>, {200, 200, kWhite, true, 1});
    return true;
}();
} // namespace

} // namespace quillon
