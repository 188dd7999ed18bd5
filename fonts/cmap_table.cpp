#include "cmap_table.h"

#include <algorithm>
#include <tuple>

namespace tavrel {

namespace {

constexpr std::uint32_t kCmapTag = Tag("cmap");
constexpr std::size_t kEncodingRecordSize = 8;
constexpr char32_t kFirstSurrogate = 0xD800, kLastSurrogate = 0xDFFF;

struct Encoding {
    std::uint16_t platform, encoding;
};
constexpr Encoding kPreference[] = {{3, 10}, {0, 6}, {0, 4}, {3, 1}, {0, 3}, {0, 2}, {0, 1}, {0, 0}};

// A run of code points [first, last], all mapped to `glyph` (format 13) or to
// consecutive glyphs from it (format 12).
struct Group {
    std::uint32_t first, last, glyph;
};

char32_t CodePointOf(char32_t codePoint) { return codePoint; }
char32_t CodePointOf(const CmapGlyph& mapped) { return mapped.codePoint; }
void Append(std::vector<char32_t>& out, char32_t codePoint, std::uint32_t) { out.push_back(codePoint); }
void Append(std::vector<CmapGlyph>& out, char32_t codePoint, std::uint32_t glyph) { out.push_back({codePoint, glyph}); }

// Collects code points (alone, or with their glyphs) in ascending order, each
// once, as the formats' runs and arrays produce them: Add never goes back
// below what it has.
template <class Entry>
class CodePointList {
public:
    explicit CodePointList(std::vector<Entry>& out) : out_(out) {}
    void Add(std::uint32_t codePoint, std::uint32_t glyph) {
        if (codePoint > kLastCodePoint || (codePoint >= kFirstSurrogate && codePoint <= kLastSurrogate)) return;
        if (!out_.empty() && codePoint <= CodePointOf(out_.back())) return;
        Append(out_, static_cast<char32_t>(codePoint), glyph);
    }

private:
    std::vector<Entry>& out_;
};

struct Subtable {
    std::size_t index;
    Bytes bytes;
};

std::string Damage(const Subtable& subtable, std::string_view what) {
    return TableProblem(kCmapTag, "subtable " + std::to_string(subtable.index) + " " + std::string(what));
}

// Format 4: each code point belongs to the first segment whose end is not
// below it, so one pass over the segments decides every code point once,
// however they overlap.
template <class Entry>
bool ReadFormat4(const Subtable& table, std::vector<Entry>& out, Problems& problems) {
    std::uint16_t segCountX2 = 0;
    ReadU16BE(table.bytes, 6, segCountX2);
    const std::size_t segments = segCountX2 / 2, ends = 14, starts = 16 + 2 * segments;
    const std::size_t deltas = starts + 2 * segments, rangeOffsets = deltas + 2 * segments;
    if (!RangeInside(rangeOffsets, 2 * segments, table.bytes.size())) {
        problems.push_back(Damage(table, "has more segments than bytes"));
        return false;
    }
    CodePointList<Entry> list(out);
    std::uint32_t next = 0;
    bool glyphsOutside = false;
    for (std::size_t s = 0; s < segments && next <= 0xFFFF; ++s) {
        std::uint16_t end = 0, start = 0, delta = 0, rangeOffset = 0;
        ReadU16BE(table.bytes, ends + 2 * s, end);
        ReadU16BE(table.bytes, starts + 2 * s, start);
        ReadU16BE(table.bytes, deltas + 2 * s, delta);
        ReadU16BE(table.bytes, rangeOffsets + 2 * s, rangeOffset);
        for (std::uint32_t c = std::max<std::uint32_t>(next, start); c <= end; ++c) {
            std::uint16_t glyph = 0;
            if (rangeOffset == 0) {
                glyph = static_cast<std::uint16_t>(c + delta);
            } else if (ReadU16BE(table.bytes, rangeOffsets + 2 * s + rangeOffset + 2 * std::uint64_t{c - start}, glyph)) {
                if (glyph != 0) glyph = static_cast<std::uint16_t>(glyph + delta);
            } else {
                glyphsOutside = true;
            }
            if (glyph != 0) list.Add(c, glyph);
        }
        next = std::max<std::uint32_t>(next, std::uint32_t{end} + 1);
    }
    if (glyphsOutside) problems.push_back(Damage(table, "maps code points to glyph indices outside it"));
    return true;
}

// Formats 6 and 10: a run of glyph indices for consecutive code points.
template <class Entry>
bool ReadTrimmed(const Subtable& table, std::uint64_t first, std::uint64_t count, std::size_t glyphsAt,
                 std::vector<Entry>& out, Problems& problems) {
    if (!RangeInside(glyphsAt, 2 * count, table.bytes.size())) {
        problems.push_back(Damage(table, "has more glyph indices than bytes"));
        return false;
    }
    CodePointList<Entry> list(out);
    for (std::uint64_t i = 0; i < count && first + i <= kLastCodePoint; ++i) {
        std::uint16_t glyph = 0;
        ReadU16BE(table.bytes, glyphsAt + 2 * i, glyph);
        if (glyph != 0) list.Add(static_cast<std::uint32_t>(first + i), glyph);
    }
    return true;
}

template <class Entry>
bool ReadFormat6(const Subtable& table, std::vector<Entry>& out, Problems& problems) {
    std::uint16_t first = 0, count = 0;
    ReadU16BE(table.bytes, 6, first);
    ReadU16BE(table.bytes, 8, count);
    // Format 6 codes are 16-bit: a run past U+FFFF is cut there.
    return ReadTrimmed(table, first, std::min<std::uint32_t>(count, 0x10000u - first), 10, out, problems);
}

template <class Entry>
bool ReadFormat10(const Subtable& table, std::vector<Entry>& out, Problems& problems) {
    std::uint32_t first = 0, count = 0;
    ReadU32BE(table.bytes, 12, first);
    ReadU32BE(table.bytes, 16, count);
    return ReadTrimmed(table, first, count, 20, out, problems);
}

// Formats 12 and 13: groups, sorted by their first code point and then swept
// once, so overlapping groups cost no more than disjoint ones.
template <class Entry>
bool ReadGroups(const Subtable& table, bool sameGlyph, std::vector<Entry>& out, Problems& problems) {
    std::uint32_t count = 0;
    ReadU32BE(table.bytes, 12, count);
    if (!RangeInside(16, 12 * std::uint64_t{count}, table.bytes.size())) {
        problems.push_back(Damage(table, "has more groups than bytes"));
        return false;
    }
    std::vector<Group> groups;
    groups.reserve(count);
    for (std::uint32_t g = 0; g < count; ++g) {
        ByteReader reader(table.bytes, 16 + 12 * std::size_t{g});
        Group group{};
        reader.ReadU32(group.first);
        reader.ReadU32(group.last);
        reader.ReadU32(group.glyph);
        if (group.first <= group.last && group.first <= kLastCodePoint) groups.push_back(group);
    }
    std::sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        return std::tie(a.first, a.last, a.glyph) < std::tie(b.first, b.last, b.glyph);
    });
    // Each code point is decided by the first group that reaches it; counted
    // first, so the list is allocated once.
    const auto sweep = [&groups](auto visit) {
        std::uint32_t next = 0;
        for (const Group& group : groups) {
            const std::uint32_t last = std::min<std::uint32_t>(group.last, kLastCodePoint);
            for (std::uint32_t c = std::max(next, group.first); c <= last; ++c) visit(group, c);
            next = std::max(next, last + 1);
        }
    };
    std::size_t total = 0;
    sweep([&total](const Group&, std::uint32_t) { ++total; });
    out.reserve(total);
    CodePointList<Entry> list(out);
    sweep([&list, sameGlyph](const Group& group, std::uint32_t c) {
        const std::uint32_t glyph = sameGlyph ? group.glyph : group.glyph + (c - group.first);
        if (glyph != 0) list.Add(c, glyph);
    });
    return true;
}

template <class Entry>
bool ReadSubtable(const Subtable& table, std::vector<Entry>& out, Problems& problems) {
    std::uint16_t format = 0;
    ReadU16BE(table.bytes, 0, format);
    switch (format) {
        case 4: return ReadFormat4(table, out, problems);
        case 6: return ReadFormat6(table, out, problems);
        case 10: return ReadFormat10(table, out, problems);
        case 12: return ReadGroups(table, false, out, problems);
        case 13: return ReadGroups(table, true, out, problems);
        default: return false;
    }
}

// The subtable's bytes as its own length field states them.
bool LocateSubtable(Bytes cmap, std::size_t index, std::uint32_t offset, Subtable& table, Problems& problems) {
    table.index = index;
    std::uint16_t format = 0, shortLength = 0;
    std::uint32_t length = 0;
    if (!ReadU16BE(cmap, offset, format)) {
        problems.push_back(Damage(table, "starts past the end of the table"));
        return false;
    }
    if (format != 4 && format != 6 && format != 10 && format != 12 && format != 13) return false;
    const bool wide = format >= 8;
    const bool read = wide ? ReadU32BE(cmap, std::uint64_t{offset} + 4, length)
                           : ReadU16BE(cmap, std::uint64_t{offset} + 2, shortLength);
    if (!wide) length = shortLength;
    if (!read || !RangeInside(offset, length, cmap.size())) {
        problems.push_back(Damage(table, "extends past the table"));
        return false;
    }
    table.bytes = cmap.subspan(offset, length);
    return true;
}

template <class Entry>
std::optional<std::vector<Entry>> ReadBestSubtable(Bytes cmap, Problems& problems) {
    std::uint16_t count = 0;
    if (!ReadU16BE(cmap, 2, count)) {
        problems.push_back(TableProblem(kCmapTag, "the header extends past the table"));
        return std::nullopt;
    }
    if (!RangeInside(4, kEncodingRecordSize * std::uint64_t{count}, cmap.size())) {
        problems.push_back(TableProblem(kCmapTag, "the encoding records extend past the table"));
        count = static_cast<std::uint16_t>((cmap.size() - 4) / kEncodingRecordSize);
    }
    for (const Encoding& wanted : kPreference) {
        for (std::uint16_t i = 0; i < count; ++i) {
            ByteReader reader(cmap, 4 + kEncodingRecordSize * std::size_t{i});
            std::uint16_t platform = 0, encoding = 0;
            std::uint32_t offset = 0;
            reader.ReadU16(platform);
            reader.ReadU16(encoding);
            reader.ReadU32(offset);
            if (platform != wanted.platform || encoding != wanted.encoding) continue;
            Subtable table{};
            std::vector<Entry> mapped;
            if (LocateSubtable(cmap, i, offset, table, problems) && ReadSubtable(table, mapped, problems))
                return mapped;
            break;  // the first record of an encoding decides for it
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<char32_t>> ReadCmapCodePoints(Bytes cmap, Problems& problems) {
    return ReadBestSubtable<char32_t>(cmap, problems);
}

std::optional<std::vector<CmapGlyph>> ReadCmapGlyphs(Bytes cmap, Problems& problems) {
    return ReadBestSubtable<CmapGlyph>(cmap, problems);
}

}  // namespace tavrel
