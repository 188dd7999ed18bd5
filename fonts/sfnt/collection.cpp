#include "collection.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tavrel {

static Result<std::uint32_t> ReadNumFonts(Bytes collection) {
    std::uint32_t numFonts = 0;
    if (!ReadU32BE(collection, 8, numFonts)) return Failure{"the collection header is cut short"};
    if (!RangeInside(kCollectionHeaderSize, std::uint64_t{4} * numFonts, collection.size()))
        return Failure{"the collection's member offsets extend past the end of the file"};
    return numFonts;
}

Result<CollectionMember> ReadCollectionMember(Bytes collection, std::uint32_t index) {
    auto numFonts = ReadNumFonts(collection);
    if (!numFonts) return Failure{numFonts.reason()};
    const std::string member = "member " + std::to_string(index);
    if (index >= numFonts.value()) return Failure{"the collection has no " + member};
    std::uint32_t at = 0;
    ReadU32BE(collection, kCollectionHeaderSize + std::uint64_t{4} * index, at);
    auto directory = ReadTableDirectory(collection, at);
    if (!directory) return Failure{member + ": " + directory.reason()};
    if (auto ranges = CheckTableRanges(collection, directory.value()); !ranges)
        return Failure{member + ": " + ranges.reason()};
    // Records may share bytes, but a member whose tables add up to more than
    // the whole file must repeat them, and would make a small file ask for a
    // huge standalone image.
    std::uint64_t tableBytes = 0, size = kOffsetTableSize + std::uint64_t{kTableRecordSize} * directory->numTables;
    for (std::uint16_t i = 0; i < directory->numTables; ++i) {
        const std::uint32_t length = ReadTableRecord(collection, directory.value(), i).length;
        tableBytes += length;
        size += PaddedLength(length);
    }
    if (tableBytes > collection.size()) return Failure{member + ": its tables add up to more than the whole file"};
    if (size > UINT32_MAX) return Failure{member + ": its standalone image would exceed 4 GiB"};
    return CollectionMember{directory.value(), static_cast<std::uint32_t>(size)};
}

static void WriteMember(Bytes collection, const TableDirectory& directory, std::span<std::uint8_t> out) {
    const std::size_t headerSize = kOffsetTableSize + kTableRecordSize * std::size_t{directory.numTables};
    std::memcpy(out.data(), collection.data() + directory.at, headerSize);
    std::size_t p = headerSize;
    for (std::uint16_t i = 0; i < directory.numTables; ++i) {
        TableRecord record = ReadTableRecord(collection, directory, i);
        std::memcpy(out.data() + p, collection.data() + record.offset, record.length);
        const std::size_t padded = static_cast<std::size_t>(PaddedLength(record.length));
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(p + record.length),
                  out.begin() + static_cast<std::ptrdiff_t>(p + padded), std::uint8_t{0});
        WriteU32BE(out.data() + kOffsetTableSize + kTableRecordSize * i + 8, static_cast<std::uint32_t>(p));
        p += padded;
    }
}

std::uint32_t ExtractCollectionMember(Bytes collection, std::uint32_t index, bool measureOnly,
                                      std::span<std::uint8_t> out) {
    auto member = ReadCollectionMember(collection, index);
    if (!member) return 0;
    if (measureOnly) return member->size;
    if (out.size() < member->size) return 0;
    WriteMember(collection, member->directory, out);
    return member->size;
}

Check CheckCollectionLayout(Bytes collection) {
    auto numFonts = ReadNumFonts(collection);
    if (!numFonts) return Failure{numFonts.reason()};
    // Real collections give each member its own offset table; directories that
    // add up to more than the file must overlap, and would let a small file
    // make us walk the same records again and again.
    std::uint64_t directoryBytes = 0;
    for (std::uint32_t i = 0; i < numFonts.value(); ++i) {
        auto member = ReadCollectionMember(collection, i);
        if (!member) return Failure{member.reason()};
        directoryBytes += kOffsetTableSize + std::uint64_t{kTableRecordSize} * member->directory.numTables;
        if (directoryBytes > collection.size()) return Failure{"the members' table directories overlap"};
    }
    return Passed();
}

}  // namespace tavrel
