#include "glyph_masks.h"

#include <cmath>

#include "glyph_raster.h"

namespace tavrel {

namespace {

// What the outlines and masks of one instance may hold before they start over.
constexpr std::size_t kMostBytes = 32 << 20;

// The pixels the outline reaches from an origin at (x, y), a pixel wider all round.
struct PixelBox {
    double left, top, right, bottom;
};

PixelBox Reach(const OutlineBounds& b, double scale, bool sideways, double x, double y) {
    if (sideways) return {x + b.yMin * scale, y + b.xMin * scale, x + b.yMax * scale, y + b.xMax * scale};
    return {x + b.xMin * scale, y - b.yMax * scale, x + b.xMax * scale, y - b.yMin * scale};
}

}  // namespace

void InstanceGlyphs::Clear() {
    outlines_.clear();
    masks_.clear();
    bytes_ = 0;
}

void InstanceGlyphs::MakeRoom(std::size_t bytes) {
    if (bytes_ + bytes > kMostBytes) Clear();
    bytes_ += bytes;
}

const std::vector<PathCommand>& InstanceGlyphs::Outline(const ShapingFace& face, std::uint32_t glyph) {
    if (const auto found = outlines_.find(glyph); found != outlines_.end()) return found->second;
    std::vector<PathCommand> outline = DrawGlyphOutline(face, glyph);
    MakeRoom(outline.size() * sizeof(PathCommand));
    return outlines_.emplace(glyph, std::move(outline)).first->second;
}

const GlyphMask* InstanceGlyphs::Mask(const ShapingFace& face, std::uint32_t glyph, double scale, bool sideways,
                                      int phaseX, int phaseY) {
    const MaskKey key{glyph, scale, sideways, phaseX, phaseY};
    if (const auto found = masks_.find(key); found != masks_.end()) return &found->second;
    const std::vector<PathCommand>& outline = Outline(face, glyph);
    GlyphMask mask;
    const double x = double(phaseX) / kMaskPhases, y = double(phaseY) / kMaskPhases;
    if (const auto bounds = OutlineBoundsOf(outline)) {
        const PixelBox reach = Reach(*bounds, scale, sideways, x, y);
        if (!std::isfinite(reach.left + reach.top + reach.right + reach.bottom)) return nullptr;
        const double width = std::ceil(reach.right) - std::floor(reach.left) + 2;
        const double height = std::ceil(reach.bottom) - std::floor(reach.top) + 2;
        if (width * height > double(kMaxKeptMaskPixels)) return nullptr;
        mask.left = int(std::floor(reach.left)) - 1;
        mask.top = int(std::floor(reach.top)) - 1;
        CoverageMask filled{int(width), int(height)};
        filled.Fill(outline, {x - mask.left, y - mask.top, scale, sideways});
        mask.width = filled.width();
        mask.height = filled.height();
        mask.coverage = filled.Coverage();
    }
    // The outline may have been let go to make room above; the mask stands alone.
    MakeRoom(mask.coverage.size() + sizeof(GlyphMask) + sizeof(MaskKey));
    return &masks_.emplace(key, std::move(mask)).first->second;
}

}  // namespace tavrel
