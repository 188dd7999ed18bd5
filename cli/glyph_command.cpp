#include <algorithm>
#include <charconv>
#include <cstdio>

#include "cmap_table.h"
#include "commands.h"
#include "face_report_fields.h"
#include "face_tables.h"
#include "glyph_outline.h"
#include "open_font.h"
#include "unicode_text.h"

namespace tavrel {

namespace {

// The glyph the face's best Unicode cmap subtable gives `c`.
Result<std::uint32_t> GlyphOf(Bytes image, std::uint64_t offsetTable, char32_t c) {
    Problems problems;
    const FaceTables tables(image, offsetTable, problems);
    const auto mappings = ReadCmapMappings(tables.Find(Tag("cmap")), problems);
    if (!mappings) return Failure{"the font has no readable Unicode cmap subtable"};
    const auto found = std::lower_bound(mappings->begin(), mappings->end(), c,
                                        [](const CodePointGlyph& m, char32_t value) { return m.codePoint < value; });
    if (found == mappings->end() || found->codePoint != c) return Failure{"the font has no glyph for " + CodePointText(c)};
    return found->glyph;
}

std::string Number(float value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

std::string Describe(std::uint32_t glyph, std::int32_t advance, const std::optional<OutlineBounds>& bounds, bool json) {
    std::string box = bounds ? Number(bounds->xMin) + (json ? ", " : " ") + Number(bounds->yMin) + (json ? ", " : " ") +
                                   Number(bounds->xMax) + (json ? ", " : " ") + Number(bounds->yMax)
                             : std::string(json ? "null" : "none");
    if (json)
        return "{\"glyph\": " + std::to_string(glyph) + ", \"advance\": " + std::to_string(advance) +
               ", \"bounds\": " + (bounds ? "[" + box + "]" : box) + "}\n";
    return "glyph " + std::to_string(glyph) + "\nadvance " + std::to_string(advance) + "\nbounds " + box + "\n";
}

}  // namespace

int RunGlyphCommand(const GlyphCommandOptions& options) {
    auto font = OpenFont(options.file);
    const auto fail = [&](const std::string& reason) {
        ReportFile(options.file, reason);
        return 1;
    };
    if (!font) return fail(font.reason());
    auto at = FindFace(font.value(), options.member);
    if (!at) return fail(at.reason());
    std::size_t first = 0;
    if (options.text.empty()) return fail("the text is empty");
    auto glyph = GlyphOf(font->RegisteredBytes(), at->offsetTable, NextUtf8(options.text, first));
    if (!glyph) return fail(glyph.reason());
    auto face = ShapingFace::Open(font->RegisteredBytes(), at->index);
    if (!face) return fail(face.reason());
    face->SetVariations(options.variations);
    const std::vector<PathCommand> outline = DrawGlyphOutline(face.value(), glyph.value());
    if (options.svg) Print(OutlineSvg(outline));
    else Print(Describe(glyph.value(), face->HorizontalAdvance(glyph.value()), OutlineBoundsOf(outline), options.json));
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tavrel
