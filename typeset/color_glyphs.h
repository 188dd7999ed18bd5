#pragma once
// A glyph's colour: the layers of a COLR version 0 glyph in CPAL palette 0's
// colours, or the PNG of a CBDT or sbix glyph.

#include <cstdint>
#include <optional>
#include <vector>

#include "shaper.h"

namespace tavrel {

struct ColorLayer {
    std::uint32_t glyph = 0;
    // 0xAARRGGBB from palette 0; absent for the text's own colour (index
    // 0xFFFF), and for an index past the palette, which draws in the text colour too.
    std::optional<std::uint32_t> argb;
};

// True when the face has COLR layers or CBDT or sbix bitmaps to draw.
bool HasColorGlyphs(const ShapingFace& face);

// Bottom layer first; nothing for a glyph without COLR version 0 layers.
std::vector<ColorLayer> ColorLayersOf(const ShapingFace& face, std::uint32_t glyph);

// The PNG's bytes for the glyph at the face's largest strike; nothing when it has none.
std::vector<std::uint8_t> ColorPngOf(const ShapingFace& face, std::uint32_t glyph);

}  // namespace tavrel
