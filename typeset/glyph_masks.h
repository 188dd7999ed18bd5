#pragma once
// A face's glyphs at its current instance, each outline drawn once and each
// coverage mask filled once per size, orientation and quarter-pixel phase:
// the window sets the same glyphs over and over (every repaint, the
// waterfall's ten sizes, each line's repeated letters).

#include <cstddef>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "glyph_outline.h"

namespace tavrel {

// Where a glyph lands is rounded to a quarter of a pixel each way.
constexpr int kMaskPhases = 4;

// The glyph's coverage, placed from the pixel its origin falls in.
struct GlyphMask {
    int left = 0, top = 0;  // the mask's corner, in pixels from that pixel's corner
    int width = 0, height = 0;
    std::vector<std::uint8_t> coverage;  // rows top down
};

// Masks above this many pixels are not kept (a hostile outline's bounds can
// reach far past its glyph); the caller fills those into its own mask.
constexpr std::int64_t kMaxKeptMaskPixels = std::int64_t{1} << 20;

class InstanceGlyphs {
public:
    const std::vector<PathCommand>& Outline(const ShapingFace& face, std::uint32_t glyph);
    // Null for a glyph whose mask would be too large to keep. The phases
    // count quarter pixels right of and below the pixel's corner. What it
    // gives holds until the next call.
    const GlyphMask* Mask(const ShapingFace& face, std::uint32_t glyph, double scale, bool sideways, int phaseX,
                          int phaseY);
    // At a new instance everything goes.
    void Clear();

private:
    using MaskKey = std::tuple<std::uint32_t, double, bool, int, int>;
    void MakeRoom(std::size_t bytes);

    std::map<std::uint32_t, std::vector<PathCommand>> outlines_;
    std::map<MaskKey, GlyphMask> masks_;
    std::size_t bytes_ = 0;
};

}  // namespace tavrel
