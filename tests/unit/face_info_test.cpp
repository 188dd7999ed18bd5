#include <gtest/gtest.h>

#include <algorithm>

#include "face_info.h"
#include "face_summary.h"
#include "font_builder.h"

namespace tavrel::test {
namespace {

FaceInfo Describe(const std::vector<Table>& tables) {
    const ByteVector font = BuildSfnt(tables);
    return DescribeFace(font, 0);
}

TEST(DescribeFace, ReadsEveryTableOfTheDescribedFont) {
    const FaceInfo info = Describe(DescribedFontTables());
    EXPECT_EQ(Summary(info),
              "full=Described Bold upem=1000 glyphs=5 weight=700 width=3 fsType=8 vendor=TEST italic=-12.5 fixed=1 "
              "outlines=TrueType cmap=4 names=0,1,2,4,256,257,258, axis=wght:100/400/900:Weight "
              "instance=Light:wght=100 instance=Heavy:wght=900 features=kern,liga,smcp, |");
    EXPECT_EQ(info.names.at(0), u"Line one\nLine two");
    EXPECT_EQ(*info.codePoints, (std::vector<char32_t>{0x41, 0x42, 0x43, 0x1F600}));
}

ByteVector Os2(std::uint16_t version, std::size_t length, std::uint32_t vendor = MakeTag("TEST")) {
    ByteVector os2 = DescribedFontTables()[2].data;
    os2.resize(100);
    PutU16(os2, 0, version), PutU32(os2, 58, vendor);
    os2.resize(length);
    return os2;
}

// Each fixed-layout table alone in a face: what it gives, as far as its version and length allow.
TEST(DescribeFace, HeaderTablesAsTheirVersionAndLengthAllow) {
    const auto post = DescribedFontTables()[10].data;
    ByteVector hhea = DescribedFontTables()[7].data;
    PutU16(hhea, 34, 9);
    const auto maxp = [](std::uint32_t version, std::size_t length) {
        ByteVector bytes(length);
        PutU32(bytes, 0, version), PutU16(bytes, 4, 7);
        return bytes;
    };
    const struct {
        const char* what;
        std::vector<Table> tables;
        std::string expected;
    } cases[] = {
        {"OS/2 0", {{MakeTag("OS/2"), Os2(0, 78)}}, "weight=700 width=3 fsType=8 vendor=TEST names= features= |"},
        {"OS/2 5", {{MakeTag("OS/2"), Os2(5, 100)}}, "weight=700 width=3 fsType=8 vendor=TEST names= features= |"},
        {"OS/2 9", {{MakeTag("OS/2"), Os2(9, 100)}}, "weight=700 width=3 fsType=8 vendor=TEST names= features= |"},
        {"OS/2 3, 62 bytes", {{MakeTag("OS/2"), Os2(3, 62)}},
         "weight=700 width=3 fsType=8 vendor=TEST names= features= | table 'OS/2': version 3 needs 96 bytes, the table has 62;"},
        {"OS/2 1, 8 bytes", {{MakeTag("OS/2"), Os2(1, 8)}},
         "weight=700 width=3 names= features= | table 'OS/2': version 1 needs 86 bytes, the table has 8;"},
        {"OS/2 vendor NUL", {{MakeTag("OS/2"), Os2(4, 96, 0x41420043)}},
         "weight=700 width=3 fsType=8 names= features= | table 'OS/2': achVendID is not four printable characters;"},
        {"maxp 0.5", {{MakeTag("maxp"), maxp(0x5000, 6)}}, "glyphs=7 names= features= |"},
        {"maxp 1.0", {{MakeTag("maxp"), maxp(0x10000, 32)}}, "glyphs=7 names= features= |"},
        {"maxp 1.0, 6 bytes", {{MakeTag("maxp"), maxp(0x10000, 6)}},
         "glyphs=7 names= features= | table 'maxp': version 1.0 needs 32 bytes, the table has 6;"},
        {"maxp 2.0", {{MakeTag("maxp"), maxp(0x20000, 32)}}, "names= features= | table 'maxp': its version is unknown;"},
        {"hhea beyond maxp", {{MakeTag("hhea"), hhea}, {MakeTag("maxp"), maxp(0x5000, 6)}},
         "glyphs=7 names= features= | table 'hhea': 9 horizontal metrics for 7 glyphs;"},
        {"hhea, 35 bytes", {{MakeTag("hhea"), ByteVector(35)}},
         "names= features= | table 'hhea': the header needs 36 bytes, the table has 35;"},
        {"head magic", {{MakeTag("head"), ByteVector(54)}}, "names= features= | table 'head': the magic number is wrong;"},
        {"post, 31 bytes", {{MakeTag("post"), ByteVector(post.begin(), post.end() - 1)}},
         "names= features= | table 'post': the header needs 32 bytes, the table has 31;"},
        {"CFF", {{MakeTag("CFF "), {}}}, "outlines=CFF names= features= |"},
        {"CFF2", {{MakeTag("CFF2"), {}}}, "outlines=CFF2 names= features= |"},
    };
    for (const auto& c : cases) EXPECT_EQ(Summary(Describe(c.tables)), c.expected) << c.what;
}

std::vector<char32_t> CodePoints(const ByteVector& cmap) {
    return Describe({{MakeTag("cmap"), cmap}}).codePoints.value_or(std::vector<char32_t>{0xFFFFFFFF});
}

TEST(DescribeFace, TakesTheBestReadableUnicodeSubtable) {
    const std::pair<std::uint16_t, std::uint16_t> order[] = {{3, 10}, {0, 6}, {0, 4}, {3, 1},
                                                             {0, 3},  {0, 2}, {0, 1}, {0, 0}};
    // Every worse encoding listed before the best one; each maps its own code point.
    for (std::size_t best = 0; best < std::size(order); ++best) {
        std::vector<CmapSubtable> subtables{{3, 0, CmapGroups(12, {{0x20, 0x20, 1}})}};
        for (std::size_t i = std::size(order); i-- > best;)
            subtables.push_back({order[i].first, order[i].second, CmapGroups(12, {{0x100 + char32_t(i), 0x100 + char32_t(i), 1}})});
        EXPECT_EQ(CodePoints(BuildCmap(subtables)), std::vector<char32_t>{0x100 + char32_t(best)}) << best;
    }
    ByteVector damaged = CmapGroups(12, {{0x41, 0x41, 1}});
    PutU32(damaged, 12, 2);  // two groups in the bytes of one
    const ByteVector fallback = CmapFormat4({{0x42, 0x42, 1}});
    EXPECT_EQ(CodePoints(BuildCmap({{3, 10, damaged}, {3, 1, fallback}})), std::vector<char32_t>{0x42});
    EXPECT_EQ(CodePoints(BuildCmap({{3, 10, Pack({F16(8), F16(0)})}, {3, 1, fallback}})), std::vector<char32_t>{0x42});
}

TEST(DescribeFace, CountsEachMappedCodePointOnceWithoutGlyphZeroOrSurrogates) {
    const struct {
        const char* what;
        ByteVector subtable;
        std::size_t count;
    } cases[] = {
        {"format 4, glyph 0 first", CmapFormat4({{0x41, 0x43, 0}}), 2},
        {"format 4, overlapping segments", CmapFormat4({{0x41, 0x50, 1}, {0x45, 0x60, 1}}), 32},
        {"format 6", Pack({F16(6), F16(16), F16(0), F16(0x41), F16(3), F16(0), F16(5), F16(6)}), 2},
        {"format 6 past U+FFFF", Pack({F16(6), F16(16), F16(0), F16(0xFFFE), F16(3), F16(1), F16(1), F16(1)}), 2},
        {"format 10", Pack({F16(10), F16(0), F32(26), F32(0), F32(0x10FFFE), F32(3), F16(1), F16(0), F16(1)}), 1},
        {"format 12, glyph 0 first", CmapGroups(12, {{0x41, 0x43, 0}}), 2},
        {"format 12, surrogates", CmapGroups(12, {{0xD7FF, 0xE000, 1}}), 2},
        {"format 12, past U+10FFFF", CmapGroups(12, {{0x10FFFE, 0xFFFFFFFF, 1}}), 2},
        {"format 12, overlapping and unsorted", CmapGroups(12, {{0x45, 0x60, 1}, {0x41, 0x50, 1}, {0x41, 0x41, 9}}), 32},
        {"format 13, glyph 0", CmapGroups(13, {{0x41, 0x43, 0}}), 0},
        {"format 13, everything", CmapGroups(13, {{0, 0x10FFFF, 3}, {0, 0x10FFFF, 3}}), 0x110000 - 0x800},
    };
    for (const auto& c : cases) {
        const std::vector<char32_t> points = CodePoints(BuildCmap({{3, 10, c.subtable}}));
        EXPECT_EQ(points.size(), c.count) << c.what;
        EXPECT_TRUE(std::adjacent_find(points.begin(), points.end(), std::greater_equal<>()) == points.end()) << c.what;
    }
}

}  // namespace
}  // namespace tavrel::test
