#include "frames/JaggedFrame.h"

#include "canvas/Canvas.h"

#include <ctime>

namespace quillon {

JaggedFrame::JaggedFrame(const Bitmap& photo, const FrameSettings& settings)
    : FrameStyle(photo, settings), Seed(settings.seed) {
    Paint();
}

std::vector<std::vector<Point>> JaggedEdgePolygons(int W, int H, int fw, int fh,
                                                   JaggedRandom& rng) {
    std::vector<std::vector<Point>> polygons(4);
    // Each step draws a (across fw) and then b (across fh), in this order,
    // whichever of the two the edge uses for its advance.
    auto draw = [&](int& a, int& b) {
        a = rng.Next() % fw;
        b = rng.Next() % fh;
    };
    int a = 0, b = 0;

    std::vector<Point>& top = polygons[0];
    top.push_back({0, 0});
    for (int x = 0; x < W;) {
        draw(a, b);
        x += a;
        top.push_back({x, b});
    }
    top.push_back({W, 0});
    top.push_back({0, 0});

    std::vector<Point>& bottom = polygons[1];
    bottom.push_back({0, H});
    for (int x = 0; x < W;) {
        draw(a, b);
        x += a;
        bottom.push_back({x, H - b});
    }
    bottom.push_back({W, H});
    bottom.push_back({0, H});

    std::vector<Point>& left = polygons[2];
    left.push_back({0, 0});
    for (int y = 0; y < H;) {
        draw(a, b);
        y += b;
        left.push_back({a, y});
    }
    left.push_back({0, H});
    left.push_back({0, 0});

    std::vector<Point>& right = polygons[3];
    right.push_back({W, 0});
    for (int y = 0; y < H;) {
        draw(a, b);
        y += b;
        right.push_back({W - a, y});
    }
    right.push_back({W, H});
    right.push_back({W, 0});
    return polygons;
}

void JaggedFrame::Paint() {
    const int bw = BorderWidth;
    // Without an outline there is no torn edge to draw; the preview keeps its
    // previous picture.
    if (bw == 0) return;
    if (FrameWidth <= 1) FrameWidth = 2;
    if (FrameHeight <= 1) FrameHeight = 2;
    const int W = OutputWidth, H = OutputHeight;

    JaggedRandom rng;
    rng.Seed(Seed.value_or(std::uint32_t(std::time(nullptr))));

    Canvas& c = Output->canvas();
    const bool pattern = !PatternName.empty();
    c.brush.SetStyle(BrushStyle::Solid);
    if (bw >= 1 && pattern)
        c.brush.SetBitmap(PatternPicture.get());
    else
        c.brush.SetColor(FrameColor);
    c.pen.color = BorderColor;
    c.pen.SetWidth(bw);
    for (const auto& polygon : JaggedEdgePolygons(W, H, FrameWidth, FrameHeight, rng))
        c.Polygon(polygon);

    // Without a pattern the outlines along the output's own edges are
    // repainted in the frame colour, so the border colour stays only on the
    // torn inner edges.
    if (!pattern) {
        c.pen.color = FrameColor;
        c.MoveTo(W, 0);
        c.LineTo(W, H);
        c.MoveTo(0, 0);
        c.LineTo(0, H);
        c.MoveTo(0, 0);
        c.LineTo(W, 0);
        c.MoveTo(0, H);
        c.LineTo(W, H);
    }
}

} // namespace quillon
