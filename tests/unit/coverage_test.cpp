#include <gtest/gtest.h>

#include "coverage.h"
#include "unicode_blocks.h"

namespace tavrel {
namespace {

TEST(Coverage, SetsComeOutAtTheirTotals) {
    std::vector<std::pair<std::string_view, std::size_t>> totals;
    for (const CharacterSet& set : CharacterSets()) totals.emplace_back(set.id, set.codePoints.size());
    EXPECT_EQ(totals, (std::vector<std::pair<std::string_view, std::size_t>>{
                          {"joyo", 2136}, {"jis-level-1", 2965}, {"jis-level-2", 3390}, {"gb2312", 6763},
                          {"tongyong", 8105}, {"big5", 13062}, {"ksx1001-hanja", 4888}, {"kana", 189},
                          {"latin-1", 191}}));
}

TEST(Coverage, CountsTheSetsMembersTheFaceMaps) {
    // Latin-1's first three, one code point between its ranges, and a kanji of every CJK set but Big5's 9 first.
    const std::vector<char32_t> points{0x20, 0x21, 0x22, 0x80, 0x4E00, 0x10FFFF};
    const auto coverage = MeasureCoverage(points);
    ASSERT_EQ(coverage.size(), 9u);
    EXPECT_EQ(coverage[0].covered, 1u);  // 一 is Jōyō
    EXPECT_EQ(coverage[7].covered, 0u);
    EXPECT_EQ(coverage[8].set, "latin-1");
    EXPECT_EQ(coverage[8].covered, 3u);
    EXPECT_EQ(coverage[8].total, 191u);
}

TEST(Coverage, TextCountsDistinctCharactersWithoutControlsOrLineBreaks) {
    const std::vector<char32_t> points{u'a', u'b', 0x20BB7};
    const struct {
        std::u16string text;
        std::uint32_t covered, total;
        std::vector<char32_t> missing;
    } cases[] = {
        {u"", 0, 0, {}},
        {u"abba", 2, 2, {}},
        {u"a\r\nb\tc\u2028d\u2029\u0085", 2, 4, {u'c', u'd'}},
        {u"\U00020BB7\U0001F600x\U0001F600", 1, 3, {0x1F600, u'x'}},
        {u"\xD842 \xDFB7", 0, 3, {0xD842, u' ', 0xDFB7}},
    };
    for (const auto& c : cases) {
        const TextCoverage coverage = MeasureTextCoverage(points, c.text);
        EXPECT_EQ(coverage.covered, c.covered);
        EXPECT_EQ(coverage.total, c.total);
        EXPECT_EQ(coverage.missing, c.missing);
    }
}

TEST(Coverage, NamesTheBlockOfACharacter) {
    EXPECT_EQ(UnicodeBlockName(0x41), "Basic Latin");
    EXPECT_EQ(UnicodeBlockName(0x30FF), "Katakana");
    EXPECT_EQ(UnicodeBlockName(0x4E00), "CJK Unified Ideographs");
    EXPECT_EQ(UnicodeBlockName(0x10FFFF), "Supplementary Private Use Area-B");
    EXPECT_EQ(UnicodeBlockName(0x2FE0), "");
}

}  // namespace
}  // namespace tavrel
