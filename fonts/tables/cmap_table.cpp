#include "cmap_table.h"

#include <algorithm>
#include <array>
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

// Hands mappings on in ascending order, each code point once, as the formats'
// runs and arrays produce them: Add never goes back below what it has passed.
// They go on in batches, the last when the list goes out of scope.
class MappingList {
public:
    explicit MappingList(CmapVisitor& out) : out_(out) {}
    MappingList(const MappingList&) = delete;
    MappingList& operator=(const MappingList&) = delete;
    ~MappingList() { Flush(); }

    void Add(std::uint32_t codePoint, std::uint32_t glyph) {
        if (glyph == 0 || codePoint > kLastCodePoint || (codePoint >= kFirstSurrogate && codePoint <= kLastSurrogate)) return;
        if (any_ && codePoint <= last_) return;
        any_ = true;
        last_ = codePoint;
        batch_[size_++] = {static_cast<char32_t>(codePoint), glyph};
        if (size_ == batch_.size()) Flush();
    }

private:
    void Flush() {
        if (size_ != 0) out_.Map(std::span(batch_.data(), size_));
        size_ = 0;
    }

    CmapVisitor& out_;
    bool any_ = false;
    std::uint32_t last_ = 0;
    std::array<CodePointGlyph, 256> batch_;
    std::size_t size_ = 0;
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
bool ReadFormat4(const Subtable& table, CmapVisitor& out, Problems& problems) {
    std::uint16_t segCountX2 = 0;
    ReadU16BE(table.bytes, 6, segCountX2);
    const std::size_t segments = segCountX2 / 2, ends = 14, starts = 16 + 2 * segments;
    const std::size_t deltas = starts + 2 * segments, rangeOffsets = deltas + 2 * segments;
    if (!RangeInside(rangeOffsets, 2 * segments, table.bytes.size())) {
        problems.push_back(Damage(table, "has more segments than bytes"));
        return false;
    }
    MappingList list(out);
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
            list.Add(c, glyph);
        }
        next = std::max<std::uint32_t>(next, std::uint32_t{end} + 1);
    }
    if (glyphsOutside) problems.push_back(Damage(table, "maps code points to glyph indices outside it"));
    return true;
}

// Formats 6 and 10: a run of glyph indices for consecutive code points.
bool ReadTrimmed(const Subtable& table, std::uint64_t first, std::uint64_t count, std::size_t glyphsAt,
                 CmapVisitor& out, Problems& problems) {
    if (!RangeInside(glyphsAt, 2 * count, table.bytes.size())) {
        problems.push_back(Damage(table, "has more glyph indices than bytes"));
        return false;
    }
    MappingList list(out);
    for (std::uint64_t i = 0; i < count && first + i <= kLastCodePoint; ++i) {
        std::uint16_t glyph = 0;
        ReadU16BE(table.bytes, glyphsAt + 2 * i, glyph);
        list.Add(static_cast<std::uint32_t>(first + i), glyph);
    }
    return true;
}

bool ReadFormat6(const Subtable& table, CmapVisitor& out, Problems& problems) {
    std::uint16_t first = 0, count = 0;
    ReadU16BE(table.bytes, 6, first);
    ReadU16BE(table.bytes, 8, count);
    // Format 6 codes are 16-bit: a run past U+FFFF is cut there.
    return ReadTrimmed(table, first, std::min<std::uint32_t>(count, 0x10000u - first), 10, out, problems);
}

bool ReadFormat10(const Subtable& table, CmapVisitor& out, Problems& problems) {
    std::uint32_t first = 0, count = 0;
    ReadU32BE(table.bytes, 12, first);
    ReadU32BE(table.bytes, 16, count);
    return ReadTrimmed(table, first, count, 20, out, problems);
}

// Formats 12 and 13: groups, sorted by their first code point and then swept
// once, so overlapping groups cost no more than disjoint ones.
bool ReadGroups(const Subtable& table, bool sameGlyph, CmapVisitor& out, Problems& problems) {
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
    // A sound font stores its groups sorted already; checking costs less than sorting.
    const auto before = [](const Group& a, const Group& b) {
        return std::tie(a.first, a.last, a.glyph) < std::tie(b.first, b.last, b.glyph);
    };
    if (!std::is_sorted(groups.begin(), groups.end(), before)) std::sort(groups.begin(), groups.end(), before);
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
    out.Reserve(total);
    MappingList list(out);
    sweep([&list, sameGlyph](const Group& group, std::uint32_t c) {
        list.Add(c, sameGlyph ? group.glyph : group.glyph + (c - group.first));
    });
    return true;
}

bool ReadSubtable(const Subtable& table, CmapVisitor& out, Problems& problems) {
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

}  // namespace

std::optional<CmapRecord> FindCmapRecord(Bytes cmap, std::uint16_t platform, std::uint16_t encoding) {
    std::uint16_t count = 0;
    ReadU16BE(cmap, 2, count);
    for (std::uint16_t i = 0; i < count; ++i) {
        ByteReader reader(cmap, 4 + kEncodingRecordSize * std::size_t{i});
        std::uint16_t recordPlatform = 0, recordEncoding = 0;
        std::uint32_t offset = 0;
        if (!reader.ReadU16(recordPlatform) || !reader.ReadU16(recordEncoding) || !reader.ReadU32(offset)) break;
        if (recordPlatform == platform && recordEncoding == encoding) return CmapRecord{i, offset};
    }
    return std::nullopt;
}

bool VisitCmapMappings(Bytes cmap, CmapVisitor& visitor, Problems& problems) {
    std::uint16_t count = 0;
    if (!ReadU16BE(cmap, 2, count)) {
        problems.push_back(TableProblem(kCmapTag, "the header extends past the table"));
        return false;
    }
    if (!RangeInside(4, kEncodingRecordSize * std::uint64_t{count}, cmap.size()))
        problems.push_back(TableProblem(kCmapTag, "the encoding records extend past the table"));
    for (const Encoding& wanted : kPreference) {
        const auto record = FindCmapRecord(cmap, wanted.platform, wanted.encoding);
        Subtable table{};
        // The first record of an encoding decides for it. Every check comes
        // before the first mapping, so a subtable given up on has visited none.
        if (record && LocateSubtable(cmap, record->index, record->offset, table, problems) &&
            ReadSubtable(table, visitor, problems))
            return true;
    }
    return false;
}

std::optional<std::vector<CodePointGlyph>> ReadCmapMappings(Bytes cmap, Problems& problems) {
    struct Collect : CmapVisitor {
        std::vector<CodePointGlyph> mappings;
        void Reserve(std::size_t count) override { mappings.reserve(count); }
        void Map(std::span<const CodePointGlyph> batch) override { mappings.insert(mappings.end(), batch.begin(), batch.end()); }
    } collect;
    if (!VisitCmapMappings(cmap, collect, problems)) return std::nullopt;
    return std::move(collect.mappings);
}

std::optional<std::vector<char32_t>> ReadCmapCodePoints(Bytes cmap, Problems& problems) {
    struct Collect : CmapVisitor {
        std::vector<char32_t> codePoints;
        void Reserve(std::size_t count) override { codePoints.reserve(count); }
        void Map(std::span<const CodePointGlyph> batch) override {
            for (const CodePointGlyph& mapping : batch) codePoints.push_back(mapping.codePoint);
        }
    } collect;
    if (!VisitCmapMappings(cmap, collect, problems)) return std::nullopt;
    return std::move(collect.codePoints);
}

}  // namespace tavrel
