#include "name_table.h"

#include "ansi_text.h"
#include "face_tables.h"

namespace tavrel {

namespace {

constexpr std::size_t kNameRecordSize = 12;
constexpr std::uint16_t kPlatformMac = 1, kPlatformWindows = 3;
constexpr std::uint16_t kWindowsEnglish = 0x0409, kWindowsJapanese = 0x0411;
constexpr std::uint16_t kMacEnglish = 0, kMacJapanese = 11;

// UTF-16BE, every unit; an odd last byte is ignored.
std::u16string DecodeUtf16(Bytes text) {
    std::u16string decoded;
    decoded.reserve(text.size() / 2);
    for (std::size_t j = 0; j + 1 < text.size(); j += 2) decoded += static_cast<char16_t>(text[j] << 8 | text[j + 1]);
    return decoded;
}

std::u16string DecodeWhole(NameSource source, Bytes text) {
    const bool windows = source == NameSource::WindowsJapanese || source == NameSource::WindowsEnglish;
    return windows ? DecodeUtf16(text) : DecodeAnsiText(text);
}

}  // namespace

bool ReadNameRecord(Bytes nameTable, std::uint16_t index, NameRecord& r) {
    ByteReader reader(nameTable, 6 + kNameRecordSize * std::size_t{index});
    return reader.ReadU16(r.platformID) && reader.ReadU16(r.encodingID) && reader.ReadU16(r.languageID) &&
           reader.ReadU16(r.nameID) && reader.ReadU16(r.length) && reader.ReadU16(r.offset);
}

bool NameRecordText(Bytes nameTable, const NameRecord& record, Bytes& text) {
    std::uint16_t stringOffset = 0;
    ReadU16BE(nameTable, 4, stringOffset);
    const std::uint64_t at = std::uint64_t{stringOffset} + record.offset;
    if (!RangeInside(at, record.length, nameTable.size())) return false;
    text = nameTable.subspan(static_cast<std::size_t>(at), record.length);
    return true;
}

NameSource ClassifyNameRecord(const NameRecord& r) {
    switch (r.platformID) {
        case kPlatformWindows:
            if (r.encodingID > 2) return NameSource::Other;
            if (r.languageID == kWindowsJapanese) return NameSource::WindowsJapanese;
            return r.languageID == kWindowsEnglish ? NameSource::WindowsEnglish : NameSource::Other;
        case kPlatformMac:
            if (r.encodingID > 1) return NameSource::Other;
            if (r.languageID == kMacJapanese || r.languageID == kWindowsJapanese) return NameSource::MacJapanese;
            if (r.languageID == kMacEnglish || r.languageID == kWindowsEnglish) return NameSource::MacEnglish;
            return NameSource::Other;
        default:
            return NameSource::Other;
    }
}

std::u16string DecodeNameText(const NameRecord& r, Bytes text) {
    if (r.platformID == 0 || (r.platformID == kPlatformWindows && (r.encodingID <= 2 || r.encodingID == 10)))
        return DecodeUtf16(text);
    return r.platformID == kPlatformMac && r.encodingID <= 1 ? DecodeAnsiText(text) : std::u16string();
}

void NameChoice::Offer(NameSource source, Bytes text) {
    if (source == NameSource::Other) return;
    Candidate& candidate = candidates_[static_cast<int>(source)];
    candidate.text = text;
    candidate.offered = true;
    if (source == NameSource::WindowsJapanese) open_ = false;
}

namespace {

constexpr std::uint32_t kNameTag = Tag("name");

// Each name ID's choice among the records whose strings lie inside the table.
std::map<std::uint16_t, NameChoice> ChooseRecords(Bytes nameTable, std::uint16_t count, Problems& problems,
                                                  std::size_t& dropped) {
    std::map<std::uint16_t, NameChoice> choices;
    std::size_t outside = 0;
    NameRecord r;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (!ReadNameRecord(nameTable, i, r)) {
            problems.push_back(TableProblem(kNameTag, "record " + std::to_string(i) + " extends past the table"));
            break;
        }
        const NameSource source = ClassifyNameRecord(r);
        Bytes text;
        if (source == NameSource::Other) continue;
        if (!NameRecordText(nameTable, r, text)) {
            ++outside;
            continue;
        }
        auto found = choices.find(r.nameID);
        if (found == choices.end() && choices.size() == kMaxNameIds) {
            ++dropped;
            continue;
        }
        if (found == choices.end()) found = choices.emplace(r.nameID, NameChoice{}).first;
        if (found->second.open()) found->second.Offer(source, text);
    }
    if (outside) problems.push_back(TableProblem(kNameTag, "strings outside the table: " + std::to_string(outside)));
    return choices;
}

}  // namespace

std::map<std::uint16_t, std::u16string> ReadNames(Bytes nameTable, Problems& problems) {
    std::uint16_t count = 0;
    if (!ReadU16BE(nameTable, 2, count)) {
        problems.push_back(TableProblem(kNameTag, "the header extends past the table"));
        return {};
    }
    std::size_t dropped = 0, textLeft = nameTable.size() + kNameTextSlack;
    std::map<std::uint16_t, std::u16string> names;
    for (const auto& [id, choice] : ChooseRecords(nameTable, count, problems, dropped)) {
        std::u16string text = choice.Decide(DecodeWhole);
        const std::size_t bytes = text.size() * sizeof(char16_t);
        if (bytes > textLeft) {
            ++dropped;
            continue;
        }
        textLeft -= bytes;
        if (!text.empty()) names.emplace(id, std::move(text));
    }
    if (dropped) problems.push_back(TableProblem(kNameTag, "names left out, more than the table holds: " + std::to_string(dropped)));
    return names;
}

}  // namespace tavrel
