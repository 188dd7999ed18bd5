#include "glyph_line.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace tavrel {

namespace {

HFONT CreateFaceFont(const std::wstring& faceName, int pixelsPerEm, bool sideways) {
    LOGFONTW font{};
    font.lfHeight = -pixelsPerEm;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfEscapement = font.lfOrientation = sideways ? 2700 : 0;
    wcsncpy(font.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

// Clamped, so that a hostile face's huge advances cannot overflow GDI's coordinates.
int Pixels(double units, double scale) {
    return static_cast<int>(std::lround(std::clamp(units * scale, -1e7, 1e7)));
}

void DrawGlyph(HDC dc, int x, int y, std::uint32_t glyph) {
    const auto index = static_cast<WORD>(glyph);
    ExtTextOutW(dc, x, y, ETO_GLYPH_INDEX, nullptr, reinterpret_cast<LPCWSTR>(&index), 1, nullptr);
}

// Across: glyphs without a vertical offset go out together with their
// advances; one with an offset is placed alone.
void DrawAcross(HDC dc, const std::vector<ShapedGlyph>& glyphs, double scale, POINT origin) {
    std::vector<WORD> indices;
    std::vector<INT> advances;
    int batchX = 0, lastX = 0;
    const auto flush = [&] {
        if (!indices.empty())
            ExtTextOutW(dc, origin.x + batchX, origin.y, ETO_GLYPH_INDEX, nullptr,
                        reinterpret_cast<LPCWSTR>(indices.data()), UINT(indices.size()), advances.data());
        indices.clear();
        advances.clear();
    };
    std::int64_t pen = 0;
    for (const ShapedGlyph& g : glyphs) {
        const int x = Pixels(double(pen + g.xOffset), scale);
        pen += g.xAdvance;
        if (g.yOffset != 0) {
            flush();
            DrawGlyph(dc, origin.x + x, origin.y - Pixels(g.yOffset, scale), g.glyph);
            continue;
        }
        if (indices.empty()) batchX = x;
        else advances.back() = x - lastX;
        lastX = x;
        indices.push_back(static_cast<WORD>(g.glyph));
        advances.push_back(0);
    }
    flush();
}

}  // namespace

LineFonts CreateLineFonts(const std::wstring& faceName, const ShapingFace& face, int pixelsPerEm) {
    LineFonts fonts;
    fonts.upright.reset(CreateFaceFont(faceName, pixelsPerEm, false));
    fonts.sideways.reset(CreateFaceFont(faceName, pixelsPerEm, true));
    fonts.scale = double(pixelsPerEm) / std::max(face.UnitsPerEm(), 1u);
    fonts.ascent = Pixels(face.Ascender(), fonts.scale);
    fonts.descent = Pixels(face.Descender(), fonts.scale);
    return fonts;
}

int LineLength(const std::vector<ShapedRun>& runs, double scale) {
    std::int64_t length = 0;
    for (const ShapedRun& run : runs)
        for (const ShapedGlyph& g : run.glyphs) length += g.xAdvance != 0 ? std::abs(g.xAdvance) : std::abs(g.yAdvance);
    return Pixels(double(length), scale);
}

void DrawGlyphLine(HDC dc, const std::vector<ShapedRun>& runs, bool down, const LineFonts& fonts, POINT origin) {
    const UINT align = SetTextAlign(dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
    const int mode = SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ previous = SelectObject(dc, fonts.upright.get());
    if (!down) {
        for (const ShapedRun& run : runs) DrawAcross(dc, run.glyphs, fonts.scale, origin);
    } else {
        // Upright glyphs hang from the centre line; sideways ones sit on a
        // baseline left of it, so their em box is centred on the line.
        const int sidewaysBaseline = origin.x - (fonts.ascent - fonts.descent) / 2;
        std::int64_t pen = 0;  // font units down the column
        for (const ShapedRun& run : runs) {
            SelectObject(dc, run.sideways ? fonts.sideways.get() : fonts.upright.get());
            for (const ShapedGlyph& g : run.glyphs) {
                if (run.sideways) {
                    DrawGlyph(dc, sidewaysBaseline + Pixels(g.yOffset, fonts.scale),
                              origin.y + Pixels(double(pen + g.xOffset), fonts.scale), g.glyph);
                    pen += g.xAdvance;
                } else {
                    DrawGlyph(dc, origin.x + Pixels(g.xOffset, fonts.scale),
                              origin.y + Pixels(double(pen - g.yOffset), fonts.scale), g.glyph);
                    pen -= g.yAdvance;
                }
            }
        }
    }
    SelectObject(dc, previous);
    SetBkMode(dc, mode);
    SetTextAlign(dc, align);
}

}  // namespace tavrel
