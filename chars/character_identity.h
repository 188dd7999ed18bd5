#pragma once
// Who a character is, from Unicode's and Adobe's data as the build found them:
// its name and block, its places in JIS X 0213 and JIS X 0208 and the bytes
// of Shift_JIS-2004 and code page 932, its Adobe-Japan1 CIDs, its Japanese
// readings, radical and strokes. Nothing here depends on a font.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

struct JisPosition {
    std::uint8_t plane, row, cell;  // plane 1 or 2 of JIS X 0213
};

enum class JisX0208Kind : std::uint8_t { NonKanji, Level1, Level2 };

struct JisX0208Position {
    std::uint8_t row, cell;
    JisX0208Kind kind;
};

struct RadicalStrokes {
    std::uint8_t radical = 0;        // Kangxi radical number, 1 to 214
    bool simplified = false;         // the simplified form of the radical
    char32_t radicalCharacter = 0;   // from the Kangxi Radicals or CJK Radicals Supplement block
    std::int8_t residualStrokes = 0;  // below 0 for a character drawn with fewer strokes than its radical
};

struct CharacterIdentity {
    char32_t codePoint = 0;
    std::string name;         // empty for a character without one (controls, private use, unassigned)
    std::string_view block;   // empty outside every block
    std::optional<JisPosition> jisX0213;
    std::optional<JisX0208Position> jisX0208;
    // The bytes, the first in the high half when there are two (a value below 0x100 is one byte).
    std::optional<std::uint16_t> shiftJis2004, cp932;
    std::optional<std::uint16_t> cid;       // Adobe-Japan1, the JIS2004 forms
    std::optional<std::uint16_t> cidJis90;  // the JIS90 forms, only where they differ
    std::vector<std::u16string> on;   // in katakana
    std::vector<std::u16string> kun;  // in hiragana
    std::optional<RadicalStrokes> radical;
    std::optional<std::uint8_t> totalStrokes;
};

// Any code point; one past U+10FFFF has nothing but itself.
CharacterIdentity IdentifyCharacter(char32_t codePoint);

// The character's Unicode name: UnicodeData's, or by rule for CJK unified
// ideographs, Tangut ideographs and Hangul syllables; empty without one.
std::string CharacterName(char32_t codePoint);

// Shift_JIS-2004's two bytes for a JIS X 0213 position.
std::uint16_t ShiftJisOf(JisPosition position);

// The characters whose on or kun readings include `kana` (hiragana or
// katakana, the two not told apart), ascending.
std::vector<char32_t> CharactersReading(std::u16string_view kana);

// The character at a place of each code, when one is there (the first in
// code point order when several are).
std::optional<char32_t> CharacterAtJisX0213(JisPosition position);
std::optional<char32_t> CharacterAtJisX0208(std::uint8_t row, std::uint8_t cell);
std::optional<char32_t> CharacterOfShiftJis2004(std::uint16_t bytes);
std::optional<char32_t> CharacterOfCp932(std::uint16_t bytes);
std::optional<char32_t> CharacterOfCid(std::uint16_t cid);

}  // namespace tavrel
