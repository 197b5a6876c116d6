#include "tests/canvas/CanvasReference.h"

#include <cstdlib>
#include <deque>
#include <vector>

namespace quillon {

namespace ref {

using i64 = long long;
using i128 = __int128;

std::optional<Color> Fill::At(int x, int y) const {
    if (pattern) return pattern->Pixel(x % pattern->Width(), y % pattern->Height());
    return colour;
}

namespace {

void Put(Bitmap& b, const Fill& f, int x, int y) {
    if (auto c = f.At(x, y)) b.SetPixel(x, y, *c);
}

} // namespace

void Line(Bitmap& b, Color c, int x0, int y0, int x1, int y1) {
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x1 < x0 ? -1 : 1, sy = y1 < y0 ? -1 : 1;
    int x = x0, y = y0;
    if (dx >= dy) {
        int err = 2 * dy - dx;
        for (int k = 0; k < dx; ++k) {
            b.SetPixel(x, y, c);
            if (err > 0) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        }
    } else {
        int err = 2 * dx - dy;
        for (int k = 0; k < dy; ++k) {
            b.SetPixel(x, y, c);
            if (err > 0) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
}

void WideLine(Bitmap& b, Color c, int x0, int y0, int x1, int y1, int width) {
    // The segment through pixel centres (odd width) or pixel corners (even
    // width), in half-pixel units; a pixel is covered when its centre is
    // nearer than width / 2 pixels, that is `width` half-pixel units.
    const i64 o = width % 2 == 0 ? 1 : 0;
    const i64 ax = 2 * i64(x0) + 1 - o, ay = 2 * i64(y0) + 1 - o;
    const i64 bx = 2 * i64(x1) + 1 - o, by = 2 * i64(y1) + 1 - o;
    const i128 r2 = i128(width) * width;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const i64 px = 2 * i64(x) + 1, py = 2 * i64(y) + 1;
            const i128 da = i128(px - ax) * (px - ax) + i128(py - ay) * (py - ay);
            const i128 db = i128(px - bx) * (px - bx) + i128(py - by) * (py - by);
            bool in = da < r2 || db < r2;
            const i64 vx = bx - ax, vy = by - ay;
            const i128 len2 = i128(vx) * vx + i128(vy) * vy;
            const i128 t = i128(px - ax) * vx + i128(py - ay) * vy;
            if (!in && len2 > 0 && t > 0 && t < len2) {
                const i128 cr = i128(px - ax) * vy - i128(py - ay) * vx;
                in = cr * cr < r2 * len2;
            }
            if (in) b.SetPixel(x, y, c);
        }
}

void Stroke(Bitmap& b, Color c, int width, int x0, int y0, int x1, int y1) {
    if (width <= 1)
        Line(b, c, x0, y0, x1, y1);
    else
        WideLine(b, c, x0, y0, x1, y1, width);
}

namespace {

// Inside the ellipse of doubled centre (cx, cy) and doubled semi-axes a, b.
bool InOval(i64 cx, i64 cy, i64 a, i64 b, int x, int y) {
    if (a <= 0 || b <= 0) return false;
    const i128 X = 2 * i64(x) + 1 - cx, Y = 2 * i64(y) + 1 - cy;
    return X * X * b * b + Y * Y * a * a < i128(a) * a * b * b;
}

} // namespace

void Ellipse(Bitmap& bm, const Fill& brush, Color pen, int penWidth, int x1, int y1, int x2,
             int y2) {
    const i64 cx = i64(x1) + x2, cy = i64(y1) + y2, a = i64(x2) - x1, b = i64(y2) - y1;
    auto in = [&](int x, int y) { return InOval(cx, cy, a, b, x, y); };
    auto thin = [&](int x, int y) {
        return in(x, y) && (!in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1));
    };
    const i64 w = penWidth < 1 ? 1 : penWidth;
    for (int y = 0; y < bm.Height(); ++y)
        for (int x = 0; x < bm.Width(); ++x) {
            if (in(x, y)) Put(bm, brush, x, y);
            bool outline;
            if (w == 1)
                outline = thin(x, y);
            else
                outline =
                    (InOval(cx, cy, a + w, b + w, x, y) && !InOval(cx, cy, a - w, b - w, x, y)) ||
                    thin(x, y);
            if (outline) bm.SetPixel(x, y, pen);
        }
}

void Polygon(Bitmap& bm, const Fill& brush, Color pen, int penWidth,
             std::span<const Point> points) {
    const std::size_t n = points.size();
    for (int y = 0; y < bm.Height(); ++y)
        for (int x = 0; x < bm.Width(); ++x) {
            // Count the edges that cross row y at or left of x.
            int crossings = 0;
            for (std::size_t i = 0; i < n && n >= 3; ++i) {
                const Point p = points[i], q = points[(i + 1) % n];
                const bool spans = (p.y <= y && y < q.y) || (q.y <= y && y < p.y);
                if (!spans) continue;
                // crossing at p.x + (y - p.y)(q.x - p.x)/(q.y - p.y) <= x
                const i64 dy = i64(q.y) - p.y;
                const i64 lhs = (i64(p.x) - x) * dy + (i64(y) - p.y) * (i64(q.x) - p.x);
                if (dy > 0 ? lhs <= 0 : lhs >= 0) ++crossings;
            }
            if (crossings % 2 == 1) Put(bm, brush, x, y);
        }
    for (std::size_t i = 0; i < n && n > 1; ++i) {
        const Point p = points[i], q = points[(i + 1) % n];
        Stroke(bm, pen, penWidth, p.x, p.y, q.x, q.y);
    }
}

void Rectangle(Bitmap& bm, const Fill& brush, Color pen, int penWidth, int x1, int y1, int x2,
               int y2) {
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) Put(bm, brush, x, y);
    if (penWidth <= 1) {
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                if (x == x1 || x == x2 - 1 || y == y1 || y == y2 - 1) bm.SetPixel(x, y, pen);
        return;
    }
    const Point c[4] = {{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}};
    for (int i = 0; i < 4; ++i)
        WideLine(bm, pen, c[i].x, c[i].y, c[(i + 1) % 4].x, c[(i + 1) % 4].y, penWidth);
}

void FloodFill(Bitmap& bm, const Fill& brush, int x, int y, Color color, bool surface) {
    const int w = bm.Width(), h = bm.Height();
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    Bitmap before;
    before.Assign(bm);
    auto region = [&](int px, int py) { return (before.Pixel(px, py) == color) == surface; };
    if (!region(x, y)) return;
    std::vector<char> seen(std::size_t(w) * std::size_t(h), 0);
    std::deque<Point> queue{{x, y}};
    seen[std::size_t(y) * w + x] = 1;
    while (!queue.empty()) {
        const Point p = queue.front();
        queue.pop_front();
        Put(bm, brush, p.x, p.y);
        const Point next[4] = {{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}};
        for (const Point& q : next) {
            if (q.x < 0 || q.y < 0 || q.x >= w || q.y >= h) continue;
            char& s = seen[std::size_t(q.y) * w + q.x];
            if (s || !region(q.x, q.y)) continue;
            s = 1;
            queue.push_back(q);
        }
    }
}

void StretchDraw(Bitmap& bm, int l, int t, int r, int bt, const Bitmap& src) {
    const i64 dw = i64(r) - l, dh = i64(bt) - t, sw = src.Width(), sh = src.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    for (i64 y = t; y < bt; ++y)
        for (i64 x = l; x < r; ++x) {
            if (x < 0 || y < 0 || x >= bm.Width() || y >= bm.Height()) continue;
            // The source pixel under the centre of the destination pixel.
            const i64 sx = (2 * (x - l) + 1) * sw / (2 * dw);
            const i64 sy = (2 * (y - t) + 1) * sh / (2 * dh);
            const Color c = src.Pixel(int(sx), int(sy));
            if (src.Transparent && c == (src.TransparentColor & 0xFFFFFF)) continue;
            bm.SetPixel(int(x), int(y), c);
        }
}

} // namespace ref

} // namespace quillon
