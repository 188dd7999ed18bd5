#pragma once
// What may reach the system for registration, checked with reads of its own:
// the fuzz targets and the hostile-file tests hold the core's results against
// these rules, so the rules must not borrow the core's code.

#include <cstdint>
#include <span>
#include <string>

namespace tavrel::test {

using Span = std::span<const std::uint8_t>;

// The largest decoded image that may be registered (30 MiB).
constexpr std::size_t kMaxDecodedImage = 31457280;

// True when the first four bytes read "ttcf", letter case ignored.
bool HasCollectionTag(Span image);

// Empty when `image` may be registered: at least 12 bytes; for an sfnt, its
// table directory and every table inside the image; for a collection ("ttcf",
// letter case ignored), its header, every member offset, and every member's
// directory and tables inside the image. Otherwise what is wrong.
std::string RegistrationFault(Span image);

// Empty when `member` is exactly the standalone image of member `index` of
// `collection`: its offset table and records copied, each table's bytes in
// directory order at the next multiple of 4, zero fill, record offsets
// rewritten to those positions, nothing after the last table's fill.
std::string ExtractedMemberFault(Span collection, std::uint32_t index, Span member);

// Empty when `image` is exactly the sfnt that WOFF file `woff` wraps: the
// offset table from flavor and numTables, records and data in ascending tag
// order (equal tags in directory order), each table at the next multiple of 4
// with zero fill, stored tables copied and the others inflated with zlib.
std::string DecodedWoffFault(Span woff, Span image);

}  // namespace tavrel::test
