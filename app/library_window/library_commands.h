#pragma once
// What the library window does with its rows: a face made the sample's,
// shown in the details dialog, its folder opened, the selected rows copied.

#include <windows.h>

#include <cstddef>
#include <string>

#include "library_rows.h"

namespace tavrel {

// The face becomes the sample's face as a pick in the face box makes it; an
// installed font's face is listed there first.
void ApplyLibraryFace(HWND hwndMain, LibraryRows& rows, std::size_t face);

// The details dialog on the face, which the face box selects without
// changing the sample.
void ShowLibraryFaceDetails(HWND hwndMain, LibraryRows& rows, std::size_t face);

// Explorer on the face's folder, its file selected.
void OpenFolderOf(const FaceSource& source);

// The selected rows as tab-separated lines: name, file, member.
std::wstring SelectedRowsText(HWND list, const LibraryRows& rows);

// The rows' menu at `screen`, or under the focused row for (-1, -1).
void ShowRowMenu(HWND hwndMain, HWND list, LibraryRows& rows, POINT screen);

}  // namespace tavrel
