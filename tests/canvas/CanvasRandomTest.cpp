// Seeded random comparisons of the canvas's span and column-map code with the
// plain per-pixel versions in CanvasReference. A failure names its seed; set
// CANVAS_SEED=<seed> to replay just that case.
#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "tests/canvas/CanvasReference.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>
#include <string>

using namespace quillon;

namespace {

constexpr int kCases = 400;

const Color kInks[] = {kBlack, kWhite, kRed, kLime, kBlue, 0x123456};

struct Case {
    std::mt19937 rng;
    explicit Case(unsigned seed) : rng(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    Color Ink() { return kInks[Int(0, 5)]; }
};

// A canvas of a few colours in blobs, so fills meet real borders.
std::unique_ptr<Bitmap> RandomPicture(Case& c) {
    const int w = c.Int(1, 40), h = c.Int(1, 40);
    auto b = std::make_unique<Bitmap>(w, h, c.Int(0, 1) ? PixelFormat::Bgrx32 : PixelFormat::Bgr24);
    const Color a = c.Ink(), d = c.Ink();
    const int blobs = c.Int(0, 6);
    std::vector<std::array<int, 3>> centres;
    for (int i = 0; i < blobs; ++i) centres.push_back({c.Int(0, w), c.Int(0, h), c.Int(1, 8)});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool in = false;
            for (auto& [cx, cy, r] : centres)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r) in = !in;
            b->SetPixel(x, y, in ? d : a);
        }
    return b;
}

std::unique_ptr<Bitmap> RandomPattern(Case& c) {
    auto p = std::make_unique<Bitmap>(c.Int(1, 7), c.Int(1, 7), PixelFormat::Bgrx32);
    for (int y = 0; y < p->Height(); ++y)
        for (int x = 0; x < p->Width(); ++x) p->SetPixel(x, y, c.Ink());
    return p;
}

// Gives the canvas brush and the reference fill the same random brush.
ref::Fill RandomBrush(Case& c, Canvas& canvas, std::unique_ptr<Bitmap>& keep) {
    ref::Fill f;
    switch (c.Int(0, 2)) {
    case 0:
        canvas.brush.SetStyle(BrushStyle::Clear);
        break;
    case 1: {
        const Color ink = c.Ink();
        canvas.brush.SetColor(ink);
        f.colour = ink;
        break;
    }
    default:
        keep = RandomPattern(c);
        canvas.brush.SetBitmap(keep.get());
        f.pattern = keep.get();
        break;
    }
    return f;
}

int Coord(Case& c, int size) {
    return c.Int(-size / 2 - 3, size + size / 2 + 3);
}

std::vector<Point> RandomPoints(Case& c, int w, int h, int lo, int hi) {
    std::vector<Point> pts(std::size_t(c.Int(lo, hi)));
    for (auto& p : pts) p = {Coord(c, w), Coord(c, h)};
    return pts;
}

unsigned FirstSeed(unsigned fallback) {
    const char* s = std::getenv("CANVAS_SEED");
    return s ? unsigned(std::strtoul(s, nullptr, 10)) : fallback;
}

// Runs `draw` on kCases random pictures: it draws with the canvas on one copy
// and with the reference on the other; the pictures must be identical.
void Compare(unsigned base, const std::function<void(Case&, Bitmap&, Bitmap&)>& draw) {
    const bool one = std::getenv("CANVAS_SEED") != nullptr;
    const unsigned first = FirstSeed(base);
    for (int i = 0; i < (one ? 1 : kCases); ++i) {
        const unsigned seed = first + unsigned(i);
        Case c(seed);
        auto fast = RandomPicture(c);
        Bitmap slow;
        slow.Assign(*fast);
        draw(c, *fast, slow);
        for (int y = 0; y < fast->Height(); ++y)
            for (int x = 0; x < fast->Width(); ++x)
                if (fast->Pixel(x, y) != slow.Pixel(x, y)) {
                    ADD_FAILURE() << "seed " << seed << " (replay with CANVAS_SEED=" << seed
                                  << "): first difference at (" << x << ", " << y << "), canvas 0x"
                                  << std::hex << fast->Pixel(x, y) << ", reference 0x"
                                  << slow.Pixel(x, y);
                    return;
                }
    }
}

} // namespace

TEST(CanvasRandom, LinesMatchReference) {
    Compare(1000, [](Case& c, Bitmap& fast, Bitmap& slow) {
        const int width = c.Int(0, 2) == 0 ? c.Int(2, 12) : c.Int(0, 1);
        const Color ink = c.Ink();
        fast.canvas().pen.color = ink;
        fast.canvas().pen.SetWidth(width);
        const auto pts = RandomPoints(c, fast.Width(), fast.Height(), 1, 5);
        fast.canvas().Polyline(pts);
        for (std::size_t i = 0; i + 1 < pts.size(); ++i)
            ref::Stroke(slow, ink, width, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y);
    });
}

TEST(CanvasRandom, LongClippedLinesMatchReference) {
    // Far-away ends make the clipped walk start part-way along the line.
    Compare(2000, [](Case& c, Bitmap& fast, Bitmap& slow) {
        const Color ink = c.Ink();
        fast.canvas().pen.color = ink;
        const int x0 = c.Int(-3000, 3000), y0 = c.Int(-3000, 3000);
        const int x1 = c.Int(-3000, 3000), y1 = c.Int(-3000, 3000);
        fast.canvas().MoveTo(x0, y0);
        fast.canvas().LineTo(x1, y1);
        ref::Line(slow, ink, x0, y0, x1, y1);
    });
}

TEST(CanvasRandom, EllipsesMatchReference) {
    Compare(3000, [](Case& c, Bitmap& fast, Bitmap& slow) {
        std::unique_ptr<Bitmap> pattern;
        const ref::Fill brush = RandomBrush(c, fast.canvas(), pattern);
        const int width = c.Int(0, 1) ? c.Int(2, 12) : c.Int(0, 1);
        const Color ink = c.Ink();
        fast.canvas().pen.color = ink;
        fast.canvas().pen.SetWidth(width);
        int x1 = Coord(c, fast.Width()), x2 = Coord(c, fast.Width());
        int y1 = Coord(c, fast.Height()), y2 = Coord(c, fast.Height());
        fast.canvas().Ellipse(x1, y1, x2, y2);
        if (x1 > x2) std::swap(x1, x2);
        if (y1 > y2) std::swap(y1, y2);
        if (x1 != x2 && y1 != y2) ref::Ellipse(slow, brush, ink, width, x1, y1, x2, y2);
    });
}

TEST(CanvasRandom, HugeEllipsesMatchReference) {
    // Boxes up to two million pixels across, with their edge in view: the
    // exact tests then need more than 64 bits.
    Compare(3500, [](Case& c, Bitmap& fast, Bitmap& slow) {
        std::unique_ptr<Bitmap> pattern;
        const ref::Fill brush = RandomBrush(c, fast.canvas(), pattern);
        const int width = c.Int(0, 1) ? c.Int(2, 12) : 1;
        const Color ink = c.Ink();
        fast.canvas().pen.color = ink;
        fast.canvas().pen.SetWidth(width);
        const int big = c.Int(40000, 2000000);
        const int x1 = Coord(c, fast.Width()) - big, x2 = Coord(c, fast.Width());
        const int half = c.Int(0, big);
        const int y1 = Coord(c, fast.Height()) - half, y2 = y1 + 2 * half + c.Int(1, 3);
        fast.canvas().Ellipse(x1, y1, x2, y2);
        ref::Ellipse(slow, brush, ink, width, x1, y1, x2, y2);
    });
}

TEST(CanvasRandom, ThickRingsAroundThePictureMatchReference) {
    // The oval style's outer rings: boxes that enclose the whole picture, so
    // that the ring's hole covers the middle rows and only the corners show.
    Compare(3700, [](Case& c, Bitmap& fast, Bitmap& slow) {
        const int width = c.Int(0, 1) ? 10 : c.Int(2, 12);
        const Color ink = c.Ink();
        fast.canvas().pen.color = ink;
        fast.canvas().pen.SetWidth(width);
        fast.canvas().brush.SetStyle(BrushStyle::Clear);
        const int w = fast.Width(), h = fast.Height();
        const int x1 = -c.Int(0, 2 * w), y1 = -c.Int(0, 2 * h);
        const int x2 = w + c.Int(0, 2 * w), y2 = h + c.Int(0, 2 * h);
        fast.canvas().Ellipse(x1, y1, x2, y2);
        ref::Ellipse(slow, ref::Fill{}, ink, width, x1, y1, x2, y2);
    });
}

TEST(CanvasRandom, ZigzagPolygonsMatchReference) {
    // A torn edge: hundreds of vertices stepping a pixel or two along one
    // side while jumping up and down, so that a row crosses many edges.
    Compare(4200, [](Case& c, Bitmap& fast, Bitmap& slow) {
        const Color ink = c.Ink();
        fast.canvas().pen.color = ink;
        std::unique_ptr<Bitmap> pattern;
        const ref::Fill brush = RandomBrush(c, fast.canvas(), pattern);
        const int w = fast.Width(), depth = c.Int(1, fast.Height());
        std::vector<Point> pts{{0, 0}};
        for (int x = 0; x < w;) {
            x += c.Int(0, 2);
            pts.push_back({x, c.Int(0, depth)});
        }
        pts.push_back({w, 0});
        pts.push_back({0, 0});
        fast.canvas().Polygon(pts);
        ref::Polygon(slow, brush, ink, 1, pts);
    });
}

TEST(CanvasRandom, PolygonsMatchReference) {
    Compare(4000, [](Case& c, Bitmap& fast, Bitmap& slow) {
        std::unique_ptr<Bitmap> pattern;
        const ref::Fill brush = RandomBrush(c, fast.canvas(), pattern);
        const int width = c.Int(0, 2) == 0 ? c.Int(2, 8) : 1;
        const Color ink = c.Ink();
        fast.canvas().pen.color = ink;
        fast.canvas().pen.SetWidth(width);
        const auto pts = RandomPoints(c, fast.Width(), fast.Height(), 1, c.Int(0, 3) ? 9 : 60);
        fast.canvas().Polygon(pts);
        ref::Polygon(slow, brush, ink, width, pts);
    });
}

TEST(CanvasRandom, RectanglesMatchReference) {
    Compare(5000, [](Case& c, Bitmap& fast, Bitmap& slow) {
        std::unique_ptr<Bitmap> pattern;
        const ref::Fill brush = RandomBrush(c, fast.canvas(), pattern);
        const int width = c.Int(0, 1) ? c.Int(2, 9) : 1;
        const Color ink = c.Ink();
        fast.canvas().pen.color = ink;
        fast.canvas().pen.SetWidth(width);
        int x1 = Coord(c, fast.Width()), x2 = Coord(c, fast.Width());
        int y1 = Coord(c, fast.Height()), y2 = Coord(c, fast.Height());
        fast.canvas().Rectangle(x1, y1, x2, y2);
        if (x1 > x2) std::swap(x1, x2);
        if (y1 > y2) std::swap(y1, y2);
        if (x1 != x2 && y1 != y2) ref::Rectangle(slow, brush, ink, width, x1, y1, x2, y2);
    });
}

TEST(CanvasRandom, FloodFillsMatchReference) {
    Compare(6000, [](Case& c, Bitmap& fast, Bitmap& slow) {
        std::unique_ptr<Bitmap> pattern;
        const ref::Fill brush = RandomBrush(c, fast.canvas(), pattern);
        const int x = c.Int(-1, fast.Width()), y = c.Int(-1, fast.Height());
        const bool surface = c.Int(0, 1) == 1;
        // Mostly a colour of the picture, so that the fill has a region.
        const Color key = c.Int(0, 3)
                              ? fast.Pixel(c.Int(0, fast.Width() - 1), c.Int(0, fast.Height() - 1))
                              : c.Ink();
        fast.canvas().FloodFill(x, y, key, surface ? FillStyle::Surface : FillStyle::Border);
        ref::FloodFill(slow, brush, x, y, key, surface);
    });
}

TEST(CanvasRandom, StretchDrawsMatchReference) {
    Compare(7000, [](Case& c, Bitmap& fast, Bitmap& slow) {
        auto src = RandomPicture(c);
        const int f = c.Int(0, 3);
        if (f == 0) src->SetPixelFormat(PixelFormat::Indexed8);
        if (f == 1) src->SetPixelFormat(PixelFormat::Bgr24);
        src->Transparent = c.Int(0, 1) == 1;
        src->TransparentColor = src->Pixel(0, 0);
        const int l = Coord(c, fast.Width()), t = Coord(c, fast.Height());
        const int r = c.Int(0, 3) ? l + src->Width() : Coord(c, fast.Width());
        const int b = c.Int(0, 3) ? t + src->Height() : Coord(c, fast.Height());
        fast.canvas().StretchDraw(Rect(l, t, r, b), *src);
        ref::StretchDraw(slow, l, t, r, b, *src);
    });
}
