#pragma once
// Outlines filled with anti-aliasing into a coverage mask: where GDI cannot
// draw a glyph (a variable face at an instance other than its default), the
// window draws the mask in the text colour.

#include <cstdint>
#include <vector>

#include "glyph_outline.h"

namespace tavrel {

// Where an outline goes in the mask: mask x = originX + scale * (x cos - y sin ...)
// for a glyph set upright (`sideways` false), or turned a quarter clockwise.
struct GlyphPlacement {
    double originX = 0, originY = 0;  // the glyph's origin, in mask pixels (y down)
    double scale = 1;                 // pixels per font unit
    bool sideways = false;
};

// Coverage of each pixel, 0 to 255, rows top down.
class CoverageMask {
public:
    CoverageMask(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // Adds the outline's area; pixels outside the mask are left out.
    void Fill(const std::vector<PathCommand>& outline, const GlyphPlacement& placement);
    // The coverage: the accumulated area of each pixel, clamped to one.
    std::vector<std::uint8_t> Coverage() const;

private:
    void Line(double x0, double y0, double x1, double y1);

    int width_, height_;
    std::vector<float> area_;  // signed area per cell, accumulated along each row
};

// The largest mask a window draws; a larger request gives an empty mask.
constexpr std::int64_t kMaxMaskPixels = std::int64_t{1} << 26;

}  // namespace tavrel
