#pragma once
// The fixed-layout tables a face's details come from: head, hhea, maxp, post
// and OS/2. Each reads the fields its bytes hold; a table shorter than its
// version's layout, or of a version it does not know, adds a problem line.

#include "face_info.h"
#include "face_tables.h"

namespace tavrel {

void ReadHead(Bytes head, FaceInfo& info);
// Read and checked against maxp's glyph count; FaceInfo holds none of its fields.
void ReadHhea(Bytes hhea, FaceInfo& info);
void ReadMaxp(Bytes maxp, FaceInfo& info);
void ReadPost(Bytes post, FaceInfo& info);
// Every version: 0 to 5 and any later one, which keeps the fields of 5.
void ReadOs2(Bytes os2, FaceInfo& info);

}  // namespace tavrel
