#pragma once
// Which colour tables a face has: COLR (its version 0 layers and version 1
// paints told apart), CPAL, CBDT, sbix and SVG.

#include <string_view>
#include <vector>

#include "face_tables.h"

namespace tavrel {

// In this order, each once: "COLRv0", "COLRv1", "CPAL", "CBDT", "sbix", "SVG".
// COLR counts as version 0 when it lists base glyph records, and as version 1
// when its version 1 base glyph list offset is set; a COLR whose header leaves
// the table is a problem line and counts as neither.
std::vector<std::string_view> ReadColorFormats(const FaceTables& tables, Problems& problems);

}  // namespace tavrel
