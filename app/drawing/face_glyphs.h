#pragma once
// Text drawn in one face and in no other. Given characters, GDI takes those a
// face lacks from a linked font, and Wine draws a character beyond U+FFFF as
// two boxes. So the characters the face maps below U+10000 are drawn as
// characters (GDI sets them as usual, vertical forms included), and the rest
// by glyph: the face's own above U+FFFF, its .notdef (glyph 0) for what it lacks.

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

#include "cmap_table.h"

namespace tavrel {

class FaceGlyphs {
public:
    FaceGlyphs() = default;
    // The character map of the font selected into `dc`, as GDI holds it.
    explicit FaceGlyphs(HDC dc);

    // Nothing when the face lacks `codePoint`.
    std::optional<WORD> Find(char32_t codePoint) const;

private:
    std::vector<CodePointGlyph> mapped_;
};

// Draws `text` in the font selected into `dc`. One character is drawn at
// (x, y) as the context's alignment says; longer text starts at (x, y) and
// follows the font's escapement, with the context's vertical alignment.
void DrawFaceText(HDC dc, int x, int y, std::wstring_view text, const FaceGlyphs& glyphs);

// The advance of what DrawFaceText draws.
int MeasureFaceText(HDC dc, std::wstring_view text, const FaceGlyphs& glyphs);

}  // namespace tavrel
