#include "line_picture.h"

#include <algorithm>
#include <cmath>

#include "color_glyphs.h"
#include "glyph_masks.h"
#include "glyph_outline.h"
#include "glyph_raster.h"

namespace tavrel {

namespace {

// Far past any picture, yet well inside an int: a hostile face's advances
// cannot overflow the conversions below.
double Clamped(double pixels) { return std::clamp(pixels, -1e7, 1e7); }

// An outline's origin in the picture, in pixels (y down).
struct PlacedOutline {
    std::uint32_t glyph;
    double x, y;
};

// The outlines a glyph is drawn from: its COLR layers', else its own.
std::vector<std::uint32_t> OutlinesOf(const ShapingFace& face, std::uint32_t glyph, bool color) {
    std::vector<std::uint32_t> glyphs;
    if (color)
        for (const ColorLayer& layer : ColorLayersOf(face, glyph)) glyphs.push_back(layer.glyph);
    if (glyphs.empty()) glyphs.push_back(glyph);
    return glyphs;
}

std::vector<PlacedOutline> Place(const ShapingFace& face, const std::vector<ShapedGlyph>& glyphs, double scale,
                                 double baseline) {
    const bool color = HasColorGlyphs(face);
    std::vector<PlacedOutline> placed;
    double pen = 0;  // font units along the baseline
    for (const ShapedGlyph& g : glyphs) {
        const double x = Clamped((pen + g.xOffset) * scale), y = Clamped(baseline - g.yOffset * scale);
        for (std::uint32_t outline : OutlinesOf(face, g.glyph, color)) placed.push_back({outline, x, y});
        pen += g.xAdvance;
    }
    return placed;
}

// The outlines whose ink falls within the frame, and how far right it reaches.
struct InkInFrame {
    std::vector<PlacedOutline> seen;
    double right = 0;
};

InkInFrame SeenInk(const ShapingFace& face, const std::vector<PlacedOutline>& placed, double scale, int width,
                   int height) {
    InkInFrame ink;
    // No real glyph's ink lies four ems from its origin: a long line's glyphs past the frame are not drawn.
    const double reach = 4 * scale * face.UnitsPerEm();
    for (const PlacedOutline& p : placed) {
        if (p.x < -reach || p.x > width + reach) continue;
        const auto b = OutlineBoundsOf(face.Glyphs().Outline(face, p.glyph));
        if (!b) continue;
        const double left = p.x + b->xMin * scale, right = p.x + b->xMax * scale;
        const double top = p.y - b->yMax * scale, bottom = p.y - b->yMin * scale;
        if (!(right > 0 && left < width && bottom > 0 && top < height)) continue;
        ink.seen.push_back(p);
        ink.right = std::max(ink.right, right);
    }
    return ink;
}

}  // namespace

LineFrame LineFrameFor(int pixelsPerEm, int maxWidth) {
    const int size = std::clamp(pixelsPerEm, 1, kMaxPicturePixelsPerEm);
    return {size, (size * 7 + 4) / 5, (size * 21 + 10) / 20, std::clamp(maxWidth, 0, kMaxPictureWidth)};
}

LinePicture DrawLinePicture(const ShapingFace& face, std::u16string_view text, const LineFrame& frame) {
    LinePicture picture;
    picture.height = std::clamp(frame.height, 0, 2 * kMaxPicturePixelsPerEm);
    picture.baseline = frame.baseline;
    const auto runs = SetLine(face, text, {}, false);
    if (!runs || runs->empty()) return picture;
    const double scale = double(std::clamp(frame.pixelsPerEm, 1, kMaxPicturePixelsPerEm)) /
                         std::max(face.UnitsPerEm(), 1u);
    const int maxWidth = std::clamp(frame.maxWidth, 0, kMaxPictureWidth);
    const InkInFrame ink = SeenInk(face, Place(face, runs->front().glyphs, scale, frame.baseline), scale, maxWidth,
                                   picture.height);
    if (ink.seen.empty()) return picture;
    CoverageMask mask(std::min(int(std::ceil(ink.right)) + 1, maxWidth), picture.height);
    for (const PlacedOutline& p : ink.seen)
        mask.Fill(face.Glyphs().Outline(face, p.glyph), {p.x, p.y, scale, false});
    picture.width = mask.width();
    picture.coverage = mask.Coverage();
    return picture;
}

}  // namespace tavrel
