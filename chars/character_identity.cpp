#include "character_identity.h"

#include <algorithm>

#include "character_tables.h"
#include "unicode_blocks.h"

namespace tavrel {

namespace {

using namespace character_tables;

template <class Entry>
const Entry* FindEntry(std::span<const Entry> entries, char32_t c) {
    const auto found = std::lower_bound(entries.begin(), entries.end(), c,
                                        [](const Entry& e, char32_t value) { return e.codePoint < value; });
    return found != entries.end() && found->codePoint == c ? &*found : nullptr;
}

std::optional<std::uint32_t> ValueOf(std::span<const CodeValue> entries, char32_t c) {
    if (const CodeValue* entry = FindEntry(entries, c)) return entry->value;
    return std::nullopt;
}

JisPosition UnpackJis(std::uint32_t packed) {
    return {static_cast<std::uint8_t>(packed >> 14), static_cast<std::uint8_t>(packed >> 7 & 0x7F),
            static_cast<std::uint8_t>(packed & 0x7F)};
}

JisX0208Position UnpackJisX0208(std::uint32_t packed) {
    const auto row = static_cast<std::uint8_t>(packed >> 7);
    const JisX0208Kind kind = row >= 48 ? JisX0208Kind::Level2 : row >= 16 ? JisX0208Kind::Level1 : JisX0208Kind::NonKanji;
    return {row, static_cast<std::uint8_t>(packed & 0x7F), kind};
}

// ASCII is itself in both encodings unless a table says otherwise.
std::optional<std::uint16_t> ShiftJisBytes(char32_t c, const std::optional<JisPosition>& position) {
    if (const auto extra = ValueOf(kTables.shiftJisExtra, c)) return static_cast<std::uint16_t>(*extra);
    if (c < 0x80) return static_cast<std::uint16_t>(c);
    if (position) return ShiftJisOf(*position);
    return std::nullopt;
}

std::optional<std::uint16_t> Cp932Bytes(char32_t c) {
    if (const auto bytes = ValueOf(kTables.cp932, c)) return static_cast<std::uint16_t>(*bytes);
    if (c < 0x80) return static_cast<std::uint16_t>(c);
    return std::nullopt;
}

std::optional<std::uint16_t> CidJis2004(char32_t c) {
    const auto& ranges = kTables.cidsJis2004;
    const auto after = std::upper_bound(ranges.begin(), ranges.end(), c,
                                        [](char32_t value, const CidRange& r) { return value < r.first; });
    if (after == ranges.begin()) return std::nullopt;
    const CidRange& range = *std::prev(after);
    if (c - range.first >= range.count) return std::nullopt;
    return static_cast<std::uint16_t>(range.cid + (c - range.first));
}

// Readings are kept in hiragana, one byte a kana; on readings are shown in katakana.
std::vector<std::u16string> SplitReadings(std::size_t at, std::size_t length, bool katakana) {
    std::vector<std::u16string> readings(1);
    for (std::size_t i = at; i < at + length; ++i) {
        const std::uint8_t kana = kTables.readingKana[i];
        if (kana == 0x20) readings.emplace_back();
        else readings.back() += static_cast<char16_t>(0x3000 + kana + (katakana ? 0x60 : 0));
    }
    if (readings.back().empty()) readings.pop_back();
    return readings;
}

void AddReadings(char32_t c, CharacterIdentity& identity) {
    const ReadingEntry* entry = FindEntry(kTables.readings, c);
    if (!entry) return;
    identity.on = SplitReadings(entry->at, entry->on, true);
    identity.kun = SplitReadings(std::size_t{entry->at} + entry->on, entry->kun, false);
}

void AddStrokes(char32_t c, CharacterIdentity& identity) {
    const auto& runs = kTables.strokeRuns;
    const auto after = std::upper_bound(runs.begin(), runs.end(), c,
                                        [](char32_t value, const StrokeRun& r) { return value < r.first; });
    if (after == runs.begin() || c - std::prev(after)->first >= std::prev(after)->count) return;
    const std::uint32_t packed = kTables.strokes[std::prev(after)->at + (c - std::prev(after)->first)];
    RadicalStrokes radical;
    radical.radical = static_cast<std::uint8_t>(packed & 0xFF);
    radical.simplified = (packed >> 8 & 3) != 0;
    radical.residualStrokes = static_cast<std::int8_t>((packed >> 10 & 0x7F) - 3);
    for (const RadicalEntry& r : kTables.radicals)
        if (r.number == radical.radical && (r.simplified != 0) == radical.simplified) radical.radicalCharacter = r.radical;
    identity.radical = radical;
    if (const auto total = static_cast<std::uint8_t>(packed >> 17)) identity.totalStrokes = total;
}

}  // namespace

std::uint16_t ShiftJisOf(JisPosition p) {
    unsigned lead = 0;
    if (p.plane == 1) lead = p.row <= 62 ? (p.row + 0x101u) / 2 : (p.row + 0x181u) / 2;
    else if (p.row < 78) lead = (p.row + 0x1DFu) / 2 - (p.row / 8u) * 3;  // rows 1, 3 to 5, 8 and 12 to 15
    else lead = (p.row + 0x19Bu) / 2;
    const unsigned trail = p.row % 2 ? p.cell + 0x3Fu + (p.cell >= 64) : p.cell + 0x9Eu;
    return static_cast<std::uint16_t>(lead << 8 | trail);
}

CharacterIdentity IdentifyCharacter(char32_t c) {
    CharacterIdentity identity;
    identity.codePoint = c;
    identity.name = CharacterName(c);
    identity.block = UnicodeBlockName(c);
    if (const auto packed = ValueOf(kTables.jisX0213, c)) identity.jisX0213 = UnpackJis(*packed);
    if (const auto packed = ValueOf(kTables.jisX0208, c)) identity.jisX0208 = UnpackJisX0208(*packed);
    identity.shiftJis2004 = ShiftJisBytes(c, identity.jisX0213);
    identity.cp932 = Cp932Bytes(c);
    identity.cid = CidJis2004(c);
    if (const auto cid = ValueOf(kTables.cidsJis90, c)) identity.cidJis90 = static_cast<std::uint16_t>(*cid);
    AddReadings(c, identity);
    AddStrokes(c, identity);
    return identity;
}

}  // namespace tavrel
