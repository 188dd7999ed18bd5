#pragma once
// The tables make_character_tables.py writes at build time, and their layout.
// Each array is sorted by code point, for binary search.

#include <cstdint>
#include <span>
#include <string_view>

namespace tavrel::character_tables {

// Characters named by rule: CJK unified ideographs (kind 0), Tangut
// ideographs (1) and Hangul syllables (2).
struct NamedRange {
    char32_t first, last;
    std::uint8_t kind;
};

struct CodeValue {
    char32_t codePoint;
    std::uint32_t value;
};

struct CidRange {
    char32_t first;
    std::uint16_t count, cid;  // `count` code points from `first` have CIDs from `cid` on
};

// Kana bytes at `at` in kReadingKana: `on` of them, then `kun` of them.
struct ReadingEntry {
    char32_t codePoint;
    std::uint32_t at;
    std::uint16_t on, kun;
};

struct RadicalEntry {
    std::uint8_t number, simplified;
    char32_t radical;  // its character in the Kangxi Radicals or CJK Radicals Supplement block
};

// `count` consecutive code points from `first`, whose packed values start at kStrokes[at].
struct StrokeRun {
    char32_t first;
    std::uint32_t count, at;
};

struct Tables {
    std::span<const NamedRange> namedRanges;
    std::span<const char32_t> namedCodePoints;
    std::span<const std::uint32_t> nameStarts;  // one more than namedCodePoints
    // Each name as word numbers: below 0x80 one byte, else two (0x80 | high, low) counting from 128.
    std::span<const std::uint8_t> nameWords;
    std::span<const std::uint32_t> wordStarts;  // into wordText, one more than there are words
    std::span<const CodeValue> jisX0213;        // plane << 14 | row << 7 | cell
    std::span<const CodeValue> shiftJisExtra;   // bytes the position does not give
    std::span<const CodeValue> cp932;           // bytes, outside ASCII
    std::span<const CodeValue> jisX0208;        // row << 7 | cell
    std::span<const CidRange> cidsJis2004;
    std::span<const CodeValue> cidsJis90;       // only where they differ from the JIS2004 forms
    std::span<const ReadingEntry> readings;
    // Kana as code point - 0x3000 (hiragana), 0x20 between readings.
    std::span<const std::uint8_t> readingKana;
    std::span<const RadicalEntry> radicals;
    std::span<const StrokeRun> strokeRuns;
    // radical | simplified << 8 | (residual strokes + 3) << 10 | total strokes << 17 (0: unknown)
    std::span<const std::uint32_t> strokes;
    std::string_view wordText;
};

extern const Tables kTables;

}  // namespace tavrel::character_tables
