#include "layout_lookups.h"

#include <algorithm>
#include <bit>

namespace tavrel {

namespace {

constexpr std::uint32_t kUnread = 0xFFFFFFFF;
constexpr std::size_t kLookupHeader = 6, kLookupListOffsetAt = 8;
constexpr std::uint16_t kSingle = 1, kAlternate = 3, kSubstitutionExtension = 7, kAdjustmentExtension = 9;

// A value record's size, and whether its placement or advance fields (the
// first four, each there when its bit is set) are other than zero; device
// and variation offsets move nothing by themselves.
std::size_t ValueRecordSize(std::uint16_t format) { return 2 * static_cast<std::size_t>(std::popcount(format & 0xFFu)); }

bool Moves(Bytes table, std::uint64_t at, std::uint16_t format) {
    for (unsigned bit = 0; bit < 4; ++bit) {
        std::uint16_t value = 0;
        const std::uint64_t field = at + 2 * static_cast<std::uint64_t>(std::popcount(format & ((1u << bit) - 1)));
        if ((format >> bit & 1) && ReadU16BE(table, field, value) && value != 0) return true;
    }
    return false;
}

}  // namespace

LayoutLookups::LayoutLookups(std::uint32_t tag, Bytes table, std::uint32_t glyphCount, bool keepResults, WorkLimit& work,
                             GlyphMarks& marks)
    : tag_(tag),
      substitution_(tag == Tag("GSUB")),
      table_(table),
      glyphCount_(std::min<std::uint32_t>(glyphCount, 0x10000)),
      keepResults_(keepResults),
      work_(work),
      marks_(marks) {}

// The lookup list, read when the first lookup is asked for. A lookup changes
// at most every glyph of the face, and a sound table's lookups together keep
// far fewer changes than the glyph count and one per four bytes of the table:
// the limit on what they may keep.
bool LayoutLookups::ReadList() {
    if (listRead_) return !lookups_.empty();
    listRead_ = true;
    std::uint16_t listOffset = 0, count = 0;
    if (!ReadU16BE(table_, kLookupListOffsetAt, listOffset) ||
        (listOffset != 0 && (!ReadU16BE(table_, listOffset, count) ||
                             !RangeInside(std::uint64_t{listOffset} + 2, 2 * std::uint64_t{count}, table_.size())))) {
        listOutside_ = true;
        return false;
    }
    listAt_ = listOffset;
    lookups_.assign(listOffset == 0 ? 0 : count, Span{kUnread, kUnread});
    limit_ = glyphCount_ + table_.size() / 4;
    return !lookups_.empty();
}

LookupChanges LayoutLookups::Changes(std::uint16_t index) {
    if (!ReadList() || index >= lookups_.size()) return {};
    Span& span = lookups_[index];
    if (span.begin == kUnread) ReadLookup(index, span);
    const std::span<const std::uint16_t> glyphs(glyphs_), results(results_);
    const std::size_t size = span.end - span.begin;
    return {glyphs.subspan(span.begin, size), keepResults_ ? results.subspan(span.begin, size) : results};
}

bool LayoutLookups::FirstInRound(std::uint16_t index, std::uint32_t round) {
    if (!ReadList() || index >= lookups_.size() || lookups_[index].round == round) return false;
    lookups_[index].round = round;
    return true;
}

void LayoutLookups::ReadLookup(std::uint16_t index, Span& span) {
    span.begin = span.end = static_cast<std::uint32_t>(glyphs_.size());
    std::uint16_t offset = 0, type = 0, count = 0;
    ReadU16BE(table_, listAt_ + 2 + 2 * std::uint64_t{index}, offset);
    const std::uint64_t at = listAt_ + offset;
    if (!ReadU16BE(table_, at, type) || !ReadU16BE(table_, at + 4, count) ||
        !RangeInside(at + kLookupHeader, 2 * std::uint64_t{count}, table_.size())) {
        ++lookupsOutside_;
        return;
    }
    marks_.Next();
    for (std::uint16_t i = 0; i < count && work_.Spend(1); ++i) {
        std::uint16_t subtable = 0;
        ReadU16BE(table_, at + kLookupHeader + 2 * std::uint64_t{i}, subtable);
        const std::size_t before = glyphs_.size();
        if (ReadSubtable(at + subtable, type)) continue;
        DropFrom(before);  // a damaged subtable changes nothing
        if (!work_.reached()) ++subtablesOutside_;
    }
    if (work_.reached()) DropFrom(span.begin);
    span.end = static_cast<std::uint32_t>(glyphs_.size());
}

bool LayoutLookups::ReadSubtable(std::uint64_t at, std::uint16_t type) {
    if (type == (substitution_ ? kSubstitutionExtension : kAdjustmentExtension)) {
        std::uint16_t format = 0;
        std::uint32_t offset = 0;
        if (!ReadU16BE(table_, at, format) || !ReadU16BE(table_, at + 2, type) || !ReadU32BE(table_, at + 4, offset))
            return false;
        if (type == kSubstitutionExtension || type == kAdjustmentExtension) return true;  // never an extension of one
        at += offset;
    }
    if (substitution_ && type == kSingle) return ReadSingleSubstitution(at);
    if (substitution_ && type == kAlternate) return ReadAlternateSubstitution(at);
    if (!substitution_ && type == kSingle) return ReadSingleAdjustment(at);
    return true;  // other kinds of lookup change nothing counted here
}

// Calls visit(glyph, coverage index) for the glyphs of the coverage table at
// `at` below the glyph count, each range cut there. False when the table
// leaves the layout table, the work limit is reached or visit says so.
template <class Visit>
bool LayoutLookups::ForEachCovered(std::uint64_t at, Visit visit) {
    std::uint16_t format = 0, count = 0;
    if (!ReadU16BE(table_, at, format) || !ReadU16BE(table_, at + 2, count)) return false;
    const std::size_t entrySize = format == 1 ? 2 : 6;
    if ((format != 1 && format != 2) || !RangeInside(at + 4, entrySize * count, table_.size()) || !work_.Spend(count))
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t first = 0, last = 0, index = 0;
        ReadU16BE(table_, at + 4 + entrySize * i, first);
        if (format == 1) {
            if (first < glyphCount_ && !visit(first, i)) return false;
            continue;
        }
        ReadU16BE(table_, at + 6 + entrySize * i, last);
        ReadU16BE(table_, at + 8 + entrySize * i, index);
        const std::uint32_t end = std::min<std::uint32_t>(last + 1u, glyphCount_);
        if (first >= end) continue;
        if (!work_.Spend(end - first)) return false;
        for (std::uint32_t glyph = first; glyph < end; ++glyph)
            if (!visit(static_cast<std::uint16_t>(glyph), std::uint32_t{index} + (glyph - first))) return false;
    }
    return true;
}

bool LayoutLookups::ReadSingleSubstitution(std::uint64_t at) {
    std::uint16_t format = 0, coverage = 0, field = 0;
    if (!ReadU16BE(table_, at, format) || !ReadU16BE(table_, at + 2, coverage) || !ReadU16BE(table_, at + 4, field))
        return false;
    if (format == 1)  // field is a delta, added modulo 65536
        return ForEachCovered(at + coverage, [&](std::uint16_t glyph, std::uint32_t) {
            return Keep(glyph, static_cast<std::uint16_t>(glyph + field));
        });
    if (format != 2) return true;
    if (!RangeInside(at + 6, 2 * std::uint64_t{field}, table_.size())) return false;
    return ForEachCovered(at + coverage, [&](std::uint16_t glyph, std::uint32_t index) {
        std::uint16_t result = 0;
        return index >= field || (ReadU16BE(table_, at + 6 + 2 * std::uint64_t{index}, result) && Keep(glyph, result));
    });
}

bool LayoutLookups::ReadAlternateSubstitution(std::uint64_t at) {
    std::uint16_t format = 0, coverage = 0, count = 0;
    if (!ReadU16BE(table_, at, format) || !ReadU16BE(table_, at + 2, coverage) || !ReadU16BE(table_, at + 4, count))
        return false;
    if (format != 1) return true;
    if (!RangeInside(at + 6, 2 * std::uint64_t{count}, table_.size())) return false;
    return ForEachCovered(at + coverage, [&](std::uint16_t glyph, std::uint32_t index) {
        std::uint16_t offset = 0, alternates = 0, first = 0;
        if (index >= count) return true;
        ReadU16BE(table_, at + 6 + 2 * std::uint64_t{index}, offset);
        const std::uint64_t set = at + offset;
        if (!ReadU16BE(table_, set, alternates) || !RangeInside(set + 2, 2 * std::uint64_t{alternates}, table_.size()))
            return false;
        return alternates == 0 || (ReadU16BE(table_, set + 2, first) && Keep(glyph, first));
    });
}

bool LayoutLookups::ReadSingleAdjustment(std::uint64_t at) {
    std::uint16_t format = 0, coverage = 0, valueFormat = 0, count = 1;
    if (!ReadU16BE(table_, at, format) || !ReadU16BE(table_, at + 2, coverage) || !ReadU16BE(table_, at + 4, valueFormat))
        return false;
    if (format != 1 && format != 2) return true;
    const std::uint64_t records = at + (format == 1 ? 6 : 8);
    const std::size_t size = ValueRecordSize(valueFormat);
    if ((format == 2 && !ReadU16BE(table_, at + 6, count)) || !RangeInside(records, size * count, table_.size()))
        return false;
    if (format == 1 && !Moves(table_, records, valueFormat)) return true;
    return ForEachCovered(at + coverage, [&](std::uint16_t glyph, std::uint32_t index) {
        if (format == 1) return Keep(glyph, glyph);
        return index >= count || !Moves(table_, records + size * index, valueFormat) || Keep(glyph, glyph);
    });
}

// Keeps a glyph's first change within the lookup; a glyph replaced by itself
// by a substitution is no change. False when the changes kept would pass
// what the table can justify (see ReadList).
bool LayoutLookups::Keep(std::uint16_t glyph, std::uint16_t result) {
    if (substitution_ && result == glyph) return true;
    if (!marks_.Mark(glyph)) return true;
    if (glyphs_.size() >= limit_) return work_.Stop();
    if (glyphs_.size() == glyphs_.capacity()) {  // grown by doubling, but never past the limit
        glyphs_.reserve(std::min(limit_, std::max<std::size_t>(1024, 2 * glyphs_.capacity())));
        if (keepResults_) results_.reserve(glyphs_.capacity());
    }
    glyphs_.push_back(glyph);
    if (keepResults_) results_.push_back(result);
    return true;
}

void LayoutLookups::DropFrom(std::size_t size) {
    for (std::size_t i = size; i < glyphs_.size(); ++i) marks_.Unmark(glyphs_[i]);
    glyphs_.resize(size);
    if (keepResults_) results_.resize(size);
}

void LayoutLookups::Report(Problems& problems) const {
    const auto report = [&](std::size_t count, const char* what) {
        if (count) problems.push_back(TableProblem(tag_, what + std::to_string(count)));
    };
    if (listOutside_) problems.push_back(TableProblem(tag_, "the lookup list extends past the table"));
    report(lookupsOutside_, "lookups outside the table: ");
    report(subtablesOutside_, "lookup subtables outside the table: ");
}

}  // namespace tavrel
