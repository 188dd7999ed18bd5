#pragma once
// The sfnt offset table, its table records and the collection header: reading
// them, and deciding whether an image's layout is sound enough to register.

#include <cstdint>

#include "byte_reader.h"
#include "result.h"

namespace tavrel {

constexpr std::uint32_t kTrueTypeVersion = 0x00010000;
constexpr std::uint32_t kCffVersion = Tag("OTTO");
constexpr std::uint32_t kCollectionTag = Tag("ttcf");
constexpr std::size_t kOffsetTableSize = 12;
constexpr std::size_t kTableRecordSize = 16;
constexpr std::size_t kCollectionHeaderSize = 12;

struct TableRecord {
    std::uint32_t tag = 0;
    std::uint32_t checksum = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// An offset table whose records all lie inside the image.
struct TableDirectory {
    std::uint32_t sfntVersion = 0;
    std::uint16_t numTables = 0;
    std::size_t at = 0;  // position of the offset table in the image
};

// Fails when the offset table at `at` or any of its records lies outside the image.
Result<TableDirectory> ReadTableDirectory(Bytes image, std::uint64_t at);
TableRecord ReadTableRecord(Bytes image, const TableDirectory& directory, std::uint16_t index);

// Every record of the directory points at data inside the image.
Check CheckTableRanges(Bytes image, const TableDirectory& directory);

// True when the first four bytes read "ttcf", letter case ignored.
bool IsCollection(Bytes image);

// What may be registered: at least an offset table, with its directory and
// every table inside the image; for a collection, its header, every member
// offset and every member's directory and tables.
Check CheckFontImage(Bytes image);

std::uint64_t PaddedLength(std::uint32_t length);
// "'name'" for a printable tag, its hex value otherwise.
std::string TagText(std::uint32_t tag);

}  // namespace tavrel
