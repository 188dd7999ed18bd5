#include "glyph_line.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "color_glyphs.h"
#include "glyph_masks.h"
#include "glyph_outline.h"
#include "glyph_raster.h"
#include "paint_buffer.h"
#include "png_picture.h"

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
double Clamped(double pixels) { return std::clamp(pixels, -1e7, 1e7); }
int Pixels(double units, double scale) { return static_cast<int>(std::lround(Clamped(units * scale))); }

// A glyph's origin in the DC, in pixels, and whether it is turned sideways.
struct PlacedGlyph {
    std::uint32_t glyph;
    double x, y;
    bool sideways;
};

// Upright glyphs hang from the centre line of a vertical line; sideways ones
// sit on a baseline left of it, so that their em box is centred on the line.
std::vector<PlacedGlyph> PlaceGlyphs(const std::vector<ShapedRun>& runs, bool down, const LineFonts& fonts,
                                     POINT origin) {
    std::vector<PlacedGlyph> placed;
    const double s = fonts.scale, sidewaysBaseline = origin.x - (fonts.ascent - fonts.descent) / 2.0;
    double pen = 0;  // font units along the line
    for (const ShapedRun& run : runs) {
        for (const ShapedGlyph& g : run.glyphs) {
            if (!down) {
                placed.push_back({g.glyph, Clamped(origin.x + (pen + g.xOffset) * s), Clamped(origin.y - g.yOffset * s), false});
                pen += g.xAdvance;
            } else if (run.sideways) {
                placed.push_back({g.glyph, Clamped(sidewaysBaseline + g.yOffset * s), Clamped(origin.y + (pen + g.xOffset) * s), true});
                pen += g.xAdvance;
            } else {
                placed.push_back({g.glyph, Clamped(origin.x + g.xOffset * s), Clamped(origin.y + (pen - g.yOffset) * s), false});
                pen -= g.yAdvance;
            }
        }
    }
    return placed;
}

void DrawGlyph(HDC dc, int x, int y, std::uint32_t glyph) {
    const auto index = static_cast<WORD>(glyph);
    ExtTextOutW(dc, x, y, ETO_GLYPH_INDEX, nullptr, reinterpret_cast<LPCWSTR>(&index), 1, nullptr);
}

// Across, without colour: glyphs without a vertical offset go out together
// with their advances; one with an offset is placed alone.
void DrawAcross(HDC dc, const std::vector<PlacedGlyph>& placed, int baseline) {
    std::vector<WORD> indices;
    std::vector<INT> advances;
    int batchX = 0, lastX = 0;
    const auto flush = [&] {
        if (!indices.empty())
            ExtTextOutW(dc, batchX, baseline, ETO_GLYPH_INDEX, nullptr, reinterpret_cast<LPCWSTR>(indices.data()),
                        UINT(indices.size()), advances.data());
        indices.clear();
        advances.clear();
    };
    for (const PlacedGlyph& g : placed) {
        const int x = int(std::lround(g.x)), y = int(std::lround(g.y));
        if (y != baseline) {
            flush();
            DrawGlyph(dc, x, y, g.glyph);
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

// `coverage` (rows `width` wide) in `color`, mixed into the pixels under it.
void MixCoverage(const PixelRows& pixels, int width, const std::vector<std::uint8_t>& coverage, COLORREF color) {
    const int red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
    const auto mix = [](std::uint32_t under, int over, int a) { return std::uint32_t(int(under) + (over - int(under)) * a / 255); };
    const int height = width > 0 ? int(coverage.size() / std::size_t(width)) : 0;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = pixels.Row(y);
        const std::uint8_t* alpha = &coverage[std::size_t(y) * std::size_t(width)];
        for (int x = 0; x < width; ++x) {
            const int a = alpha[x];
            if (a == 0) continue;
            const std::uint32_t p = row[x];
            row[x] = mix(p >> 16 & 0xFF, red, a) << 16 | mix(p >> 8 & 0xFF, green, a) << 8 | mix(p & 0xFF, blue, a);
        }
    }
}

// `coverage` of `area` in `color`, over what the DC holds: in place in a
// paint buffer, otherwise read back, mixed and written again (quicker than
// an alpha blend).
void BlendCoverage(HDC dc, const RECT& area, const std::vector<std::uint8_t>& coverage, COLORREF color) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    if (const auto pixels = PaintBuffer::PixelsUnder(dc, area)) return MixCoverage(*pixels, width, coverage, color);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const AutoDeleteBitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const AutoDeleteDC memory(CreateCompatibleDC(dc));
    if (!bitmap || !memory || !bits) return;
    const ScopedSelectObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, dc, area.left, area.top, SRCCOPY);
    GdiFlush();
    MixCoverage({static_cast<std::uint8_t*>(bits), std::ptrdiff_t(width) * 4}, width, coverage, color);
    BitBlt(dc, area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

COLORREF LayerColor(const ColorLayer& layer, COLORREF text) {
    if (!layer.argb) return text;
    return RGB(*layer.argb >> 16 & 0xFF, *layer.argb >> 8 & 0xFF, *layer.argb & 0xFF);
}

// Where a placed glyph's outline reaches in the DC, a pixel wider all round.
RECT OutlineReach(const PlacedGlyph& g, const OutlineBounds& b, double s) {
    const double left = g.sideways ? g.x + b.yMin * s : g.x + b.xMin * s;
    const double right = g.sideways ? g.x + b.yMax * s : g.x + b.xMax * s;
    const double top = g.sideways ? g.y + b.xMin * s : g.y - b.yMax * s;
    const double bottom = g.sideways ? g.y + b.xMax * s : g.y - b.yMin * s;
    return {LONG(std::floor(Clamped(left))) - 1, LONG(std::floor(Clamped(top))) - 1, LONG(std::ceil(Clamped(right))) + 1,
            LONG(std::ceil(Clamped(bottom))) + 1};
}

// A glyph's kept mask and where it goes: its origin rounded to a quarter pixel.
struct PlacedMask {
    const GlyphMask* mask = nullptr;  // null for one too large to keep
    int x = 0, y = 0;                 // the pixel the origin falls in
};

PlacedMask MaskFor(const LineFonts& fonts, const PlacedGlyph& g) {
    const double qx = std::round(g.x * kMaskPhases), qy = std::round(g.y * kMaskPhases);
    const double x = std::floor(qx / kMaskPhases), y = std::floor(qy / kMaskPhases);
    const GlyphMask* mask = fonts.face->Glyphs().Mask(*fonts.face, g.glyph, fonts.scale, g.sideways,
                                                      int(qx - x * kMaskPhases), int(qy - y * kMaskPhases));
    return {mask, int(x), int(y)};
}

RECT MaskRect(const PlacedMask& m) {
    const int left = m.x + m.mask->left, top = m.y + m.mask->top;
    return {left, top, left + m.mask->width, top + m.mask->height};
}

// Adds a kept mask to the line's coverage over `area`, clamped to full.
void AddMask(std::vector<std::uint8_t>& coverage, const RECT& area, const PlacedMask& m) {
    RECT part{};
    const RECT rect = MaskRect(m);
    if (!IntersectRect(&part, &rect, &area)) return;
    const int width = area.right - area.left;
    for (int y = part.top; y < part.bottom; ++y) {
        const std::uint8_t* from = &m.mask->coverage[std::size_t(y - rect.top) * std::size_t(m.mask->width)];
        std::uint8_t* to = &coverage[std::size_t(y - area.top) * std::size_t(width)];
        for (int x = part.left; x < part.right; ++x)
            to[x - area.left] = std::uint8_t(std::min(to[x - area.left] + from[x - rect.left], 255));
    }
}

// The glyphs' outlines at the face's instance, filled in `color` over the
// part of the DC's clip box they reach. A glyph whose origin lies within two
// ems of the clip box is drawn from its mask kept with the face; the others
// (far out of view on a long line, or too large to keep) are measured by
// their outlines and filled into the line's own mask where they reach it.
void FillGlyphs(HDC dc, const LineFonts& fonts, const std::vector<PlacedGlyph>& glyphs, COLORREF color) {
    InstanceGlyphs& kept = fonts.face->Glyphs();
    RECT clip{}, reach{};
    GetClipBox(dc, &clip);
    const int ems = int(std::min(2 * fonts.scale * fonts.face->UnitsPerEm(), 1e6)) + 1;
    RECT nearby = clip;
    InflateRect(&nearby, ems, ems);
    std::vector<PlacedGlyph> masked, filled;
    for (const PlacedGlyph& g : glyphs) {
        const POINT origin{LONG(g.x), LONG(g.y)};
        const PlacedMask m = PtInRect(&nearby, origin) ? MaskFor(fonts, g) : PlacedMask{};
        RECT one{}, seen{};
        if (m.mask) {
            one = MaskRect(m);
            masked.push_back(g);
        } else if (const auto bounds = OutlineBoundsOf(kept.Outline(*fonts.face, g.glyph))) {
            one = OutlineReach(g, *bounds, fonts.scale);
            if (IntersectRect(&seen, &one, &clip)) filled.push_back(g);
        }
        UnionRect(&reach, &reach, &one);
    }
    RECT area{};
    if (!IntersectRect(&area, &clip, &reach)) return;
    const int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<std::uint8_t> coverage;
    if (filled.empty()) {
        coverage.assign(std::size_t(width) * std::size_t(height), 0);
    } else {
        CoverageMask mask(width, height);
        for (const PlacedGlyph& g : filled)
            mask.Fill(kept.Outline(*fonts.face, g.glyph), {g.x - area.left, g.y - area.top, fonts.scale, g.sideways});
        coverage = mask.Coverage();
        if (coverage.size() != std::size_t(width) * std::size_t(height)) return;  // past the largest mask
    }
    for (const PlacedGlyph& g : masked)
        if (const PlacedMask m = MaskFor(fonts, g); m.mask) AddMask(coverage, area, m);
    BlendCoverage(dc, area, coverage, color);
}

// A bitmap glyph's picture, scaled into the box of its ink.
bool DrawPicture(HDC dc, const LineFonts& fonts, const PlacedGlyph& g) {
    const auto extents = fonts.face->GlyphExtents(g.glyph);
    if (!extents) return false;
    const std::vector<std::uint8_t> png = ColorPngOf(*fonts.face, g.glyph);
    if (png.empty()) return false;
    const double s = fonts.scale;
    DrawPngPicture(dc, png, RECT{LONG(g.x + extents->left * s), LONG(g.y - extents->top * s),
                                  LONG(g.x + (extents->left + extents->width) * s),
                                  LONG(g.y - (extents->top + extents->height) * s)});
    return true;
}

// A COLR glyph's layers in their colours, bottom first.
bool DrawLayers(HDC dc, const LineFonts& fonts, const PlacedGlyph& g, COLORREF text) {
    const std::vector<ColorLayer> layers = ColorLayersOf(*fonts.face, g.glyph);
    for (const ColorLayer& layer : layers) {
        if (fonts.fromOutlines) {
            FillGlyphs(dc, fonts, {PlacedGlyph{layer.glyph, g.x, g.y, g.sideways}}, LayerColor(layer, text));
        } else {
            SetTextColor(dc, LayerColor(layer, text));
            DrawGlyph(dc, int(std::lround(g.x)), int(std::lround(g.y)), layer.glyph);
        }
    }
    SetTextColor(dc, text);
    return !layers.empty();
}

void DrawEach(HDC dc, const std::vector<PlacedGlyph>& placed, const LineFonts& fonts) {
    const COLORREF text = GetTextColor(dc);
    std::vector<PlacedGlyph> filled;  // from outlines, in the text colour
    for (const PlacedGlyph& g : placed) {
        // Outlines filled in the text colour need no GDI font.
        if (!fonts.fromOutlines || fonts.color)
            SelectObject(dc, g.sideways ? fonts.sideways.get() : fonts.upright.get());
        if (fonts.color && (DrawLayers(dc, fonts, g, text) || DrawPicture(dc, fonts, g))) continue;
        if (fonts.fromOutlines) filled.push_back(g);
        else DrawGlyph(dc, int(std::lround(g.x)), int(std::lround(g.y)), g.glyph);
    }
    if (!filled.empty()) FillGlyphs(dc, fonts, filled, text);
}

}  // namespace

LineFonts CreateLineFonts(const std::wstring& faceName, const ShapingFace& face, int pixelsPerEm, bool fromOutlines) {
    LineFonts fonts;
    fonts.upright.reset(CreateFaceFont(faceName, pixelsPerEm, false));
    fonts.sideways.reset(CreateFaceFont(faceName, pixelsPerEm, true));
    fonts.scale = double(pixelsPerEm) / std::max(face.UnitsPerEm(), 1u);
    fonts.ascent = Pixels(face.Ascender(), fonts.scale);
    fonts.descent = Pixels(face.Descender(), fonts.scale);
    fonts.face = &face;
    fonts.fromOutlines = fromOutlines;
    fonts.color = HasColorGlyphs(face);
    return fonts;
}

bool GdiDrawsFace(const std::wstring& faceName, const ShapingFace& face) {
    constexpr DWORD kHeadTag = 0x64616568;  // "head" as GetFontData reads a tag
    const std::vector<std::uint8_t> own = face.TableData(Tag("head"));
    const ScopedGetDC screen(nullptr);
    const AutoDeleteFont font(CreateFaceFont(faceName, 16, false));
    if (own.empty() || !screen || !font) return false;
    const ScopedSelectObject selected(screen.get(), font.get());
    std::vector<std::uint8_t> drawn(own.size());
    return GetFontData(screen.get(), kHeadTag, 0, drawn.data(), DWORD(drawn.size())) == drawn.size() && drawn == own;
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
    const std::vector<PlacedGlyph> placed = PlaceGlyphs(runs, down, fonts, origin);
    if (!down && !fonts.fromOutlines && !fonts.color) DrawAcross(dc, placed, origin.y);
    else DrawEach(dc, placed, fonts);
    SelectObject(dc, previous);
    SetBkMode(dc, mode);
    SetTextAlign(dc, align);
}

}  // namespace tavrel
