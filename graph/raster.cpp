#include "graph/raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

namespace quorel {
namespace {

struct Pixels {
    explicit Pixels(QImage& image)
        : bits(reinterpret_cast<QRgb*>(image.bits())),
          stride(image.bytesPerLine() / int(sizeof(QRgb))),
          w(image.width()),
          h(image.height()) {}
    // One pen dot: a penWidth square about the pixel, clipped to the image.
    void dot(int x, int y, QRgb rgb, int penWidth) {
        if (penWidth == 1) {
            if (x >= 0 && x < w && y >= 0 && y < h) bits[std::ptrdiff_t(y) * stride + x] = rgb;
            return;
        }
        const int lo = -(penWidth - 1) / 2, hi = penWidth / 2;
        const int x0 = std::max(0, x + lo), x1 = std::min(w - 1, x + hi);
        const int y0 = std::max(0, y + lo), y1 = std::min(h - 1, y + hi);
        for (int j = y0; j <= y1; ++j)
            for (int i = x0; i <= x1; ++i) bits[std::ptrdiff_t(j) * stride + i] = rgb;
    }

    QRgb* bits;
    int stride, w, h;
};

}  // namespace

void rasterLine(QImage& image, QLine line, QRgb rgb, int penWidth) {
    if (image.isNull()) return;
    rgb |= 0xff000000u;
    Pixels px(image);
    int x = line.x1(), y = line.y1();
    const int x2 = line.x2(), y2 = line.y2();
    const int dx = std::abs(x2 - x), dy = std::abs(y2 - y);
    const int sx = x < x2 ? 1 : -1, sy = y < y2 ? 1 : -1;
    if (penWidth == 1) {
        // Both ends lie inside, so every pixel between does.
        std::ptrdiff_t at = std::ptrdiff_t(y) * px.stride + x;
        const std::ptrdiff_t stepX = sx, stepY = std::ptrdiff_t(sy) * px.stride;
        const std::ptrdiff_t major = dx >= dy ? stepX : stepY, minor = dx >= dy ? stepY : stepX;
        const int n = std::max(dx, dy), m = std::min(dx, dy);
        int err = n / 2;
        for (int i = 0;; ++i) {
            px.bits[at] = rgb;
            if (i == n) break;
            at += major;
            err -= m;
            if (err < 0) {
                at += minor;
                err += n;
            }
        }
        return;
    }
    int err = dx - dy;
    for (;;) {
        px.dot(x, y, rgb, penWidth);
        if (x == x2 && y == y2) break;
        const int e2 = 2 * err;
        if (e2 >= -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void rasterCircle(QImage& image, QPointF centre, double radius, QRgb rgb, int penWidth) {
    if (image.isNull()) return;
    rgb |= 0xff000000u;
    Pixels pixels(image);
    const int cx = int(std::floor(centre.x())), cy = int(std::floor(centre.y()));
    const int r = std::max(1, int(std::lround(radius)));
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        for (const auto& [px, py] :
             {std::pair{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}})
            pixels.dot(cx + px, cy + py, rgb, penWidth);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

}  // namespace quorel
