#include "face_glyphs.h"

#include <algorithm>
#include <string>

namespace tavrel {

namespace {

constexpr DWORD kCmapTag = 0x70616D63;  // "cmap" as GetFontData reads a tag
constexpr DWORD kLargestCmap = 32u << 20;

// Characters, or glyph indices, drawn in one call.
struct Run {
    bool byGlyph;
    std::wstring units;
};

char32_t NextCodePoint(std::wstring_view text, std::size_t& i) {
    const wchar_t unit = text[i++];
    if (unit >= 0xD800 && unit <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF)
        return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i++]) - 0xDC00);
    return unit;
}

std::vector<Run> RunsOf(std::wstring_view text, const FaceGlyphs& glyphs) {
    std::vector<Run> runs;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t codePoint = NextCodePoint(text, i);
        const auto glyph = glyphs.Find(codePoint);
        const bool byGlyph = !glyph || codePoint > 0xFFFF;
        if (runs.empty() || runs.back().byGlyph != byGlyph) runs.push_back({byGlyph, {}});
        runs.back().units += static_cast<wchar_t>(byGlyph ? glyph.value_or(0) : codePoint);
    }
    return runs;
}

void DrawRun(HDC dc, int x, int y, const Run& run) {
    ExtTextOutW(dc, x, y, run.byGlyph ? ETO_GLYPH_INDEX : 0, nullptr, run.units.data(),
                static_cast<UINT>(run.units.size()), nullptr);
}

}  // namespace

FaceGlyphs::FaceGlyphs(HDC dc) {
    const DWORD size = GetFontData(dc, kCmapTag, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0 || size > kLargestCmap) return;
    std::vector<std::uint8_t> cmap(size);
    if (GetFontData(dc, kCmapTag, 0, cmap.data(), size) != size) return;
    Problems ignored;
    mapped_ = ReadCmapMappings(cmap, ignored).value_or(std::vector<CodePointGlyph>{});
}

std::optional<WORD> FaceGlyphs::Find(char32_t codePoint) const {
    const auto found = std::lower_bound(mapped_.begin(), mapped_.end(), codePoint,
                                        [](const CodePointGlyph& mapped, char32_t wanted) { return mapped.codePoint < wanted; });
    if (found == mapped_.end() || found->codePoint != codePoint || found->glyph > 0xFFFF) return std::nullopt;
    return static_cast<WORD>(found->glyph);
}

void DrawFaceText(HDC dc, int x, int y, std::wstring_view text, const FaceGlyphs& glyphs) {
    const std::vector<Run> runs = RunsOf(text, glyphs);
    if (runs.size() == 1) return DrawRun(dc, x, y, runs.front());
    // Each run from where the last one ended, along the escapement.
    const UINT align = GetTextAlign(dc);
    SetTextAlign(dc, (align & ~(TA_CENTER | TA_RIGHT)) | TA_UPDATECP);
    POINT before{};
    MoveToEx(dc, x, y, &before);
    for (const Run& run : runs) DrawRun(dc, 0, 0, run);
    MoveToEx(dc, before.x, before.y, nullptr);
    SetTextAlign(dc, align);
}

int MeasureFaceText(HDC dc, std::wstring_view text, const FaceGlyphs& glyphs) {
    int advance = 0;
    for (Run& run : RunsOf(text, glyphs)) {
        SIZE size{};
        const int count = static_cast<int>(run.units.size());
        if (run.byGlyph)
            GetTextExtentPointI(dc, reinterpret_cast<WORD*>(run.units.data()), count, &size);
        else
            GetTextExtentPoint32W(dc, run.units.data(), count, &size);
        advance += size.cx;
    }
    return advance;
}

}  // namespace tavrel
