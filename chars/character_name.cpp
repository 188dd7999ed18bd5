// Unicode names: the explicit ones decoded from their word numbers, the
// ideographs' and Hangul syllables' made by Unicode's rules.

#include <algorithm>
#include <cstdio>

#include "character_identity.h"
#include "character_tables.h"

namespace tavrel {

namespace {

using character_tables::kTables;

// Unicode's chapter 3 names a syllable by its jamo's short names.
constexpr char32_t kSyllableBase = 0xAC00;
constexpr unsigned kVowels = 21, kTrailing = 28;
constexpr const char* kLeading[] = {"G", "GG", "N", "D", "DD", "R", "M", "B", "BB", "S",
                                    "SS", "",  "J", "JJ", "C", "K", "T", "P", "H"};
constexpr const char* kVowel[] = {"A",  "AE", "YA", "YAE", "EO", "E",  "YEO", "YE", "O",  "WA", "WAE",
                                  "OE", "YO", "U",  "WEO", "WE", "WI", "YU",  "EU", "YI", "I"};
constexpr const char* kTrail[] = {"",  "G",  "GG", "GS", "N",  "NJ", "NH", "D", "L", "LG", "LM", "LB", "LS", "LT",
                                  "LP", "LH", "M", "B",  "BS", "S",  "SS", "NG", "J", "C", "K", "T", "P", "H"};

std::string SyllableName(char32_t c) {
    const unsigned index = c - kSyllableBase;
    return std::string("HANGUL SYLLABLE ") + kLeading[index / (kVowels * kTrailing)] +
           kVowel[index % (kVowels * kTrailing) / kTrailing] + kTrail[index % kTrailing];
}

std::string NumberedName(const char* prefix, char32_t c) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(c));
    return prefix + std::string(hex);
}

std::string_view Word(std::size_t number) {
    const auto& starts = kTables.wordStarts;
    return kTables.wordText.substr(starts[number], starts[number + 1] - starts[number]);
}

std::string DecodeName(std::size_t entry) {
    std::string name;
    for (std::size_t at = kTables.nameStarts[entry]; at < kTables.nameStarts[entry + 1]; ++at) {
        std::size_t number = kTables.nameWords[at];
        if (number >= 0x80) number = 128 + ((number & 0x7F) << 8 | kTables.nameWords[++at]);
        if (!name.empty()) name += ' ';
        name += Word(number);
    }
    return name;
}

}  // namespace

std::string CharacterName(char32_t c) {
    const auto& codes = kTables.namedCodePoints;
    const auto found = std::lower_bound(codes.begin(), codes.end(), c);
    if (found != codes.end() && *found == c) return DecodeName(static_cast<std::size_t>(found - codes.begin()));
    for (const auto& range : kTables.namedRanges) {
        if (c < range.first || c > range.last) continue;
        if (range.kind == 2) return SyllableName(c);
        return NumberedName(range.kind == 0 ? "CJK UNIFIED IDEOGRAPH-" : "TANGUT IDEOGRAPH-", c);
    }
    return {};
}

}  // namespace tavrel
