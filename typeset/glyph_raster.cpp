#include "glyph_raster.h"

#include <algorithm>
#include <cmath>

namespace tavrel {

namespace {

struct Point {
    double x, y;
};

// Segments each curve is split into, by its size in pixels.
int Steps(Point a, Point b, Point c) {
    const double span = std::abs(a.x - 2 * b.x + c.x) + std::abs(a.y - 2 * b.y + c.y);
    return std::clamp(int(std::sqrt(span) * 2) + 1, 1, 64);
}

}  // namespace

CoverageMask::CoverageMask(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
    if (std::int64_t{width_} * height_ > kMaxMaskPixels) width_ = height_ = 0;
    area_.assign(std::size_t(width_ + 1) * std::size_t(height_), 0.0f);
}

// The signed-area accumulation of a line: each pixel row it crosses gets the
// area to the line's right, so that a running sum along the row is the coverage.
void CoverageMask::Line(double x0, double y0, double x1, double y1) {
    if (y0 == y1 || !std::isfinite(x0 + y0 + x1 + y1)) return;
    const double direction = y0 < y1 ? 1 : -1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const double slope = (x1 - x0) / (y1 - y0);
    const int firstRow = std::max(int(std::floor(y0)), 0), endRow = std::min(int(std::ceil(y1)), height_);
    for (int row = firstRow; row < endRow; ++row) {
        const double top = std::max(y0, double(row)), bottom = std::min(y1, double(row + 1));
        if (bottom <= top) continue;
        const double height = (bottom - top) * direction;
        const double xTop = x0 + (top - y0) * slope, xBottom = x0 + (bottom - y0) * slope;
        float* cells = &area_[std::size_t(row) * std::size_t(width_ + 1)];
        const double left = std::min(xTop, xBottom), right = std::max(xTop, xBottom);
        const int first = int(std::floor(left));
        if (first >= width_) continue;  // right of the mask: no pixel of the row is covered
        if (right <= 0) {
            cells[0] += float(height);
            continue;
        }
        // Spread the row's height over the pixels the line crosses, in proportion.
        const int last = std::min(int(std::floor(right)), width_ - 1);
        if (first == last || right - left < 1e-9) {
            const int x = std::max(first, 0);
            const double inside = (xTop + xBottom) / 2 - x;
            cells[x] += float(height * (1 - inside));
            cells[x + 1] += float(height * inside);
            continue;
        }
        const double perPixel = height / (right - left);
        for (int x = std::max(first, 0); x <= last; ++x) {
            const double a = std::max(left, double(x)), b = std::min(right, double(x + 1));
            const double part = (b - a) * perPixel, inside = (a + b) / 2 - x;
            cells[x] += float(part * (1 - inside));
            cells[x + 1] += float(part * inside);
        }
        if (first < 0) cells[0] += float(perPixel * (0 - left));
        if (int(std::floor(right)) >= width_) cells[width_] += float(perPixel * (right - width_));
    }
}

void CoverageMask::Fill(const std::vector<PathCommand>& outline, const GlyphPlacement& at) {
    if (width_ == 0 || height_ == 0) return;
    // Font units (y up) to mask pixels (y down), turned for a sideways glyph.
    const auto place = [&](float x, float y) {
        return at.sideways ? Point{at.originX + at.scale * y, at.originY + at.scale * x}
                           : Point{at.originX + at.scale * x, at.originY - at.scale * y};
    };
    Point start{}, pen{};
    bool open = false;
    const auto lineTo = [&](Point to) {
        Line(pen.x, pen.y, to.x, to.y);
        pen = to;
    };
    const auto close = [&] {
        if (open) lineTo(start);
        open = false;
    };
    for (const PathCommand& c : outline) {
        switch (c.verb) {
            case PathVerb::MoveTo:
                close();
                start = pen = place(c.x[0], c.y[0]);
                open = true;
                break;
            case PathVerb::LineTo: lineTo(place(c.x[0], c.y[0])); break;
            case PathVerb::QuadraticTo: {
                const Point from = pen, control = place(c.x[0], c.y[0]), to = place(c.x[1], c.y[1]);
                const int steps = Steps(from, control, to);
                for (int i = 1; i <= steps; ++i) {
                    const double t = double(i) / steps, u = 1 - t;
                    lineTo({u * u * from.x + 2 * u * t * control.x + t * t * to.x,
                            u * u * from.y + 2 * u * t * control.y + t * t * to.y});
                }
                break;
            }
            case PathVerb::CubicTo: {
                const Point from = pen, c1 = place(c.x[0], c.y[0]), c2 = place(c.x[1], c.y[1]), to = place(c.x[2], c.y[2]);
                const int steps = std::max(Steps(from, c1, c2), Steps(c1, c2, to));
                for (int i = 1; i <= steps; ++i) {
                    const double t = double(i) / steps, u = 1 - t;
                    const double a = u * u * u, b = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
                    lineTo({a * from.x + b * c1.x + d * c2.x + e * to.x, a * from.y + b * c1.y + d * c2.y + e * to.y});
                }
                break;
            }
            case PathVerb::Close: close(); break;
        }
    }
    close();
}

std::vector<std::uint8_t> CoverageMask::Coverage() const {
    std::vector<std::uint8_t> out(std::size_t(width_) * std::size_t(height_));
    for (int row = 0; row < height_; ++row) {
        const float* cells = &area_[std::size_t(row) * std::size_t(width_ + 1)];
        float sum = 0;
        for (int x = 0; x < width_; ++x) {
            sum += cells[x];
            out[std::size_t(row) * std::size_t(width_) + std::size_t(x)] =
                std::uint8_t(std::min(std::abs(sum), 1.0f) * 255.0f + 0.5f);
        }
    }
    return out;
}

}  // namespace tavrel
