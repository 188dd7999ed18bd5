#pragma once
// What the 'CFF ' table says of CID keying: its Registry-Ordering-Supplement,
// and the CID each glyph stands for (through its charset).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "face_tables.h"

namespace tavrel {

// "Adobe-Japan1-6" for a CID-keyed font; absent for a name-keyed one, and,
// with a problem line, when the header, the first font's top DICT or a
// string it names cannot be read.
std::optional<std::string> ReadCffRos(Bytes cff, Problems& problems);

// The CID of every glyph (as many as the CharStrings INDEX holds) in a
// CID-keyed font; absent for a name-keyed one, and when the charset or the
// CharStrings INDEX cannot be read.
std::optional<std::vector<std::uint16_t>> ReadCffCids(Bytes cff);

}  // namespace tavrel
