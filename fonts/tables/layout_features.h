#pragma once
// The feature records of the 'GSUB' and 'GPOS' tables' feature lists.

#include <vector>

#include "face_tables.h"

namespace tavrel {

struct FeatureRecord {
    std::uint32_t tag;
    std::uint32_t offset;  // of its feature table, from the start of the layout table
};

// The records of `table`'s feature list whose feature tables lie inside it,
// in list order; a list or feature leaving the table is a problem line.
std::vector<FeatureRecord> ReadFeatureRecords(std::uint32_t tag, Bytes table, Problems& problems);

// The feature tags of the face's GSUB and GPOS tables together, sorted, each once.
std::vector<std::uint32_t> ListFeatureTags(const FaceTables& tables, Problems& problems);

}  // namespace tavrel
