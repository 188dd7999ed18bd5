#pragma once
// The code points of a 'cmap' table's best Unicode subtable, and their glyphs.

#include <cstdint>
#include <optional>
#include <vector>

#include "face_tables.h"

namespace tavrel {

constexpr char32_t kLastCodePoint = 0x10FFFF;

// The first readable subtable of formats 4, 6, 10, 12 or 13 among the Unicode
// encodings, in this order: (3,10), (0,6), (0,4), (3,1), (0,3), (0,2), (0,1),
// (0,0). Its code points ascending, each once, without surrogates, those
// mapped to glyph 0 left out. A damaged subtable is a problem line, and the
// next one is tried; absent when none can be read.
std::optional<std::vector<char32_t>> ReadCmapCodePoints(Bytes cmap, Problems& problems);

struct CmapGlyph {
    char32_t codePoint;
    std::uint32_t glyph;
};

// The same subtable's code points, each with the glyph it maps to.
std::optional<std::vector<CmapGlyph>> ReadCmapGlyphs(Bytes cmap, Problems& problems);

}  // namespace tavrel
