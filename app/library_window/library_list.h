#pragma once
// The library's list: a virtual report view, one row a face, its first
// column the line drawn in the face, its rows as high as the size chosen.

#include "library_window_state.h"

namespace tavrel {

void CreateLibraryList(LibraryWindow& window);

// Rows for a line set at `points`, and the pictures drawn at that size.
void SetRowSize(LibraryWindow& window, std::uint32_t points);

// The next size of the size list up (`step` 1) or down (-1), shown in the size box.
void StepRowSize(LibraryWindow& window, int step);

// The list shows the faces the boxes let through, the focused face kept in
// focus; the count beside the boxes says how many. The rows are drawn again
// when the filter lets other faces through, or when they are `reordered`.
void ShowRows(LibraryWindow& window, bool reordered = false);

// The list's notifications; Enter, a double click and the context menu are the window's.
LRESULT OnListNotify(LibraryWindow& window, const NMHDR& header);

// The face in the focused row, or -1.
std::ptrdiff_t FocusedFace(const LibraryWindow& window);

// Redraws the row of face `face`, if it shows.
void RedrawFace(const LibraryWindow& window, std::size_t face);

}  // namespace tavrel
