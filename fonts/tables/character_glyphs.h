#pragma once
// What one face gives a character: its glyph through the best Unicode cmap
// subtable (or through a variation sequence), the glyph's CID in a CID-keyed
// CFF, and the character's variation sequences.

#include <cstdint>
#include <optional>
#include <vector>

#include "cmap_table.h"
#include "variation_sequences.h"

namespace tavrel {

// The face's tables read once for any number of characters.
struct FaceCharacterGlyphs {
    std::vector<CodePointGlyph> mappings;      // ascending
    std::vector<VariationSequence> sequences;  // in the subtable's order
    std::vector<std::uint16_t> cids;           // by glyph; empty unless the CFF is CID-keyed
};

// Damaged tables leave their part empty.
FaceCharacterGlyphs ReadFaceCharacterGlyphs(Bytes image, std::uint64_t offsetTable);

struct CharacterGlyphs {
    std::optional<std::uint32_t> glyph, cid;
    std::vector<VariationSequence> sequences;  // the base's, by selector
};

// The base's glyph, or with a selector the sequence's glyph where the face has that sequence.
CharacterGlyphs GlyphsOfCharacter(const FaceCharacterGlyphs& face, char32_t base, std::optional<char32_t> selector);

}  // namespace tavrel
