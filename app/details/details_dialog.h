#pragma once
// The face details dialog ("フォントの詳細"): modal, resizable, owned by the
// main window, one tab per page.

#include <windows.h>

namespace tavrel {

// Shows the dialog for the face the face box selects (or, with no selection,
// the face at the sample's caret) and returns when it is closed. It opens on
// the page it was last on during this run.
void ShowFaceDetails(HWND hwndMain);

}  // namespace tavrel
