#include "coverage.h"

#include <algorithm>
#include <unordered_set>

namespace tavrel {

namespace {

// Control characters (Cc) and the line and paragraph separators.
bool LeftOut(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }

// How many of `set` are in `codePoints`, both ascending: one merge.
std::uint32_t CountCommon(std::span<const char32_t> codePoints, std::span<const char32_t> set) {
    std::uint32_t common = 0;
    auto a = codePoints.begin();
    auto b = set.begin();
    while (a != codePoints.end() && b != set.end()) {
        if (*a < *b) {
            ++a;
        } else if (*b < *a) {
            ++b;
        } else {
            ++common, ++a, ++b;
        }
    }
    return common;
}

// The next character of UTF-16 text; a lone surrogate is itself.
char32_t NextCharacter(std::u16string_view text, std::size_t& at) {
    const char32_t unit = text[at++];
    if (unit >= 0xD800 && unit <= 0xDBFF && at < text.size() && text[at] >= 0xDC00 && text[at] <= 0xDFFF)
        return 0x10000 + ((unit - 0xD800) << 10) + (text[at++] - 0xDC00);
    return unit;
}

}  // namespace

std::vector<SetCoverage> MeasureCoverage(std::span<const char32_t> codePoints) {
    std::vector<SetCoverage> coverage;
    for (const CharacterSet& set : CharacterSets())
        coverage.push_back({set.id, CountCommon(codePoints, set.codePoints), static_cast<std::uint32_t>(set.codePoints.size())});
    return coverage;
}

TextCoverage MeasureTextCoverage(std::span<const char32_t> codePoints, std::u16string_view text) {
    TextCoverage coverage;
    std::unordered_set<char32_t> seen;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = NextCharacter(text, at);
        if (LeftOut(c) || !seen.insert(c).second) continue;
        ++coverage.total;
        if (std::binary_search(codePoints.begin(), codePoints.end(), c))
            ++coverage.covered;
        else
            coverage.missing.push_back(c);
    }
    return coverage;
}

}  // namespace tavrel
