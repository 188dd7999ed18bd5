#pragma once
// The code points of a 'cmap' table's best Unicode subtable, and the glyphs
// they map to.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "face_tables.h"

namespace tavrel {

constexpr char32_t kLastCodePoint = 0x10FFFF;

struct CodePointGlyph {
    char32_t codePoint;
    std::uint32_t glyph;
};

// Receives the mappings of the best subtable, code points ascending, a batch
// at a time.
class CmapVisitor {
public:
    // At most this many mappings follow (only the formats that can hold
    // hundreds of thousands say so).
    virtual void Reserve(std::size_t) {}
    virtual void Map(std::span<const CodePointGlyph> batch) = 0;

protected:
    ~CmapVisitor() = default;
};

// The first readable subtable of formats 4, 6, 10, 12 or 13 among the Unicode
// encodings, in this order: (3,10), (0,6), (0,4), (3,1), (0,3), (0,2), (0,1),
// (0,0). Its code points ascending, each once, without surrogates, those
// mapped to glyph 0 left out. A damaged subtable is a problem line, and the
// next one is tried; false (nothing visited) when none can be read.
bool VisitCmapMappings(Bytes cmap, CmapVisitor& visitor, Problems& problems);
// The same mappings, or only their code points; absent when none can be read.
std::optional<std::vector<CodePointGlyph>> ReadCmapMappings(Bytes cmap, Problems& problems);
std::optional<std::vector<char32_t>> ReadCmapCodePoints(Bytes cmap, Problems& problems);

struct CmapRecord {
    std::uint16_t index;   // among the encoding records
    std::uint32_t offset;  // of its subtable, from the start of the table
};
// The first encoding record of (platform, encoding); records past the end of
// the table are not read.
std::optional<CmapRecord> FindCmapRecord(Bytes cmap, std::uint16_t platform, std::uint16_t encoding);

}  // namespace tavrel
