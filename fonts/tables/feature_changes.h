#pragma once
// What each OpenType feature of a face changes: the characters whose glyph a
// single or alternate substitution of the feature replaces, or a single
// adjustment moves.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "cmap_table.h"
#include "face_tables.h"

namespace tavrel {

// The tables a face's feature changes come from, each when the face has it.
// Glyph ids at or past `glyphCount` (maxp's) change nothing.
struct LayoutTables {
    std::optional<Bytes> gsub, gpos;
    std::uint32_t glyphCount = 0x10000;
};

struct CharacterChange {
    char32_t character;
    std::uint16_t glyph;  // the glyph it becomes; for an adjustment, its own
};

// How many characters map to each glyph id below a glyph count: a byte per
// glyph, and apart the few glyphs that 255 or more characters share.
class CharactersPerGlyph {
public:
    explicit CharactersPerGlyph(std::uint32_t glyphCount = 0);
    CharactersPerGlyph(std::span<const CodePointGlyph> mappings, std::uint32_t glyphCount);
    void Add(std::uint32_t glyph) {
        if (glyph >= counts_.size()) return;
        if (counts_[glyph] < 255) ++counts_[glyph];
        else ++beyond_[static_cast<std::uint16_t>(glyph)];
    }
    std::uint32_t Of(std::uint16_t glyph) const;  // 0 at or past the glyph count

private:
    std::vector<std::uint8_t> counts_;
    std::map<std::uint16_t, std::uint32_t> beyond_;  // what passes 255
};

// The characters of `mappings` whose glyph `tag` changes, ascending: in any
// lookup of any of its feature records (of any script and language), a single
// substitution (GSUB type 1) or the first alternate of an alternate
// substitution (type 3) that replaces the glyph by another one, or a single
// adjustment (GPOS type 1) whose placement or advance is not zero; extension
// lookups are followed once. With each, the glyph the lowest such lookup gives
// it (GSUB before GPOS). A lookup, subtable or coverage leaving its table
// changes nothing and adds a problem line.
std::vector<CharacterChange> ReadFeatureChanges(const LayoutTables& tables, std::span<const CodePointGlyph> mappings,
                                                std::uint32_t tag, Problems& problems);

// Every feature tag of both tables, sorted, each once (the tags of records
// whose feature table lies inside its table), with how many characters it
// changes, as ReadFeatureChanges counts them. Each lookup is read once. A damaged feature list
// is a problem line, as are damaged lookups, and lookups left out when the
// tables ask for more work than their size justifies.
std::vector<std::pair<std::uint32_t, std::size_t>> CountFeatureChanges(const LayoutTables& tables,
                                                                       const CharactersPerGlyph& characters,
                                                                       Problems& problems);

}  // namespace tavrel
