#include "full_name.h"

#include <algorithm>

#include "ansi_text.h"
#include "sfnt_layout.h"

namespace tavrel {

namespace {

constexpr std::size_t kMaxNameBytes = 520;
constexpr std::size_t kNameRecordSize = 12;
constexpr std::uint16_t kFullNameId = 4;
constexpr std::uint16_t kPlatformUnicode = 0, kPlatformMac = 1, kPlatformWindows = 3;
constexpr std::uint16_t kWindowsEnglish = 0x0409, kWindowsJapanese = 0x0411;
constexpr std::uint16_t kMacEnglish = 0, kMacJapanese = 11;

struct NameRecord {
    std::uint16_t platformID, encodingID, languageID, nameID, length, offset;
};

bool Qualifies(const NameRecord& r) {
    if (r.nameID != kFullNameId) return false;
    switch (r.platformID) {
        case kPlatformWindows:
            return (r.languageID == kWindowsEnglish || r.languageID == kWindowsJapanese) && r.encodingID <= 2;
        case kPlatformMac:
            return (r.languageID == kMacEnglish || r.languageID == kMacJapanese ||
                    r.languageID == kWindowsEnglish || r.languageID == kWindowsJapanese) &&
                   r.encodingID <= 1;
        case kPlatformUnicode:
            return true;
        default:
            return false;
    }
}

std::u16string DecodeMacName(Bytes text) {
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    std::u16string name = DecodeAnsiText(text.first(static_cast<std::size_t>(end - text.begin())));
    if (name.size() > kMaxFaceNameUnits) name.resize(kMaxFaceNameUnits);
    return name;
}

// UTF-16BE up to the first NUL, CR or LF; an odd last byte is ignored.
std::u16string DecodeUtf16Name(Bytes text) {
    std::u16string name;
    for (std::size_t j = 0; j + 1 < text.size() && name.size() < kMaxFaceNameUnits; j += 2) {
        const char16_t unit = static_cast<char16_t>(text[j] << 8 | text[j + 1]);
        if (unit == 0 || unit == u'\n' || unit == u'\r') break;
        name += unit;
    }
    return name;
}

bool ReadNameRecord(Bytes nameTable, std::uint16_t index, NameRecord& r) {
    ByteReader reader(nameTable, 6 + kNameRecordSize * std::size_t{index});
    return reader.ReadU16(r.platformID) && reader.ReadU16(r.encodingID) && reader.ReadU16(r.languageID) &&
           reader.ReadU16(r.nameID) && reader.ReadU16(r.length) && reader.ReadU16(r.offset);
}

}  // namespace

void PickFullName(std::u16string& fullName, Bytes nameTable) {
    fullName.clear();
    std::u16string macJapanese, windowsEnglish, macEnglish;
    std::uint16_t count = 0, stringOffset = 0;
    ReadU16BE(nameTable, 2, count);
    ReadU16BE(nameTable, 4, stringOffset);
    NameRecord r;
    for (std::uint16_t i = 0; i < count && ReadNameRecord(nameTable, i, r); ++i) {
        if (!Qualifies(r)) continue;
        const std::uint64_t at = std::uint64_t{stringOffset} + r.offset;
        if (!RangeInside(at, r.length, nameTable.size())) continue;
        const Bytes text = nameTable.subspan(static_cast<std::size_t>(at), std::min<std::size_t>(r.length, kMaxNameBytes));
        if (r.platformID == kPlatformWindows) {
            std::u16string name = DecodeUtf16Name(text);
            if (r.languageID == kWindowsJapanese) {
                // Ends the scan even when empty; the fallback below still applies.
                fullName = std::move(name);
                break;
            }
            windowsEnglish = std::move(name);
        } else if (r.platformID == kPlatformMac) {
            const bool japanese = r.languageID == kMacJapanese || r.languageID == kWindowsJapanese;
            (japanese ? macJapanese : macEnglish) = DecodeMacName(text);
        }
    }
    for (std::u16string* candidate : {&macJapanese, &windowsEnglish, &macEnglish}) {
        if (fullName.empty() && !candidate->empty()) {
            fullName = std::move(*candidate);
            return;
        }
    }
}

bool ReadFullName(std::u16string& fullName, Bytes image, std::uint64_t offsetTableOffset) {
    std::uint32_t sfntVersion = 0;
    if (!ReadU32BE(image, offsetTableOffset, sfntVersion)) return false;
    if (sfntVersion != kTrueTypeVersion && sfntVersion != kCffVersion) return false;
    std::uint16_t numTables = 0;
    ReadU16BE(image, offsetTableOffset + 4, numTables);
    for (std::uint16_t i = 0; i < numTables; ++i) {
        ByteReader reader(image, offsetTableOffset + kOffsetTableSize + kTableRecordSize * std::uint64_t{i});
        TableRecord record;
        if (!reader.ReadU32(record.tag) || !reader.ReadU32(record.checksum) || !reader.ReadU32(record.offset) ||
            !reader.ReadU32(record.length))
            break;
        if (record.tag != Tag("name")) continue;
        if (RangeInside(record.offset, record.length, image.size()))
            PickFullName(fullName, image.subspan(record.offset, record.length));
        break;
    }
    return true;
}

std::u16string ReadFaceName(Bytes image) {
    std::u16string name;
    if (!IsCollection(image)) ReadFullName(name, image, 0);
    return name;
}

}  // namespace tavrel
