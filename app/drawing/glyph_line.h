#pragma once
// A line HarfBuzz has set, drawn glyph by glyph at HarfBuzz's positions. At a
// face's default instance GDI draws each glyph (ETO_GLYPH_INDEX) in the face
// it has registered, so Windows' own rasterizer draws it; at any other
// instance, which GDI cannot draw, the glyphs' outlines are filled with
// anti-aliasing. Colour glyphs keep their colours: COLR layers in their
// palette's colours, CBDT and sbix bitmaps as pictures.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "scoped_handles.h"
#include "shaper.h"

namespace tavrel {

// The face at one size: its GDI fonts (upright, and turned a quarter
// clockwise for sideways runs), the scale from font units to pixels, and the
// face itself, for outlines and colours.
struct LineFonts {
    AutoDeleteFont upright, sideways;
    double scale = 0;             // pixels per font unit
    int ascent = 0, descent = 0;  // pixels above and below the baseline of a line set across
    const ShapingFace* face = nullptr;
    bool fromOutlines = false;    // the face is at an instance GDI cannot draw
    bool color = false;           // the face has COLR layers or bitmaps
};

// `face` must outlive the fonts. `fromOutlines` draws from the face's
// outlines at its current instance instead of through GDI.
LineFonts CreateLineFonts(const std::wstring& faceName, const ShapingFace& face, int pixelsPerEm,
                          bool fromOutlines = false);

// Whether GDI, asked for `faceName`, draws `face` and not another font of
// that name (an installed one, or a substitute where the registration
// failed): its 'head' table, with the revision, dates and checksum, must be
// the face's own. Where it is not, glyph ids are only good for the outlines.
bool GdiDrawsFace(const std::wstring& faceName, const ShapingFace& face);

// How far the line reaches along its direction, in pixels.
int LineLength(const std::vector<ShapedRun>& runs, double scale);

// Across: `origin` is the left end of the baseline. Down: the top of the
// column's centre line. Uses the DC's text colour and leaves its alignment,
// colour, font and background mode as it found them.
void DrawGlyphLine(HDC dc, const std::vector<ShapedRun>& runs, bool down, const LineFonts& fonts, POINT origin);

}  // namespace tavrel
