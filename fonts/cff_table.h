#pragma once
// What the 'CFF ' table says of CID keying: its Registry-Ordering-Supplement,
// and the CID each glyph stands for (through its charset).

#include <cstdint>
#include <optional>
#include <string>

#include "face_tables.h"

namespace tavrel {

// "Adobe-Japan1-6" for a CID-keyed font; absent for a name-keyed one, and,
// with a problem line, when the header, the first font's top DICT or a
// string it names cannot be read.
std::optional<std::string> ReadCffRos(Bytes cff, Problems& problems);

// The CID of `glyph` in a CID-keyed font; absent for a name-keyed one, a glyph
// past the charset, or a damaged table.
std::optional<std::uint16_t> ReadCffCid(Bytes cff, std::uint32_t glyph);

}  // namespace tavrel
