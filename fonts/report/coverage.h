#pragma once
// How much of a character set, or of a text, a face maps. The sets are made
// at build time from Debian's Unicode data.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

struct CharacterSet {
    std::string_view id;                  // "joyo", "jis-level-1", ...
    std::span<const char32_t> codePoints;  // ascending, each once
};

// joyo, jis-level-1, jis-level-2, gb2312, tongyong, big5, ksx1001-hanja, kana, latin-1.
std::span<const CharacterSet> CharacterSets();

struct SetCoverage {
    std::string_view set;
    std::uint32_t covered = 0;
    std::uint32_t total = 0;
};

// `codePoints` ascending and unique, as FaceInfo holds them; one entry per set, in set order.
std::vector<SetCoverage> MeasureCoverage(std::span<const char32_t> codePoints);

struct TextCoverage {
    std::uint32_t covered = 0;      // distinct characters of the text the face maps
    std::uint32_t total = 0;        // distinct characters, control characters and line breaks left out
    std::vector<char32_t> missing;  // those it does not map, in text order
};

// `text` is UTF-16; a lone surrogate counts as the character it is.
TextCoverage MeasureTextCoverage(std::span<const char32_t> codePoints, std::u16string_view text);

}  // namespace tavrel
