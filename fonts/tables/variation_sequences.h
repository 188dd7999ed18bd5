#pragma once
// The variation sequences of a 'cmap' table's format 14 subtable (platform 0,
// encoding 5): a base character followed by a variation selector.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "cmap_table.h"
#include "face_tables.h"

namespace tavrel {

struct VariationSequenceCounts {
    std::uint64_t total = 0;
    std::uint64_t standardized = 0;  // selectors U+FE00 to U+FE0F
    std::uint64_t ideographic = 0;   // selectors U+E0100 to U+E01EF
};

struct VariationSequence {
    char32_t base, selector;
    std::uint32_t glyph;
    bool isDefault;  // shown with the base's own glyph
};

// How many sequences the subtable lists: all zero without one; absent, with a
// problem line, when it is damaged (its records, ranges or mappings leaving
// it, or default tables overlapping).
std::optional<VariationSequenceCounts> CountVariationSequences(Bytes cmap, Problems& problems);

// Every sequence, in the subtable's order: selector by selector, default ones
// first. A default sequence has its base's glyph in `mappings` (the best
// subtable's, ascending), 0 when the base is not mapped. Absent when damaged,
// and when it would list more than 2^20 sequences.
std::optional<std::vector<VariationSequence>> ReadVariationSequences(Bytes cmap, std::span<const CodePointGlyph> mappings,
                                                                     Problems& problems);

}  // namespace tavrel
