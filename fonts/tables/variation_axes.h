#pragma once
// The axes and named instances of an 'fvar' table.

#include "face_info.h"
#include "face_tables.h"

namespace tavrel {

// Fills info.axes and info.instances, their names taken from info.names (read
// first). Axis and instance records must lie inside the table and agree in
// size with the axis count; otherwise that part is absent and a problem line
// says why.
void ReadVariationAxes(Bytes fvar, FaceInfo& info);

}  // namespace tavrel
