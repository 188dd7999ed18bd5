#pragma once
// Where the library window's faces come from and what is learnt of them:
// the loaded list followed as folders load (and from scratch after it is
// emptied), the installed fonts' files when asked for, and the worker's
// results taken in batches.

#include "library_window_state.h"

namespace tavrel {

// Takes the loaded list's new faces; every face again when the list was emptied since.
void FollowLoadedList(LibraryWindow& window);

// Starts listing the installed fonts' files, once.
void ListInstalledFiles(LibraryWindow& window);
void TakeInstalledFiles(LibraryWindow& window);

// Keeps what the worker has read; the rows follow on the next refilter.
void TakeFacesRead(LibraryWindow& window);

// Every face checked again for the line in the line box, when only faces
// that set it are shown.
void CheckLine(LibraryWindow& window);

}  // namespace tavrel
