#pragma once
// The code points of the face the details dialog is about, as the core's
// reader maps them: the best Unicode cmap subtable's, ascending.

#include <vector>

#include "face_details.h"

namespace tavrel {

// Empty when the face is not loaded or cannot be read, no longer is in its
// file, or has no readable Unicode subtable.
std::vector<char32_t> SubjectCodePoints(const DetailsSubject& subject);

}  // namespace tavrel
