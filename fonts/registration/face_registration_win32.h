#pragma once
// Listed faces registered with GDI when first used: the file is read again,
// checked against what was listed, and registered once for every face listed
// from it, so a collection's members share one registration.

#include <cstddef>
#include <string_view>

#include "byte_reader.h"

namespace tavrel {

// Registers listed face `index` unless it is registered already or installed.
// False, with nothing changed but the file's reason added to the refused
// files, when the file is gone, unreadable, changed since it was listed or no
// longer holds the face. A registration the system fails leaves the face
// listed unregistered and usable as before (GDI then draws a substitute).
bool RegisterListedFace(std::size_t index);

// RegisterListedFace for the listed face of that name; true for a name not listed.
bool RegisterListedFaceNamed(std::wstring_view faceName);

// Registers listed face `index` from the image its file registers, in hand.
void RegisterListedFaceFrom(std::size_t index, Bytes image);

}  // namespace tavrel
