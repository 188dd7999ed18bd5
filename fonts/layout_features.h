#pragma once
// The feature tags of the 'GSUB' and 'GPOS' tables' feature lists.

#include <vector>

#include "face_tables.h"

namespace tavrel {

// Appends the tags of `table`'s feature list whose feature tables lie inside
// it; a list or feature leaving the table is a problem line.
void ReadFeatureTags(std::uint32_t tag, Bytes table, std::vector<std::uint32_t>& features, Problems& problems);

}  // namespace tavrel
