#include "character_glyphs.h"

#include <algorithm>

#include "cff_table.h"
#include "face_tables.h"

namespace tavrel {

FaceCharacterGlyphs ReadFaceCharacterGlyphs(Bytes image, std::uint64_t offsetTable) {
    Problems problems;
    const FaceTables tables(image, offsetTable, problems);
    FaceCharacterGlyphs face;
    const Bytes cmap = tables.Find(Tag("cmap"));
    if (auto mappings = ReadCmapMappings(cmap, problems)) face.mappings = std::move(*mappings);
    if (auto sequences = ReadVariationSequences(cmap, face.mappings, problems)) face.sequences = std::move(*sequences);
    if (auto cids = ReadCffCids(tables.Find(Tag("CFF ")))) face.cids = std::move(*cids);
    return face;
}

CharacterGlyphs GlyphsOfCharacter(const FaceCharacterGlyphs& face, char32_t base, std::optional<char32_t> selector) {
    CharacterGlyphs found;
    const auto mapped = std::lower_bound(face.mappings.begin(), face.mappings.end(), base,
                                         [](const CodePointGlyph& m, char32_t value) { return m.codePoint < value; });
    if (mapped != face.mappings.end() && mapped->codePoint == base) found.glyph = mapped->glyph;
    for (const VariationSequence& s : face.sequences) {
        if (s.base != base) continue;
        found.sequences.push_back(s);
        if (selector == s.selector && !s.isDefault) found.glyph = s.glyph;
    }
    std::sort(found.sequences.begin(), found.sequences.end(),
              [](const VariationSequence& a, const VariationSequence& b) { return a.selector < b.selector; });
    if (found.glyph && *found.glyph < face.cids.size()) found.cid = face.cids[*found.glyph];
    return found;
}

}  // namespace tavrel
