#pragma once
// A line HarfBuzz has set, drawn by GDI glyph by glyph (ETO_GLYPH_INDEX) at
// HarfBuzz's positions in the face GDI has registered, so Windows' own
// rasterizer draws every glyph.

#include <windows.h>

#include <string>
#include <vector>

#include "scoped_handles.h"
#include "shaper.h"

namespace tavrel {

// The face at one size: its GDI fonts (upright, and turned a quarter
// clockwise for sideways runs) and the scale from font units to pixels.
struct LineFonts {
    AutoDeleteFont upright, sideways;
    double scale = 0;           // pixels per font unit
    int ascent = 0, descent = 0;  // pixels above and below the baseline of a line set across
};

LineFonts CreateLineFonts(const std::wstring& faceName, const ShapingFace& face, int pixelsPerEm);

// How far the line reaches along its direction, in pixels.
int LineLength(const std::vector<ShapedRun>& runs, double scale);

// Across: `origin` is the left end of the baseline. Down: the top of the
// column's centre line. Uses the DC's text colour and leaves its alignment,
// font and background mode as it found them.
void DrawGlyphLine(HDC dc, const std::vector<ShapedRun>& runs, bool down, const LineFonts& fonts, POINT origin);

}  // namespace tavrel
