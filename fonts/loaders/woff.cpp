#include "woff.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "sfnt_layout.h"

namespace tavrel {

namespace {

// Deflate cannot shrink data by more than this factor, so a table that claims
// more than its stored bytes could inflate to is refused before any memory is
// set aside for it.
constexpr std::uint64_t kMaxInflateRatio = 1032;

struct WoffTableEntry {
    std::uint32_t tag = 0;
    std::uint32_t offset = 0;
    std::uint32_t compLength = 0;
    std::uint32_t origLength = 0;
    std::uint32_t origChecksum = 0;

    bool Stored() const { return compLength == origLength; }
    std::string Name() const { return "table " + TagText(tag); }
};

struct WoffDirectory {
    std::uint32_t flavor = 0;
    std::uint16_t numTables = 0;
    std::uint32_t totalSfntSize = 0;
    std::vector<WoffTableEntry> entries;  // in ascending tag order
};

Check CheckEntry(const WoffTableEntry& entry, std::size_t fileSize) {
    if (!RangeInside(entry.offset, entry.compLength, fileSize))
        return Failure{entry.Name() + " extends past the end of the file"};
    if (!entry.Stored() && entry.origLength > kMaxInflateRatio * entry.compLength)
        return Failure{entry.Name() + " claims more bytes than its compressed data can hold"};
    return Passed();
}

Result<std::vector<WoffTableEntry>> ReadEntries(Bytes woff, std::uint16_t numTables) {
    if (!RangeInside(kWoffHeaderSize, std::uint64_t{kWoffEntrySize} * numTables, woff.size()))
        return Failure{"the table directory extends past the end of the file"};
    std::vector<WoffTableEntry> entries(numTables);
    ByteReader reader(woff, kWoffHeaderSize);
    for (WoffTableEntry& entry : entries) {
        reader.ReadU32(entry.tag);
        reader.ReadU32(entry.offset);
        reader.ReadU32(entry.compLength);
        reader.ReadU32(entry.origLength);
        reader.ReadU32(entry.origChecksum);
        if (auto check = CheckEntry(entry, woff.size()); !check) return Failure{check.reason()};
    }
    // Tags compare as big-endian numbers, which is byte by byte as unsigned
    // values; equal tags keep their directory order.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const WoffTableEntry& a, const WoffTableEntry& b) { return a.tag < b.tag; });
    return entries;
}

// The offset table, the records, and every table raised to a multiple of 4.
// Summed in 64 bits: 65535 tables of up to 4 GiB each cannot wrap it.
std::uint64_t SfntImageSize(const std::vector<WoffTableEntry>& entries) {
    std::uint64_t size = kOffsetTableSize + std::uint64_t{kTableRecordSize} * entries.size();
    for (const WoffTableEntry& entry : entries) size += PaddedLength(entry.origLength);
    return size;
}

Check CheckSizes(const WoffDirectory& directory, std::size_t fileSize) {
    // Tables of a real file do not share bytes; entries that do could make a
    // small file claim the same compressed data many times over.
    std::uint64_t storedBytes = 0;
    for (const WoffTableEntry& entry : directory.entries) storedBytes += entry.compLength;
    if (storedBytes > fileSize) return Failure{"the tables' stored data adds up to more than the file holds"};
    const std::uint64_t size = SfntImageSize(directory.entries);
    if (size > kMaxDecodedImageSize)
        return Failure{"the decoded font would be " + std::to_string(size) + " bytes, more than the 30 MiB limit"};
    if (directory.totalSfntSize != size)
        return Failure{"totalSfntSize is " + std::to_string(directory.totalSfntSize) + " but the tables make " +
                       std::to_string(size) + " bytes"};
    return Passed();
}

Result<WoffDirectory> ReadWoffDirectory(Bytes woff) {
    if (woff.size() < kWoffHeaderSize) return Failure{"the file is shorter than a WOFF header"};
    WoffDirectory directory;
    ReadU32BE(woff, 4, directory.flavor);
    ReadU16BE(woff, 12, directory.numTables);
    ReadU32BE(woff, 16, directory.totalSfntSize);
    auto entries = ReadEntries(woff, directory.numTables);
    if (!entries) return Failure{entries.reason()};
    directory.entries = std::move(entries.value());
    if (auto sizes = CheckSizes(directory, woff.size()); !sizes) return Failure{sizes.reason()};
    return directory;
}

void WriteOffsetTable(const WoffDirectory& directory, std::uint8_t* out) {
    const unsigned n = directory.numTables;
    // 16 times the largest power of two not above n, written modulo 65536:
    // from n = 4096 on it no longer fits 16 bits.
    const unsigned entrySelector = n ? static_cast<unsigned>(std::bit_width(n)) - 1 : 0;
    const unsigned searchRange = n ? 16u << entrySelector : 0;
    WriteU32BE(out, directory.flavor);
    WriteU16BE(out + 4, static_cast<std::uint16_t>(n));
    WriteU16BE(out + 6, static_cast<std::uint16_t>(searchRange));
    WriteU16BE(out + 8, static_cast<std::uint16_t>(entrySelector));
    WriteU16BE(out + 10, static_cast<std::uint16_t>(n * 16 - searchRange));
}

// Inflates straight into the table's place in the image: no stream may fall
// short of origLength or run past it.
Check InflateTable(Bytes stored, const WoffTableEntry& entry, std::uint8_t* slot) {
    // A zero-length slot gets one spare byte, so a stream with output is told
    // apart from an empty one.
    std::uint8_t spare = 0;
    uLongf length = entry.origLength ? entry.origLength : 1;
    const int status = uncompress(entry.origLength ? slot : &spare, &length, stored.data(),
                                  static_cast<uLong>(stored.size()));
    if (status != Z_OK || length != entry.origLength)
        return Failure{entry.Name() + " does not inflate to its " + std::to_string(entry.origLength) + " bytes"};
    return Passed();
}

Check WriteTables(Bytes woff, const WoffDirectory& directory, std::span<std::uint8_t> out) {
    std::size_t record = kOffsetTableSize;
    std::size_t at = kOffsetTableSize + kTableRecordSize * directory.entries.size();
    for (const WoffTableEntry& entry : directory.entries) {
        WriteU32BE(out.data() + record, entry.tag);
        WriteU32BE(out.data() + record + 4, entry.origChecksum);
        WriteU32BE(out.data() + record + 8, static_cast<std::uint32_t>(at));
        WriteU32BE(out.data() + record + 12, entry.origLength);
        const Bytes stored = woff.subspan(entry.offset, entry.compLength);
        if (entry.Stored()) {
            std::copy(stored.begin(), stored.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
        } else if (auto inflated = InflateTable(stored, entry, out.data() + at); !inflated) {
            return inflated;
        }
        const std::size_t padded = static_cast<std::size_t>(PaddedLength(entry.origLength));
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(at + entry.origLength),
                  out.begin() + static_cast<std::ptrdiff_t>(at + padded), std::uint8_t{0});
        at += padded;
        record += kTableRecordSize;
    }
    return Passed();
}

Check WriteSfntImage(Bytes woff, const WoffDirectory& directory, std::span<std::uint8_t> out) {
    if (out.size() != directory.totalSfntSize) return Failure{"the output buffer is not totalSfntSize bytes"};
    WriteOffsetTable(directory, out.data());
    return WriteTables(woff, directory, out);
}

}  // namespace

Result<std::uint32_t> ConvertWoffToSfnt(Bytes woff, WoffMode mode, std::span<std::uint8_t> out) {
    auto directory = ReadWoffDirectory(woff);
    if (!directory) return Failure{directory.reason()};
    if (mode == WoffMode::Decode) {
        if (auto written = WriteSfntImage(woff, directory.value(), out); !written) return Failure{written.reason()};
    }
    return directory->totalSfntSize;
}

Result<DecodedImage> DecodeWoff(Bytes woff) {
    auto directory = ReadWoffDirectory(woff);
    if (!directory) return Failure{directory.reason()};
    DecodedImage image(directory->totalSfntSize, '\0');
    if (auto written = WriteSfntImage(woff, directory.value(), WritableImageBytes(image)); !written)
        return Failure{written.reason()};
    return image;
}

}  // namespace tavrel
