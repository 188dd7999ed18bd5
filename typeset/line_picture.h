#pragma once
// A line set across in one face and filled from its glyphs' outlines into one
// coverage mask, so that a face can be shown without being registered: the
// library window draws each of its rows so. A COLR glyph is the union of its
// layers' outlines; a glyph without an outline (a bitmap glyph, a space)
// leaves its place empty.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "shaper.h"

namespace tavrel {

// The largest size and width a picture is drawn at: whatever the line and the
// face, a picture holds at most a few megabytes.
constexpr int kMaxPicturePixelsPerEm = 400;
constexpr int kMaxPictureWidth = 4096;

// Where the line goes: every face of one size shares the baseline's row, so
// the rows of a list line up.
struct LineFrame {
    int pixelsPerEm = 16;
    int height = 22;    // rows of the picture
    int baseline = 17;  // the baseline's row, from the top
    int maxWidth = 0;   // the picture is cut off there
};

// Room above the baseline for an accented capital and below for a descender,
// whatever the faces' own metrics say; size and width are clamped to the largest.
LineFrame LineFrameFor(int pixelsPerEm, int maxWidth);

struct LinePicture {
    int width = 0, height = 0, baseline = 0;
    std::vector<std::uint8_t> coverage;  // width by height, rows top down, 0 to 255

    std::size_t bytes() const { return coverage.size() + sizeof(LinePicture); }
};

// As wide as the ink reaches from the left end of the baseline (at column 0),
// cut at the frame's width; no width when nothing is drawn or the line does
// not set (longer than kMaxShapedText).
LinePicture DrawLinePicture(const ShapingFace& face, std::u16string_view text, const LineFrame& frame);

}  // namespace tavrel
