#pragma once
// The full font name (name ID 4) that a face is listed under.

#include <cstdint>
#include <string>

#include "byte_reader.h"

namespace tavrel {

constexpr std::size_t kMaxFaceNameUnits = 259;

// Reads the offset table at `offsetTableOffset` and picks the full name from
// the first 'name' table. False, with `fullName` untouched, when sfntVersion
// is neither TrueType nor "OTTO" (or the offset table cannot be read).
bool ReadFullName(std::u16string& fullName, Bytes image, std::uint64_t offsetTableOffset);

// Clears `fullName`, then fills it from the records of `nameTable`: the first
// Windows Japanese full name, else the last Macintosh Japanese, the last
// Windows English, the last Macintosh English one. Records and strings that do
// not lie inside the table are skipped.
void PickFullName(std::u16string& fullName, Bytes nameTable);

// The name a face image is listed under: empty for a collection or when the
// image holds no usable full name.
std::u16string ReadFaceName(Bytes image);

}  // namespace tavrel
