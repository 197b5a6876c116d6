// Canvas operations on a 4000 x 3000 picture, the size of the photos the
// frame styles redraw at every parameter change. Every figure carries the
// "memcpys" counter: its time over that of one memcpy of the whole picture
// (48 MB at 32 bits per pixel).
#include "bench/BenchSupport.h"
#include "canvas/Canvas.h"
#include "frames/FrameStyle.h"

#include <cmath>
#include <random>
#include <vector>

using namespace quillon;

namespace {

std::size_t PictureBytes() {
    return std::size_t(kBenchWidth) * kBenchHeight * 4;
}

std::unique_ptr<Bitmap> SmallTile() {
    auto tile = std::make_unique<Bitmap>(32, 32, PixelFormat::Bgrx32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) tile->SetPixel(x, y, RGB(x * 8, y * 8, 128));
    return tile;
}

void BM_StretchDrawQuarter(benchmark::State& state) {
    auto photo = MakeBenchPhoto();
    Bitmap preview(kBenchWidth / 4, kBenchHeight / 4, PixelFormat::Bgrx32);
    for (auto _ : state) {
        preview.canvas().StretchDraw(Rect(0, 0, preview.Width(), preview.Height()), *photo);
        benchmark::DoNotOptimize(preview.Bits());
    }
    ReportMemcpyRatio(state, PictureBytes());
}
BENCHMARK(BM_StretchDrawQuarter)->Unit(benchmark::kMillisecond);

void BM_DrawSameSize(benchmark::State& state) {
    auto photo = MakeBenchPhoto();
    Bitmap out(kBenchWidth, kBenchHeight, PixelFormat::Bgrx32);
    for (auto _ : state) {
        out.canvas().Draw(0, 0, *photo);
        benchmark::DoNotOptimize(out.Bits());
    }
    ReportMemcpyRatio(state, PictureBytes());
}
BENCHMARK(BM_DrawSameSize)->Unit(benchmark::kMillisecond);

// A 400-pixel band round the picture, closed by a one-pixel border, filled
// with a tiled pattern as the standard frame does.
void BM_FloodFillBand(benchmark::State& state) {
    auto photo = MakeBenchPhoto();
    auto tile = SmallTile();
    Canvas& c = photo->canvas();
    c.pen.color = kBlack;
    c.brush.SetStyle(BrushStyle::Clear);
    c.Rectangle(400, 400, kBenchWidth - 400, kBenchHeight - 400);
    c.brush.SetBitmap(tile.get());
    for (auto _ : state) {
        c.FloodFill(200, 200, kBlack, FillStyle::Border);
        benchmark::DoNotOptimize(photo->Bits());
    }
    ReportMemcpyRatio(state, PictureBytes());
}
BENCHMARK(BM_FloodFillBand)->Unit(benchmark::kMillisecond);

void BM_PolygonDiamond(benchmark::State& state) {
    auto photo = MakeBenchPhoto();
    Canvas& c = photo->canvas();
    c.pen.color = kBlack;
    c.brush.SetColor(kRed);
    const int w = kBenchWidth, h = kBenchHeight;
    const Point pts[] = {{w / 2, 0}, {w - 1, h / 2}, {w / 2, h - 1}, {0, h / 2}};
    for (auto _ : state) {
        c.Polygon(pts);
        benchmark::DoNotOptimize(photo->Bits());
    }
    ReportMemcpyRatio(state, PictureBytes());
}
BENCHMARK(BM_PolygonDiamond)->Unit(benchmark::kMillisecond);

// A torn edge along the top of the picture, as the jagged style draws it:
// about a thousand points, each a small random step.
void BM_PolygonJagged(benchmark::State& state) {
    auto photo = MakeBenchPhoto();
    Canvas& c = photo->canvas();
    c.pen.color = kBlack;
    c.pen.SetWidth(3);
    c.brush.SetColor(kRed);
    std::mt19937 rng(7);
    std::vector<Point> pts{{0, 0}};
    for (int x = 0; x < kBenchWidth;) {
        x += int(rng() % 8);
        pts.push_back({x, int(rng() % 300)});
    }
    pts.push_back({kBenchWidth, 0});
    pts.push_back({0, 0});
    for (auto _ : state) {
        c.Polygon(pts);
        benchmark::DoNotOptimize(photo->Bits());
    }
    ReportMemcpyRatio(state, PictureBytes());
}
BENCHMARK(BM_PolygonJagged)->Unit(benchmark::kMillisecond);

// The part every style shares, with a paint that adds nothing.
class PlainFrame final : public FrameStyle {
public:
    using FrameStyle::FrameStyle;
    void Paint() override {}
};

void BM_DrawPictureCentred(benchmark::State& state) {
    auto photo = MakeBenchPhoto();
    FrameSettings settings;
    settings.frameWidth = settings.frameHeight = 100;
    settings.frameColor = kRed;
    settings.expand = true;
    settings.borderWidth = 2;
    PlainFrame frame(*photo, settings);
    for (auto _ : state) {
        frame.DrawPictureCentred();
        benchmark::DoNotOptimize(frame.Output->Bits());
    }
    ReportMemcpyRatio(state, PictureBytes());
}
BENCHMARK(BM_DrawPictureCentred)->Unit(benchmark::kMillisecond);

// One outline-only ellipse inscribed in the picture; the argument is the pen
// width.
void BM_Ellipse(benchmark::State& state) {
    auto photo = MakeBenchPhoto();
    Canvas& c = photo->canvas();
    c.pen.color = kBlack;
    c.pen.SetWidth(int(state.range(0)));
    c.brush.SetStyle(BrushStyle::Clear);
    for (auto _ : state) {
        c.Ellipse(100, 100, kBenchWidth - 100, kBenchHeight - 100);
        benchmark::DoNotOptimize(photo->Bits());
    }
    ReportMemcpyRatio(state, PictureBytes());
}
BENCHMARK(BM_Ellipse)->Arg(1)->Arg(2)->Arg(10)->Unit(benchmark::kMillisecond);

// The oval style's whole outside: 10-pixel rings 8 pixels apart, from the
// opening out to a third of the width.
void BM_OvalRings(benchmark::State& state) {
    auto photo = MakeBenchPhoto();
    Canvas& c = photo->canvas();
    c.pen.color = kWhite;
    c.pen.SetWidth(10);
    c.brush.SetStyle(BrushStyle::Clear);
    const int w = kBenchWidth, h = kBenchHeight, fw = 100, fh = 100;
    for (auto _ : state) {
        for (int i = 8; i < w / 3; i += 8) c.Ellipse(fw - i, fh - i, w + i - fw, h + i - fh);
        benchmark::DoNotOptimize(photo->Bits());
    }
    ReportMemcpyRatio(state, PictureBytes());
}
BENCHMARK(BM_OvalRings)->Unit(benchmark::kMillisecond);

// The diamond style's outside: one-pixel diamond outlines, each a pixel
// further out, until they pass the corners.
void BM_DiamondOutlines(benchmark::State& state) {
    auto photo = MakeBenchPhoto();
    Canvas& c = photo->canvas();
    c.pen.color = kWhite;
    c.brush.SetStyle(BrushStyle::Clear);
    const int w = kBenchWidth, h = kBenchHeight, fw = 100, fh = 100;
    const int n = int(std::sqrt(double((w / 2) * (w / 2) + (h / 2) * (h / 2))));
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) {
            const Point pts[] = {{w / 2, fh - i},
                                 {w + i - fw, h / 2},
                                 {w / 2, h + i - fh},
                                 {fw - i, h / 2},
                                 {w / 2, fh - i}};
            c.Polyline(pts);
        }
        benchmark::DoNotOptimize(photo->Bits());
    }
    ReportMemcpyRatio(state, PictureBytes());
}
BENCHMARK(BM_DiamondOutlines)->Unit(benchmark::kMillisecond);

} // namespace
