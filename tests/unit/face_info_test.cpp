#include <gtest/gtest.h>

#include <algorithm>

#include "face_summary.h"
#include "feature_changes.h"
#include "font_builder.h"
#include "variation_sequences.h"

namespace tavrel::test {
namespace {

FaceInfo Describe(const std::vector<Table>& tables) { return DescribeFace(BuildSfnt(tables), 0); }

TEST(DescribeFace, ReadsEveryTableOfTheDescribedFont) {
    const FaceInfo info = Describe(DescribedFontTables());
    EXPECT_EQ(Summary(info),
              "file= | fullName=Described Bold | family=Described | subfamily=Bold | copyright=Line one\\nLine two | "
              "outlines=TrueType | unitsPerEm=1000 | glyphCount=5 | codePoints=4 | weightClass=700 | widthClass=3 | "
              "fsType=8 | embedding=editable | vendorId=TEST | italicAngle=-12.5 | fixedPitch=yes | "
              "axes=wght 100 to 900, default 400 (Weight) | instances=Light: wght 100 | instances=Heavy: wght 900 | "
              "features=kern liga smcp | featureChanges=kern 1, liga 2, smcp 1 | "
              "variationSequences=0 (standardized 0, ideographic 0) | verticalMetrics=no | verticalOrigins=no");
}

std::vector<char32_t> CodePoints(const ByteVector& cmap) {
    return Describe({{MakeTag("cmap"), cmap}}).codePoints.value_or(std::vector<char32_t>{0xFFFFFFFF});
}

TEST(DescribeFace, TakesTheBestReadableUnicodeSubtable) {
    const std::pair<std::uint16_t, std::uint16_t> order[] = {{3, 10}, {0, 6}, {0, 4}, {3, 1}, {0, 3}, {0, 2}, {0, 1}, {0, 0}};
    // Every worse encoding (and a symbol one) listed before the best one; each maps its own code point.
    for (std::uint32_t best = 0; best < std::size(order); ++best) {
        std::vector<CmapSubtable> subtables{{3, 0, CmapGroups(12, {{0x20, 0x20, 1}})}};
        for (std::uint32_t i = std::size(order); i-- > best;) subtables.push_back({order[i].first, order[i].second, CmapGroups(12, {{i, i, 1}})});
        EXPECT_EQ(CodePoints(BuildCmap(subtables)), std::vector<char32_t>{best}) << best;
    }
}

TEST(DescribeFace, CountsEachMappedCodePointOnceWithoutGlyphZeroOrSurrogates) {
    ByteVector segmentsPast = CmapFormat4({{0x41, 0x43, 1}}), glyphsOutside = segmentsPast;
    PutU16(segmentsPast, 6, 0xFFFF), PutU16(glyphsOutside, 28, 0xFFFE);  // segCountX2, the first idRangeOffset
    const std::pair<ByteVector, std::size_t> cases[] = {
        {CmapFormat4({{0x41, 0x43, 0}}), 2},  // glyph 0 first
        {CmapFormat4({{0x41, 0x50, 1}, {0x45, 0x60, 1}}), 32},  // overlapping segments
        {segmentsPast, 1}, {glyphsOutside, 0},  // absent, and mapping nothing
        {Pack({F16(6), F16(16), F16(0), F16(0x41), F16(3), F16(0), F16(5), F16(6)}), 2},
        {Pack({F16(6), F16(16), F16(0), F16(0xFFFE), F16(3), F16(1), F16(1), F16(1)}), 2},  // cut at U+FFFF
        {Pack({F16(10), F16(0), F32(26), F32(0), F32(0x10FFFE), F32(3), F16(1), F16(0), F16(1)}), 1},
        {CmapGroups(12, {{0xD7FF, 0xE000, 1}}), 2},  // surrogates
        {CmapGroups(12, {{0x10FFFE, 0xFFFFFFFF, 1}}), 2},
        {CmapGroups(12, {{0x45, 0x60, 1}, {0x41, 0x50, 1}, {0x41, 0x41, 9}}), 32},  // overlapping, unsorted
        {CmapGroups(13, {{0x41, 0x43, 0}}), 0},
        {CmapGroups(13, {{0, 0x10FFFF, 3}, {0, 0x10FFFF, 3}}), 0x110000 - 0x800},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::vector<char32_t> points = CodePoints(BuildCmap({{3, 10, cases[i].first}}));
        EXPECT_TRUE(points.size() == cases[i].second && std::is_sorted(points.begin(), points.end(), std::less_equal<>())) << i;
    }
}

// The counts of every kind of lookup are held against fontTools on real fonts
// (tests/integration); here, the list the 組版 page shows: A, B and C each
// become the next glyph.
TEST(DescribeFace, ListsTheCharactersALookupChangesWithTheirNewGlyphs) {
    const ByteVector abcPlusOne = Pack({F16(1), F16(6), F16(1), F16(2), F16(1), F16(1), F16(3), F16(0)});
    const ByteVector gsub = LayoutTable(MakeTag("test"), MakeTag("test"), 1, abcPlusOne);
    Problems problems;
    const std::vector<CodePointGlyph> mappings{{0x41, 1}, {0x42, 2}, {0x43, 3}, {0x44, 4}};
    const std::vector<CharacterChange> changes = ReadFeatureChanges({gsub, std::nullopt}, mappings, MakeTag("test"), problems);
    EXPECT_TRUE(changes.size() == 3 && changes[0].glyph == 2 && changes[2].character == 0x43 && changes[2].glyph == 4);
}

TEST(DescribeFace, ListsVariationSequencesWithTheGlyphsTheyShow) {
    Problems problems;
    const ByteVector cmap = BuildCmap({{3, 10, CmapGroups(12, {{0x41, 0x43, 1}})}, {0, 5, CmapVariationSequences()}});
    const auto sequences = ReadVariationSequences(cmap, ReadCmapMappings(cmap, problems).value(), problems);
    std::vector<std::tuple<char32_t, char32_t, std::uint32_t, bool>> listed;
    for (const VariationSequence& s : sequences.value()) listed.emplace_back(s.base, s.selector, s.glyph, s.isDefault);
    EXPECT_EQ(listed, (decltype(listed){{0x41, 0xFE00, 1, true}, {0x42, 0xFE00, 2, true}, {0x43, 0xE0100, 4, false}}));
}

}  // namespace
}  // namespace tavrel::test
