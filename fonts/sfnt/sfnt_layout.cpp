#include "sfnt_layout.h"

#include <cstdio>

#include "collection.h"

namespace tavrel {

Result<TableDirectory> ReadTableDirectory(Bytes image, std::uint64_t at) {
    TableDirectory directory;
    if (!ReadU32BE(image, at, directory.sfntVersion) || !ReadU16BE(image, at + 4, directory.numTables) ||
        !RangeInside(at, kOffsetTableSize, image.size()))
        return Failure{"the offset table extends past the end of the file"};
    if (!RangeInside(at + kOffsetTableSize, std::uint64_t{kTableRecordSize} * directory.numTables, image.size()))
        return Failure{"the table records extend past the end of the file"};
    directory.at = static_cast<std::size_t>(at);
    return directory;
}

TableRecord ReadTableRecord(Bytes image, const TableDirectory& directory, std::uint16_t index) {
    TableRecord record;
    ByteReader reader(image, directory.at + kOffsetTableSize + kTableRecordSize * std::size_t{index});
    reader.ReadU32(record.tag);
    reader.ReadU32(record.checksum);
    reader.ReadU32(record.offset);
    reader.ReadU32(record.length);
    return record;
}

Check CheckTableRanges(Bytes image, const TableDirectory& directory) {
    for (std::uint16_t i = 0; i < directory.numTables; ++i) {
        TableRecord record = ReadTableRecord(image, directory, i);
        if (!RangeInside(record.offset, record.length, image.size()))
            return Failure{"table " + TagText(record.tag) + " extends past the end of the file"};
    }
    return Passed();
}

bool IsCollection(Bytes image) {
    static constexpr char kTag[] = "ttcf";
    if (image.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        unsigned char c = image[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
        if (c != static_cast<unsigned char>(kTag[i])) return false;
    }
    return true;
}

static Check CheckSfntImage(Bytes image) {
    auto directory = ReadTableDirectory(image, 0);
    if (!directory) return Failure{directory.reason()};
    return CheckTableRanges(image, directory.value());
}

Check CheckFontImage(Bytes image) {
    if (image.size() < kOffsetTableSize) return Failure{"the file is too short to be a font"};
    return IsCollection(image) ? CheckCollectionLayout(image) : CheckSfntImage(image);
}

std::uint64_t PaddedLength(std::uint32_t length) {
    return (std::uint64_t{length} + 3) & ~std::uint64_t{3};
}

std::string TagText(std::uint32_t tag) {
    std::string text = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>(tag >> shift & 0xFF);
        if (c < 0x20 || c > 0x7E) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(tag));
            return hex;
        }
        text += c;
    }
    return text + "'";
}

}  // namespace tavrel
