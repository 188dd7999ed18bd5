#pragma once
// A glyph's outline at the face's current axis coordinates, as HarfBuzz draws
// it, in font units with y up; its bounds, and the same outline as SVG.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shaper.h"

namespace tavrel {

enum class PathVerb : std::uint8_t { MoveTo, LineTo, QuadraticTo, CubicTo, Close };

// The end point is the last of the points the verb takes (one, one, two, three, none).
struct PathCommand {
    PathVerb verb = PathVerb::MoveTo;
    float x[3] = {}, y[3] = {};
};

struct OutlineBounds {
    float xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

// Enough for any real glyph; a hostile one is cut off there.
constexpr std::size_t kMaxPathCommands = 1 << 18;

// Nothing for a glyph without an outline (a space, a bitmap-only glyph, an id
// past the face).
std::vector<PathCommand> DrawGlyphOutline(const ShapingFace& face, std::uint32_t glyph);

// Of every point, control points included; absent for an empty outline.
std::optional<OutlineBounds> OutlineBoundsOf(const std::vector<PathCommand>& outline);

// A standalone SVG document: one path, y turned so the glyph stands upright,
// the view box its bounds (an empty box for an empty outline).
std::string OutlineSvg(const std::vector<PathCommand>& outline);

}  // namespace tavrel
