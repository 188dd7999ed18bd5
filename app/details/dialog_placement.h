#pragma once
// Where a window opened beside another goes.

#include <windows.h>

namespace tavrel {

// The top left corner of a window of `size` beside `owner`, inside `work`: to
// the owner's right where the work area has room, else, of the places beside,
// above, below or in a corner of the work area, the first that covers least of
// `keep` (the part of the owner the person works in).
POINT PlaceBeside(const RECT& owner, const RECT& keep, SIZE size, const RECT& work);

}  // namespace tavrel
