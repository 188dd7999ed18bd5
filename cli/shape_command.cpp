#include <cstdio>

#include "commands.h"
#include "open_font.h"
#include "shaper.h"
#include "unicode_text.h"

namespace tavrel {

namespace {

std::u32string CodePoints(std::string_view utf8) {
    std::u32string text;
    for (std::size_t i = 0; i < utf8.size();) text += NextUtf8(utf8, i);
    return text;
}

// As `hb-shape --output-format=json --no-glyph-names` prints them.
void PrintJson(const std::vector<ShapedGlyph>& glyphs) {
    std::fputs("[", stdout);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const ShapedGlyph& g = glyphs[i];
        std::printf("%s{\"g\":%u,\"cl\":%u,\"dx\":%d,\"dy\":%d,\"ax\":%d,\"ay\":%d}", i ? "," : "", g.glyph, g.cluster,
                    g.xOffset, g.yOffset, g.xAdvance, g.yAdvance);
    }
    std::fputs("]\n", stdout);
}

void PrintLines(const std::vector<ShapedGlyph>& glyphs) {
    for (const ShapedGlyph& g : glyphs)
        std::printf("glyph %u  cluster %u  advance %d,%d  offset %d,%d\n", g.glyph, g.cluster, g.xAdvance,
                    g.yAdvance, g.xOffset, g.yOffset);
}

}  // namespace

int RunShapeCommand(const ShapeCommandOptions& options) {
    auto font = OpenFont(options.file);
    if (!font) {
        ReportFile(options.file, font.reason());
        return 1;
    }
    auto at = FindFace(font.value(), options.member);
    auto face = at ? ShapingFace::Open(font->RegisteredBytes(), at->index) : Result<ShapingFace>(Failure{at.reason()});
    if (!face) {
        ReportFile(options.file, face.reason());
        return 1;
    }
    face->SetVariations(options.variations);
    ShapeOptions shape = options.shape;
    shape.features = options.features;
    auto glyphs = ShapeText(face.value(), CodePoints(options.text), shape);
    if (!glyphs) {
        ReportFile(options.file, glyphs.reason());
        return 1;
    }
    if (options.json) PrintJson(glyphs.value());
    else PrintLines(glyphs.value());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tavrel
