#include "face_info.h"

#include "cff_table.h"
#include "cmap_table.h"
#include "color_tables.h"
#include "face_tables.h"
#include "feature_changes.h"
#include "full_name.h"
#include "header_tables.h"
#include "layout_features.h"
#include "name_table.h"
#include "variation_axes.h"

namespace tavrel {

namespace {

std::optional<Outlines> OutlinesOf(const FaceTables& tables) {
    if (tables.Has(Tag("glyf"))) return Outlines::TrueType;
    if (tables.Has(Tag("CFF "))) return Outlines::Cff;
    if (tables.Has(Tag("CFF2"))) return Outlines::Cff2;
    return std::nullopt;
}

// Reads a table the face has; a missing one leaves its fields absent.
template <class Reader>
void IfPresent(const FaceTables& tables, std::uint32_t tag, Reader read) {
    if (tables.Has(tag)) read(tables.Find(tag));
}

constexpr std::uint32_t kMaxGlyphs = 0x10000;

// Glyph ids at or past maxp's count change nothing; without maxp, any may.
std::uint32_t GlyphBound(const FaceInfo& info) { return info.glyphCount ? std::uint32_t{*info.glyphCount} : kMaxGlyphs; }

bool HasLayout(const FaceTables& tables) { return tables.Has(Tag("GSUB")) || tables.Has(Tag("GPOS")); }

// The best subtable's mappings, read once: the face's code points, and for
// its features how many characters map to each glyph (when it has any).
struct FaceMappings final : CmapVisitor {
    std::vector<char32_t> codePoints;
    CharactersPerGlyph characters;
    void Reserve(std::size_t count) override { codePoints.reserve(count); }
    void Map(std::span<const CodePointGlyph> batch) override {
        for (const CodePointGlyph& mapping : batch) {
            codePoints.push_back(mapping.codePoint);
            characters.Add(mapping.glyph);
        }
    }
};

void ReadCmap(Bytes cmap, const FaceTables& tables, ReportDepth depth, FaceInfo& info, CharactersPerGlyph& characters) {
    FaceMappings mappings;
    if (HasLayout(tables) && depth == ReportDepth::Whole) mappings.characters = CharactersPerGlyph(GlyphBound(info));
    if (VisitCmapMappings(cmap, mappings, info.problems)) info.codePoints = std::move(mappings.codePoints);
    info.variationSequences = CountVariationSequences(cmap, info.problems);
    characters = std::move(mappings.characters);
}

void ReadFeatures(const FaceTables& tables, const CharactersPerGlyph& characters, FaceInfo& info) {
    LayoutTables layout;
    layout.glyphCount = GlyphBound(info);
    if (tables.Has(Tag("GSUB"))) layout.gsub = tables.Find(Tag("GSUB"));
    if (tables.Has(Tag("GPOS"))) layout.gpos = tables.Find(Tag("GPOS"));
    info.featureChanges = CountFeatureChanges(layout, characters, info.problems);
    for (const auto& [tag, count] : info.featureChanges) info.features.push_back(tag);
}

}  // namespace

FaceInfo DescribeFace(Bytes image, std::uint64_t offsetTableOffset, ReportDepth depth) {
    FaceInfo info;
    std::u16string fullName;
    if (ReadFullName(fullName, image, offsetTableOffset) && !fullName.empty()) info.fullName = std::move(fullName);
    const FaceTables tables(image, offsetTableOffset, info.problems);
    IfPresent(tables, Tag("name"), [&](Bytes t) { info.names = ReadNames(t, info.problems); });
    info.outlines = OutlinesOf(tables);
    IfPresent(tables, Tag("CFF "), [&](Bytes t) { info.ros = ReadCffRos(t, info.problems); });
    IfPresent(tables, Tag("head"), [&](Bytes t) { ReadHead(t, info); });
    IfPresent(tables, Tag("maxp"), [&](Bytes t) { ReadMaxp(t, info); });
    IfPresent(tables, Tag("hhea"), [&](Bytes t) { ReadHhea(t, info); });
    IfPresent(tables, Tag("OS/2"), [&](Bytes t) { ReadOs2(t, info); });
    IfPresent(tables, Tag("post"), [&](Bytes t) { ReadPost(t, info); });
    CharactersPerGlyph characters;
    IfPresent(tables, Tag("cmap"), [&](Bytes t) { ReadCmap(t, tables, depth, info, characters); });
    IfPresent(tables, Tag("fvar"), [&](Bytes t) { ReadVariationAxes(t, info); });
    if (depth == ReportDepth::Whole) ReadFeatures(tables, characters, info);
    else info.features = ListFeatureTags(tables, info.problems);
    info.verticalMetrics = tables.Has(Tag("vhea")) && tables.Has(Tag("vmtx"));
    info.verticalOrigins = tables.Has(Tag("VORG"));
    info.colorFormats = ReadColorFormats(tables, info.problems);
    return info;
}

}  // namespace tavrel
