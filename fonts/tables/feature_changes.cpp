#include "feature_changes.h"

#include <algorithm>
#include <tuple>

#include "layout_features.h"
#include "layout_lookups.h"

namespace tavrel {

namespace {

constexpr std::uint32_t kNoChange = 0xFFFFFFFF;
constexpr std::uint32_t kMaxGlyphs = 0x10000;

// What reading every lookup of a sound face takes, with room to spare: each
// glyph or lookup index visited a few times per byte of the tables, and each
// glyph of the face changed by a few lookups.
std::uint64_t WorkFor(const LayoutTables& tables) {
    const std::uint64_t bytes = tables.gsub.value_or(Bytes{}).size() + tables.gpos.value_or(Bytes{}).size();
    return 4 * bytes + 8 * std::uint64_t{kMaxGlyphs};
}

// A feature record with the number of lookup indices its feature table holds
// (none when they leave the layout table).
struct Feature {
    std::uint32_t tag, offset;
    std::uint16_t lookups;
};

// GSUB or GPOS: its features, sorted by tag, and its lookups.
class LayoutSide {
public:
    LayoutSide(std::uint32_t tag, Bytes table, std::uint32_t glyphCount, bool keepResults, WorkLimit& work,
               GlyphMarks& marks, Problems& problems)
        : tag_(tag), table_(table), lookups_(tag, table, glyphCount, keepResults, work, marks) {
        for (const FeatureRecord& record : ReadFeatureRecords(tag, table, problems)) {
            std::uint16_t count = 0;
            ReadU16BE(table, std::uint64_t{record.offset} + 2, count);
            const bool inside = RangeInside(std::uint64_t{record.offset} + 4, 2 * std::uint64_t{count}, table.size());
            if (!inside) ++indicesOutside_;
            features_.push_back({record.tag, record.offset, inside ? count : std::uint16_t{0}});
        }
        const auto key = [](const Feature& f) { return std::tie(f.tag, f.offset); };
        std::sort(features_.begin(), features_.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
        // A feature table listed twice under one tag changes nothing more.
        features_.erase(std::unique(features_.begin(), features_.end(), [&](const auto& a, const auto& b) { return key(a) == key(b); }),
                        features_.end());
    }

    const std::vector<Feature>& features() const { return features_; }
    LayoutLookups& lookups() { return lookups_; }

    // Calls visit(lookup index) for every index of the features with `tag`
    // (of every feature when `tag` is absent), until `work` runs out.
    template <class Visit>
    void ForEachLookup(std::optional<std::uint32_t> tag, WorkLimit& work, Visit visit) {
        auto first = features_.begin(), last = features_.end();
        if (tag) {
            first = std::lower_bound(first, last, *tag, [](const Feature& f, std::uint32_t t) { return f.tag < t; });
            last = std::upper_bound(first, last, *tag, [](std::uint32_t t, const Feature& f) { return t < f.tag; });
        }
        for (const Feature& feature : std::span(first, last)) {
            if (!work.Spend(feature.lookups)) return;
            for (std::uint16_t i = 0; i < feature.lookups; ++i) {
                std::uint16_t index = 0;
                ReadU16BE(table_, std::uint64_t{feature.offset} + 4 + 2 * std::uint64_t{i}, index);
                visit(index);
            }
        }
    }

    void Report(Problems& problems) const {
        if (indicesOutside_)
            problems.push_back(TableProblem(tag_, "feature lookup indices outside the table: " + std::to_string(indicesOutside_)));
        lookups_.Report(problems);
    }

private:
    std::uint32_t tag_;
    Bytes table_;
    LayoutLookups lookups_;
    std::vector<Feature> features_;
    std::size_t indicesOutside_ = 0;
};

// The sides of a face's layout, GSUB first, with what they share: the work
// reading the lookups may take, and apart from it the work counting them may.
class Layout {
public:
    Layout(const LayoutTables& tables, bool keepResults, Problems& problems)
        : glyphCount_(std::min(tables.glyphCount, kMaxGlyphs)), reading_(WorkFor(tables)), counting_(WorkFor(tables)),
          marks_(glyphCount_) {
        sides_.reserve(2);
        for (const auto& [tag, table] : {std::pair{Tag("GSUB"), tables.gsub}, std::pair{Tag("GPOS"), tables.gpos}})
            if (table) sides_.emplace_back(tag, *table, glyphCount_, keepResults, reading_, marks_, problems);
    }

    std::vector<LayoutSide>& sides() { return sides_; }
    GlyphMarks& marks() { return marks_; }
    WorkLimit& reading() { return reading_; }
    WorkLimit& counting() { return counting_; }
    std::uint32_t glyphCount() const { return glyphCount_; }

    void Report(Problems& problems) const {
        for (const LayoutSide& side : sides_) side.Report(problems);
        if (reading_.reached() || counting_.reached())
            problems.push_back("features: the lookups ask for more work than the tables' size allows; the rest left out");
    }

private:
    std::uint32_t glyphCount_;
    WorkLimit reading_, counting_;
    GlyphMarks marks_;
    std::vector<LayoutSide> sides_;
};

std::vector<std::uint32_t> SortedTags(std::vector<LayoutSide>& sides) {
    std::vector<std::uint32_t> tags;
    for (const LayoutSide& side : sides)
        for (const Feature& feature : side.features()) tags.push_back(feature.tag);
    std::sort(tags.begin(), tags.end());
    tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
    return tags;
}

}  // namespace

CharactersPerGlyph::CharactersPerGlyph(std::uint32_t glyphCount) : counts_(std::min(glyphCount, kMaxGlyphs)) {}

CharactersPerGlyph::CharactersPerGlyph(std::span<const CodePointGlyph> mappings, std::uint32_t glyphCount)
    : CharactersPerGlyph(glyphCount) {
    for (const CodePointGlyph& mapping : mappings) Add(mapping.glyph);
}

std::uint32_t CharactersPerGlyph::Of(std::uint16_t glyph) const {
    if (glyph >= counts_.size()) return 0;
    const auto found = counts_[glyph] == 255 ? beyond_.find(glyph) : beyond_.end();
    return counts_[glyph] + (found == beyond_.end() ? 0 : found->second);
}

std::vector<CharacterChange> ReadFeatureChanges(const LayoutTables& tables, std::span<const CodePointGlyph> mappings,
                                                std::uint32_t tag, Problems& problems) {
    Layout layout(tables, true, problems);
    std::vector<std::uint32_t> becomes(layout.glyphCount(), kNoChange);
    for (LayoutSide& side : layout.sides()) {
        std::vector<std::uint16_t> indices;
        side.ForEachLookup(tag, layout.reading(), [&](std::uint16_t index) { indices.push_back(index); });
        std::sort(indices.begin(), indices.end());
        indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
        for (std::uint16_t index : indices) {
            const LookupChanges changes = side.lookups().Changes(index);
            for (std::size_t i = 0; i < changes.glyphs.size(); ++i)
                if (becomes[changes.glyphs[i]] == kNoChange) becomes[changes.glyphs[i]] = changes.results[i];
        }
    }
    layout.Report(problems);
    std::vector<CharacterChange> changes;
    for (const CodePointGlyph& mapping : mappings)
        if (mapping.glyph < becomes.size() && becomes[mapping.glyph] != kNoChange)
            changes.push_back({mapping.codePoint, static_cast<std::uint16_t>(becomes[mapping.glyph])});
    return changes;
}

std::vector<std::pair<std::uint32_t, std::size_t>> CountFeatureChanges(const LayoutTables& tables,
                                                                       const CharactersPerGlyph& characters,
                                                                       Problems& problems) {
    Layout layout(tables, false, problems);
    // Every lookup is read before any is counted: the marks then serve the
    // counting alone, and no lookup's changes move.
    for (LayoutSide& side : layout.sides())
        side.ForEachLookup(std::nullopt, layout.reading(), [&](std::uint16_t index) { side.lookups().Changes(index); });
    std::vector<std::pair<std::uint32_t, std::size_t>> counts;
    std::uint32_t round = 0;
    for (std::uint32_t tag : SortedTags(layout.sides())) {
        std::size_t changed = 0;
        layout.marks().Next();
        ++round;
        for (LayoutSide& side : layout.sides()) {
            side.ForEachLookup(tag, layout.counting(), [&](std::uint16_t index) {
                if (!side.lookups().FirstInRound(index, round)) return;
                const auto glyphs = side.lookups().Changes(index).glyphs;
                if (!layout.counting().Spend(glyphs.size())) return;
                for (std::uint16_t glyph : glyphs)
                    if (layout.marks().Mark(glyph)) changed += characters.Of(glyph);
            });
        }
        counts.emplace_back(tag, changed);
    }
    layout.Report(problems);
    return counts;
}

}  // namespace tavrel
