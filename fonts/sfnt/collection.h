#pragma once
// Collection members lifted out as standalone sfnt images.

#include <cstdint>
#include <span>

#include "byte_reader.h"
#include "result.h"
#include "sfnt_layout.h"

namespace tavrel {

constexpr std::uint32_t kMaxCollectionMembers = 10;

struct CollectionMember {
    TableDirectory directory;  // the member's offset table inside the collection
    std::uint32_t size = 0;    // bytes of its standalone image
};

// Member `index` with its offset table, records and tables checked against the
// collection's bounds, or why it is absent. A member's tables may not add up
// to more bytes than the collection holds, so its standalone image is at most
// 12 + 19 x numTables bytes larger than the collection.
Result<CollectionMember> ReadCollectionMember(Bytes collection, std::uint32_t index);

// The size of member `index`'s standalone image, 0 when there is no such
// member or it does not lie inside the collection. Unless `measureOnly`, the
// image is also written to `out`; an `out` too small for it gives 0 and
// nothing written.
std::uint32_t ExtractCollectionMember(Bytes collection, std::uint32_t index, bool measureOnly,
                                      std::span<std::uint8_t> out);

// The header, every member offset, and every member's directory and tables.
Check CheckCollectionLayout(Bytes collection);

}  // namespace tavrel
