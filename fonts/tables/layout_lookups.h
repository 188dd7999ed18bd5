#pragma once
// The glyphs each lookup of a 'GSUB' or 'GPOS' table changes: single
// substitutions, the first alternate of alternate substitutions and single
// adjustments that move a glyph, through extension lookups. Each lookup is
// read once, and only when asked for.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "face_tables.h"

namespace tavrel {

// What a lookup changes: its glyphs, and, when they are kept, what each
// becomes (an adjustment's glyph stays itself).
struct LookupChanges {
    std::span<const std::uint16_t> glyphs, results;
};

// The work the lookups of a face may take, in glyphs and lookup indices
// visited: a few bytes of coverage can claim every glyph, and many records can
// share one table, so the size of the tables alone bounds nothing.
class WorkLimit {
public:
    explicit WorkLimit(std::uint64_t units) : left_(units) {}
    bool Spend(std::uint64_t units) {
        if (reached_ || units > left_) return Stop();
        left_ -= units;
        return true;
    }
    bool Stop() {
        left_ = 0;
        reached_ = true;
        return false;
    }
    bool reached() const { return reached_; }

private:
    std::uint64_t left_;
    bool reached_ = false;
};

// A set of glyph ids that starts empty at each Next(): a byte per glyph
// holding the round that marked it, cleared only when the rounds wrap.
class GlyphMarks {
public:
    explicit GlyphMarks(std::uint32_t glyphCount) : marks_(glyphCount) {}
    void Next() {
        if (++round_ != 0) return;
        std::fill(marks_.begin(), marks_.end(), std::uint8_t{0});
        round_ = 1;
    }
    // True when the glyph was not in the set yet.
    bool Mark(std::uint16_t glyph) {
        if (marks_[glyph] == round_) return false;
        marks_[glyph] = round_;
        return true;
    }
    void Unmark(std::uint16_t glyph) { marks_[glyph] = 0; }

private:
    std::vector<std::uint8_t> marks_;
    std::uint8_t round_ = 1;
};

class LayoutLookups {
public:
    // `marks` must hold `glyphCount` (at most 0x10000) glyphs. Without
    // `keepResults` only the glyphs changed are kept.
    LayoutLookups(std::uint32_t tag, Bytes table, std::uint32_t glyphCount, bool keepResults, WorkLimit& work,
                  GlyphMarks& marks);

    // What lookup `index` changes, each glyph once, the first subtable that
    // changes it deciding; nothing for an index past the lookup list, or for
    // a lookup that leaves the table. Valid until another lookup is read.
    LookupChanges Changes(std::uint16_t index);
    // True the first time lookup `index` is asked about in `round` (from 1 on):
    // a lookup that several records of one feature list counts once for it.
    bool FirstInRound(std::uint16_t index, std::uint32_t round);
    // One problem line per kind of damage met.
    void Report(Problems& problems) const;

private:
    struct Span {
        std::uint32_t begin, end;
        std::uint32_t round = 0;
    };
    bool ReadList();
    void ReadLookup(std::uint16_t index, Span& span);
    bool ReadSubtable(std::uint64_t at, std::uint16_t type);
    bool ReadSingleSubstitution(std::uint64_t at);
    bool ReadAlternateSubstitution(std::uint64_t at);
    bool ReadSingleAdjustment(std::uint64_t at);
    template <class Visit>
    bool ForEachCovered(std::uint64_t at, Visit visit);
    bool Keep(std::uint16_t glyph, std::uint16_t result);
    void DropFrom(std::size_t size);

    std::uint32_t tag_;
    bool substitution_;
    Bytes table_;
    std::uint32_t glyphCount_;
    bool keepResults_;
    WorkLimit& work_;
    GlyphMarks& marks_;
    std::uint64_t listAt_ = 0;
    bool listRead_ = false;
    std::vector<Span> lookups_;
    std::vector<std::uint16_t> glyphs_, results_;  // every lookup's, one after another
    std::size_t limit_ = 0;
    std::size_t lookupsOutside_ = 0, subtablesOutside_ = 0;
    bool listOutside_ = false;
};

}  // namespace tavrel
