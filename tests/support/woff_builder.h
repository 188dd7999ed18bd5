#pragma once
// Builds WOFF files in memory, compressing tables with zlib as a conforming
// encoder does, so tests, fuzz seeds and benchmarks can make exactly the web
// font they need, from small built tables or from a real font.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "font_builder.h"

namespace tavrel::test {

enum class Storage {
    Compressed,  // zlib-compressed when that makes the table smaller, else stored
    Stored,      // stored as is, whatever its bytes look like
};

struct WoffTable {
    std::uint32_t tag;
    ByteVector data;  // the table as the sfnt holds it
    std::uint32_t checksum = 0;
    Storage storage = Storage::Compressed;
};

struct WoffExtras {
    std::uint32_t flavor = 0x00010000;
    ByteVector metadata;     // written zlib-compressed after the tables
    ByteVector privateData;  // written after the metadata, at a 4-byte boundary
};

// Header, directory entries in the order given, table data in the same order
// at 4-byte boundaries, then the extras; totalSfntSize, offsets and lengths
// as a conforming encoder writes them.
ByteVector BuildWoff(const std::vector<WoffTable>& tables, const WoffExtras& extras = {});

// The WOFF file of an sfnt image, its tables in the image's record order.
ByteVector WoffFromSfnt(const ByteVector& sfnt);

ByteVector ZlibCompress(const ByteVector& data);

// Directory entry `index`'s fields, for tests that damage them.
constexpr std::size_t kWoffEntryOffset = 4, kWoffEntryCompLength = 8, kWoffEntryOrigLength = 12;
constexpr std::size_t WoffEntryField(std::size_t index, std::size_t field) { return 44 + 20 * index + field; }
constexpr std::size_t kWoffTotalSfntSize = 16;

}  // namespace tavrel::test
