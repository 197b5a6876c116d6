// The live frame stack on a 12-megapixel photo with three groups (matte,
// corner, shadow at their defaults): one setting of the bottom or the top
// group changed and the picture painted again, per iteration. Besides the
// time as memcpys of the stack's output, the counters say what the cache
// did: groups painted and pictures made per change, and the pictures the
// cache holds, each as a multiple of the output's size.
#include "bench/BenchSupport.h"

#include "document/FrameStack.h"
#include "formats/DataPaths.h"

#include <memory>

namespace quillon {

namespace {

std::size_t Bytes(const Bitmap& b) {
    return b.Stride() * std::size_t(b.Height());
}

void ChangeGroup(benchmark::State& state, std::size_t k) {
    SetStartFolder(QUILLON_BUILD_DATA_DIR);
    FrameStack stack;
    stack.SetPhoto(MakeBenchPhoto());
    for (StyleId id : {StyleId::Matte, StyleId::Corner, StyleId::Shadow}) {
        StackGroup g;
        g.group.style = id;
        g.seed = 1;
        stack.Append(g);
    }
    const std::size_t outputBytes = Bytes(*stack.Result());
    stack.ResetCounters();
    bool flip = false;
    for (auto _ : state) {
        StackGroup g = stack.Group(k);
        flip = !flip;
        g.group.frameColor = flip ? RGB(180, 40, 40) : RGB(40, 40, 180);
        stack.Edit(k, g);
        benchmark::DoNotOptimize(stack.Result());
    }
    const double n = double(state.iterations());
    const auto& c = stack.Stats();
    state.counters["groups"] = c.groupsRendered / n;
    state.counters["pictures"] = c.picturesMade / n;
    state.counters["madeBytes"] = double(c.bytesMade) / n / double(outputBytes);
    state.counters["cached"] = double(stack.CachedBytes()) / double(outputBytes);
    ReportMemcpyRatio(state, outputBytes);
}

void BM_StackChangeBottom(benchmark::State& state) {
    ChangeGroup(state, 0);
}
void BM_StackChangeTop(benchmark::State& state) {
    ChangeGroup(state, 2);
}

} // namespace

BENCHMARK(BM_StackChangeBottom)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_StackChangeTop)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace quillon
