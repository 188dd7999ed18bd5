#include "variation_sequences.h"

#include <algorithm>
#include <string>

namespace tavrel {

namespace {

constexpr std::uint32_t kCmapTag = Tag("cmap");
constexpr std::size_t kHeaderSize = 10, kRecordSize = 11, kRangeSize = 4, kMappingSize = 5;
constexpr std::uint64_t kMaxListed = 1 << 20;

struct Selector {
    char32_t selector;
    std::uint32_t defaultAt, nonDefaultAt;  // from the start of the subtable; 0 for none
    std::uint32_t ranges = 0, mappings = 0;
    std::uint64_t defaults = 0;  // the sequences its ranges hold
};

bool ReadU24BE(Bytes bytes, std::uint64_t at, std::uint32_t& value) {
    std::uint16_t high = 0;
    if (!ReadU16BE(bytes, at, high) || !RangeInside(at + 2, 1, bytes.size())) return false;
    value = std::uint32_t{high} << 8 | bytes[at + 2];
    return true;
}

// The count at `at` of entries of `size` bytes that follow it, when they all lie inside `bytes`.
bool ReadArray(Bytes bytes, std::uint32_t at, std::size_t size, std::uint32_t& count) {
    return ReadU32BE(bytes, at, count) && RangeInside(std::uint64_t{at} + 4, size * std::uint64_t{count}, bytes.size());
}

// Sums each default table's ranges once however many selectors share it.
// Tables that overlap without being the same one are damage: they could make
// a few bytes count again and again.
bool CountDefaults(Bytes table, std::vector<Selector>& selectors) {
    std::vector<Selector*> order;
    for (Selector& s : selectors)
        if (s.defaultAt != 0) order.push_back(&s);
    std::sort(order.begin(), order.end(), [](const Selector* a, const Selector* b) { return a->defaultAt < b->defaultAt; });
    std::uint64_t end = 0, sum = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        Selector& s = *order[i];
        if (i == 0 || s.defaultAt != order[i - 1]->defaultAt) {
            if (s.defaultAt < end) return false;
            end = std::uint64_t{s.defaultAt} + 4 + kRangeSize * std::uint64_t{s.ranges};
            sum = 0;
            for (std::uint32_t r = 0; r < s.ranges; ++r) sum += 1u + table[s.defaultAt + 4 + kRangeSize * std::size_t{r} + 3];
        }
        s.defaults = sum;
    }
    return true;
}

// The selector records of the (0,5) subtable, each table they point to inside
// it: `table` is set to the subtable. None without one; absent when damaged.
std::optional<std::vector<Selector>> ReadSelectors(Bytes cmap, Bytes& table, Problems& problems) {
    const auto record = FindCmapRecord(cmap, 0, 5);
    if (!record) return std::vector<Selector>{};
    const auto damaged = [&](const std::string& what) {
        problems.push_back(TableProblem(kCmapTag, "subtable " + std::to_string(record->index) + " " + what));
        return std::nullopt;
    };
    std::uint16_t format = 0;
    std::uint32_t length = 0, count = 0;
    if (!ReadU16BE(cmap, record->offset, format) || !ReadU32BE(cmap, std::uint64_t{record->offset} + 2, length) ||
        !RangeInside(record->offset, length, cmap.size()))
        return damaged("extends past the table");
    if (format != 14) return damaged("of variation sequences is format " + std::to_string(format));
    table = cmap.subspan(record->offset, length);
    if (!ReadU32BE(table, 6, count) || !RangeInside(kHeaderSize, kRecordSize * std::uint64_t{count}, table.size()))
        return damaged("has more selector records than bytes");
    std::vector<Selector> selectors(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        Selector& s = selectors[i];
        const std::uint64_t at = kHeaderSize + kRecordSize * std::uint64_t{i};
        std::uint32_t selector = 0;
        ReadU24BE(table, at, selector), ReadU32BE(table, at + 3, s.defaultAt), ReadU32BE(table, at + 7, s.nonDefaultAt);
        s.selector = selector;
        if ((s.defaultAt != 0 && !ReadArray(table, s.defaultAt, kRangeSize, s.ranges)) ||
            (s.nonDefaultAt != 0 && !ReadArray(table, s.nonDefaultAt, kMappingSize, s.mappings)))
            return damaged("has a selector's sequences leaving it");
    }
    if (!CountDefaults(table, selectors)) return damaged("has default sequence tables that overlap");
    return selectors;
}

VariationSequenceCounts Counts(const std::vector<Selector>& selectors) {
    VariationSequenceCounts counts;
    for (const Selector& s : selectors) {
        const std::uint64_t sequences = s.defaults + s.mappings;
        counts.total += sequences;
        if (s.selector >= 0xFE00 && s.selector <= 0xFE0F) counts.standardized += sequences;
        if (s.selector >= 0xE0100 && s.selector <= 0xE01EF) counts.ideographic += sequences;
    }
    return counts;
}

std::uint32_t GlyphOf(std::span<const CodePointGlyph> mappings, char32_t c) {
    const auto found = std::lower_bound(mappings.begin(), mappings.end(), c,
                                        [](const CodePointGlyph& m, char32_t value) { return m.codePoint < value; });
    return found != mappings.end() && found->codePoint == c ? found->glyph : 0;
}

void ListSequences(Bytes table, const Selector& s, std::span<const CodePointGlyph> mappings,
                   std::vector<VariationSequence>& out) {
    for (std::uint32_t r = 0; r < s.ranges; ++r) {
        const std::size_t at = s.defaultAt + 4 + kRangeSize * std::size_t{r};
        std::uint32_t first = 0;
        ReadU24BE(table, at, first);
        for (std::uint32_t c = first; c <= first + table[at + 3]; ++c)
            out.push_back({c, s.selector, GlyphOf(mappings, c), true});
    }
    for (std::uint32_t m = 0; m < s.mappings; ++m) {
        const std::size_t at = s.nonDefaultAt + 4 + kMappingSize * std::size_t{m};
        std::uint32_t base = 0;
        std::uint16_t glyph = 0;
        ReadU24BE(table, at, base), ReadU16BE(table, at + 3, glyph);
        out.push_back({base, s.selector, glyph, false});
    }
}

}  // namespace

std::optional<VariationSequenceCounts> CountVariationSequences(Bytes cmap, Problems& problems) {
    Bytes table;
    const auto selectors = ReadSelectors(cmap, table, problems);
    if (!selectors) return std::nullopt;
    return Counts(*selectors);
}

std::optional<std::vector<VariationSequence>> ReadVariationSequences(Bytes cmap, std::span<const CodePointGlyph> mappings,
                                                                     Problems& problems) {
    Bytes table;
    const auto selectors = ReadSelectors(cmap, table, problems);
    if (!selectors) return std::nullopt;
    const std::uint64_t total = Counts(*selectors).total;
    if (total > kMaxListed) {
        problems.push_back(TableProblem(kCmapTag, "variation sequences: " + std::to_string(total) + " are too many to list"));
        return std::nullopt;
    }
    std::vector<VariationSequence> sequences;
    sequences.reserve(total);
    for (const Selector& s : *selectors) ListSequences(table, s, mappings, sequences);
    return sequences;
}

}  // namespace tavrel
