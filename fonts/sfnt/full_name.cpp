#include "full_name.h"

#include <algorithm>

#include "ansi_text.h"
#include "name_table.h"
#include "sfnt_layout.h"

namespace tavrel {

namespace {

constexpr std::size_t kMaxNameBytes = 520;
constexpr std::uint16_t kFullNameId = 4;

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

// The face box's form of a name: its first 520 bytes, up to a line break.
std::u16string DecodeFaceName(NameSource source, Bytes text) {
    text = text.first(std::min(text.size(), kMaxNameBytes));
    const bool windows = source == NameSource::WindowsJapanese || source == NameSource::WindowsEnglish;
    return windows ? DecodeUtf16Name(text) : DecodeMacName(text);
}

}  // namespace

void PickFullName(std::u16string& fullName, Bytes nameTable) {
    std::uint16_t count = 0;
    ReadU16BE(nameTable, 2, count);
    NameChoice choice;
    NameRecord r;
    for (std::uint16_t i = 0; i < count && choice.open() && ReadNameRecord(nameTable, i, r); ++i) {
        Bytes text;
        if (r.nameID == kFullNameId && NameRecordText(nameTable, r, text)) choice.Offer(ClassifyNameRecord(r), text);
    }
    fullName = choice.Decide(DecodeFaceName);
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
