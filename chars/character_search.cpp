// From a code, a reading or a CID back to the character: scans of the tables,
// fast enough for a search box, not for lookups by the thousand.

#include <algorithm>

#include "character_identity.h"
#include "character_tables.h"

namespace tavrel {

namespace {

using namespace character_tables;

std::optional<char32_t> FirstWithValue(std::span<const CodeValue> entries, std::uint32_t value) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const CodeValue& e) { return e.value == value; });
    if (found == entries.end()) return std::nullopt;
    return found->codePoint;
}

// Katakana as hiragana, one byte each as the tables keep kana; empty when a
// character is neither.
std::vector<std::uint8_t> KanaBytes(std::u16string_view kana) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : kana) {
        if (c >= 0x30A1 && c <= 0x30F6) c = static_cast<char16_t>(c - 0x60);
        if (c < 0x3041 || c > 0x3096) return {};
        bytes.push_back(static_cast<std::uint8_t>(c - 0x3000));
    }
    return bytes;
}

// Whether one of the space-separated readings in [first, last) is `wanted`.
bool HasReading(const std::uint8_t* first, const std::uint8_t* last, const std::vector<std::uint8_t>& wanted) {
    while (first < last) {
        const std::uint8_t* end = std::find(first, last, std::uint8_t{0x20});
        if (std::equal(first, end, wanted.begin(), wanted.end())) return true;
        first = end + (end < last);
    }
    return false;
}

}  // namespace

std::vector<char32_t> CharactersReading(std::u16string_view kana) {
    const std::vector<std::uint8_t> wanted = KanaBytes(kana);
    std::vector<char32_t> found;
    if (wanted.empty()) return found;
    const std::uint8_t* pool = kTables.readingKana.data();
    for (const ReadingEntry& entry : kTables.readings) {
        const std::uint8_t* on = pool + entry.at;
        if (HasReading(on, on + entry.on, wanted) || HasReading(on + entry.on, on + entry.on + entry.kun, wanted))
            found.push_back(entry.codePoint);
    }
    return found;
}

std::optional<char32_t> CharacterAtJisX0213(JisPosition p) {
    return FirstWithValue(kTables.jisX0213, std::uint32_t{p.plane} << 14 | std::uint32_t{p.row} << 7 | p.cell);
}

std::optional<char32_t> CharacterAtJisX0208(std::uint8_t row, std::uint8_t cell) {
    return FirstWithValue(kTables.jisX0208, std::uint32_t{row} << 7 | cell);
}

std::optional<char32_t> CharacterOfShiftJis2004(std::uint16_t bytes) {
    if (const auto extra = FirstWithValue(kTables.shiftJisExtra, bytes)) return extra;
    for (const CodeValue& entry : kTables.jisX0213)
        if (ShiftJisOf({static_cast<std::uint8_t>(entry.value >> 14), static_cast<std::uint8_t>(entry.value >> 7 & 0x7F),
                        static_cast<std::uint8_t>(entry.value & 0x7F)}) == bytes)
            return entry.codePoint;
    if (bytes < 0x80) return bytes;
    return std::nullopt;
}

std::optional<char32_t> CharacterOfCp932(std::uint16_t bytes) {
    if (const auto found = FirstWithValue(kTables.cp932, bytes)) return found;
    if (bytes < 0x80) return bytes;
    return std::nullopt;
}

std::optional<char32_t> CharacterOfCid(std::uint16_t cid) {
    for (const CidRange& range : kTables.cidsJis2004)
        if (cid >= range.cid && cid - range.cid < range.count) return range.first + (cid - range.cid);
    if (const auto found = FirstWithValue(kTables.cidsJis90, cid)) return found;
    return std::nullopt;
}

}  // namespace tavrel
