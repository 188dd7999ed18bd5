#include <gtest/gtest.h>

#include <tuple>

#include "coverage.h"
#include "unicode_blocks.h"

namespace tavrel {
namespace {

TEST(Coverage, SetsAndBlocksComeFromTheUnicodeData) {
    std::vector<std::pair<std::string_view, std::size_t>> totals;
    for (const CharacterSet& set : CharacterSets()) totals.emplace_back(set.id, set.codePoints.size());
    EXPECT_EQ(totals, (decltype(totals){{"joyo", 2136}, {"jis-level-1", 2965}, {"jis-level-2", 3390}, {"gb2312", 6763},
                                        {"tongyong", 8105}, {"big5", 13062}, {"ksx1001-hanja", 4888}, {"kana", 189},
                                        {"latin-1", 191}}));
    EXPECT_EQ(UnicodeBlockName(0x30FF), "Katakana");
    EXPECT_EQ(UnicodeBlockName(0x10FFFF), "Supplementary Private Use Area-B");
    EXPECT_EQ(UnicodeBlockName(0x2FE0), "");
}

TEST(Coverage, CountsWhatTheFaceMapsOfEachSetAndOfAText) {
    const std::vector<char32_t> points{0x20, 0x21, 0x80, 0x4E00, 0x20BB7};
    std::vector<std::uint32_t> sets;
    for (const SetCoverage& set : MeasureCoverage(points)) sets.push_back(set.covered);
    EXPECT_EQ(sets, (std::vector<std::uint32_t>{1, 1, 0, 1, 1, 1, 1, 0, 2}));
    // Text, covered, total, missing: control characters and line breaks left out, pairs combined.
    const std::tuple<std::u16string, std::uint32_t, std::uint32_t, std::vector<char32_t>> texts[] = {
        {u"", 0, 0, {}}, {u"!\r\n!\t\u2028a\u2029\u0085\u0080", 1, 2, {u'a'}},
        {u"\U00020BB7\U0001F600x\U0001F600", 1, 3, {0x1F600, u'x'}}, {u"\xD842!\xDFB7", 1, 3, {0xD842, 0xDFB7}}};
    for (const auto& [text, covered, total, missing] : texts) {
        const TextCoverage coverage = MeasureTextCoverage(points, text);
        EXPECT_EQ(std::tie(coverage.covered, coverage.total, coverage.missing), std::tie(covered, total, missing));
    }
}

}  // namespace
}  // namespace tavrel
